#include "BaseFileTestSupport.h"

#include "core/base/BaseTables.h"
#include "core/basefile/BaseFile.h"
#include "core/basefile/BaseText.h"
#include "core/basefile/BaseTransfer.h"
#include "platform/store/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::basefile;
using namespace kv::basefile::support;
using kv::store::Table;

namespace {

class BaseTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        kv::base::createMissingBaseTables(dir.path());
    }

    QString folder() const { return dir.path(); }
    QString file(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    void put(const QString &path, const std::string &bytes)
    {
        ASSERT_TRUE(replaceFile(path, bytes, nullptr));
    }

    BaseData stored()
    {
        BaseData base;
        QString error;
        EXPECT_TRUE(collectBaseData(folder(), base, &error)) << error.toStdString();
        return base;
    }

    std::unique_ptr<Table> view(const char *table)
    {
        auto t = std::make_unique<Table>();
        t->setFileName(kv::base::tablePath(folder(), table));
        t->open();
        return t;
    }

    QTemporaryDir dir;
};

BaseData someBase(int questions)
{
    BaseData base;
    base.groups = {{1, cp("Первая")}, {2, cp("Вторая")}};
    for (int i = 1; i <= questions; ++i)
        base.questions.push_back({i, 1 + i % 2, cp("Вопрос ") + std::to_string(i)});
    base.tickets = {{1, 1, 2, 1, cp("Вопрос 2")}, {2, 1, 3, 2, cp("Вопрос 3")}};
    return base;
}

} // namespace

TEST_F(BaseTransferTest, LoadsTheWorkedExampleAndSavesItBackByteForByte)
{
    const std::string example = readDataFile("basefile_example.txb");
    put(file("пример.txb"), example);
    QString error;
    ASSERT_TRUE(loadBaseFile(folder(), file("пример.txb"), &error)) << error.toStdString();
    EXPECT_EQ(dump(stored()), kExampleDump);

    auto questions = view(kv::base::kQuestionsFile);
    questions->moveTo(1);
    EXPECT_EQ(questions->textField("VOPROS"), cp("Решите: x + 1 = 2"));
    EXPECT_EQ(questions->textField("VOPRMEMO"), cp("Решите:\r\nx + 1 = 2"));
    EXPECT_EQ(questions->integerField("SLOGNOST"), 0);
    EXPECT_EQ(questions->integerField("VAGNOST"), 0);
    auto tickets = view(kv::base::kTicketsFile);
    tickets->moveTo(0);
    EXPECT_EQ(tickets->textField("VOPROS"), cp("Решите: x + 1 = 2"));
    EXPECT_TRUE(tickets->isNull("SLOGNOST"));
    EXPECT_TRUE(tickets->isNull("VAGNOST"));
    questions.reset();
    tickets.reset();

    ASSERT_TRUE(saveBaseFile(folder(), file("копия.txb"), &error)) << error.toStdString();
    std::string copy;
    ASSERT_TRUE(readWholeFile(file("копия.txb"), copy, nullptr));
    EXPECT_EQ(copy, example);
}

TEST_F(BaseTransferTest, OneLineFormsAndEmptyGroupNamesAsTheTablesKeepThem)
{
    const std::string longText(300, 'x');
    const std::string exact(254, 'y');
    put(file("b.txb"), cp("   \r\n\r\n1¤") + longText + cp("\r\n1¤") + exact + "\r\n");
    QString error;
    ASSERT_TRUE(loadBaseFile(folder(), file("b.txb"), &error)) << error.toStdString();
    auto questions = view(kv::base::kQuestionsFile);
    EXPECT_EQ(questions->textAt(0, questions->fieldIndex("VOPROS")), std::string(251, 'x') + "...");
    EXPECT_EQ(questions->textAt(0, questions->fieldIndex("VOPRMEMO")), longText);
    EXPECT_EQ(questions->textAt(1, questions->fieldIndex("VOPROS")), exact);
    EXPECT_EQ(stored().groups, (std::vector<BaseGroup>{{1, ""}}));
}

TEST_F(BaseTransferTest, BadFileLeavesTheTablesAndAGoodOneReplacesThemWhole)
{
    QString error;
    ASSERT_TRUE(replaceBaseTables(folder(), someBase(50), &error)) << error.toStdString();
    const BaseData before = stored();
    ASSERT_EQ(before.questions.size(), 50u);

    put(file("плохой.txb"), cp("А\r\n\r\n1¤a\r\n2¤b\r\n\r\n1¤1¤1¤x¤a\r\n"));
    EXPECT_FALSE(loadBaseFile(folder(), file("плохой.txb"), &error));
    EXPECT_NE(error.indexOf(QStringLiteral("строка 6: номер группы не является целым числом")), -1)
        << error.toStdString();
    EXPECT_EQ(stored(), before);

    put(file("пример.txb"), readDataFile("basefile_example.txb"));
    ASSERT_TRUE(loadBaseFile(folder(), file("пример.txb"), &error)) << error.toStdString();
    EXPECT_EQ(dump(stored()), kExampleDump);
}

TEST_F(BaseTransferTest, ReplacementIsAllOrNothing)
{
    QString error;
    ASSERT_TRUE(replaceBaseTables(folder(), someBase(5), &error));
    const BaseData before = stored();

    // The questions and groups would fit; the ticket number does not fit
    // its field, and the tickets table is written last.
    BaseData tooWide = someBase(8);
    tooWide.tickets.push_back({1000000, 1, 1, 1, "x"});
    EXPECT_FALSE(replaceBaseTables(folder(), tooWide, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(stored(), before);

    // Another view holding a table keeps every table as it is.
    {
        auto groups = view(kv::base::kGroupsFile);
        EXPECT_FALSE(replaceBaseTables(folder(), someBase(8), &error));
        EXPECT_NE(error.indexOf(QStringLiteral("занята")), -1) << error.toStdString();
    }
    EXPECT_EQ(stored(), before);
    QStringList leftovers = QDir(folder() + "/Sys").entryList({"*.kvtmp"}, QDir::Files);
    EXPECT_TRUE(leftovers.isEmpty());
}

TEST_F(BaseTransferTest, CollectingWalksAllTicketsAndLeavesTheTicketViewAsItWas)
{
    BaseData base = someBase(4);
    base.tickets = {{1, 1, 1, 1, "a"}, {2, 1, 2, 2, "b"}, {2, 2, 3, 1, "c"}, {3, 1, 4, 2, "d"}};
    QString error;
    ASSERT_TRUE(replaceBaseTables(folder(), base, &error));

    auto questions = view(kv::base::kQuestionsFile);
    auto groups = view(kv::base::kGroupsFile);
    auto tickets = view(kv::base::kTicketsFile);
    tickets->setFilter("NBILETA=2");
    tickets->setFiltered(true);
    tickets->moveTo(1);
    questions->moveTo(3);

    BaseData collected;
    ASSERT_TRUE(collectBaseData(*questions, *groups, *tickets, collected, &error));
    EXPECT_EQ(collected, base);
    EXPECT_TRUE(tickets->filtered());
    EXPECT_EQ(tickets->recordCount(), 2);
    EXPECT_EQ(tickets->currentRow(), 1);
    EXPECT_EQ(tickets->textField("VOPRMEMO"), "c");
    EXPECT_EQ(questions->currentRow(), 3);
}
