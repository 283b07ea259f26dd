#pragma once
// An open dBase table file and its memo companion: header checks, raw record
// access, memo texts. Knows nothing about views, filters or editing.

#include "DbfTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::dbf {

// An owned POSIX file descriptor.
class FileHandle
{
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(FileHandle &&other) noexcept : fd_(other.release()) {}
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle();
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();
    void reset();

private:
    int fd_ = -1;
};

struct TableHeader
{
    std::uint8_t version = 0;
    std::uint32_t recordCount = 0;
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::uint8_t languageDriver = 0;
    std::vector<FieldDef> fields; // offsets filled in
    MemoLayout memoLayout = MemoLayout::None;
};

// Checks a table header against its file size; throws DbfError
// "Повреждён заголовок таблицы <name>: <why>". `bytes` holds at least the
// header (or the whole file when it is shorter).
TableHeader parseHeader(std::string_view bytes, std::uint64_t fileSize, const std::string &name);

// The bytes of a new table's header (no records), dBase III layout.
std::string makeHeader(const std::vector<FieldDef> &fields, std::uint32_t recordCount);

// Field offsets and the record length (deleted flag included) of `fields`.
std::uint32_t layoutFields(std::vector<FieldDef> &fields);

// The 512-byte header of a new, empty dBase III memo file.
std::string makeMemoHeader();

// The bytes of one memo text in the dBase III layout, padded to whole blocks.
std::string makeDBase3Memo(std::string_view text);

class DbfFile
{
public:
    // Opens an existing table found at `path` (the real name on disk) and its
    // memo companion. `displayName` is how messages name the table. The open
    // descriptors are not locked here.
    static std::unique_ptr<DbfFile> open(const std::string &path, const std::string &displayName,
                                         bool writable);
    // Takes over descriptors already open on a table and its memo file.
    static std::unique_ptr<DbfFile> adopt(FileHandle table, FileHandle memo,
                                          const std::string &path, const std::string &displayName);
    ~DbfFile();

    int fd() const { return table_.get(); }
    const std::string &path() const { return path_; }
    const std::string &displayName() const { return displayName_; }
    const std::string &memoDisplayName() const { return memoDisplayName_; }
    const TableHeader &header() const { return header_; }
    const std::vector<FieldDef> &fields() const { return header_.fields; }
    int fieldIndex(std::string_view name) const; // case-insensitive; -1 when none
    std::uint32_t recordLength() const { return header_.recordLength; }
    std::uint32_t recordCount() const { return header_.recordCount; }
    bool hasMemo() const { return header_.memoLayout != MemoLayout::None; }

    // Re-reads the record count from the file (records posted by other views).
    std::uint32_t reloadRecordCount();

    // Raw records [first, first + count) into `buffer` (count * recordLength bytes).
    void readRecords(std::uint32_t first, std::uint32_t count, char *buffer) const;
    std::string readRecord(std::uint32_t recno) const;
    void writeRecord(std::uint32_t recno, std::string_view raw);
    // Stores a record after the last one of the file (the count is re-read
    // first, so that records appended by other views are kept) and updates
    // the header's record count. Returns its record number.
    std::uint32_t appendRecord(std::string_view raw);
    void markDeleted(std::uint32_t recno);

    // Memo text of a memo field's raw bytes; "" when the field is blank.
    std::string readMemo(std::string_view pointerField) const;
    // Stores a memo text at the end of the memo file; nullopt for "" (no block).
    std::optional<std::uint32_t> writeMemo(std::string_view text);

private:
    DbfFile() = default;
    void loadHeader();
    void openMemo(FileHandle memo);
    std::uint64_t fileSize(int fd) const;
    [[noreturn]] void failWrite(const std::string &name, int error) const;

    FileHandle table_;
    FileHandle memo_;
    std::string path_;
    std::string displayName_;
    std::string memoDisplayName_;
    TableHeader header_;
    std::uint32_t memoBlockSize_ = 512;
    // A window of the memo file read ahead: memo blocks are only ever added
    // at the end, never changed, so what was read stays true.
    mutable std::string memoWindow_;
    mutable std::uint64_t memoWindowStart_ = 0;
    mutable std::uint64_t memoSize_ = 0; // last known size of the memo file
    // Where the next record and the next memo text go: one per file for all
    // views of it in this program, so that appending needs no look at the
    // file first; refreshed from the file by reloadRecordCount.
public:
    struct FileEnds;

private:
    std::shared_ptr<FileEnds> ends_;
    void attachEnds();
};

} // namespace kv::dbf
