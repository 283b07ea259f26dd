// The folder the program works in: the current one when it holds Sys,
// otherwise its own folder under the user's data home, prepared on first use.
#include "core/app/WorkingFolder.h"
#include "core/base/BaseTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using kv::app::chooseWorkingFolder;

namespace {

TEST(WorkingFolderTest, ChoosesTheCurrentFolderOnlyWhenItHoldsSys)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(QDir(root).mkpath("withSys/Sys"));
    ASSERT_TRUE(QDir(root).mkpath("withLower/sys"));
    ASSERT_TRUE(QDir(root).mkpath("withUpper/SYS"));
    ASSERT_TRUE(QDir(root).mkpath("without/Base"));
    ASSERT_TRUE(QDir(root).mkpath("sysIsFile"));
    QFile file(root + "/sysIsFile/Sys");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QString home = root + "/home";
    struct Case
    {
        QString current;
        QString xdgDataHome;
        QString expected;
    };
    const Case cases[] = {
        {root + "/withSys", "", root + "/withSys"},
        {root + "/withLower", root + "/data", root + "/withLower"},
        {root + "/withUpper", "", root + "/withUpper"},
        {root + "/without", "", home + "/.local/share/kvirton"},
        {root + "/without", root + "/data", root + "/data/kvirton"},
        {root + "/without", root + "/data/", root + "/data/kvirton"},
        // A relative XDG_DATA_HOME is not valid and is ignored.
        {root + "/without", "data", home + "/.local/share/kvirton"},
        {root + "/sysIsFile", "", home + "/.local/share/kvirton"},
        {root + "/missing", "", home + "/.local/share/kvirton"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(chooseWorkingFolder(c.current, c.xdgDataHome, home), c.expected)
            << c.current.toStdString() << " / " << c.xdgDataHome.toStdString();
}

// Restores the current folder and XDG_DATA_HOME after a test.
class EnteringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedCurrent = QDir::currentPath();
        hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        savedXdg = qgetenv("XDG_DATA_HOME");
    }
    void TearDown() override
    {
        QDir::setCurrent(savedCurrent);
        if (hadXdg)
            qputenv("XDG_DATA_HOME", savedXdg);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    QString savedCurrent;
    bool hadXdg = false;
    QByteArray savedXdg;
};

TEST_F(EnteringTest, PreparesTheUserFolderOnceAndKeepsItsTables)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("elsewhere"));
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/elsewhere"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data"));

    const QString folder = dir.path() + "/data/kvirton";
    EXPECT_EQ(kv::app::enterWorkingFolder(), folder);
    EXPECT_EQ(QDir::currentPath(), folder);
    for (const char *table :
         {kv::base::kQuestionsFile, kv::base::kGroupsFile, kv::base::kTicketsFile})
        EXPECT_TRUE(QFile::exists(folder + "/" + table)) << table;
    EXPECT_TRUE(QDir(folder + "/Base").exists());
    EXPECT_TRUE(kv::base::canWorkInFolder(folder));
    // Nothing was made in the folder the program was started in.
    EXPECT_TRUE(QDir(dir.path() + "/elsewhere").isEmpty());

    // A second start from elsewhere leaves the tables as they are.
    QFile groups(folder + "/" + kv::base::kGroupsFile);
    ASSERT_TRUE(groups.open(QIODevice::Append));
    groups.write("x");
    groups.close();
    const qint64 size = QFileInfo(groups).size();
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/elsewhere"));
    EXPECT_EQ(kv::app::enterWorkingFolder(), folder);
    EXPECT_EQ(QFileInfo(folder + "/" + kv::base::kGroupsFile).size(), size);
}

TEST_F(EnteringTest, StaysInAFolderWithSysAndCreatesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("work/sys"));
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/work"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data"));
    EXPECT_EQ(kv::app::enterWorkingFolder(), dir.path() + "/work");
    EXPECT_EQ(QDir::currentPath(), dir.path() + "/work");
    EXPECT_TRUE(QDir(dir.path() + "/work/sys").isEmpty());
    EXPECT_FALSE(QDir(dir.path() + "/data").exists());
}

TEST_F(EnteringTest, AFolderThatCannotBeMadeIsReportedAndTheCurrentFolderKept)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("elsewhere"));
    QFile blocker(dir.path() + "/data");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where a folder should be
    blocker.close();
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/elsewhere"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data"));
    try {
        kv::app::enterWorkingFolder();
        FAIL() << "no error";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("/data/kvirton"), std::string::npos) << e.what();
    }
    EXPECT_EQ(QDir::currentPath(), dir.path() + "/elsewhere");
}

} // namespace
