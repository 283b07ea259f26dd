#pragma once
// Loading questions and group names from text lists into the tables. The
// records are appended through the views, so the views' insert steps run for
// each of them; the import then sets its own numbers over theirs.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::store {
class Table;
}

namespace kv::import {

struct QuestionImportOptions
{
    bool assignGroup = false; // "Присвоить группу №"
    std::string groupText;    // the group number field, as typed
};

struct ImportResult
{
    int imported = 0;
    std::string groupText; // the group number field afterwards
};

// One question per non-blank line; a blank line (after trimming codes 0..32)
// starts the next group. Throws the store's error, or std::runtime_error when
// the group number field holds no whole number (checked before the first
// record is appended); on a failure the earlier lines stay stored and the
// record of the failing line is not kept.
ImportResult importQuestions(kv::store::Table &questions, const std::vector<std::string> &lines,
                             QuestionImportOptions options);

// One group per non-blank line, numbered on from the last group.
ImportResult importGroupNames(kv::store::Table &groups, const std::vector<std::string> &lines);

} // namespace kv::import
