#pragma once
// Drawing of the tickets in memory. The window, the command line and the tests
// share this code: parameters in, tickets and the messages the user must see
// out. The random numbers come from the process-wide source (RandomSource.h).

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

inline constexpr int kMaxCount = 32767; // ticket and place numbers are 16-bit
inline constexpr int kMaxGroupIndex = 100;

// Messages of the run.
extern const char *const kTitleAttention;   // "ВНИМАНИЕ"
extern const char *const kTitleError;       // "ОШИБКА !!!"
extern const char *const kRelaxRepeatsText; // "... повтор вопросов с билета №"
extern const char *const kRelaxGroupsText; // "... повтор групп с билета №"
extern const char *const kSumErrorText;
extern const char *const kGeneralErrorText; // "Ошибка генерации билетов"

// Called while the run goes on, in this order for a relaxation: the message,
// then the box it checks (1 = repeats box, 3 = group box).
struct GenerationCallbacks
{
    std::function<void(const GenerationMessage &)> showMessage;
    std::function<void(int box, bool checked)> setBox;
};

struct GenerationResult
{
    bool ok = false;                         // tickets were drawn; store them
    int tickets = 0;                         // T
    int questionsPerTicket = 0;              // K
    std::vector<hb> places;                  // T x K, ticket-major, ordered if asked
    std::vector<GenerationMessage> messages; // every message shown, in order
    bool relaxedRepeats = false;
    bool relaxedGroups = false;
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

// Reads a count field ("16"); nullopt when it is not a whole number.
std::optional<std::int64_t> ReadWholeNumber(const std::string &text);

// The whole drawing: questions in the table's natural order, `groupCount` the
// number of group records. Shows its messages through `callbacks` (and lists
// them in the result); restores at the end the boxes it checked.
GenerationResult GenerateTickets(const std::vector<SourceQuestion> &questions, int groupCount,
                                 const GenerationParams &params,
                                 const GenerationCallbacks &callbacks = {});

// Puts the questions inside each ticket in ascending order of the key by the
// exchange procedure of the program (equal keys do not keep their order).
void OrderTickets(std::vector<hb> &places, int tickets, int questionsPerTicket, TicketOrder order);

// Whether the repeats box must be forced on: fewer questions than T x K.
bool RepeatsForced(std::int64_t questionCount, std::int64_t tickets,
                   std::int64_t questionsPerTicket);

} // namespace kv::generator

namespace kv::generator {
// After the tickets were stored: clears the boxes the run checked (the group
// box, then the repeats box).
void FinishGeneration(const GenerationResult &result, const GenerationCallbacks &callbacks);
} // namespace kv::generator
