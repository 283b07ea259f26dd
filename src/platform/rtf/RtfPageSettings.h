#pragma once
// The page settings a template carries into saved documents, taken from the
// template's RTF bytes.

#include <QByteArray>

#include <string>
#include <string_view>

namespace kv::rtf {

// Everything from the first "\paperw" up to, not including, the first
// "\gutter" of the RTF text. Empty when either is missing or "\gutter" comes
// first, and also when the span holds a brace: it then runs across groups
// (the keywords are not together in one header) and inserting it would break
// the structure of the saved document.
std::string templatePageSettings(std::string_view rtf);

// The saved form of a document: its RTF with `settings` inserted after the
// first six bytes ("{\rtf1"). Settings made only of bytes 0..32 are not
// inserted; otherwise they go in unchanged.
QByteArray insertPageSettings(const QByteArray &rtf, std::string_view settings);

} // namespace kv::rtf
