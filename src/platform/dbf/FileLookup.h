#pragma once
// File names of tables copied from systems whose file names ignore letter
// case: "Sys/Voprosy.DBF" finds "sys/voprosy.dbf". Backslashes count as
// folder separators.

#include <optional>
#include <string>

namespace kv::dbf {

// Every folder and the file name that exist with another letter case are
// replaced by the existing spelling (an exact match wins); parts that do not
// exist are kept as given.
std::string resolvePathNoCase(const std::string &path);

// The existing regular file named `path` in any letter case; nullopt when none.
std::optional<std::string> findFileNoCase(const std::string &path);

// The memo companion's name beside a table: the extension's letter case
// follows the table's (".DBF" -> ".DBT", ".dbf" -> ".dbt").
std::string memoFileNameFor(const std::string &tablePath);

} // namespace kv::dbf
