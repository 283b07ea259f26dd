// The base-file commands (open, save, the automatic save) and the
// maintenance commands (pack, delete all) of the main window, driven with
// scripted answers and file names in a temporary working folder.
#include "core/base/BaseTables.h"
#include "core/basefile/BaseFile.h"
#include "core/basefile/BaseTransfer.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/dbf/DbfFile.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kv::gui;
using kv::basefile::BaseData;

namespace {

const QString kWarning = QStringLiteral("ВНИМАНИЕ !!!");
const QString kClearTitle = QStringLiteral("ВНИМАНИЕ !!! УДАЛЕНИЕ ВСЕХ ВОПРОСОВ И ГРУПП");
const QString kErrorTitle = QStringLiteral("Квиртон");

std::string cp(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

// The base the working folder starts with: two groups, three questions (one
// of two lines) and a ticket set of two tickets.
BaseData startBase()
{
    BaseData b;
    b.groups = {{1, cp("Алгебра")}, {2, cp("Геометрия")}};
    b.questions = {
        {1, 1, cp("Корни уравнения")}, {2, 2, cp("Теорема\r\nПифагора")}, {3, 1, cp("Логарифмы")}};
    b.tickets = {{1, 1, 1, 1, cp("Корни уравнения")}, {2, 1, 3, 1, cp("Логарифмы")}};
    return b;
}

class BaseCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        kv::base::createMissingBaseTables(dir.path());
        fill(startBase());
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    static void fill(const BaseData &b)
    {
        kv::store::Table groups, questions, tickets;
        groups.setFileName(kv::base::kGroupsFile);
        questions.setFileName(kv::base::kQuestionsFile);
        tickets.setFileName(kv::base::kTicketsFile);
        for (auto *t : {&groups, &questions, &tickets})
            t->open();
        for (const auto &g : b.groups) {
            groups.append();
            groups.setIntegerField("NGRUPPY", g.number);
            groups.setTextField("NAMEGRUPPA", g.name);
            groups.post();
        }
        for (const auto &q : b.questions) {
            questions.append();
            questions.setIntegerField("NPOR", q.number);
            questions.setIntegerField("NGRUPPY", q.group);
            questions.setTextField("VOPRMEMO", q.fullText);
            questions.post();
        }
        for (const auto &t : b.tickets) {
            tickets.append();
            tickets.setIntegerField("NBILETA", t.ticket);
            tickets.setIntegerField("NVOPROSA", t.position);
            tickets.setIntegerField("NPOR", t.question);
            tickets.setIntegerField("NGRUPPY", t.group);
            tickets.setTextField("VOPRMEMO", t.fullText);
            tickets.post();
        }
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }

    static BaseData readBase(const QString &file)
    {
        kv::basefile::BaseFileReader reader;
        EXPECT_TRUE(reader.read(file)) << reader.errorString().toStdString();
        return reader.data();
    }

    static void writeBytes(const QString &file, const std::string &bytes)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    static QByteArray readBytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Records in the table file, deleted ones included.
    static std::uint32_t storedRecords(const char *table)
    {
        return kv::dbf::DbfFile::open(table, table, false)->recordCount();
    }

    static void expectViewsOpenAndShared(TForm1 &form)
    {
        for (kv::store::Table *t : {&form.Table1, &form.Table2, &form.Table3, &form.Table4}) {
            EXPECT_TRUE(t->isOpen()) << t->objectName().toStdString();
            EXPECT_FALSE(t->exclusive()) << t->objectName().toStdString();
        }
    }

    static QString caption(const char *name)
    {
        return QStringLiteral("Квиртон v1.3,  файл: ") + QString::fromUtf8(name);
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
};

// --- opening a base file -------------------------------------------------------

TEST_F(BaseCommandsTest, OpenSavesTheOldBaseFirstAndLoadsTheChosenFileFromAnotherFolder)
{
    BaseData other;
    other.groups = {{1, cp("Физика")}};
    other.questions = {{1, 1, cp("Закон Ома")}, {2, 1, cp("Закон Кулона")}};
    other.tickets = {{1, 1, 2, 1, cp("Закон Кулона")}};
    kv::basefile::BaseFileWriter writer;
    QDir().mkpath(path("elsewhere"));
    ASSERT_TRUE(writer.write(path("elsewhere/exam.txb"), other));

    TForm1 form;
    form.Table3.setFilter("NBILETA=1");
    MessageService::queueAnswer(MessageAnswer::Ok);
    MessageService::queueFileName(path("elsewhere/exam.txb"));
    form.N6->trigger();

    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, kWarning);
    EXPECT_EQ(MessageService::shown()[0].text, "Сохранить старую базу вопросов?");
    ASSERT_EQ(MessageService::fileDialogs().size(), 1);
    const FileDialogRequest &request = MessageService::fileDialogs()[0];
    EXPECT_EQ(request.title, "Загрузить базу вопросов");
    EXPECT_EQ(QDir(request.folder), QDir(path("Base")));
    EXPECT_EQ(request.filter, "Текстовый файл базы вопросов (*.txb )|*.txb");
    EXPECT_EQ(request.defaultSuffix, "txb");

    // The old base went to Base/default.txb before the new one came in.
    EXPECT_EQ(readBase(path("Base/default.txb")), startBase());
    EXPECT_EQ(form.BaseFileName, "exam.txb");
    EXPECT_EQ(form.windowTitle(), caption("exam.txb"));
    expectViewsOpenAndShared(form);
    EXPECT_EQ(form.Table1.recordCount(), 2);
    EXPECT_EQ(form.Table2.recordCount(), 1);
    EXPECT_EQ(form.Table3.filter(), "NBILETA=1");
    EXPECT_EQ(form.Table3.recordCount(), 1);
    EXPECT_EQ(form.Table1.textField("VOPRMEMO"), cp("Закон Ома"));

    // The folder of the opened file is not kept: the automatic save writes
    // the bare name into Base.
    form.SaveCurrentBase();
    EXPECT_EQ(readBase(path("Base/exam.txb")), other);

    // The dialog offers the last chosen file the next time.
    MessageService::queueAnswer(MessageAnswer::Cancel);
    form.N6->trigger();
    ASSERT_EQ(MessageService::fileDialogs().size(), 2);
    EXPECT_EQ(MessageService::fileDialogs()[1].fileName, path("elsewhere/exam.txb"));
}

TEST_F(BaseCommandsTest, OpenCancelledAtEachStep)
{
    {
        // Cancel to the save question still shows the dialog; cancelling it
        // changes nothing.
        TForm1 form;
        MessageService::queueAnswer(MessageAnswer::Cancel);
        form.N6Click();
        EXPECT_EQ(MessageService::fileDialogs().size(), 1);
        EXPECT_FALSE(QFile::exists(path("Base/default.txb")));
        EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
        EXPECT_EQ(form.Table1.recordCount(), 3);
    }
    {
        // OK, then the dialog cancelled: the base stays saved and unchanged,
        // even over an existing file of that name, without a question.
        writeBytes(path("Base/default.txb"), "old\r\n");
        MessageService::clearShown();
        TForm1 form;
        MessageService::queueAnswer(MessageAnswer::Ok);
        form.N6Click();
        EXPECT_EQ(MessageService::shown().size(), 1);
        EXPECT_EQ(readBase(path("Base/default.txb")), startBase());
        EXPECT_EQ(form.windowTitle(), caption("default.txb"));
        EXPECT_EQ(form.Table1.recordCount(), 3);
        expectViewsOpenAndShared(form);
    }
}

TEST_F(BaseCommandsTest, AFileThatCannotBeReadLeavesTheTablesAndNamesLineAndReason)
{
    struct Case
    {
        const char *name;
        const char *file;   // written unless empty
        std::string bytes;  // its content
        const char *reason; // part of the error text
    };
    const std::vector<Case> cases = {
        {"bad line", "Base/bad.txb",
         cp("Алгебра\r\n\r\n1") + "\xA4" + cp("Вопрос\r\nбез разделителя\r\n"), "строка 4"},
        {"bad group number", "Base/num.txb", "G\r\n\r\nx\xA4Q\r\n", "строка 3"},
        {"missing file", "", "", "missing.txb"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = *c.file ? path(QString::fromUtf8(c.file)) : path("Base/missing.txb");
        if (*c.file)
            writeBytes(file, c.bytes);
        TForm1 form;
        MessageService::clearShown();
        MessageService::queueAnswer(MessageAnswer::Cancel);
        MessageService::queueFileName(file);
        form.N6Click();

        ASSERT_EQ(MessageService::shown().size(), 2);
        const ShownMessage &error = MessageService::shown()[1];
        EXPECT_EQ(error.title, kErrorTitle);
        EXPECT_TRUE(error.text.contains(QFileInfo(file).fileName())) << error.text.toStdString();
        EXPECT_TRUE(error.text.contains(QString::fromUtf8(c.reason))) << error.text.toStdString();
        EXPECT_EQ(form.BaseFileName, "default.txb");
        EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
        expectViewsOpenAndShared(form);
        BaseData now;
        QString why;
        ASSERT_TRUE(
            kv::basefile::collectBaseData(form.Table1, form.Table2, form.Table3, now, &why));
        EXPECT_EQ(now, startBase());
    }
}

TEST_F(BaseCommandsTest, AFailedAutomaticSaveStopsBeforeTheDialog)
{
    // A file named Base where the folder should be: neither usable nor
    // creatable.
    QDir(path("Base")).removeRecursively();
    writeBytes(path("Base"), "not a folder");
    TForm1 form;
    MessageService::queueAnswer(MessageAnswer::Ok);
    MessageService::queueFileName(path("never.txb"));
    form.N6Click();
    ASSERT_EQ(MessageService::shown().size(), 2);
    EXPECT_EQ(MessageService::shown()[1].title, kErrorTitle);
    EXPECT_TRUE(MessageService::fileDialogs().isEmpty());
    EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
    EXPECT_EQ(form.Table1.recordCount(), 3);
}

// --- saving a base file --------------------------------------------------------

TEST_F(BaseCommandsTest, SaveWritesTheChosenFileAndTakesItsName)
{
    TForm1 form;
    // A question being edited is saved as typed.
    form.Table1.first();
    form.Table1.edit();
    form.Table1.setTextField("VOPRMEMO", cp("Корни квадратного уравнения"));
    BaseData expected = startBase();
    expected.questions[0].fullText = cp("Корни квадратного уравнения");

    MessageService::queueFileName(path("Base/mine.txb"));
    form.N7->trigger();
    ASSERT_EQ(MessageService::fileDialogs().size(), 1);
    const FileDialogRequest &request = MessageService::fileDialogs()[0];
    EXPECT_EQ(request.title, "Сохранить базу вопросов");
    EXPECT_EQ(QDir(request.folder), QDir(path("Base")));
    EXPECT_EQ(request.fileName, ""); // "default.txb" is not offered
    EXPECT_TRUE(MessageService::shown().isEmpty());
    EXPECT_EQ(readBase(path("Base/mine.txb")), expected);
    EXPECT_EQ(form.BaseFileName, "mine.txb");
    EXPECT_EQ(form.windowTitle(), caption("mine.txb"));

    // The next save offers the current name; the automatic save uses it.
    form.N7Click();
    EXPECT_EQ(MessageService::fileDialogs()[1].fileName, "mine.txb");
    form.Table1.cancel();
    form.SaveCurrentBase();
    EXPECT_EQ(readBase(path("Base/mine.txb")), startBase());
}

TEST_F(BaseCommandsTest, SaveOverAnExistingFileAsksFirst)
{
    const QString target = path("Base/exists.txb");
    for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        SCOPED_TRACE(answer == MessageAnswer::Ok ? "OK" : "Cancel");
        writeBytes(target, "old\r\n");
        TForm1 form;
        MessageService::clearShown();
        MessageService::queueFileName(target);
        MessageService::queueAnswer(answer);
        form.N7Click();
        ASSERT_EQ(MessageService::shown().size(), 1);
        EXPECT_EQ(MessageService::shown()[0].title, kWarning);
        EXPECT_EQ(MessageService::shown()[0].text, "Такой файл существует. Перезаписать?");
        EXPECT_EQ(MessageService::shown()[0].buttons, MessageButtons::OkCancel);
        if (answer == MessageAnswer::Cancel) {
            EXPECT_EQ(readBytes(target), "old\r\n");
            EXPECT_EQ(form.BaseFileName, "default.txb");
            EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
        } else {
            EXPECT_EQ(readBase(target), startBase());
            EXPECT_EQ(form.BaseFileName, "exists.txb");
        }
    }
}

TEST_F(BaseCommandsTest, AFailedSaveIsReportedAndChangesNothing)
{
    TForm1 form;
    MessageService::queueFileName(path("no such folder/x.txb"));
    form.N7Click();
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, kErrorTitle);
    EXPECT_TRUE(MessageService::shown()[0].text.contains("x.txb"));
    EXPECT_EQ(form.BaseFileName, "default.txb");
    EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");

