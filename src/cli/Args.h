#pragma once
// A small parser for the options of one command: --flag, --name VALUE,
// --name=VALUE and positional arguments.

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::cli {

// A wrong command line; the message is shown with the command's usage.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Args
{
public:
    // `flags` take no value, `options` take one. Throws UsageError on an
    // unknown option or a missing value.
    Args(const std::vector<std::string> &args, const std::set<std::string> &flags,
         const std::set<std::string> &options);

    bool has(const std::string &name) const;
    std::optional<std::string> value(const std::string &name) const;
    const std::vector<std::string> &positional() const { return positional_; }

    // The value as a non-negative integer; UsageError when it is not one.
    std::optional<long long> number(const std::string &name) const;

private:
    std::set<std::string> flagsSeen_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

} // namespace kv::cli
