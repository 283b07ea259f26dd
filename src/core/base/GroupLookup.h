#pragma once
// The name of a group, looked up by its number through a view of the groups
// table that is opened only for the lookup.

#include <cstdint>
#include <string>

namespace kv::store {
class Table;
}

namespace kv::base {

// Closes `groupsView`, filters it to "NGRUPPY = <group>", opens it, takes the
// NAMEGRUPPA of its first record (empty when no record has that number) and
// closes it again. The view's file name must be set; store errors are thrown.
std::string LookupGroupName(kv::store::Table &groupsView, std::int64_t group);

} // namespace kv::base
