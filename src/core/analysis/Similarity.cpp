#include "Similarity.h"

#include "platform/text/TextCase.h"
#include "platform/text/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <unordered_map>

namespace kv::analysis {
namespace {

// Results at the threshold depend on every rounding of the running sum, so
// the arithmetic is pinned down here:
//  - the sum is a float; each addition is done in double (or wider) and the
//    result rounded back to float;
//  - a partial score (m / L) * factor is rounded to double before it is
//    added: it passes through a volatile so that the compiler cannot fuse the
//    multiplication and the addition into one multiply-add (which rounds once
//    and can move a sum across a float boundary);
//  - where floats may be held with excess precision, the rounding to float is
//    forced through memory as well.
inline float toSingle(double value)
{
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
    return static_cast<float>(value);
#else
    volatile float stored = static_cast<float>(value);
    return stored;
#endif
}

inline float addToSum(float sum, double amount)
{
    return toSingle(static_cast<double>(sum) + amount);
}

inline double partialScore(std::size_t m, std::size_t shorter, bool samePosition)
{
    volatile double part =
        static_cast<double>(m) / static_cast<double>(shorter) * (samePosition ? 1.0 : 0.3);
    return part;
}

constexpr double kEqualElsewhere = 0.7;

inline float finalScore(float sum, std::size_t size1, std::size_t size2)
{
    const std::size_t larger = std::max(size1, size2);
    if (larger == 0)
        return 0.0f; // neither text has a word: nothing is similar
    return toSingle(static_cast<double>(sum) / static_cast<double>(larger));
}

inline bool reaches(float score, int percent)
{
    return std::trunc(static_cast<double>(score) * 100.0) >= static_cast<double>(percent);
}

// The nineteen marks a word is read through: they neither end a word nor
// become part of one.
constexpr std::string_view kSkippedMarks = ".,-;!?()+=[]*%$@\":\xA7";

constexpr std::array<bool, 256> makeSkippedTable()
{
    std::array<bool, 256> t{};
    for (char c : kSkippedMarks)
        t[static_cast<unsigned char>(c)] = true;
    return t;
}

constexpr std::array<bool, 256> kSkipped = makeSkippedTable();
static_assert(kSkippedMarks.size() == 19);

// ---- The analysis over words prepared once per question ----

// A word of the prepared base. Equal words share one id. `head` is non-zero
// only for words of three or more bytes and holds their first two bytes: a
// differing word earns a partial score only when the first two bytes agree
// and the shorter word is at least three bytes long (otherwise m is 0, and
// adding 0 leaves the float sum unchanged).
struct PreparedWord
{
    std::uint32_t id = 0;
    std::uint32_t head = 0;
    std::size_t offset = 0; // into PreparedBase::bytes
    std::uint32_t length = 0;
};

struct PreparedBase
{
    std::string bytes;
    std::vector<PreparedWord> words;
    std::vector<std::size_t> first; // first word of question q; first[n] = words.size()

    std::size_t count(std::size_t q) const { return first[q + 1] - first[q]; }
    const PreparedWord *begin(std::size_t q) const { return words.data() + first[q]; }
};

PreparedBase prepareWords(const std::vector<AnalysisQuestion> &questions)
{
    PreparedBase base;
    std::unordered_map<std::string, std::uint32_t> ids;
    base.first.reserve(questions.size() + 1);
    for (const AnalysisQuestion &q : questions) {
        base.first.push_back(base.words.size());
        for (std::string &word : SplitWords(q.VOPRMEMO)) {
            PreparedWord w;
            w.offset = base.bytes.size();
            w.length = static_cast<std::uint32_t>(word.size());
            if (word.size() >= 3)
                w.head = ((static_cast<unsigned char>(word[0]) << 8) |
                          static_cast<unsigned char>(word[1])) +
                         1u;
            base.bytes += word;
            auto [it, added] = ids.try_emplace(std::move(word), std::uint32_t(ids.size()));
            w.id = it->second;
            base.words.push_back(w);
        }
    }
    base.first.push_back(base.words.size());
    return base;
}

float preparedScore(const PreparedBase &base, std::size_t a, std::size_t b)
{
    const PreparedWord *w1 = base.begin(a);
    const PreparedWord *w2 = base.begin(b);
    const std::size_t n1 = base.count(a);
    const std::size_t n2 = base.count(b);
    const char *bytes = base.bytes.data();
    float sum = 0.0f;
    for (std::size_t i = 0; i < n1; ++i) {
        const PreparedWord u = w1[i];
        bool same = false;
        bool other = false;
        for (std::size_t e = 0; e < n2; ++e) {
            const PreparedWord &v = w2[e];
            if (u.id == v.id) {
                if (i == e) {
                    if (!same) {
                        sum = addToSum(sum, 1.0);
                        same = true;
                    }
                } else if (!other) {
                    sum = addToSum(sum, kEqualElsewhere);
                    other = true;
                }
            } else if (u.head != 0 && u.head == v.head) {
                const std::size_t shorter = std::min(u.length, v.length);
                const char *p = bytes + u.offset;
                const char *q = bytes + v.offset;
                std::size_t x = 2;
                while (x < shorter && p[x] == q[x])
                    ++x;
                if (x < shorter) // else one is a prefix of the other: 0
                    sum = addToSum(sum, partialScore(x - 1, shorter, i == e));
            }
        }
    }
    return finalScore(sum, n1, n2);
}

} // namespace

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> list;
    std::string word;
    bool inside = false;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ' || b == '\r' || b == '\n') {
            if (inside) {
                list.push_back(text::LowerCase(word));
                inside = false;
            }
        } else if (kSkipped[b]) {
            continue;
        } else if (inside) {
            word.push_back(c);
        } else {
            word.assign(1, c);
            inside = true;
        }
    }
    if (inside && !text::Trim(word).empty())
        list.push_back(text::LowerCase(word));
    return list;
}