    // Tables that could not be opened are not written as an empty base.
    writeBytes(path("Base/keep.txb"), "keep\r\n");
    form.Table2.close();
    MessageService::clearShown();
    MessageService::queueFileName(path("Base/keep.txb"));
    MessageService::queueAnswer(MessageAnswer::Ok);
    form.N7Click();
    ASSERT_EQ(MessageService::shown().size(), 2);
    EXPECT_EQ(MessageService::shown()[1].title, kErrorTitle);
    EXPECT_EQ(readBytes(path("Base/keep.txb")), "keep\r\n");
}

TEST_F(BaseCommandsTest, ShortcutsRunOpenAndSave)
{
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    MessageService::queueAnswer(MessageAnswer::Cancel);
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(MessageService::fileDialogs().size(), 1);
    EXPECT_EQ(MessageService::fileDialogs()[0].title, "Загрузить базу вопросов");
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(MessageService::fileDialogs().size(), 2);
    EXPECT_EQ(MessageService::fileDialogs()[1].title, "Сохранить базу вопросов");
}

// --- packing -------------------------------------------------------------------

TEST_F(BaseCommandsTest, PackRemovesDeletedRecordsOnlyOnOk)
{
    TForm1 form;
    form.N7_PerPriDel->trigger(); // keep the numbers: they show which record went
    form.Table1.moveTo(1);
    form.Table1.remove();
    form.Table3.setFilter("NBILETA=2");
    ASSERT_EQ(storedRecords(kv::base::kQuestionsFile), 3u);

    MessageService::queueAnswer(MessageAnswer::Cancel);
    form.N6_Pack->trigger();
    EXPECT_EQ(storedRecords(kv::base::kQuestionsFile), 3u);

    MessageService::queueAnswer(MessageAnswer::Ok);
    form.N6_Pack->trigger();
    ASSERT_EQ(MessageService::shown().size(), 2);
    EXPECT_EQ(MessageService::shown()[1].title, kWarning);
    EXPECT_EQ(MessageService::shown()[1].text, "Упаковать базы?");
    EXPECT_EQ(storedRecords(kv::base::kQuestionsFile), 2u);
    expectViewsOpenAndShared(form);
    EXPECT_EQ(form.Table1.recordCount(), 2);
    EXPECT_EQ(form.Table1.currentRow(), 0);
    EXPECT_EQ(form.Table1.integerField("NPOR"), 1);
    form.Table1.next();
    EXPECT_EQ(form.Table1.integerField("NPOR"), 3);
    EXPECT_EQ(form.Table2.recordCount(), 2);
    EXPECT_EQ(form.Table3.filter(), "NBILETA=2");
    EXPECT_EQ(form.Table3.recordCount(), 1);
}

