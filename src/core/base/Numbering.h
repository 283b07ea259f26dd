#pragma once
// Numbers a new record continues from: the last record in natural order.

#include <cstdint>

namespace kv::store {
class Table;
}

namespace kv::base {

struct NextQuestionNumbers
{
    std::int64_t npor = 1;  // last NPOR + 1; 1 for an empty table or a blank NPOR
    std::int64_t group = 1; // last NGRUPPY; 1 for an empty table or a blank NGRUPPY
};

// Moves `questions` to its last record and reads the numbers there.
NextQuestionNumbers nextQuestionNumbers(kv::store::Table &questions);

// Last NGRUPPY + 1 of `groups` (moved to its last record); 1 when empty or blank.
std::int64_t nextGroupNumber(kv::store::Table &groups);

} // namespace kv::base
