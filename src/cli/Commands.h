#pragma once
// The commands of kvirton-cli. Each command lives in its own file and is
// listed once in Commands.cpp.

#include "Cli.h"

#include <ostream>
#include <string>
#include <vector>

namespace kv::cli {

struct Context
{
    std::vector<std::string> args; // the command's own arguments
    std::ostream &out;             // UTF-8
    std::ostream &err;             // UTF-8
    bool errIsTerminal = false;    // progress lines may go to `err`
};

struct Command
{
    const char *name;
    const char *synopsis; // one line: usage of the command
    const char *help;     // what it does, its options
    int (*run)(Context &);
};

const std::vector<Command> &commands();

// Windows-1251 text of the base -> UTF-8 for the terminal.
std::string toUtf8(const std::string &cp1251);

int runInit(Context &);
int runDump(Context &);
int runImportQuestions(Context &);
int runImportGroups(Context &);
int runGenerate(Context &);
int runSimilar(Context &);
int runLoadBase(Context &);
int runSaveBase(Context &);
int runLayout(Context &);

} // namespace kv::cli
