#include "core/generator/CountRules.h"

#include <gtest/gtest.h>

using namespace kv::generator;

TEST(CountRules, RepeatsBoxFollowsTheBaseSize)
{
    // 100 questions: 12 x 9 = 108 forces the box on and locks it; 12 x 8 = 96
    // unlocks it and it stays checked until the user clears it.
    CountState s = EvaluateCounts("12", "9", 100);
    ASSERT_TRUE(s.readable);
    EXPECT_EQ(s.totalLabel, "Всего вопросов в билетах - 108");
    EXPECT_TRUE(s.repeatsForced);
    RepeatsBoxState box = RepeatsBoxAfterCountChange(false, s.repeatsForced);
    EXPECT_TRUE(box.checked);
    EXPECT_FALSE(box.enabled);

    s = EvaluateCounts("12", "8", 100);
    EXPECT_EQ(s.totalLabel, "Всего вопросов в билетах - 96");
    EXPECT_FALSE(s.repeatsForced);
    box = RepeatsBoxAfterCountChange(box.checked, s.repeatsForced);
    EXPECT_TRUE(box.checked);
    EXPECT_TRUE(box.enabled);
    EXPECT_FALSE(RepeatsBoxAfterCountChange(false, false).checked);

    // Exactly as many questions as places needs no repeats.
    EXPECT_FALSE(EvaluateCounts("10", "10", 100).repeatsForced);
}

TEST(CountRules, EmptyFieldsReadAsZero)
{
    EXPECT_EQ(NormaliseCountText(""), "0");
    EXPECT_EQ(NormaliseCountText("16"), "16");
    const CountState s = EvaluateCounts("", "9", 0);
    ASSERT_TRUE(s.readable);
    EXPECT_EQ(s.total, 0);
    EXPECT_EQ(s.totalLabel, "Всего вопросов в билетах - 0");
    EXPECT_FALSE(s.repeatsForced);
}

TEST(CountRules, PastedTextThatIsNoCountIsRefused)
{
    struct Case
    {
        const char *tickets, *perTicket;
        bool readable;
        const char *error;
    };
    const char *notNumber =
        "Количество билетов и количество вопросов в билете должны быть целыми числами.";
    const char *range =
        "Количество билетов и количество вопросов в билете должны быть числами от 0 до 32767.";
    for (const Case &c : {Case{"12a", "9", false, notNumber}, Case{"12", "-", false, notNumber},
                          Case{"32768", "1", false, range}, Case{"1", "-3", false, range},
                          Case{"99999999999999999999", "99999999999999999999", false, range},
                          Case{" 7 ", "+2", true, ""}}) {
        const CountState s = EvaluateCounts(c.tickets, c.perTicket, 100);
        EXPECT_EQ(s.readable, c.readable) << c.tickets << " x " << c.perTicket;
        EXPECT_EQ(s.error, c.error) << c.tickets << " x " << c.perTicket;
    }
    // The largest counts multiply without overflow.
    const CountState max = EvaluateCounts("32767", "32767", 100);
    ASSERT_TRUE(max.readable);
    EXPECT_EQ(max.totalLabel, "Всего вопросов в билетах - 1073676289");
    EXPECT_TRUE(max.repeatsForced);
}

TEST(CountRules, CounterTexts)
{
    EXPECT_EQ(QuestionsInBaseLabel(0), "Всего вопросов в базе - 0");
    EXPECT_EQ(GroupsLabel(12), "Групп - 12");
    EXPECT_EQ(QuestionsInTicketsLabel(144), "Всего вопросов в билетах - 144");
}
