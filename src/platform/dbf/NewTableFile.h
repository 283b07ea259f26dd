#pragma once
// Writes a whole new table (and its memo companion) beside the table it
// replaces and swaps it in by renaming: until the swap the old files are
// untouched, so a crash or a full disk while writing leaves the old table as
// it was. Used to empty and pack tables and to replace a table's records all
// at once.
//
// The new files are "<table>.kvtmp" and "<memo>.kvtmp". They are written and
// flushed to disk, then the memo file is renamed over the old memo file
// first and the table file over the old table file. Should the program stop
// between the two renames, recoverInterruptedReplace (run by every open)
// finishes the swap; temporary files of a swap that never began are removed.

#include "DbfFile.h"
#include "DbfTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::dbf {

class NewTableFile
{
public:
    // `path`: the table's name (an existing table is found in any letter
    // case); `displayName`: how messages name it. Throws DbfError.
    NewTableFile(const std::string &path, const std::string &displayName,
                 std::vector<FieldDef> fields);
    ~NewTableFile(); // removes the new files unless committed
    NewTableFile(const NewTableFile &) = delete;
    NewTableFile &operator=(const NewTableFile &) = delete;

    const std::vector<FieldDef> &fields() const { return fields_; }
    std::uint32_t recordLength() const { return recordLength_; }
    std::uint32_t recordCount() const { return recordCount_; }
    const std::string &tablePath() const { return tablePath_; }
    const std::string &displayName() const { return displayName_; }

    // One record in field order: null, an integer or Windows-1251 text (a
    // memo field takes its text). A number too wide for its field, or a text
    // for a number field that is no number, throws DbfError.
    void appendRecord(const std::vector<FieldValue> &values);
    // A record's raw bytes, deleted flag first (its memo fields must point
    // into this new memo file: see writeMemo).
    void appendRaw(std::string_view raw);
    // Stores a memo text in the new memo file; nullopt for "".
    std::optional<std::uint32_t> writeMemo(std::string_view text);

    // Holds the new table file with an exclusive lock (flock), so that it is
    // already held when it replaces the old one.
    void lockExclusive();
    // Completes and flushes the new files to disk (commit does it too).
    void prepare();
    // Renames the new files over the old ones. Afterwards the descriptors of
    // the new files may be taken over (the lock stays with them).
    void commit();
    FileHandle takeTable();
    FileHandle takeMemo();

private:
    void flushTable();
    void flushMemo();
    [[noreturn]] void failWrite(const std::string &name, int error);

    std::vector<FieldDef> fields_;
    std::uint32_t recordLength_ = 0;
    std::uint32_t recordCount_ = 0;
    bool hasMemo_ = false;
    std::string displayName_;
    std::string memoDisplayName_;
    std::string tablePath_, memoPath_; // final names
    std::string tableTemp_, memoTemp_; // new files while writing
    FileHandle table_, memo_;
    std::string tableBuffer_, memoBuffer_; // not yet written
    std::uint64_t tableWritten_ = 0;       // bytes written after the header
    std::uint64_t memoWritten_ = 0;        // bytes written (header included)
    std::uint32_t nextMemoBlock_ = 1;
    bool prepared_ = false;
    bool committed_ = false;
};

// Finishes or undoes a swap that the program did not complete (see above).
// Never throws; does nothing when there is nothing to do.
void recoverInterruptedReplace(const std::string &tablePath);

// Creates an empty table (and memo file) unless a table of that name exists
// in any letter case; returns whether it was created. Throws DbfError.
bool createTableIfMissing(const std::string &path, const std::vector<FieldDef> &fields);

} // namespace kv::dbf
