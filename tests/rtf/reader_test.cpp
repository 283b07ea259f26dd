// The reader on small hand-made inputs: decoding, breaks, destinations,
// formats, and input meant to break it.
#include "platform/rtf/RtfControlWords.h"
#include "platform/rtf/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using kv::rtf::ReadError;
using kv::rtf::RtfReader;

QString readText(const std::string &rtf)
{
    QTextDocument document;
    RtfReader reader;
    EXPECT_TRUE(reader.read(QByteArrayView(rtf.data(), qsizetype(rtf.size())), &document))
        << reader.errorString().toStdString();
    // The raw text keeps line breaks and no-break spaces as they are.
    return document.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

struct TextCase
{
    const char *name;
    std::string rtf;
    const char *expected; // UTF-8
};

TEST(RtfReaderText, DecodesAndBreaksAsWordProcessorsDo)
{
    const TextCase cases[] = {
        {"ansicpg1251", R"({\rtf1\ansi\ansicpg1251 \'c1\'e8\'eb\'e5\'f2 \'b9 1})", "Билет № 1"},
        {"font charset before ansicpg",
         R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman\fcharset204 Times New Roman Cyr;}}\f1\'c0\'e1 \f0\'c0)",
         "Аб À"},
        {"font cpg", R"({\rtf1\ansi{\fonttbl{\f0\cpg1251 X;}}\f0\'e0})", "а"},
        {"no code page means 1252", R"({\rtf1\'e0\'80})", "à€"},
        {"default font decides before any \\f",
         R"({\rtf1\ansi\deff1{\fonttbl{\f0 A;}{\f1\fcharset204 B;}}\'e0})", "а"},
        {"unicode skips its fallback", R"({\rtf1\u1041?\uc2\u1042\'c2\'c2x})", "БВx"},
        {"skip count is per group", R"({\rtf1{\uc2\u1041 ab}\u1042?c})", "БВc"},
        {"skip count zero", R"({\rtf1\uc0\u1041 \u1042 x})", "БВx"},
        {"negative unicode and surrogate pair", R"({\rtf1\u-10179?\u-9047?!})", "💩!"},
        {"lone surrogate", R"({\rtf1\u-10179?x})", "\xEF\xBF\xBDx"},
        {"escaped characters", R"({\rtf1 \{a\}\\b})", "{a}\\b"},
        {"special characters",
         R"({\rtf1 a\tab b\line c\~d\-e\_f\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
         "a\tb\xE2\x80\xA8"
         "c\xC2\xA0"
         "d\xC2\xAD"
         "e\xE2\x80\x91"
         "f—–•‘’“”"},
        {"paragraphs, sections and page", R"({\rtf1 a\par b\sect c\page d})", "a\nb\nc\nd"},
        {"backslash before line end is a paragraph", "{\\rtf1 a\\\nb\\\r\nc}", "a\nb\nc"},
        {"line ends are not content", "{\\rtf1 a\r\nb\nc}", "abc"},
        {"table cells and rows",
         R"({\rtf1\trowd\cellx1\cellx2\cellx3 \intbl a\cell b\cell c\cell\row\intbl d\cell\cell f\cell\row})",
         "a\tb\tc\nd\t\tf\n"},
        {"ignorable destinations are skipped", R"({\rtf1 a{\*\unknownthing b}{\*\bkmkstart x}c})",
         "ac"},
        {"unknown groups keep their text", R"({\rtf1 a{\unknownthing b}c})", "abc"},
        {"font, colour, style tables, info",
         R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}{\stylesheet{\s1 Heading;}}{\info{\author Me}}x})",
         "x"},
        {"field shows its result",
         R"({\rtf1{\field{\*\fldinst HYPERLINK "http://a"}{\fldrslt link}}})", "link"},
        {"headers, footnotes and pictures are left out",
         R"({\rtf1{\header H}{\footerr F}a{\footnote N}{\pict\pngblip 89504e47}b})", "ab"},
        {"binary data is not parsed", "{\\rtf1 a{\\pict\\bin4 }}{\\}b}", "ab"},
        {"hidden text", R"({\rtf1 a{\v hidden}b})", "ab"},
        {"font table symbols stay in the font table", R"({\rtf1{\fonttbl{\f0 A\~B\tab;}}x})", "x"},
        {"control characters dropped",
         std::string("{\\rtf1 a\x01\x00"
                     "b}",
                     12),
         "ab"},
        {"utf-8 code page", R"({\rtf1\ansi\ansicpg65001 \'d0\'96})", "Ж"},
        {"mac cyrillic", R"({\rtf1\mac\ansicpg10007 \'80\'e0})", "Аа"},
        {"windows-1250", R"({\rtf1\ansi\ansicpg1250 \'8a\'b9})", "Šą"},
        {"shift-jis pair", R"({\rtf1\ansi\ansicpg932 \'83\'5d})", "ゾ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readText(c.rtf), QString::fromUtf8(c.expected)) << c.name;
}

TEST(RtfReaderFormats, CharacterAndParagraphFormats)
{
    const std::string rtf =
        R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fnil Courier New;}{\f1\fcharset204 Arial;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        R"(\pard\qc\li567\fi-283\ri144\sb120\sa240 {\f1\fs28\b\i bold} {\ul u}{\strike s}{\cf1 r}{\highlight2 h}\par)"
        R"(\pard\qr right{\b0 \ulnone x}\par\pard\qj j\par\pard plain\par\pard\pagebb next})";
    QTextDocument document;
    RtfReader reader;
    ASSERT_TRUE(reader.read(QByteArray::fromStdString(rtf), &document));
    ASSERT_EQ(document.blockCount(), 5);

    QTextBlock block = document.begin();
    const QTextBlockFormat first = block.blockFormat();
    EXPECT_EQ(first.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.leftMargin(), 28.35);
    EXPECT_DOUBLE_EQ(first.textIndent(), -14.15);
    EXPECT_DOUBLE_EQ(first.rightMargin(), 7.2);
    EXPECT_DOUBLE_EQ(first.topMargin(), 6);
    EXPECT_DOUBLE_EQ(first.bottomMargin(), 12);

    // Character formats of the first paragraph, by position.
    const auto formatAt = [&document](int position) {
        QTextCursor cursor(&document);
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    };
    const QTextCharFormat bold = formatAt(0);
    EXPECT_EQ(bold.fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_DOUBLE_EQ(bold.fontPointSize(), 14);
    EXPECT_TRUE(bold.fontWeight() >= QFont::Bold);
    EXPECT_TRUE(bold.fontItalic());
    const QTextCharFormat space = formatAt(4);
    EXPECT_FALSE(space.fontWeight() >= QFont::Bold);
    EXPECT_EQ(space.fontFamilies().toStringList(), QStringList{"Courier New"}); // \deff0
    EXPECT_DOUBLE_EQ(space.fontPointSize(), 12);
    EXPECT_TRUE(formatAt(5).fontUnderline());
    EXPECT_TRUE(formatAt(6).fontStrikeOut());
    EXPECT_EQ(formatAt(7).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(8).background().color(), QColor(0, 0, 255));

    block = block.next();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(block.blockFormat().leftMargin(), 0); // \pard resets
    block = block.next();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    block = block.next();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(block.next().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfReaderFormats, GroupEndRestoresAndPlainResets)
{
    QTextDocument document;
    RtfReader reader;
    ASSERT_TRUE(reader.read(QByteArray(R"({\rtf1 \b a{\i b}c\plain d})"), &document));
    QTextCursor cursor(&document);
    const auto at = [&cursor](int position) {
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    };
    EXPECT_TRUE(at(1).fontItalic() && at(1).fontWeight() >= QFont::Bold);
    EXPECT_TRUE(!at(2).fontItalic() && at(2).fontWeight() >= QFont::Bold);
    EXPECT_FALSE(at(3).fontWeight() >= QFont::Bold);
}

TEST(RtfReaderInsert, InsertsAtCursorAndKeepsSurroundings)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("начало конец"));
    document.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("мой"));
    QTextCursor cursor(&document);
    cursor.setPosition(7);
    RtfReader reader;
    ASSERT_TRUE(reader.insert(
        QByteArray(R"({\rtf1\ansicpg1251{\info{\title T}}{\b \'e2\'f1\'f2\'e0\'e2\'ea\'e0 }})"),
        cursor));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("начало вставка конец"));
    EXPECT_EQ(cursor.position(), 15);
    EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("мой"));
    QTextCursor probe(&document);
    probe.setPosition(8);
    EXPECT_TRUE(probe.charFormat().fontWeight() >= QFont::Bold);
}

