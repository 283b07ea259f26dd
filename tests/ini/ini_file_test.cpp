// The settings file: reading by the platform's rules, writing that changes
// only the written key's line, and saving that reports failures.
#include "platform/ini/IniFile.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

using kv::ini::IniFile;

namespace {

std::string cp(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

std::string readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll().toStdString();
}

void writeAll(const QString &path, std::string_view bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

} // namespace

TEST(IniFile, ReadsValuesByThePlatformRules)
{
    const IniFile ini = IniFile::fromBytes(cp("top=before any section\r\n"
                                              "[Main]\r\n"
                                              "; EditKB=commented out\r\n"
                                              "  EditKB = 12  \r\n"
                                              "editkb=second\r\n"
                                              "Quoted=\"a b\"\r\n"
                                              "Single='x'\r\n"
                                              "Half=\"x\r\n"
                                              "Eq=a=b\n"
                                              "Empty=\r\n"
                                              "NoEquals\r\n"
                                              "[Параметры]\r\n"
                                              "Шаблон=Билет.rtf\r\n"
                                              "[MAIN]\r\n"
                                              "Later=2\r\n"
                                              "[Other]\r\n"
                                              "EditKB=other\r\n"
                                              "Last=no line end"));
    struct Case
    {
        const char *section;
        const char *key;
        std::optional<std::string> value;
    };
    const std::vector<Case> cases = {
        {"MAIN", "EditKB", "12"}, // case, blanks, first of two, comment skipped
        {"main", "EDITKB", "12"},
        {"MAIN", "Quoted", "a b"},
        {"MAIN", "Single", "x"},
        {"MAIN", "Half", "\"x"},
        {"MAIN", "Eq", "a=b"},
        {"MAIN", "Empty", ""},
        {"MAIN", "NoEquals", std::nullopt},
        {"MAIN", "top", std::nullopt},
        {"MAIN", "Later", "2"}, // a repeated section continues it
        {"MAIN", "Missing", std::nullopt},
        {"Nowhere", "EditKB", std::nullopt},
        {"ПАРАМЕТРЫ", "шаблон", "Билет.rtf"},
        {"Other", "EditKB", "other"},
        {"Other", "Last", "no line end"},
    };
    for (const Case &c : cases) {
        const std::optional<std::string> expected =
            c.value ? std::optional(cp(c.value->c_str())) : std::nullopt;
        EXPECT_EQ(ini.value(cp(c.section), cp(c.key)), expected) << c.section << "/" << c.key;
    }
    EXPECT_EQ(ini.readString("MAIN", "Missing", "16"), "16");
    EXPECT_EQ(ini.readString("MAIN", "Empty", "16"), "");
}

TEST(IniFile, IntegersAndBooleans)
{
    struct Case
    {
        const char *stored;
        std::optional<int> number;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"12", 12},
        {"-3", -3},
        {"+5", 5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"yes", std::nullopt},
        {"", std::nullopt},
        {"1a", std::nullopt},
        {"1 2", std::nullopt},
        {"+-1", std::nullopt},
        {"--1", std::nullopt},
        {"0x10", std::nullopt},
        {"1.0", std::nullopt},
    };
    for (const Case &c : cases) {
        const IniFile ini = IniFile::fromBytes(std::string("[S]\r\nK=") + c.stored + "\r\n");
        EXPECT_EQ(ini.readInteger("S", "K", 42), c.number.value_or(42)) << c.stored;
        EXPECT_EQ(ini.readBool("S", "K", true), c.number ? *c.number != 0 : true) << c.stored;
        EXPECT_EQ(ini.readBool("S", "K", false), c.number ? *c.number != 0 : false) << c.stored;
    }
}

