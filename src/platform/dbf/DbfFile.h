#pragma once
// dBase table files: the .DBF with its records and the .DBT memo companion.
// Byte layouts follow the dBase III and dBase IV formats; new tables are
// written as dBase III with memo (version byte 0x83, 512-byte memo blocks)
// and language driver 0xC9 (Windows-1251). Errors are thrown as DbfError
// with a Russian text that names the file.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace kv::dbf {

class DbfError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// --- byte layout ------------------------------------------------------------
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kFieldDescriptorSize = 32;
inline constexpr std::size_t kFieldNameSize = 11;
inline constexpr unsigned char kHeaderTerminator = 0x0D;
inline constexpr unsigned char kEndOfFile = 0x1A;
inline constexpr char kDeletedFlag = '*';
inline constexpr char kActiveFlag = ' ';
inline constexpr unsigned char kVersionDBase3 = 0x03;     // no memo
inline constexpr unsigned char kVersionDBase3Memo = 0x83; // memo in .DBT, dBase III layout
inline constexpr unsigned char kVersionDBase4 = 0x04;
inline constexpr unsigned char kVersionDBase4Memo = 0x8B; // memo in .DBT, dBase IV layout
inline constexpr unsigned char kLanguageDriverCp1251 = 0xC9;
inline constexpr std::size_t kOffsetRecordCount = 4;
inline constexpr std::size_t kOffsetHeaderLength = 8;
inline constexpr std::size_t kOffsetRecordLength = 10;
inline constexpr std::size_t kOffsetLanguageDriver = 29;
inline constexpr std::size_t kMemoBlockSize = 512;
inline constexpr std::size_t kMemoPointerWidth = 10;

enum class FieldType : char { Character = 'C', Numeric = 'N', Memo = 'M' };

struct FieldDef
{
    std::string name; // upper case, at most 10 characters
    FieldType type = FieldType::Character;
    int length = 0; // bytes in the record
    int decimals = 0;
    int offset = 0; // position in the record (after the deleted flag); set on open
};

enum class MemoLayout { None, DBase3, DBase4 };
enum class LockMode { Shared, Exclusive };

// A field's value: null, a whole number or a Windows-1251 text.
using Value = std::variant<std::monostate, std::int64_t, std::string>;
using Record = std::vector<Value>; // one value per field, in field order

// Finds an existing file or folder whose path differs only in letter case
// (tables copied from Windows). Returns `path` itself when nothing matches.
std::string resolvePathIgnoringCase(const std::string &path);

// The memo companion of a table file: same name, extension .DBT (.dbt when
// the table's extension is lower case), found ignoring case.
std::string memoPathFor(const std::string &tablePath);

class DbfFile
{
public:
    DbfFile() = default;
    ~DbfFile();
    DbfFile(const DbfFile &) = delete;
    DbfFile &operator=(const DbfFile &) = delete;

    // Creates an empty table (and its memo file when a field is a memo).
    // Fails when the file exists.
    static void create(const std::string &path, const std::vector<FieldDef> &fields);

    // Writes a whole new table with `records` beside the old one and puts it
    // in place with one rename; the old file stays intact until then. With
    // `compactMemo` the memo file is rewritten too (and renamed first);
    // otherwise new memo texts are appended to the existing memo file, so the
    // old table stays valid whatever happens.
    static void rewrite(const std::string &path, const std::vector<FieldDef> &fields,
                        const std::vector<Record> &records, bool compactMemo);

    void open(const std::string &path, bool writable, LockMode lock);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string &path() const { return path_; }

    const std::vector<FieldDef> &fields() const { return fields_; }
    int fieldIndex(const std::string &name) const; // case-insensitive; -1 when missing
    std::size_t recordLength() const { return recordLength_; }
    std::uint32_t recordCount() const { return recordCount_; }
    MemoLayout memoLayout() const { return memoLayout_; }

    // Re-reads the record count from the file (another view may have added).
    void reloadHeader();

    // Raw record bytes (deleted flag first). The index must be below the count.
    void readRecord(std::uint32_t index, std::string &bytes) const;
    // Reads records [first, first+count) into one buffer.
    void readRecords(std::uint32_t first, std::uint32_t count, std::string &bytes) const;
    void writeRecord(std::uint32_t index, const std::string &bytes);
    std::uint32_t appendRecord(const std::string &bytes);

    std::string readMemo(std::uint32_t block) const;
    std::uint32_t writeMemo(const std::string &text); // appends; returns the block

    // --- field codec over raw record bytes ---------------------------------------
    std::string blankRecord() const;
    bool isDeleted(const std::string &bytes) const
    {
        return !bytes.empty() && bytes[0] == kDeletedFlag;
    }
    bool isBlank(const std::string &bytes, int field) const;
    std::optional<std::int64_t> integer(const std::string &bytes, int field) const;
    std::string text(const std::string &bytes, int field) const; // trailing blanks removed
    std::optional<std::uint32_t> memoBlock(const std::string &bytes, int field) const;
    void setInteger(std::string &bytes, int field, std::optional<std::int64_t> value) const;
    void setText(std::string &bytes, int field, const std::string &value) const;
    void setMemoBlock(std::string &bytes, int field, std::optional<std::uint32_t> block) const;

    // A record's values, memo texts read from the memo file.
    Record values(const std::string &bytes) const;

private:
    void fail(const std::string &what) const;
    void readHeader();
    void openMemo(bool writable);

    std::string path_;
    std::string memoPath_;
    int fd_ = -1;
    int memoFd_ = -1;
    bool writable_ = false;
    unsigned char version_ = 0;
    std::vector<FieldDef> fields_;
    std::size_t headerLength_ = 0;
    std::size_t recordLength_ = 0;
    std::uint32_t recordCount_ = 0;
    MemoLayout memoLayout_ = MemoLayout::None;
    std::size_t memoBlockSize_ = kMemoBlockSize;
};

} // namespace kv::dbf
