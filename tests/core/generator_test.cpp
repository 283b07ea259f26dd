#include "core/generator/Generator.h"
#include "core/generator/RandomSource.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace kv::generator;

namespace {

// Groups of questions numbered 1.. in natural order: sizes[g-1] questions of group g.
std::vector<SourceQuestion> base(const std::vector<int> &sizes)
{
    std::vector<SourceQuestion> qs;
    for (std::size_t g = 0; g < sizes.size(); ++g)
        for (int i = 0; i < sizes[g]; ++i) {
            const auto n = std::int64_t(qs.size() + 1);
            qs.push_back(
                {n, std::int64_t(g + 1), "q" + std::to_string(n), "memo " + std::to_string(n)});
        }
    return qs;
}

GenerationParams params(int T, int K)
{
    GenerationParams p;
    p.ticketCountText = std::to_string(T);
    p.questionsPerTicketText = std::to_string(K);
    p.orderQuestions = false;
    return p;
}

std::vector<int> numbers(const GenerationResult &r)
{
    std::vector<int> out;
    for (const hb &e : r.places)
        out.push_back(e.NPOR);
    return out;
}

// Boxes as the window would hold them during a run.
struct Boxes
{
    std::map<int, bool> state;
    std::vector<std::string> shown;
    GenerationCallbacks callbacks()
    {
        return {[this](const GenerationMessage &m) { shown.push_back(m.title + "|" + m.text); },
                [this](int box, bool on) { state[box] = on; }};
    }
};

} // namespace

TEST(Generator, FirstPicksFollowTheRandomSequence)
{
    // Seed 0 gives 346, 13854878: indexes 346 % 3 = 1 and 13854878 % 3 = 2.
    SeedRandom(0);
    const auto r = GenerateTickets(base({1, 1, 1}), 3, params(1, 2));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(numbers(r), (std::vector<int>{2, 3}));
    EXPECT_EQ(r.places[1].NBILETA, 1);
    EXPECT_EQ(r.places[1].NVOPROSA, 2);
    EXPECT_EQ(r.places[1].VOPRMEMO, "memo 3");
}

TEST(Generator, ThreeGroupsUseEveryQuestionOnceWithoutMessages)
{
    SeedRandom(12345);
    const auto r = GenerateTickets(base({10, 10, 10}), 3, params(10, 3));
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    std::set<int> used;
    for (int t = 0; t < 10; ++t) {
        std::set<int> groups;
        for (int q = 0; q < 3; ++q) {
            groups.insert(r.places[t * 3 + q].NGRUPPY);
            used.insert(r.places[t * 3 + q].NPOR);
        }
        EXPECT_EQ(groups.size(), 3u);
    }
    EXPECT_EQ(used.size(), 30u);
    // Cross-checked with an independent model of the drawing.
    EXPECT_EQ(numbers(r),
              (std::vector<int>{23, 16, 10, 2,  12, 21, 28, 15, 1,  14, 26, 4,  30, 20, 7,
                                25, 3,  11, 13, 27, 9,  5,  17, 22, 19, 8,  24, 6,  29, 18}));
}

TEST(Generator, RepeatsRelaxedOnceAtTicketSix)
{
    SeedRandom(7);
    Boxes boxes;
    const auto r = GenerateTickets(base({5, 15}), 2, params(10, 2), boxes.callbacks());
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0],
              "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор вопросов с билета №6");
    EXPECT_TRUE(r.relaxedRepeats);
    EXPECT_FALSE(r.relaxedGroups);
    std::set<int> groupOneEarly;
    for (int t = 0; t < 10; ++t) {
        std::set<int> groups{r.places[t * 2].NGRUPPY, r.places[t * 2 + 1].NGRUPPY};
        EXPECT_EQ(groups, (std::set<int>{1, 2})) << "ticket " << t + 1;
        for (int q = 0; q < 2; ++q)
            if (r.places[t * 2 + q].NGRUPPY == 1) {
                if (t < 5)
                    EXPECT_TRUE(groupOneEarly.insert(r.places[t * 2 + q].NPOR).second);
                else
                    EXPECT_TRUE(groupOneEarly.count(r.places[t * 2 + q].NPOR));
            }
    }
    EXPECT_TRUE(boxes.state[1]); // checked during the run
    FinishGeneration(r, boxes.callbacks());
    EXPECT_FALSE(boxes.state[1]); // and cleared after it
}

