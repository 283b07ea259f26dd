#include "TicketLayout.h"

#include "TicketTemplate.h"

#include "platform/dbf/FileLookup.h"
#include "platform/rtf/RtfPageSettings.h"
#include "platform/rtf/RtfReader.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace kv::output {
namespace {

const std::string &cp1251(const char16_t *text, std::string &cache)
{
    if (cache.empty())
        cache = kv::text::toCp1251(QString::fromUtf16(text));
    return cache;
}

// A number field as the table layer shows it: plain decimal, empty when null.
std::string numberText(const kv::store::Table &table, const char *field)
{
    const auto value = table.integerField(field);
    return value ? std::to_string(*value) : std::string();
}

std::int32_t parseNumber(const std::string &text, const char *field)
{
    const auto value = kv::text::ParseInteger(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        throw std::runtime_error("Поле " + std::string(field) +
                                 " билета не содержит целого числа: \"" +
                                 kv::text::fromCp1251(text).toStdString() + "\"");
    return std::int32_t(*value);
}

// Appends `text` at the end of the document as new paragraphs in `format`:
// each CR LF, CR or LF and the end of the text end a paragraph.
void appendLines(QTextCursor &end, const QString &text, const QTextBlockFormat &format)
{
    end.setBlockFormat(format);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n')
            continue;
        end.insertText(text.mid(start, i - start));
        end.insertBlock(format);
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
}

class PlainLayout
{
public:
    PlainLayout(QTextCursor &end, const LayoutOptions &options) : m_end(end), m_options(options)
    {
        m_heading.setAlignment(Qt::AlignHCenter);
        const double hanging = HangingIndentPoints(options.indent);
        m_question.setAlignment(Qt::AlignLeft);
        m_question.setLeftMargin(hanging);
        m_question.setTextIndent(-hanging);
        m_question.setTabPositions({QTextOption::Tab(hanging, QTextOption::LeftTab)});
    }

    void add(const kv::store::Table &tickets, bool first)
    {
        const std::int64_t ticket = tickets.integerField("NBILETA").value_or(0);
        if (ticket != m_lastTicket) {
            m_lastTicket = ticket;
            const QString heading = QString::fromUtf16(first ? u"\nБИЛЕТ №" : u"\n\nБИЛЕТ №") +
                                    QString::number(ticket) + u'\n';
            appendLines(m_end, heading, m_heading);
        }
        const std::string line =
            QuestionLine(numberText(tickets, "NVOPROSA"), tickets.textField("VOPRMEMO"),
                         numberText(tickets, "NGRUPPY"), numberText(tickets, "NPOR"), m_options);
        appendLines(m_end, kv::text::fromCp1251(line), m_question);
    }

private:
    QTextCursor &m_end;
    const LayoutOptions &m_options;
    QTextBlockFormat m_heading;
    QTextBlockFormat m_question;
    std::int64_t m_lastTicket = 0;
};

class TemplateLayout
{
public:
    TemplateLayout(QTextCursor &end, const TicketTemplate &ticketTemplate,
                   const GroupNameLookup &groupName)
        : m_end(end), m_template(ticketTemplate), m_groupName(groupName)
    {
        m_row.reset();
    }

    void add(const kv::store::Table &tickets, bool first)
    {
        STBilet &r = m_row;
        r.ticketText = numberText(tickets, "NBILETA");
        r.ticket = parseNumber(r.ticketText, "NBILETA");
        r.groupText = numberText(tickets, "NGRUPPY");
        r.group = parseNumber(r.groupText, "NGRUPPY");
        r.questionText = numberText(tickets, "NVOPROSA");
        r.question = parseNumber(r.questionText, "NVOPROSA");
        r.runningNumberText = numberText(tickets, "NPOR");
        r.questionBody = tickets.textField("VOPRMEMO");
        r.groupName = groupNameOf(r.group);

        if (r.group == r.previousGroup && r.ticket == r.previousTicket)
            ++r.groupPosition;
        else
            r.groupPosition = 1;
        r.groupPositionText = std::to_string(r.groupPosition);

        const bool ticketChanges = r.ticket != r.previousTicket;
        const bool groupChanges = r.group != r.previousGroup || ticketChanges;
        const bool questionChanges = r.question != r.previousQuestion || ticketChanges;
        if (!first) {
            if (questionChanges)
                emitMarker(kQuestionEnds);
            if (groupChanges)
                emitMarker(kGroupEnds);
            if (ticketChanges)
                emitMarker(kTicketEnds);
        }
        if (first || ticketChanges)
            emitMarker(kTicketBegins);
        if (first || groupChanges)
            emitMarker(kGroupBegins);
        if (first || questionChanges)
            emitMarker(kQuestionBegins);

        r.previousTicket = r.ticket;
        r.previousGroup = r.group;
        r.previousQuestion = r.question;
    }

    // Closes the last question, group run and ticket with the last record's
    // values.
    void finish()
    {
        emitMarker(kQuestionEnds);
        emitMarker(kGroupEnds);
        emitMarker(kTicketEnds);
    }

private:
    void emitMarker(std::string_view marker) { m_template.emitLines(marker, m_row, m_end); }

    // The group table does not change during a layout: each group is looked
    // up once.
    const std::string &groupNameOf(std::int32_t group)
    {
        auto it = m_names.find(group);
        if (it == m_names.end())
            it = m_names.emplace(group, m_groupName ? m_groupName(group) : std::string()).first;
        return it->second;
    }

    QTextCursor &m_end;
    const TicketTemplate &m_template;
    const GroupNameLookup &m_groupName;
    std::map<std::int32_t, std::string> m_names;
    STBilet m_row;
};

// Walks the tickets in stored order, asking the record count at each step.
template <class Layout>
void walk(kv::store::Table &tickets, Layout &layout, const LayoutProgress &progress,
          LayoutResult &result)
{
    tickets.first();
    for (int i = 0; i < tickets.recordCount(); ++i) {
        layout.add(tickets, i == 0);
        ++result.records;
        tickets.next();
        if (progress && !progress(i + 1, tickets.recordCount())) {
            result.complete = false;
            return;
        }
    }
}

} // namespace

QFont OutputFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    return font;
}

