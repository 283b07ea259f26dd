// Ticket generation on a large base: 10,000 questions in 100 groups, 1,000
// tickets of 10 questions, both rules in force, ordered by running number.
#include "core/base/BaseTables.h"
#include "core/generator/GenerationRun.h"
#include "core/generator/RandomSource.h"
#include "core/generator/TicketStore.h"
#include "platform/dbf/NewTableFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace kv;
using namespace kv::generator;

constexpr int kQuestions = 10000;
constexpr int kGroups = 100;

GenerationParams thousandTicketsOfTen()
{
    GenerationParams p;
    p.ticketCountText = "1000";
    p.questionsPerTicketText = "10";
    return p;
}

struct LargeBase
{
    QTemporaryDir dir;
    GenerationTables tables;

    LargeBase()
    {
        base::createMissingBaseTables(dir.path());
        tables = GenerationTables::inFolder(dir.path());
        dbf::NewTableFile questions(tables.questions, tables.questions, base::questionFields());
        for (int n = 1; n <= kQuestions; ++n) {
            const std::string text = "Вопрос номер " + std::to_string(n) + " о предмете";
            questions.appendRecord({std::int64_t{n},
                                    std::int64_t{(n - 1) % kGroups + 1},
                                    text,
                                    text + "\r\nс пояснением во второй строке",
                                    {},
                                    {}});
        }
        questions.commit();
    }
};

void BM_GenerateInMemory(benchmark::State &state)
{
    LargeBase large;
    const std::vector<SourceQuestion> questions = ReadQuestions(large.tables.questions);
    const GenerationParams params = thousandTicketsOfTen();
    SeedRandom(1);
    for (auto _ : state) {
        GenerationResult r = GenerateTickets(questions, kGroups, params);
        if (!r.ok)
            throw std::runtime_error("generation failed");
        benchmark::DoNotOptimize(r.places.data());
    }
}
BENCHMARK(BM_GenerateInMemory)->Unit(benchmark::kMillisecond);

// Reading the questions, drawing and replacing the tickets table.
void BM_GenerateAndStore(benchmark::State &state)
{
    LargeBase large;
    const GenerationParams params = thousandTicketsOfTen();
    SeedRandom(1);
    for (auto _ : state) {
        GenerationResult r = RunGeneration(large.tables, params);
        if (!r.stored)
            throw std::runtime_error("generation failed");
        state.counters["messages"] = double(r.messages.size());
    }
}
BENCHMARK(BM_GenerateAndStore)->Unit(benchmark::kMillisecond);

} // namespace
