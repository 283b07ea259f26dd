#include "BaseTransfer.h"

#include "BaseFile.h"
#include "core/base/BaseTables.h"
#include "platform/dbf/DbfTypes.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"
#include "platform/text/TextHelpers.h"

#include <array>
#include <memory>
#include <optional>

namespace kv::basefile {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Sets the filter of a view aside for a walk and puts it back afterwards,
// with the record that was current.
class FilterAside
{
public:
    explicit FilterAside(store::Table &table) : table_(table), active_(table.filtered())
    {
        if (!active_)
            return;
        bookmark_ = table_.bookmark();
        table_.setFiltered(false);
    }
    ~FilterAside()
    {
        if (!active_)
            return;
        try {
            table_.setFiltered(true);
            if (bookmark_ >= 0)
                table_.gotoBookmark(bookmark_);
        } catch (...) {
        }
    }
    FilterAside(const FilterAside &) = delete;
    FilterAside &operator=(const FilterAside &) = delete;

private:
    store::Table &table_;
    bool active_;
    store::Bookmark bookmark_ = -1;
};

int requiredField(const store::Table &table, const char *name)
{
    const int index = table.fieldIndex(name);
    if (index < 0)
        throw store::StoreError("В таблице " + table.fileName() + " нет поля " + name);
    return index;
}

std::int64_t numberAt(const store::Table &table, int row, int field)
{
    return table.integerAt(row, field).value_or(0);
}

void collectGroups(store::Table &table, std::vector<BaseGroup> &out)
{
    FilterAside aside(table);
    const int number = requiredField(table, "NGRUPPY");
    const int name = requiredField(table, "NAMEGRUPPA");
    const int count = table.recordCount();
    out.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        out.push_back({numberAt(table, row, number), table.textAt(row, name)});
}

void collectQuestions(store::Table &table, std::vector<BaseQuestion> &out)
{
    FilterAside aside(table);
    const int npor = requiredField(table, "NPOR");
    const int group = requiredField(table, "NGRUPPY");
    const int memo = requiredField(table, "VOPRMEMO");
    const int count = table.recordCount();
    out.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        out.push_back(
            {numberAt(table, row, npor), numberAt(table, row, group), table.textAt(row, memo)});
}

void collectTickets(store::Table &table, std::vector<BaseTicket> &out)
{
    FilterAside aside(table);
    const int ticket = requiredField(table, "NBILETA");
    const int position = requiredField(table, "NVOPROSA");
    const int npor = requiredField(table, "NPOR");
    const int group = requiredField(table, "NGRUPPY");
    const int memo = requiredField(table, "VOPRMEMO");
    const int count = table.recordCount();
    out.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        out.push_back({numberAt(table, row, ticket), numberAt(table, row, position),
                       numberAt(table, row, npor), numberAt(table, row, group),
                       table.textAt(row, memo)});
}

// One record in the field order of the table being written; fields the
// record does not name stay empty.
class RecordBuilder
{
public:
    explicit RecordBuilder(const std::vector<dbf::FieldDef> &fields) : fields_(fields)
    {
        values_.resize(fields.size());
    }
    RecordBuilder &set(std::string_view name, dbf::FieldValue value)
    {
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (fields_[i].name == name)
                values_[i] = std::move(value);
        return *this;
    }
    const std::vector<dbf::FieldValue> &values() const { return values_; }
    void clear() { std::fill(values_.begin(), values_.end(), dbf::FieldValue()); }

private:
    const std::vector<dbf::FieldDef> &fields_;
    std::vector<dbf::FieldValue> values_;
};

void fillGroups(dbf::NewTableFile &file, const std::vector<BaseGroup> &groups)
{
    RecordBuilder record(file.fields());
    for (const auto &g : groups) {
        record.clear();
        record.set("NGRUPPY", g.number).set("NAMEGRUPPA", text::CutToFieldWidth(g.name));
        file.appendRecord(record.values());
    }
}

void fillQuestions(dbf::NewTableFile &file, const std::vector<BaseQuestion> &questions)
{
    RecordBuilder record(file.fields());
    for (const auto &q : questions) {
        record.clear();
        record.set("NPOR", q.number)
            .set("NGRUPPY", q.group)
            .set("VOPROS", text::MakeQuestionLine(q.fullText))
            .set("VOPRMEMO", q.fullText)
            .set("SLOGNOST", std::int64_t{0})
            .set("VAGNOST", std::int64_t{0});
        file.appendRecord(record.values());
    }
}

void fillTickets(dbf::NewTableFile &file, const std::vector<BaseTicket> &tickets)
{
    RecordBuilder record(file.fields());
    for (const auto &t : tickets) {
        record.clear();
        record.set("NBILETA", t.ticket)
            .set("NVOPROSA", t.position)
            .set("NPOR", t.question)
            .set("NGRUPPY", t.group)
            .set("VOPROS", text::MakeQuestionLine(t.fullText))
            .set("VOPRMEMO", t.fullText);
        file.appendRecord(record.values());
    }
}

} // namespace

