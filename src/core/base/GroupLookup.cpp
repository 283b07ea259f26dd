#include "GroupLookup.h"

#include "platform/store/Table.h"

namespace kv::base {

std::string LookupGroupName(kv::store::Table &groupsView, std::int64_t group)
{
    groupsView.close();
    groupsView.setFilter("NGRUPPY = " + std::to_string(group));
    groupsView.setFiltered(true);
    groupsView.open();
    std::string name;
    if (groupsView.recordCount() > 0)
        name = groupsView.textField("NAMEGRUPPA");
    groupsView.close();
    return name;
}

} // namespace kv::base
