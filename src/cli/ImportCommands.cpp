// import-questions FILE [--group N] and import-groups FILE: the text imports
// of the import windows, with "Присвоить группу №" as --group.
#include "Args.h"
#include "Commands.h"

#include "core/base/BaseTables.h"
#include "core/import/Imports.h"
#include "core/import/TextList.h"
#include "platform/store/Table.h"

#include <stdexcept>

namespace kv::cli {
namespace {

std::vector<std::string> readLines(const std::string &file)
{
    QString bad;
    auto lines =
        kv::import::linesOf(kv::import::readTextListFile(QString::fromStdString(file)), &bad);
    if (!bad.isEmpty())
        throw std::runtime_error("В файле " + file +
                                 " есть символы, которые нельзя сохранить в базе (Windows-1251): " +
                                 bad.toStdString() + ". Ничего не загружено.");
    return lines;
}

std::string singleFile(const Args &args)
{
    if (args.positional().size() != 1)
        throw UsageError("укажите один файл");
    return args.positional()[0];
}

} // namespace

int runImportQuestions(Context &context)
{
    const Args args(context.args, {}, {"--group"});
    const std::string file = singleFile(args);
    kv::import::QuestionImportOptions options;
    if (const auto group = args.number("--group")) {
        options.assignGroup = true;
        options.groupText = std::to_string(*group);
    }
    const auto lines = readLines(file);
    kv::store::Table questions;
    questions.setFileName(kv::base::kQuestionsFile);
    questions.open();
    const auto result = kv::import::importQuestions(questions, lines, options);
    context.out << "Загружено вопросов: " << result.imported << "\n";
    return kExitOk;
}

int runImportGroups(Context &context)
{
    const Args args(context.args, {}, {});
    const auto lines = readLines(singleFile(args));
    kv::store::Table groups;
    groups.setFileName(kv::base::kGroupsFile);
    groups.open();
    const auto result = kv::import::importGroupNames(groups, lines);
    context.out << "Загружено названий групп: " << result.imported << "\n";
    return kExitOk;
}

} // namespace kv::cli
