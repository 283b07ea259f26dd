#include "TicketStore.h"

#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"

#include <array>

namespace kv::generator {

std::vector<SourceQuestion> ReadQuestions(const std::string &path)
{
    store::Table table;
    table.setFileName(path);
    table.setReadOnly(true);
    table.open();
    const int npor = table.fieldIndex("NPOR");
    const int group = table.fieldIndex("NGRUPPY");
    const int line = table.fieldIndex("VOPROS");
    const int memo = table.fieldIndex("VOPRMEMO");
    auto text = [&](int row, int field) -> std::optional<std::string> {
        std::string value = table.textAt(row, field);
        if (value.empty())
            return std::nullopt;
        return value;
    };
    const int count = table.recordCount();
    std::vector<SourceQuestion> questions;
    questions.reserve(std::size_t(count));
    for (int row = 0; row < count; ++row)
        questions.push_back({table.integerAt(row, npor), table.integerAt(row, group),
                             text(row, line), text(row, memo)});
    return questions;
}

int CountRecords(const std::string &path)
{
    store::Table table;
    table.setFileName(path);
    table.setReadOnly(true);
    table.open();
    return table.recordCount();
}

void StoreTickets(const std::string &path, const std::vector<hb> &places)
{
    // Held alone from here to the swap: a view that has the tickets open
    // makes this fail before anything is written.
    store::Table held;
    held.setFileName(path);
    held.setExclusive(true);
    held.open();

    enum Source { None, Ticket, Place, Number, Group, Line, Memo };
    static constexpr std::array<std::pair<const char *, Source>, 6> kWritten{{{"NBILETA", Ticket},
                                                                              {"NVOPROSA", Place},
                                                                              {"NPOR", Number},
                                                                              {"NGRUPPY", Group},
                                                                              {"VOPROS", Line},
                                                                              {"VOPRMEMO", Memo}}};
    const std::vector<dbf::FieldDef> fields = held.fields();
    std::vector<Source> sources(fields.size(), None);
    for (const auto &[name, source] : kWritten) {
        const int index = held.fieldIndex(name);
        if (index < 0)
            throw store::StoreError("В таблице " + path + " нет поля " + name);
        sources[std::size_t(index)] = source;
    }

    dbf::NewTableFile file(path, path, fields);
    std::vector<dbf::FieldValue> values(fields.size());
    for (const hb &entry : places) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            switch (sources[i]) {
            case None:
                values[i] = std::monostate{};
                break;
            case Ticket:
                values[i] = std::int64_t{entry.NBILETA};
                break;
            case Place:
                values[i] = std::int64_t{entry.NVOPROSA};
                break;
            case Number:
                values[i] = std::int64_t{entry.NPOR};
                break;
            case Group:
                values[i] = std::int64_t{entry.NGRUPPY};
                break;
            case Line:
                values[i] = entry.VOPROS;
                break;
            case Memo:
                values[i] = entry.VOPRMEMO;
                break;
            }
        }
        file.appendRecord(values);
    }
    file.lockExclusive();
    file.commit();
}

} // namespace kv::generator
