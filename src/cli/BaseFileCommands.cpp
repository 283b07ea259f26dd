// load-base FILE and save-base FILE [--force]: the base file commands.
#include "Args.h"
#include "Commands.h"

#include "core/basefile/BaseTransfer.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace kv::cli {
namespace {

std::string singlePath(const Args &args)
{
    if (args.positional().size() != 1)
        throw UsageError("укажите один файл базы");
    return args.positional()[0];
}

} // namespace

int runLoadBase(Context &context)
{
    const Args args(context.args, {}, {});
    const QString file = QFileInfo(QString::fromStdString(singlePath(args))).absoluteFilePath();
    QString error;
    if (!kv::basefile::loadBaseFile(QDir::currentPath(), file, &error))
        throw std::runtime_error(error.toStdString());
    return kExitOk;
}

int runSaveBase(Context &context)
{
    const Args args(context.args, {"--force"}, {});
    const QString file = QFileInfo(QString::fromStdString(singlePath(args))).absoluteFilePath();
    if (QFileInfo::exists(file) && !args.has("--force"))
        throw std::runtime_error("Файл уже существует: " + file.toStdString() +
                                 " (--force заменяет его)");
    QString error;
    if (!kv::basefile::saveBaseFile(QDir::currentPath(), file, &error))
        throw std::runtime_error(error.toStdString());
    return kExitOk;
}

} // namespace kv::cli
