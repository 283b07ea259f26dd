#include "BaseTables.h"

#include "platform/dbf/FileLookup.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/text/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

#include <unistd.h>

namespace kv::base {

namespace {

const int kTextWidth = static_cast<int>(text::kFieldWidth);

} // namespace

std::vector<dbf::FieldDef> questionFields()
{
    return {
        dbf::numericField("NPOR", kIntegerWidth),     dbf::numericField("NGRUPPY", kIntegerWidth),
        dbf::characterField("VOPROS", kTextWidth),    dbf::memoField("VOPRMEMO"),
        dbf::numericField("SLOGNOST", kIntegerWidth), dbf::numericField("VAGNOST", kIntegerWidth)};
}

std::vector<dbf::FieldDef> groupFields()
{
    return {dbf::numericField("NGRUPPY", kIntegerWidth),
            dbf::characterField("NAMEGRUPPA", kTextWidth)};
}

std::vector<dbf::FieldDef> ticketFields()
{
    return {dbf::numericField("NBILETA", kShortIntegerWidth),
            dbf::numericField("NVOPROSA", kShortIntegerWidth),
            dbf::numericField("NPOR", kShortIntegerWidth),
            dbf::numericField("NGRUPPY", kShortIntegerWidth),
            dbf::numericField("SLOGNOST", kShortIntegerWidth),
            dbf::numericField("VAGNOST", kShortIntegerWidth),
            dbf::characterField("VOPROS", kTextWidth),
            dbf::memoField("VOPRMEMO")};
}

std::string tablePath(const QString &folder, const char *relativeName)
{
    const std::string name = relativeName;
    if (folder.isEmpty())
        return name;
    std::string base = QFile::encodeName(folder).toStdString();
    if (base.back() != '/')
        base += '/';
    return base + name;
}

std::vector<std::string> createMissingBaseTables(const QString &folder)
{
    for (const char *sub : {kSysFolder, kBaseFolder}) {
        const std::string resolved = dbf::resolvePathNoCase(tablePath(folder, sub));
        const QString path = QFile::decodeName(QByteArray::fromStdString(resolved));
        if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
            throw std::runtime_error("Не удалось создать папку " + resolved);
    }
    struct Table
    {
        const char *name;
        std::vector<dbf::FieldDef> fields;
    };
    const Table tables[] = {{kQuestionsFile, questionFields()},
                            {kGroupsFile, groupFields()},
                            {kTicketsFile, ticketFields()}};
    std::vector<std::string> created;
    for (const Table &t : tables) {
        const std::string path = tablePath(folder, t.name);
        dbf::recoverInterruptedReplace(path);
        if (dbf::findFileNoCase(path))
            continue;
        dbf::NewTableFile file(path, t.name, t.fields);
        file.commit();
        created.push_back(t.name);
    }
    return created;
}

bool canWorkInFolder(const QString &folder, QString *why)
{
    const std::string sys = dbf::resolvePathNoCase(tablePath(folder, kSysFolder));
    const QString shown = QDir::toNativeSeparators(
        QFile::decodeName(QByteArray::fromStdString(tablePath(folder, kSysFolder))));
    auto fail = [&](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    if (!QFileInfo(QFile::decodeName(QByteArray::fromStdString(sys))).isDir())
        return fail(QStringLiteral("Не найдена папка %1").arg(shown));
    if (::access(sys.c_str(), R_OK | W_OK | X_OK) != 0)
        return fail(QStringLiteral("Нет доступа на чтение и запись к папке %1").arg(shown));
    if (why)
        why->clear();
    return true;
}

} // namespace kv::base
