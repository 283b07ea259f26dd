#include "TicketTemplate.h"

#include "platform/text/Cp1251.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <array>

namespace kv::output {
namespace {

constexpr std::array<std::string_view, 6> kMarkers = {kTicketBegins, kGroupBegins, kQuestionBegins,
                                                      kQuestionEnds, kGroupEnds,   kTicketEnds};

int markerIndex(std::string_view marker)
{
    for (std::size_t i = 0; i < kMarkers.size(); ++i)
        if (kMarkers[i] == marker)
            return int(i);
    return -1;
}

QString latin(std::string_view ascii)
{
    return QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
}

// A line break inside a value while the line is being filled; the template's
// own lines hold none (they were split at every break).
constexpr QChar kValueBreak = QChar::ParagraphSeparator;

// A Windows-1251 value as line text: CR LF, CR and LF become value breaks.
QString valueText(const std::string &cp1251)
{
    QString text = kv::text::fromCp1251(cp1251);
    text.replace(QStringLiteral("\r\n"), QString(kValueBreak));
    text.replace(QChar(u'\r'), kValueBreak);
    text.replace(QChar(u'\n'), kValueBreak);
    return text;
}

} // namespace

TicketTemplate::TicketTemplate(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Line line;
        line.paragraph = block.blockFormat();
        m_formats.push_back(block.charFormat());
        line.lineEnd = int(m_formats.size()) - 1;
        auto finish = [&] {
            for (std::size_t i = 0; i < kMarkers.size(); ++i) {
                if (line.text.startsWith(latin(kMarkers[i]))) {
                    line.marker = int(i);
                    m_lines.push_back(line);
                    break;
                }
            }
            line.text.clear();
            line.formats.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            m_formats.push_back(fragment.charFormat());
            const int format = int(m_formats.size()) - 1;
            for (const QChar c : fragment.text()) {
                if (c == QChar::LineSeparator) {
                    finish();
                    continue;
                }
                line.text.append(c);
                line.formats.push_back(format);
            }
        }
        finish();
    }
}

void TicketTemplate::emitLines(std::string_view marker, const STBilet &row,
                               QTextCursor &output) const
{
    const int wanted = markerIndex(marker);
    if (wanted < 0)
        return;
    const std::array<std::pair<QString, QString>, 7> variables = {{
        {QStringLiteral("%NBILETA%"), valueText(row.ticketText)},
        {QStringLiteral("%NGRUPPY%"), valueText(row.groupText)},
        {QStringLiteral("%NVOPROSA%"), valueText(row.questionText)},
        {QStringLiteral("%NPOR%"), valueText(row.runningNumberText)},
        {QStringLiteral("%VOPRMEMO%"), valueText(row.questionBody)},
        {QStringLiteral("%NAMEGRUPPA%"), valueText(row.groupName)},
        {QStringLiteral("%NVOPROSAGRUPPY%"), valueText(row.groupPositionText)},
    }};
    const qsizetype markerLength = qsizetype(marker.size());

    for (const Line &line : m_lines) {
        if (line.marker != wanted)
            continue;
        QString text = line.text.mid(markerLength);
        std::vector<int> formats(line.formats.begin() + markerLength, line.formats.end());
        for (const auto &[name, value] : variables) {
            qsizetype at = 0;
            while ((at = text.indexOf(name, at)) >= 0) {
                const int format = formats[std::size_t(at)];
                text.replace(at, name.size(), value);
                const auto first = formats.begin() + at;
                formats.erase(first, first + name.size());
                formats.insert(formats.begin() + at, std::size_t(value.size()), format);
                at += value.size();
            }
        }
        if (text.isEmpty())
            continue;

        // Runs of one format go in with one insertion each.
        output.setBlockFormat(line.paragraph);
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool end = i == text.size();
            const bool lineBreak = !end && text[i] == kValueBreak;
            if (!end && !lineBreak && formats[std::size_t(i)] == formats[std::size_t(start)])
                continue;
            if (i > start)
                output.insertText(text.mid(start, i - start),
                                  m_formats[std::size_t(formats[std::size_t(start)])]);
            if (lineBreak)
                output.insertBlock(line.paragraph, m_formats[std::size_t(line.lineEnd)]);
            start = lineBreak ? i + 1 : i;
        }
        output.insertBlock(line.paragraph, m_formats[std::size_t(line.lineEnd)]);
    }
}

} // namespace kv::output