float SimilarityScore(const std::vector<std::string> &w1, const std::vector<std::string> &w2)
{
    float sum = 0.0f;
    for (std::size_t i = 0; i < w1.size(); ++i) {
        const std::string &u = w1[i];
        bool same = false;
        bool other = false;
        for (std::size_t e = 0; e < w2.size(); ++e) {
            const std::string &v = w2[e];
            if (u == v) {
                if (i == e) {
                    if (!same) {
                        sum = addToSum(sum, 1.0);
                        same = true;
                    }
                } else if (!other) {
                    sum = addToSum(sum, kEqualElsewhere);
                    other = true;
                }
                continue;
            }
            const std::size_t shorter = std::min(u.size(), v.size());
            std::size_t x = 0;
            while (x < shorter && u[x] == v[x])
                ++x;
            const std::size_t m = (x < shorter && x >= 1) ? x - 1 : 0;
            sum = addToSum(sum, partialScore(m, shorter, i == e));
        }
    }
    return finalScore(sum, w1.size(), w2.size());
}

bool QuestionsSimilar(std::string_view a, std::string_view b, int percent)
{
    if (percent == 100)
        return text::Trim(a) == text::Trim(b);
    if (percent == 0)
        return true;
    return reaches(SimilarityScore(SplitWords(a), SplitWords(b)), percent);
}

void AppendListingEntry(std::vector<std::string> &lines, std::int64_t npor, std::string_view text)
{
    std::string line = std::to_string(npor);
    line += kListingSeparator;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
        }
    }
    lines.push_back(std::move(line));
}

AnalysisResult AnalyseSimilarity(const std::vector<AnalysisQuestion> &questions, int percent,
                                 const AnalysisProgress &progress)
{
    AnalysisResult result;
    const std::size_t n = questions.size();
    const std::uint64_t total = n < 2 ? 0 : std::uint64_t(n) * (n - 1) / 2;

    // What a pair is decided on depends only on the percentage: the trimmed
    // texts at 100, nothing at 0, the words otherwise.
    std::vector<std::string> trimmed;
    PreparedBase words;
    if (percent == 100) {
        trimmed.reserve(n);
        for (const AnalysisQuestion &q : questions)
            trimmed.push_back(text::Trim(q.VOPRMEMO));
    } else if (percent != 0) {
        words = prepareWords(questions);
    }
    auto similar = [&](std::size_t j, std::size_t k) {
        if (percent == 100)
            return trimmed[j] == trimmed[k];
        if (percent == 0)
            return true;
        return reaches(preparedScore(words, j, k), percent);
    };

    std::uint64_t done = 0;
    for (std::size_t j = 0; j < n; ++j) {
        bool listed = false;
        for (std::size_t k = j + 1; k < n; ++k) {
            if (!similar(j, k))
                continue;
            if (!listed) {
                AppendListingEntry(result.lines, questions[j].NPOR, questions[j].VOPRMEMO);
                listed = true;
            }
            AppendListingEntry(result.lines, questions[k].NPOR, questions[k].VOPRMEMO);
        }
        if (listed)
            result.lines.emplace_back();
        done += n - 1 - j;
        if (progress && progress(done, total) == AnalysisStep::Stop && j + 1 < n) {
            result.complete = false;
            break;
        }
    }
    return result;
}

} // namespace kv::analysis
