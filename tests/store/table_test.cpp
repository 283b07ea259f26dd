// The table view: editing cycle, navigation, deletion, filters, bookmarks,
// several views of one file, event steps.
#include "StoreTestSupport.h"

using namespace kv::store;
using namespace kv::store::testing;
using kv::dbf::FieldValue;

namespace {

class TableTest : public StoreTest
{
};

TEST_F(TableTest, StoredValuesSurviveReopen)
{
    const std::string p = makeTable("q.dbf");
    const std::string cyr = "\xC2\xEE\xEF\xF0\xEE\xF1 \xB9 1"; // "Вопрос № 1" in Windows-1251
    const std::string longMemo = std::string(1500, 'x') + "\r\n" + cyr;
    {
        Table t;
        t.setFileName(p);
        t.open();
        t.append();
        t.setIntegerField("NPOR", 7);
        t.setIntegerField("NGRUPPY", -12);
        t.setTextField("VOPROS", cyr);
        t.setTextField("VOPRMEMO", longMemo);
        t.post();
        t.append(); // a record of nulls
        t.post();
        EXPECT_EQ(t.recordCount(), 2);
        EXPECT_EQ(t.currentRow(), 1);
    }
    Table t;
    t.setFileName(p);
    t.open();
    ASSERT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.integerField("NPOR"), 7);
    EXPECT_EQ(t.integerField("ngruppy"), -12);
    EXPECT_EQ(t.textField("VOPROS"), cyr);
    EXPECT_EQ(t.textField("VOPRMEMO"), longMemo);
    EXPECT_EQ(t.textAt(0, t.fieldIndex("VOPRMEMO")), longMemo);
    EXPECT_EQ(t.textAt(0, t.fieldIndex("NPOR")), "7");
    t.next();
    EXPECT_TRUE(t.isNull("NPOR"));
    EXPECT_TRUE(t.isNull("VOPROS"));
    EXPECT_TRUE(t.isNull("VOPRMEMO"));
    EXPECT_EQ(t.integerField("NPOR"), std::nullopt);
    EXPECT_EQ(t.textField("VOPRMEMO"), "");
}

TEST_F(TableTest, EditingChangesOnlyTheEditedRecordAndMemo)
{
    const std::string p = makeTable("q.dbf", numbered(3));
    Table t;
    t.setFileName(p);
    t.open();
    t.next();
    t.edit();
    EXPECT_EQ(t.state(), TableState::Edit);
    t.setTextField("VOPRMEMO", "new text");
    t.setTextField("NGRUPPY", "42");
    EXPECT_THROW(t.setTextField("NGRUPPY", "4x"), StoreError);
    EXPECT_THROW(t.setIntegerField("NPOR", 123456789012LL), StoreError); // wider than 11
    EXPECT_EQ(t.textAt(1, t.fieldIndex("VOPRMEMO")), "new text");        // grid sees the buffer
    t.post();
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(t.currentRow(), 1);
    t.close();
    t.open();
    EXPECT_EQ(numbers(t, "NGRUPPY"), (std::vector<std::int64_t>{1, 42, 3}));
    EXPECT_EQ(t.textAt(0, 3), "memo 1");
    EXPECT_EQ(t.textAt(1, 3), "new text");
    EXPECT_EQ(t.textAt(2, 3), "memo 3");
}

TEST_F(TableTest, MovingWhileEditingPostsChangesAndCancelsOtherwise)
{
    const std::string p = makeTable("q.dbf", numbered(3));
    Table t;
    t.setFileName(p);
    t.open();
    int posts = 0, cancels = 0;
    t.afterPost = [&](Table &) { ++posts; };
    t.afterCancel = [&](Table &) { ++cancels; };

    t.edit();
    t.setIntegerField("NPOR", 10);
    t.next(); // posts
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(t.currentRow(), 1);

    t.edit();
    t.next(); // nothing changed: cancelled
    EXPECT_EQ(cancels, 1);

    t.append();
    t.first(); // an untouched new record is dropped
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(t.recordCount(), 3);

    t.append();
    t.setTextField("VOPROS", "added");
    t.refresh(); // refresh ends the edit as moving does
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(t.recordCount(), 4);

    t.edit();
    t.setIntegerField("NPOR", 99);
    t.close(); // closing drops the change
    t.open();
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{10, 2, 3, -1}));
}

TEST_F(TableTest, InsertLandsAtTheEndAndCancelReturns)
{
    const std::string p = makeTable("q.dbf", numbered(3));
    Table t;
    t.setFileName(p);
    t.open();
    t.moveTo(1);
    t.insert();
    EXPECT_EQ(t.state(), TableState::Insert);
    EXPECT_EQ(t.currentRow(), -1);
    EXPECT_EQ(t.bookmark(), -1);
    t.cancel();
    EXPECT_EQ(t.currentRow(), 1);
    t.insert();
    t.setIntegerField("NPOR", 4);
    t.post(); // explicit post stores even an unchanged record
    EXPECT_EQ(t.currentRow(), 3);
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 2, 3, 4}));
}

