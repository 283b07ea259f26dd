// Similarity of question texts: word splitting, the single-precision score
// at the threshold, and the listing of similar pairs.
#include "core/analysis/Similarity.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <random>

using namespace kv::analysis;

namespace {

// Test texts are written in UTF-8 and handed to the core as Windows-1251.
std::string cp(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

std::vector<std::string> cpList(std::initializer_list<const char *> utf8)
{
    std::vector<std::string> out;
    for (const char *s : utf8)
        out.push_back(cp(s));
    return out;
}

// Words with distinct first letters, rotated by one place: every word is
// found, but never at its own position, so each earns 0.7 and nothing else.
std::pair<std::string, std::string> rotatedWords(int count)
{
    static const char *first = "abcdefghijklmnopqrstuvwxyz";
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i)
        words.push_back(i < 26 ? std::string(1, first[i]) + "xy"
                               : std::string(1, char(0xE0 + i)) + "xy");
    std::string a;
    std::string b;
    for (int i = 0; i < count; ++i) {
        a += words[i] + " ";
        b += words[(i + 1) % count] + " ";
    }
    return {a, b};
}

std::vector<std::string> literalListing(const std::vector<AnalysisQuestion> &qs, int percent)
{
    std::vector<std::string> lines;
    for (std::size_t j = 0; j < qs.size(); ++j) {
        bool listed = false;
        for (std::size_t k = j + 1; k < qs.size(); ++k) {
            if (!QuestionsSimilar(qs[j].VOPRMEMO, qs[k].VOPRMEMO, percent))
                continue;
            if (!listed)
                AppendListingEntry(lines, qs[j].NPOR, qs[j].VOPRMEMO);
            listed = true;
            AppendListingEntry(lines, qs[k].NPOR, qs[k].VOPRMEMO);
        }
        if (listed)
            lines.emplace_back();
    }
    return lines;
}

} // namespace

TEST(SplitWords, SeparatorsMarksAndCase)
{
    struct Case
    {
        const char *text;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"Что такое  пол-года, ДРУГ?", cpList({"что", "такое", "полгода", "друг"})},
        {"первая\r\nвторая\nтретья\rчетвёртая",
         cpList({"первая", "вторая", "третья", "четвёртая"})},
        {"ЁЖ Ђак ЇЄІЎ QWERTY", cpList({"ёж", "ђак", "їєіў", "qwerty"})},
        // Every ignored mark is read through; other marks and tabs stay.
        {"a.b,c-d;e!f?g(h)i+j=k[l]m*n%o$p@q\"r:s§t", cpList({"abcdefghijklmnopqrst"})},
        {"a/b #1 x\ty", cpList({"a/b", "#1", "x\ty"})},
        {".,-;!?()+=[]*%$@\":§", {}},
        {"   \r\n  ", {}},
        // A tab-only word counts in the middle but not at the end.
        {"\t слово \t", cpList({"\t", "слово"})},
        {"слово\t", cpList({"слово\t"})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitWords(cp(c.text)), c.words) << c.text;
}

