// similar [--percent P]: the listing of similar questions on stdout.
#include "Args.h"
#include "Commands.h"
#include "Progress.h"

#include "core/analysis/Similarity.h"
#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

namespace kv::cli {

int runSimilar(Context &context)
{
    const Args args(context.args, {}, {"--percent"});
    if (!args.positional().empty())
        throw UsageError("лишний аргумент " + args.positional()[0]);
    const long long percent = args.number("--percent").value_or(70);
    if (percent > 100)
        throw UsageError("--percent принимает число от 0 до 100");

    kv::store::Table table;
    table.setFileName(kv::base::kQuestionsFile);
    table.setReadOnly(true);
    table.open();
    std::vector<kv::analysis::AnalysisQuestion> questions;
    questions.reserve(std::size_t(table.recordCount()));
    const int npor = table.fieldIndex("NPOR");
    const int memo = table.fieldIndex("VOPRMEMO");
    for (int row = 0; row < table.recordCount(); ++row)
        questions.push_back({table.integerAt(row, npor).value_or(0), table.textAt(row, memo)});
    table.close();

    TerminalProgress progress(context.err, context.errIsTerminal, "Анализ");
    const kv::analysis::AnalysisResult result = kv::analysis::AnalyseSimilarity(
        questions, int(percent), [&](std::uint64_t done, std::uint64_t total) {
            progress.update(done, total);
            return kv::analysis::AnalysisStep::Continue;
        });
    progress.clear();
    for (const std::string &line : result.lines)
        context.out << toUtf8(line) << '\n';
    return kExitOk;
}

} // namespace kv::cli
