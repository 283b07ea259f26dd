#pragma once
// Moving a whole base between the three tables and base files. Usable from
// the main window (over its own views) and from the command line (over the
// tables of a working folder).

#include "BaseData.h"

#include <QString>

namespace kv::store {
class Table;
}

namespace kv::basefile {

// Reads every record of the three views in natural order, the filter of a
// filtered view set aside for the walk (its filter, and the current record
// of every view, are as before afterwards). A record being edited is read as
// its edit buffer holds it. Empty number fields read as 0.
bool collectBaseData(store::Table &questions, store::Table &groups, store::Table &tickets,
                     BaseData &base, QString *error);
// The same over the stored tables of the working folder `folder` (its Sys
// folder), through views of its own.
bool collectBaseData(const QString &folder, BaseData &base, QString *error);

// Replaces all records of the three tables of `folder` by `base`: groups
// with their numbers and names (cut to the field width), questions with
// NPOR, NGRUPPY, VOPRMEMO, VOPROS made by MakeQuestionLine and SLOGNOST,
// VAGNOST 0, tickets with their four numbers, VOPRMEMO and VOPROS and
// SLOGNOST, VAGNOST empty. All or nothing: the three new table files are
// written and flushed beside the old ones first and swapped in only when all
// three are complete. Every view over these tables must be closed; the
// tables are held exclusively while they are replaced.
bool replaceBaseTables(const QString &folder, const BaseData &base, QString *error);

// The base of `folder` into the base file `path` (replacing it whole).
bool saveBaseFile(const QString &folder, const QString &path, QString *error);
// The base file `path` into the tables of `folder`. The file is read and
// checked whole first: a file with a line that cannot be read leaves the
// tables as they were.
bool loadBaseFile(const QString &folder, const QString &path, QString *error);

} // namespace kv::basefile
