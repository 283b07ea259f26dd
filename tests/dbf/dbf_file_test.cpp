// The dBase file layer: both memo layouts, the checks that reject damaged
// files, field codecs, and the write-then-swap of whole tables.
#include "DbfTestSupport.h"

#include "platform/dbf/DbfFile.h"
#include "platform/dbf/DbfLayout.h"
#include "platform/dbf/FileLookup.h"
#include "platform/dbf/NewTableFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kv::dbf;
using namespace kv::dbf::testing;

namespace {

class DbfFileTest : public ::testing::Test
{
protected:
    std::string path(const std::string &name) const
    {
        return dir.path().toStdString() + "/" + name;
    }
    QTemporaryDir dir;
};

std::string memoOf(DbfFile &f, std::uint32_t recno, int field)
{
    const std::string raw = f.readRecord(recno);
    const FieldDef &d = f.fields()[static_cast<std::size_t>(field)];
    return f.readMemo(std::string_view(raw).substr(static_cast<std::size_t>(d.offset),
                                                   static_cast<std::size_t>(d.length)));
}

// A dBase IV table (N5, M) whose memo file has blocks of `blockSize` bytes;
// record i points at the block of memo i.
void writeDBase4(const std::string &dbf, const std::string &dbt,
                 const std::vector<std::string> &memos, std::uint32_t blockSize)
{
    std::string memo(blockSize < 512 ? 512 : blockSize, '\0');
    put16(memo, 20, blockSize);
    std::vector<std::string> records;
    for (std::size_t i = 0; i < memos.size(); ++i) {
        const std::uint32_t block = static_cast<std::uint32_t>(memo.size() / blockSize);
        std::string m("\xFF\xFF\x08\x00....", 8);
        put32(m, 4, static_cast<std::uint32_t>(memos[i].size() + 8));
        m += memos[i];
        m.resize((m.size() + blockSize - 1) / blockSize * blockSize, '\0');
        memo += m;
        records.push_back(" " + right(std::to_string(i + 1), 5) + right(std::to_string(block), 10));
    }
    put32(memo, 0, static_cast<std::uint32_t>(memo.size() / blockSize));
    writeFile(dbf, tableBytes(0x8B, {{"N", 'N', 5}, {"TEXT", 'M', 10}}, records));
    writeFile(dbt, memo);
}

TEST_F(DbfFileTest, ReadsDBase4MemosOfAnyBlockSizeAndAppendsInTheSameLayout)
{
    const std::string longText = std::string(700, 'a') + "\xC0\xE1\xE2" + std::string(300, 'z');
    for (std::uint32_t blockSize : {512u, 64u}) {
        SCOPED_TRACE(blockSize);
        writeDBase4(path("d4.dbf"), path("d4.dbt"), {"short", longText, "third"}, blockSize);
        auto f = DbfFile::open(path("d4.dbf"), "d4.dbf", true);
        ASSERT_EQ(f->header().memoLayout, MemoLayout::DBase4);
        EXPECT_EQ(memoOf(*f, 0, 1), "short");
        EXPECT_EQ(memoOf(*f, 1, 1), longText);
        EXPECT_EQ(memoOf(*f, 2, 1), "third");

        // A new memo goes after the last one, in the dBase IV layout.
        std::string raw = f->readRecord(0);
        encodeMemoBlock(f->writeMemo(longText + "!"), raw.data() + f->fields()[1].offset);
        f->writeRecord(0, raw);
        f.reset();
        auto again = DbfFile::open(path("d4.dbf"), "d4.dbf", false);
        EXPECT_EQ(memoOf(*again, 0, 1), longText + "!");
        EXPECT_EQ(memoOf(*again, 2, 1), "third");
    }
}

TEST_F(DbfFileTest, ReadsDBase3MemosSpanningBlocksAndEndedEitherWay)
{
    const std::string longText(1300, 'q');
    std::string memo(512, '\0');
    put32(memo, 0, 5);
    memo += longText + "\x1A\x1A"; // blocks 1..3
    memo.resize(4 * 512, '\0');
    memo += "single end\x1Agarbage"; // block 4: one end mark, not padded
    writeFile(path("d3.dbt"), memo);
    writeFile(path("d3.dbf"),
              tableBytes(0x83, {{"TEXT", 'M', 10}},
                         {" " + right("1", 10), " " + left("4", 10), " " + right("", 10)}));
    auto f = DbfFile::open(path("d3.dbf"), "d3.dbf", true);
    EXPECT_EQ(memoOf(*f, 0, 0), longText);
    EXPECT_EQ(memoOf(*f, 1, 0), "single end");
    EXPECT_EQ(memoOf(*f, 2, 0), "");
    // An append after an unpadded last block starts on a fresh block.
    const auto block = f->writeMemo("appended");
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, 5u);
    std::string raw = f->readRecord(2);
    encodeMemoBlock(block, raw.data() + 1);
    f->writeRecord(2, raw);
    EXPECT_EQ(memoOf(*f, 2, 0), "appended");
    EXPECT_EQ(memoOf(*f, 1, 0), "single end");
}

