#pragma once
// Lays the stored tickets out as text in a rich-text document: plainly (a
// centred heading per ticket, one numbered paragraph per question) or through
// a ticket template kept in the Sys folder. The window and the command line
// share this code; the window adds the busy cursor, word wrap and repaints.

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QTextCursor;
class QTextDocument;

namespace kv::store {
class Table;
}

namespace kv::output {

struct LayoutOptions
{
    bool groupNumbers = false; // "Указать в скобках номер группы"
    bool runningNumbers = false; // "Указать в скобках общий номер вопроса"
    int indent = 0;              // the indent slider, 0..80
    bool useTemplate = false; // "Использовать шаблон ..."
    std::string templateName; // Windows-1251, as typed in the template box
};

// The regular font of the output area: Courier New, 10 points, Cyrillic.
QFont OutputFont();

// The hanging indent of question paragraphs and the start indent the slider
// gives every paragraph, in points.
inline double HangingIndentPoints(int indent)
{
    return indent * 8.0 + 19.0;
}
inline double StartIndentPoints(int indent)
{
    return indent * 8.0;
}

// The question line of the plain layout (Windows-1251): number, full stop,
// TAB, text, then "  [гр.<group>, впр. №<running number>]" as the options ask.
std::string QuestionLine(const std::string &questionNumber, const std::string &text,
                         const std::string &group, const std::string &runningNumber,
                         const LayoutOptions &options);

// Gives every paragraph of the document the start indent of the slider
// position, keeping each paragraph's hanging indent.
void SetStartIndent(QTextDocument &document, int indent);

// The template names offered in the template box: the names of the "*.rtf"
// files (extension in any letter case) in `sysFolder`, sorted; empty when
// the folder is missing.
std::vector<QString> TemplateNames(const QString &sysFolder);

// The template file a name stands for: the name with blanks and control
// characters trimmed, as a plain file name inside `sysFolder` (any letter
// case). A name with a folder part ("../x.rtf", "a/b.rtf") names no
// template. nullopt when there is no such file.
std::optional<QString> TemplatePath(const QString &sysFolder, const std::string &name);

// The group name of a group number.
using GroupNameLookup = std::function<std::string(std::int64_t group)>;
// Called after each ticket record: `done` of `total`. Returning false stops
// the layout there; what was laid out stays.
using LayoutProgress = std::function<bool(int done, int total)>;

enum class LayoutKind {
    Plain,
    Template,
    MissingTemplate, // the template box named no file: nothing laid out
};

struct LayoutResult
{
    LayoutKind kind = LayoutKind::Plain;
    // The page settings to keep for saving: set after a plain layout (empty)
    // and a template layout (the template's); nullopt keeps the previous.
    std::optional<std::string> pageSettings;
    int records = 0;      // ticket records laid out
    bool complete = true; // false when stopped or ended by an error
    QString error;        // the error that ended it (the window shows none)
};

// The whole command over an open view of the tickets table: clears
// `output`, walks the records in stored order with the view's filter off
// (switched back to its former state at the end, also after an error) and
// lays them out. Errors of the table or the template end the layout; what was
// laid out up to the failing record stays in `output`.
LayoutResult LayOutTickets(kv::store::Table &tickets, QTextDocument &output,
                           const LayoutOptions &options, const QString &sysFolder,
                           const GroupNameLookup &groupName, const LayoutProgress &progress = {});

} // namespace kv::output
