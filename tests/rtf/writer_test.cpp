// The writer: what it writes reads back to the same text and formats, and an
// independent reader (unrtf) gets the whole text out of it.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

QTextCharFormat charFormat(const QString &family, double size, bool bold = false,
                           bool italic = false)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(size);
    if (bold)
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    return f;
}

QTextBlockFormat blockFormat(Qt::Alignment alignment, double left = 0, double first = 0,
                             double right = 0, double before = 0, double after = 0)
{
    QTextBlockFormat f;
    f.setAlignment(alignment);
    f.setLeftMargin(left);
    f.setTextIndent(first);
    f.setRightMargin(right);
    f.setTopMargin(before);
    f.setBottomMargin(after);
    return f;
}

// A ticket-like document with everything the writer must carry.
void buildSample(QTextDocument &document)
{
    document.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    QTextCursor c(&document);
    c.setBlockFormat(blockFormat(Qt::AlignHCenter, 0, 0, 0, 6, 12));
    c.insertText(QStringLiteral("БИЛЕТ № 1"), charFormat("Times New Roman", 16, true));
    c.insertBlock(blockFormat(Qt::AlignLeft, 28.35, -14.15, 7.2));
    c.insertText(QStringLiteral("1.\t"), charFormat("Arial", 12));
    c.insertText(QStringLiteral("Что такое {интеграл} \\ Римана?"),
                 charFormat("Arial", 12, false, true));
    QTextCharFormat marked = charFormat("Arial", 12);
    marked.setFontUnderline(true);
    marked.setFontStrikeOut(true);
    marked.setForeground(QColor(192, 0, 0));
    marked.setBackground(QColor(255, 255, 0));
    c.insertText(QStringLiteral(" ß 中 💩 € ё"), marked);
    c.insertText(QString::fromUtf16(u"строка\u2028вторая\u00a0часть"), charFormat("Arial", 12));
    c.insertBlock(blockFormat(Qt::AlignRight));
    c.insertBlock(blockFormat(Qt::AlignJustify, 10));
    c.insertText(QStringLiteral("Экзаменатор ________"), charFormat("Courier New", 10));
    QTextBlockFormat paged = blockFormat(Qt::AlignLeft);
    paged.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(paged);
    c.insertText(QStringLiteral("Билет № 2"));
}

QString familyOf(const QTextCharFormat &f, const QTextDocument &document)
{
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? document.defaultFont().family() : families.front();
}

double sizeOf(const QTextCharFormat &f, const QTextDocument &document)
{
    return f.fontPointSize() > 0 ? f.fontPointSize() : document.defaultFont().pointSizeF();
}

// Compares text, paragraph formats and, character by character, the
// character formats the writer carries.
void expectSameDocument(const QTextDocument &a, const QTextDocument &b)
{
    ASSERT_EQ(a.toRawText(), b.toRawText());
    ASSERT_EQ(a.blockCount(), b.blockCount());
    for (QTextBlock x = a.begin(), y = b.begin(); x.isValid(); x = x.next(), y = y.next()) {
        const QTextBlockFormat fx = x.blockFormat(), fy = y.blockFormat();
        EXPECT_EQ(fx.alignment() & Qt::AlignHorizontal_Mask,
                  fy.alignment() & Qt::AlignHorizontal_Mask)
            << x.text().toStdString();
        EXPECT_DOUBLE_EQ(fx.leftMargin(), fy.leftMargin());
        EXPECT_DOUBLE_EQ(fx.textIndent(), fy.textIndent());
        EXPECT_DOUBLE_EQ(fx.rightMargin(), fy.rightMargin());
        EXPECT_DOUBLE_EQ(fx.topMargin(), fy.topMargin());
        EXPECT_DOUBLE_EQ(fx.bottomMargin(), fy.bottomMargin());
        EXPECT_EQ(fx.pageBreakPolicy(), fy.pageBreakPolicy());
    }
    QTextCursor ca(const_cast<QTextDocument *>(&a)), cb(const_cast<QTextDocument *>(&b));
    for (int pos = 1; pos < a.characterCount(); ++pos) {
        if (a.characterAt(pos - 1) == QChar::ParagraphSeparator)
            continue;
        ca.setPosition(pos);
        cb.setPosition(pos);
        const QTextCharFormat x = ca.charFormat(), y = cb.charFormat();
        const std::string where = "at " + std::to_string(pos);
        EXPECT_EQ(familyOf(x, a), familyOf(y, b)) << where;
        EXPECT_DOUBLE_EQ(sizeOf(x, a), sizeOf(y, b)) << where;
        EXPECT_EQ(x.fontWeight() >= QFont::Bold, y.fontWeight() >= QFont::Bold) << where;
        EXPECT_EQ(x.fontItalic(), y.fontItalic()) << where;
        EXPECT_EQ(x.fontUnderline(), y.fontUnderline()) << where;
        EXPECT_EQ(x.fontStrikeOut(), y.fontStrikeOut()) << where;
        EXPECT_EQ(x.foreground().style() == Qt::NoBrush ? QColor() : x.foreground().color(),
                  y.foreground().style() == Qt::NoBrush ? QColor() : y.foreground().color())
            << where;
        EXPECT_EQ(x.background().style() == Qt::NoBrush ? QColor() : x.background().color(),
                  y.background().style() == Qt::NoBrush ? QColor() : y.background().color())
            << where;
    }
}

