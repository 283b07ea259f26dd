#include "CliTestSupport.h"
#include "cli/Cli.h"
#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <sstream>

using namespace kv::cli::support;

TEST(CliInit, PreparesAnEmptyFolderAndLeavesExistingTablesAlone)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    auto r = cli({"-C", folder, "init"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char *f : {"Sys/Voprosy.DBF", "Sys/Voprosy.DBT", "Sys/Gruppy.dbf", "Sys/Bilety.DBF",
                          "Sys/Bilety.DBT"})
        EXPECT_TRUE(QFile::exists(dir.filePath(f))) << f;
    EXPECT_TRUE(QDir(dir.filePath("Base")).exists());

    {
        kv::store::Table t;
        t.setFileName(dir.filePath("Sys/Gruppy.dbf").toStdString());
        t.open();
        t.append();
        t.setIntegerField("NGRUPPY", 1);
        t.setTextField("NAMEGRUPPA", "x");
        t.post();
    }
    const QByteArray before = fileBytes(dir.filePath("Sys/Gruppy.dbf"));
    QFile::remove(dir.filePath("Sys/Bilety.DBF"));
    QFile::remove(dir.filePath("Sys/Bilety.DBT"));
    r = cli({"-C", folder, "init"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fileBytes(dir.filePath("Sys/Gruppy.dbf")), before);
    EXPECT_TRUE(QFile::exists(dir.filePath("Sys/Bilety.DBF")));
}

TEST(CliDump, WritesRecordsAsEscapedUtf8)
{
    QTemporaryDir dir;
    kv::base::createMissingBaseTables(dir.path());
    {
        kv::store::Table t;
        t.setFileName(dir.filePath("Sys/Voprosy.DBF").toStdString());
        t.open();
        t.append();
        t.setIntegerField("NPOR", 1);
        t.setIntegerField("NGRUPPY", 2);
        t.setTextField("VOPROS", "\xC4\xE2\xE0 \\ \xF2\xE0\xE1\t"); // "Два \ таб<TAB>"
        t.setTextField("VOPRMEMO",
                       "\xD1\xF2\xF0\xEE\xEA\xE0 1\r\n\xD1\xF2\xF0\xEE\xEA\xE0 2"); // Строка 1/2
        t.post();
        t.append(); // numbers and texts null
        t.post();
    }
    const auto r = cli({"-C", dir.path().toStdString(), "dump", "questions"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\t2\tДва \\\\ таб\\t\tСтрока 1\\r\\nСтрока 2\n\t\t\t\n");
    EXPECT_EQ(cli({"-C", dir.path().toStdString(), "dump", "groups"}).out, "");
    EXPECT_EQ(cli({"-C", dir.path().toStdString(), "dump", "tickets"}).code, 0);
}

TEST(CliFrame, UsageErrorsAndFailures)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    EXPECT_EQ(cli({}).code, 2);
    EXPECT_EQ(cli({"frobnicate"}).code, 2);
    EXPECT_EQ(cli({"-C", folder, "dump"}).code, 2);
    EXPECT_EQ(cli({"-C", folder, "dump", "students"}).code, 2);
    EXPECT_EQ(cli({"-C", folder, "init", "--bogus"}).code, 2);
    const auto help = cli({"dump", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("NBILETA"), std::string::npos);
    EXPECT_EQ(cli({"--help"}).code, 0);
    // No tables in the folder: the job fails with the store's message.
    const auto missing = cli({"-C", folder, "dump", "questions"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Voprosy.DBF"), std::string::npos);
    EXPECT_EQ(cli({"-C", folder + "/nowhere", "init"}).code, 1);
}

namespace {

// A working folder with 5 questions of group 1 and 15 of group 2.
struct Folder
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString();
    Folder()
    {
        cli({"-C", path, "init"});
        QFile list(dir.filePath("list.txt"));
        list.open(QIODevice::WriteOnly);
        for (int i = 1; i <= 5; ++i)
            list.write(QByteArray("A") + QByteArray::number(i) + "\r\n");
        list.write("\r\n");
        for (int i = 1; i <= 15; ++i)
            list.write(QByteArray("B") + QByteArray::number(i) + "\r\n");
        list.close();
        cli({"-C", path, "import-questions", dir.filePath("list.txt").toStdString()});
    }
    void settings(const QByteArray &text)
    {
        QFile f(dir.filePath("Sys/sys.ini"));
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
};

} // namespace

TEST(CliImport, QuestionsAndGroupNames)
{
    Folder f;
    auto r = cli({"-C", f.path, "dump", "questions"});
    EXPECT_EQ(r.out.substr(0, 15), "1\t1\tA1\tA1\n2\t1\tA");
    EXPECT_NE(r.out.find("6\t2\tB1\tB1\n"), std::string::npos);

    QFile names(f.dir.filePath("names.txt"));
    names.open(QIODevice::WriteOnly);
    names.write("\xEF\xBB\xBF\xD0\x90\xD0\xBB\xD0\xB3\xD0\xB5\xD0\xB1\xD1\x80\xD0\xB0\n\n   \nB\n");
    names.close();
    r = cli({"-C", f.path, "import-groups", names.fileName().toStdString()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(cli({"-C", f.path, "dump", "groups"}).out, "1\tАлгебра\n2\tB\n");

    // A list with characters the base cannot hold is refused whole.
    names.open(QIODevice::WriteOnly);
    names.write("\xEF\xBB\xBFx \xE2\x89\xA4 y\n");
    names.close();
    r = cli({"-C", f.path, "import-groups", names.fileName().toStdString()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("≤"), std::string::npos);
    EXPECT_EQ(cli({"-C", f.path, "dump", "groups"}).out, "1\tАлгебра\n2\tB\n");
}

TEST(CliGenerate, MessagesOnStderrAndTheSameTicketsAsTheWindowsRun)
{
    Folder f;
    auto r = cli({"-C", f.path, "generate", "--tickets", "10", "--questions", "2", "--order",
                  "none", "--seed", "7"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Не могу выполнить, поэтому включаю повтор вопросов с билета №6\n");
    const std::string first = cli({"-C", f.path, "dump", "tickets"}).out;
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 20);
    // The same seed draws the same set again.
    cli({"-C", f.path, "generate", "--tickets", "10", "--questions", "2", "--order", "none",
         "--seed", "7"});
    EXPECT_EQ(cli({"-C", f.path, "dump", "tickets"}).out, first);

    // A failed run leaves the stored set and exits 1.
    r = cli({"-C", f.path, "generate", "--group-counts", "1", "--questions", "3", "--seed", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп\n");
    EXPECT_EQ(cli({"-C", f.path, "dump", "tickets"}).out, first);
    EXPECT_EQ(cli({"-C", f.path, "generate", "--order", "sideways"}).code, 2);
}

TEST(CliGenerate, ParametersComeFromTheSettingsFile)
{
    Folder f;
    f.settings("[MAIN]\r\nEditKB=3\r\nEditKVB=2\r\nCheckBox6=1\r\nEditKV=1 1\r\n");
    // Counts enter the checked sum only for groups that have a record.
    QFile names(f.dir.filePath("names.txt"));
    names.open(QIODevice::WriteOnly);
    names.write("one\r\ntwo\r\n");
    names.close();
    cli({"-C", f.path, "import-groups", names.fileName().toStdString()});
    const auto r = cli({"-C", f.path, "generate", "--seed", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string tickets = cli({"-C", f.path, "dump", "tickets"}).out;
    // 3 tickets of 2, one question of each group, ordered by group.
    EXPECT_EQ(std::count(tickets.begin(), tickets.end(), '\n'), 6);
    std::istringstream lines(tickets);
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string b, q, npor, group;
        fields >> b >> q >> npor >> group;
        EXPECT_EQ(group, row % 2 == 0 ? "1" : "2") << line;
        ++row;
    }
}

TEST(CliSimilar, ListsPairsAtThePercentage)
{
    Folder f;
    auto r = cli({"-C", f.path, "similar", "--percent", "100"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = cli({"-C", f.path, "similar", "--percent", "0"});
    EXPECT_EQ(r.out.substr(0, 15), "1 § A1\n2 § A2");
    EXPECT_EQ(cli({"-C", f.path, "similar", "--percent", "x"}).code, 2);
}

TEST(CliBaseFile, SaveAndLoadRoundTripAndBadFilesChangeNothing)
{
    Folder f;
    cli({"-C", f.path, "generate", "--tickets", "2", "--questions", "2", "--seed", "1"});
    const std::string file = f.dir.filePath("Base/b.txb").toStdString();
    ASSERT_EQ(cli({"-C", f.path, "save-base", file}).code, 0);
    EXPECT_EQ(cli({"-C", f.path, "save-base", file}).code, 1); // exists: only with --force
    EXPECT_EQ(cli({"-C", f.path, "save-base", file, "--force"}).code, 0);

    Folder other;
    ASSERT_EQ(cli({"-C", other.path, "load-base", file}).code, 0);
    for (const char *table : {"questions", "groups", "tickets"})
        EXPECT_EQ(cli({"-C", other.path, "dump", table}).out,
                  cli({"-C", f.path, "dump", table}).out)
            << table;

    QFile bad(f.dir.filePath("bad.txb"));
    bad.open(QIODevice::WriteOnly);
    bad.write("\xC3\xF0\xF3\xEF\xEF\xE0\r\n\r\nx\xA4question\r\n\r\n");
    bad.close();
    const std::string before = cli({"-C", f.path, "dump", "questions"}).out;
    const auto r = cli({"-C", f.path, "load-base", bad.fileName().toStdString()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("строка 3"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"-C", f.path, "dump", "questions"}).out, before);
}
