#pragma once
// The progress of a long job on a terminal: one line, "<what>: 45 %",
// rewritten in place while the job goes on and cleared at its end, so that
// messages and results print on clean lines. Silent when `enabled` is false
// (stderr is no terminal: logs and pipes get no progress lines).

#include <cstdint>
#include <ostream>
#include <string>

namespace kv::cli {

class TerminalProgress
{
public:
    TerminalProgress(std::ostream &err, bool enabled, std::string what);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    // `done` of `total` steps; the line changes only when the percentage does.
    void update(std::uint64_t done, std::uint64_t total);
    // Removes the line (before a message, at the end); the next update draws
    // it again.
    void clear();

private:
    std::ostream &err_;
    bool enabled_;
    std::string what_;
    int shown_ = -1; // the percentage on screen; -1 when no line is shown
};

} // namespace kv::cli
