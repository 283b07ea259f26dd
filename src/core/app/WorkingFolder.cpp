#include "WorkingFolder.h"

#include "core/base/BaseTables.h"
#include "platform/dbf/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace kv::app {

namespace {

bool holdsSysFolder(const QString &folder)
{
    const std::string resolved = dbf::resolvePathNoCase(base::tablePath(folder, base::kSysFolder));
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(resolved))).isDir();
}

} // namespace

QString chooseWorkingFolder(const QString &currentFolder, const QString &xdgDataHome,
                            const QString &homeFolder)
{
    if (holdsSysFolder(currentFolder))
        return currentFolder;
    // A relative XDG_DATA_HOME is invalid and is ignored.
    const QString dataHome = !xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)
                                 ? xdgDataHome
                                 : homeFolder + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QLatin1Char('/') + QLatin1String(kUserFolderName));
}

QString chooseWorkingFolder(const QString &currentFolder)
{
    return chooseWorkingFolder(currentFolder, qEnvironmentVariable("XDG_DATA_HOME"),
                               QDir::homePath());
}

QString enterWorkingFolder()
{
    const QString current = QDir::currentPath();
    const QString folder = chooseWorkingFolder(current);
    if (folder == current)
        return folder;
    if (!QDir().mkpath(folder))
        throw std::runtime_error("Не удалось создать рабочую папку " +
                                 QDir::toNativeSeparators(folder).toStdString());
    base::createMissingBaseTables(folder);
    if (!QDir::setCurrent(folder))
        throw std::runtime_error("Не удалось перейти в рабочую папку " +
                                 QDir::toNativeSeparators(folder).toStdString());
    return folder;
}

} // namespace kv::app
