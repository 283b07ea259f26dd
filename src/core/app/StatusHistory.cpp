#include "StatusHistory.h"

#include "core/import/TextList.h"
#include "platform/dbf/FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace kv::app {

namespace {

QString resolved(const QString &path)
{
    return QString::fromStdString(kv::dbf::resolvePathNoCase(path.toStdString()));
}

QString folderPath(const QString &folder)
{
    return resolved(folder + QLatin1Char('/') + QLatin1String(kStatusHistoryFolder));
}

} // namespace

QString statusHistoryPath(const QString &folder)
{
    return resolved(folderPath(folder) + QLatin1Char('/') + QLatin1String(kStatusHistoryFile));
}

QString loadStatusHistory(const QString &folder)
{
    const QString path = statusHistoryPath(folder);
    if (!QFileInfo(path).isFile())
        return {};
    return kv::import::readTextListFile(path);
}

bool saveStatusHistory(const QString &folder, const QString &text)
{
    QString path = statusHistoryPath(folder);
    if (!QFileInfo(path).isFile()) {
        const QString system = folderPath(folder);
        if (QFileInfo::exists(system) || !QDir().mkdir(system))
            return false;
        path = system + QLatin1Char('/') + QLatin1String(kStatusHistoryFile);
    }
    // The list writer ends every line, the last one included; a final empty
    // line of the text must stay a line of its own.
    kv::import::writeTextListFile(path, text.isEmpty() ? text : text + QLatin1Char('\n'));
    return true;
}

} // namespace kv::app