TEST_F(BaseCommandsTest, PackWithATableHeldElsewhereReopensTheViewsAndReports)
{
    TForm1 form;
    form.Table1.moveTo(0);
    form.Table1.remove();
    kv::store::Table holder;
    holder.setFileName(kv::base::kGroupsFile);
    holder.open();

    MessageService::queueAnswer(MessageAnswer::Ok);
    form.N6_PackClick();
    ASSERT_EQ(MessageService::shown().size(), 2);
    EXPECT_EQ(MessageService::shown()[1].title, kErrorTitle);
    EXPECT_TRUE(MessageService::shown()[1].text.contains("Gruppy"))
        << MessageService::shown()[1].text.toStdString();
    expectViewsOpenAndShared(form);
    EXPECT_EQ(form.Table1.recordCount(), 2);

    // Once the other holder lets go, packing works.
    holder.close();
    MessageService::clearShown();
    MessageService::queueAnswer(MessageAnswer::Ok);
    form.N6_PackClick();
    EXPECT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(storedRecords(kv::base::kQuestionsFile), 2u);
}

// --- deleting all questions and groups -------------------------------------------

TEST_F(BaseCommandsTest, DeleteAllWithAndWithoutSavingFirst)
{
    struct Case
    {
        MessageAnswer save, remove;
        bool saved, deleted;
    };
    const std::vector<Case> cases = {
        {MessageAnswer::Cancel, MessageAnswer::Cancel, false, false},
        {MessageAnswer::Cancel, MessageAnswer::Ok, false, true},
        {MessageAnswer::Ok, MessageAnswer::Cancel, true, false},
        {MessageAnswer::Ok, MessageAnswer::Ok, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "save " << (c.save == MessageAnswer::Ok) << " delete "
                                        << (c.remove == MessageAnswer::Ok));
        // Fresh tables each time; no Base folder: the save creates it.
        for (const char *t :
             {kv::base::kQuestionsFile, kv::base::kGroupsFile, kv::base::kTicketsFile})
            QFile::remove(path(QString::fromUtf8(t)));
        QFile::remove(path("Sys/Voprosy.DBT"));
        QFile::remove(path("Sys/Bilety.DBT"));
        QDir(path("Base")).removeRecursively();
        kv::base::createMissingBaseTables(dir.path());
        QDir(path("Base")).removeRecursively();
        fill(startBase());

        TForm1 form;
        MessageService::clearShown();
        MessageService::queueAnswer(c.save);
        MessageService::queueAnswer(c.remove);
        form.N12->trigger();

        ASSERT_EQ(MessageService::shown().size(), 2);
        EXPECT_EQ(MessageService::shown()[0].title, kClearTitle);
        EXPECT_EQ(MessageService::shown()[0].text,
                  "Перед удалением предварительно сохранить базу вопросов?");
        EXPECT_EQ(MessageService::shown()[1].title, kClearTitle);
        EXPECT_EQ(MessageService::shown()[1].text, "Произвести удаление?");

        EXPECT_EQ(QFile::exists(path("Base/default.txb")), c.saved);
        if (c.saved) {
            EXPECT_EQ(readBase(path("Base/default.txb")), startBase());
            EXPECT_EQ(form.windowTitle(), caption("default.txb"));
        } else {
            EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
        }
        expectViewsOpenAndShared(form);
        EXPECT_EQ(form.Table1.recordCount(), c.deleted ? 0 : 3);
        EXPECT_EQ(form.Table2.recordCount(), c.deleted ? 0 : 2);
        EXPECT_EQ(storedRecords(kv::base::kQuestionsFile), c.deleted ? 0u : 3u);
        // The tickets of the last generation stay.
        EXPECT_EQ(form.Table3.recordCount(), 2);
        EXPECT_EQ(form.BaseFileName, "default.txb");
    }
}

TEST_F(BaseCommandsTest, DeleteAllStopsWhenTheSaveFails)
{
    QDir(path("Base")).removeRecursively();
    writeBytes(path("Base"), "not a folder");
    TForm1 form;
    MessageService::queueAnswer(MessageAnswer::Ok);
    MessageService::queueAnswer(MessageAnswer::Ok);
    form.N12Click();
    ASSERT_EQ(MessageService::shown().size(), 2);
    EXPECT_EQ(MessageService::shown()[1].title, kErrorTitle);
    EXPECT_EQ(form.Table1.recordCount(), 3);
    EXPECT_EQ(form.Table2.recordCount(), 2);
}

} // namespace