TEST(RtfWriter, RoundTripKeepsTextAndFormats)
{
    QTextDocument original;
    buildSample(original);
    const QByteArray rtf = kv::rtf::writeRtf(original);
    QTextDocument back;
    back.setDefaultFont(original.defaultFont());
    kv::rtf::RtfReader reader;
    ASSERT_TRUE(reader.read(rtf, &back)) << reader.errorString().toStdString();
    EXPECT_FALSE(reader.wasRepaired());
    expectSameDocument(original, back);
    // Writing what was read gives the same bytes again.
    EXPECT_EQ(kv::rtf::writeRtf(back), rtf);
}

TEST(RtfWriter, HeaderAndEncoding)
{
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("Вопрос ß 中 💩"));
    const QByteArray rtf = kv::rtf::writeRtf(document);
    // Page settings go right after the first six bytes, before a control word.
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\ansicpg1251"));
    EXPECT_TRUE(rtf.contains("\\fcharset204"));
    EXPECT_TRUE(rtf.contains("\\'c2\\'ee\\'ef\\'f0\\'ee\\'f1 ")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\u223? \\u20013? \\u-10179?\\u-9047?")) << rtf.toStdString();
    EXPECT_TRUE(rtf.endsWith("}\n"));
}

// Font names are written as text of the font table, whatever they hold.
TEST(RtfWriter, FontNamesWithAnyCharacters)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const QString &family :
         {QStringLiteral("Шрифт 中A"), QString::fromUtf16(u"a\u00a0b;c\tab")}) {
        cursor.insertText(QStringLiteral("x"), charFormat(family, 12));
        QTextDocument back;
        ASSERT_TRUE(kv::rtf::RtfReader().read(kv::rtf::writeRtf(document), &back));
        EXPECT_EQ(back.toPlainText(), document.toPlainText());
    }
    QTextDocument back;
    ASSERT_TRUE(kv::rtf::RtfReader().read(kv::rtf::writeRtf(document), &back));
    QTextCursor probe(&back);
    probe.setPosition(1);
    EXPECT_EQ(probe.charFormat().fontFamilies().toStringList(), QStringList{"Шрифт 中A"});
}

TEST(RtfWriter, EmptyDocumentAndFragment)
{
    QTextDocument empty;
    const QByteArray rtf = kv::rtf::writeRtf(empty);
    QTextDocument back;
    ASSERT_TRUE(kv::rtf::RtfReader().read(rtf, &back));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_EQ(back.blockCount(), 1);

    QTextDocument source;
    buildSample(source);
    QTextCursor selection(&source);
    selection.setPosition(source.findBlockByNumber(1).position() + 3);
    selection.setPosition(source.findBlockByNumber(1).position() + 11, QTextCursor::KeepAnchor);
    QTextDocument part;
    ASSERT_TRUE(kv::rtf::RtfReader().read(kv::rtf::writeRtf(selection.selection()), &part));
    EXPECT_EQ(part.toPlainText(), QStringLiteral("Что тако"));
    QTextCursor probe(&part);
    probe.setPosition(1);
    EXPECT_TRUE(probe.charFormat().fontItalic());
}

// unrtf is an independent reader; its HTML output carries every character
// (its plain-text output has no way to show non-ASCII characters).
QString unrtf(const QString &mode, const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("unrtf"), {mode, file});
    if (!process.waitForFinished(20000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString decodeHtml(QString html)
{
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    QRegularExpression entity(QStringLiteral("&#(\\d+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += html.mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUInt()));
        last = m.capturedEnd();
    }
    return out + html.mid(last);
}

TEST(RtfWriter, IndependentReaderGetsTheWholeText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty())
        GTEST_SKIP() << "unrtf is not installed";
    QTextDocument document;
    buildSample(document);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("билеты.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kv::rtf::writeRtf(document));
    file.close();

    const QString text = unrtf(QStringLiteral("--text"), path);
    EXPECT_TRUE(text.contains(QStringLiteral("1.")));
    EXPECT_TRUE(text.contains(QStringLiteral("________")));

    const QString html = decodeHtml(unrtf(QStringLiteral("--html"), path)).simplified();
    for (const char *phrase : {"БИЛЕТ № 1", "Что такое {интеграл} \\ Римана?", "中 💩",
                               "ёстрока вторая часть", "Экзаменатор ________", "Билет № 2"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(phrase))) << phrase << "\n"
                                                              << html.toStdString();
}

} // namespace
