#pragma once
// Ticket templates: RTF documents made in any word processor whose lines,
// each beginning with a marker, are emitted at the boundaries of tickets,
// group runs and questions, with variables replaced by the current ticket
// question's values. The emitted lines keep the template's character and
// paragraph formats.

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QTextCursor;
class QTextDocument;

namespace kv::output {

// The markers, in the order the walk emits them at a boundary.
inline constexpr std::string_view kQuestionEnds = "#&NVOPROSA#";
inline constexpr std::string_view kGroupEnds = "#&NGRUPPY#";
inline constexpr std::string_view kTicketEnds = "#&NBILETA#";
inline constexpr std::string_view kTicketBegins = "#NBILETA#";
inline constexpr std::string_view kGroupBegins = "#NGRUPPY#";
inline constexpr std::string_view kQuestionBegins = "#NVOPROSA#";

// The current ticket question as the template walk holds it. Texts are
// Windows-1251.
struct STBilet
{
    std::string ticketText; // NBILETA
    std::int32_t ticket = 0;
    std::int32_t previousTicket = 0;
    std::string questionText; // NVOPROSA
    std::int32_t question = 0;
    std::int32_t previousQuestion = 0;
    std::string runningNumberText; // NPOR
    std::string groupText;         // NGRUPPY
    std::int32_t group = 0;
    std::int32_t previousGroup = 0;
    std::string questionBody; // VOPRMEMO
    std::string groupName;    // NAMEGRUPPA of the group
    std::string groupPositionText;
    std::int32_t groupPosition = 1; // the question's place in its group run

    // All texts empty, the previous numbers 0, the group position 1.
    void reset() { *this = STBilet(); }
};

class TicketTemplate
{
public:
    TicketTemplate() = default;
    // Takes the marker lines of a template document. Every paragraph end and
    // every line break inside a paragraph ends a line; a line takes part only
    // when its text begins with a marker.
    explicit TicketTemplate(const QTextDocument &document);

    // Appends the lines of `marker` filled with the values of `row` at the end
    // of the document of `output` (EmitTemplateLines): in template order,
    // each without its marker, the variables replaced in the fixed order
    // %NBILETA% %NGRUPPY% %NVOPROSA% %NPOR% %VOPRMEMO% %NAMEGRUPPA%
    // %NVOPROSAGRUPPY%, every occurrence left to right, each value in the
    // character format of the variable's first character. A value with line
    // breaks continues on new lines in the line's paragraph format. A line
    // left without characters is not emitted.
    void emitLines(std::string_view marker, const STBilet &row, QTextCursor &output) const;

    // Whether any line carries a marker.
    bool empty() const { return m_lines.empty(); }

private:
    struct Line
    {
        int marker = -1;            // index into the marker table
        QString text;               // the whole line, its marker included
        std::vector<int> formats;   // per character, index into m_formats
        QTextBlockFormat paragraph; // the paragraph format of the line
        int lineEnd = 0;            // character format of the line's end
    };
    std::vector<Line> m_lines;
    std::vector<QTextCharFormat> m_formats;
};

} // namespace kv::output