// Each damage is refused with a message that names the file.
TEST_F(DbfFileTest, RejectsDamagedTables)
{
    const std::vector<RawField> fields = {{"N", 'N', 5}, {"TEXT", 'M', 10}};
    const std::string good = tableBytes(0x83, fields, {" " + right("1", 5) + right("1", 10)});
    std::string memo(512, '\0');
    put32(memo, 0, 2);
    memo += "text\x1A\x1A";
    memo.resize(1024, '\0');

    struct Case
    {
        const char *name;
        std::string table;
        bool withMemo;
        const char *expected;
        bool failsOnMemoRead = false;
    };
    auto patched = [&](std::size_t at, std::string bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    std::string twoRecords = good;
    put32(twoRecords, 4, 2);
    std::string shortHeader = good;
    put16(shortHeader, 8, 64); // stops inside the second descriptor
    std::string longHeader = good;
    put16(longHeader, 8, 600);
    longHeader.resize(800, ' ');
    const Case cases[] = {
        {"truncated header", good.substr(0, 20), true, "короче заголовка"},
        {"cut inside the field list", good.substr(0, 70), true, "длина заголовка"},
        {"header length short of the fields", shortHeader, true, "конца описания полей"},
        {"header length beyond the fields", longHeader, true, "не соответствует полям"},
        {"wrong record length", patched(10, std::string("\x11\x00", 2)), true, "длина записи"},
        {"unknown field type", patched(32 + 11, "X"), true, "неизвестный тип «X»"},
        {"unknown version", patched(0, "\x30"), true, "формат"},
        {"record count beyond the file", twoRecords, true, "число записей 2"},
        {"missing memo file", good, false, "Не найден файл MEMO-полей"},
        {"memo block past the end", patched(97 + 1 + 5, right("9", 10)), true, "за концом файла",
         true},
        {"memo pointer that is no number", patched(97 + 1 + 5, right("1x", 10)), true,
         "ссылка на MEMO-блок", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir scratch;
        const std::string dbf = scratch.path().toStdString() + "/bad.dbf";
        writeFile(dbf, c.table);
        if (c.withMemo)
            writeFile(scratch.path().toStdString() + "/bad.dbt", memo);
        try {
            auto f = DbfFile::open(dbf, "Sys/Bad.dbf", false);
            ASSERT_TRUE(c.failsOnMemoRead) << "opened";
            memoOf(*f, 0, 1);
            ADD_FAILURE() << "memo read";
        } catch (const DbfError &e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Sys/Bad."), std::string::npos) << message;
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        }
    }
}

TEST(DbfCodecTest, NumbersAndTexts)
{
    char raw[6];
    EXPECT_TRUE(encodeInteger(-32768, raw, 6));
    EXPECT_EQ(std::string(raw, 6), "-32768");
    EXPECT_FALSE(encodeInteger(1234567, raw, 6));
    EXPECT_EQ(std::string(raw, 6), "-32768"); // unchanged when too wide
    EXPECT_TRUE(encodeInteger(std::nullopt, raw, 6));
    EXPECT_EQ(std::string(raw, 6), "      ");

    struct Case
    {
        const char *raw;
        int decimals;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {{"   42", 0, 42},           {"  -7 ", 0, -7},
                          {"     ", 0, std::nullopt}, {"  1.50", 2, 2},
                          {"  abc", 0, std::nullopt}, {"*****", 0, std::nullopt},
                          {"\0\0\0", 0, std::nullopt}};
    for (const Case &c : cases)
        EXPECT_EQ(
            decodeInteger(std::string_view(c.raw, std::strlen(c.raw) ? std::strlen(c.raw) : 3),
                          c.decimals),
            c.value)
            << c.raw;

    char text[5];
    encodeText("\xC0\xC1\xC2\xC3\xC4\xC5\xC6", text, 5); // cut at the width
    EXPECT_EQ(std::string(text, 5), "\xC0\xC1\xC2\xC3\xC4");
    encodeText("ab", text, 5);
    EXPECT_EQ(decodeText(std::string_view(text, 5)), "ab");
}

TEST_F(DbfFileTest, NewTableHasTheDBase3LayoutAndCp1251Driver)
{
    NewTableFile file(path("t.DBF"), "t.DBF", {numericField("N", 6), memoField("M")});
    file.appendRecord({std::int64_t{5}, std::string("text")});
    file.appendRecord({std::monostate{}, std::monostate{}});
    EXPECT_THROW(file.appendRecord({std::int64_t{10000000}, std::monostate{}}), DbfError);
    file.commit();
    const std::string bytes = readFile(path("t.DBF"));
    ASSERT_GE(bytes.size(), 32u + 64 + 1 + 2 * 17 + 1);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), 0x83);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[29]), 0xC9);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes.back()), 0x1A);
    EXPECT_EQ(bytes.size(), 32u + 64 + 1 + 2 * 17 + 1);
    EXPECT_EQ(bytes.substr(97, 17), "      5         1");
    const std::string memo = readFile(path("t.DBT"));
    EXPECT_EQ(memo.size(), 1024u);
    EXPECT_EQ(memo.substr(512, 6), "text\x1A\x1A");
    EXPECT_EQ(memo[0], 2); // next free block
}

