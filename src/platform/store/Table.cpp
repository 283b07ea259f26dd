#include "Table.h"

#include "platform/dbf/DbfFile.h"
#include "platform/dbf/DbfLayout.h"
#include "platform/dbf/FileLookup.h"
#include "platform/dbf/NewTableFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>

#include <sys/file.h>
#include <sys/stat.h>

namespace kv::store {

namespace L = dbf::layout;

namespace {

// Runs `f`, turning errors of the file layer into StoreError.
template <typename F> decltype(auto) guarded(F &&f)
{
    try {
        return f();
    } catch (const dbf::DbfError &e) {
        throw StoreError(e.what());
    }
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// "NAME=number", spaces allowed around both.
bool parseFilter(std::string_view text, std::string &name, std::int64_t &value)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = std::string(trim(text.substr(0, eq)));
    std::string_view number = trim(text.substr(eq + 1));
    if (name.empty() || number.empty())
        return false;
    if (number.front() == '+')
        number.remove_prefix(1);
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    return ec == std::errc() && end == number.data() + number.size();
}

constexpr std::uint32_t kWindowBytes = 64 * 1024;
constexpr std::size_t kMemoCacheSize = 16;
constexpr std::size_t kScanChunkBytes = 1 << 20;

} // namespace

struct Table::Impl
{
    Table *q;
    std::string fileName;
    std::string filter;
    bool exclusive = false;
    bool readOnly = false;
    bool filtered = false;

    std::unique_ptr<dbf::DbfFile> file;
    std::vector<std::uint32_t> rows; // physical record numbers shown
    int current = -1;
    bool bof = true;
    bool eof = true;
    TableState state = TableState::Closed;

    // Edit buffer: the raw record and the memo texts set since edit began.
    std::string buffer;
    std::map<int, std::string> memoEdits;
    bool modified = false;
    int rowBeforeInsert = -1;

    int disableCount = 0;

    // Active filter: field index and number, -1 when none.
    int filterField = -1;
    std::int64_t filterValue = 0;

    // Records read ahead (a window of consecutive records, so that walks
    // and list pages need few reads) and a few memo texts.
    mutable std::string window;
    mutable std::uint32_t windowFirst = 0;
    mutable std::uint32_t windowCount = 0;
    struct MemoEntry
    {
        std::uint32_t recno;
        int field;
        std::string text;
    };
    mutable std::vector<MemoEntry> memoCache;
    mutable std::size_t memoCacheNext = 0;

    explicit Impl(Table *table) : q(table) {}

    bool isOpen() const { return state != TableState::Closed; }
    bool editing() const { return state == TableState::Edit || state == TableState::Insert; }

    void notify(void (Table::*signal)())
    {
        if (disableCount == 0)
            (q->*signal)();
    }
    void notifyRow(int row)
    {
        if (disableCount == 0)
            emit q->rowChanged(row);
    }

    void requireOpen() const
    {
        if (!isOpen())
            throw StoreError("Таблица не открыта: " + fileName);
    }
    void requireWritable() const
    {
        requireOpen();
        if (readOnly)
            throw StoreError("Таблица открыта только для чтения: " + fileName);
    }
    // Emptying and packing need the file alone and drop a pending edit.
    void prepareRewrite()
    {
        requireWritable();
        if (!exclusive)
            throw StoreError("Таблица должна быть открыта монопольно: " + fileName);
        dropEdit();
    }
    void requireEditing() const
    {
        requireOpen();
        if (!editing())
            throw StoreError("Таблица не в режиме редактирования: " + fileName);
    }

    const dbf::FieldDef &field(std::string_view name, int *index = nullptr) const
    {
        requireOpen();
        const int i = file->fieldIndex(name);
        if (i < 0)
            throw StoreError("В таблице " + fileName + " нет поля " + std::string(name));
        if (index)
            *index = i;
        return file->fields()[static_cast<std::size_t>(i)];
    }

