#pragma once
// Similarity of question texts: every question is compared with every later
// one, word by word, and the pairs whose similarity reaches a percentage are
// listed. Texts are Windows-1251 bytes. No widgets: the analysis window reads
// the questions from the table into AnalysisQuestion records, runs
// AnalyseSimilarity and shows the lines it returns.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::analysis {

// The separator between a question's number and its text in the listing:
// space, section sign (0xA7), space.
inline constexpr std::string_view kListingSeparator = " \xA7 ";

// The words of a text, in order, lower-cased. Space, CR and LF end a word;
// the nineteen marks . , - ; ! ? ( ) + = [ ] * % $ @ " : § are skipped
// without ending one (so "пол-года" is the word "полгода"); every other byte,
// tabs included, belongs to a word. A last word made only of bytes up to
// the space (tabs, control characters) is dropped.
std::vector<std::string> SplitWords(std::string_view text);

// The score of the words `w1` of a text against the words `w2` of another
// (not symmetric; may exceed 1 when words repeat). Each word u = w1[i] earns,
// against every word v = w2[e]:
//  - when u == v: 1 the first time at e == i, 0.7 the first time at e != i;
//  - otherwise (m / L) at e == i or (m / L) * 0.3 at e != i, where L is the
//    shorter length and m is one less than the number of leading bytes the
//    two have in common (0 when they share none or one is a prefix of the
//    other).
// The running sum is kept in single precision, each addition computed in
// double and rounded back; the score is the sum divided by the larger word
// count, rounded to single precision. Two word lists that are both empty
// score 0.
float SimilarityScore(const std::vector<std::string> &w1, const std::vector<std::string> &w2);

// Whether the texts `a` and `b` are similar at `percent`:
//  - at 100, when they are byte for byte equal after the bytes 0..32 are
//    removed from both ends (letter case counts);
//  - at 0, always;
//  - otherwise, when SimilarityScore of their words, times 100 (in double
//    precision) and truncated toward zero, is at least `percent`. A pair of
//    texts neither of which has a word scores 0 and is not similar.
bool QuestionsSimilar(std::string_view a, std::string_view b, int percent);

// One question as the analysis reads it from the questions table.
struct AnalysisQuestion
{
    std::int64_t NPOR = 0;
    std::string VOPRMEMO; // the full text, line breaks included
};

enum class AnalysisStep { Continue, Stop };

// Called after each question's comparisons with all later ones: `done` pairs
// of `total` = n * (n - 1) / 2 are compared. Returning Stop ends the analysis
// there (the lines listed so far are kept; a block is never cut).
using AnalysisProgress = std::function<AnalysisStep(std::uint64_t done, std::uint64_t total)>;

struct AnalysisResult
{
    // The listing, one display line per entry. For each question (in the
    // order given) that is similar to at least one later question: the line
    // "<NPOR> § <text>", then the same for every later similar question, then
    // an empty line. A text of several lines (CR LF, CR or LF) occupies
    // several entries; only its first carries the number.
    std::vector<std::string> lines;
    bool complete = true; // false when the progress callback stopped it
};

// Compares every question with every later one (the earlier one as the first
// text) and lists the similar pairs. `percent` is the window's percentage
// field read as a whole number; when the field does not hold one, the window
// lists nothing. Each text is split into words once; the
// result is the same as calling QuestionsSimilar for every pair. An empty
// list of questions gives an empty listing.
AnalysisResult AnalyseSimilarity(const std::vector<AnalysisQuestion> &questions, int percent,
                                 const AnalysisProgress &progress = {});

// Appends the listing entry "<npor> § <text>" to `lines`, one entry per line of
// the text.
void AppendListingEntry(std::vector<std::string> &lines, std::int64_t npor, std::string_view text);

} // namespace kv::analysis
