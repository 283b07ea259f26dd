#include "RtfWriter.h"

#include "platform/text/Cp1251.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>

#include <cmath>
#include <vector>

namespace kv::rtf {
namespace {

constexpr double kDefaultPointSize = 12.0;

int twips(double points)
{
    return int(std::lround(points * 20.0));
}

void appendNumber(QByteArray &out, long long value)
{
    out.append(QByteArray::number(value));
}

// Text as RTF: printable ASCII as is, Windows-1251 as \'hh, the rest as \uN?.
void appendText(QByteArray &out, QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'\\':
            out.append("\\\\");
            continue;
        case u'{':
            out.append("\\{");
            continue;
        case u'}':
            out.append("\\}");
            continue;
        case u'\t':
            out.append("\\tab ");
            continue;
        case 0x2028:
            out.append("\\line ");
            continue;
        case 0x00A0:
            out.append("\\~");
            continue;
        case 0x00AD:
            out.append("\\-");
            continue;
        case 0x2011:
            out.append("\\_");
            continue;
        case 0xFFFC:
            continue; // an object (image) we do not write
        default:
            break;
        }
        if (c < 0x20 || c == 0x7F || c == 0x2029)
            continue;
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        unsigned char byte = 0;
        if (kv::text::unicodeToCp1251(c, byte)) {
            out.append("\\'");
            out.append(kHex[byte >> 4]);
            out.append(kHex[byte & 15]);
            continue;
        }
        out.append("\\u");
        appendNumber(out, static_cast<std::int16_t>(c));
        out.append('?');
    }
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document) : m_document(document)
    {
        m_defaultFamily = document.defaultFont().family();
        m_defaultSize = document.defaultFont().pointSizeF();
        if (m_defaultSize <= 0)
            m_defaultSize = kDefaultPointSize;
        m_colors.push_back(QColor()); // index 0: automatic colour
        fontIndex(m_defaultFamily);
    }

    QByteArray write()
    {
        QByteArray body;
        body.reserve(m_document.characterCount() * 2 + 1024);
        bool first = true;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            if (!first)
                body.append("\\par\n");
            first = false;
            writeBlock(body, block);
        }
        QByteArray out;
        out.reserve(body.size() + 1024);
        out.append("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\uc1");
        out.append("{\\fonttbl");
        for (std::size_t i = 0; i < m_fonts.size(); ++i) {
            out.append("{\\f");
            appendNumber(out, qint64(i));
            out.append("\\fnil\\fcharset204 ");
            // A font name is plain text: no separators, breaks or special spaces.
            QString name = m_fonts[i];
            for (QChar &c : name)
                if (c.unicode() < 0x20 || c == u';' || c == u'\u00a0' || c == u'\u00ad' ||
                    c == u'\u2011' || c == QChar::LineSeparator)
                    c = u' ';
            appendText(out, name);
            out.append(";}");
        }
        out.append("}\n{\\colortbl ;");
        for (std::size_t i = 1; i < m_colors.size(); ++i) {
            out.append("\\red");
            appendNumber(out, m_colors[i].red());
            out.append("\\green");
            appendNumber(out, m_colors[i].green());
            out.append("\\blue");
            appendNumber(out, m_colors[i].blue());
            out.append(';');
        }
        out.append("}\n\\viewkind4\n");
        out.append(body);
        out.append("}\n");
        return out;
    }

private:
    int fontIndex(const QString &family)
    {
        for (std::size_t i = 0; i < m_fonts.size(); ++i)
            if (m_fonts[i] == family)
                return int(i);
        m_fonts.push_back(family);
        return int(m_fonts.size() - 1);
    }

    int colorIndex(const QColor &color)
    {
        const QRgb rgb = color.rgb();
        for (std::size_t i = 1; i < m_colors.size(); ++i)
            if (m_colors[i].rgb() == rgb)
                return int(i);
        m_colors.push_back(QColor::fromRgb(rgb));
        return int(m_colors.size() - 1);
    }

    QString familyOf(const QTextCharFormat &format) const
    {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.front().isEmpty())
            return families.front();
        const QString family = format.stringProperty(QTextFormat::FontFamily);
        if (!family.isEmpty())
            return family;
        return m_defaultFamily;
    }

    void writeBlock(QByteArray &out, const QTextBlock &block)
    {
        const QTextBlockFormat bf = block.blockFormat();
        out.append("\\pard");
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            out.append("\\qc");
        else if (align & Qt::AlignRight)
            out.append("\\qr");
        else if (align & Qt::AlignJustify)
            out.append("\\qj");
        const auto property = [&out](const char *word, double points) {
            const int value = twips(points);
            if (value != 0) {
                out.append(word);
                appendNumber(out, value);
            }
        };
        property("\\li", bf.leftMargin() + bf.indent() * m_document.indentWidth());
        property("\\fi", bf.textIndent());
        property("\\ri", bf.rightMargin());
        property("\\sb", bf.topMargin());
        property("\\sa", bf.bottomMargin());
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            out.append("\\pagebb");
        out.append(' ');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                writeRun(out, fragment.charFormat(), fragment.text());
        }
    }

    void writeRun(QByteArray &out, const QTextCharFormat &format, const QString &text)
    {
        out.append("{\\f");
        appendNumber(out, fontIndex(familyOf(format)));
        double size = format.fontPointSize();
        if (size <= 0)
            size = m_defaultSize;
        out.append("\\fs");
        appendNumber(out, std::lround(size * 2));
        if (format.fontWeight() > QFont::Medium)
            out.append("\\b");
        if (format.fontItalic())
            out.append("\\i");
        if (format.fontUnderline())
            out.append("\\ul");
        if (format.fontStrikeOut())
            out.append("\\strike");
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            out.append("\\super");
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            out.append("\\sub");
        if (format.hasProperty(QTextFormat::ForegroundBrush) &&
            format.foreground().style() != Qt::NoBrush) {
            out.append("\\cf");
            appendNumber(out, colorIndex(format.foreground().color()));
        }
        if (format.hasProperty(QTextFormat::BackgroundBrush) &&
            format.background().style() != Qt::NoBrush) {
            out.append("\\highlight");
            appendNumber(out, colorIndex(format.background().color()));
        }
        out.append(' ');
        appendText(out, text);
        out.append('}');
    }

    const QTextDocument &m_document;
    QString m_defaultFamily;
    double m_defaultSize = kDefaultPointSize;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colors;
};

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return Writer(document).write();
}

QByteArray writeRtf(const QTextDocumentFragment &fragment)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertFragment(fragment);
    return writeRtf(document);
}

} // namespace kv::rtf