    void clearCaches()
    {
        window.clear();
        windowFirst = windowCount = 0;
        memoCache.clear();
        memoCacheNext = 0;
    }

    std::string_view record(std::uint32_t recno) const
    {
        const std::uint32_t length = file->recordLength();
        if (recno < windowFirst || recno >= windowFirst + windowCount) {
            const std::uint32_t count = std::max(file->recordCount(), recno + 1);
            const std::uint32_t span = std::max<std::uint32_t>(1, kWindowBytes / length);
            // Moving backwards reads the records before, otherwise those after.
            std::uint32_t first = recno;
            if (windowCount > 0 && recno < windowFirst)
                first = recno + 1 >= span ? recno + 1 - span : 0;
            const std::uint32_t n = std::min(span, count - first);
            window.resize(std::size_t{n} * length);
            windowCount = 0;
            file->readRecords(first, n, window.data());
            windowFirst = first;
            windowCount = n;
        }
        return std::string_view(window).substr(std::size_t{recno - windowFirst} * length, length);
    }

    // Keeps the caches true after this view stored record `recno`.
    void stored(std::uint32_t recno, std::string_view raw)
    {
        if (recno >= windowFirst && recno < windowFirst + windowCount)
            window.replace(std::size_t{recno - windowFirst} * file->recordLength(), raw.size(),
                           raw);
        for (auto &entry : memoCache)
            if (entry.recno == recno)
                entry.recno = UINT32_MAX;
    }

