// Creating the program's tables in a fresh folder and the start-up folder check.
#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::base;

namespace {

TEST(BaseTablesTest, CreatesMissingTablesAndNeverTouchesExistingOnes)
{
    QTemporaryDir dir;
    QString why;
    EXPECT_FALSE(canWorkInFolder(dir.path(), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("Не найдена папка")));

    EXPECT_EQ(createMissingBaseTables(dir.path()),
              (std::vector<std::string>{kQuestionsFile, kGroupsFile, kTicketsFile}));
    EXPECT_TRUE(QDir(dir.filePath("Base")).exists());
    EXPECT_TRUE(canWorkInFolder(dir.path(), &why));
    EXPECT_TRUE(why.isEmpty());

    // The ticket table: its fields in order, 16-bit numbers in 6 characters.
    kv::store::Table tickets;
    tickets.setFileName(tablePath(dir.path(), kTicketsFile));
    tickets.open();
    std::vector<std::string> names;
    for (const auto &f : tickets.fields())
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"NBILETA", "NVOPROSA", "NPOR", "NGRUPPY", "SLOGNOST",
                                               "VAGNOST", "VOPROS", "VOPRMEMO"}));
    tickets.append();
    tickets.setIntegerField("NBILETA", -32768);
    EXPECT_THROW(tickets.setIntegerField("NPOR", 1234567), kv::store::StoreError);
    tickets.post();
    tickets.close();

    // A groups table copied in another letter case counts as present.
    QFile::rename(dir.filePath("Sys/Gruppy.dbf"), dir.filePath("Sys/GRUPPY.DBF"));
    EXPECT_EQ(createMissingBaseTables(dir.path()), std::vector<std::string>{});
    tickets.open();
    EXPECT_EQ(tickets.recordCount(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("Sys/Gruppy.dbf")));

    kv::store::Table questions;
    questions.setFileName(tablePath(dir.path(), kQuestionsFile));
    questions.open();
    for (const char *field : {"NPOR", "NGRUPPY", "VOPROS", "VOPRMEMO", "SLOGNOST", "VAGNOST"})
        EXPECT_GE(questions.fieldIndex(field), 0) << field;
    EXPECT_EQ(questions.fields()[static_cast<std::size_t>(questions.fieldIndex("VOPROS"))].length,
              254);
}

} // namespace
