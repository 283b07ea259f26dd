#include "DbfFile.h"

#include "DbfLayout.h"
#include "FileLookup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::dbf {

namespace L = layout;

// --- FileHandle ---------------------------------------------------------------

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept
{
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

FileHandle::~FileHandle()
{
    reset();
}

int FileHandle::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileHandle::reset()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

// --- little-endian helpers --------------------------------------------------------

namespace {

std::uint32_t get16(std::string_view b, std::size_t at)
{
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

std::uint32_t get32(std::string_view b, std::size_t at)
{
    return get16(b, at) | (get16(b, at + 2) << 16);
}

void put16(char *p, std::uint32_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}

void put32(char *p, std::uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

void putToday(char *p)
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    p[0] = static_cast<char>(tm.tm_year % 256);
    p[1] = static_cast<char>(tm.tm_mon + 1);
    p[2] = static_cast<char>(tm.tm_mday);
}

bool isKnownType(char c)
{
    switch (c) {
    case 'C':
    case 'N':
    case 'F':
    case 'D':
    case 'L':
    case 'M':
        return true;
    default:
        return false;
    }
}

std::string hexByte(std::uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

// Reads exactly `size` bytes at `offset`; returns how many were read.
std::size_t readAt(int fd, char *buffer, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return done;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool writeAt(int fd, const char *buffer, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pwrite(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

// --- header ----------------------------------------------------------------------

std::uint32_t layoutFields(std::vector<FieldDef> &fields)
{
    std::uint32_t offset = 1; // the deleted flag
    for (FieldDef &f : fields) {
        f.offset = static_cast<int>(offset);
        offset += static_cast<std::uint32_t>(f.length);
    }
    return offset;
}

TableHeader parseHeader(std::string_view bytes, std::uint64_t fileSize, const std::string &name)
{
    auto fail = [&](const std::string &why) -> void {
        throw DbfError("Повреждён заголовок таблицы " + name + ": " + why);
    };
    if (fileSize < L::kHeaderSize || bytes.size() < L::kHeaderSize)
        fail("файл короче заголовка");

    TableHeader h;
    h.version = static_cast<std::uint8_t>(bytes[L::kVersionOffset]);
    if (h.version != L::kVersionNoMemo && h.version != L::kVersionDBase3Memo &&
        h.version != L::kVersionDBase4Memo)
        fail("неизвестный формат файла (байт версии " + hexByte(h.version) + ")");
    h.recordCount = get32(bytes, L::kRecordCountOffset);
    h.headerLength = get16(bytes, L::kHeaderLengthOffset);
    h.recordLength = get16(bytes, L::kRecordLengthOffset);
    h.languageDriver = static_cast<std::uint8_t>(bytes[L::kLanguageDriverOffset]);

    if (h.headerLength < L::kHeaderSize + 1 || h.headerLength > fileSize ||
        h.headerLength > bytes.size())
        fail("длина заголовка " + std::to_string(h.headerLength) + " не соответствует файлу");

    std::size_t pos = L::kHeaderSize;
    bool terminated = false;
    while (pos < h.headerLength) {
        if (static_cast<std::uint8_t>(bytes[pos]) == L::kFieldTerminator) {
            terminated = true;
            break;
        }
        if (pos + L::kFieldDescriptorSize > h.headerLength)
            break;
        const std::string_view d = bytes.substr(pos, L::kFieldDescriptorSize);
        FieldDef f;
        const std::string_view rawName = d.substr(0, L::kFieldNameSize);
        f.name = std::string(rawName.substr(0, std::min(rawName.find('\0'), rawName.size())));
        const char type = d[L::kFieldTypeOffset];
        f.length = static_cast<std::uint8_t>(d[L::kFieldLengthOffset]);
        f.decimals = static_cast<std::uint8_t>(d[L::kFieldDecimalsOffset]);
        if (f.name.empty())
            fail("поле без имени");
        if (!isKnownType(type))
            fail("у поля " + f.name + " неизвестный тип «" +
                 (type >= 32 && type < 127 ? std::string(1, type) : hexByte(std::uint8_t(type))) +
                 "»");
        f.type = static_cast<FieldType>(type);
        if (f.length == 0)
            fail("у поля " + f.name + " нулевая длина");
        if (f.type == FieldType::Memo && f.length != L::kMemoPointerLength)
            fail("у MEMO-поля " + f.name + " длина " + std::to_string(f.length) + " вместо 10");
        h.fields.push_back(std::move(f));
        pos += L::kFieldDescriptorSize;
    }
    if (!terminated)
        fail("нет признака конца описания полей");
    if (h.fields.empty())
        fail("в таблице нет полей");
    // Some programs keep up to 264 more bytes after the terminator.
    if (h.headerLength > pos + 1 + 264)
        fail("длина заголовка " + std::to_string(h.headerLength) + " не соответствует полям");

    const std::uint32_t recordLength = layoutFields(h.fields);
    if (h.recordLength != recordLength)
        fail("длина записи " + std::to_string(h.recordLength) + " не соответствует полям (" +
             std::to_string(recordLength) + ")");
    if (h.headerLength + std::uint64_t{h.recordCount} * h.recordLength > fileSize)
        fail("число записей " + std::to_string(h.recordCount) + " больше, чем помещается в файле");

    const bool memo = std::any_of(h.fields.begin(), h.fields.end(),
                                  [](const FieldDef &f) { return f.type == FieldType::Memo; });
    if (memo)
        h.memoLayout = h.version == L::kVersionDBase4Memo ? MemoLayout::DBase4 : MemoLayout::DBase3;
    return h;
}

std::string makeHeader(const std::vector<FieldDef> &fieldsIn, std::uint32_t recordCount)
{
    std::vector<FieldDef> fields = fieldsIn;
    const std::uint32_t recordLength = layoutFields(fields);
    const bool memo = std::any_of(fields.begin(), fields.end(),
                                  [](const FieldDef &f) { return f.type == FieldType::Memo; });
    const std::size_t headerLength = L::kHeaderSize + L::kFieldDescriptorSize * fields.size() + 1;
    std::string h(headerLength, '\0');
    h[L::kVersionOffset] = static_cast<char>(memo ? L::kVersionDBase3Memo : L::kVersionNoMemo);
    putToday(&h[L::kUpdateDateOffset]);
    put32(&h[L::kRecordCountOffset], recordCount);
    put16(&h[L::kHeaderLengthOffset], static_cast<std::uint32_t>(headerLength));
    put16(&h[L::kRecordLengthOffset], recordLength);
    h[L::kLanguageDriverOffset] = static_cast<char>(L::kLanguageDriverCp1251);
    std::size_t pos = L::kHeaderSize;
    for (const FieldDef &f : fields) {
        std::memcpy(&h[pos], f.name.data(), std::min(f.name.size(), L::kFieldNameSize - 1));
        h[pos + L::kFieldTypeOffset] = static_cast<char>(f.type);
        h[pos + L::kFieldLengthOffset] = static_cast<char>(f.length);
        h[pos + L::kFieldDecimalsOffset] = static_cast<char>(f.decimals);
        pos += L::kFieldDescriptorSize;
    }
    h[pos] = static_cast<char>(L::kFieldTerminator);
    return h;
}

std::string makeMemoHeader()
{
    std::string h(L::kMemoHeaderSize, '\0');
    put32(&h[L::kMemoNextFreeOffset], 1);
    h[L::kMemoVersionOffset] = 0x03;
    return h;
}

std::string makeDBase3Memo(std::string_view text)
{
    std::string data(text);
    data.push_back(static_cast<char>(L::kMemoTextEnd));
    data.push_back(static_cast<char>(L::kMemoTextEnd));
    const std::size_t bs = L::kDBase3BlockSize;
    data.resize((data.size() + bs - 1) / bs * bs, '\0');
    return data;
}

// --- DbfFile --------------------------------------------------------------------------

struct DbfFile::FileEnds
{
    std::uint32_t recordCount = 0;
    std::uint64_t memoEnd = 0;
};

namespace {
// The ends of every table file open in this program, by device and inode.
std::map<std::pair<dev_t, ino_t>, std::weak_ptr<DbfFile::FileEnds>> &openFileEnds()
{
    static std::map<std::pair<dev_t, ino_t>, std::weak_ptr<DbfFile::FileEnds>> ends;
    return ends;
}
} // namespace

void DbfFile::attachEnds()
{
    struct stat st
    {
    };
    if (::fstat(table_.get(), &st) != 0) {
        ends_ = std::make_shared<FileEnds>();
    } else {
        auto &registry = openFileEnds();
        const auto key = std::make_pair(st.st_dev, st.st_ino);
        ends_ = registry[key].lock();
        if (!ends_) {
            for (auto it = registry.begin(); it != registry.end();)
                it = it->second.expired() ? registry.erase(it) : std::next(it);
            ends_ = std::make_shared<FileEnds>();
            registry[key] = ends_;
        }
    }
    ends_->recordCount = std::max(ends_->recordCount, header_.recordCount);
    if (memo_.valid())
        ends_->memoEnd = std::max(ends_->memoEnd, fileSize(memo_.get()));
}

std::unique_ptr<DbfFile> DbfFile::open(const std::string &path, const std::string &displayName,
                                       bool writable)
{
    const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            throw DbfError("Не найден файл таблицы: " + displayName);
        throw DbfError("Не удалось открыть файл таблицы " + displayName + ": " +
                       systemErrorText(error));
    }
    std::unique_ptr<DbfFile> file(new DbfFile);
    file->table_ = FileHandle(fd);
    file->path_ = path;
    file->displayName_ = displayName;
    file->memoDisplayName_ = memoFileNameFor(displayName);
    file->loadHeader();
    if (file->hasMemo()) {
        const auto memoPath = findFileNoCase(memoFileNameFor(path));
        if (!memoPath)
            throw DbfError("Не найден файл MEMO-полей таблицы " + displayName + ": " +
                           file->memoDisplayName_);
        const int mfd = ::open(memoPath->c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
        if (mfd < 0)
            throw DbfError("Не удалось открыть файл MEMO-полей " + file->memoDisplayName_ + ": " +
                           systemErrorText(errno));
        file->openMemo(FileHandle(mfd));
    }
    file->attachEnds();
    return file;
}

std::unique_ptr<DbfFile> DbfFile::adopt(FileHandle table, FileHandle memo, const std::string &path,
                                        const std::string &displayName)
{
    std::unique_ptr<DbfFile> file(new DbfFile);
    file->table_ = std::move(table);
    file->path_ = path;
    file->displayName_ = displayName;
    file->memoDisplayName_ = memoFileNameFor(displayName);
    file->loadHeader();
    if (file->hasMemo())
        file->openMemo(std::move(memo));
    file->attachEnds();
    return file;
}

DbfFile::~DbfFile() = default;

std::uint64_t DbfFile::fileSize(int fd) const
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

void DbfFile::loadHeader()
{
    const std::uint64_t size = fileSize(table_.get());
    // The header is at most 32 + 32 * 255 + 1 + 264 bytes.
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, 65536)), '\0');
    bytes.resize(readAt(table_.get(), bytes.data(), bytes.size(), 0));
    header_ = parseHeader(bytes, size, displayName_);
}

void DbfFile::openMemo(FileHandle memo)
{
    if (!memo.valid())
        throw DbfError("Не найден файл MEMO-полей таблицы " + displayName_ + ": " +
                       memoDisplayName_);
    memo_ = std::move(memo);
    memoBlockSize_ = L::kDBase3BlockSize;
    if (header_.memoLayout == MemoLayout::DBase4) {
        char head[L::kMemoBlockSizeOffset + 2];
        if (readAt(memo_.get(), head, sizeof head, 0) != sizeof head)
            throw DbfError("Повреждён файл MEMO-полей " + memoDisplayName_ +
                           ": файл короче заголовка");
        const std::uint32_t bs =
            get16(std::string_view(head, sizeof head), L::kMemoBlockSizeOffset);
        if (bs != 0) {
            if (bs < 16)
                throw DbfError("Повреждён файл MEMO-полей " + memoDisplayName_ + ": размер блока " +
                               std::to_string(bs));
            memoBlockSize_ = bs;
        }
    }
}

int DbfFile::fieldIndex(std::string_view name) const
{
    // Names are stored in upper case and asked for in upper case: try that first.
    for (std::size_t i = 0; i < header_.fields.size(); ++i)
        if (header_.fields[i].name == name)
            return static_cast<int>(i);
    for (std::size_t i = 0; i < header_.fields.size(); ++i) {
        const std::string &f = header_.fields[i].name;
        if (f.size() == name.size() &&
            std::equal(f.begin(), f.end(), name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            }))
            return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t DbfFile::reloadRecordCount()
{
    char b[4];
    if (readAt(table_.get(), b, 4, L::kRecordCountOffset) != 4)
        throw DbfError("Повреждён заголовок таблицы " + displayName_ + ": файл короче заголовка");
    const std::uint32_t count = get32(std::string_view(b, 4), 0);
    if (header_.headerLength + std::uint64_t{count} * header_.recordLength > fileSize(table_.get()))
        throw DbfError("Повреждён заголовок таблицы " + displayName_ + ": число записей " +
                       std::to_string(count) + " больше, чем помещается в файле");
    header_.recordCount = count;
    if (ends_) {
        ends_->recordCount = count; // the file's word: another program may have added
        if (memo_.valid())
            ends_->memoEnd = std::max(ends_->memoEnd, fileSize(memo_.get()));
    }
    return count;
}

void DbfFile::readRecords(std::uint32_t first, std::uint32_t count, char *buffer) const
{
    const std::size_t size = std::size_t{count} * header_.recordLength;
    const std::uint64_t offset = header_.headerLength + std::uint64_t{first} * header_.recordLength;
    if (readAt(table_.get(), buffer, size, offset) != size)
        throw DbfError("Ошибка чтения файла таблицы " + displayName_ + ": запись " +
                       std::to_string(first + 1) + " за концом файла");
}

std::string DbfFile::readRecord(std::uint32_t recno) const
{
    std::string raw(header_.recordLength, ' ');
    readRecords(recno, 1, raw.data());
    return raw;
}

void DbfFile::failWrite(const std::string &name, int error) const
{
    throw DbfError("Ошибка записи в файл " + name + ": " + systemErrorText(error));
}

void DbfFile::writeRecord(std::uint32_t recno, std::string_view raw)
{
    const std::uint64_t offset = header_.headerLength + std::uint64_t{recno} * header_.recordLength;
    if (!writeAt(table_.get(), raw.data(), header_.recordLength, offset))
        failWrite(displayName_, errno);
}

std::uint32_t DbfFile::appendRecord(std::string_view raw)
{
    // After every record any view of this file in the program has added.
    const std::uint32_t recno = ends_->recordCount;
    std::string bytes(raw.substr(0, header_.recordLength));
    bytes.push_back(static_cast<char>(L::kEndOfFile));
    const std::uint64_t offset = header_.headerLength + std::uint64_t{recno} * header_.recordLength;
    if (!writeAt(table_.get(), bytes.data(), bytes.size(), offset))
        failWrite(displayName_, errno);
    char head[8];
    putToday(head);
    put32(head + 3, recno + 1);
    if (!writeAt(table_.get(), head, 7, L::kUpdateDateOffset))
        failWrite(displayName_, errno);
    header_.recordCount = recno + 1;
    ends_->recordCount = recno + 1;
    return recno;
}

void DbfFile::markDeleted(std::uint32_t recno)
{
    const char flag = L::kRecordDeleted;
    const std::uint64_t offset = header_.headerLength + std::uint64_t{recno} * header_.recordLength;
    if (!writeAt(table_.get(), &flag, 1, offset))
        failWrite(displayName_, errno);
}

std::string DbfFile::readMemo(std::string_view pointerField) const
{
    const auto block = decodeMemoBlock(pointerField, displayName_);
    if (!block)
        return {};
    if (!memo_.valid())
        throw DbfError("Не найден файл MEMO-полей таблицы " + displayName_ + ": " +
                       memoDisplayName_);
    const std::uint64_t offset = std::uint64_t{*block} * memoBlockSize_;
    if (offset >= memoSize_)
        memoSize_ = fileSize(memo_.get());
    const std::uint64_t size = memoSize_;
    auto corrupt = [&](const std::string &why) -> void {
        throw DbfError("Повреждён файл MEMO-полей " + memoDisplayName_ + ": " + why);
    };
    if (offset >= size)
        corrupt("ссылка на блок " + std::to_string(*block) + " за концом файла");

    if (header_.memoLayout == MemoLayout::DBase4) {
        char prefix[L::kDBase4MemoPrefixSize];
        if (readAt(memo_.get(), prefix, sizeof prefix, offset) != sizeof prefix)
            corrupt("блок " + std::to_string(*block) + " обрезан");
        const std::string_view p(prefix, sizeof prefix);
        if (static_cast<std::uint8_t>(p[0]) != L::kDBase4MemoSignature[0] ||
            static_cast<std::uint8_t>(p[1]) != L::kDBase4MemoSignature[1] ||
            static_cast<std::uint8_t>(p[2]) != L::kDBase4MemoSignature[2])
            corrupt("блок " + std::to_string(*block) + " не начинается с признака текста");
        const std::uint32_t length = get32(p, 4);
        if (length < L::kDBase4MemoPrefixSize || offset + length > size)
            corrupt("длина текста в блоке " + std::to_string(*block) + " выходит за конец файла");
        std::string text(length - L::kDBase4MemoPrefixSize, '\0');
        if (readAt(memo_.get(), text.data(), text.size(), offset + L::kDBase4MemoPrefixSize) !=
            text.size())
            corrupt("блок " + std::to_string(*block) + " обрезан");
        return text;
    }

    // dBase III: the text runs to the first end mark (or to the end of the file).
    // Served from the read-ahead window when the whole text lies in it.
    constexpr std::size_t kWindow = 64 * 1024;
    auto fromWindow = [&](std::string &out) {
        if (offset < memoWindowStart_ || offset >= memoWindowStart_ + memoWindow_.size())
            return false;
        const std::size_t at = static_cast<std::size_t>(offset - memoWindowStart_);
        const std::size_t end = memoWindow_.find(static_cast<char>(L::kMemoTextEnd), at);
        if (end == std::string::npos)
            return false;
        out = memoWindow_.substr(at, end - at);
        return true;
    };
    std::string text;
    if (fromWindow(text))
        return text;
    memoWindow_.resize(kWindow);
    memoWindow_.resize(readAt(memo_.get(), memoWindow_.data(), kWindow, offset));
    memoWindowStart_ = offset;
    if (fromWindow(text))
        return text;
    std::uint64_t at = offset;
    char chunk[L::kDBase3BlockSize];
    while (at < size) {
        const std::size_t n = readAt(memo_.get(), chunk, sizeof chunk, at);
        if (n == 0)
            break;
        const char *end = static_cast<const char *>(std::memchr(chunk, L::kMemoTextEnd, n));
        if (end) {
            text.append(chunk, static_cast<std::size_t>(end - chunk));
            return text;
        }
        text.append(chunk, n);
        at += n;
    }
    return text;
}

std::optional<std::uint32_t> DbfFile::writeMemo(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    if (!memo_.valid())
        throw DbfError("Не найден файл MEMO-полей таблицы " + displayName_ + ": " +
                       memoDisplayName_);
    const std::uint32_t bs = memoBlockSize_;
    // New text goes after everything the file holds. The header's next free
    // block is not needed for that: blocks past the end hold nothing.
    const std::uint64_t size = ends_->memoEnd;
    std::uint64_t block = (size + bs - 1) / bs;
    block = std::max<std::uint64_t>(block, (L::kMemoHeaderSize + bs - 1) / bs);

    std::string data;
    if (header_.memoLayout == MemoLayout::DBase4) {
        data.resize(L::kDBase4MemoPrefixSize);
        std::memcpy(data.data(), L::kDBase4MemoSignature, 4);
        put32(data.data() + 4, static_cast<std::uint32_t>(text.size() + L::kDBase4MemoPrefixSize));
        data.append(text);
        data.resize((data.size() + bs - 1) / bs * bs, '\0');
    } else {
        data = makeDBase3Memo(text);
    }
    if (block + data.size() / bs > 0xFFFFFFFFu)
        throw DbfError("Ошибка записи в файл " + memoDisplayName_ + ": файл слишком большой");
    if (!writeAt(memo_.get(), data.data(), data.size(), block * bs))
        failWrite(memoDisplayName_, errno);
    memoSize_ = block * bs + data.size();
    ends_->memoEnd = memoSize_;
    char next[4];
    put32(next, static_cast<std::uint32_t>(block + data.size() / bs));
    if (!writeAt(memo_.get(), next, 4, L::kMemoNextFreeOffset))
        failWrite(memoDisplayName_, errno);
    return static_cast<std::uint32_t>(block);
}

} // namespace kv::dbf
