#include "Progress.h"

#include <algorithm>

namespace kv::cli {

TerminalProgress::TerminalProgress(std::ostream &err, bool enabled, std::string what)
    : err_(err), enabled_(enabled), what_(std::move(what))
{
}

TerminalProgress::~TerminalProgress()
{
    clear();
}

void TerminalProgress::update(std::uint64_t done, std::uint64_t total)
{
    if (!enabled_)
        return;
    const int percent = total == 0 ? 100 : int(std::min(done, total) * 100 / total);
    if (percent == shown_)
        return;
    shown_ = percent;
    err_ << '\r' << what_ << ": " << percent << " %" << std::flush;
}

void TerminalProgress::clear()
{
    if (!enabled_ || shown_ < 0)
        return;
    shown_ = -1;
    // Carriage return, erase the line.
    err_ << "\r\033[K" << std::flush;
}

} // namespace kv::cli