TEST(RtfReaderControlWords, TableIsSortedForLookup)
{
    EXPECT_TRUE(kv::rtf::controlWordTableIsSorted());
    EXPECT_EQ(kv::rtf::lookupWord("fcharset"), kv::rtf::Word::FontCharset);
    EXPECT_EQ(kv::rtf::lookupWord("zzz"), kv::rtf::Word::Unknown);
}

// Input that is not RTF, or is built to exhaust the reader.
TEST(RtfReaderHostile, ErrorsNameTheByte)
{
    const struct
    {
        const char *name;
        std::string rtf;
        ReadError error;
        std::size_t position;
    } cases[] = {
        {"empty", "", ReadError::NotRtf, 0},
        {"plain text", "hello", ReadError::NotRtf, 0},
        {"other control word first", "  {\\pard x}", ReadError::NotRtf, 3},
        {"too deep", "{\\rtf1 " + std::string(1'000'000, '{'), ReadError::TooDeep,
         7 + RtfReader::kMaxGroupDepth - 1},
    };
    for (const auto &c : cases) {
        QTextDocument document;
        RtfReader reader;
        EXPECT_FALSE(reader.read(QByteArray::fromStdString(c.rtf), &document)) << c.name;
        EXPECT_EQ(reader.error(), c.error) << c.name;
        EXPECT_EQ(reader.errorPosition(), c.position) << c.name;
        EXPECT_FALSE(reader.errorString().isEmpty()) << c.name;
    }
}