TEST(IniFile, WritingChangesOnlyTheKeysLine)
{
    // Comments, blank lines, a foreign section, LF-only line ends and odd
    // spacing all survive; keys keep their place and spelling.
    const std::string before = cp("; настройки\r\n"
                                  "\r\n"
                                  "[main]\r\n"
                                  "  editkb = 10\r\n"
                                  "CheckBox1=1\n"
                                  "; конец\r\n"
                                  "\r\n"
                                  "[Чужая]\r\n"
                                  "EditKB=не трогать\r\n"
                                  "\r\n");
    IniFile ini = IniFile::fromBytes(before);
    EXPECT_EQ(ini.bytes(), before);
    ASSERT_TRUE(ini.writeString("MAIN", "EditKB", "16"));
    ASSERT_TRUE(ini.writeBool("MAIN", "CheckBox1", false));
    ASSERT_TRUE(ini.writeString("MAIN", "ComboBoxSh", cp("Шаблон 1.rtf")));
    ASSERT_TRUE(ini.writeInteger("MAIN", "RadioGroup1", -1));
    ASSERT_TRUE(ini.writeString(cp("ЧУЖАЯ"), "New", ""));
    ASSERT_TRUE(ini.writeString("Added", "Key", "v"));
    EXPECT_EQ(ini.bytes(), cp("; настройки\r\n"
                              "\r\n"
                              "[main]\r\n"
                              "editkb=16\r\n"
                              "CheckBox1=0\n"
                              "; конец\r\n"
                              "ComboBoxSh=Шаблон 1.rtf\r\n"
                              "RadioGroup1=-1\r\n"
                              "\r\n"
                              "[Чужая]\r\n"
                              "EditKB=не трогать\r\n"
                              "New=\r\n"
                              "\r\n"
                              "[Added]\r\n"
                              "Key=v\r\n"));
    // A last line without a line end gets one before anything is added.
    IniFile open = IniFile::fromBytes("[A]\r\nx=1");
    ASSERT_TRUE(open.writeString("A", "y", "2"));
    EXPECT_EQ(open.bytes(), "[A]\r\nx=1\r\ny=2\r\n");
    open = IniFile::fromBytes("[A]\r\nx=1");
    ASSERT_TRUE(open.writeString("B", "y", "2"));
    EXPECT_EQ(open.bytes(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(IniFile, RefusesWhatCannotBeReadBack)
{
    IniFile ini = IniFile::fromBytes("[S]\r\nK=1\r\n");
    EXPECT_FALSE(ini.writeString("S", "K", "two\r\nlines"));
    EXPECT_FALSE(ini.writeString("S", "K=", "1"));
    EXPECT_FALSE(ini.writeString("S", " K", "1"));
    EXPECT_FALSE(ini.writeString("S", ";K", "1"));
    EXPECT_FALSE(ini.writeString("S", "", "1"));
    EXPECT_FALSE(ini.writeString("S]", "K", "1"));
    EXPECT_FALSE(ini.writeString("", "K", "1"));
    EXPECT_EQ(ini.bytes(), "[S]\r\nK=1\r\n");
}

TEST(IniFile, LoadAndSave)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("sys.ini");

    // A missing file reads as empty and is not created.
    IniFile ini;
    QString error;
    EXPECT_TRUE(ini.load(path, &error));
    EXPECT_EQ(ini.bytes(), "");
    EXPECT_FALSE(QFile::exists(path));

    writeAll(path, "[MAIN]\r\nEditKB=3\r\n");
    ASSERT_TRUE(ini.load(path, &error));
    ASSERT_TRUE(ini.writeString("MAIN", "EditKB", "4"));
    ASSERT_TRUE(ini.save(path, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), "[MAIN]\r\nEditKB=4\r\n");
    // Written through a temporary file that does not stay behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"sys.ini"});
}

TEST(IniFile, SaveFailuresAreReportedWithTheFileName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const IniFile ini = IniFile::fromBytes("[MAIN]\r\nEditKB=4\r\n");

    const QString inMissingFolder = dir.filePath("Sys/sys.ini");
    QString error;
    EXPECT_FALSE(ini.save(inMissingFolder, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не удаётся записать в файл ")));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(inMissingFolder)));
}

TEST(IniFile, ReadOnlyFileIsNotReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const IniFile ini = IniFile::fromBytes("[MAIN]\r\nEditKB=4\r\n");
    QString error;
    const QString readOnly = dir.filePath("ro.ini");
    writeAll(readOnly, "[MAIN]\r\nEditKB=1\r\n");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser);
    if (QFileInfo(readOnly).isWritable())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_FALSE(ini.save(readOnly, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(readOnly)));
    EXPECT_EQ(readAll(readOnly), "[MAIN]\r\nEditKB=1\r\n");
}

TEST(IniFile, AFolderInPlaceOfTheFileIsNotReadOrWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("sys.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sys.ini"));
    IniFile ini;
    QString error;
    EXPECT_FALSE(ini.load(path, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path)));
    EXPECT_FALSE(ini.save(path, &error));
}
