#pragma once
// Field definitions, values and errors of the dBase file layer.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv::dbf {

// A failure of a table or memo file; the message is Russian and names the file.
class DbfError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The field types the program writes are C, N and M; D, L and F of tables made
// elsewhere are read as their text.
enum class FieldType : char {
    Character = 'C',
    Numeric = 'N',
    Float = 'F',
    Date = 'D',
    Logical = 'L',
    Memo = 'M',
};

struct FieldDef
{
    std::string name; // upper-case ASCII, at most 10 characters
    FieldType type = FieldType::Character;
    int length = 0;
    int decimals = 0;
    int offset = 0; // byte offset inside the record (after the deleted flag); set by the layer
};

inline FieldDef characterField(std::string name, int length)
{
    return {std::move(name), FieldType::Character, length, 0, 0};
}
inline FieldDef numericField(std::string name, int length)
{
    return {std::move(name), FieldType::Numeric, length, 0, 0};
}
inline FieldDef memoField(std::string name)
{
    return {std::move(name), FieldType::Memo, 10, 0, 0};
}

// How the memo companion of a table is laid out.
enum class MemoLayout { None, DBase3, DBase4 };

// A value to store: none (null), an integer, or Windows-1251 text.
using FieldValue = std::variant<std::monostate, std::int64_t, std::string>;

// --- field codecs (raw = the field's bytes inside a record) ---------------------
// Right-aligned ASCII number; blank is null, so is text that is no number.
std::optional<std::int64_t> decodeInteger(std::string_view raw, int decimals = 0);
// false when the number does not fit the field width (raw is left unchanged).
bool encodeInteger(std::optional<std::int64_t> value, char *raw, int length);
// Trailing spaces and NUL bytes dropped.
std::string decodeText(std::string_view raw);
// Left-aligned, padded with spaces, cut at the field width.
void encodeText(std::string_view text, char *raw, int length);
// Memo block number; nullopt when blank or 0. Throws DbfError (naming
// `fileName`) for bytes that are no block number.
std::optional<std::uint32_t> decodeMemoBlock(std::string_view raw, const std::string &fileName);
void encodeMemoBlock(std::optional<std::uint32_t> block, char *raw);

// A Russian text for an errno value.
std::string systemErrorText(int error);

} // namespace kv::dbf
