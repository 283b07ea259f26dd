// A character that the text model reserves for embedded objects must not
// reach the document as text: it would not be written back.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QTextDocument>

#include <gtest/gtest.h>

TEST(RtfReaderObjectMark, ReadsAsAReplacementCharacterAndSurvivesWriting)
{
    // \u-4 is U+FFFC; also as \u65532 and inside a hidden-free run of text.
    for (const char *rtf : {"{\\rtf1\\ansi a\\u-4?b}", "{\\rtf1\\ansi a\\u65532?b}",
                            "{\\rtf1\\ansi\\uc2 a\\u-4\\'c1\\'c1b}"}) {
        QTextDocument document;
        kv::rtf::RtfReader reader;
        ASSERT_TRUE(reader.read(QByteArray(rtf), &document)) << rtf;
        EXPECT_EQ(document.toRawText(), QStringLiteral(u"a\uFFFDb")) << rtf;

        QTextDocument again;
        ASSERT_TRUE(reader.read(kv::rtf::writeRtf(document), &again)) << rtf;
        EXPECT_EQ(again.toRawText(), document.toRawText()) << rtf;
    }
}
