#include "core/base/BaseTables.h"
#include "platform/dbf/DbfFile.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using kv::store::StoreError;
using kv::store::Table;
using kv::store::TableState;

namespace {

// A working folder with the three empty tables.
class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        kv::base::createMissingBaseTables(dir.path());
    }
    std::string path(const char *relative) const { return dir.filePath(relative).toStdString(); }
    std::string questions() const { return path(kv::base::kQuestionsFile); }

    void open(Table &t, const std::string &file)
    {
        t.setFileName(file);
        t.open();
    }

    void addQuestion(Table &t, std::int64_t npor, std::int64_t group, const std::string &text)
    {
        t.append();
        t.setIntegerField("NPOR", npor);
        t.setIntegerField("NGRUPPY", group);
        t.setTextField("VOPROS", text.substr(0, 254));
        t.setTextField("VOPRMEMO", text);
        t.post();
    }

    std::vector<std::int64_t> numbers(Table &t)
    {
        std::vector<std::int64_t> out;
        t.first();
        for (int i = 0; i < t.recordCount(); ++i, t.next())
            out.push_back(t.integerField("NPOR").value_or(-1));
        return out;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(StoreTest, FieldsRoundTripThroughTheFile)
{
    const std::string cyr = "\xC2\xEE\xEF\xF0\xEE\xF1 \xB9 1 \xA8\xB8"; // "Вопрос № 1 Ёё"
    std::string longMemo;
    for (int i = 0; i < 300; ++i)
        longMemo += "\xF1\xF2\xF0\xEE\xEA\xE0 " + std::to_string(i) + "\r\n";
    ASSERT_GT(longMemo.size(), 3 * kv::dbf::kMemoBlockSize);
    {
        Table t;
        open(t, questions());
        addQuestion(t, 1, 7, cyr);
        t.append();
        t.setIntegerField("NPOR", -42);
        t.setTextField("VOPRMEMO", longMemo);
        t.post();
        t.append(); // all empty
        t.post();
    }
    Table t;
    open(t, questions());
    ASSERT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.integerField("NGRUPPY"), 7);
    EXPECT_EQ(t.textField("VOPROS"), cyr);
    EXPECT_EQ(t.textField("VOPRMEMO"), cyr);
    t.next();
    EXPECT_EQ(t.integerField("NPOR"), -42);
    EXPECT_EQ(t.integerField("NGRUPPY"), std::nullopt);
    EXPECT_TRUE(t.isNull("NGRUPPY"));
    EXPECT_TRUE(t.isNull("VOPROS"));
    EXPECT_EQ(t.textField("VOPRMEMO"), longMemo);
    t.next();
    EXPECT_TRUE(t.isNull("VOPRMEMO"));
    EXPECT_EQ(t.textField("VOPRMEMO"), "");
    EXPECT_EQ(t.textAt(1, t.fieldIndex("VOPRMEMO")), longMemo);
    EXPECT_EQ(t.integerAt(0, t.fieldIndex("NPOR")), 1);

    // An edited memo replaces the old text; other fields stay.
    t.first();
    t.edit();
    t.setTextField("VOPRMEMO", "new");
    t.post();
    t.close();
    t.open();
    EXPECT_EQ(t.textField("VOPRMEMO"), "new");
    EXPECT_EQ(t.textField("VOPROS"), cyr);
}

TEST_F(StoreTest, NumbersThatDoNotFitAreRefused)
{
    Table t;
    open(t, path(kv::base::kTicketsFile));
    t.append();
    EXPECT_THROW(t.setIntegerField("NBILETA", 1234567), StoreError);
    t.setIntegerField("NBILETA", -32768);
    t.post();
    EXPECT_EQ(t.integerField("NBILETA"), -32768);
}

