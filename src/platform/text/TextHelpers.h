#pragma once
// The shared 8-bit text rules of the program. All take and return
// Windows-1251 byte strings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::text {

// The line-break marker ¶ (0xB6): inside a one-line form of a multi-line
// text it stands for one line break.
inline constexpr char kLineBreakMarker = '\xB6';

// Width of the character fields VOPROS and NAMEGRUPPA.
inline constexpr std::size_t kFieldWidth = 254;

// CR -> ¶, LF dropped, ¶ -> CR LF, every other byte copied. Turns a CR LF text
// into one line and back.
std::string ConvertLineBreaks(std::string_view text);

// CR -> space, LF dropped, ¶ -> space.
std::string FlattenToOneLine(std::string_view text);

// At most 254 characters stay; a longer text becomes its first 251
// characters followed by "...".
std::string CutToFieldWidth(std::string_view text);

// The one-line VOPROS of a question: CutToFieldWidth(FlattenToOneLine(text)).
std::string MakeQuestionLine(std::string_view fullText);

// Trimming removes the bytes 0 to 32 (control characters and the space).
inline bool isTrimmedByte(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// A typed character reaches a number field only when it is a digit 0..9 or
// Backspace (8). The widget-side filter (DigitKeyFilter) asks this.
inline bool isDigitKeyAccepted(char16_t ch)
{
    return (ch >= u'0' && ch <= u'9') || ch == 8;
}

} // namespace kv::text

namespace kv::text {
// A whole number as the number fields hold it: optional blanks around, an
// optional sign, decimal digits, within 32 bits; nullopt otherwise.
std::optional<std::int64_t> ParseInteger(std::string_view text);
} // namespace kv::text
