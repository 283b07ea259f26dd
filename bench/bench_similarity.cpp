// Similarity analysis over a base of 5,000 questions of about fifteen words
// (12,497,500 pairs): the analysis that splits every text once, beside the
// same listing made the plain way, splitting both texts again for every pair.
#include "core/analysis/Similarity.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace kv::analysis;

namespace {

constexpr int kQuestions = 5000;
constexpr int kPercent = 70;

// Russian-looking words: a few hundred stems with endings, so that many
// words share their beginnings and earn partial scores.
std::vector<AnalysisQuestion> makeBase()
{
    std::mt19937 rng(20240501);
    auto letter = [&] { return char(0xE0 + rng() % 32); }; // а..я
    std::vector<std::string> stems;
    for (int i = 0; i < 400; ++i) {
        std::string s;
        const int len = 3 + int(rng() % 5);
        for (int k = 0; k < len; ++k)
            s += letter();
        stems.push_back(s);
    }
    const std::vector<std::string> endings = {
        "", "\xE0", "\xEE", "\xFB", "\xE0\xEC\xE8", "\xEE\xE2", "\xE5\xE9", "\xE8\xFF"};
    std::vector<AnalysisQuestion> base;
    for (int q = 0; q < kQuestions; ++q) {
        std::string text;
        const int words = 12 + int(rng() % 7);
        for (int w = 0; w < words; ++w) {
            if (w > 0)
                text += (rng() % 10 == 0) ? ", " : " ";
            std::string word = stems[rng() % stems.size()] + endings[rng() % endings.size()];
            if (w == 0)
                word[0] = char(static_cast<unsigned char>(word[0]) - 32); // capital
            text += word;
        }
        text += "?";
        base.push_back({q + 1, text});
    }
    // A few near-copies, so that the listing is not empty.
    for (int q = 0; q + 1 < kQuestions; q += 97)
        base[q + 1].VOPRMEMO = base[q].VOPRMEMO + " \xE8";
    return base;
}

const std::vector<AnalysisQuestion> &base()
{
    static const std::vector<AnalysisQuestion> b = makeBase();
    return b;
}

// Every pair compared from the texts, as the window once did it.
std::vector<std::string> splitEveryPair(const std::vector<AnalysisQuestion> &qs, int percent)
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

void BM_WordsSplitOnce(benchmark::State &state)
{
    const auto &qs = base();
    std::size_t lines = 0;
    for (auto _ : state) {
        AnalysisResult r = AnalyseSimilarity(qs, kPercent);
        lines = r.lines.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["pairs"] = double(qs.size()) * double(qs.size() - 1) / 2;
    state.counters["lines"] = double(lines);
}

void BM_WordsSplitPerPair(benchmark::State &state)
{
    const auto &qs = base();
    std::vector<std::string> r;
    for (auto _ : state) {
        r = splitEveryPair(qs, kPercent);
        benchmark::DoNotOptimize(r);
    }
    state.counters["pairs"] = double(qs.size()) * double(qs.size() - 1) / 2;
    state.counters["lines"] = double(r.size());
    if (r != AnalyseSimilarity(qs, kPercent).lines)
        state.SkipWithError("the two ways list different pairs");
}

} // namespace

BENCHMARK(BM_WordsSplitOnce)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WordsSplitPerPair)->Unit(benchmark::kMillisecond)->Iterations(1);