TEST_F(StoreTest, DeleteKeepsOrderAndPackRemovesForGood)
{
    Table t;
    open(t, questions());
    for (int i = 1; i <= 5; ++i)
        addQuestion(t, i, 1, "q" + std::to_string(i));
    t.moveTo(2);
    t.remove();
    EXPECT_EQ(t.integerField("NPOR"), 4); // the next record became current
    t.last();
    t.remove();
    EXPECT_EQ(t.integerField("NPOR"), 4); // after the last: the new last
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 2, 4}));
    const auto sizeBefore = QFile(QString::fromStdString(questions())).size();

    t.close();
    t.setExclusive(true);
    t.open();
    t.pack();
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 2, 4}));
    EXPECT_EQ(t.textField("VOPRMEMO"), "q4");
    EXPECT_LT(QFile(QString::fromStdString(questions())).size(), sizeBefore);
    t.emptyTable();
    EXPECT_EQ(t.recordCount(), 0);
    t.close();
    t.setExclusive(false);
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
}

TEST_F(StoreTest, EmptyAndPackNeedExclusiveUse)
{
    Table t;
    open(t, questions());
    EXPECT_THROW(t.pack(), StoreError);
    EXPECT_THROW(t.emptyTable(), StoreError);
}

TEST_F(StoreTest, FiltersShowMatchingRecordsAndSurviveReopen)
{
    Table tickets;
    open(tickets, path(kv::base::kTicketsFile));
    for (int b = 1; b <= 3; ++b)
        for (int q = 1; q <= 2; ++q) {
            tickets.append();
            tickets.setIntegerField("NBILETA", b);
            tickets.setIntegerField("NVOPROSA", q);
            tickets.setIntegerField("NGRUPPY", q);
            tickets.post();
        }
    tickets.setFilter("NBILETA=2");
    EXPECT_EQ(tickets.recordCount(), 6); // filter text alone does nothing
    tickets.setFiltered(true);
    EXPECT_EQ(tickets.recordCount(), 2);
    EXPECT_EQ(tickets.integerField("NBILETA"), 2);
    tickets.close();
    tickets.open();
    EXPECT_EQ(tickets.recordCount(), 2);
    for (const char *text : {"NGRUPPY=1", "NGRUPPY = 1"}) {
        tickets.setFilter(text);
        EXPECT_EQ(tickets.recordCount(), 3) << text;
    }
    tickets.setFilter("NGRUPPY = 9");
    EXPECT_EQ(tickets.recordCount(), 0);
    tickets.setFilter("");
    EXPECT_EQ(tickets.recordCount(), 6);
}

TEST_F(StoreTest, BookmarksReturnToTheRecord)
{
    Table t;
    open(t, questions());
    for (int i = 1; i <= 4; ++i)
        addQuestion(t, i, 1, "q");
    t.moveTo(2);
    const auto mark = t.bookmark();
    t.first();
    t.next();
    t.gotoBookmark(mark);
    EXPECT_EQ(t.integerField("NPOR"), 3);
}

TEST_F(StoreTest, MovingEndsAPendingEdit)
{
    Table t;
    open(t, questions());
    addQuestion(t, 1, 1, "a");
    addQuestion(t, 2, 1, "b");
    int posts = 0, cancels = 0;
    t.afterPost = [&](Table &) { ++posts; };
    t.afterCancel = [&](Table &) { ++cancels; };
    t.first();
    t.edit();
    t.next(); // nothing changed: cancelled
    EXPECT_EQ(cancels, 1);
    t.edit();
    t.setTextField("VOPRMEMO", "changed");
    t.first(); // changed: posted
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(t.textAt(1, t.fieldIndex("VOPRMEMO")), "changed");
    EXPECT_EQ(t.state(), TableState::Browse);
}

TEST_F(StoreTest, EventStepsRunInOrder)
{
    Table t;
    t.setFileName(questions());
    std::vector<std::string> log;
    t.beforeInsert = [&](Table &v) {
        log.push_back("before-insert " + std::to_string(v.recordCount()));
    };
    t.afterInsert = [&](Table &v) {
        log.push_back(v.state() == TableState::Insert ? "after-insert" : "?");
    };
    t.afterEdit = [&](Table &) { log.push_back("edit"); };
    t.afterPost = [&](Table &) { log.push_back("post"); };
    t.afterCancel = [&](Table &) { log.push_back("cancel"); };
    t.afterDelete = [&](Table &) { log.push_back("delete"); };
    t.afterClose = [&](Table &) { log.push_back("close"); };
    t.open();
    t.edit(); // on an empty view: an insert
    t.post();
    t.edit();
    t.edit(); // already editing: nothing
    t.cancel();
    t.remove();
    t.close();
    EXPECT_EQ(log, (std::vector<std::string>{"before-insert 0", "after-insert", "post", "edit",
                                             "cancel", "delete", "close"}));
}

