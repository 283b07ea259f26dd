#include "GenerationRun.h"

#include "TicketStore.h"

#include "core/base/BaseTables.h"

#include <exception>

namespace kv::generator {

namespace {

const char *const kOldTicketsKept = "Прежние билеты сохранены без изменений.";

void report(GenerationResult &result, const GenerationCallbacks &callbacks,
            const GenerationMessage &message)
{
    result.messages.push_back(message);
    if (callbacks.showMessage)
        callbacks.showMessage(message);
}

} // namespace

GenerationTables GenerationTables::inFolder(const QString &folder)
{
    return {base::tablePath(folder, base::kQuestionsFile),
            base::tablePath(folder, base::kGroupsFile),
            base::tablePath(folder, base::kTicketsFile)};
}

GenerationResult RunGeneration(const GenerationTables &tables, const GenerationParams &params,
                               const GenerationCallbacks &callbacks)
{
    std::vector<SourceQuestion> questions;
    int groupCount = 0;
    try {
        questions = ReadQuestions(tables.questions);
        if (params.useGroupCounts)
            groupCount = CountRecords(tables.groups);
    } catch (const std::exception &e) {
        GenerationResult failed;
        report(failed, callbacks,
               {kTitleError,
                std::string(kGeneralErrorText) + "\n" + e.what() + "\n" + kOldTicketsKept});
        return failed;
    }

    GenerationResult result = GenerateTickets(questions, groupCount, params, callbacks);
    if (!result.ok)
        return result; // the boxes are already back
    try {
        StoreTickets(tables.tickets, result.places);
        result.stored = true;
    } catch (const std::exception &e) {
        result.ok = false;
        report(result, callbacks,
               {kTitleError,
                std::string(kGeneralErrorText) + "\n" + e.what() + "\n" + kOldTicketsKept});
    }
    FinishGeneration(result, callbacks);
    return result;
}

} // namespace kv::generator