TEST(Generator, BothRulesRelaxedForTicketOne)
{
    SeedRandom(99);
    Boxes boxes;
    const auto r = GenerateTickets(base({10, 10, 10}), 3, params(5, 4), boxes.callbacks());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{
                  "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор вопросов с билета №1",
                  "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор групп с билета №1"}));
    FinishGeneration(r, boxes.callbacks());
    EXPECT_FALSE(boxes.state[1]);
    EXPECT_FALSE(boxes.state[3]);
    for (int t = 0; t < 5; ++t) {
        std::set<int> inTicket;
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(inTicket.insert(r.places[t * 4 + q].NPOR).second);
    }
}

TEST(Generator, PerGroupCountsAreExactWhenTheSumIsK)
{
    SeedRandom(3);
    auto p = params(4, 7);
    p.useGroupCounts = true;
    p.allowGroupRepeats = true;
    p.groupCountsText = "  2   2  3 ";
    const auto r = GenerateTickets(base({10, 10, 15}), 3, p);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    for (int t = 0; t < 4; ++t) {
        std::map<int, int> perGroup;
        for (int q = 0; q < 7; ++q)
            ++perGroup[r.places[t * 7 + q].NGRUPPY];
        EXPECT_EQ(perGroup, (std::map<int, int>{{1, 2}, {2, 2}, {3, 3}}));
    }
}

struct CountsCase
{
    const char *text;
    int groups;
    int K;
    const char *message; // expected "title|text", "" for success
};

class GroupCountsErrors : public ::testing::TestWithParam<CountsCase>
{
};

TEST_P(GroupCountsErrors, StopBeforeDrawing)
{
    const CountsCase &c = GetParam();
    auto p = params(3, c.K);
    p.useGroupCounts = true;
    p.groupCountsText = c.text;
    SeedRandom(1);
    const auto r = GenerateTickets(base({10, 10, 10}), c.groups, p);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].title + "|" + r.messages[0].text, c.message);
    EXPECT_TRUE(r.places.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupCountsErrors,
    ::testing::Values(CountsCase{"2 2", 3, 7,
                                 "|Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп"},
                      CountsCase{"3 3 1", 2, 7,
                                 "|Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп"},
                      CountsCase{"2,2,3", 3, 7, "ОШИБКА !!!|Ошибка генерации билетов"},
                      CountsCase{"2\t2 3", 3, 7, "ОШИБКА !!!|Ошибка генерации билетов"}));

TEST(ParseGroupCounts, SpacesCommasAndPositions)
{
    const auto c = ParseGroupCounts("  2  2   3 ", 2);
    EXPECT_EQ(c.counts[1], 2);
    EXPECT_EQ(c.counts[2], 2);
    EXPECT_EQ(c.counts[3], 3); // stored, but beyond the group count
    EXPECT_EQ(c.checkedSum, 4);
    EXPECT_EQ(ParseGroupCounts("", 5).checkedSum, 0);
    EXPECT_THROW(ParseGroupCounts("2,2", 5), std::invalid_argument);
    std::string many;
    for (int i = 0; i < 101; ++i)
        many += "1 ";
    EXPECT_THROW(ParseGroupCounts(many, 200), std::out_of_range);
}

TEST(Generator, GroupWithoutCountIsNeverDrawn)
{
    auto qs = base({10, 10});
    qs.push_back({21, 0, "zero", "zero"});
    qs.push_back({22, 150, "far", "far"});
    auto p = params(5, 2);
    p.useGroupCounts = true;
    p.allowRepeats = true;
    p.groupCountsText = "1 1";
    SeedRandom(5);
    const auto r = GenerateTickets(qs, 2, p);
    ASSERT_TRUE(r.ok);
    for (const hb &e : r.places)
        EXPECT_TRUE(e.NGRUPPY == 1 || e.NGRUPPY == 2);
}

