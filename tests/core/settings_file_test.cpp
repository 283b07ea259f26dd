// The program's settings in Sys/sys.ini: defaults of a first start, the
// reading rules of each key, and writing that keeps the rest of the file.
#include "core/app/Settings.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

using namespace kv::app;

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

struct SettingsFolder
{
    QTemporaryDir dir;
    QString path;
    SettingsFolder()
    {
        QDir(dir.path()).mkdir("Sys");
        path = QDir(dir.path()).filePath(kSettingsFile);
    }
};

} // namespace

TEST(SettingsFile, FirstStartWithoutFile)
{
    SettingsFolder f;
    const ProgramSettings s = LoadSettingsFile(f.path);
    EXPECT_EQ(s.EditKB, "16");
    EXPECT_EQ(s.EditKVB, "9");
    EXPECT_EQ(s.EditKV, "");
    EXPECT_EQ(s.ComboBoxSh, "");
    EXPECT_TRUE(s.CheckBox2);
    EXPECT_FALSE(s.CheckBox1 || s.CheckBox3 || s.CheckBox4 || s.CheckBox5 || s.CheckBox6 ||
                 s.CheckBoxSh);
    EXPECT_EQ(s.RadioGroup1, 0);
    EXPECT_FALSE(QFile::exists(f.path)) << "reading must not create the file";

    QString error;
    ASSERT_TRUE(SaveSettingsFile(f.path, s, &error)) << error.toStdString();
    const std::string expected = "[MAIN]\r\n"
                                 "EditKB=16\r\n"
                                 "EditKVB=9\r\n"
                                 "EditKV=\r\n"
                                 "CheckBox1=0\r\n"
                                 "CheckBox2=1\r\n"
                                 "CheckBox3=0\r\n"
                                 "CheckBox4=0\r\n"
                                 "CheckBox5=0\r\n"
                                 "CheckBox6=0\r\n"
                                 "CheckBoxSh=0\r\n"
                                 "ComboBoxSh=\r\n"
                                 "RadioGroup1=0\r\n";
    EXPECT_EQ(readAll(f.path), expected);
    // The order the window is told about is the order of the file.
    std::vector<std::string_view> keys;
    for (std::string_view rest = expected; !rest.empty();) {
        const std::string_view line = rest.substr(0, rest.find("\r\n"));
        if (line.find('=') != std::string_view::npos)
            keys.push_back(line.substr(0, line.find('=')));
        rest.remove_prefix(line.size() + 2);
    }
    EXPECT_TRUE(std::equal(keys.begin(), keys.end(), kSettingsWriteOrder.begin(),
                           kSettingsWriteOrder.end()));
    EXPECT_EQ(LoadSettingsFile(f.path), s);
}

