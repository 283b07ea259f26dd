#pragma once
// The program's settings: the generation and output controls of the main
// window, kept in section MAIN of Sys/sys.ini under the names of the controls
// they mirror. Read once when the main window has been created, written once
// when it is destroyed; nothing else is stored there.
//
// What the main window does with them:
//
// LoadSettings: s = LoadSettingsFile(path), then put every value into its
// control in this order, each assignment running the control's own change or
// click step exactly as a change by the user does (and only when the value
// differs from what the control shows):
//   1. EditKB.text      (count step: an empty text becomes "0"; the product
//                         of the counts may tick and disable CheckBox1)
//   2. EditKVB.text     (count step)
//   3. EditKV.text
//   4. ComboBoxSh.text  (the template name, whether or not the file exists)
//   5. CheckBox1        (after the count steps: sets the tick; the enabled
//                         state stays as the count step left it)
//   6. CheckBox2        (click step: false disables RadioGroup1)
//   7. CheckBox3
//   8. CheckBox4
//   9. CheckBox5
//  10. CheckBox6        (click step: true enables EditKV, ticks CheckBox3 and
//                         selects "По группе", so CheckBox3 ends ticked
//                         whatever was stored for it)
//  11. CheckBoxSh
//  12. RadioGroup1      (last, so that the stored index wins over step 10;
//                         -1 selects none)
// kSettingsReadOrder lists the keys in this order.
//
// SaveSettings: copy the controls into a ProgramSettings (field texts as
// shown, tick states, the template box's text, the selected index of
// RadioGroup1 or -1) and call SaveSettingsFile; when it fails, show its
// message (the remaining exit steps are still taken).

#include "platform/ini/IniFile.h"

#include <QString>

#include <array>
#include <string>
#include <string_view>

namespace kv::app {

// The settings file, relative to the program's folder.
inline constexpr const char *kSettingsFile = "Sys/sys.ini";
inline constexpr const char *kSettingsSection = "MAIN";

// The values, Windows-1251 text where the control holds text. The defaults
// are those of a first start.
struct ProgramSettings
{
    std::string EditKB = "16"; // number of tickets, a string of digits (may be empty)
    std::string EditKVB = "9"; // questions per ticket, likewise
    std::string EditKV;        // per-group counts, numbers separated by spaces
    std::string ComboBoxSh;    // template file name
    bool CheckBox1 = false;    // repeated questions allowed
    bool CheckBox2 = true;     // questions ordered inside a ticket
    bool CheckBox3 = false;    // several questions of one group allowed
    bool CheckBox4 = false;    // question number in brackets
    bool CheckBox5 = false;    // group number in brackets
    bool CheckBox6 = false;    // per-group counts in force
    bool CheckBoxSh = false;   // template in use
    int RadioGroup1 = 0;       // order: 0 "По № п/п", 1 "По группе", -1 none

    bool operator==(const ProgramSettings &) const = default;
};

// The order in which LoadSettings puts the values into the controls.
inline constexpr std::array<std::string_view, 12> kSettingsReadOrder = {
    "EditKB",    "EditKVB",   "EditKV",    "ComboBoxSh", "CheckBox1",  "CheckBox2",
    "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6",  "CheckBoxSh", "RadioGroup1"};

// The order in which the keys are written (a fresh file lists them so).
inline constexpr std::array<std::string_view, 12> kSettingsWriteOrder = {
    "EditKB",    "EditKVB",   "EditKV",    "CheckBox1",  "CheckBox2",  "CheckBox3",
    "CheckBox4", "CheckBox5", "CheckBox6", "CheckBoxSh", "ComboBoxSh", "RadioGroup1"};

// The values of section MAIN. A missing key keeps its default; a key stored
// with an empty value gives an empty text. A check box or RadioGroup1 whose
// value is not a whole number ("yes", "1.0") counts as missing; a check box
// is ticked for any number but 0. RadioGroup1 is limited to -1..1, as the
// radio group limits its index (5 selects the last item, -3 none).
ProgramSettings ReadSettings(const ini::IniFile &file);

// Writes the twelve keys into section MAIN in kSettingsWriteOrder: booleans as
// "1"/"0", RadioGroup1 in decimal, texts unchanged. A key already in the file
// keeps its line; the rest of the file is untouched. False (with the key in
// `badKey`) when a text cannot be stored on one line; the keys before it are
// written.
bool WriteSettings(ini::IniFile &file, const ProgramSettings &settings,
                   std::string *badKey = nullptr);

// The settings stored at `path`; the defaults when the file is missing or
// cannot be read (no message: a first start has no file). Never creates it.
ProgramSettings LoadSettingsFile(const QString &path);

// Writes the settings into the file at `path`, keeping whatever else it
// holds. False, with a Russian message naming the file in `error`, when the
// file cannot be written (folder missing, read-only) or the existing file
// cannot be read (it is then left as it is rather than overwritten).
bool SaveSettingsFile(const QString &path, const ProgramSettings &settings,
                      QString *error = nullptr);

} // namespace kv::app
