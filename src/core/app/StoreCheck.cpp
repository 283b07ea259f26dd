#include "core/app/StoreCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryFile>

namespace kv::app {

bool storeCanWorkInFolder(const std::string &folder)
{
    const QString sys = QDir(QString::fromStdString(folder)).filePath(QStringLiteral("Sys"));
    const QFileInfo info(sys);
    if (!info.isDir() || !info.isReadable() || !info.isWritable() || !info.isExecutable())
        return false;
    // Permission bits do not tell everything (read-only mounts): try a file.
    QTemporaryFile probe(QDir(sys).filePath(QStringLiteral("kvprobe_XXXXXX")));
    return probe.open();
}

} // namespace kv::app
