#pragma once
// Shared helpers of the record store tests: a scratch folder and a small
// questions-like table in it.

#include "platform/dbf/DbfTypes.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::store::testing {

inline std::vector<dbf::FieldDef> questionFields()
{
    return {dbf::numericField("NPOR", 11), dbf::numericField("NGRUPPY", 11),
            dbf::characterField("VOPROS", 254), dbf::memoField("VOPRMEMO")};
}

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::string path(const std::string &name) const
    {
        return dir.path().toStdString() + "/" + name;
    }

    // A table `name` with the question fields and records (NPOR, NGRUPPY, text, memo).
    std::string makeTable(const std::string &name,
                          const std::vector<std::vector<dbf::FieldValue>> &records = {})
    {
        const std::string p = path(name);
        dbf::NewTableFile file(p, p, questionFields());
        for (const auto &r : records)
            file.appendRecord(r);
        file.commit();
        return p;
    }

    // NPOR of every shown record, walking as the program does.
    static std::vector<std::int64_t> numbers(Table &t, const char *field = "NPOR")
    {
        std::vector<std::int64_t> out;
        t.first();
        for (int i = 0; i < t.recordCount(); ++i) {
            out.push_back(t.integerField(field).value_or(-1));
            t.next();
        }
        return out;
    }

    QTemporaryDir dir;
};

inline std::vector<std::vector<dbf::FieldValue>> numbered(int count, int groupEvery = 1)
{
    std::vector<std::vector<dbf::FieldValue>> out;
    for (int i = 1; i <= count; ++i)
        out.push_back({std::int64_t{i}, std::int64_t{(i - 1) / groupEvery + 1},
                       "Q" + std::to_string(i), "memo " + std::to_string(i)});
    return out;
}

} // namespace kv::store::testing
