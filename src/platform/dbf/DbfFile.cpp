#include "DbfFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::dbf {
namespace {

std::uint32_t readLE32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t readLE16(const unsigned char *p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

void writeLE32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void writeLE16(unsigned char *p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

std::string upper(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

std::string systemError()
{
    return std::strerror(errno);
}

// Reads exactly `size` bytes at `offset`; false at the end of the file.
bool readAt(int fd, void *buffer, std::size_t size, off_t offset)
{
    auto *p = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}

bool writeAt(int fd, const void *buffer, std::size_t size, off_t offset)
{
    const auto *p = static_cast<const char *>(buffer);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}

off_t fileSize(int fd)
{
    struct stat st
    {
    };
    return ::fstat(fd, &st) == 0 ? st.st_size : 0;
}

bool hasMemoField(const std::vector<FieldDef> &fields)
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const FieldDef &f) { return f.type == FieldType::Memo; });
}

// An open file descriptor that closes itself.
struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string headerBytes(const std::vector<FieldDef> &fields, std::uint32_t recordCount)
{
    const bool memo = hasMemoField(fields);
    const std::size_t headerLength = kHeaderSize + kFieldDescriptorSize * fields.size() + 1;
    std::size_t recordLength = 1;
    for (const FieldDef &f : fields)
        recordLength += std::size_t(f.length);
    std::string h(headerLength, '\0');
    auto *p = reinterpret_cast<unsigned char *>(h.data());
    p[0] = memo ? kVersionDBase3Memo : kVersionDBase3;
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    p[1] = static_cast<unsigned char>(tm.tm_year % 100);
    p[2] = static_cast<unsigned char>(tm.tm_mon + 1);
    p[3] = static_cast<unsigned char>(tm.tm_mday);
    writeLE32(p + kOffsetRecordCount, recordCount);
    writeLE16(p + kOffsetHeaderLength, std::uint16_t(headerLength));
    writeLE16(p + kOffsetRecordLength, std::uint16_t(recordLength));
    p[kOffsetLanguageDriver] = kLanguageDriverCp1251;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        unsigned char *d = p + kHeaderSize + i * kFieldDescriptorSize;
        std::memcpy(d, fields[i].name.data(), std::min(fields[i].name.size(), std::size_t(10)));
        d[11] = static_cast<unsigned char>(fields[i].type);
        d[16] = static_cast<unsigned char>(fields[i].length);
        d[17] = static_cast<unsigned char>(fields[i].decimals);
    }
    p[headerLength - 1] = kHeaderTerminator;
    return h;
}

std::string memoHeaderBytes(std::uint32_t nextFreeBlock)
{
    std::string h(kMemoBlockSize, '\0');
    auto *p = reinterpret_cast<unsigned char *>(h.data());
    writeLE32(p, nextFreeBlock);
    p[16] = 0x03; // dBase III memo file
    return h;
}

// dBase III memo text: the text, two end marks, padded to whole blocks.
std::string memoBlocks(const std::string &text)
{
    std::string data = text;
    data.push_back(char(kEndOfFile));
    data.push_back(char(kEndOfFile));
    data.resize((data.size() + kMemoBlockSize - 1) / kMemoBlockSize * kMemoBlockSize, '\0');
    return data;
}

void syncOrThrow(int fd, const std::string &path)
{
    if (::fsync(fd) != 0)
        throw DbfError("Не удалось записать файл " + path + ": " + systemError());
}

} // namespace

std::string resolvePathIgnoringCase(const std::string &path)
{
    if (path.empty() || QFileInfo::exists(QString::fromStdString(path)))
        return path;
    const QString qpath = QDir::cleanPath(QString::fromStdString(path));
    const bool absolute = qpath.startsWith('/');
    const QStringList parts = qpath.split('/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    QString result = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        const QDir dir(current);
        if (!QFileInfo::exists(dir.filePath(part)) && part != "." && part != "..") {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    part = entry;
                    break;
                }
        }
        current = dir.filePath(part);
        result +=
            (result.isEmpty() || result.endsWith('/') ? QString() : QStringLiteral("/")) + part;
    }
    return QFileInfo::exists(result) ? result.toStdString() : path;
}

