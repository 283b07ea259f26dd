#include "Args.h"

#include <charconv>

namespace kv::cli {

Args::Args(const std::vector<std::string> &args, const std::set<std::string> &flags,
           const std::set<std::string> &options)
{
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (onlyPositional || a.size() < 2 || a[0] != '-') {
            positional_.push_back(a);
            continue;
        }
        if (a == "--") {
            onlyPositional = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> inlineValue;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            inlineValue = a.substr(eq + 1);
        }
        if (flags.count(name)) {
            if (inlineValue)
                throw UsageError("параметр " + name + " не принимает значения");
            flagsSeen_.insert(name);
        } else if (options.count(name)) {
            if (inlineValue) {
                values_[name] = *inlineValue;
            } else {
                if (i + 1 >= args.size())
                    throw UsageError("у параметра " + name + " нет значения");
                values_[name] = args[++i];
            }
        } else {
            throw UsageError("неизвестный параметр " + a);
        }
    }
}

bool Args::has(const std::string &name) const
{
    return flagsSeen_.count(name) || values_.count(name);
}

std::optional<std::string> Args::value(const std::string &name) const
{
    const auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::optional<long long> Args::number(const std::string &name) const
{
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    long long n = 0;
    const char *end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, n);
    if (text->empty() || ec != std::errc() || ptr != end || n < 0)
        throw UsageError("значение " + name +
                         " должно быть целым неотрицательным числом: " + *text);
    return n;
}

} // namespace kv::cli
