// Tables must travel between this program and other dBase tools: what the
// store writes is read by dbfread, what python-dbf writes is read by the
// store. Both readers are independent implementations from Debian.
#include "StoreTestSupport.h"

#include "platform/text/Cp1251.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace kv::store;
using namespace kv::store::testing;

namespace {

// Runs a Python snippet with the system interpreter; returns its standard output.
QByteArray runPython(const QString &script, const QStringList &args)
{
    QProcess p;
    p.setProgram(QStringLiteral("/usr/bin/python3"));
    p.setArguments(QStringList{QStringLiteral("-c"), script} + args);
    p.start();
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

std::string cp1251(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

class InteropTest : public StoreTest
{
};

TEST_F(InteropTest, DbfreadReadsWhatTheStoreWrites)
{
    const std::string p = makeTable("Voprosy.DBF");
    const std::string longMemo =
        cp1251("Первая строка\r\n") + std::string(1200, 'w') + cp1251("\r\nконец");
    {
        Table t;
        t.setFileName(p);
        t.open();
        struct Row
        {
            std::optional<std::int64_t> npor, group;
            std::string text, memo;
        };
        const Row rows[] = {{1, 3, cp1251("Вопрос №1 ¶ ёЁ"), longMemo},
                            {2, std::nullopt, "", ""},
                            {3, 4, "deleted", "gone"},
                            {-40, 5, std::string(254, 'v'), "short"}};
        for (const Row &r : rows) {
            t.append();
            t.setIntegerField("NPOR", r.npor);
            t.setIntegerField("NGRUPPY", r.group);
            t.setTextField("VOPROS", r.text);
            t.setTextField("VOPRMEMO", r.memo);
            t.post();
        }
        t.moveTo(2);
        t.remove();
        t.first(); // a changed memo gets a new block; the record still reads right
        t.edit();
        t.setTextField("VOPRMEMO", longMemo + "!");
        t.post();
    }
    const QString script = QStringLiteral(R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1251', char_decode_errors='strict')
print(json.dumps([dict(r) for r in t], ensure_ascii=True))
)");
    const QJsonArray records =
        QJsonDocument::fromJson(runPython(script, {QString::fromStdString(p)})).array();
    ASSERT_EQ(records.size(), 3);
    const QJsonObject first = records[0].toObject();
    EXPECT_EQ(first["NPOR"].toInt(), 1);
    EXPECT_EQ(first["NGRUPPY"].toInt(), 3);
    EXPECT_EQ(first["VOPROS"].toString(), QString::fromUtf8("Вопрос №1 ¶ ёЁ"));
    EXPECT_EQ(first["VOPRMEMO"].toString(), kv::text::fromCp1251(longMemo + "!"));
    const QJsonObject second = records[1].toObject();
    EXPECT_EQ(second["NPOR"].toInt(), 2);
    EXPECT_TRUE(second["NGRUPPY"].isNull());
    EXPECT_EQ(second["VOPROS"].toString(), QString());
    const QJsonObject last = records[2].toObject();
    EXPECT_EQ(last["NPOR"].toInt(), -40);
    EXPECT_EQ(last["VOPROS"].toString(), QString(254, QLatin1Char('v')));
    EXPECT_EQ(last["VOPRMEMO"].toString(), QStringLiteral("short"));
}

TEST_F(InteropTest, StoreReadsWhatPythonDbfWrites)
{
    const std::string p = path("Bilety.DBF");
    const QString script = QStringLiteral(R"(
import sys, dbf
t = dbf.Table(sys.argv[1], 'NBILETA N(6,0); NVOPROSA N(6,0); VOPROS C(254); VOPRMEMO M',
              dbf_type='db3', codepage='cp1251')
t.open(mode=dbf.READ_WRITE)
t.append((1, 1, 'Вопрос один', 'Длинный\r\n' + 'ж' * 700))
t.append((1, 2, 'удалённый', 'x'))
t.append((2, 1, '', ''))
t.append((None, 2, 'Последний', 'Текст'))
dbf.delete(t[1])
t.close()
)");
    runPython(script, {QString::fromStdString(p)});

    Table t;
    t.setFileName(p);
    t.open();
    ASSERT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.integerField("NBILETA"), 1);
    EXPECT_EQ(t.textField("VOPROS"), cp1251("Вопрос один"));
    EXPECT_EQ(t.textField("VOPRMEMO"), cp1251("Длинный\r\n") + std::string(700, '\xE6'));
    t.next();
    EXPECT_EQ(t.integerField("NBILETA"), 2);
    EXPECT_EQ(t.textField("VOPRMEMO"), "");
    t.next();
    EXPECT_TRUE(t.isNull("NBILETA"));
    EXPECT_EQ(t.textField("VOPRMEMO"), cp1251("Текст"));

    // Our changes to their table stay readable by them.
    t.edit();
    t.setTextField("VOPRMEMO", cp1251("Изменено"));
    t.post();
    t.setFilter("NBILETA=1");
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 1);
    t.close();
    const QString readMemos = QStringLiteral(R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1251')
print(json.dumps([r['VOPRMEMO'] for r in t], ensure_ascii=True))
)");
    const QJsonArray memos =
        QJsonDocument::fromJson(runPython(readMemos, {QString::fromStdString(p)})).array();
    ASSERT_EQ(memos.size(), 3);
    EXPECT_EQ(memos[2].toString(), QString::fromUtf8("Изменено"));
    EXPECT_EQ(memos[0].toString().size(), 9 + 700);
}

} // namespace
