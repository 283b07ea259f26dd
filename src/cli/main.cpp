// kvirton-cli: the batch command line.
#include "Cli.h"

#include <QCoreApplication>

#include <iostream>

#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return kv::cli::run(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