TEST(QuestionsSimilar, RulesAtAndAroundThresholds)
{
    struct Case
    {
        const char *a;
        const char *b;
        int percent;
        bool similar;
    };
    const std::vector<Case> cases = {
        // 100: equal after trimming, letter case counts.
        {"  Что такое вектор?\r\n", "Что такое вектор?", 100, true},
        {"Что такое вектор?", "что такое вектор?", 100, false},
        {"Что такое вектор?", "что такое вектор?", 99, true},
        {"Что такое вектор", "Что такое вектор?", 100, false},
        // 0: everything.
        {"вектор", "", 0, true},
        // Identical texts with a word score at least 1.
        {"один два три", "один два три", 1, true},
        {"один два три", "один два три", 99, true},
        {"один один один", "один один один", 99, true},
        // Same words, each at another place: 3 x 0.7 = 2.0999999f, 0.69999999.
        {"alpha beta gamma", "gamma alpha beta", 70, false},
        {"alpha beta gamma", "gamma alpha beta", 69, true},
        // Same position, four common leading letters of five: (4-1)/5 = 0.6.
        {"abcde", "abcdx", 60, true},
        {"abcde", "abcdx", 61, false},
        // Other position: 0.6 * 0.3 = 0.18, over two words 0.09.
        {"abcde zzzzz", "qqqqq abcdx", 9, true},
        {"abcde zzzzz", "qqqqq abcdx", 10, false},
        // A leading part of the other word earns nothing.
        {"abcd", "abcde", 1, false},
        // Punctuation inside and after a word does not split it.
        {"пол-года", "полгода", 99, true},
        {"слово,", "слово", 99, true},
        {"Слово", "СЛОВО", 99, true},
        // Not symmetric: the first text's words are scored.
        {"один", "один один один", 57, false}, // 1.7 / 3
        {"один один один", "один", 57, true},  // 2.4 / 3
        // Neither text has a word: not similar, except at 0 and equal at 100.
        {"", "...", 50, false},
        {"", "...", 1, false},
        {"", "...", 0, true},
        {" ", "\r\n", 100, true},
        {"", "...", 100, false},
        // One side without words scores 0.
        {"слово", "!!!", 1, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QuestionsSimilar(cp(c.a), cp(c.b), c.percent), c.similar)
            << c.a << " | " << c.b << " @" << c.percent;
}

TEST(QuestionsSimilar, SumIsKeptInSinglePrecision)
{
    // Three words elsewhere: the stored sum 2.0999999 and the score
    // 0.69999999 (0.7f); score x 100 taken in single precision would be 70.
    auto [a3, b3] = rotatedWords(3);
    EXPECT_EQ(SimilarityScore(SplitWords(a3), SplitWords(b3)), 0.7f);
    EXPECT_FALSE(QuestionsSimilar(a3, b3, 70));
    // Twenty-nine words elsewhere: the single-precision running sum drifts
    // up to 20.300001, a score of 0.70000005; a sum kept in double precision
    // would give 20.3 and a score of 0.69999999.
    auto [a29, b29] = rotatedWords(29);
    EXPECT_EQ(SimilarityScore(SplitWords(a29), SplitWords(b29)), 0.70000005f);
    EXPECT_TRUE(QuestionsSimilar(a29, b29, 70));
    EXPECT_FALSE(QuestionsSimilar(a29, b29, 71));
}

TEST(AnalyseSimilarity, ThreeMutuallySimilarQuestions)
{
    const std::vector<AnalysisQuestion> qs = {
        {1, cp("Закон Ома для участка цепи")},
        {7, cp("Единицы измерения")},
        {2, cp("Закон Ома для полной цепи")},
        {3, cp("Закон Ома для участка\r\nцепи")},
    };
    const AnalysisResult r = AnalyseSimilarity(qs, 60);
    const std::vector<std::string> expected = cpList({
        "1 § Закон Ома для участка цепи",
        "2 § Закон Ома для полной цепи",
        "3 § Закон Ома для участка",
        "цепи",
        "",
        "2 § Закон Ома для полной цепи",
        "3 § Закон Ома для участка",
        "цепи",
        "",
    });
    EXPECT_EQ(r.lines, expected);
    EXPECT_TRUE(r.complete);
}

TEST(AnalyseSimilarity, ZeroListsEveryPairAndHundredOnlyEqualTexts)
{
    const std::vector<AnalysisQuestion> qs = {
        {1, cp("а")}, {2, cp("б")}, {3, cp(" а ")}, {4, cp("А")}};
    EXPECT_EQ(AnalyseSimilarity(qs, 0).lines,
              cpList({"1 § а", "2 § б", "3 §  а ", "4 § А", "", "2 § б", "3 §  а ", "4 § А", "",
                      "3 §  а ", "4 § А", ""}));
    EXPECT_EQ(AnalyseSimilarity(qs, 100).lines, cpList({"1 § а", "3 §  а ", ""}));
}

TEST(AnalyseSimilarity, EmptyBaseAndWordlessQuestions)
{
    EXPECT_TRUE(AnalyseSimilarity({}, 50).lines.empty());
    EXPECT_TRUE(AnalyseSimilarity({{5, cp("один")}}, 0).lines.empty());
    // Pairs without words are not similar and do not stop the analysis.
    const std::vector<AnalysisQuestion> qs = {
        {1, ""}, {2, cp("?!")}, {3, cp("вектор")}, {4, cp("Вектор.")}};
    EXPECT_EQ(AnalyseSimilarity(qs, 50).lines, cpList({"3 § вектор", "4 § Вектор.", ""}));
}

TEST(AnalyseSimilarity, SameListingAsPairByPairComparison)
{
    // Words with many shared beginnings, marks and capitals, so that every
    // kind of word score occurs; the prepared analysis must list exactly
    // what comparing each pair of texts from scratch lists.
    const std::vector<std::string> vocabulary =
        cpList({"закон",    "законы",  "Закона", "зак",    "за",    "з",     "ома",  "Ом",
                "омметр",   "цепи",    "цепь",   "цепной", "abcde", "abcdx", "abcd", "ab",
                "пол-года", "полгода", "(цепи)", "ток,",   "\t",    "x\ty",  "ёж",   "ЁЖ"});
    std::mt19937 rng(12345);
    std::vector<AnalysisQuestion> qs;
    for (int q = 0; q < 60; ++q) {
        std::string text;
        const int words = int(rng() % 7);
        for (int w = 0; w < words; ++w) {
            text += vocabulary[rng() % vocabulary.size()];
            text += (rng() % 5 == 0) ? "\r\n" : " ";
        }
        qs.push_back({q + 1, text});
    }
    for (int percent : {0, 1, 18, 30, 50, 60, 69, 70, 90, 99, 100, 150}) {
        const std::vector<std::string> expected = literalListing(qs, percent);
        EXPECT_EQ(AnalyseSimilarity(qs, percent).lines, expected) << percent;
        if (percent == 50) { // the sample must exercise both outcomes
            EXPECT_FALSE(expected.empty());
        }
    }
}

TEST(AnalyseSimilarity, ProgressAndStop)
{
    std::vector<AnalysisQuestion> qs;
    for (int i = 1; i <= 5; ++i)
        qs.push_back({i, cp("один два")});
    const std::vector<std::string> full = AnalyseSimilarity(qs, 50).lines;

    std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
    AnalysisResult r = AnalyseSimilarity(qs, 50, [&](std::uint64_t done, std::uint64_t total) {
        calls.emplace_back(done, total);
        return AnalysisStep::Continue;
    });
    EXPECT_EQ(r.lines, full);
    EXPECT_TRUE(r.complete);
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> expectedCalls = {
        {4, 10}, {7, 10}, {9, 10}, {10, 10}, {10, 10}};
    EXPECT_EQ(calls, expectedCalls);

    // Stopping after the second question keeps its block whole.
    int seen = 0;
    r = AnalyseSimilarity(qs, 50, [&](std::uint64_t, std::uint64_t) {
        return ++seen == 2 ? AnalysisStep::Stop : AnalysisStep::Continue;
    });
    EXPECT_FALSE(r.complete);
    const std::vector<std::string> firstTwoBlocks(full.begin(), full.begin() + 6 + 5);
    EXPECT_EQ(r.lines, firstTwoBlocks);
}
