#pragma once
// Code pages of 8-bit text inside RTF (\'hh escapes and raw bytes): which
// code page a font charset stands for, and decoding byte runs in a code page.

#include <QString>

#include <string_view>

namespace kv::rtf {

inline constexpr int kCodePageAnsi = 1252;
inline constexpr int kCodePageCyrillic = 1251;
inline constexpr int kCodePageUtf8 = 65001;

// The Windows code page of an RTF font charset (\fcharsetN); 0 when the
// charset names none (default, symbol, unknown), so that the document's
// \ansicpg decides.
int codePageOfCharset(int charset);

// The font charset the writer declares for a code page (204 for 1251).
int charsetOfCodePage(int codePage);

// Decodes a run of bytes. Windows-1250, -1251, -1252 and Mac Cyrillic
// (10007) come from our own tables; other code pages go through Qt's
// converters when they know them and fall back to Windows-1252 otherwise,
// so that every byte yields a character.
QString decodeBytes(int codePage, std::string_view bytes);

// True when the code page has multi-byte characters (lead bytes), so that a
// run of bytes must be decoded together.
bool isMultiByteCodePage(int codePage);

} // namespace kv::rtf
