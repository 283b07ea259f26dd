#pragma once
// Writes a QTextDocument (or a fragment of one) as RTF that word processors
// open and that RtfReader reads back to the same text and formats.
//
// The output begins with "{\rtf1" (six bytes) followed by a control word, so
// page settings can be inserted right after those six bytes. Text that
// Windows-1251 holds is written as \'hh under \ansicpg1251 with Cyrillic
// (\fcharset204) fonts; any other character as \uN with a "?" fallback.

#include <QByteArray>

class QTextDocument;
class QTextDocumentFragment;

namespace kv::rtf {

QByteArray writeRtf(const QTextDocument &document);
QByteArray writeRtf(const QTextDocumentFragment &fragment);

} // namespace kv::rtf
