#pragma once
// The rules that keep the generation tab's count fields consistent: reading a
// count, the "questions in all tickets" counter and the forced repeats box.
// Plain functions, so the window and the command line apply the same rules.
// Texts returned here are UTF-8 (they go straight to the user).

#include <cstdint>
#include <string>

namespace kv::generator {

// Ticket and place numbers are signed 16-bit values in the working records
// and in the tickets table.
inline constexpr std::int64_t kMaxCount = 32767;

// The message for a ticket count or questions-per-ticket count outside 0..32767.
extern const char *const kCountRangeText;

// How a count field reads.
struct CountReading
{
    enum Status { Ok, NotANumber, OutOfRange } status = NotANumber;
    std::int64_t value = 0; // valid when status is Ok
};

// Leading and trailing bytes 0..32 are ignored; an optional sign and then
// decimal digits only. A whole number outside 0..32767 is OutOfRange (also
// when it has more digits than any integer type holds).
CountReading ReadCount(const std::string &text);

// A count field that was emptied becomes "0"; any other text stays.
std::string NormaliseCountText(const std::string &text);

// What a change of either count field does to the tab.
struct CountState
{
    bool readable = false;      // both fields hold counts in 0..32767
    std::int64_t tickets = 0;   // T
    std::int64_t perTicket = 0; // K
    std::int64_t total = 0;     // T x K (at most 32767 x 32767, no overflow)
    bool repeatsForced = false; // the base holds fewer than T x K questions
    std::string totalLabel;     // "Всего вопросов в билетах - " + total
    std::string error;          // when not readable: what to tell the user
};

// The two count field texts and the number of question records in, the new
// state of the counter and of the repeats box out. When not readable the
// counter keeps its text and the repeats box is not re-evaluated.
CountState EvaluateCounts(const std::string &ticketsText, const std::string &perTicketText,
                          std::int64_t questionCount);

// Fewer questions in the base than the tickets need: repeats must be allowed.
bool RepeatsForced(std::int64_t questionCount, std::int64_t tickets,
                   std::int64_t questionsPerTicket);

// The repeats box after a count change: forced means checked and disabled;
// otherwise it is enabled and keeps its state (a box that was forced on
// stays checked until the user clears it).
struct RepeatsBoxState
{
    bool checked = false;
    bool enabled = true;
};
RepeatsBoxState RepeatsBoxAfterCountChange(bool checkedNow, bool forced);

// Counter texts of the tab.
std::string QuestionsInBaseLabel(std::int64_t questionCount); // "Всего вопросов в базе - N"
std::string GroupsLabel(std::int64_t groupCount);             // "Групп - N"
std::string QuestionsInTicketsLabel(std::int64_t total); // "Всего вопросов в билетах - N"

} // namespace kv::generator
