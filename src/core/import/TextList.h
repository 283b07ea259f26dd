#pragma once
// Plain-text lists of questions and group names, one item per line.
// Read: Windows-1251 unless a UTF-8 or UTF-16 byte-order mark says otherwise;
// CR LF, LF or CR end a line. Written: Windows-1251, CR LF after every line,
// through a temporary file renamed over the old one.

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace kv::import {

// The text of a list file as the window's editor shows it (lines joined by
// '\n'; a final line break makes no extra empty line).
QString decodeTextList(const QByteArray &bytes);

// The lines of an editor's text as Windows-1251 strings. Characters the code
// page cannot hold become '?' and are listed in `unconvertible`.
std::vector<std::string> linesOf(const QString &text, QString *unconvertible = nullptr);

QByteArray encodeTextList(const QString &text, QString *unconvertible = nullptr);

// Throw std::runtime_error with a Russian message naming the file.
QString readTextListFile(const QString &path);
void writeTextListFile(const QString &path, const QString &text);

} // namespace kv::import
