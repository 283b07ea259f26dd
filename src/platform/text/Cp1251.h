#pragma once
// Windows-1251: the 8-bit code page of every text the program keeps. Core
// strings are std::string holding Windows-1251 bytes; widgets and foreign
// files hold QString, and the conversion happens here and only here.

#include <QString>

#include <string>
#include <string_view>

namespace kv::text {

// Byte -> UTF-16 character. Every byte has a character (0x98, unassigned in
// the code page, maps to U+0098 so that any byte string survives a round trip).
char16_t cp1251ToUnicode(unsigned char byte);

// UTF-16 character -> byte; false when Windows-1251 has no such character.
bool unicodeToCp1251(char16_t ch, unsigned char &byte);

QString fromCp1251(std::string_view bytes);

// Converts to Windows-1251. A character the code page cannot hold becomes '?'
// and, when `unconvertible` is given, is appended to it once (in order of
// first appearance), so that callers can tell the user what would be lost.
std::string toCp1251(const QString &text, QString *unconvertible = nullptr);

// The distinct characters of `text` that Windows-1251 cannot hold, in order
// of first appearance; empty when the whole text converts.
QString unconvertibleCharacters(const QString &text);

} // namespace kv::text
