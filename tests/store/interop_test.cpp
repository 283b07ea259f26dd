// Tables must open in other dBase tools and tables of other tools must open
// here: checked against the independent readers and writers of Debian's
// python3-dbfread and python3-dbf.
#include "core/base/BaseTables.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

QString runPython(const QString &script, const QStringList &args, bool *ok)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList{"-c", script} + args);
    *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!*ok)
        return QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(Interop, TablesWeWriteReadBackInDbfread)
{
    QTemporaryDir dir;
    kv::base::createMissingBaseTables(dir.path());
    const std::string memo = std::string("\xCF\xE5\xF0\xE2\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0\r\n") +
                             std::string(700, 'x');
    {
        kv::store::Table t;
        t.setFileName(dir.filePath("Sys/Voprosy.DBF").toStdString());
        t.open();
        for (int i = 1; i <= 3; ++i) {
            t.append();
            t.setIntegerField("NPOR", i);
            t.setIntegerField("NGRUPPY", 10 * i);
            t.setTextField("VOPROS", "\xC2\xEE\xEF\xF0\xEE\xF1 " + std::to_string(i)); // Вопрос i
            if (i != 2)
                t.setTextField("VOPRMEMO", memo);
            t.post();
        }
        t.moveTo(1);
        t.remove(); // deleted records are skipped by readers
    }
    const QString script = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1251', char_decode_errors='strict')
for r in t:
    print(repr((r['NPOR'], r['NGRUPPY'], r['VOPROS'], r['VOPRMEMO'], r['SLOGNOST'])))
)";
    bool ok = false;
    const QString out = runPython(script, {dir.filePath("Sys/Voprosy.DBF")}, &ok);
    ASSERT_TRUE(ok) << out.toStdString();
    const QString expectedMemo = QStringLiteral("'Первая строка\\r\\n") + QString(700, 'x') + "'";
    EXPECT_EQ(out.toStdString(),
              QStringLiteral("(1, 10, 'Вопрос 1', %1, None)\n(3, 30, 'Вопрос 3', %1, None)\n")
                  .arg(expectedMemo)
                  .toStdString());
}

TEST(Interop, TablesOfPythonDbfOpenHere)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("other.dbf");
    const QString script = R"(
import sys, dbf
t = dbf.Table(sys.argv[1], 'NPOR N(5,0); NAME C(40); NOTE M', dbf_type='db3', codepage='cp1251')
t.open(dbf.READ_WRITE)
t.append((1, 'Группа один', 'Текст\r\nв две строки ' + 'y' * 600))
t.append((2, 'Вторая', ''))
t.append((3, 'Третья', 'три'))
dbf.delete(t[1])
t.close()
)";
    bool ok = false;
    const QString err = runPython(script, {file}, &ok);
    ASSERT_TRUE(ok) << err.toStdString();
    kv::store::Table t;
    t.setFileName(file.toStdString());
    t.open();
    ASSERT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.integerField("NPOR"), 1);
    EXPECT_EQ(t.textField("NAME"), "\xC3\xF0\xF3\xEF\xEF\xE0 \xEE\xE4\xE8\xED"); // Группа один
    EXPECT_EQ(t.textField("NOTE"),
              "\xD2\xE5\xEA\xF1\xF2\r\n\xE2 \xE4\xE2\xE5 \xF1\xF2\xF0\xEE\xEA\xE8 " +
                  std::string(600, 'y'));
    t.next();
    EXPECT_EQ(t.integerField("NPOR"), 3);
    EXPECT_EQ(t.textField("NOTE"), "\xF2\xF0\xE8");
}
