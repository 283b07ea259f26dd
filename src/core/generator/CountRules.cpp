#include "CountRules.h"

#include "platform/text/TextHelpers.h"

namespace kv::generator {

const char *const kCountRangeText =
    "Количество билетов и количество вопросов в билете должны быть числами от 0 до 32767.";

CountReading ReadCount(const std::string &text)
{
    const std::string t = kv::text::Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    if (i == t.size())
        return {};
    std::int64_t value = 0;
    bool tooLarge = false;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return {};
        if (!tooLarge) {
            value = value * 10 + (t[i] - '0');
            tooLarge = value > kMaxCount;
        }
    }
    if (tooLarge || (negative && value != 0))
        return {CountReading::OutOfRange, 0};
    return {CountReading::Ok, value};
}

std::string NormaliseCountText(const std::string &text)
{
    return text.empty() ? std::string("0") : text;
}

CountState EvaluateCounts(const std::string &ticketsText, const std::string &perTicketText,
                          std::int64_t questionCount)
{
    CountState state;
    const CountReading tickets = ReadCount(NormaliseCountText(ticketsText));
    const CountReading perTicket = ReadCount(NormaliseCountText(perTicketText));
    if (tickets.status != CountReading::Ok || perTicket.status != CountReading::Ok) {
        const bool notANumber = tickets.status == CountReading::NotANumber ||
                                perTicket.status == CountReading::NotANumber;
        state.error = notANumber ? "Количество билетов и количество вопросов в билете должны "
                                   "быть целыми числами."
                                 : kCountRangeText;
        return state;
    }
    state.readable = true;
    state.tickets = tickets.value;
    state.perTicket = perTicket.value;
    state.total = tickets.value * perTicket.value;
    state.repeatsForced = RepeatsForced(questionCount, state.tickets, state.perTicket);
    state.totalLabel = QuestionsInTicketsLabel(state.total);
    return state;
}

bool RepeatsForced(std::int64_t questionCount, std::int64_t tickets,
                   std::int64_t questionsPerTicket)
{
    return questionCount < tickets * questionsPerTicket;
}

RepeatsBoxState RepeatsBoxAfterCountChange(bool checkedNow, bool forced)
{
    if (forced)
        return {true, false};
    return {checkedNow, true};
}

std::string QuestionsInBaseLabel(std::int64_t questionCount)
{
    return "Всего вопросов в базе - " + std::to_string(questionCount);
}

std::string GroupsLabel(std::int64_t groupCount)
{
    return "Групп - " + std::to_string(groupCount);
}

std::string QuestionsInTicketsLabel(std::int64_t total)
{
    return "Всего вопросов в билетах - " + std::to_string(total);
}

} // namespace kv::generator
