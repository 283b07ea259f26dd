// Template page settings carried into saved files, and formatted ranges moved
// between documents.
#include "common/FixtureFiles.h"
#include "platform/rtf/RtfFragment.h"
#include "platform/rtf/RtfPageSettings.h"
#include "platform/rtf/RtfReader.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// `name` relative to the fixtures' templates folder, or "templates/..." as
// exampleTemplate gives it.
std::string fixture(const std::string &name)
{
    const QString relative = QString::fromStdString(name);
    QFile file(
        QStringLiteral(KV_FIXTURES_DIR "/") +
        (relative.startsWith(u"templates/") ? relative : QStringLiteral("templates/") + relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll().toStdString();
}

TEST(TemplatePageSettings, FromPaperWidthToBeforeGutter)
{
    const struct
    {
        const char *name;
        std::string rtf;
        std::string expected;
    } cases[] = {
        {"template", fixture("word2003-page-settings.rtf"),
         "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134"},
        {"no gutter", fixture(kv::test::exampleTemplate("libreoffice")), ""},
        {"first occurrences", "\\paperw1 \\margl2\n\\gutter0 \\paperw3\\gutter4",
         "\\paperw1 \\margl2\n"},
        {"gutter first", "\\gutter0\\paperw1\\gutter5", ""},
        {"no paper width", "\\paperh1\\gutter0", ""},
        {"across groups", "\\paperw1{\\info x}\\gutter0", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kv::rtf::templatePageSettings(c.rtf), c.expected) << c.name;
}

TEST(TemplatePageSettings, InsertedAfterSixBytesUnlessBlank)
{
    const QByteArray rtf("{\\rtf1\\ansi x}");
    EXPECT_EQ(kv::rtf::insertPageSettings(rtf, " \\paperw1\\margl2 "),
              QByteArray("{\\rtf1 \\paperw1\\margl2 \\ansi x}"));
    EXPECT_EQ(kv::rtf::insertPageSettings(rtf, " \r\n\t"), rtf);
    EXPECT_EQ(kv::rtf::insertPageSettings(rtf, ""), rtf);
}

TEST(CopyRange, FormatsSurviveTheMove)
{
    QTextDocument source;
    QTextCursor s(&source);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(20);
    centred.setTextIndent(-10);
    s.setBlockFormat(centred);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(200, 0, 0));
    s.insertText(QStringLiteral("Билет № "), bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    s.insertText(QStringLiteral("%NBILETA%"), italic);
    s.insertBlock(QTextBlockFormat());
    s.insertText(QStringLiteral("вторая"));

    QTextDocument target;
    QTextCursor t(&target);
    t.insertText(QStringLiteral("до"));
    t.insertBlock();
    // The first line with its paragraph end, then the second line.
    const int firstEnd = source.begin().position() + source.begin().length();
    kv::rtf::copyRange(source, 0, firstEnd, t);
    kv::rtf::copyRange(source, firstEnd, source.characterCount() - 1, t);

    EXPECT_EQ(target.toPlainText(), QStringLiteral("до\nБилет № %NBILETA%\nвторая"));
    const QTextBlock copied = target.findBlockByNumber(1);
    EXPECT_EQ(copied.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(copied.blockFormat().leftMargin(), 20);
    EXPECT_DOUBLE_EQ(copied.blockFormat().textIndent(), -10);
    QTextCursor probe(&target);
    probe.setPosition(copied.position() + 1);
    EXPECT_TRUE(probe.charFormat().fontWeight() >= QFont::Bold);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(200, 0, 0));
    probe.setPosition(copied.position() + 10);
    EXPECT_TRUE(probe.charFormat().fontItalic());
    EXPECT_EQ(target.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    // Out-of-range positions are clamped, never read past the document.
    kv::rtf::copyRange(source, -5, 100000, t);
    EXPECT_TRUE(target.toPlainText().endsWith(QStringLiteral("вторая")));
}

// A template read from RTF, copied line by line, keeps the formats the word
// processor gave it.
TEST(CopyRange, TemplateLinesFromRealFile)
{
    QTextDocument templ;
    kv::rtf::RtfReader reader;
    ASSERT_TRUE(reader.readFile(
        QStringLiteral(KV_FIXTURES_DIR "/templates/word2003-page-settings.rtf"), &templ));
    const QTextBlock question = templ.findBlockByNumber(2);
    ASSERT_TRUE(question.text().startsWith(QStringLiteral("#NVOPROSA#")));
    QTextDocument out;
    QTextCursor t(&out);
    kv::rtf::copyRange(templ, question.position(), question.position() + question.length(), t);
    const QTextBlock copied = out.begin();
    EXPECT_EQ(copied.text(), question.text());
    EXPECT_NEAR(copied.blockFormat().textIndent(), -14.2, 1e-9); // hanging indent \fi-284
    EXPECT_NEAR(copied.blockFormat().leftMargin(), 14.2, 1e-9);
    QTextCursor probe(&out);
    probe.setPosition(copied.text().indexOf(QStringLiteral("%VOPRMEMO%")) + 1);
    EXPECT_TRUE(probe.charFormat().fontWeight() >= QFont::Bold);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(192, 0, 0));
}

} // namespace
