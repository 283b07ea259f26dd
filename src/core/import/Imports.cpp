#include "Imports.h"

#include "core/base/Numbering.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"

#include <stdexcept>
#include <utility>

namespace kv::import {
namespace {

bool isBlankLine(const std::string &line)
{
    return kv::text::Trim(line).empty();
}

std::int64_t groupNumberOf(const std::string &text)
{
    const auto n = kv::text::ParseInteger(text);
    if (!n)
        throw std::runtime_error("«" + kv::text::fromCp1251(text).toStdString() +
                                 "» не является целым числом");
    return *n;
}

// Drops the record being appended after a failed step, so that no half-made
// record stays in the table: a pending new record is cancelled; one the
// view's insert steps (or an earlier post) already stored is removed, without
// the view's delete step, as this is no deletion by the user. Errors of this
// cleanup give way to the failure that caused it.
void discardNewRecord(kv::store::Table &table)
{
    try {
        if (table.state() == kv::store::TableState::Insert) {
            table.cancel();
            return;
        }
        if (table.isEditing())
            table.cancel();
        auto afterDelete = std::exchange(table.afterDelete, nullptr);
        try {
            table.remove();
        } catch (...) {
            table.afterDelete = std::move(afterDelete);
            throw;
        }
        table.afterDelete = std::move(afterDelete);
    } catch (...) {
    }
}

// Appends a record and fills it; a failure leaves no part of it behind.
template <class Fill> void appendRecord(kv::store::Table &table, Fill &&fill)
{
    table.append();
    try {
        fill();
    } catch (...) {
        discardNewRecord(table);
        throw;
    }
}

} // namespace

ImportResult importQuestions(kv::store::Table &questions, const std::vector<std::string> &lines,
                             QuestionImportOptions options)
{
    using kv::text::CutToFieldWidth;
    auto next = kv::base::nextQuestionNumbers(questions);
    ImportResult result;
    if (options.assignGroup && kv::text::Trim(options.groupText).empty())
        options.groupText = "1";
    // A group field that holds no number (it may be pasted) stops the import
    // before the first record rather than after a half-made one.
    if (options.assignGroup)
        groupNumberOf(options.groupText);
    for (const std::string &line : lines) {
        if (isBlankLine(line)) {
            ++next.group;
            if (options.assignGroup)
                options.groupText = std::to_string(groupNumberOf(options.groupText) + 1);
            continue;
        }
        const std::string text = CutToFieldWidth(line);
        appendRecord(questions, [&] {
            questions.setIntegerField("NPOR", next.npor);
            questions.setIntegerField(
                "NGRUPPY", options.assignGroup ? groupNumberOf(options.groupText) : next.group);
            questions.setTextField("VOPROS", text);
            questions.post();
            questions.edit();
            questions.setTextField("VOPRMEMO", text);
            questions.post();
        });
        ++next.npor;
        ++result.imported;
    }
    result.groupText = options.groupText;
    return result;
}

ImportResult importGroupNames(kv::store::Table &groups, const std::vector<std::string> &lines)
{
    std::int64_t next = kv::base::nextGroupNumber(groups);
    ImportResult result;
    for (const std::string &line : lines) {
        if (isBlankLine(line))
            continue;
        appendRecord(groups, [&] {
            groups.setIntegerField("NGRUPPY", next);
            groups.setTextField("NAMEGRUPPA", kv::text::CutToFieldWidth(line));
            groups.post();
        });
        ++next;
        ++result.imported;
    }
    return result;
}

} // namespace kv::import
