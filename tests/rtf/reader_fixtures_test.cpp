// Real documents from many word processors and the ticket templates: each
// must read without error and give its characteristic text.
#include "common/FixtureFiles.h"
#include "platform/rtf/RtfReader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FixtureCase
{
    std::string file;
    std::vector<const char *> phrases; // UTF-8, each must occur
    const char *absent = nullptr;      // must not occur
};

void PrintTo(const FixtureCase &c, std::ostream *os)
{
    *os << c.file;
}

class RealDocuments : public ::testing::TestWithParam<FixtureCase>
{
};

TEST_P(RealDocuments, ReadWithTextIntact)
{
    const FixtureCase &c = GetParam();
    QTextDocument document;
    kv::rtf::RtfReader reader;
    ASSERT_TRUE(reader.readFile(
        QStringLiteral(KV_FIXTURES_DIR "/") + QString::fromStdString(c.file), &document))
        << reader.errorString().toStdString();
    const QString text = document.toPlainText();
    EXPECT_TRUE(QStringView(text).isValidUtf16());
    for (const char *phrase : c.phrases) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase)))
            << "missing \"" << phrase << "\" in:\n"
            << text.left(2000).toStdString();
    }
    if (c.absent) {
        EXPECT_FALSE(text.contains(QString::fromUtf8(c.absent))) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, RealDocuments,
    ::testing::Values(
        FixtureCase{"rtf-real/abiword_corner_cases.rtf",
                    {"Heading Text - make sure we don't open a section in a table!"},
                    "abicellprops"},
        FixtureCase{"rtf-real/abiword_hello_world.rtf", {"Hello World!"}},
        FixtureCase{"rtf-real/cocoa_maccyrillic_10007.rtf", {"Комманда разработчиков"}},
        FixtureCase{"rtf-real/cp1251_nested_tables.rtf", {"У Х В А Л А"}},
        FixtureCase{"rtf-real/edge_bin_brace_in_pict.rtf", {"\t\t\t"}, "\xC3\xBF"},
        FixtureCase{"rtf-real/edge_bin_png.rtf", {}, "PNG"},
        FixtureCase{"rtf-real/edge_extra_close_brace.rtf", {"Hello world in {RTF}…"}},
        FixtureCase{"rtf-real/edge_invalid_hex.rtf", {"xřx"}},
        FixtureCase{"rtf-real/edge_invalid_surrogates.rtf",
                    {"Unpaired hi \xEF\xBF\xBD here", "Unpaired lo \xEF\xBF\xBD here"}},
        FixtureCase{"rtf-real/edge_nested_rtf1.rtf",
                    {"This is level1 paragraph", "This is level2 paragraph."}},
        FixtureCase{"rtf-real/edge_truncated.rtf", {"Hello world in {RTF}…"}},
        FixtureCase{"rtf-real/googledocs_line_breaks.rtf", {"Asdf\nAsdf\nAsdf"}},
        FixtureCase{"rtf-real/googledocs_list.rtf", {"Bullet 2", "Item 2"}},
        FixtureCase{"rtf-real/libreoffice6_table.rtf", {"Coronararterie\tCalcium-Score"}},
        FixtureCase{"rtf-real/libreoffice_bin_skipping.rtf", {"text"}, "MUST NOT IMPORT"},
        FixtureCase{"rtf-real/libreoffice_list.rtf", {"A short unordered list:", "three"}},
        FixtureCase{"rtf-real/msftedit_multiscript_fcharset204.rtf",
                    {"Česká republika", "中国", "Արամ", "Johann Strauß", "ᓄᓇᕗᒻᒥᐅᑦ"}},
        FixtureCase{"rtf-real/openoffice_u_cyrillic_char.rtf", {"Ӥ"}, "?"},
        FixtureCase{"rtf-real/outlook_fromhtml_cp65001.rtf", {"Enviada do meu iPhone"}, "<"},
        FixtureCase{"rtf-real/pages_table.rtf", {"Header A\tHeader B\tHeader C", "A3\tB3\tC3"}},
        FixtureCase{
            "rtf-real/phprtflite_sections_headers.rtf",
            {"Sample RTF document", "For example, \\u1576? would give the Arabic letter beh"}},
        FixtureCase{"rtf-real/phprtflite_uc0_cyrillic.rtf",
                    {"русский техт", "Lietuviškos raidės ąčęėįšųūž", "le code à côté de"}},
        FixtureCase{"rtf-real/richedit_cp1251_ukrainian.rtf",
                    {"УХВАЛА", "м. Київ", "справа №", "ВСТАНОВИВ:"}},
        FixtureCase{"rtf-real/ted_rtf0_hello.rtf", {"hello world"}},
        FixtureCase{"rtf-real/textedit_fcharset_switch.rtf", {"เ", "ü"}, "à"},
        FixtureCase{
            "rtf-real/textedit_hyperlink.rtf", {"Second one is: github (real)"}, "HYPERLINK"},
        FixtureCase{"rtf-real/textedit_line_breaks.rtf", {"A\nB\nC"}},
        FixtureCase{"rtf-real/txtextcontrol_basic.rtf", {"≤", "≥", "β", "Ⅷ"}},
        FixtureCase{"rtf-real/word2002_cp1251_russian_styles.rtf",
                    {"{ some text inside curly brackets }"},
                    "Заголовок"},
        FixtureCase{"rtf-real/word2003_table_list_footnote.rtf",
                    {"Cell 1\tCell 2", "And here we’re on the next page."}},
        FixtureCase{"rtf-real/word2007_cp1250_unbalanced.rtf",
                    {"Proszę o zapoznanie się z poniższą klauzulą informacyjną."}},
        FixtureCase{"rtf-real/word2007_cp936_uc2.rtf", {"测试"}},
        FixtureCase{"rtf-real/word2007_hyperlinks.rtf", {"Include www link http://www.cnn.com/"}},
        FixtureCase{"rtf-real/word2007_nested_table.rtf", {"geschätztes", "keine Stenose"}},
        FixtureCase{"rtf-real/word2007_various.rtf", {"ゾルゲと尾崎、淡々と最期", "𐌲𐌿𐍄𐌹𐍃𐌺"}},
        FixtureCase{"rtf-real/word2007_wmf_table_headers.rtf",
                    {"Example text to extract from RTF."}},
        FixtureCase{"rtf-real/word_uc2_fallback.rtf", {"0 年 abc"}, "00"},
        FixtureCase{"rtf-real/wordmac_headers_footers.rtf", {"Body Text page 3"}},
        FixtureCase{"rtf-real/wordpad_riched20_list.rtf", {"Paragraph 2", "List 2"}},
        FixtureCase{"rtf-real/wordpad_surrogate_pair.rtf", {"Iñtërnâtiônàlizætiøn☃💩"}},
        FixtureCase{kv::test::exampleTemplate("abiword"),
                    {"#NBILETA#Билет № %NBILETA%\n#NGRUPPY#%NAMEGRUPPA%\n"
                     "#NVOPROSA#%NVOPROSAGRUPPY%. %VOPRMEMO%\n#&NGRUPPY# \n#&NBILETA#"}},
        FixtureCase{kv::test::exampleTemplate("libreoffice"),
                    {"#NBILETA#Билет № %NBILETA%\n#NGRUPPY#%NAMEGRUPPA%\n"
                     "#NVOPROSA#%NVOPROSAGRUPPY%. %VOPRMEMO%\n#&NGRUPPY# \n#&NBILETA#"}},
        FixtureCase{kv::test::exampleTemplate("pandoc"),
                    {"#NBILETA#Билет № %NBILETA%\n#NGRUPPY#%NAMEGRUPPA%\n"
                     "#NVOPROSA#%NVOPROSAGRUPPY%. %VOPRMEMO%\n#&NGRUPPY#\n#&NBILETA#"}},
        FixtureCase{"templates/wordpad-cp1251.rtf",
                    {"#NBILETA#Экзаменационный билет № %NBILETA%\n"
                     "#NBILETA#по дисциплине «Математика»\n#NBILETA# \n"
                     "#NGRUPPY#Раздел: %NAMEGRUPPA%\n#NVOPROSA#%NVOPROSA%. %VOPRMEMO%\n"
                     "#&NBILETA# \n#&NBILETA#Заведующий кафедрой ____________\n"
                     "Строки без меток не выводятся."}},
        FixtureCase{"templates/word2003-page-settings.rtf",
                    {"#NBILETA#БИЛЕТ № %NBILETA%\n#NBILETA# \n"
                     "#NVOPROSA#%NVOPROSA%.\t%VOPRMEMO% [%NAMEGRUPPA%, №%NPOR%]\n"
                     "#&NBILETA# \n#&NBILETA#Экзаменатор ________"}}));

