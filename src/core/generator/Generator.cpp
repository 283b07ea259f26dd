#include "Generator.h"

#include "RandomSource.h"

#include "platform/text/TextHelpers.h"

#include <limits>
#include <stdexcept>

namespace kv::generator {

const char *const kTitleAttention = "ВНИМАНИЕ";
const char *const kTitleError = "ОШИБКА !!!";
const char *const kRelaxRepeatsText =
    "Не могу выполнить, поэтому включаю повтор вопросов с билета №";
const char *const kRelaxGroupsText = "Не могу выполнить, поэтому включаю повтор групп с билета №";
const char *const kSumErrorText = "Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп";
const char *const kGeneralErrorText = "Ошибка генерации билетов";
const char *const kStoppedText = "Генерация билетов прервана. Сохранённые билеты не изменены.";

namespace {

const char *const kTooManyCountsText =
    "Количество вопросов из групп можно задать не более чем для 100 групп.";
const char *const kEmptyBaseText = "В базе нет вопросов: билеты составить не из чего. "
                                   "Сохранённые билеты не изменены.";

// A failure the run reports with its own message and title.
struct RunStopped
{
    GenerationMessage message;
};

std::int16_t toInt16(std::optional<std::int64_t> value)
{
    const std::int64_t v = value.value_or(0);
    if (v < std::numeric_limits<std::int16_t>::min() ||
        v > std::numeric_limits<std::int16_t>::max())
        throw std::out_of_range("number outside the 16-bit range");
    return std::int16_t(v);
}

class Drawing
{
public:
    Drawing(std::vector<hb> &questions, std::vector<hb> &places, int K, const GroupCounts &counts,
            const GenerationParams &params, const GenerationCallbacks &callbacks,
            GenerationResult &result)
        : questions_(questions), places_(places), K_(K), counts_(counts), callbacks_(callbacks),
          result_(result), box1_(params.allowRepeats), box3_(params.allowGroupRepeats),
          box6_(params.useGroupCounts), repeatsAllowed_(params.allowRepeats)
    {
    }

    void fill(int t, int q)
    {
        const auto N = std::uint32_t(questions_.size());
        for (;;) {
            std::uint32_t c = 0;
            bool found = false;
            for (int draw = 0; draw < 3 && !found; ++draw) {
                c = RandomBelow(N);
                found = passes(c, t, q, true);
            }
            if (!found)
                found = scan(c, t, q);
            if (found) {
                place(c, t, q);
                return;
            }
            relax(t, q);
        }
    }

private:
    bool scan(std::uint32_t &c, int t, int q)
    {
        const auto N = std::int64_t(questions_.size());
        const bool ascendingFirst = NextRandom() % 2 == 1;
        const std::int64_t start = c;
        for (int pass = 0; pass < 2; ++pass) {
            const bool ascending = (pass == 0) == ascendingFirst;
            for (std::int64_t i = start; ascending ? i < N : i >= 0; i += ascending ? 1 : -1) {
                if (passes(std::uint32_t(i), t, q, false)) {
                    c = std::uint32_t(i);
                    return true;
                }
            }
        }
        return false;
    }

    bool passes(std::uint32_t c, int t, int q, bool strict) const
    {
        if (c >= questions_.size())
            return false;
        const hb &question = questions_[c];
        if (strict || !repeatsAllowed_) {
            if (question.NBILETA != 0)
                return false;
        } else if (question.NBILETA == t) {
            return false;
        }
        if (!box6_ && box3_)
            return true;
        const hb *ticket = &places_[std::size_t(t - 1) * std::size_t(K_)];
        int sameGroup = 0;
        for (int p = 0; p < q - 1; ++p)
            if (ticket[p].NGRUPPY == question.NGRUPPY)
                ++sameGroup;
        if (!box6_)
            return sameGroup == 0;
        const int g = question.NGRUPPY;
        const std::int64_t limit = (g >= 0 && g <= kMaxGroupIndex) ? counts_.counts[g] : 0;
        return sameGroup < limit;
    }

    void place(std::uint32_t c, int t, int q)
    {
        hb &question = questions_[c];
        hb &slot = places_[std::size_t(t - 1) * std::size_t(K_) + std::size_t(q - 1)];
        slot.NPOR = question.NPOR;
        slot.NGRUPPY = question.NGRUPPY;
        slot.VOPROS = question.VOPROS;
        slot.VOPRMEMO = question.VOPRMEMO;
        slot.NBILETA = std::int16_t(t);
        slot.NVOPROSA = std::int16_t(q);
        question.NBILETA = std::int16_t(t);
    }

    void relax(int t, int q)
    {
        if (!box1_) {
            show({kTitleAttention, kRelaxRepeatsText + std::to_string(t)});
            repeatsAllowed_ = true;
            box1_ = true;
            result_.relaxedRepeats = true;
            setBox(RuleBox::Repeats, true);
        } else if (!box3_) {
            show({kTitleAttention, kRelaxGroupsText + std::to_string(t)});
            box3_ = true;
            result_.relaxedGroups = true;
            setBox(RuleBox::Groups, true);
        } else {
            throw RunStopped{
                {kTitleError, "Не могу составить билет №" + std::to_string(t) + ": для вопроса №" +
                                  std::to_string(q) +
                                  " в базе нет подходящего вопроса даже с повтором "
                                  "вопросов и групп. Сохранённые билеты не изменены."}};
        }
    }

    void setBox(RuleBox box, bool checked)
    {
        result_.boxChanges.push_back({box, checked});
        if (callbacks_.setBox)
            callbacks_.setBox(box, checked);
    }

    void show(const GenerationMessage &message)
    {
        result_.messages.push_back(message);
        if (callbacks_.showMessage)
            callbacks_.showMessage(message);
    }

