#pragma once
// Replacing a file so that a failure never destroys it: the bytes go to a
// temporary file beside it, which replaces the old file only when every byte
// was written.

#include <QByteArrayView>
#include <QString>

namespace kv::text {

// False on any failure (the old file then stays as it was), with the
// system's reason in `error`.
bool saveFileSafely(const QString &path, QByteArrayView bytes, QString *error = nullptr);

} // namespace kv::text
