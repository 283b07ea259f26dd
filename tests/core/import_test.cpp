#include "core/base/BaseTables.h"
#include "core/import/Imports.h"
#include "core/import/TextList.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using kv::store::Table;

namespace {

class ImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::base::createMissingBaseTables(dir.path());
        questions.setFileName(dir.filePath(kv::base::kQuestionsFile).toStdString());
        groups.setFileName(dir.filePath(kv::base::kGroupsFile).toStdString());
        questions.open();
        groups.open();
    }

    void addQuestion(std::int64_t npor, std::int64_t group)
    {
        questions.append();
        questions.setIntegerField("NPOR", npor);
        questions.setIntegerField("NGRUPPY", group);
        questions.post();
    }

    void addGroup(std::int64_t number)
    {
        groups.append();
        groups.setIntegerField("NGRUPPY", number);
        groups.setTextField("NAMEGRUPPA", "g");
        groups.post();
    }

    // "NPOR/NGRUPPY/VOPRMEMO" of every question from the first imported on.
    std::vector<std::string> rows(Table &t, int from, const char *a, const char *b, const char *c)
    {
        std::vector<std::string> out;
        t.first();
        for (int i = 0; i < t.recordCount(); ++i, t.next())
            if (i >= from)
                out.push_back(std::to_string(t.integerField(a).value_or(-1)) + "/" +
                              std::to_string(t.integerField(b).value_or(-1)) + "/" +
                              t.textField(c));
        return out;
    }

    QTemporaryDir dir;
    Table questions, groups;
};

const std::vector<std::string> kExampleLines = {"Q1", "Q2", "", "Q3", "", "", "Q4"};

} // namespace

TEST_F(ImportTest, QuestionsContinueTheLastGroupAndBlankLinesAdvanceIt)
{
    addQuestion(10, 3);
    const auto r = kv::import::importQuestions(questions, kExampleLines, {});
    EXPECT_EQ(r.imported, 4);
    EXPECT_EQ(rows(questions, 1, "NPOR", "NGRUPPY", "VOPRMEMO"),
              (std::vector<std::string>{"11/3/Q1", "12/3/Q2", "13/4/Q3", "14/6/Q4"}));
    questions.last();
    EXPECT_EQ(questions.textField("VOPROS"), "Q4");
}

TEST_F(ImportTest, AssignedGroupAdvancesTheGroupField)
{
    addQuestion(10, 3);
    const auto r = kv::import::importQuestions(questions, kExampleLines, {true, "7"});
    EXPECT_EQ(rows(questions, 1, "NPOR", "NGRUPPY", "VOPRMEMO"),
              (std::vector<std::string>{"11/7/Q1", "12/7/Q2", "13/8/Q3", "14/10/Q4"}));
    EXPECT_EQ(r.groupText, "10");
}

TEST_F(ImportTest, EmptyBaseAndEmptyGroupField)
{
    auto r = kv::import::importQuestions(questions, {"A", " \t ", "B"}, {true, " "});
    EXPECT_EQ(rows(questions, 0, "NPOR", "NGRUPPY", "VOPRMEMO"),
              (std::vector<std::string>{"1/1/A", "2/2/B"}));
    EXPECT_EQ(r.groupText, "2");
    r = kv::import::importQuestions(questions, {}, {});
    EXPECT_EQ(r.imported, 0);
    EXPECT_THROW(kv::import::importQuestions(questions, {"", "x"}, {true, "1a"}),
                 std::runtime_error);
}

TEST_F(ImportTest, LinesAreStoredUntrimmedAndCut)
{
    const std::string longLine(300, 'x');
    const std::string exact(254, 'y');
    kv::import::importQuestions(questions, {"  lead \xB6 mark", longLine, exact}, {});
    questions.first();
    EXPECT_EQ(questions.textField("VOPRMEMO"), "  lead \xB6 mark");
    questions.next();
    EXPECT_EQ(questions.textField("VOPROS"), std::string(251, 'x') + "...");
    EXPECT_EQ(questions.textField("VOPRMEMO"), std::string(251, 'x') + "...");
    questions.next();
    EXPECT_EQ(questions.textField("VOPRMEMO"), exact);
}

TEST_F(ImportTest, GroupNamesNumberOnFromTheLastGroup)
{
    for (int g = 1; g <= 5; ++g)
        addGroup(g);
    const auto r =
        kv::import::importGroupNames(groups, {"\xC0\xEB\xE3\xE5\xE1\xF0\xE0", "",
                                              "\xC3\xE5\xEE\xEC\xE5\xF2\xF0\xE8\xFF", "   "});
    EXPECT_EQ(r.imported, 2);
    groups.last();
    EXPECT_EQ(groups.integerField("NGRUPPY"), 7);
    EXPECT_EQ(groups.textField("NAMEGRUPPA"), "\xC3\xE5\xEE\xEC\xE5\xF2\xF0\xE8\xFF"); // Геометрия
    groups.prior();
    EXPECT_EQ(groups.integerField("NGRUPPY"), 6);
}

TEST_F(ImportTest, GroupNumbersFollowTheLastGroupEvenWhenLower)
{
    addGroup(12);
    addGroup(9);
    kv::import::importGroupNames(groups, {"a", "b", "c"});
    std::vector<std::int64_t> numbers;
    groups.first();
    for (int i = 0; i < groups.recordCount(); ++i, groups.next())
        numbers.push_back(*groups.integerField("NGRUPPY"));
    EXPECT_EQ(numbers, (std::vector<std::int64_t>{12, 9, 10, 11, 12}));
}

struct ListCase
{
    const char *name;
    QByteArray bytes;
};

class TextListFiles : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(TextListFiles, DecodeToTheSameLines)
{
    const auto lines = kv::import::linesOf(kv::import::decodeTextList(GetParam().bytes));
    EXPECT_EQ(lines, (std::vector<std::string>{"\xC0\xE1", "", "x"})) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, TextListFiles,
    ::testing::Values(
        ListCase{"cp1251_crlf", QByteArray("\xC0\xE1\r\n\r\nx\r\n")},
        ListCase{"cp1251_lf", QByteArray("\xC0\xE1\n\nx")},
        ListCase{"cp1251_cr", QByteArray("\xC0\xE1\r\rx\r")},
        ListCase{"utf8_bom", QByteArray("\xEF\xBB\xBF\xD0\x90\xD0\xB1\r\n\r\nx")},
        ListCase{"utf16le_bom", QByteArray("\xFF\xFE\x10\x04\x31\x04\n\0\n\0x\0", 12)},
        ListCase{"utf16be_bom", QByteArray("\xFE\xFF\x04\x10\x04\x31\0\n\0\n\0x", 12)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TextList, UnconvertibleCharactersAreReportedAndFilesWrittenInCp1251)
{
    QString bad;
    const auto lines = kv::import::linesOf(QStringLiteral("α ≤ β\nok"), &bad);
    EXPECT_EQ(bad, QStringLiteral("α≤β"));
    EXPECT_EQ(lines.size(), 2u);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    kv::import::writeTextListFile(path, QStringLiteral("Аб\n\nx"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xC0\xE1\r\n\r\nx\r\n"));
    EXPECT_THROW(kv::import::writeTextListFile(dir.filePath("no/such/list.txt"), "x"),
                 std::runtime_error);
    EXPECT_THROW(kv::import::readTextListFile(dir.filePath("missing.txt")), std::runtime_error);
}
