#include "Numbering.h"

#include "platform/store/Table.h"

namespace kv::base {

NextQuestionNumbers nextQuestionNumbers(kv::store::Table &questions)
{
    NextQuestionNumbers next;
    questions.last();
    if (questions.recordCount() == 0)
        return next;
    next.npor = questions.integerField("NPOR").value_or(0) + 1;
    next.group = questions.integerField("NGRUPPY").value_or(1);
    return next;
}

std::int64_t nextGroupNumber(kv::store::Table &groups)
{
    groups.last();
    if (groups.recordCount() == 0)
        return 1;
    return groups.integerField("NGRUPPY").value_or(0) + 1;
}

} // namespace kv::base