    std::vector<hb> &questions_;
    std::vector<hb> &places_;
    const int K_;
    const GroupCounts &counts_;
    const GenerationCallbacks &callbacks_;
    GenerationResult &result_;
    bool box1_, box3_, box6_;
    bool repeatsAllowed_;
};

// Clears the boxes this run checked: the group box first, then the repeats box.
void restoreBoxes(GenerationResult &result, const GenerationCallbacks &callbacks)
{
    auto clear = [&](RuleBox box) {
        result.boxChanges.push_back({box, false});
        if (callbacks.setBox)
            callbacks.setBox(box, false);
    };
    if (result.relaxedGroups)
        clear(RuleBox::Groups);
    if (result.relaxedRepeats)
        clear(RuleBox::Repeats);
}

} // namespace

std::optional<std::int64_t> ReadWholeNumber(const std::string &text)
{
    return kv::text::ParseInteger(text);
}

GroupCounts ParseGroupCounts(const std::string &text, int groupCount)
{
    GroupCounts result;
    const std::string trimmed = kv::text::Trim(text);
    std::string item;
    int p = 0;
    auto endItem = [&] {
        ++p;
        const auto value = ReadWholeNumber(item);
        if (!value)
            throw std::invalid_argument("not a whole number: " + item);
        if (p > kMaxGroupIndex)
            throw std::out_of_range("more than 100 group counts");
        result.counts[p] = *value;
        if (p <= groupCount)
            result.checkedSum += *value;
        item.clear();
    };
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c == ' ' && i > 0 && trimmed[i - 1] != ' ')
            endItem();
        else
            item.push_back(c);
    }
    if (!item.empty())
        endItem();
    return result;
}

void OrderTickets(std::vector<hb> &places, int tickets, int questionsPerTicket, TicketOrder order)
{
    if (order == TicketOrder::None)
        return;
    auto keyOf = [order](const hb &e) {
        return order == TicketOrder::ByNumber ? e.NPOR : e.NGRUPPY;
    };
    const auto K = std::size_t(questionsPerTicket);
    for (std::size_t t = 0; t < std::size_t(tickets); ++t) {
        hb *ticket = &places[t * K];
        for (std::size_t a = 0; a < K; ++a) {
            std::int16_t key = keyOf(ticket[a]);
            for (std::size_t b = a + 1; b < K; ++b) {
                if (keyOf(ticket[b]) < key) {
                    std::swap(ticket[a].NPOR, ticket[b].NPOR);
                    std::swap(ticket[a].NGRUPPY, ticket[b].NGRUPPY);
                    std::swap(ticket[a].VOPROS, ticket[b].VOPROS);
                    std::swap(ticket[a].VOPRMEMO, ticket[b].VOPRMEMO);
                    key = keyOf(ticket[a]);
                }
            }
        }
    }
}

GenerationResult GenerateTickets(const std::vector<SourceQuestion> &source, int groupCount,
                                 const GenerationParams &params,
                                 const GenerationCallbacks &callbacks)
{
    GenerationResult result;
    auto stop = [&](const GenerationMessage &message) {
        result.messages.push_back(message);
        if (callbacks.showMessage)
            callbacks.showMessage(message);
        result.ok = false;
        result.places.clear();
        return result;
    };
    try {
        std::vector<hb> questions(source.size());
        for (std::size_t i = 0; i < source.size(); ++i) {
            const SourceQuestion &s = source[i];
            questions[i].NPOR = toInt16(s.NPOR);
            questions[i].NGRUPPY = toInt16(s.NGRUPPY);
            questions[i].VOPROS = s.VOPROS.value_or("   ");
            questions[i].VOPRMEMO = s.VOPRMEMO.value_or("   ");
        }
        const CountReading tickets = ReadCount(params.ticketCountText);
        const CountReading perTicket = ReadCount(params.questionsPerTicketText);
        if (tickets.status == CountReading::NotANumber ||
            perTicket.status == CountReading::NotANumber)
            return stop({kTitleError, kGeneralErrorText});
        if (tickets.status != CountReading::Ok || perTicket.status != CountReading::Ok)
            return stop({kTitleError, kCountRangeText});
        const int T = int(tickets.value);
        const int K = int(perTicket.value);
        result.tickets = T;
        result.questionsPerTicket = K;
        GroupCounts counts;
        if (params.useGroupCounts) {
            try {
                counts = ParseGroupCounts(params.groupCountsText, groupCount);
            } catch (const std::out_of_range &) {
                return stop({kTitleError, kTooManyCountsText});
            }
            if (counts.checkedSum < K)
                return stop({"", kSumErrorText});
        }
        const std::size_t placeCount = std::size_t(T) * std::size_t(K);
        if (placeCount > 0 && questions.empty())
            return stop({kTitleError, kEmptyBaseText});
        result.places.assign(placeCount, hb{});
        Drawing drawing(questions, result.places, K, counts, params, callbacks, result);
        for (int t = 1; t <= T; ++t) {
            for (int q = 1; q <= K; ++q)
                drawing.fill(t, q);
            if (callbacks.progress && !callbacks.progress(t, T))
                throw RunStopped{{"", kStoppedText}};
        }
        if (params.orderQuestions)
            OrderTickets(result.places, T, K, params.order);
        result.ok = true;
        return result;
    } catch (const RunStopped &stopped) {
        stop(stopped.message);
        restoreBoxes(result, callbacks);
        return result;
    } catch (const std::exception &) {
        // Nothing was drawn: the boxes go back to what the user had set.
        stop({kTitleError, kGeneralErrorText});
        restoreBoxes(result, callbacks);
        return result;
    }
}

void FinishGeneration(GenerationResult &result, const GenerationCallbacks &callbacks)
{
    restoreBoxes(result, callbacks);
}

} // namespace kv::generator
