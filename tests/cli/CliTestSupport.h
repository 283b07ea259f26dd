#pragma once
// Running kvirton-cli command lines in-process for the tests.

#include "cli/Cli.h"

#include <QDir>
#include <QFile>

#include <sstream>
#include <string>
#include <vector>

namespace kv::cli::support {

struct CliRun
{
    int code;
    std::string out, err;
};

// Runs a command line in-process; the current folder is restored afterwards.
inline CliRun cli(const std::vector<std::string> &args)
{
    const QString cwd = QDir::currentPath();
    std::ostringstream out, err;
    const int code = kv::cli::run(args, out, err);
    QDir::setCurrent(cwd);
    return {code, out.str(), err.str()};
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace kv::cli::support