TEST_F(TableTest, EditOnEmptyViewInserts)
{
    Table t;
    t.setFileName(makeTable("q.dbf"));
    t.open();
    std::vector<std::string> steps;
    t.beforeInsert = [&](Table &) { steps.push_back("beforeInsert"); };
    t.afterInsert = [&](Table &) { steps.push_back("afterInsert"); };
    t.afterEdit = [&](Table &) { steps.push_back("afterEdit"); };
    t.edit();
    EXPECT_EQ(t.state(), TableState::Insert);
    EXPECT_EQ(steps, (std::vector<std::string>{"beforeInsert", "afterInsert"}));
}

TEST_F(TableTest, DeleteMakesNextRecordCurrent)
{
    const std::string p = makeTable("q.dbf", numbered(4));
    Table t;
    t.setFileName(p);
    t.open();
    t.moveTo(1);
    t.remove();
    EXPECT_EQ(t.integerField("NPOR"), 3);
    t.last();
    t.remove(); // the last: the new last becomes current
    EXPECT_EQ(t.integerField("NPOR"), 3);
    EXPECT_EQ(t.currentRow(), 1);
    t.close();
    t.open(); // deleted records stay out
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 3}));
    t.remove();
    t.remove();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_EQ(t.currentRow(), -1);
    EXPECT_THROW(t.remove(), StoreError);
}

TEST_F(TableTest, FilterFormsCountsAndSurvivesReopen)
{
    const std::string p = makeTable("q.dbf", numbered(9, 3)); // groups 1,1,1,2,2,2,3,3,3
    struct Case
    {
        const char *filter;
        std::vector<std::int64_t> npor;
    };
    const Case cases[] = {
        {"NGRUPPY=2", {4, 5, 6}}, {"NGRUPPY = 3", {7, 8, 9}},        {"NPOR=1", {1}},
        {"NGRUPPY=12", {}},       {"", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.filter);
        Table t;
        t.setFileName(p);
        t.setFilter(c.filter);
        t.setFiltered(true);
        t.open();
        EXPECT_EQ(t.recordCount(), static_cast<int>(c.npor.size()));
        EXPECT_EQ(numbers(t), c.npor);
        t.close();
        t.open();
        EXPECT_EQ(numbers(t), c.npor);
    }

    Table t;
    t.setFileName(p);
    t.setFilter("NGRUPPY=2");
    t.setFiltered(true);
    t.open();
    t.setFiltered(false); // flag off: all records, text kept
    EXPECT_EQ(t.recordCount(), 9);
    EXPECT_EQ(t.filter(), "NGRUPPY=2");
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 3);
    t.setFilter("NGRUPPY=1");
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_THROW(t.setFilter("NOSUCH=1"), StoreError);
    EXPECT_EQ(t.filter(), "NGRUPPY=1");
}

