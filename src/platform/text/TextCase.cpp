#include "TextCase.h"

#include <array>

namespace kv::text {
namespace {

constexpr std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) // А..Я -> а..я
        t[c] = static_cast<unsigned char>(c + 32);
    // Cyrillic capitals of the upper half that are not in one block.
    constexpr unsigned char pairs[][2] = {
        {0x80, 0x90}, // Ђ ђ
        {0x81, 0x83}, // Ѓ ѓ
        {0x8A, 0x9A}, // Љ љ
        {0x8C, 0x9C}, // Њ њ
        {0x8D, 0x9D}, // Ќ ќ
        {0x8E, 0x9E}, // Ћ ћ
        {0x8F, 0x9F}, // Џ џ
        {0xA1, 0xA2}, // Ў ў
        {0xA3, 0xBC}, // Ј ј
        {0xA5, 0xB4}, // Ґ ґ
        {0xA8, 0xB8}, // Ё ё
        {0xAA, 0xBA}, // Є є
        {0xAF, 0xBF}, // Ї ї
        {0xB2, 0xB3}, // І і
        {0xBD, 0xBE}, // Ѕ ѕ
    };
    for (const auto &p : pairs)
        t[p[0]] = p[1];
    return t;
}

constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

} // namespace

char lowerCaseByte(char c)
{
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = lowerCaseByte(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerCaseByte(a[i]) != lowerCaseByte(b[i]))
            return false;
    }
    return true;
}

} // namespace kv::text
