// The generator's progress callback: once per drawn ticket, in order, and
// without any effect on the drawing.
#include "core/generator/Generator.h"
#include "core/generator/RandomSource.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace kv::generator;

namespace {

std::vector<SourceQuestion> questions(int count, int groups)
{
    std::vector<SourceQuestion> qs;
    for (int n = 1; n <= count; ++n)
        qs.push_back({n, n % groups + 1, "q" + std::to_string(n), "m" + std::to_string(n)});
    return qs;
}

GenerationParams params(int tickets, int perTicket)
{
    GenerationParams p;
    p.ticketCountText = std::to_string(tickets);
    p.questionsPerTicketText = std::to_string(perTicket);
    return p;
}

} // namespace

TEST(GeneratorProgress, ReportsEachTicketAndDrawsTheSameTickets)
{
    // The second case runs out of questions and relaxes the repeats rule
    // midway: the progress goes on through the relaxed tickets.
    const std::pair<int, int> cases[] = {{6, 3}, {9, 4}};
    for (const auto &[tickets, perTicket] : cases) {
        const auto source = questions(24, 4);
        SeedRandom(77);
        const GenerationResult plain = GenerateTickets(source, 0, params(tickets, perTicket));
        std::vector<std::pair<int, int>> steps;
        GenerationCallbacks callbacks;
        callbacks.progress = [&](int done, int total) {
            steps.emplace_back(done, total);
            return true;
        };
        SeedRandom(77);
        const GenerationResult watched =
            GenerateTickets(source, 0, params(tickets, perTicket), callbacks);
        ASSERT_TRUE(plain.ok);
        ASSERT_TRUE(watched.ok);
        ASSERT_EQ(watched.places.size(), plain.places.size());
        for (std::size_t i = 0; i < plain.places.size(); ++i) {
            EXPECT_EQ(watched.places[i].NPOR, plain.places[i].NPOR) << i;
            EXPECT_EQ(watched.places[i].NBILETA, plain.places[i].NBILETA) << i;
        }
        EXPECT_EQ(watched.messages.size(), plain.messages.size());
        ASSERT_EQ(steps.size(), std::size_t(tickets));
        for (int t = 0; t < tickets; ++t)
            EXPECT_EQ(steps[std::size_t(t)], std::make_pair(t + 1, tickets));
    }
    // A run refused before drawing reports no progress.
    int calls = 0;
    GenerationCallbacks callbacks;
    callbacks.progress = [&](int, int) {
        ++calls;
        return true;
    };
    EXPECT_FALSE(GenerateTickets({}, 0, params(2, 2), callbacks).ok);
    EXPECT_EQ(calls, 0);

    // Stopped after the second ticket: nothing is kept, and the run says so.
    callbacks.progress = [&](int done, int) { return done < 2; };
    const GenerationResult stopped = GenerateTickets(questions(24, 4), 0, params(6, 3), callbacks);
    EXPECT_FALSE(stopped.ok);
    ASSERT_FALSE(stopped.messages.empty());
    EXPECT_EQ(stopped.messages.back().text, kStoppedText);
}
