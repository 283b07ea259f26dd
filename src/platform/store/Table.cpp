#include "Table.h"

#include "platform/dbf/DbfFile.h"

#include <QDir>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

namespace kv::store {

using dbf::DbfError;
using dbf::DbfFile;
using dbf::FieldType;

namespace {

struct Filter
{
    int field = -1;
    std::int64_t value = 0;
};

} // namespace

struct Table::Impl
{
    std::string fileName;
    bool exclusive = false;
    bool readOnly = false;
    std::string filterText;
    bool filtered = false;

    DbfFile file;
    TableState state = TableState::Closed;
    std::vector<std::uint32_t> rows; // physical record numbers shown
    int current = -1;                // index into rows; -1 when empty
    bool bof = true;
    bool eof = true;

    // Buffer of the current record and its memo texts (loaded on demand).
    std::string buffer;
    std::string original;
    std::map<int, std::string> memoTexts; // loaded or edited memo texts
    std::map<int, bool> memoChanged;
    bool modified = false;
    std::uint32_t editedRecord = 0;

    int disableCount = 0;

    // One-record cache for integerAt/textAt.
    mutable std::int64_t cachedRecord = -1;
    mutable std::string cachedBytes;

    std::optional<Filter> activeFilter() const
    {
        if (!filtered || filterText.empty())
            return std::nullopt;
        for (const char *prefix : {"NGRUPPY = ", "NGRUPPY=", "NBILETA="}) {
            if (filterText.rfind(prefix, 0) == 0) {
                const std::string name = std::string(prefix).substr(0, 7);
                const std::string number = filterText.substr(std::strlen(prefix));
                Filter f;
                f.field = file.fieldIndex(name);
                const auto [ptr, ec] =
                    std::from_chars(number.data(), number.data() + number.size(), f.value);
                if (f.field < 0 || ec != std::errc() || ptr != number.data() + number.size())
                    break;
                return f;
            }
        }
        throw StoreError("Неверный фильтр таблицы " + fileName + ": " + filterText);
    }

    void buildRows()
    {
        rows.clear();
        cachedRecord = -1;
        const auto filter = activeFilter();
        const std::uint32_t count = file.recordCount();
        rows.reserve(count);
        const std::size_t length = file.recordLength();
        const std::uint32_t chunk = std::max<std::uint32_t>(1, std::uint32_t((1u << 20) / length));
        std::string bytes;
        std::string one;
        for (std::uint32_t first = 0; first < count; first += chunk) {
            const std::uint32_t n = std::min(chunk, count - first);
            file.readRecords(first, n, bytes);
            for (std::uint32_t i = 0; i < n; ++i) {
                const char *rec = bytes.data() + std::size_t(i) * length;
                if (*rec == dbf::kDeletedFlag)
                    continue;
                if (filter) {
                    one.assign(rec, length);
                    const auto v = file.integer(one, filter->field);
                    if (!v || *v != filter->value)
                        continue;
                }
                rows.push_back(first + i);
            }
        }
    }

    bool matchesFilter(const std::string &bytes) const
    {
        const auto filter = activeFilter();
        if (!filter)
            return true;
        const auto v = file.integer(bytes, filter->field);
        return v && *v == filter->value;
    }

    void load()
    {
        memoTexts.clear();
        memoChanged.clear();
        modified = false;
        if (current >= 0 && current < int(rows.size()))
            file.readRecord(rows[std::size_t(current)], buffer);
        else
            buffer = file.blankRecord();
        original = buffer;
    }

