#pragma once
// The generator's access to the tables: the questions it draws from, the
// number of groups, and replacing the stored ticket set.

#include "Generator.h"

#include <string>
#include <vector>

namespace kv::generator {

// The questions table `path` in natural order (NPOR, NGRUPPY, VOPROS,
// VOPRMEMO); a blank number or text is nullopt. Throws store::StoreError.
std::vector<SourceQuestion> ReadQuestions(const std::string &path);

// Number of records of the table `path`. Throws store::StoreError.
int CountRecords(const std::string &path);

// Makes the tickets table `path` hold exactly `places`, in their order: one
// record per place with NBILETA, NVOPROSA, NPOR, NGRUPPY, VOPROS and
// VOPRMEMO; SLOGNOST and VAGNOST stay empty. The new set is written to a new
// file beside the table and swapped in by one rename, so on any failure the
// previous set stays whole. The table is held exclusively meanwhile: no view
// may have it open. Throws store::StoreError or dbf::DbfError (Russian,
// naming the file).
void StoreTickets(const std::string &path, const std::vector<hb> &places);

} // namespace kv::generator