TEST(SettingsFile, ReadingRulesOfEachKey)
{
    struct Case
    {
        const char *stored; // lines of section MAIN
        std::function<void(ProgramSettings &)> expect;
    };
    const std::vector<Case> cases = {
        {"CheckBox2=yes", [](ProgramSettings &) {}}, // not a number: default true
        {"CheckBox1=yes", [](ProgramSettings &) {}}, // default false
        {"CheckBox1=7", [](ProgramSettings &s) { s.CheckBox1 = true; }},
        {"CheckBox2=0", [](ProgramSettings &s) { s.CheckBox2 = false; }},
        {"CheckBoxSh=-1", [](ProgramSettings &s) { s.CheckBoxSh = true; }},
        {"RadioGroup1=1", [](ProgramSettings &s) { s.RadioGroup1 = 1; }},
        {"RadioGroup1=5", [](ProgramSettings &s) { s.RadioGroup1 = 1; }},
        {"RadioGroup1=-3", [](ProgramSettings &s) { s.RadioGroup1 = -1; }},
        {"RadioGroup1=first", [](ProgramSettings &) {}},
        {"EditKB=", [](ProgramSettings &s) { s.EditKB = ""; }},
        {"EditKB=12a", [](ProgramSettings &s) { s.EditKB = "12a"; }},
        {"EditKV=1 2 0 3", [](ProgramSettings &s) { s.EditKV = "1 2 0 3"; }},
        {"ComboBoxSh=Билет 2.rtf", [](ProgramSettings &s) { s.ComboBoxSh = cp("Билет 2.rtf"); }},
        // The stored values as they are: ticking CheckBox3 for a stored
        // CheckBox6 is the window's click step.
        {"CheckBox6=1\r\nCheckBox3=0", [](ProgramSettings &s) { s.CheckBox6 = true; }},
    };
    for (const Case &c : cases) {
        ProgramSettings expected;
        c.expect(expected);
        const auto file = kv::ini::IniFile::fromBytes("[MAIN]\r\n" + cp(c.stored) +
                                                      "\r\n[OTHER]\r\nEditKB=1\r\n");
        EXPECT_EQ(ReadSettings(file), expected) << c.stored;
    }
    // Section and key names in another letter case.
    ProgramSettings expected;
    expected.CheckBox4 = true;
    EXPECT_EQ(ReadSettings(kv::ini::IniFile::fromBytes("[main]\r\ncheckbox4=1\r\n")), expected);
}

TEST(SettingsFile, ExistingFileKeepsEverythingElse)
{
    SettingsFolder f;
    writeAll(f.path, cp("; Квиртон\r\n"
                        "[Window]\r\n"
                        "Left=10\r\n"
                        "\r\n"
                        "[Main]\r\n"
                        "RadioGroup1=0\r\n"
                        "Extra=keep me\r\n"
                        "editkb=3\r\n"
                        "\r\n"
                        "[Tail]\r\n"
                        "x=1"));
    ProgramSettings s;
    s.EditKB = "20";
    s.EditKVB = "";
    s.EditKV = "2 2";
    s.ComboBoxSh = cp("Мой шаблон.rtf");
    s.CheckBox1 = true;
    s.CheckBox2 = false;
    s.CheckBox6 = true;
    s.RadioGroup1 = -1;
    QString error;
    ASSERT_TRUE(SaveSettingsFile(f.path, s, &error)) << error.toStdString();
    EXPECT_EQ(readAll(f.path), cp("; Квиртон\r\n"
                                  "[Window]\r\n"
                                  "Left=10\r\n"
                                  "\r\n"
                                  "[Main]\r\n"
                                  "RadioGroup1=-1\r\n"
                                  "Extra=keep me\r\n"
                                  "editkb=20\r\n"
                                  "EditKVB=\r\n"
                                  "EditKV=2 2\r\n"
                                  "CheckBox1=1\r\n"
                                  "CheckBox2=0\r\n"
                                  "CheckBox3=0\r\n"
                                  "CheckBox4=0\r\n"
                                  "CheckBox5=0\r\n"
                                  "CheckBox6=1\r\n"
                                  "CheckBoxSh=0\r\n"
                                  "ComboBoxSh=Мой шаблон.rtf\r\n"
                                  "\r\n"
                                  "[Tail]\r\n"
                                  "x=1"));
    EXPECT_EQ(LoadSettingsFile(f.path), s);
}

TEST(SettingsFile, WriteFailuresAreReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // No Sys folder.
    const QString path = QDir(dir.path()).filePath(kSettingsFile);
    QString error;
    EXPECT_FALSE(SaveSettingsFile(path, ProgramSettings{}, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    // A value that would break the file: nothing is written.
    SettingsFolder f;
    writeAll(f.path, "[MAIN]\r\nEditKB=5\r\n");
    ProgramSettings s;
    s.ComboBoxSh = "a\r\nEditKB=1";
    error.clear();
    EXPECT_FALSE(SaveSettingsFile(f.path, s, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(f.path)));
    EXPECT_EQ(readAll(f.path), "[MAIN]\r\nEditKB=5\r\n");
}