    std::string memoText(int field)
    {
        if (const auto it = memoTexts.find(field); it != memoTexts.end())
            return it->second;
        std::string text;
        if (const auto block = file.memoBlock(buffer, field))
            text = file.readMemo(*block);
        memoTexts[field] = text;
        return text;
    }
};

Table::Table(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {}

Table::~Table()
{
    if (d->file.isOpen())
        d->file.close();
}

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
    return d->filterText;
}
bool Table::filtered() const
{
    return d->filtered;
}

void Table::setFilter(const std::string &filterText)
{
    if (d->filterText == filterText)
        return;
    d->filterText = filterText;
    if (isOpen())
        refresh();
}

void Table::setFiltered(bool filtered)
{
    if (d->filtered == filtered)
        return;
    d->filtered = filtered;
    if (isOpen())
        refresh();
}

void Table::open()
{
    if (isOpen())
        return;
    try {
        d->file.open(d->fileName, !d->readOnly,
                     d->exclusive ? dbf::LockMode::Exclusive : dbf::LockMode::Shared);
        d->buildRows();
    } catch (const DbfError &e) {
        d->file.close();
        throw StoreError(e.what());
    } catch (...) {
        d->file.close();
        throw;
    }
    d->state = TableState::Browse;
    d->current = d->rows.empty() ? -1 : 0;
    d->bof = true;
    d->eof = d->rows.empty();
    d->load();
    if (!d->disableCount) {
        emit rowsReset();
        emit stateChanged();
        emit currentChanged();
    }
}

void Table::close()
{
    if (!isOpen())
        return;
    d->file.close();
    d->state = TableState::Closed;
    d->rows.clear();
    d->current = -1;
    d->modified = false;
    d->cachedRecord = -1;
    if (afterClose)
        afterClose(*this);
    if (!d->disableCount) {
        emit rowsReset();
        emit stateChanged();
        emit currentChanged();
    }
}

bool Table::isOpen() const
{
    return d->state != TableState::Closed;
}
TableState Table::state() const
{
    return d->state;
}
bool Table::isEditing() const
{
    return d->state == TableState::Edit || d->state == TableState::Insert;
}

namespace {
void requireOpen(const Table &t)
{
    if (!t.isOpen())
        throw StoreError("Таблица не открыта: " + t.fileName());
}
} // namespace

// Ends a pending edit before moving: posted when a field changed, else cancelled.
static void endPendingEdit(Table &t)
{
    if (!t.isEditing())
        return;
    if (t.isModified())
        t.post();
    else
        t.cancel();
}

void Table::first()
{
    requireOpen(*this);
    endPendingEdit(*this);
    moveTo(0);
    d->bof = true;
    d->eof = d->rows.empty();
}

void Table::last()
{
    requireOpen(*this);
    endPendingEdit(*this);
    moveTo(int(d->rows.size()) - 1);
    d->eof = true;
    d->bof = d->rows.empty();
}

void Table::next()
{
    requireOpen(*this);
    endPendingEdit(*this);
    if (d->current + 1 < int(d->rows.size())) {
        moveTo(d->current + 1);
        d->bof = false;
        d->eof = false;
    } else {
        d->eof = true;
    }
}

void Table::prior()
{
    requireOpen(*this);
    endPendingEdit(*this);
    if (d->current > 0) {
        moveTo(d->current - 1);
        d->bof = false;
        d->eof = false;
    } else {
        d->bof = true;
    }
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
    return int(d->rows.size());
}
int Table::currentRow() const
{
    return d->current;
}

void Table::moveTo(int row)
{
    requireOpen(*this);
    endPendingEdit(*this);
    if (d->rows.empty())
        row = -1;
    else
        row = std::clamp(row, 0, int(d->rows.size()) - 1);
    d->bof = row <= 0;
    d->eof = row < 0 || row == int(d->rows.size()) - 1;
    if (row == d->current)
        return;
    d->current = row;
    d->load();
    if (!d->disableCount)
        emit currentChanged();
}

void Table::insert()
{
    requireOpen(*this);
    if (d->readOnly)
        throw StoreError("Таблица открыта только для чтения: " + d->fileName);
    endPendingEdit(*this);
    if (beforeInsert)
        beforeInsert(*this);
    d->buffer = d->file.blankRecord();
    d->original = d->buffer;
    d->memoTexts.clear();
    d->memoChanged.clear();
    d->modified = false;
    d->state = TableState::Insert;
    if (!d->disableCount) {
        emit stateChanged();
        emit currentChanged();
    }
    if (afterInsert)
        afterInsert(*this);
}

void Table::append()
{
    insert();
}

void Table::edit()
{
    requireOpen(*this);
    if (isEditing())
        return;
    if (d->readOnly)
        throw StoreError("Таблица открыта только для чтения: " + d->fileName);
    if (d->rows.empty()) {
        insert();
        return;
    }
    d->load();
    d->editedRecord = d->rows[std::size_t(d->current)];
    d->state = TableState::Edit;
    if (!d->disableCount)
        emit stateChanged();
    if (afterEdit)
        afterEdit(*this);
}

void Table::post()
{
    requireOpen(*this);
    if (!isEditing())
        return;
    try {
        for (const auto &[field, changed] : d->memoChanged) {
            if (!changed)
                continue;
            const std::string &text = d->memoTexts[field];
            d->file.setMemoBlock(d->buffer, field,
                                 text.empty()
                                     ? std::nullopt
                                     : std::optional<std::uint32_t>(d->file.writeMemo(text)));
        }
        if (d->state == TableState::Insert) {
            const std::uint32_t record = d->file.appendRecord(d->buffer);
            if (d->matchesFilter(d->buffer)) {
                d->rows.push_back(record);
                d->current = int(d->rows.size()) - 1;
            }
        } else {
            d->file.writeRecord(d->editedRecord, d->buffer);
        }
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    const bool inserted = d->state == TableState::Insert;
    d->cachedRecord = -1;
    d->state = TableState::Browse;
    d->memoChanged.clear();
    d->modified = false;
    d->original = d->buffer;
    d->eof = d->current == int(d->rows.size()) - 1;
    if (!d->disableCount) {
        if (inserted)
            emit rowsReset();
        else
            emit rowChanged(d->current);
        emit stateChanged();
        emit currentChanged();
    }
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    requireOpen(*this);
    if (!isEditing())
        return;
    d->state = TableState::Browse;
    d->load();
    if (!d->disableCount) {
        emit stateChanged();
        emit currentChanged();
    }
    if (afterCancel)
        afterCancel(*this);
}

void Table::remove()
{
    requireOpen(*this);
    if (d->readOnly)
        throw StoreError("Таблица открыта только для чтения: " + d->fileName);
    if (d->state == TableState::Insert) {
        cancel();
        return;
    }
    if (d->state == TableState::Edit)
        cancel();
    if (d->rows.empty())
        throw StoreError("Нет записи для удаления: " + d->fileName);
    try {
        const std::uint32_t record = d->rows[std::size_t(d->current)];
        std::string bytes;
        d->file.readRecord(record, bytes);
        bytes[0] = dbf::kDeletedFlag;
        d->file.writeRecord(record, bytes);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    d->rows.erase(d->rows.begin() + d->current);
    d->cachedRecord = -1;
    if (d->current >= int(d->rows.size()))
        d->current = int(d->rows.size()) - 1;
    d->load();
    d->eof = d->rows.empty() || d->current == int(d->rows.size()) - 1;
    if (!d->disableCount) {
        emit rowsReset();
        emit currentChanged();
    }
    if (afterDelete)
        afterDelete(*this);
}

bool Table::isModified() const
{
    return d->modified;
}

const std::vector<dbf::FieldDef> &Table::fields() const
{
    return d->file.fields();
}
int Table::fieldIndex(std::string_view name) const
{
    return d->file.fieldIndex(std::string(name));
}

namespace {
int requireField(const Table &t, std::string_view name)
{
    const int i = t.fieldIndex(name);
    if (i < 0)
        throw StoreError("Поле " + std::string(name) + " не найдено: " + t.fileName());
    return i;
}
} // namespace

bool Table::isNull(std::string_view name) const
{
    requireOpen(*this);
    const int i = requireField(*this, name);
    if (d->file.fields()[std::size_t(i)].type == FieldType::Memo) {
        if (const auto it = d->memoTexts.find(i);
            it != d->memoTexts.end() && d->memoChanged.count(i))
            return it->second.empty();
        return !d->file.memoBlock(d->buffer, i);
    }
    return d->file.isBlank(d->buffer, i);
}

std::optional<std::int64_t> Table::integerField(std::string_view name) const
{
    requireOpen(*this);
    const int i = requireField(*this, name);
    if (d->current < 0 && !isEditing())
        return std::nullopt;
    return d->file.integer(d->buffer, i);
}

std::string Table::textField(std::string_view name) const
{
    requireOpen(*this);
    const int i = requireField(*this, name);
    if (d->current < 0 && !isEditing())
        return {};
    const auto &f = d->file.fields()[std::size_t(i)];
    try {
        if (f.type == FieldType::Memo)
            return d->memoText(i);
        if (f.type == FieldType::Numeric) {
            const auto n = d->file.integer(d->buffer, i);
            return n ? std::to_string(*n) : std::string();
        }
        return d->file.text(d->buffer, i);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
}

namespace {
void requireEditing(const Table &t)
{
    if (!t.isEditing())
        throw StoreError("Таблица не в режиме редактирования: " + t.fileName());
}
} // namespace

void Table::setIntegerField(std::string_view name, std::optional<std::int64_t> value)
{
    requireEditing(*this);
    const int i = requireField(*this, name);
    try {
        d->file.setInteger(d->buffer, i, value);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    d->modified = true;
    if (!d->disableCount)
        emit currentChanged();
}

void Table::setTextField(std::string_view name, std::string_view value)
{
    requireEditing(*this);
    const int i = requireField(*this, name);
    const auto &f = d->file.fields()[std::size_t(i)];
    if (f.type == FieldType::Memo) {
        d->memoTexts[i] = std::string(value);
        d->memoChanged[i] = true;
    } else if (f.type == FieldType::Numeric) {
        const std::string text(value);
        std::int64_t n = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty())
            d->file.setInteger(d->buffer, i, std::nullopt);
        else if (ec != std::errc() || ptr != text.data() + text.size())
            throw StoreError("'" + text + "' не является целым числом");
        else
            d->file.setInteger(d->buffer, i, n);
    } else {
        d->file.setText(d->buffer, i, std::string(value));
    }
    d->modified = true;
    if (!d->disableCount)
        emit currentChanged();
}

std::optional<std::int64_t> Table::integerAt(int row, int field) const
{
    if (!isOpen() || row < 0 || row >= int(d->rows.size()) || field < 0)
        return std::nullopt;
    const std::uint32_t record = d->rows[std::size_t(row)];
    if (d->cachedRecord != std::int64_t(record)) {
        d->file.readRecord(record, d->cachedBytes);
        d->cachedRecord = record;
    }
    return d->file.integer(d->cachedBytes, field);
}

std::string Table::textAt(int row, int field) const
{
    if (!isOpen() || row < 0 || row >= int(d->rows.size()) || field < 0)
        return {};
    const std::uint32_t record = d->rows[std::size_t(row)];
    try {
        if (d->cachedRecord != std::int64_t(record)) {
            d->file.readRecord(record, d->cachedBytes);
            d->cachedRecord = record;
        }
        const auto &f = d->file.fields()[std::size_t(field)];
        if (f.type == FieldType::Memo) {
            const auto block = d->file.memoBlock(d->cachedBytes, field);
            return block ? d->file.readMemo(*block) : std::string();
        }
        if (f.type == FieldType::Numeric) {
            const auto n = d->file.integer(d->cachedBytes, field);
            return n ? std::to_string(*n) : std::string();
        }
        return d->file.text(d->cachedBytes, field);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
}

Bookmark Table::bookmark() const
{
    if (d->current < 0 || d->current >= int(d->rows.size()))
        return -1;
    return d->rows[std::size_t(d->current)];
}

void Table::gotoBookmark(Bookmark bookmark)
{
    requireOpen(*this);
    if (bookmark < 0)
        return;
    const auto it = std::find(d->rows.begin(), d->rows.end(), std::uint32_t(bookmark));
    if (it == d->rows.end())
        throw StoreError("Запись не найдена: " + d->fileName);
    moveTo(int(it - d->rows.begin()));
}

void Table::disableControls()
{
    ++d->disableCount;
}

void Table::enableControls()
{
    if (d->disableCount > 0 && --d->disableCount == 0) {
        emit rowsReset();
        emit stateChanged();
        emit currentChanged();
    }
}

bool Table::controlsDisabled() const
{
    return d->disableCount > 0;
}

void Table::refresh()
{
    requireOpen(*this);
    endPendingEdit(*this);
    const Bookmark mark = bookmark();
    const int oldRow = d->current;
    try {
        d->file.reloadHeader();
        d->buildRows();
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    const auto it = std::find(d->rows.begin(), d->rows.end(), std::uint32_t(mark));
    if (mark >= 0 && it != d->rows.end())
        d->current = int(it - d->rows.begin());
    else
        d->current = d->rows.empty() ? -1 : std::clamp(oldRow, 0, int(d->rows.size()) - 1);
    d->bof = d->current <= 0;
    d->eof = d->rows.empty() || d->current == int(d->rows.size()) - 1;
    d->load();
    if (!d->disableCount) {
        emit rowsReset();
        emit currentChanged();
    }
}

void Table::emptyTable()
{
    requireOpen(*this);
    if (!d->exclusive)
        throw StoreError("Для очистки таблица должна быть открыта монопольно: " + d->fileName);
    endPendingEdit(*this);
    std::vector<dbf::Record> none;
    const std::string path = d->file.path();
    const auto fields = d->file.fields();
    try {
        DbfFile::rewrite(path, fields, none, true);
        d->file.open(path, true, dbf::LockMode::Exclusive);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    refresh();
}

void Table::pack()
{
    requireOpen(*this);
    if (!d->exclusive)
        throw StoreError("Для упаковки таблица должна быть открыта монопольно: " + d->fileName);
    endPendingEdit(*this);
    const std::string path = d->file.path();
    const auto fields = d->file.fields();
    try {
        std::vector<dbf::Record> records;
        records.reserve(d->file.recordCount());
        std::string bytes;
        for (std::uint32_t i = 0; i < d->file.recordCount(); ++i) {
            d->file.readRecord(i, bytes);
            if (!d->file.isDeleted(bytes))
                records.push_back(d->file.values(bytes));
        }
        DbfFile::rewrite(path, fields, records, true);
        d->file.open(path, true, dbf::LockMode::Exclusive);
    } catch (const DbfError &e) {
        throw StoreError(e.what());
    }
    refresh();
}

} // namespace kv::store
