#pragma once
// The status message history file SYSTEM/StatusBar.log under the working
// folder: a plain-text list (Windows-1251, CR LF after every line) that is
// loaded at start-up and written back at exit.

#include <QString>

namespace kv::app {

inline constexpr const char *kStatusHistoryFolder = "SYSTEM";
inline constexpr const char *kStatusHistoryFile = "StatusBar.log";

// The history file under `folder` (an existing spelling in another letter
// case is used).
QString statusHistoryPath(const QString &folder);

// The history as the window shows it (lines joined by '\n'); empty when the
// file does not exist. Throws std::runtime_error naming the file when it
// cannot be read.
QString loadStatusHistory(const QString &folder);

// Writes `text` (lines joined by '\n') back at exit:
//  - an existing file is replaced;
//  - without the file, an existing SYSTEM folder means nothing is written;
//  - without the folder, it is created and the file written into it; when
//    the folder cannot be created nothing is written, silently.
// The file is written to a temporary file renamed over the old one, so a
// failed write leaves the previous history whole. Returns whether the file
// was written; throws std::runtime_error naming the file when writing fails.
bool saveStatusHistory(const QString &folder, const QString &text);

} // namespace kv::app