// Writing fails half-way (the file size limit stands in for a full disk):
// the old table stays as it was and no new file is left behind.
TEST_F(DbfFileTest, FailedWriteLeavesTheOldTableIntact)
{
    const std::vector<FieldDef> fields = {numericField("N", 6), memoField("M")};
    {
        NewTableFile old(path("t.dbf"), "t.dbf", fields);
        old.appendRecord({std::int64_t{1}, std::string("old memo")});
        old.commit();
    }
    const std::string oldTable = readFile(path("t.dbf"));
    const std::string oldMemo = readFile(path("t.dbt"));

    struct rlimit saved
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool failed = false;
    try {
        NewTableFile file(path("t.dbf"), "t.dbf", fields);
        for (int i = 0; i < 1000; ++i)
            file.appendRecord({std::int64_t{i}, std::string(600, 'm')});
        file.commit();
    } catch (const DbfError &e) {
        failed = true;
        EXPECT_NE(std::string(e.what()).find("t.db"), std::string::npos);
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(failed);
    EXPECT_EQ(readFile(path("t.dbf")), oldTable);
    EXPECT_EQ(readFile(path("t.dbt")), oldMemo);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// A swap cut short: after the memo rename the new table is finished on the
// next open; before it, the new files are dropped.
TEST_F(DbfFileTest, InterruptedSwapIsFinishedOrUndone)
{
    const std::vector<FieldDef> fields = {numericField("N", 6), memoField("M")};
    auto make = [&](const std::string &name, std::int64_t n, const std::string &text) {
        NewTableFile f(path(name), name, fields);
        f.appendRecord({n, text});
        f.commit();
    };
    auto firstMemo = [&]() {
        auto f = DbfFile::open(path("t.DBF"), "t.DBF", false);
        return memoOf(*f, 0, 1);
    };
    make("t.DBF", 1, "old");
    make("n.DBF", 2, "new"); // stands for the new files

    // Both new files present: the swap never began.
    QFile::copy(QString::fromStdString(path("n.DBF")), QString::fromStdString(path("t.DBF.kvtmp")));
    QFile::copy(QString::fromStdString(path("n.DBT")), QString::fromStdString(path("t.DBT.kvtmp")));
    recoverInterruptedReplace(path("t.DBF"));
    EXPECT_EQ(firstMemo(), "old");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("t.DBF.kvtmp"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("t.DBT.kvtmp"))));

    // Memo already renamed, table not yet.
    QFile::remove(QString::fromStdString(path("t.DBT")));
    QFile::copy(QString::fromStdString(path("n.DBT")), QString::fromStdString(path("t.DBT")));
    QFile::copy(QString::fromStdString(path("n.DBF")), QString::fromStdString(path("t.DBF.kvtmp")));
    recoverInterruptedReplace(path("t.DBF"));
    EXPECT_EQ(firstMemo(), "new");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("t.DBF.kvtmp"))));
}

TEST_F(DbfFileTest, FindsFilesInAnyLetterCase)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("sys"));
    writeFile(path("sys/voprosy.dbf"), "x");
    EXPECT_EQ(findFileNoCase(path("Sys/Voprosy.DBF")), path("sys/voprosy.dbf"));
    EXPECT_EQ(findFileNoCase(path("Sys\\VOPROSY.dbf")), path("sys/voprosy.dbf"));
    EXPECT_EQ(findFileNoCase(path("Sys/Gruppy.dbf")), std::nullopt);
    EXPECT_EQ(findFileNoCase(path("Sys")), std::nullopt); // a folder is no table
    EXPECT_EQ(memoFileNameFor("Sys/Voprosy.DBF"), "Sys/Voprosy.DBT");
    EXPECT_EQ(memoFileNameFor("Sys/Gruppy.dbf"), "Sys/Gruppy.dbt");
}

} // namespace