std::string QuestionLine(const std::string &questionNumber, const std::string &text,
                         const std::string &group, const std::string &runningNumber,
                         const LayoutOptions &options)
{
    static std::string groupLabel, runningLabel;
    std::string line = questionNumber + ".\t" + text;
    if (options.groupNumbers || options.runningNumbers)
        line += "  [";
    if (options.groupNumbers)
        line += cp1251(u"гр.", groupLabel) + group;
    if (options.groupNumbers && options.runningNumbers)
        line += ", ";
    if (options.runningNumbers)
        line += cp1251(u"впр. №", runningLabel) + runningNumber;
    if (options.groupNumbers || options.runningNumbers)
        line += "]";
    return line;
}

void SetStartIndent(QTextDocument &document, int indent)
{
    const double start = StartIndentPoints(indent);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        // The first line starts at the start indent; later lines keep their
        // offset from it.
        format.setLeftMargin(std::max(0.0, start - format.textIndent()));
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

std::vector<QString> TemplateNames(const QString &sysFolder)
{
    std::vector<QString> names;
    const QDir folder(sysFolder);
    if (!folder.exists())
        return names;
    const QStringList found =
        folder.entryList({QStringLiteral("*.rtf")}, QDir::Files | QDir::Hidden | QDir::System,
                         QDir::Name | QDir::IgnoreCase);
    names.assign(found.begin(), found.end());
    return names;
}

std::optional<QString> TemplatePath(const QString &sysFolder, const std::string &name)
{
    const QString trimmed = kv::text::fromCp1251(kv::text::Trim(name));
    if (trimmed.isEmpty() || trimmed == u"." || trimmed == u".." || trimmed.contains(u'/') ||
        trimmed.contains(u'\\'))
        return std::nullopt;
    const auto found = kv::dbf::findFileNoCase(QDir(sysFolder).filePath(trimmed).toStdString());
    if (!found)
        return std::nullopt;
    return QString::fromStdString(*found);
}

LayoutResult LayOutTickets(kv::store::Table &tickets, QTextDocument &output,
                           const LayoutOptions &options, const QString &sysFolder,
                           const GroupNameLookup &groupName, const LayoutProgress &progress)
{
    LayoutResult result;
    const bool undo = output.isUndoRedoEnabled();
    output.setUndoRedoEnabled(false);
    output.clear();
    const bool wasFiltered = tickets.filtered();
    QTextCursor end(&output);
    end.beginEditBlock();
    try {
        tickets.setFiltered(false);
        const bool useTemplate =
            options.useTemplate && !kv::text::Trim(options.templateName).empty();
        if (!useTemplate) {
            result.kind = LayoutKind::Plain;
            result.pageSettings = std::string();
            PlainLayout layout(end, options);
            walk(tickets, layout, progress, result);
        } else if (const auto path = TemplatePath(sysFolder, options.templateName)) {
            result.kind = LayoutKind::Template;
            QTextDocument templateDocument;
            kv::rtf::RtfReader reader;
            if (!reader.readFile(*path, &templateDocument))
                throw std::runtime_error(reader.errorString().toStdString());
            QFile file(*path);
            if (!file.open(QIODevice::ReadOnly))
                throw std::runtime_error(
                    QStringLiteral("Не удалось прочитать шаблон %1: %2")
                        .arg(QDir::toNativeSeparators(*path), file.errorString())
                        .toStdString());
            const QByteArray bytes = file.readAll();
            result.pageSettings =
                kv::rtf::templatePageSettings(std::string_view(bytes.constData(), bytes.size()));
            const TicketTemplate ticketTemplate(templateDocument);
            TemplateLayout layout(end, ticketTemplate, groupName);
            walk(tickets, layout, progress, result);
            if (result.complete && result.records > 0)
                layout.finish();
        } else {
            result.kind = LayoutKind::MissingTemplate;
        }
    } catch (const std::exception &e) {
        result.complete = false;
        result.error = QString::fromUtf8(e.what());
    }
    end.endEditBlock();
    output.setUndoRedoEnabled(undo);
    try {
        tickets.setFiltered(wasFiltered);
    } catch (const std::exception &e) {
        if (result.error.isEmpty())
            result.error = QString::fromUtf8(e.what());
        result.complete = false;
    }
    return result;
}

} // namespace kv::output
