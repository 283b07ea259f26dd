#include "FileLookup.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace kv::dbf {

namespace {

bool exists(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

std::string join(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace

std::string resolvePathNoCase(const std::string &path)
{
    std::string normal = path;
    for (char &c : normal)
        if (c == '\\')
            c = '/';
    if (normal.empty() || exists(normal))
        return normal;

    std::string result = normal.front() == '/' ? "/" : "";
    std::size_t pos = 0;
    bool missing = false; // once a part is missing, the rest is kept as given
    while (pos <= normal.size()) {
        std::size_t slash = normal.find('/', pos);
        if (slash == std::string::npos)
            slash = normal.size();
        const std::string part = normal.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty())
            continue;
        std::string candidate = join(result, part);
        if (!missing && !exists(candidate) && part != "." && part != "..") {
            const QString wanted = QFile::decodeName(QByteArray::fromStdString(part));
            const QDir folder(QFile::decodeName(
                QByteArray::fromStdString(result.empty() ? std::string(".") : result)));
            const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::System | QDir::NoDotAndDotDot);
            bool found = false;
            for (const QString &entry : entries) {
                if (entry.compare(wanted, Qt::CaseInsensitive) == 0) {
                    candidate = join(result, QFile::encodeName(entry).toStdString());
                    found = true;
                    break;
                }
            }
            missing = !found;
        }
        result = candidate;
    }
    return result;
}

std::optional<std::string> findFileNoCase(const std::string &path)
{
    const std::string resolved = resolvePathNoCase(path);
    struct stat st
    {
    };
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return resolved;
}

std::string memoFileNameFor(const std::string &tablePath)
{
    std::string result = tablePath;
    const std::size_t slash = result.find_last_of("/\\");
    const std::size_t dot = result.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return result + ".DBT";
    const std::string ext = result.substr(dot + 1);
    const bool lower = !ext.empty() && ext.front() >= 'a' && ext.front() <= 'z';
    result.resize(dot + 1);
    return result + (lower ? "dbt" : "DBT");
}

} // namespace kv::dbf
