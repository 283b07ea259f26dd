#include "NewTableFile.h"

#include "DbfLayout.h"
#include "FileLookup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::dbf {

namespace L = layout;

namespace {

constexpr const char *kTempSuffix = ".kvtmp";
constexpr std::size_t kFlushSize = 1 << 20;

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void syncFolder(const std::string &path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool exists(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAllAt(int fd, const char *data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int createTemp(const std::string &temp, const std::string &model)
{
    struct stat st
    {
    };
    const mode_t mode = ::stat(model.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0666;
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd >= 0 && mode != 0666)
        ::fchmod(fd, mode);
    return fd;
}

} // namespace

NewTableFile::NewTableFile(const std::string &path, const std::string &displayName,
                           std::vector<FieldDef> fields)
    : fields_(std::move(fields)), displayName_(displayName),
      memoDisplayName_(memoFileNameFor(displayName))
{
    recordLength_ = layoutFields(fields_);
    hasMemo_ = std::any_of(fields_.begin(), fields_.end(),
                           [](const FieldDef &f) { return f.type == FieldType::Memo; });
    tablePath_ = resolvePathNoCase(path);
    if (const auto memo = findFileNoCase(memoFileNameFor(tablePath_)))
        memoPath_ = *memo;
    else
        memoPath_ = memoFileNameFor(tablePath_);
    tableTemp_ = tablePath_ + kTempSuffix;
    memoTemp_ = memoPath_ + kTempSuffix;

    // The memo file comes first: a new table file on disk means that its memo
    // file is there too (recoverInterruptedReplace relies on it).
    if (hasMemo_) {
        memo_ = FileHandle(createTemp(memoTemp_, memoPath_));
        if (!memo_.valid())
            failWrite(memoDisplayName_, errno);
        memoBuffer_ = makeMemoHeader();
        nextMemoBlock_ = 1;
        flushMemo();
        if (::fsync(memo_.get()) != 0)
            failWrite(memoDisplayName_, errno);
        syncFolder(memoTemp_);
    }
    table_ = FileHandle(createTemp(tableTemp_, tablePath_));
    if (!table_.valid())
        failWrite(displayName_, errno);
    tableBuffer_ = makeHeader(fields_, 0);
    flushTable();
    tableWritten_ = 0;
}

NewTableFile::~NewTableFile()
{
    if (!committed_) {
        table_.reset();
        memo_.reset();
        ::unlink(tableTemp_.c_str());
        if (hasMemo_)
            ::unlink(memoTemp_.c_str());
    }
}

void NewTableFile::failWrite(const std::string &name, int error)
{
    throw DbfError("Ошибка записи в файл " + name + ": " + systemErrorText(error));
}

void NewTableFile::flushTable()
{
    if (tableBuffer_.empty())
        return;
    if (!writeAll(table_.get(), tableBuffer_.data(), tableBuffer_.size()))
        failWrite(displayName_, errno);
    tableWritten_ += tableBuffer_.size();
    tableBuffer_.clear();
}

void NewTableFile::flushMemo()
{
    if (memoBuffer_.empty())
        return;
    if (!writeAll(memo_.get(), memoBuffer_.data(), memoBuffer_.size()))
        failWrite(memoDisplayName_, errno);
    memoWritten_ += memoBuffer_.size();
    memoBuffer_.clear();
}

std::optional<std::uint32_t> NewTableFile::writeMemo(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const std::uint32_t block = nextMemoBlock_;
    const std::string data = makeDBase3Memo(text);
    memoBuffer_ += data;
    nextMemoBlock_ += static_cast<std::uint32_t>(data.size() / L::kDBase3BlockSize);
    if (memoBuffer_.size() >= kFlushSize)
        flushMemo();
    return block;
}

void NewTableFile::appendRaw(std::string_view raw)
{
    if (prepared_)
        throw DbfError("Ошибка записи в файл " + displayName_ + ": таблица уже записана");
    std::string record(raw.substr(0, recordLength_));
    record.resize(recordLength_, ' ');
    tableBuffer_ += record;
    ++recordCount_;
    if (tableBuffer_.size() >= kFlushSize)
        flushTable();
}

void NewTableFile::appendRecord(const std::vector<FieldValue> &values)
{
    std::string raw(recordLength_, ' ');
    for (std::size_t i = 0; i < fields_.size() && i < values.size(); ++i) {
        const FieldDef &f = fields_[i];
        char *at = raw.data() + f.offset;
        const FieldValue &v = values[i];
        if (std::holds_alternative<std::monostate>(v))
            continue;
        switch (f.type) {
        case FieldType::Memo: {
            const std::string text = std::holds_alternative<std::string>(v)
                                         ? std::get<std::string>(v)
                                         : std::to_string(std::get<std::int64_t>(v));
            encodeMemoBlock(writeMemo(text), at);
            break;
        }
        case FieldType::Numeric:
        case FieldType::Float: {
            std::optional<std::int64_t> number;
            if (std::holds_alternative<std::int64_t>(v))
                number = std::get<std::int64_t>(v);
            else if (!std::get<std::string>(v).empty()) {
                number = decodeInteger(std::get<std::string>(v));
                if (!number)
                    throw DbfError("Не число в поле " + f.name + " таблицы " + displayName_ +
                                   ": \"" + std::get<std::string>(v) + "\"");
            }
            if (!encodeInteger(number, at, f.length))
                throw DbfError("Число " + std::to_string(*number) + " не помещается в поле " +
                               f.name + " таблицы " + displayName_);
            break;
        }
        default:
            encodeText(std::holds_alternative<std::string>(v)
                           ? std::get<std::string>(v)
                           : std::to_string(std::get<std::int64_t>(v)),
                       at, f.length);
        }
    }
    appendRaw(raw);
}

void NewTableFile::lockExclusive()
{
    if (::flock(table_.get(), LOCK_EX | LOCK_NB) != 0)
        throw DbfError("Таблица занята другой программой: " + displayName_);
}

void NewTableFile::prepare()
{
    if (prepared_)
        return;
    tableBuffer_.push_back(static_cast<char>(L::kEndOfFile));
    flushTable();
    const std::string header = makeHeader(fields_, recordCount_);
    if (!writeAllAt(table_.get(), header.data(), header.size(), 0))
        failWrite(displayName_, errno);
    if (hasMemo_) {
        flushMemo();
        char next[4];
        for (int i = 0; i < 4; ++i)
            next[i] = static_cast<char>((nextMemoBlock_ >> (8 * i)) & 0xFF);
        if (!writeAllAt(memo_.get(), next, 4, L::kMemoNextFreeOffset))
            failWrite(memoDisplayName_, errno);
        if (::fsync(memo_.get()) != 0)
            failWrite(memoDisplayName_, errno);
    }
    if (::fsync(table_.get()) != 0)
        failWrite(displayName_, errno);
    prepared_ = true;
}

void NewTableFile::commit()
{
    prepare();
    if (hasMemo_ && ::rename(memoTemp_.c_str(), memoPath_.c_str()) != 0)
        failWrite(memoDisplayName_, errno);
    // From here on the swap is complete on disk, even if the next rename is
    // cut short: recoverInterruptedReplace finishes it.
    committed_ = true;
    if (::rename(tableTemp_.c_str(), tablePath_.c_str()) != 0) {
        const int error = errno;
        recoverInterruptedReplace(tablePath_);
        if (exists(tableTemp_))
            failWrite(displayName_, error);
    }
    syncFolder(tablePath_);
}

FileHandle NewTableFile::takeTable()
{
    return std::move(table_);
}
FileHandle NewTableFile::takeMemo()
{
    return std::move(memo_);
}

void recoverInterruptedReplace(const std::string &path)
{
    const std::string tablePath = resolvePathNoCase(path);
    const std::string tableTemp = tablePath + kTempSuffix;
    const auto memoTemp = findFileNoCase(memoFileNameFor(tablePath) + kTempSuffix);
    if (!exists(tableTemp)) {
        if (memoTemp)
            ::unlink(memoTemp->c_str());
        return;
    }
    if (memoTemp) {
        // Both new files still there: the swap never began.
        ::unlink(tableTemp.c_str());
        ::unlink(memoTemp->c_str());
        return;
    }
    // Only the new table file is left. It belongs to a completed swap when it
    // is a whole table with memo fields (its memo file has been renamed).
    bool complete = false;
    try {
        FileHandle fd(::open(tableTemp.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st
        {
        };
        if (fd.valid() && ::fstat(fd.get(), &st) == 0) {
            std::string bytes(static_cast<std::size_t>(std::min<off_t>(st.st_size, 65536)), '\0');
            const ssize_t n = ::pread(fd.get(), bytes.data(), bytes.size(), 0);
            bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
            const TableHeader h =
                parseHeader(bytes, static_cast<std::uint64_t>(st.st_size), tableTemp);
            complete = h.memoLayout != MemoLayout::None &&
                       static_cast<std::uint64_t>(st.st_size) >
                           h.headerLength + std::uint64_t{h.recordCount} * h.recordLength;
        }
    } catch (const DbfError &) {
        complete = false;
    }
    if (complete && ::rename(tableTemp.c_str(), tablePath.c_str()) == 0)
        syncFolder(tablePath);
    else if (!complete)
        ::unlink(tableTemp.c_str());
}

bool createTableIfMissing(const std::string &path, const std::vector<FieldDef> &fields)
{
    if (findFileNoCase(path))
        return false;
    NewTableFile file(path, path, fields);
    file.commit();
    return true;
}

} // namespace kv::dbf
