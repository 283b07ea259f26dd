#pragma once
// Drawing of the tickets in memory. The window, the command line and the tests
// share this code: parameters in, tickets and the messages the user must see
// out. The random numbers come from the process-wide source (RandomSource.h).

#include "CountRules.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::generator {

// The working record of the generator: one per question of the base and one
// per ticket place. Texts are Windows-1251.
struct hb
{
    std::int16_t NPOR = 0;
    std::int16_t NGRUPPY = 0;
    std::int16_t NBILETA = 0;  // question: use mark (ticket that took it last); place: ticket
    std::int16_t NVOPROSA = 0; // place: number of the question inside its ticket
    std::string VOPROS;
    std::string VOPRMEMO;
};

// A question as read from the questions table; a missing number or text is
// std::nullopt.
struct SourceQuestion
{
    std::optional<std::int64_t> NPOR;
    std::optional<std::int64_t> NGRUPPY;
    std::optional<std::string> VOPROS;
    std::optional<std::string> VOPRMEMO;
};

// Ordering of the questions inside a ticket (the radio group's index).
enum class TicketOrder { ByNumber = 0, ByGroup = 1, None = -1 };

// The generation tab's parameters as the run reads them.
struct GenerationParams
{
    std::string ticketCountText;               // EditKB
    std::string questionsPerTicketText;        // EditKVB
    bool allowRepeats = false;                 // CheckBox1
    bool allowGroupRepeats = false;            // CheckBox3
    bool useGroupCounts = false;               // CheckBox6
    std::string groupCountsText;               // EditKV (Windows-1251)
    bool orderQuestions = true;                // CheckBox2
    TicketOrder order = TicketOrder::ByNumber; // RadioGroup1
};

// A message box of the run (UTF-8 texts). `title` empty means the plain box
// titled with the application's title.
struct GenerationMessage
{
    std::string title;
    std::string text;
};

inline constexpr int kMaxGroupIndex = 100; // the counts table holds groups 0..100

// Messages of the run.
extern const char *const kTitleAttention;   // "ВНИМАНИЕ"
extern const char *const kTitleError;       // "ОШИБКА !!!"
extern const char *const kRelaxRepeatsText; // "... повтор вопросов с билета №"
extern const char *const kRelaxGroupsText; // "... повтор групп с билета №"
extern const char *const kSumErrorText;
extern const char *const kGeneralErrorText; // "Ошибка генерации билетов"
extern const char *const kStoppedText;      // the run was stopped by the user

// The two boxes a run may check and clear again.
enum class RuleBox { Repeats = 1, Groups = 3 };

// One change of a box by the run, in the order it happened.
struct BoxChange
{
    RuleBox box;
    bool checked;
    bool operator==(const BoxChange &) const = default;
};

// Called while the run goes on, in this order for a relaxation: the message,
// then the box it checks (1 = repeats box, 3 = group box). The window shows
// the message modally, so the box is checked after the user's OK.
struct GenerationCallbacks
{
    std::function<void(const GenerationMessage &)> showMessage;
    std::function<void(RuleBox box, bool checked)> setBox;
    // After each ticket is drawn: `done` of `total` tickets. Optional; the
    // drawing is the same with or without it. Returning false stops the run
    // there: nothing is stored and the run ends with kStoppedText.
    std::function<bool(int done, int total)> progress{};
};

struct GenerationResult
{
    bool ok = false;                         // drawn (RunGeneration: and stored)
    int tickets = 0;                         // T
    int questionsPerTicket = 0;              // K
    std::vector<hb> places;                  // T x K, ticket-major, ordered if asked
    std::vector<GenerationMessage> messages; // every message shown, in order
    bool relaxedRepeats = false;             // the run checked the repeats box
    bool relaxedGroups = false;              // the run checked the group box
    std::vector<BoxChange> boxChanges;       // every check and clear, in order
    bool stored = false;                     // the tickets table holds this set
};

// The per-group counts read from the counts text: counts[g] for groups 0..100.
struct GroupCounts
{
    std::vector<std::int64_t> counts = std::vector<std::int64_t>(kMaxGroupIndex + 1, 0);
    std::int64_t checkedSum = 0;
};

// Splits the counts text at single spaces (runs of spaces count as one),
// reads each item as a whole number; positions up to `groupCount` enter the
// checked sum. Throws std::invalid_argument for an unreadable item and
// std::out_of_range for a position beyond 100.
GroupCounts ParseGroupCounts(const std::string &text, int groupCount);

// Reads one item of the counts text as a whole number in the 32-bit range;
// nullopt when it is none.
std::optional<std::int64_t> ReadWholeNumber(const std::string &text);

// The whole drawing: questions in the table's natural order, `groupCount` the
// number of group records (read only for per-group counts). Shows its
// messages through `callbacks` and lists them in the result. A run that ends
// without tickets clears the boxes it checked; after a successful one the
// caller stores the tickets and then calls FinishGeneration (RunGeneration
// in GenerationRun.h does all of it).
GenerationResult GenerateTickets(const std::vector<SourceQuestion> &questions, int groupCount,
                                 const GenerationParams &params,
                                 const GenerationCallbacks &callbacks = {});

// Puts the questions inside each ticket in ascending order of the key by the
// exchange procedure of the program (equal keys do not keep their order).
void OrderTickets(std::vector<hb> &places, int tickets, int questionsPerTicket, TicketOrder order);

// At the end of a run: clears the boxes the run checked (the group box, then
// the repeats box), through the callbacks and in `result.boxChanges`.
// GenerateTickets does it itself for a run that ends without tickets.
void FinishGeneration(GenerationResult &result, const GenerationCallbacks &callbacks);

} // namespace kv::generator