TEST(RtfReaderHostile, DamagedInputGivesBestEffortDocument)
{
    const struct
    {
        const char *name;
        std::string rtf;
        const char *text;
    } cases[] = {
        {"huge bin", "{\\rtf1 a{\\bin2147483647 xyz", "a"},
        {"bin larger than int", "{\\rtf1 a\\bin99999999999999999999 xyz}", "a"},
        {"truncated in a group", "{\\rtf1 a{\\b b", "ab"},
        {"truncated in an escape", "{\\rtf1 a\\'", "a"},
        {"truncated after backslash", "{\\rtf1 a\\", "a"},
        {"extra closing braces", "{\\rtf1 a}}}} b", "a b"},
        {"huge parameters", "{\\rtf1\\fs99999999999{\\uc99999999 x}\\u99999999 ab\\u-99999999 ?c}",
         "x\xEF\xBF\xBD"
         "b\xEF\xBF\xBD"
         "c"},
        {"deep but allowed", "{\\rtf1 " + std::string(400, '{') + "x" + std::string(400, '}') + "}",
         "x"},
    };
    for (const auto &c : cases) {
        QTextDocument document;
        RtfReader reader;
        EXPECT_TRUE(reader.read(QByteArray::fromStdString(c.rtf), &document)) << c.name;
        EXPECT_EQ(document.toPlainText(), QString::fromUtf8(c.text)) << c.name;
    }
}

TEST(RtfReaderHostile, RandomBytesNeverBreakTheReader)
{
    std::mt19937 random(12345);
    const std::string alphabet = "{}\\'*abcdefu0123456789- ;\r\n\x80\xff\x00";
    for (int round = 0; round < 300; ++round) {
        std::string rtf = "{\\rtf1";
        const int length = int(random() % 400);
        for (int i = 0; i < length; ++i)
            rtf.push_back(round % 2 ? char(random() % 256) : alphabet[random() % alphabet.size()]);
        QTextDocument document;
        RtfReader reader;
        reader.read(QByteArray::fromStdString(rtf), &document);
        EXPECT_TRUE(QStringView(document.toPlainText()).isValidUtf16());
    }
}

TEST(RtfReaderFile, MissingFileIsNamed)
{
    QTextDocument document;
    RtfReader reader;
    EXPECT_FALSE(reader.readFile(QStringLiteral("/nonexistent/шаблон.rtf"), &document));
    EXPECT_EQ(reader.error(), ReadError::FileError);
    EXPECT_TRUE(reader.errorString().contains(QStringLiteral("шаблон.rtf")));
}

} // namespace
