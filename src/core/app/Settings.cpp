#include "Settings.h"

#include <QDir>

#include <algorithm>

namespace kv::app {

ProgramSettings ReadSettings(const ini::IniFile &file)
{
    const ProgramSettings d;
    const char *m = kSettingsSection;
    ProgramSettings s;
    s.EditKB = file.readString(m, "EditKB", d.EditKB);
    s.EditKVB = file.readString(m, "EditKVB", d.EditKVB);
    s.EditKV = file.readString(m, "EditKV", d.EditKV);
    s.ComboBoxSh = file.readString(m, "ComboBoxSh", d.ComboBoxSh);
    s.CheckBox1 = file.readBool(m, "CheckBox1", d.CheckBox1);
    s.CheckBox2 = file.readBool(m, "CheckBox2", d.CheckBox2);
    s.CheckBox3 = file.readBool(m, "CheckBox3", d.CheckBox3);
    s.CheckBox4 = file.readBool(m, "CheckBox4", d.CheckBox4);
    s.CheckBox5 = file.readBool(m, "CheckBox5", d.CheckBox5);
    s.CheckBox6 = file.readBool(m, "CheckBox6", d.CheckBox6);
    s.CheckBoxSh = file.readBool(m, "CheckBoxSh", d.CheckBoxSh);
    s.RadioGroup1 = std::clamp(file.readInteger(m, "RadioGroup1", d.RadioGroup1), -1, 1);
    return s;
}

bool WriteSettings(ini::IniFile &file, const ProgramSettings &s, std::string *badKey)
{
    const char *m = kSettingsSection;
    auto text = [&](const char *key, const std::string &value) {
        if (file.writeString(m, key, value))
            return true;
        if (badKey)
            *badKey = key;
        return false;
    };
    return text("EditKB", s.EditKB) && text("EditKVB", s.EditKVB) && text("EditKV", s.EditKV) &&
           file.writeBool(m, "CheckBox1", s.CheckBox1) &&
           file.writeBool(m, "CheckBox2", s.CheckBox2) &&
           file.writeBool(m, "CheckBox3", s.CheckBox3) &&
           file.writeBool(m, "CheckBox4", s.CheckBox4) &&
           file.writeBool(m, "CheckBox5", s.CheckBox5) &&
           file.writeBool(m, "CheckBox6", s.CheckBox6) &&
           file.writeBool(m, "CheckBoxSh", s.CheckBoxSh) && text("ComboBoxSh", s.ComboBoxSh) &&
           file.writeInteger(m, "RadioGroup1", s.RadioGroup1);
}

ProgramSettings LoadSettingsFile(const QString &path)
{
    ini::IniFile file;
    if (!file.load(path))
        return ProgramSettings{};
    return ReadSettings(file);
}

bool SaveSettingsFile(const QString &path, const ProgramSettings &settings, QString *error)
{
    ini::IniFile file;
    if (!file.load(path)) {
        if (error)
            *error = QStringLiteral("Не удаётся записать в файл %1: файл не читается")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    std::string badKey;
    if (!WriteSettings(file, settings, &badKey)) {
        if (error)
            *error = QStringLiteral("Не удаётся записать в файл %1: значение %2 содержит "
                                    "перевод строки")
                         .arg(QDir::toNativeSeparators(path), QString::fromLatin1(badKey));
        return false;
    }
    return file.save(path, error);
}

} // namespace kv::app
