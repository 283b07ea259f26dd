// Holding tables alone, finding them by name, emptying and packing.
#include "StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <fstream>
#include <sys/resource.h>

using namespace kv::store;
using namespace kv::store::testing;

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const StoreError &e) {
        return e.what();
    }
    return "no error";
}

class MaintenanceTest : public StoreTest
{
};

TEST_F(MaintenanceTest, ExclusiveViewHoldsTheFileAlone)
{
    const std::string p = makeTable("q.dbf", numbered(2));
    Table shared1, shared2, alone;
    for (Table *t : {&shared1, &shared2, &alone})
        t->setFileName(p);
    alone.setExclusive(true);

    shared1.open();
    shared2.open(); // shared views live together
    EXPECT_EQ(errorOf([&] { alone.open(); }), "Таблица занята другой программой: " + p);
    EXPECT_FALSE(alone.isOpen());
    shared1.close();
    shared2.close();

    alone.open();
    Table second;
    second.setFileName(p);
    second.setExclusive(true);
    EXPECT_NE(errorOf([&] { second.open(); }).find("занята"), std::string::npos);
    EXPECT_NE(errorOf([&] { shared1.open(); }).find("занята"), std::string::npos);
    alone.close();
    shared1.open();
}

TEST_F(MaintenanceTest, AnotherProgramHoldingTheFileIsRespected)
{
    const std::string p = makeTable("q.dbf", numbered(2));
    // Another program takes the file exclusively and keeps it until its input ends.
    QProcess holder;
    holder.start("/usr/bin/python3", {"-c",
                                      "import fcntl, sys\n"
                                      "f = open(sys.argv[1], 'rb')\n"
                                      "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                      "print('locked', flush=True)\n"
                                      "sys.stdin.read()\n",
                                      QString::fromStdString(p)});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    Table t;
    t.setFileName(p);
    EXPECT_EQ(errorOf([&] { t.open(); }), "Таблица занята другой программой: " + p);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(30000));
    t.open();

    // And our exclusive view keeps the other program out.
    t.close();
    t.setExclusive(true);
    t.open();
    QProcess probe;
    probe.start("/usr/bin/python3", {"-c",
                                     "import fcntl, sys\n"
                                     "f = open(sys.argv[1], 'rb')\n"
                                     "try:\n"
                                     "    fcntl.flock(f, fcntl.LOCK_SH | fcntl.LOCK_NB)\n"
                                     "    print('free')\n"
                                     "except OSError:\n"
                                     "    print('busy')\n",
                                     QString::fromStdString(p)});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "busy");
}

TEST_F(MaintenanceTest, FindsTableAndMemoInAnyLetterCase)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("sys"));
    makeTable("sys/voprosy.dbf", numbered(2));
    ASSERT_TRUE(QFile::rename(QString::fromStdString(path("sys/voprosy.dbt")),
                              QString::fromStdString(path("sys/VOPROSY.DbT"))));
    Table t;
    t.setFileName(path("Sys/Voprosy.DBF"));
    t.open();
    t.next();
    EXPECT_EQ(t.textField("VOPRMEMO"), "memo 2");

    Table missing;
    missing.setFileName(path("Sys/Gruppy.dbf"));
    EXPECT_EQ(errorOf([&] { missing.open(); }),
              "Не найден файл таблицы: " + path("Sys/Gruppy.dbf"));
}

TEST_F(MaintenanceTest, PackKeepsLiveRecordsInOrderWithTheirMemos)
{
    const std::string p = makeTable("q.dbf", numbered(6));
    Table t;
    t.setFileName(p);
    t.open();
    EXPECT_NE(errorOf([&] { t.pack(); }).find("монопольно"), std::string::npos);
    t.moveTo(4);
    t.remove();
    t.moveTo(1);
    t.remove();
    t.first();
    t.edit();
    t.setTextField("VOPRMEMO", std::string(2000, 'r')); // leaves a dead memo block behind
    t.post();
    t.close();
    const auto memoSizeBefore = readFile(path("q.dbt")).size();

    t.setExclusive(true);
    t.open();
    t.last();
    t.pack();
    EXPECT_EQ(t.currentRow(), 0);
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 3, 4, 6}));
    EXPECT_EQ(t.textAt(0, 3), std::string(2000, 'r'));
    EXPECT_EQ(t.textAt(3, 3), "memo 6");
    EXPECT_LT(readFile(path("q.dbt")).size(), memoSizeBefore);
    // 4 live records and nothing else in the file.
    EXPECT_EQ(readFile(path("q.dbf")).size(), 32u + 4 * 32 + 1 + 4 * (1 + 11 + 11 + 254 + 10) + 1);

    // The view still holds the new file alone, and keeps working on it.
    Table other;
    other.setFileName(p);
    EXPECT_NE(errorOf([&] { other.open(); }).find("занята"), std::string::npos);
    t.append();
    t.setIntegerField("NPOR", 7);
    t.setTextField("VOPRMEMO", "after pack");
    t.post();
    t.close();
    t.setExclusive(false);
    t.open();
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1, 3, 4, 6, 7}));
    t.last();
    EXPECT_EQ(t.textField("VOPRMEMO"), "after pack");
}

TEST_F(MaintenanceTest, EmptyRemovesEveryRecordAndTheFileStaysUsable)
{
    const std::string p = makeTable("q.dbf", numbered(5));
    Table t;
    t.setFileName(p);
    t.setExclusive(true);
    t.setFilter("NGRUPPY=2");
    t.setFiltered(true);
    t.open();
    t.edit();
    t.setIntegerField("NPOR", 100); // a pending edit is dropped
    t.emptyTable();
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(t.recordCount(), 0);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 0);
    t.append();
    t.setIntegerField("NPOR", 1);
    t.post();
    t.close();
    t.open();
    EXPECT_EQ(numbers(t), (std::vector<std::int64_t>{1}));
}

// A pack that cannot write its new file (the file size limit stands in for
// a full disk) leaves the old table whole and the view working on it.
TEST_F(MaintenanceTest, FailedPackLeavesTheTableAsItWas)
{
    const std::string p = makeTable("q.dbf", numbered(300));
    Table t;
    t.setFileName(p);
    t.setExclusive(true);
    t.open();
    t.remove();
    const std::string table = readFile(p);
    const std::string memo = readFile(path("q.dbt"));

    struct rlimit saved
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 32 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::string error = errorOf([&] { t.pack(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_NE(error.find("Ошибка записи в файл"), std::string::npos) << error;
    EXPECT_EQ(readFile(p), table);
    EXPECT_EQ(readFile(path("q.dbt")), memo);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(t.recordCount(), 299);
    t.pack();
    EXPECT_EQ(t.recordCount(), 299);
    EXPECT_EQ(t.integerField("NPOR"), 2);
    EXPECT_EQ(t.textAt(298, 3), "memo 300");
}

TEST_F(MaintenanceTest, DamagedTableFailsToOpenWithItsName)
{
    const std::string p = makeTable("q.dbf", numbered(1));
    QFile::resize(QString::fromStdString(p), 40);
    Table t;
    t.setFileName(p);
    const std::string error = errorOf([&] { t.open(); });
    EXPECT_NE(error.find("Повреждён заголовок таблицы " + p), std::string::npos) << error;
    EXPECT_FALSE(t.isOpen());
}

} // namespace