TEST(Generator, NullTextsBecomeThreeSpaces)
{
    SeedRandom(0);
    const auto r = GenerateTickets({{1, 1, std::nullopt, std::nullopt}}, 1, params(1, 1));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.places[0].VOPROS, "   ");
    EXPECT_EQ(r.places[0].VOPRMEMO, "   ");
}

TEST(Generator, ZeroCountsGiveNoPlaces)
{
    const auto r = GenerateTickets(base({3}), 1, params(0, 9));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.places.empty());
    EXPECT_TRUE(GenerateTickets({}, 0, params(5, 0)).ok);
}

// Runs that can never finish under the rules end with a message; nothing is drawn.
TEST(Generator, UnfillableRunsEndWithAMessage)
{
    SeedRandom(2);
    Boxes boxes;
    auto r = GenerateTickets(base({2}), 1, params(1, 3), boxes.callbacks());
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 3u); // both relaxations, then the failure
    EXPECT_EQ(r.messages[2].title, "ОШИБКА !!!");
    EXPECT_NE(r.messages[2].text.find("билет №1"), std::string::npos);
    EXPECT_FALSE(boxes.state[1]); // the boxes this run checked are cleared again
    EXPECT_FALSE(boxes.state[3]);

    r = GenerateTickets({}, 0, params(2, 2));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].text.find("нет вопросов"), std::string::npos);

    auto p = params(2, 3);
    p.useGroupCounts = true;
    p.groupCountsText = "3 3"; // only 2 questions in group 1, 0 in group 2 would need repeats
    EXPECT_FALSE(GenerateTickets(base({1, 1}), 2, p).ok);
}

TEST(Generator, CountsOutsideSixteenBitsAreRefused)
{
    for (const auto &[T, K] : std::vector<std::pair<const char *, const char *>>{
             {"32768", "1"}, {"1", "40000"}, {"99999999999", "1"}, {"-1", "2"}}) {
        GenerationParams p;
        p.ticketCountText = T;
        p.questionsPerTicketText = K;
        const auto r = GenerateTickets(base({3}), 1, p);
        EXPECT_FALSE(r.ok) << T << " x " << K;
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].title, "ОШИБКА !!!");
    }
    auto qs = base({2});
    qs[0].NPOR = 70000; // a running number outside 16 bits: the general error
    const auto r = GenerateTickets(qs, 1, params(1, 1));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages.at(0).text, "Ошибка генерации билетов");
}

TEST(Ordering, ExchangeProcedure)
{
    auto ticket = [](std::vector<std::pair<int, int>> groupAndNumber) {
        std::vector<hb> places;
        int q = 0;
        for (auto [g, n] : groupAndNumber)
            places.push_back({std::int16_t(n), std::int16_t(g), 1, std::int16_t(++q),
                              "v" + std::to_string(n), "m" + std::to_string(n)});
        return places;
    };
    auto byNumber = ticket({{1, 12}, {1, 3}, {1, 7}});
    OrderTickets(byNumber, 1, 3, TicketOrder::ByNumber);
    EXPECT_EQ(byNumber[0].NPOR, 3);
    EXPECT_EQ(byNumber[1].NPOR, 7);
    EXPECT_EQ(byNumber[2].NPOR, 12);
    EXPECT_EQ(byNumber[2].VOPRMEMO, "m12");
    EXPECT_EQ(byNumber[2].NVOPROSA, 3); // numbers stay with the places

    auto byGroup = ticket({{2, 5}, {2, 9}, {1, 7}});
    OrderTickets(byGroup, 1, 3, TicketOrder::ByGroup);
    EXPECT_EQ(byGroup[0].NPOR, 7);
    EXPECT_EQ(byGroup[1].NPOR, 9); // equal keys end up reversed
    EXPECT_EQ(byGroup[2].NPOR, 5);

    auto none = ticket({{2, 5}, {1, 7}});
    OrderTickets(none, 1, 2, TicketOrder::None);
    EXPECT_EQ(none[0].NPOR, 5);
}

TEST(CountRules, RepeatsForcedWhenTheBaseIsTooSmall)
{
    EXPECT_TRUE(RepeatsForced(100, 12, 9));
    EXPECT_FALSE(RepeatsForced(100, 12, 8));
    EXPECT_FALSE(RepeatsForced(0, 0, 9));
}
