#include "BaseTables.h"

#include <QDir>
#include <QFileInfo>

namespace kv::base {

using dbf::FieldDef;
using dbf::FieldType;

std::vector<FieldDef> questionFields()
{
    return {{"NPOR", FieldType::Numeric, kIntegerWidth},
            {"NGRUPPY", FieldType::Numeric, kIntegerWidth},
            {"VOPROS", FieldType::Character, 254},
            {"VOPRMEMO", FieldType::Memo, int(dbf::kMemoPointerWidth)},
            {"SLOGNOST", FieldType::Numeric, kIntegerWidth},
            {"VAGNOST", FieldType::Numeric, kIntegerWidth}};
}

std::vector<FieldDef> groupFields()
{
    return {{"NGRUPPY", FieldType::Numeric, kIntegerWidth},
            {"NAMEGRUPPA", FieldType::Character, 254}};
}

std::vector<FieldDef> ticketFields()
{
    return {{"NBILETA", FieldType::Numeric, kSmallIntegerWidth},
            {"NVOPROSA", FieldType::Numeric, kSmallIntegerWidth},
            {"NPOR", FieldType::Numeric, kSmallIntegerWidth},
            {"NGRUPPY", FieldType::Numeric, kSmallIntegerWidth},
            {"SLOGNOST", FieldType::Numeric, kSmallIntegerWidth},
            {"VAGNOST", FieldType::Numeric, kSmallIntegerWidth},
            {"VOPROS", FieldType::Character, 254},
            {"VOPRMEMO", FieldType::Memo, int(dbf::kMemoPointerWidth)}};
}

namespace {

std::string inFolder(const QString &folder, const char *relative)
{
    return QDir(folder).filePath(QString::fromLatin1(relative)).toStdString();
}

void makeFolder(const QString &folder, const char *name)
{
    const std::string resolved = dbf::resolvePathIgnoringCase(inFolder(folder, name));
    if (QFileInfo(QString::fromStdString(resolved)).isDir())
        return;
    if (!QDir(folder).mkpath(QString::fromLatin1(name)))
        throw dbf::DbfError("Не удалось создать папку " + inFolder(folder, name));
}

} // namespace

void createMissingBaseTables(const QString &folder)
{
    makeFolder(folder, kSysFolder);
    makeFolder(folder, kBaseFolder);
    const std::pair<const char *, std::vector<FieldDef>> tables[] = {
        {kQuestionsFile, questionFields()},
        {kGroupsFile, groupFields()},
        {kTicketsFile, ticketFields()}};
    for (const auto &[file, fields] : tables) {
        const std::string path = inFolder(folder, file);
        const std::string resolved = dbf::resolvePathIgnoringCase(path);
        if (QFileInfo::exists(QString::fromStdString(resolved)))
            continue;
        // Put the new table in the Sys folder as it is spelled on disk.
        const std::string sys = dbf::resolvePathIgnoringCase(inFolder(folder, kSysFolder));
        const std::string name = std::string(file).substr(std::string(kSysFolder).size() + 1);
        dbf::DbfFile::create(sys + "/" + name, fields);
    }
}

bool canWorkInFolder(const QString &folder, QString *why)
{
    const QString sys =
        QString::fromStdString(dbf::resolvePathIgnoringCase(inFolder(folder, kSysFolder)));
    const QFileInfo info(sys);
    QString reason;
    if (!info.isDir())
        reason = QStringLiteral("В папке %1 нет папки Sys").arg(QDir::toNativeSeparators(folder));
    else if (!info.isReadable() || !info.isWritable() || !info.isExecutable())
        reason = QStringLiteral("Папка %1 недоступна для чтения и записи").arg(sys);
    if (why)
        *why = reason;
    return reason.isEmpty();
}

} // namespace kv::base
