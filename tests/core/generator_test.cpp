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
                [this](RuleBox box, bool on) { state[int(box)] = on; }};
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

// Worked by hand from the seed-0 sequence 346, 13854878, 1621890440,
// 816282396, 1778554774, 821126358, 1407482132, 991758756, 645372191,
// 865966906, 420905937, 2127885843, 521455204 over q1 (group 1), q2 (group 1),
// q3 (group 2), two tickets of two:
//  t1: 346%3=1 -> q2; 13854878%3=2 -> q3.
//  t2 place 1: 1621890440%3=2 (q3 used), 816282396%3=0 -> q1.
//  t2 place 2: draws 1, 0, 2 all used; scan from 2 with 991758756%2=0
//    (descending, then ascending) finds nothing: repeats relaxed for ticket 2.
//    Fresh draws 2, 1, 0 are all used; scan from 0 with 2127885843%2=1
//    (ascending): q1 is in this ticket, q2 shares its group, q3 passes.
TEST(Generator, ScanAndRelaxationConsumeTheSequenceExactly)
{
    SeedRandom(0);
    Boxes boxes;
    auto r = GenerateTickets({{1, 1, "a", "A"}, {2, 1, "b", "B"}, {3, 2, "c", "C"}}, 2,
                             params(2, 2), boxes.callbacks());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(numbers(r), (std::vector<int>{2, 3, 1, 3}));
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{
                  "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор вопросов с билета №2"}));
    EXPECT_EQ(NextRandom(), 521455204u); // nothing more was drawn than the above
    EXPECT_EQ(r.boxChanges, (std::vector<BoxChange>{{RuleBox::Repeats, true}}));
    FinishGeneration(r, boxes.callbacks());
    EXPECT_EQ(r.boxChanges,
              (std::vector<BoxChange>{{RuleBox::Repeats, true}, {RuleBox::Repeats, false}}));
    EXPECT_FALSE(boxes.state[1]);
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

    // The same draw with ordering by running number: each ticket ascending.
    SeedRandom(12345);
    auto ordered = params(10, 3);
    ordered.orderQuestions = true;
    const auto o = GenerateTickets(base({10, 10, 10}), 3, ordered);
    EXPECT_EQ(numbers(o),
              (std::vector<int>{10, 16, 23, 2, 12, 21, 1, 15, 28, 4, 14, 26, 7, 20, 30,
                                3,  11, 25, 9, 13, 27, 5, 17, 22, 8, 19, 24, 6, 18, 29}));
    EXPECT_EQ(o.places[2].NVOPROSA, 3);
    EXPECT_EQ(o.places[2].VOPRMEMO, "memo 23");
}

TEST(Generator, RepeatsRelaxedOnceAtTicketSix)
{
    SeedRandom(7);
    Boxes boxes;
    auto r = GenerateTickets(base({5, 15}), 2, params(10, 2), boxes.callbacks());
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0],
              "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор вопросов с билета №6");
    EXPECT_TRUE(r.relaxedRepeats);
    EXPECT_FALSE(r.relaxedGroups);
    // Pinned after the invariants below held (and an independent model agreed).
    EXPECT_EQ(numbers(r), (std::vector<int>{1,  15, 4,  20, 7, 5, 19, 3, 16, 2,
                                            12, 5,  10, 5,  1, 9, 13, 5, 17, 5}));
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
    auto r = GenerateTickets(base({10, 10, 10}), 3, params(5, 4), boxes.callbacks());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{
                  "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор вопросов с билета №1",
                  "ВНИМАНИЕ|Не могу выполнить, поэтому включаю повтор групп с билета №1"}));
    EXPECT_EQ(numbers(r), (std::vector<int>{22, 9,  15, 28, 24, 7,  19, 2,  23, 8,
                                            1,  20, 6,  12, 27, 17, 4,  16, 18, 25}));
    FinishGeneration(r, boxes.callbacks());
    EXPECT_FALSE(boxes.state[1]);
    EXPECT_FALSE(boxes.state[3]);
    EXPECT_EQ(r.boxChanges, (std::vector<BoxChange>{{RuleBox::Repeats, true},
                                                    {RuleBox::Groups, true},
                                                    {RuleBox::Groups, false},
                                                    {RuleBox::Repeats, false}}));
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
    EXPECT_EQ(numbers(r),
              (std::vector<int>{35, 22, 16, 15, 8,  21, 3,  6, 2,  23, 18, 30, 13, 27,
                                5,  19, 28, 1,  33, 24, 11, 4, 34, 14, 31, 26, 12, 10}));
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
    ::testing::Values(
        CountsCase{"2 2", 3, 7, "|Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп"},
        CountsCase{"3 3 1", 2, 7,
                   "|Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп"},
        CountsCase{"2,2,3", 3, 7, "ОШИБКА !!!|Ошибка генерации билетов"},
        CountsCase{"2\t2 3", 3, 7, "ОШИБКА !!!|Ошибка генерации билетов"},
        CountsCase{"1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 "
                   "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 "
                   "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                   3, 1,
                   "ОШИБКА !!!|Количество вопросов из групп можно задать не более "
                   "чем для 100 групп."},
        CountsCase{"2 99999999999 3", 3, 7, "ОШИБКА !!!|Ошибка генерации билетов"}));

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
    const std::string range = "ОШИБКА !!!|Количество билетов и количество вопросов в билете "
                              "должны быть числами от 0 до 32767.";
    const std::string general = "ОШИБКА !!!|Ошибка генерации билетов";
    struct Case
    {
        const char *T, *K;
        std::string expected;
    };
    for (const Case &c : std::vector<Case>{{"32768", "1", range},
                                           {"1", "40000", range},
                                           {"99999999999999999999999", "1", range},
                                           {"-1", "2", range},
                                           {"1x", "2", general},
                                           {"2", "", general}}) {
        GenerationParams p;
        p.ticketCountText = c.T;
        p.questionsPerTicketText = c.K;
        const auto r = GenerateTickets(base({3}), 1, p);
        EXPECT_FALSE(r.ok) << c.T << " x " << c.K;
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].title + "|" + r.messages[0].text, c.expected)
            << c.T << " x " << c.K;
    }
    // The largest counts are accepted (K beyond the base fails only when drawing).
    EXPECT_TRUE(GenerateTickets(base({3}), 1, params(32767, 0)).ok);

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
