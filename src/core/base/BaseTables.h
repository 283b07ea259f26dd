#pragma once
// The program's three tables in the Sys folder of the working folder:
// questions, group names and the last generated ticket set.

#include "platform/dbf/DbfFile.h"

#include <QString>

#include <vector>

namespace kv::base {

inline constexpr const char *kSysFolder = "Sys";
inline constexpr const char *kBaseFolder = "Base";
inline constexpr const char *kQuestionsFile = "Sys/Voprosy.DBF";
inline constexpr const char *kGroupsFile = "Sys/Gruppy.dbf";
inline constexpr const char *kTicketsFile = "Sys/Bilety.DBF";

// Width of the integer fields of the questions and groups tables, and of the
// 16-bit numbers of the tickets table ("-32768" fits).
inline constexpr int kIntegerWidth = 11;
inline constexpr int kSmallIntegerWidth = 6;

// NPOR, NGRUPPY, VOPROS, VOPRMEMO, SLOGNOST, VAGNOST
std::vector<dbf::FieldDef> questionFields();
// NGRUPPY, NAMEGRUPPA
std::vector<dbf::FieldDef> groupFields();
// NBILETA, NVOPROSA, NPOR, NGRUPPY, SLOGNOST, VAGNOST, VOPROS, VOPRMEMO
std::vector<dbf::FieldDef> ticketFields();

// Creates Sys with the three empty tables and Base in `folder` where they are
// missing; an existing table (in any letter case) is never touched. Throws
// dbf::DbfError when something cannot be created.
void createMissingBaseTables(const QString &folder);

// Whether the program can keep its tables in `folder`: a Sys folder there
// (any letter case) that can be read and written. `why` gets the reason.
bool canWorkInFolder(const QString &folder, QString *why = nullptr);

} // namespace kv::base
