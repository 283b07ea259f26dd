// generate: draws and stores a ticket set as the generation tab does.
#include "Args.h"
#include "Commands.h"
#include "Progress.h"

#include "core/app/Settings.h"
#include "core/generator/CountRules.h"
#include "core/generator/GenerationRun.h"
#include "core/generator/RandomSource.h"
#include "core/generator/TicketStore.h"
#include "platform/dbf/FileLookup.h"
#include "platform/text/Cp1251.h"

#include <QDir>

#include <ctime>

namespace kv::cli {
namespace {

// The parameters as the window holds them after reading the settings file at
// start-up: a ticked per-group box has ticked the group box and chosen the
// order by group, then the stored order is applied last.
kv::generator::GenerationParams paramsFromSettings()
{
    using kv::generator::TicketOrder;
    const std::string file = kv::dbf::resolvePathNoCase(kv::app::kSettingsFile);
    const kv::app::ProgramSettings s = kv::app::LoadSettingsFile(QString::fromStdString(file));
    kv::generator::GenerationParams p;
    p.ticketCountText = s.EditKB.empty() ? "0" : s.EditKB;
    p.questionsPerTicketText = s.EditKVB.empty() ? "0" : s.EditKVB;
    p.groupCountsText = s.EditKV;
    p.allowRepeats = s.CheckBox1;
    p.allowGroupRepeats = s.CheckBox3 || s.CheckBox6;
    p.useGroupCounts = s.CheckBox6;
    p.orderQuestions = s.CheckBox2;
    p.order = s.RadioGroup1 == 0   ? TicketOrder::ByNumber
              : s.RadioGroup1 == 1 ? TicketOrder::ByGroup
                                   : TicketOrder::None;
    return p;
}

} // namespace

int runGenerate(Context &context)
{
    using namespace kv::generator;
    const Args args(context.args, {"--allow-repeats", "--allow-group-repeats"},
                    {"--tickets", "--questions", "--group-counts", "--order", "--seed"});
    if (!args.positional().empty())
        throw UsageError("лишний аргумент " + args.positional()[0]);

    GenerationParams params = paramsFromSettings();
    if (const auto t = args.number("--tickets"))
        params.ticketCountText = std::to_string(*t);
    if (const auto k = args.number("--questions"))
        params.questionsPerTicketText = std::to_string(*k);
    if (args.has("--allow-repeats"))
        params.allowRepeats = true;
    if (args.has("--allow-group-repeats"))
        params.allowGroupRepeats = true;
    if (const auto counts = args.value("--group-counts")) {
        // Ticking the per-group box also ticks the group box and orders by group.
        params.useGroupCounts = true;
        params.allowGroupRepeats = true;
        params.order = TicketOrder::ByGroup;
        params.groupCountsText = kv::text::toCp1251(QString::fromStdString(*counts));
    }
    if (const auto order = args.value("--order")) {
        if (*order == "number")
            params.order = TicketOrder::ByNumber, params.orderQuestions = true;
        else if (*order == "group")
            params.order = TicketOrder::ByGroup, params.orderQuestions = true;
        else if (*order == "none")
            params.orderQuestions = false;
        else
            throw UsageError("--order принимает number, group или none");
    }
    if (const auto seed = args.number("--seed"))
        SeedRandom(std::uint32_t(*seed));
    else
        SeedRandom(std::uint32_t(std::time(nullptr)));

    const GenerationTables tables = GenerationTables::inFolder(QDir::currentPath());
    // A base smaller than the tickets need forces repeats, as the count
    // fields of the tab do.
    const CountState counts = EvaluateCounts(params.ticketCountText, params.questionsPerTicketText,
                                             CountRecords(tables.questions));
    if (counts.readable && counts.repeatsForced)
        params.allowRepeats = true;

    TerminalProgress progress(context.err, context.errIsTerminal, "Генерация билетов");
    GenerationCallbacks callbacks;
    callbacks.progress = [&](int done, int total) {
        progress.update(std::uint64_t(done), std::uint64_t(total));
        return true;
    };
    callbacks.showMessage = [&](const GenerationMessage &m) {
        progress.clear();
        std::string line = m.text;
        for (char &c : line)
            if (c == '\n' || c == '\r')
                c = ' ';
        context.err << line << '\n';
    };
    const GenerationResult result = RunGeneration(tables, params, callbacks);
    progress.clear();
    if (!result.stored)
        return kExitFailed;
    context.out << "Билетов: " << result.tickets
                << ", вопросов в билете: " << result.questionsPerTicket << "\n";
    return kExitOk;
}

} // namespace kv::cli
