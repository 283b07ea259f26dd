#include "Cli.h"

#include "Args.h"
#include "Commands.h"

#include <QDir>
#include <QString>

#include <exception>

namespace kv::cli {
namespace {

void printUsage(std::ostream &os)
{
    os << "Использование: kvirton-cli [-C ПАПКА] КОМАНДА [ПАРАМЕТРЫ]\n"
          "Выполняет работу программы над рабочей папкой (текущей или ПАПКОЙ),\n"
          "в которой лежат Sys и Base.\n\nКоманды:\n";
    for (const Command &c : commands())
        os << "  " << c.synopsis << "\n";
    os << "\nkvirton-cli КОМАНДА --help описывает команду.\n";
}

const Command *findCommand(const std::string &name)
{
    for (const Command &c : commands())
        if (name == c.name)
            return &c;
    return nullptr;
}

} // namespace

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
        bool errIsTerminal)
{
    std::size_t i = 0;
    std::string folder;
    while (i < args.size() && args[i].size() > 1 && args[i][0] == '-') {
        const std::string &a = args[i];
        if (a == "--help" || a == "-h") {
            printUsage(out);
            return kExitOk;
        }
        if (a == "-C" && i + 1 < args.size()) {
            folder = args[i + 1];
            i += 2;
            continue;
        }
        err << "kvirton-cli: неизвестный параметр " << a << "\n";
        printUsage(err);
        return kExitUsage;
    }
    if (i >= args.size()) {
        printUsage(err);
        return kExitUsage;
    }
    const Command *command = findCommand(args[i]);
    if (!command) {
        err << "kvirton-cli: неизвестная команда " << args[i] << "\n";
        printUsage(err);
        return kExitUsage;
    }
    Context context{std::vector<std::string>(args.begin() + long(i) + 1, args.end()), out, err};
    context.errIsTerminal = errIsTerminal;
    for (const std::string &a : context.args) {
        if (a == "--help" || a == "-h") {
            out << "Использование: kvirton-cli [-C ПАПКА] " << command->synopsis << "\n\n"
                << command->help << "\n";
            return kExitOk;
        }
    }
    if (!folder.empty() && !QDir::setCurrent(QString::fromStdString(folder))) {
        err << "kvirton-cli: нет папки " << folder << "\n";
        return kExitFailed;
    }
    try {
        return command->run(context);
    } catch (const UsageError &e) {
        err << "kvirton-cli " << command->name << ": " << e.what() << "\n"
            << "Использование: kvirton-cli [-C ПАПКА] " << command->synopsis << "\n";
        return kExitUsage;
    } catch (const std::exception &e) {
        err << e.what() << "\n";
        return kExitFailed;
    }
}

} // namespace kv::cli