// The Russian text of this file is only in its information block: the title
// comes out as the document's title.
TEST(RealDocuments, TitleFromInformationBlock)
{
    QTextDocument document;
    kv::rtf::RtfReader reader;
    ASSERT_TRUE(reader.readFile(
        QStringLiteral(KV_FIXTURES_DIR "/rtf-real/word2002_cp1251_russian_styles.rtf"), &document));
    EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Методика"));
}

// Damage is repaired and reported; an intact document is not flagged.
TEST(RealDocuments, RepairsAreReported)
{
    const struct
    {
        const char *file;
        bool repaired;
    } cases[] = {
        {"edge_extra_close_brace.rtf", true},
        {"edge_truncated.rtf", true},
        {"word2007_cp1250_unbalanced.rtf", true},
        {"richedit_cp1251_ukrainian.rtf", false},
        {"msftedit_multiscript_fcharset204.rtf", false}, // trailing NUL byte is not damage
    };
    for (const auto &c : cases) {
        QTextDocument document;
        kv::rtf::RtfReader reader;
        ASSERT_TRUE(
            reader.readFile(QStringLiteral(KV_FIXTURES_DIR "/rtf-real/") + c.file, &document));
        EXPECT_EQ(reader.wasRepaired(), c.repaired) << c.file;
    }
}

} // namespace
