#include "BaseFileTestSupport.h"

#include "core/basefile/BaseText.h"
#include "platform/text/TextHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace kv::basefile;
using namespace kv::basefile::support;

namespace {

std::string readOk(const std::string &bytes)
{
    BaseTextReader reader;
    EXPECT_TRUE(reader.read(bytes)) << reader.errorString().toStdString();
    return dump(reader.data());
}

} // namespace

TEST(BaseText, WorkedExampleReadsAndWritesBackByteForByte)
{
    const std::string file = readDataFile("basefile_example.txb");
    ASSERT_FALSE(file.empty());
    BaseTextReader reader;
    ASSERT_TRUE(reader.read(file));
    EXPECT_EQ(dump(reader.data()), kExampleDump);
    EXPECT_EQ(writeBaseText(reader.data()), file);
}

TEST(BaseText, SameContentInOtherEncodingsAndLineEndsReadsTheSame)
{
    const std::string file = readDataFile("basefile_example.txb");
    const QString unicode = kv::text::fromCp1251(file);
    std::string lf = file, cr = file;
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    const std::string utf8 = "\xEF\xBB\xBF" + unicode.toUtf8().toStdString();
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (const QChar c : unicode) {
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        const char hi = static_cast<char>(c.unicode() >> 8);
        utf16le += {lo, hi};
        utf16be += {hi, lo};
    }
    std::string noFinalLineEnd = file.substr(0, file.size() - 2);
    for (const std::string &variant : {lf, cr, utf8, utf16le, utf16be, noFinalLineEnd})
        EXPECT_EQ(readOk(variant), kExampleDump);
}

struct ReaderCase
{
    const char *name;
    const char *file; // UTF-8; converted to Windows-1251
    const char *expected;
};

class BaseTextReading : public ::testing::TestWithParam<ReaderCase>
{
};