    std::string memo(std::uint32_t recno, int fieldIndex, std::string_view raw) const
    {
        for (const auto &entry : memoCache)
            if (entry.recno == recno && entry.field == fieldIndex)
                return entry.text;
        const auto &f = file->fields()[static_cast<std::size_t>(fieldIndex)];
        std::string text = file->readMemo(
            raw.substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.length)));
        MemoEntry entry{recno, fieldIndex, text};
        if (memoCache.size() < kMemoCacheSize) {
            memoCache.push_back(std::move(entry));
        } else {
            memoCache[memoCacheNext] = std::move(entry);
            memoCacheNext = (memoCacheNext + 1) % kMemoCacheSize;
        }
        return text;
    }

    // The raw bytes of shown row `row` (the edit buffer for the record being
    // edited); a view without data when there is none.
    std::string_view rawOfRow(int row) const
    {
        if (row < 0 || row >= static_cast<int>(rows.size()))
            return {};
        if (state == TableState::Edit && row == current)
            return buffer;
        return record(rows[static_cast<std::size_t>(row)]);
    }
    std::string_view currentRaw() const
    {
        if (state == TableState::Insert)
            return buffer;
        return rawOfRow(current);
    }
    bool isBuffer(std::string_view raw) const { return editing() && raw.data() == buffer.data(); }

    // --- typed reads of one field of a raw record --------------------------------
    std::string_view slice(std::string_view raw, const dbf::FieldDef &f) const
    {
        return raw.substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.length));
    }

    std::string text(std::string_view raw, int row, int index) const
    {
        if (raw.data() == nullptr || index < 0 || index >= static_cast<int>(file->fields().size()))
            return {};
        const auto &f = file->fields()[static_cast<std::size_t>(index)];
        if (f.type == dbf::FieldType::Memo) {
            if (isBuffer(raw)) {
                auto it = memoEdits.find(index);
                if (it != memoEdits.end())
                    return it->second;
                if (state == TableState::Insert)
                    return {};
            }
            return memo(rows[static_cast<std::size_t>(row)], index, raw);
        }
        if (f.type == dbf::FieldType::Numeric || f.type == dbf::FieldType::Float)
            return std::string(trim(dbf::decodeText(slice(raw, f))));
        return dbf::decodeText(slice(raw, f));
    }

    std::optional<std::int64_t> integer(std::string_view raw, int index) const
    {
        if (raw.data() == nullptr || index < 0 || index >= static_cast<int>(file->fields().size()))
            return std::nullopt;
        const auto &f = file->fields()[static_cast<std::size_t>(index)];
        if (f.type == dbf::FieldType::Memo)
            return std::nullopt;
        return dbf::decodeInteger(slice(raw, f), f.decimals);
    }

    // --- shown rows ------------------------------------------------------------------
    void applyFilterText()
    {
        filterField = -1;
        if (!filtered || trim(filter).empty() || !file)
            return;
        std::string name;
        if (!parseFilter(filter, name, filterValue))
            throw StoreError("Неверное условие отбора для таблицы " + fileName + ": " + filter);
        filterField = file->fieldIndex(name);
        if (filterField < 0)
            throw StoreError("Неверное условие отбора для таблицы " + fileName + ": нет поля " +
                             name);
    }

    // Reads only the deleted flags (and the filter field) of all records.
    void buildRows()
    {
        rows.clear();
        const std::uint32_t count = file->recordCount();
        const std::uint32_t length = file->recordLength();
        const std::uint32_t perChunk =
            std::max<std::uint32_t>(1, static_cast<std::uint32_t>(kScanChunkBytes / length));
        const dbf::FieldDef *f =
            filterField >= 0 ? &file->fields()[static_cast<std::size_t>(filterField)] : nullptr;
        std::string chunk;
        for (std::uint32_t first = 0; first < count; first += perChunk) {
            const std::uint32_t n = std::min(perChunk, count - first);
            chunk.resize(std::size_t{n} * length);
            file->readRecords(first, n, chunk.data());
            for (std::uint32_t i = 0; i < n; ++i) {
                const char *rec = chunk.data() + std::size_t{i} * length;
                if (rec[0] == L::kRecordDeleted)
                    continue;
                if (f) {
                    const auto v = dbf::decodeInteger(
                        std::string_view(rec + f->offset, static_cast<std::size_t>(f->length)),
                        f->decimals);
                    if (!v || *v != filterValue)
                        continue;
                }
                rows.push_back(first + i);
            }
        }
    }

    // Makes the shown row nearest to record `recno` current.
    void placeAt(std::optional<std::uint32_t> recno)
    {
        if (rows.empty()) {
            current = -1;
        } else if (!recno) {
            current = 0;
        } else {
            auto it = std::lower_bound(rows.begin(), rows.end(), *recno);
            current = it == rows.end() ? static_cast<int>(rows.size()) - 1
                                       : static_cast<int>(it - rows.begin());
        }
        bof = current <= 0;
        eof = rows.empty();
    }

    void dropEdit()
    {
        buffer.clear();
        memoEdits.clear();
        modified = false;
        if (state != TableState::Closed)
            state = TableState::Browse;
    }

    // A pending edit is posted if a field changed, otherwise cancelled.
    void endPendingEdit()
    {
        if (!editing())
            return;
        if (modified)
            q->post();
        else
            q->cancel();
    }

    void setMoved(int row, bool atBof, bool atEof)
    {
        current = row;
        bof = atBof;
        eof = atEof;
        notify(&Table::currentChanged);
    }

    void openFile();
    void replaceWith(dbf::NewTableFile &newFile);
};