TEST_F(TableTest, ApostedRecordOutsideTheFilterStaysCurrentUntilRefresh)
{
    const std::string p = makeTable("q.dbf", numbered(3));
    Table t;
    t.setFileName(p);
    t.setFilter("NGRUPPY=1");
    t.setFiltered(true);
    t.open();
    t.append();
    t.post();
    t.edit();
    t.setIntegerField("NPOR", 50);
    t.post();
    EXPECT_EQ(t.integerField("NPOR"), 50);
    EXPECT_EQ(t.recordCount(), 2);
    t.refresh();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(TableTest, BookmarksReturnToTheRecord)
{
    const std::string p = makeTable("q.dbf", numbered(5));
    Table t;
    t.setFileName(p);
    t.open();
    t.moveTo(3);
    const Bookmark b = t.bookmark();
    t.first();
    t.edit();
    t.setIntegerField("NPOR", 100);
    t.gotoBookmark(b); // posts the pending change first
    EXPECT_EQ(t.integerField("NPOR"), 4);
    t.moveTo(2);
    const Bookmark gone = t.bookmark();
    t.remove();
    t.first();
    t.gotoBookmark(gone); // a deleted record: the next shown one
    EXPECT_EQ(t.integerField("NPOR"), 4);
    t.first();
    EXPECT_EQ(t.integerField("NPOR"), 100);
}

TEST_F(TableTest, TwoViewsSeeEachOthersPostsAfterRefresh)
{
    const std::string p = makeTable("q.dbf", numbered(2));
    Table a, b;
    a.setFileName(p);
    b.setFileName(p);
    a.open();
    b.open();
    a.append();
    a.setIntegerField("NPOR", 3);
    a.post();
    b.append(); // b's count is stale: the record must not overwrite a's
    b.setIntegerField("NPOR", 4);
    b.post();
    a.first();
    a.edit();
    a.setTextField("VOPRMEMO", "from a");
    a.post();
    EXPECT_EQ(b.recordCount(), 3); // not yet refreshed
    b.refresh();
    a.refresh();
    EXPECT_EQ(numbers(a), (std::vector<std::int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(numbers(b), (std::vector<std::int64_t>{1, 2, 3, 4}));
    b.first();
    EXPECT_EQ(b.textField("VOPRMEMO"), "from a");
}

TEST_F(TableTest, EventStepsRunInOrderAndMayReenter)
{
    const std::string p = makeTable("q.dbf", numbered(2));
    Table t;
    t.setFileName(p);
    t.open();
    std::vector<std::string> steps;
    std::int64_t nextNumber = 0;
    // What the questions tab does: number in before-insert, store at once in
    // after-insert, then edit again.
    t.beforeInsert = [&](Table &v) {
        steps.push_back("beforeInsert");
        v.last();
        nextNumber = v.integerField("NPOR").value_or(0) + 1;
    };
    t.afterInsert = [&](Table &v) {
        steps.push_back("afterInsert");
        v.post();
        v.edit();
        v.setIntegerField("NPOR", nextNumber);
        v.post();
        v.edit();
    };
    t.afterEdit = [&](Table &) { steps.push_back("afterEdit"); };
    t.afterPost = [&](Table &) { steps.push_back("afterPost"); };
    t.afterCancel = [&](Table &) { steps.push_back("afterCancel"); };
    t.afterDelete = [&](Table &) { steps.push_back("afterDelete"); };
    t.afterClose = [&](Table &) { steps.push_back("afterClose"); };
    t.insert();
    EXPECT_EQ(t.state(), TableState::Edit);
    t.cancel();
    t.remove();
    t.close();
    EXPECT_EQ(steps, (std::vector<std::string>{"beforeInsert", "afterInsert", "afterPost",
                                               "afterEdit", "afterPost", "afterEdit", "afterCancel",
                                               "afterDelete", "afterClose"}));
    t.open();
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(TableTest, DisabledControlsEmitNothingUntilEnabled)
{
    const std::string p = makeTable("q.dbf", numbered(3));
    Table t;
    t.setFileName(p);
    t.open();
    int current = 0, reset = 0;
    std::vector<int> rows;
    QObject::connect(&t, &Table::currentChanged, [&] { ++current; });
    QObject::connect(&t, &Table::rowsReset, [&] { ++reset; });
    QObject::connect(&t, &Table::rowChanged, [&](int r) { rows.push_back(r); });
    t.disableControls();
    t.first();
    for (int i = 0; i < 3; ++i) {
        t.edit();
        t.setIntegerField("NPOR", 10 + i);
        t.post();
        t.next();
    }
    EXPECT_EQ(current + reset + static_cast<int>(rows.size()), 0);
    t.enableControls();
    EXPECT_EQ(reset, 1);
    t.first();
    t.edit();
    t.setIntegerField("NPOR", 1);
    t.post();
    EXPECT_EQ(rows, std::vector<int>{0});
}

TEST_F(TableTest, NavigationEndsAndReadOnly)
{
    const std::string p = makeTable("q.dbf", numbered(2));
    Table t;
    t.setFileName(p);
    t.setReadOnly(true);
    t.open();
    EXPECT_TRUE(t.bof());
    t.next();
    EXPECT_FALSE(t.eof());
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.currentRow(), 1);
    t.prior();
    t.prior();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.currentRow(), 0);
    EXPECT_THROW(t.edit(), StoreError);
    EXPECT_THROW(t.append(), StoreError);
    EXPECT_EQ(t.integerAt(5, 0), std::nullopt);
    EXPECT_EQ(t.textAt(0, 99), "");
}

} // namespace

namespace {

// Larger than one read-ahead window: walking back and jumping about must
// read the right records, also right after one of them was changed.
TEST_F(TableTest, WalksBothWaysOverManyRecords)
{
    const std::string p = makeTable("q.dbf", numbered(700));
    Table t;
    t.setFileName(p);
    t.open();
    t.moveTo(350);
    t.edit();
    t.setIntegerField("NPOR", -351);
    t.post();
    std::vector<std::int64_t> backwards;
    t.last();
    for (int i = 0; i < t.recordCount(); ++i) {
        backwards.push_back(t.integerField("NPOR").value_or(0));
        t.prior();
    }
    ASSERT_EQ(backwards.size(), 700u);
    for (int i = 0; i < 700; ++i)
        EXPECT_EQ(std::abs(backwards[static_cast<std::size_t>(699 - i)]), i + 1);
    EXPECT_EQ(backwards[700 - 351], -351);
    for (int row : {699, 0, 450, 3, 698})
        EXPECT_EQ(t.textAt(row, 3), "memo " + std::to_string(row + 1));
}

} // namespace
