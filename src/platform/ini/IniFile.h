#pragma once
// A Windows-style settings file: Windows-1251 text, sections "[NAME]" and
// "key=value" lines. The file is kept as its lines, so that writing a value
// changes only that value's line: every other section, key, comment (a line
// starting with ';'), blank line and line ending stays byte for byte.
//
// Reading follows the settings functions of the platform the files come
// from: section and key names are compared without regard to letter case
// (Latin and Cyrillic), spaces and tabs around names and values are ignored,
// a value enclosed in a pair of double or single quotes is read without
// them, and where a section or key occurs twice the first one counts.
// Writing replaces the key's line in place with "key=value" (the key as
// spelled in the file), adds a missing key after the last line of its
// section and a missing section at the end of the file; new lines end in
// CR LF.

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::ini {

class IniFile
{
public:
    IniFile() = default;

    // The file made of these bytes.
    static IniFile fromBytes(std::string_view bytes);
    // The file's bytes as they would be written.
    std::string bytes() const;

    // Reads `path`. A missing file reads as empty and is not created. False
    // (with a Russian message naming the file in `error`) when the file
    // exists but cannot be read; the object is then empty.
    bool load(const QString &path, QString *error = nullptr);

    // Writes the file through a temporary file in the same folder, renamed
    // over `path` at the end, so that a failed write leaves the old file
    // whole. False, with a Russian message naming the file in `error`, when
    // the file cannot be written (folder missing or not writable, file
    // read-only, disk full).
    bool save(const QString &path, QString *error = nullptr) const;

    // The value of `key` in `section`; nullopt when either is missing. A key
    // written with nothing after "=" has the empty value.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // A value that is not a whole decimal number in the range of int
    // (optional sign, digits, nothing else) counts as missing.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // A whole number other than 0 is true, 0 is false; anything else counts
    // as missing.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Sets `key` of `section` to `value` (see above). False, with nothing
    // changed, when the name or value cannot be kept on one line and read
    // back: a line break in any of them, '=' in the key, ']' in the section,
    // an empty or blank-edged name, a key starting with '[' or ';'.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInteger(std::string_view section, std::string_view key, int value);
    // True is written as "1", false as "0".
    bool writeBool(std::string_view section, std::string_view key, bool value);

private:
    struct Line
    {
        std::string text; // without the line ending
        std::string end;  // "\r\n", "\n" or "" (last line without ending)
    };
    struct KeyAt
    {
        std::size_t line;
        std::string_view name;
        std::string_view value;
    };

    std::optional<KeyAt> findKey(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
};

// A whole decimal number in the range of int: an optional sign and digits,
// nothing else (values come without the blanks around them).
std::optional<int> parseInteger(std::string_view text);

} // namespace kv::ini
