#pragma once
// kvirton-cli: the program's jobs on a working folder without a window, on
// the same core as the window. Exit status: 0 done, 1 the job failed (reason
// on stderr), 2 usage error.

#include <ostream>
#include <string>
#include <vector>

namespace kv::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command line (without the program name). Texts go to `out` and
// `err` in UTF-8. Changes the current folder when -C is given. When
// `errIsTerminal`, long jobs show their progress on `err` (a line rewritten
// in place, cleared at the end).
int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
        bool errIsTerminal = false);

} // namespace kv::cli