std::string memoPathFor(const std::string &tablePath)
{
    const std::size_t dot = tablePath.find_last_of('.');
    const std::size_t slash = tablePath.find_last_of('/');
    std::string base = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? tablePath.substr(0, dot)
                           : tablePath;
    const bool lower = dot != std::string::npos && dot + 1 < tablePath.size() &&
                       std::islower(static_cast<unsigned char>(tablePath[dot + 1]));
    return resolvePathIgnoringCase(base + (lower ? ".dbt" : ".DBT"));
}

DbfFile::~DbfFile()
{
    close();
}

void DbfFile::fail(const std::string &what) const
{
    throw DbfError(what + ": " + path_);
}

void DbfFile::create(const std::string &path, const std::vector<FieldDef> &fields)
{
    if (QFileInfo::exists(QString::fromStdString(path)))
        throw DbfError("Таблица уже существует: " + path);
    rewrite(path, fields, {}, true);
}

void DbfFile::rewrite(const std::string &path, const std::vector<FieldDef> &fieldsIn,
                      const std::vector<Record> &records, bool compactMemo)
{
    std::vector<FieldDef> fields = fieldsIn;
    int offset = 1;
    for (FieldDef &f : fields) {
        f.offset = offset;
        offset += f.length;
    }
    const bool memo = hasMemoField(fields);
    const std::string memoPath = memoPathFor(path);
    const std::string tmpPath = path + ".tmp";
    const std::string tmpMemoPath = memoPath + ".tmp";
    const bool appendMemo =
        memo && !compactMemo && QFileInfo::exists(QString::fromStdString(memoPath));

    Fd memoFd;
    std::uint32_t nextBlock = 1;
    if (memo) {
        const std::string &target = appendMemo ? memoPath : tmpMemoPath;
        memoFd.fd =
            ::open(target.c_str(), appendMemo ? O_RDWR : (O_RDWR | O_CREAT | O_TRUNC), 0644);
        if (memoFd.fd < 0)
            throw DbfError("Не удалось создать файл " + target + ": " + systemError());
        if (appendMemo) {
            unsigned char head[4];
            if (!readAt(memoFd.fd, head, 4, 0))
                throw DbfError("Повреждён заголовок файла примечаний: " + memoPath);
            nextBlock = std::max<std::uint32_t>(readLE32(head), 1);
            const auto blocksInFile = std::uint32_t(
                (fileSize(memoFd.fd) + off_t(kMemoBlockSize) - 1) / off_t(kMemoBlockSize));
            nextBlock = std::max(nextBlock, blocksInFile);
        }
    }

    // Records with their memo texts placed in the memo file.
    DbfFile codec;
    codec.fields_ = fields;
    codec.recordLength_ = std::size_t(offset);
    std::string data;
    data.reserve(records.size() * codec.recordLength_ + 1);
    std::string memoData;
    const std::uint32_t firstNewBlock = nextBlock;
    for (const Record &record : records) {
        std::string bytes = codec.blankRecord();
        for (std::size_t i = 0; i < fields.size() && i < record.size(); ++i) {
            const Value &v = record[i];
            const int fi = int(i);
            switch (fields[i].type) {
            case FieldType::Numeric:
                if (const auto *n = std::get_if<std::int64_t>(&v))
                    codec.setInteger(bytes, fi, *n);
                break;
            case FieldType::Character:
                if (const auto *s = std::get_if<std::string>(&v))
                    codec.setText(bytes, fi, *s);
                break;
            case FieldType::Memo:
                if (const auto *s = std::get_if<std::string>(&v); s && !s->empty()) {
                    codec.setMemoBlock(bytes, fi, nextBlock);
                    const std::string blocks = memoBlocks(*s);
                    memoData += blocks;
                    nextBlock += std::uint32_t(blocks.size() / kMemoBlockSize);
                }
                break;
            }
        }
        data += bytes;
    }
    data.push_back(char(kEndOfFile));

    if (memo) {
        const std::string &target = appendMemo ? memoPath : tmpMemoPath;
        bool ok = true;
        if (!appendMemo)
            ok = writeAt(memoFd.fd, memoHeaderBytes(nextBlock).data(), kMemoBlockSize, 0);
        ok = ok && writeAt(memoFd.fd, memoData.data(), memoData.size(),
                           off_t(firstNewBlock) * off_t(kMemoBlockSize));
        if (ok && appendMemo) {
            unsigned char head[4];
            writeLE32(head, nextBlock);
            ok = writeAt(memoFd.fd, head, 4, 0);
        }
        if (!ok) {
            if (!appendMemo)
                ::unlink(tmpMemoPath.c_str());
            throw DbfError("Не удалось записать файл " + target + ": " + systemError());
        }
        syncOrThrow(memoFd.fd, target);
    }

    Fd tableFd;
    tableFd.fd = ::open(tmpPath.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (tableFd.fd < 0) {
        if (memo && !appendMemo)
            ::unlink(tmpMemoPath.c_str());
        throw DbfError("Не удалось создать файл " + tmpPath + ": " + systemError());
    }
    const std::string header = headerBytes(fields, std::uint32_t(records.size()));
    if (!writeAt(tableFd.fd, header.data(), header.size(), 0) ||
        !writeAt(tableFd.fd, data.data(), data.size(), off_t(header.size())) ||
        ::fsync(tableFd.fd) != 0) {
        const std::string why = systemError();
        ::unlink(tmpPath.c_str());
        if (memo && !appendMemo)
            ::unlink(tmpMemoPath.c_str());
        throw DbfError("Не удалось записать файл " + tmpPath + ": " + why);
    }
    if (memo && !appendMemo && ::rename(tmpMemoPath.c_str(), memoPath.c_str()) != 0) {
        const std::string why = systemError();
        ::unlink(tmpPath.c_str());
        ::unlink(tmpMemoPath.c_str());
        throw DbfError("Не удалось заменить файл " + memoPath + ": " + why);
    }
    if (::rename(tmpPath.c_str(), path.c_str()) != 0) {
        const std::string why = systemError();
        ::unlink(tmpPath.c_str());
        throw DbfError("Не удалось заменить файл " + path + ": " + why);
    }
}

void DbfFile::open(const std::string &pathIn, bool writable, LockMode lock)
{
    close();
    path_ = resolvePathIgnoringCase(pathIn);
    fd_ = ::open(path_.c_str(), writable ? O_RDWR : O_RDONLY);
    if (fd_ < 0) {
        const int err = errno;
        path_ = pathIn;
        if (err == ENOENT)
            throw DbfError("Не найден файл таблицы: " + pathIn);
        throw DbfError("Не удалось открыть таблицу " + pathIn + ": " + std::strerror(err));
    }
    writable_ = writable;
    if (::flock(fd_, (lock == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        close();
        throw DbfError("Таблица занята другой программой или другим окном: " + pathIn);
    }
    try {
        readHeader();
        if (memoLayout_ != MemoLayout::None)
            openMemo(writable);
    } catch (...) {
        close();
        throw;
    }
}

void DbfFile::close()
{
    if (memoFd_ >= 0)
        ::close(memoFd_);
    if (fd_ >= 0)
        ::close(fd_);
    memoFd_ = fd_ = -1;
}

void DbfFile::readHeader()
{
    const off_t size = fileSize(fd_);
    unsigned char h[kHeaderSize];
    if (size < off_t(kHeaderSize + 1) || !readAt(fd_, h, kHeaderSize, 0))
        fail("Повреждён заголовок таблицы (файл слишком короткий)");
    version_ = h[0];
    const unsigned char level = version_ & 0x07;
    if (level != 3 && level != 4)
        fail("Неизвестный формат таблицы (байт версии " + std::to_string(version_) + ")");
    recordCount_ = readLE32(h + kOffsetRecordCount);
    headerLength_ = readLE16(h + kOffsetHeaderLength);
    recordLength_ = readLE16(h + kOffsetRecordLength);
    if (headerLength_ < kHeaderSize + 1 || off_t(headerLength_) > size)
        fail("Повреждён заголовок таблицы (неверная длина заголовка)");
    std::string descriptors(headerLength_ - kHeaderSize, '\0');
    if (!readAt(fd_, descriptors.data(), descriptors.size(), off_t(kHeaderSize)))
        fail("Повреждён заголовок таблицы");
    fields_.clear();
    int offset = 1;
    bool memo = false;
    std::size_t pos = 0;
    for (;; pos += kFieldDescriptorSize) {
        if (pos >= descriptors.size())
            fail("Повреждён заголовок таблицы (нет конца описания полей)");
        if (static_cast<unsigned char>(descriptors[pos]) == kHeaderTerminator)
            break;
        if (pos + kFieldDescriptorSize > descriptors.size())
            fail("Повреждён заголовок таблицы (описание поля обрезано)");
        const auto *d = reinterpret_cast<const unsigned char *>(descriptors.data() + pos);
        FieldDef f;
        f.name = upper(std::string(reinterpret_cast<const char *>(d),
                                   strnlen(reinterpret_cast<const char *>(d), kFieldNameSize)));
        const char type = char(d[11]);
        f.length = d[16];
        f.decimals = d[17];
        switch (type) {
        case 'C':
            f.type = FieldType::Character;
            break;
        case 'N':
        case 'F':
            f.type = FieldType::Numeric;
            break;
        case 'M':
            f.type = FieldType::Memo;
            memo = true;
            if (f.length != int(kMemoPointerWidth))
                fail("Неверная ширина поля примечания " + f.name);
            break;
        default:
            fail("Неизвестный тип поля " + f.name + " ('" + std::string(1, type) + "')");
        }
        if (f.length <= 0)
            fail("Неверная ширина поля " + f.name);
        f.offset = offset;
        offset += f.length;
        fields_.push_back(f);
    }
    if (fields_.empty())
        fail("В таблице нет полей");
    if (std::size_t(offset) != recordLength_)
        fail("Длина записи в заголовке (" + std::to_string(recordLength_) +
             ") не совпадает с полями (" + std::to_string(offset) + ")");
    const off_t needed = off_t(headerLength_) + off_t(recordLength_) * off_t(recordCount_);
    if (needed > size)
        fail("Таблица обрезана: записей в заголовке " + std::to_string(recordCount_) +
             ", в файле меньше");
    if (memo)
        memoLayout_ = (version_ == kVersionDBase4Memo || level == 4) ? MemoLayout::DBase4
                                                                     : MemoLayout::DBase3;
    else
        memoLayout_ = MemoLayout::None;
}

void DbfFile::reloadHeader()
{
    unsigned char h[kHeaderSize];
    if (!readAt(fd_, h, kHeaderSize, 0))
        fail("Повреждён заголовок таблицы");
    const std::uint32_t count = readLE32(h + kOffsetRecordCount);
    if (off_t(headerLength_) + off_t(recordLength_) * off_t(count) > fileSize(fd_))
        fail("Таблица обрезана");
    recordCount_ = count;
}

void DbfFile::openMemo(bool writable)
{
    memoPath_ = memoPathFor(path_);
    memoFd_ = ::open(memoPath_.c_str(), writable ? O_RDWR : O_RDONLY);
    if (memoFd_ < 0)
        throw DbfError("Не найден файл примечаний таблицы: " + memoPath_);
    memoBlockSize_ = kMemoBlockSize;
    if (memoLayout_ == MemoLayout::DBase4) {
        unsigned char h[24];
        if (!readAt(memoFd_, h, sizeof h, 0))
            throw DbfError("Повреждён заголовок файла примечаний: " + memoPath_);
        const std::uint16_t blockSize = readLE16(h + 20);
        if (blockSize >= 32)
            memoBlockSize_ = blockSize;
    }
}

int DbfFile::fieldIndex(const std::string &name) const
{
    const std::string u = upper(name);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == u)
            return int(i);
    return -1;
}

void DbfFile::readRecord(std::uint32_t index, std::string &bytes) const
{
    readRecords(index, 1, bytes);
}

void DbfFile::readRecords(std::uint32_t first, std::uint32_t count, std::string &bytes) const
{
    bytes.resize(recordLength_ * count);
    if (!readAt(fd_, bytes.data(), bytes.size(),
                off_t(headerLength_) + off_t(first) * off_t(recordLength_)))
        fail("Не удалось прочитать запись " + std::to_string(first + 1));
}

void DbfFile::writeRecord(std::uint32_t index, const std::string &bytes)
{
    if (!writeAt(fd_, bytes.data(), recordLength_,
                 off_t(headerLength_) + off_t(index) * off_t(recordLength_)))
        fail("Не удалось записать запись: " + systemError());
}

std::uint32_t DbfFile::appendRecord(const std::string &bytes)
{
    reloadHeader();
    const std::uint32_t index = recordCount_;
    std::string data = bytes;
    data.push_back(char(kEndOfFile));
    unsigned char count[4];
    writeLE32(count, index + 1);
    if (!writeAt(fd_, data.data(), data.size(),
                 off_t(headerLength_) + off_t(index) * off_t(recordLength_)) ||
        !writeAt(fd_, count, 4, off_t(kOffsetRecordCount)))
        fail("Не удалось добавить запись: " + systemError());
    recordCount_ = index + 1;
    return index;
}

std::string DbfFile::readMemo(std::uint32_t block) const
{
    if (memoFd_ < 0)
        throw DbfError("Не найден файл примечаний таблицы: " + path_);
    const off_t size = fileSize(memoFd_);
    const off_t start = off_t(block) * off_t(memoBlockSize_);
    if (block == 0 || start >= size)
        throw DbfError("Ссылка на примечание за концом файла (блок " + std::to_string(block) +
                       "): " + memoPath_);
    if (memoLayout_ == MemoLayout::DBase4) {
        unsigned char h[8];
        if (!readAt(memoFd_, h, 8, start))
            throw DbfError("Повреждено примечание (блок " + std::to_string(block) +
                           "): " + memoPath_);
        if (h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08 && h[3] == 0x00) {
            const std::uint32_t length = readLE32(h + 4);
            if (length < 8 || start + off_t(length) > size)
                throw DbfError("Повреждено примечание (блок " + std::to_string(block) +
                               "): " + memoPath_);
            std::string text(length - 8, '\0');
            readAt(memoFd_, text.data(), text.size(), start + 8);
            return text;
        }
    }
    // dBase III: the text runs up to the end mark.
    std::string text;
    std::string chunk(memoBlockSize_, '\0');
    for (off_t at = start; at < size; at += off_t(chunk.size())) {
        const std::size_t n = std::size_t(std::min<off_t>(off_t(chunk.size()), size - at));
        if (!readAt(memoFd_, chunk.data(), n, at))
            break;
        const auto end = std::find(chunk.begin(), chunk.begin() + long(n), char(kEndOfFile));
        text.append(chunk.begin(), end);
        if (end != chunk.begin() + long(n))
            break;
    }
    return text;
}

std::uint32_t DbfFile::writeMemo(const std::string &text)
{
    if (memoFd_ < 0)
        fail("Нет файла примечаний");
    unsigned char head[4];
    if (!readAt(memoFd_, head, 4, 0))
        throw DbfError("Повреждён заголовок файла примечаний: " + memoPath_);
    std::uint32_t block = std::max<std::uint32_t>(readLE32(head), 1);
    const auto blocksInFile =
        std::uint32_t((fileSize(memoFd_) + off_t(memoBlockSize_) - 1) / off_t(memoBlockSize_));
    block = std::max(block, blocksInFile);
    std::string data;
    if (memoLayout_ == MemoLayout::DBase4) {
        data.assign(8, '\0');
        auto *p = reinterpret_cast<unsigned char *>(data.data());
        p[0] = p[1] = 0xFF;
        p[2] = 0x08;
        writeLE32(p + 4, std::uint32_t(text.size() + 8));
        data += text;
    } else {
        data = text;
        data.push_back(char(kEndOfFile));
        data.push_back(char(kEndOfFile));
    }
    data.resize((data.size() + memoBlockSize_ - 1) / memoBlockSize_ * memoBlockSize_, '\0');
    const std::uint32_t next = block + std::uint32_t(data.size() / memoBlockSize_);
    writeLE32(head, next);
    if (!writeAt(memoFd_, data.data(), data.size(), off_t(block) * off_t(memoBlockSize_)) ||
        !writeAt(memoFd_, head, 4, 0))
        throw DbfError("Не удалось записать примечание: " + memoPath_ + ": " + systemError());
    return block;
}

std::string DbfFile::blankRecord() const
{
    std::string r(recordLength_, ' ');
    return r;
}

bool DbfFile::isBlank(const std::string &bytes, int field) const
{
    const FieldDef &f = fields_[std::size_t(field)];
    for (int i = 0; i < f.length; ++i) {
        const char c = bytes[std::size_t(f.offset + i)];
        if (c != ' ' && c != '\0')
            return false;
    }
    return true;
}

std::optional<std::int64_t> DbfFile::integer(const std::string &bytes, int field) const
{
    const FieldDef &f = fields_[std::size_t(field)];
    const char *b = bytes.data() + f.offset;
    const char *e = b + f.length;
    while (b < e && (*b == ' ' || *b == '\0'))
        ++b;
    while (e > b && (e[-1] == ' ' || e[-1] == '\0'))
        --e;
    if (b == e)
        return std::nullopt;
    bool negative = false;
    if (*b == '-' || *b == '+')
        negative = *b++ == '-';
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(b, e, value);
    if (ec != std::errc() || b == ptr)
        return std::nullopt;
    // Decimal places of a numeric field written elsewhere are cut off.
    return negative ? -value : value;
}

std::string DbfFile::text(const std::string &bytes, int field) const
{
    const FieldDef &f = fields_[std::size_t(field)];
    std::size_t len = std::size_t(f.length);
    const char *b = bytes.data() + f.offset;
    while (len > 0 && (b[len - 1] == ' ' || b[len - 1] == '\0'))
        --len;
    return std::string(b, len);
}

std::optional<std::uint32_t> DbfFile::memoBlock(const std::string &bytes, int field) const
{
    const auto n = integer(bytes, field);
    if (!n || *n <= 0)
        return std::nullopt;
    return std::uint32_t(*n);
}

void DbfFile::setInteger(std::string &bytes, int field, std::optional<std::int64_t> value) const
{
    const FieldDef &f = fields_[std::size_t(field)];
    std::string digits = value ? std::to_string(*value) : std::string();
    if (int(digits.size()) > f.length)
        throw DbfError("Число " + digits + " не помещается в поле " + f.name + ": " + path_);
    bytes.replace(std::size_t(f.offset), std::size_t(f.length),
                  std::string(std::size_t(f.length) - digits.size(), ' ') + digits);
}

void DbfFile::setText(std::string &bytes, int field, const std::string &value) const
{
    const FieldDef &f = fields_[std::size_t(field)];
    std::string v = value.substr(0, std::size_t(f.length));
    v.resize(std::size_t(f.length), ' ');
    bytes.replace(std::size_t(f.offset), std::size_t(f.length), v);
}

void DbfFile::setMemoBlock(std::string &bytes, int field, std::optional<std::uint32_t> block) const
{
    setInteger(bytes, field, block ? std::optional<std::int64_t>(*block) : std::nullopt);
}

Record DbfFile::values(const std::string &bytes) const
{
    Record r(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const int fi = int(i);
        switch (fields_[i].type) {
        case FieldType::Numeric:
            if (const auto n = integer(bytes, fi))
                r[i] = *n;
            break;
        case FieldType::Character:
            if (!isBlank(bytes, fi))
                r[i] = text(bytes, fi);
            break;
        case FieldType::Memo:
            if (const auto b = memoBlock(bytes, fi))
                r[i] = readMemo(*b);
            break;
        }
    }
    return r;
}

} // namespace kv::dbf
