#pragma once
// Letter case of Windows-1251 text, by the rules the program's 8-bit texts
// follow: Latin A..Z and every Cyrillic capital of the code page (А..Я, Ё and
// the other Cyrillic capitals of 0x80..0xBF) have a small letter; every other
// byte is its own lower case.

#include <string>
#include <string_view>

namespace kv::text {

char lowerCaseByte(char c);

std::string LowerCase(std::string_view text);

// Whether two texts are equal apart from letter case (as section and key names
// of a settings file are compared).
bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace kv::text