TEST_F(StoreTest, ViewsOfOneFileSeeStoredChangesAfterRefresh)
{
    Table a, b;
    open(a, questions());
    open(b, questions());
    addQuestion(a, 1, 1, "one");
    EXPECT_EQ(b.recordCount(), 0);
    b.refresh();
    ASSERT_EQ(b.recordCount(), 1);
    b.edit();
    b.setTextField("VOPRMEMO", "edited in b");
    b.post();
    addQuestion(b, 2, 1, "two"); // b appends after a's record
    a.refresh();
    EXPECT_EQ(numbers(a), (std::vector<std::int64_t>{1, 2}));
    a.first();
    EXPECT_EQ(a.textField("VOPRMEMO"), "edited in b");
}

TEST_F(StoreTest, ExclusiveUseIsRefusedWhileTheFileIsOpenElsewhere)
{
    Table shared, exclusive;
    open(shared, questions());
    exclusive.setExclusive(true);
    exclusive.setFileName(questions());
    EXPECT_THROW(exclusive.open(), StoreError);
    shared.close();
    exclusive.open();
    Table second;
    second.setFileName(questions());
    EXPECT_THROW(second.open(), StoreError);
    exclusive.close();

    // Another process holding the file alone.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        kv::dbf::DbfFile f;
        f.open(questions(), true, kv::dbf::LockMode::Exclusive);
        char c = 1;
        (void)!write(ready[1], &c, 1);
        sleep(2);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    try {
        second.open();
        FAIL() << "opened a table held by another process";
    } catch (const StoreError &e) {
        EXPECT_NE(std::string(e.what()).find("Voprosy.DBF"), std::string::npos);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    second.open();
    EXPECT_TRUE(second.isOpen());
}

TEST_F(StoreTest, FilesAreFoundWhateverTheLetterCase)
{
    QDir sys(dir.filePath("Sys"));
    ASSERT_TRUE(sys.rename("Voprosy.DBF", "VOPROSY.dbf"));
    ASSERT_TRUE(sys.rename("Voprosy.DBT", "voprosy.dbt"));
    ASSERT_TRUE(QDir(dir.path()).rename("Sys", "SYS"));
    Table t;
    open(t, questions());
    addQuestion(t, 1, 1, "memo through the renamed companion");
    t.close();
    t.open();
    EXPECT_EQ(t.textField("VOPRMEMO"), "memo through the renamed companion");
    // init does not create a second set beside the renamed files
    kv::base::createMissingBaseTables(dir.path());
    EXPECT_FALSE(QFile::exists(dir.filePath("Sys")));
}

TEST_F(StoreTest, MissingFileIsReportedByName)
{
    Table t;
    t.setFileName(path("Sys/Nothing.DBF"));
    try {
        t.open();
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_NE(std::string(e.what()).find("Nothing.DBF"), std::string::npos);
    }
    EXPECT_FALSE(t.isOpen());
}

// --- damaged files ----------------------------------------------------------------

namespace {

struct Damage
{
    const char *name;
    std::function<void(QByteArray &dbf, QByteArray &dbt)> apply;
    const char *expected; // part of the message
};

} // namespace

class DamagedTable : public StoreTest, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedTable, IsRefusedWithAClearError)
{
    {
        Table t;
        open(t, questions());
        addQuestion(t, 1, 1, "text");
    }
    QFile dbfFile(QString::fromStdString(questions()));
    QFile dbtFile(dir.filePath("Sys/Voprosy.DBT"));
    ASSERT_TRUE(dbfFile.open(QIODevice::ReadOnly) && dbtFile.open(QIODevice::ReadOnly));
    QByteArray dbf = dbfFile.readAll(), dbt = dbtFile.readAll();
    dbfFile.close();
    dbtFile.close();
    GetParam().apply(dbf, dbt);
    ASSERT_TRUE(dbfFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dbfFile.write(dbf);
    dbfFile.close();
    if (dbt.isNull()) {
        dbtFile.remove();
    } else {
        ASSERT_TRUE(dbtFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dbtFile.write(dbt);
        dbtFile.close();
    }
    Table t;
    t.setFileName(questions());
    try {
        t.open();
        t.textField("VOPRMEMO"); // the memo is read on demand
        FAIL() << "damaged table accepted";
    } catch (const StoreError &e) {
        const std::string what = e.what();
        EXPECT_NE(what.find(GetParam().expected), std::string::npos) << what;
        EXPECT_NE(what.find("Voprosy.D"), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedTable,
    ::testing::Values(
        Damage{"TruncatedHeader", [](QByteArray &d, QByteArray &) { d.truncate(20); }, "заголов"},
        Damage{"NoTerminator", [](QByteArray &d, QByteArray &) { d.truncate(32 + 6 * 32); },
               "заголов"},
        Damage{"RecordLengthMismatch", [](QByteArray &d, QByteArray &) { d[10] = char(d[10] + 1); },
               "Длина записи"},
        Damage{"UnknownFieldType", [](QByteArray &d, QByteArray &) { d[32 + 11] = 'X'; },
               "Неизвестный тип поля"},
        Damage{"CountBeyondFileSize", [](QByteArray &d, QByteArray &) { d[4] = 100; }, "обрезана"},
        Damage{"MemoPastTheEnd", [](QByteArray &, QByteArray &m) { m.truncate(512); }, "за концом"},
        Damage{"MissingMemoFile", [](QByteArray &, QByteArray &m) { m = QByteArray(); },
               "примечаний"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StoreTest, FailedRewriteLeavesTheOldTable)
{
    {
        Table t;
        open(t, questions());
        addQuestion(t, 1, 1, "kept");
    }
    // The new file cannot be written (a folder stands where it would go).
    ASSERT_TRUE(QDir(dir.path()).mkpath("Sys/Voprosy.DBF.tmp"));
    Table t;
    t.setExclusive(true);
    open(t, questions());
    EXPECT_THROW(t.emptyTable(), StoreError);
    t.close();
    t.setExclusive(false);
    t.open();
    ASSERT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.textField("VOPRMEMO"), "kept");
}

TEST_F(StoreTest, ReadsDBaseFourMemoLayout)
{
    // A dBase IV table with one memo field, built byte by byte.
    QByteArray dbf(32 + 32 + 1, '\0');
    dbf[0] = char(0x8B);
    dbf[4] = 1;
    dbf[8] = char(dbf.size());
    dbf[10] = 11; // flag + 10
    dbf[29] = char(0xC9);
    memcpy(dbf.data() + 32, "TEXT", 4);
    dbf[32 + 11] = 'M';
    dbf[32 + 16] = 10;
    dbf[64] = 0x0D;
    dbf.append(" " + QByteArray("         1")).append(char(0x1A));
    QByteArray dbt(512, '\0');
    dbt[0] = 2;
    dbt[20] = 0x00;
    dbt[21] = 0x02; // block size 512
    const QByteArray text =
        QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n", 8).repeated(100); // over one block
    QByteArray block("\xFF\xFF\x08\x00", 4);
    const quint32 len = quint32(text.size() + 8);
    block.append(char(len & 0xFF)).append(char((len >> 8) & 0xFF)).append('\0').append('\0');
    block.append(text);
    dbt.append(block);
    QFile f(dir.filePath("Sys/four.dbf")), m(dir.filePath("Sys/four.dbt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && m.open(QIODevice::WriteOnly));
    f.write(dbf);
    m.write(dbt);
    f.close();
    m.close();
    Table t;
    open(t, path("Sys/four.dbf"));
    ASSERT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.textField("TEXT"), text.toStdString());
    // Edits keep the file's own layout.
    t.edit();
    t.setTextField("TEXT", "short");
    t.post();
    t.close();
    t.open();
    EXPECT_EQ(t.textField("TEXT"), "short");
}
