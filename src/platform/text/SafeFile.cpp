#include "SafeFile.h"

#include <QSaveFile>

namespace kv::text {

bool saveFileSafely(const QString &path, QByteArrayView bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: a short write (a full disk, a size limit) shows in the
    // count write returns. Through the buffer it would be lost at commit and
    // a cut file would replace the old one.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qint64 done = 0;
    while (ok && done < bytes.size()) {
        const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? n : 0;
    }
    if (ok && file.commit())
        return true;
    if (error)
        *error =
            file.errorString().isEmpty() ? QStringLiteral("запись не удалась") : file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace kv::text
