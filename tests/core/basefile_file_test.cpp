#include "BaseFileTestSupport.h"

#include "core/basefile/BaseFile.h"
#include "core/basefile/BaseText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kv::basefile;
using namespace kv::basefile::support;

namespace {

class BaseFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void put(const QString &file, const std::string &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    static std::string get(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<нет>");
    }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

BaseData exampleBase()
{
    BaseTextReader reader;
    EXPECT_TRUE(reader.read(readDataFile("basefile_example.txb")));
    return reader.takeData();
}

} // namespace

TEST_F(BaseFileTest, WritesOverAnOldFileAndReadsBack)
{
    const QString file = path("база.txb");
    put(file, "старое");
    ::chmod(QFile::encodeName(file).constData(), 0640);
    BaseFileWriter writer;
    ASSERT_TRUE(writer.write(file, exampleBase())) << writer.errorString().toStdString();
    EXPECT_EQ(get(file), readDataFile("basefile_example.txb"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the old file's permissions stay
    EXPECT_EQ(entries(), QStringList{QStringLiteral("база.txb")}); // no temporary left

    BaseFileReader reader;
    ASSERT_TRUE(reader.read(file));
    EXPECT_EQ(dump(reader.data()), kExampleDump);
}

TEST_F(BaseFileTest, FailedWriteLeavesTheOldFileAndSaysWhy)
{
    const QString protectedFile = path("защищён.txb");
    put(protectedFile, "старое");
    ::chmod(QFile::encodeName(protectedFile).constData(), 0444);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("папка.txb")));
    put(path("файл"), "x");

    struct Case
    {
        QString target;
        const char *why;
    };
    const Case cases[] = {
        {path("нет/база.txb"), "файл или папка не найдены"},
        {path("файл/база.txb"), ""},
        {protectedFile, "файл защищён от записи"},
        {path("папка.txb"), "это папка"},
    };
    for (const Case &c : cases) {
        BaseFileWriter writer;
        EXPECT_FALSE(writer.write(c.target, exampleBase()));
        const std::string message = writer.errorString().toStdString();
        EXPECT_NE(message.find("Не удалось записать файл базы вопросов " + c.target.toStdString()),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find(c.why), std::string::npos) << message;
    }
    EXPECT_EQ(get(protectedFile), "старое");
    EXPECT_EQ(entries().size(), 3);
}

TEST_F(BaseFileTest, ReadOnlyFolderIsReportedAndNotTouched)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into any folder";
    const QString sub = path("только-чтение");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("только-чтение")));
    const QString file = sub + QStringLiteral("/база.txb");
    put(file, "старое");
    ::chmod(QFile::encodeName(sub).constData(), 0555);
    BaseFileWriter writer;
    EXPECT_FALSE(writer.write(file, exampleBase()));
    EXPECT_NE(writer.errorString().indexOf(QStringLiteral("нет доступа")), -1);
    ::chmod(QFile::encodeName(sub).constData(), 0755);
    EXPECT_EQ(get(file), "старое");
}

TEST_F(BaseFileTest, ReadFailuresNameTheFileAndTheLine)
{
    BaseFileReader reader;
    EXPECT_FALSE(reader.read(path("нет.txb")));
    EXPECT_EQ(
        reader.errorString(),
        QStringLiteral("Не удалось прочитать файл базы вопросов %1: файл или папка не найдены")
            .arg(path("нет.txb")));

    const QString bad = path("плохой.txb");
    put(bad, cp("А\r\n\r\n1¤x\r\nбез разделителя\r\n"));
    EXPECT_FALSE(reader.read(bad));
    EXPECT_EQ(
        reader.errorString(),
        QStringLiteral("Ошибка в файле базы вопросов %1, строка 4: нет разделителя").arg(bad));
    EXPECT_EQ(reader.data(), BaseData());
}