void Table::Impl::openFile()
{
    dbf::recoverInterruptedReplace(fileName);
    const auto path = dbf::findFileNoCase(fileName);
    if (!path)
        throw StoreError("Не найден файл таблицы: " + fileName);
    // A table swapped in by another program between open and lock is opened
    // again, so that the lock is taken on the file that bears the name.
    for (int attempt = 0; attempt < 5; ++attempt) {
        auto opened = dbf::DbfFile::open(*path, fileName, !readOnly);
        if (::flock(opened->fd(), (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                throw StoreError("Таблица занята другой программой: " + fileName);
            throw StoreError("Не удалось открыть файл таблицы " + fileName + ": " +
                             dbf::systemErrorText(errno));
        }
        struct stat held
        {
        }, named{};
        if (::fstat(opened->fd(), &held) == 0 && ::stat(path->c_str(), &named) == 0 &&
            (held.st_ino != named.st_ino || held.st_dev != named.st_dev))
            continue;
        // The record count may have changed while the lock was being taken.
        opened->reloadRecordCount();
        file = std::move(opened);
        return;
    }
    throw StoreError("Таблица занята другой программой: " + fileName);
}

void Table::Impl::replaceWith(dbf::NewTableFile &newFile)
{
    newFile.lockExclusive();
    newFile.commit();
    const std::string path = newFile.tablePath();
    auto table = newFile.takeTable();
    auto memo = newFile.takeMemo();
    file = dbf::DbfFile::adopt(std::move(table), std::move(memo), path, fileName);
    clearCaches();
    buildRows();
    placeAt(std::nullopt);
}

// --- Table -------------------------------------------------------------------------------

Table::Table(QObject *parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

Table::~Table() = default;

void Table::setFileName(const std::string &fileName)
{
    d->fileName = fileName;
}
const std::string &Table::fileName() const
{
    return d->fileName;
}
void Table::setExclusive(bool exclusive)
{
    d->exclusive = exclusive;
}
bool Table::exclusive() const
{
    return d->exclusive;
}
void Table::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
}
bool Table::readOnly() const
{
    return d->readOnly;
}
const std::string &Table::filter() const
{
    return d->filter;
}
bool Table::filtered() const
{
    return d->filtered;
}

void Table::setFilter(const std::string &filterText)
{
    if (filterText == d->filter)
        return;
    if (!d->isOpen()) {
        d->filter = filterText;
        return;
    }
    d->endPendingEdit();
    const std::string old = d->filter;
    d->filter = filterText;
    try {
        d->applyFilterText();
    } catch (...) {
        d->filter = old;
        d->applyFilterText();
        throw;
    }
    guarded([&] { d->buildRows(); });
    d->placeAt(std::nullopt);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

void Table::setFiltered(bool filtered)
{
    if (filtered == d->filtered)
        return;
    if (!d->isOpen()) {
        d->filtered = filtered;
        return;
    }
    d->endPendingEdit();
    d->filtered = filtered;
    try {
        d->applyFilterText();
    } catch (...) {
        d->filtered = !filtered;
        d->applyFilterText();
        throw;
    }
    guarded([&] { d->buildRows(); });
    d->placeAt(std::nullopt);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

void Table::open()
{
    if (d->isOpen())
        return;
    guarded([&] {
        d->openFile();
        try {
            d->applyFilterText();
            d->buildRows();
        } catch (...) {
            d->file.reset();
            throw;
        }
    });
    d->clearCaches();
    d->state = TableState::Browse;
    d->placeAt(std::nullopt);
    d->notify(&Table::stateChanged);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

void Table::close()
{
    if (!d->isOpen())
        return;
    d->dropEdit();
    d->file.reset();
    d->rows.clear();
    d->clearCaches();
    d->current = -1;
    d->bof = d->eof = true;
    d->state = TableState::Closed;
    d->notify(&Table::stateChanged);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
    if (afterClose)
        afterClose(*this);
}

bool Table::isOpen() const
{
    return d->isOpen();
}
TableState Table::state() const
{
    return d->state;
}
bool Table::isEditing() const
{
    return d->editing();
}

void Table::first()
{
    d->requireOpen();
    d->endPendingEdit();
    d->setMoved(d->rows.empty() ? -1 : 0, true, d->rows.empty());
}

void Table::last()
{
    d->requireOpen();
    d->endPendingEdit();
    d->setMoved(static_cast<int>(d->rows.size()) - 1, d->rows.empty(), true);
}

void Table::next()
{
    d->requireOpen();
    d->endPendingEdit();
    if (d->current + 1 < static_cast<int>(d->rows.size()))
        d->setMoved(d->current + 1, false, false);
    else
        d->eof = true;
}

void Table::prior()
{
    d->requireOpen();
    d->endPendingEdit();
    if (d->current > 0)
        d->setMoved(d->current - 1, false, false);
    else
        d->bof = true;
}

bool Table::bof() const
{
    return d->bof;
}
bool Table::eof() const
{
    return d->eof;
}
int Table::recordCount() const
{
    return static_cast<int>(d->rows.size());
}

int Table::currentRow() const
{
    return d->state == TableState::Insert ? -1 : d->current;
}

void Table::moveTo(int row)
{
    d->requireOpen();
    d->endPendingEdit();
    if (d->rows.empty())
        return;
    row = std::clamp(row, 0, static_cast<int>(d->rows.size()) - 1);
    if (row != d->current)
        d->setMoved(row, false, false);
}

void Table::insert()
{
    d->requireWritable();
    d->endPendingEdit();
    if (beforeInsert)
        beforeInsert(*this);
    d->rowBeforeInsert = d->current;
    d->buffer.assign(d->file->recordLength(), ' ');
    d->memoEdits.clear();
    d->modified = false;
    d->state = TableState::Insert;
    d->notify(&Table::stateChanged);
    d->notify(&Table::currentChanged);
    if (afterInsert)
        afterInsert(*this);
}

void Table::append()
{
    insert();
}

void Table::edit()
{
    d->requireWritable();
    if (d->editing())
        return;
    if (d->rows.empty()) {
        insert();
        return;
    }
    if (d->current < 0)
        d->current = 0;
    d->buffer = guarded(
        [&] { return std::string(d->record(d->rows[static_cast<std::size_t>(d->current)])); });
    d->memoEdits.clear();
    d->modified = false;
    d->state = TableState::Edit;
    d->notify(&Table::stateChanged);
    if (afterEdit)
        afterEdit(*this);
}

void Table::post()
{
    d->requireOpen();
    if (!d->editing())
        return;
    guarded([&] {
        std::string raw = d->buffer;
        for (const auto &[index, text] : d->memoEdits) {
            const auto &f = d->file->fields()[static_cast<std::size_t>(index)];
            dbf::encodeMemoBlock(d->file->writeMemo(text), raw.data() + f.offset);
        }
        raw[0] = L::kRecordActive;
        if (d->state == TableState::Insert) {
            const std::uint32_t recno = d->file->appendRecord(raw);
            d->rows.push_back(recno);
            d->current = static_cast<int>(d->rows.size()) - 1;
            d->stored(recno, raw);
        } else {
            const std::uint32_t recno = d->rows[static_cast<std::size_t>(d->current)];
            d->file->writeRecord(recno, raw);
            d->stored(recno, raw);
        }
    });
    const bool inserted = d->state == TableState::Insert;
    d->dropEdit();
    d->bof = d->eof = false;
    d->notify(&Table::stateChanged);
    if (inserted)
        d->notify(&Table::rowsReset);
    else
        d->notifyRow(d->current);
    d->notify(&Table::currentChanged);
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    if (!d->editing())
        return;
    if (d->state == TableState::Insert)
        d->current = std::min(d->rowBeforeInsert, static_cast<int>(d->rows.size()) - 1);
    d->dropEdit();
    d->notify(&Table::stateChanged);
    d->notify(&Table::currentChanged);
    if (afterCancel)
        afterCancel(*this);
}

void Table::remove()
{
    d->requireWritable();
    if (d->state == TableState::Insert) {
        cancel();
        return;
    }
    if (d->rows.empty() || d->current < 0)
        throw StoreError("Нет записи для удаления в таблице " + d->fileName);
    const std::uint32_t recno = d->rows[static_cast<std::size_t>(d->current)];
    guarded([&] {
        d->file->markDeleted(recno);
        std::string raw(d->record(recno));
        raw[0] = L::kRecordDeleted;
        d->stored(recno, raw);
    });
    d->dropEdit();
    d->rows.erase(d->rows.begin() + d->current);
    if (d->current >= static_cast<int>(d->rows.size()))
        d->current = static_cast<int>(d->rows.size()) - 1;
    d->bof = d->current <= 0;
    d->eof = d->rows.empty();
    d->notify(&Table::stateChanged);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
    if (afterDelete)
        afterDelete(*this);
}

bool Table::isModified() const
{
    return d->modified;
}

const std::vector<dbf::FieldDef> &Table::fields() const
{
    static const std::vector<dbf::FieldDef> none;
    return d->file ? d->file->fields() : none;
}

int Table::fieldIndex(std::string_view name) const
{
    return d->file ? d->file->fieldIndex(name) : -1;
}

bool Table::isNull(std::string_view name) const
{
    int index = -1;
    const auto &f = d->field(name, &index);
    if (f.type == dbf::FieldType::Memo)
        return textField(name).empty();
    const std::string_view raw = guarded([&] { return d->currentRaw(); });
    return raw.data() == nullptr || trim(dbf::decodeText(d->slice(raw, f))).empty();
}

std::optional<std::int64_t> Table::integerField(std::string_view name) const
{
    int index = -1;
    d->field(name, &index);
    return guarded([&] { return d->integer(d->currentRaw(), index); });
}

std::string Table::textField(std::string_view name) const
{
    int index = -1;
    d->field(name, &index);
    return guarded([&] { return d->text(d->currentRaw(), d->current, index); });
}

void Table::setIntegerField(std::string_view name, std::optional<std::int64_t> value)
{
    d->requireEditing();
    int index = -1;
    const auto &f = d->field(name, &index);
    if (f.type == dbf::FieldType::Memo) {
        setTextField(name, value ? std::to_string(*value) : std::string());
        return;
    }
    char *at = d->buffer.data() + f.offset;
    if (f.type == dbf::FieldType::Numeric || f.type == dbf::FieldType::Float) {
        if (!dbf::encodeInteger(value, at, f.length))
            throw StoreError("Число " + std::to_string(*value) + " не помещается в поле " + f.name +
                             " таблицы " + d->fileName);
    } else {
        dbf::encodeText(value ? std::to_string(*value) : std::string(), at, f.length);
    }
    d->modified = true;
    d->notify(&Table::currentChanged);
}

void Table::setTextField(std::string_view name, std::string_view value)
{
    d->requireEditing();
    int index = -1;
    const auto &f = d->field(name, &index);
    if (f.type == dbf::FieldType::Memo) {
        // A text equal to the stored one needs no new memo block.
        const std::string stored = d->state == TableState::Insert ? std::string() : guarded([&] {
            const std::uint32_t recno = d->rows[static_cast<std::size_t>(d->current)];
            return d->memo(recno, index, d->record(recno));
        });
        if (value == stored)
            d->memoEdits.erase(index);
        else
            d->memoEdits[index] = std::string(value);
    } else if (f.type == dbf::FieldType::Numeric || f.type == dbf::FieldType::Float) {
        const std::string_view text = trim(value);
        std::optional<std::int64_t> number;
        if (!text.empty()) {
            std::int64_t v = 0;
            const char *begin = text.data() + (text.front() == '+' ? 1 : 0);
            auto [end, ec] = std::from_chars(begin, text.data() + text.size(), v);
            if (ec != std::errc() || end != text.data() + text.size())
                throw StoreError("\"" + std::string(value) + "\" не является целым числом (поле " +
                                 f.name + " таблицы " + d->fileName + ")");
            number = v;
        }
        if (!dbf::encodeInteger(number, d->buffer.data() + f.offset, f.length))
            throw StoreError("Число " + std::string(text) + " не помещается в поле " + f.name +
                             " таблицы " + d->fileName);
    } else {
        dbf::encodeText(value, d->buffer.data() + f.offset, f.length);
    }
    d->modified = true;
    d->notify(&Table::currentChanged);
}

std::optional<std::int64_t> Table::integerAt(int row, int field) const
{
    if (!d->isOpen())
        return std::nullopt;
    return guarded([&] { return d->integer(d->rawOfRow(row), field); });
}

std::string Table::textAt(int row, int field) const
{
    if (!d->isOpen())
        return {};
    return guarded([&] { return d->text(d->rawOfRow(row), row, field); });
}

Bookmark Table::bookmark() const
{
    if (!d->isOpen() || d->state == TableState::Insert || d->current < 0)
        return -1;
    return d->rows[static_cast<std::size_t>(d->current)];
}

void Table::gotoBookmark(Bookmark bookmark)
{
    d->requireOpen();
    d->endPendingEdit();
    if (bookmark < 0 || d->rows.empty())
        return;
    auto it =
        std::lower_bound(d->rows.begin(), d->rows.end(),
                         static_cast<std::uint32_t>(std::min<Bookmark>(bookmark, UINT32_MAX)));
    const int row = it == d->rows.end() ? static_cast<int>(d->rows.size()) - 1
                                        : static_cast<int>(it - d->rows.begin());
    d->setMoved(row, false, false);
}

void Table::disableControls()
{
    ++d->disableCount;
}

void Table::enableControls()
{
    if (d->disableCount == 0)
        return;
    if (--d->disableCount == 0) {
        d->notify(&Table::stateChanged);
        d->notify(&Table::rowsReset);
        d->notify(&Table::currentChanged);
    }
}

bool Table::controlsDisabled() const
{
    return d->disableCount > 0;
}

void Table::refresh()
{
    d->requireOpen();
    d->endPendingEdit();
    std::optional<std::uint32_t> recno;
    if (d->current >= 0)
        recno = d->rows[static_cast<std::size_t>(d->current)];
    guarded([&] {
        d->file->reloadRecordCount();
        d->clearCaches();
        d->buildRows();
    });
    d->placeAt(recno);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

void Table::emptyTable()
{
    d->prepareRewrite();
    guarded([&] {
        dbf::NewTableFile newFile(d->file->path(), d->fileName, d->file->fields());
        d->replaceWith(newFile);
    });
    d->notify(&Table::stateChanged);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

void Table::pack()
{
    d->prepareRewrite();
    guarded([&] {
        dbf::DbfFile &old = *d->file;
        dbf::NewTableFile newFile(old.path(), d->fileName, old.fields());
        const auto &fields = old.fields();
        const std::uint32_t count = old.reloadRecordCount();
        const std::uint32_t length = old.recordLength();
        const std::uint32_t perChunk =
            std::max<std::uint32_t>(1, static_cast<std::uint32_t>(kScanChunkBytes / length));
        std::string chunk;
        for (std::uint32_t first = 0; first < count; first += perChunk) {
            const std::uint32_t n = std::min(perChunk, count - first);
            chunk.resize(std::size_t{n} * length);
            old.readRecords(first, n, chunk.data());
            for (std::uint32_t i = 0; i < n; ++i) {
                std::string raw = chunk.substr(std::size_t{i} * length, length);
                if (raw[0] == L::kRecordDeleted)
                    continue;
                raw[0] = L::kRecordActive;
                for (const auto &f : fields) {
                    if (f.type != dbf::FieldType::Memo)
                        continue;
                    const std::string text = old.readMemo(std::string_view(raw).substr(
                        static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.length)));
                    dbf::encodeMemoBlock(newFile.writeMemo(text), raw.data() + f.offset);
                }
                newFile.appendRaw(raw);
            }
        }
        d->replaceWith(newFile);
    });
    d->notify(&Table::stateChanged);
    d->notify(&Table::rowsReset);
    d->notify(&Table::currentChanged);
}

} // namespace kv::store
