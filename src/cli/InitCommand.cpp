// init: prepares a working folder (Sys with the three empty tables, Base).
#include "Args.h"
#include "Commands.h"

#include "core/base/BaseTables.h"

#include <QDir>

namespace kv::cli {

int runInit(Context &context)
{
    const Args args(context.args, {}, {});
    if (!args.positional().empty())
        throw UsageError("команда init не принимает аргументов");
    kv::base::createMissingBaseTables(QDir::currentPath());
    return kExitOk;
}

} // namespace kv::cli