TEST_P(BaseTextReading, GivesTheBase)
{
    EXPECT_EQ(readOk(cp(GetParam().file)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BaseTextReading,
    ::testing::Values(
        ReaderCase{"EmptyBase", "\r\n\r\n", ""}, ReaderCase{"EmptyFile", "", ""},
        ReaderCase{"NoTickets", "А\r\n\r\n1¤x\r\n\r\n", "g1=А; q1/1=x"},
        ReaderCase{"BlankGroupNameIsAGroup", "А\r\n   \r\nБ\r\n\r\n", "g1=А; g2=   ; g3=Б"},
        ReaderCase{"BlankLineClosesQuestions", "А\r\n\r\n1¤x\r\n \t \r\n1¤2¤1¤1¤x\r\n",
                   "g1=А; q1/1=x; t1,2,1,1=x"},
        ReaderCase{"ThreeLineQuestion", "А\r\n\r\n1¤раз¶два¶три\r\n", "g1=А; q1/1=раз|два|три"},
        ReaderCase{"SeparatorInsideText", "\r\n1¤a¤b\r\n\r\n1¤2¤3¤4¤c¤d\r\n",
                   "q1/1=a¤b; t1,2,3,4=c¤d"},
        ReaderCase{"EmptyTexts", "\r\n7¤\r\n\r\n1¤1¤1¤1¤\r\n", "q1/7=; t1,1,1,1="},
        ReaderCase{"NumbersWithBlanksAndSigns",
                   "\r\n 3¤a\r\n\t-2¤b\r\n+04¤c\r\n\r\n -1¤ 2¤+3¤  4¤t\r\n",
                   "q1/3=a; q2/-2=b; q3/4=c; t-1,2,3,4=t"},
        ReaderCase{"FileOrderNumbersGroupsAndQuestions",
                   "А\r\nБ\r\nВ\r\n\r\n5¤a\r\n5¤b\r\n1¤c\r\n\r\n1¤1¤4¤5¤b\r\n",
                   "g1=А; g2=Б; g3=В; q1/5=a; q2/5=b; q3/1=c; t1,1,4,5=b"},
        ReaderCase{"NoEmptyLineMeansOnlyGroups", "А\r\n1¤x\r\n1¤1¤1¤1¤x\r\n",
                   "g1=А; g2=1¤x; g3=1¤1¤1¤1¤x"},
        ReaderCase{"LinesAfterTicketsAreIgnored", "\r\n\r\n1¤1¤1¤1¤x\r\n\r\nмусор\r\n1¤x\r\n",
                   "t1,1,1,1=x"},
        ReaderCase{"MixedLineEnds", "А\nБ\rВ\r\n\n1¤x\r2¤y\n\r1¤1¤1¤1¤z",
                   "g1=А; g2=Б; g3=В; q1/1=x; q2/2=y; t1,1,1,1=z"}),
    [](const auto &info) { return std::string(info.param.name); });

struct BadLine
{
    const char *name;
    const char *file;
    const char *error;
};

class BaseTextBadLine : public ::testing::TestWithParam<BadLine>
{
};

TEST_P(BaseTextBadLine, StopsTheWholeReadAndNamesTheLine)
{
    BaseTextReader reader;
    EXPECT_FALSE(reader.read(cp(GetParam().file)));
    EXPECT_EQ(reader.errorString().toStdString(), GetParam().error);
    EXPECT_EQ(reader.data(), BaseData());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BaseTextBadLine,
    ::testing::Values(
        BadLine{"BlankAfterNumber", "А\r\n\r\n1¤a\r\n3 ¤x\r\n",
                "строка 4: номер группы не является целым числом"},
        BadLine{"LetterAsNumber", "А\r\n\r\nx¤a\r\n",
                "строка 3: номер группы не является целым числом"},
        BadLine{"EmptyNumber", "\r\n¤a\r\n", "строка 2: номер группы не является целым числом"},
        BadLine{"SignOnly", "\r\n-¤a\r\n", "строка 2: номер группы не является целым числом"},
        BadLine{"QuestionWithoutSeparator", "А\r\nБ\r\n\r\n1¤a\r\nтекст\r\n",
                "строка 5: нет разделителя"},
        BadLine{"TicketWithThreeSeparators", "\r\n\r\n1¤2¤3¤текст\r\n",
                "строка 3: в строке билета меньше четырёх разделителей"},
        BadLine{"TicketPositionNotANumber", "\r\n\r\n1¤1¤1¤1¤a\r\n1¤б¤3¤4¤a\r\n",
                "строка 4: номер вопроса в билете не является целым числом"},
        BadLine{"TicketNumberBeyondItsField", "\r\n\r\n32768¤1¤1¤1¤a\r\n",
                "строка 3: номер билета вне допустимых пределов (от -32768 до 32767)"},
        BadLine{"GroupNumberBeyondItsField", "\r\n99999999999999999999999¤a\r\n",
                "строка 2: номер группы вне допустимых пределов (от -2147483648 до 2147483647)"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BaseText, LongLinesAreReadWhole)
{
    const std::string text(20000, 'x');
    BaseTextReader reader;
    ASSERT_TRUE(reader.read(cp("А\r\n\r\n1¤") + text + cp("\r\n\r\n1¤1¤1¤1¤") + text));
    ASSERT_EQ(reader.data().questions.size(), 1u);
    EXPECT_EQ(reader.data().questions[0].fullText, text);
    EXPECT_EQ(reader.data().tickets.at(0).fullText, text);
}

TEST(BaseText, WritesEmptyBasesAndEmptyGroupNames)
{
    EXPECT_EQ(writeBaseText({}), "\r\n\r\n");
    BaseData base;
    base.groups = {{1, cp("А")}, {2, ""}};
    base.questions = {{1, 2, "x"}};
    EXPECT_EQ(writeBaseText(base), cp("А\r\n   \r\n\r\n2¤x\r\n\r\n"));
}

// What the plain layout cannot carry is escaped, and every record stays on
// one line.
TEST(BaseText, AwkwardTextsStayOnOneLineAndReadBack)
{
    struct Case
    {
        std::string text, line;
    };
    const Case fullTexts[] = {
        {cp("a\r\nb"), cp("a¶b")},      {cp("знак ¶ абзаца"), cp("знак \x10¶ абзаца")},
        {"a\rb\nc", "a\x10rb\x10nc"},   {"a\x10r", "a\x10\x10r"},
        {"\n\r\n\r", "\x10n\xB6\x10r"},
    };
    for (const Case &c : fullTexts) {
        EXPECT_EQ(encodeFullText(c.text), c.line);
        EXPECT_EQ(decodeFullText(c.line), c.text);
    }
    const Case names[] = {
        {cp("Алгебра\r\nГеометрия"), cp("Алгебра\x10r\x10nГеометрия")},
        {cp("Алгебра¶Геометрия"), cp("Алгебра¶Геометрия")},
        {"\x10", "\x10\x10"},
    };
    for (const Case &c : names) {
        EXPECT_EQ(encodeGroupName(c.text), c.line);
        EXPECT_EQ(decodeGroupName(c.line), c.text);
    }

    BaseData base;
    base.groups = {{1, cp("две\r\nстроки")}};
    base.questions = {{1, 1, cp("¶\r\n\n\r\x10")}};
    base.tickets = {{1, 1, 1, 1, cp("\r¶")}};
    const std::string file = writeBaseText(base);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 5);
    BaseTextReader reader;
    ASSERT_TRUE(reader.read(file));
    EXPECT_EQ(reader.data(), base);
}

// Files without escape pairs read exactly as the plain line-break rule says.
TEST(BaseText, TextsWithoutEscapesDecodeAsPlainLineBreaks)
{
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string field(random() % 40, ' ');
        for (char &c : field) {
            do
                c = static_cast<char>(random() % 256);
            while (c == '\r' || c == '\n' || c == kEscapeByte);
        }
        ASSERT_EQ(decodeFullText(field), kv::text::ConvertLineBreaks(field));
        ASSERT_EQ(decodeGroupName(field), field);
    }
}

TEST(BaseText, RandomBaseRoundTrips)
{
    std::mt19937 random(2024);
    const std::string alphabet =
        cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗ xyz019.,;:?!¤¶") + "\r\n\x10\t";
    auto randomText = [&](std::size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char &c : s)
            c = alphabet[random() % alphabet.size()];
        return s;
    };
    BaseData base;
    for (int g = 1; g <= 12; ++g)
        base.groups.push_back({g, "Г" + randomText(30)});
    for (int q = 1; q <= 400; ++q)
        base.questions.push_back({q, static_cast<std::int64_t>(random() % 15) - 1,
                                  randomText(q % 50 == 0 ? 6000 : 300)});
    for (int t = 1; t <= 30; ++t)
        for (int k = 1; k <= 5; ++k) {
            const auto &q = base.questions[random() % base.questions.size()];
            base.tickets.push_back({t, k, q.number, q.group, q.fullText});
        }
    const std::string file = writeBaseText(base);
    BaseTextReader reader;
    ASSERT_TRUE(reader.read(file)) << reader.errorString().toStdString();
    EXPECT_EQ(reader.data(), base);
    EXPECT_EQ(writeBaseText(reader.data()), file);
}
