#include "cli/Cli.h"
#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sstream>

namespace {

struct CliRun
{
    int code;
    std::string out, err;
};

// Runs a command line in-process; the current folder is restored afterwards.
CliRun cli(const std::vector<std::string> &args)
{
    const QString cwd = QDir::currentPath();
    std::ostringstream out, err;
    const int code = kv::cli::run(args, out, err);
    QDir::setCurrent(cwd);
    return {code, out.str(), err.str()};
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

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