bool collectBaseData(store::Table &questions, store::Table &groups, store::Table &tickets,
                     BaseData &base, QString *error)
{
    BaseData collected;
    try {
        collectGroups(groups, collected.groups);
        collectQuestions(questions, collected.questions);
        collectTickets(tickets, collected.tickets);
    } catch (const std::exception &e) {
        setError(error, QString::fromStdString(e.what()));
        return false;
    }
    base = std::move(collected);
    return true;
}

bool collectBaseData(const QString &folder, BaseData &base, QString *error)
{
    std::array<store::Table, 3> views;
    const std::array<const char *, 3> names{base::kQuestionsFile, base::kGroupsFile,
                                            base::kTicketsFile};
    try {
        for (std::size_t i = 0; i < views.size(); ++i) {
            views[i].setFileName(base::tablePath(folder, names[i]));
            views[i].setReadOnly(true);
            views[i].open();
        }
    } catch (const std::exception &e) {
        setError(error, QString::fromStdString(e.what()));
        return false;
    }
    return collectBaseData(views[0], views[1], views[2], base, error);
}

bool replaceBaseTables(const QString &folder, const BaseData &base, QString *error)
{
    const std::array<const char *, 3> names{base::kQuestionsFile, base::kGroupsFile,
                                            base::kTicketsFile};
    try {
        // Holding the old tables exclusively keeps every other view out.
        std::array<store::Table, 3> views;
        std::array<std::unique_ptr<dbf::NewTableFile>, 3> files;
        for (std::size_t i = 0; i < views.size(); ++i) {
            views[i].setFileName(base::tablePath(folder, names[i]));
            views[i].setExclusive(true);
            views[i].open();
            files[i] = std::make_unique<dbf::NewTableFile>(views[i].fileName(), names[i],
                                                           views[i].fields());
        }
        fillQuestions(*files[0], base.questions);
        fillGroups(*files[1], base.groups);
        fillTickets(*files[2], base.tickets);
        for (auto &file : files) {
            file->prepare();
            file->lockExclusive();
        }
        // Nothing has been touched so far; only the renames remain.
        for (auto &file : files)
            file->commit();
        for (auto &view : views)
            view.close();
    } catch (const std::exception &e) {
        setError(error, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool saveBaseFile(const QString &folder, const QString &path, QString *error)
{
    BaseData base;
    if (!collectBaseData(folder, base, error))
        return false;
    BaseFileWriter writer;
    if (!writer.write(path, base)) {
        setError(error, writer.errorString());
        return false;
    }
    return true;
}

bool loadBaseFile(const QString &folder, const QString &path, QString *error)
{
    BaseFileReader reader;
    if (!reader.read(path)) {
        setError(error, reader.errorString());
        return false;
    }
    return replaceBaseTables(folder, reader.data(), error);
}

} // namespace kv::basefile
