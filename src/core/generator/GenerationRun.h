#pragma once
// "Generate and store" as one call, for the generation tab and the command
// line: reads the questions and the number of groups, draws the tickets and,
// only when every ticket was drawn, replaces the stored ticket set. Messages
// reach the caller through the callbacks while the run goes on and are listed
// in the result; a failure anywhere leaves the stored tickets as they were.

#include "Generator.h"

#include <QString>

#include <string>

namespace kv::generator {

// The three tables a run uses.
struct GenerationTables
{
    std::string questions;
    std::string groups;
    std::string tickets;

    // The program's tables under `folder` (Sys/Voprosy.DBF, Sys/Gruppy.dbf,
    // Sys/Bilety.DBF); an empty folder means the current one.
    static GenerationTables inFolder(const QString &folder);
};

// The whole run. The tickets table must not be open in any view while the
// run stores (close it before, reopen it after). `result.ok` and
// `result.stored` are true exactly when the new set replaced the old one; the
// boxes a run checked are cleared again at its end, whatever its outcome.
GenerationResult RunGeneration(const GenerationTables &tables, const GenerationParams &params,
                               const GenerationCallbacks &callbacks = {});

} // namespace kv::generator
