#pragma once
// The program's three tables: their file names (relative to the program's
// folder) and field definitions, and creating them where they are missing.

#include "platform/dbf/DbfTypes.h"

#include <QString>

#include <string>
#include <vector>

namespace kv::base {

inline constexpr const char *kQuestionsFile = "Sys/Voprosy.DBF";
inline constexpr const char *kGroupsFile = "Sys/Gruppy.dbf";
inline constexpr const char *kTicketsFile = "Sys/Bilety.DBF";
inline constexpr const char *kSysFolder = "Sys";
inline constexpr const char *kBaseFolder = "Base";

// Width of the integer fields of the questions and groups tables.
inline constexpr int kIntegerWidth = 11;
// Width of the ticket table's 16-bit integer fields (-32768 .. 32767).
inline constexpr int kShortIntegerWidth = 6;

// NPOR, NGRUPPY, VOPROS C254, VOPRMEMO M, SLOGNOST, VAGNOST.
std::vector<dbf::FieldDef> questionFields();
// NGRUPPY, NAMEGRUPPA C254.
std::vector<dbf::FieldDef> groupFields();
// NBILETA, NVOPROSA, NPOR, NGRUPPY, SLOGNOST, VAGNOST, VOPROS C254, VOPRMEMO M.
std::vector<dbf::FieldDef> ticketFields();

// `folder` joined with a relative file name such as kQuestionsFile.
std::string tablePath(const QString &folder, const char *relativeName);

// Creates in `folder` the folders Sys and Base and the three empty tables
// where they are missing; an existing table (in any letter case) is never
// touched. Returns the relative names of the tables created. Throws
// dbf::DbfError (or std::runtime_error for a folder) with a Russian message.
std::vector<std::string> createMissingBaseTables(const QString &folder);

// Whether the program can keep its tables in `folder`: its Sys folder exists
// and can be read and written. Otherwise `why` (when given) tells the user
// what is wrong.
bool canWorkInFolder(const QString &folder, QString *why = nullptr);

} // namespace kv::base
