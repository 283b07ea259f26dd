// dump questions|groups|tickets: the records of one table, one per line.
#include "Args.h"
#include "Commands.h"

#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

#include <array>

namespace kv::cli {
namespace {

// Backslash, TAB, CR and LF inside a text become \\, \t, \r and \n.
std::string escapeField(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct DumpedTable
{
    const char *what;
    const char *fileName;
    std::vector<std::string> fields;
};

} // namespace

int runDump(Context &context)
{
    const Args args(context.args, {}, {});
    if (args.positional().size() != 1)
        throw UsageError("укажите одну таблицу: questions, groups или tickets");
    const std::array<DumpedTable, 3> tables = {{
        {"questions", kv::base::kQuestionsFile, {"NPOR", "NGRUPPY", "VOPROS", "VOPRMEMO"}},
        {"groups", kv::base::kGroupsFile, {"NGRUPPY", "NAMEGRUPPA"}},
        {"tickets",
         kv::base::kTicketsFile,
         {"NBILETA", "NVOPROSA", "NPOR", "NGRUPPY", "VOPROS", "VOPRMEMO"}},
    }};
    const DumpedTable *chosen = nullptr;
    for (const DumpedTable &s : tables)
        if (args.positional()[0] == s.what)
            chosen = &s;
    if (!chosen)
        throw UsageError("неизвестная таблица " + args.positional()[0] +
                         " (questions, groups или tickets)");

    kv::store::Table table;
    table.setFileName(chosen->fileName);
    table.setReadOnly(true);
    table.open();
    std::vector<int> columns;
    std::vector<bool> numeric;
    for (const std::string &name : chosen->fields) {
        const int index = table.fieldIndex(name);
        if (index < 0)
            throw kv::store::StoreError("В таблице " + std::string(chosen->fileName) +
                                        " нет поля " + name);
        columns.push_back(index);
    }
    const int count = table.recordCount();
    for (int row = 0; row < count; ++row) {
        std::string line;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i)
                line += '\t';
            const std::string &name = chosen->fields[i];
            if (name == "VOPROS" || name == "VOPRMEMO" || name == "NAMEGRUPPA") {
                line += escapeField(toUtf8(table.textAt(row, columns[i])));
            } else if (const auto n = table.integerAt(row, columns[i])) {
                line += std::to_string(*n);
            }
        }
        context.out << line << '\n';
    }
    table.close();
    return kExitOk;
}

} // namespace kv::cli
