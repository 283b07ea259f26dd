// Editing questions and groups and browsing the filtered views, driven
// through the main window's controls with scripted message boxes.
#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/text/Cp1251.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/UpDown.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kv::gui;
using kv::widgets::NavButton;

namespace {

struct Row
{
    int npor;
    int group;
    std::string text;
};

class EditingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        kv::base::createMissingBaseTables(dir.path());
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(oldCurrent);
    }

    static void addRecords(const char *file, const std::vector<Row> &rows, bool groups = false)
    {
        kv::store::Table t;
        t.setFileName(file);
        t.open();
        for (const Row &r : rows) {
            t.append();
            if (!groups)
                t.setIntegerField("NPOR", r.npor);
            t.setIntegerField("NGRUPPY", r.group);
            t.setTextField(groups ? "NAMEGRUPPA" : "VOPROS", r.text);
            t.post();
        }
    }
    static void addQuestions(const std::vector<Row> &rows)
    {
        addRecords(kv::base::kQuestionsFile, rows);
    }
    static std::vector<Row> numbered(int count)
    {
        std::vector<Row> rows;
        for (int i = 1; i <= count; ++i)
            rows.push_back({i, 1, "Q" + std::to_string(i)});
        return rows;
    }

    TForm1 &open()
    {
        form = std::make_unique<TForm1>();
        form->show();
        return *form;
    }

    static std::vector<std::int64_t> column(kv::store::Table &t, const char *field)
    {
        std::vector<std::int64_t> out;
        const int f = t.fieldIndex(field);
        for (int r = 0; r < t.recordCount(); ++r)
            out.push_back(t.integerAt(r, f).value_or(-1));
        return out;
    }

    static void click(kv::widgets::DBNavigator *n, NavButton b)
    {
        QTest::mouseClick(n->button(b), Qt::LeftButton);
    }

    static void type(QWidget *w, const QString &text)
    {
        // Any character, Cyrillic included, as a key press carrying its text.
        w->setFocus();
        for (const QChar c : text) {
            if (c == QLatin1Char('\n')) {
                QTest::keyClick(w, Qt::Key_Return);
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
    std::unique_ptr<TForm1> form;
};

const QString kEditing = QStringLiteral("режим РЕДАКТИРОВАНИЯ");

// --- questions ---------------------------------------------------------------------------

TEST_F(EditingTest, NewQuestionContinuesTheLastQuestionAndSurvivesCancel)
{
    struct Case
    {
        const char *name;
        std::vector<Row> rows;
        int npor, group;
    };
    const std::vector<Case> cases = {
        {"empty table", {}, 1, 1},
        {"last of group 3 numbered 17", {{40, 5, "a"}, {17, 3, "b"}}, 18, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        QFile::remove(QDir(dir.path()).filePath("Sys/Voprosy.DBF"));
        QFile::remove(QDir(dir.path()).filePath("Sys/Voprosy.DBT"));
        kv::base::createMissingBaseTables(dir.path());
        addQuestions(c.rows);
        TForm1 &f = open();
        click(f.DBNavigator1, NavButton::Insert);
        EXPECT_EQ(f.Table1.state(), kv::store::TableState::Edit);
        EXPECT_EQ(f.statusText(), kEditing);
        EXPECT_FALSE(f.DBMemo1->locked());
        EXPECT_FALSE(f.DBLookupComboBox1->locked());
        click(f.DBNavigator1, NavButton::Cancel);
        EXPECT_EQ(f.statusText(), "");
        EXPECT_TRUE(f.DBMemo1->locked());
        ASSERT_EQ(f.Table1.recordCount(), int(c.rows.size()) + 1);
        f.Table1.last();
        EXPECT_EQ(f.Table1.integerField("NPOR"), c.npor);
        EXPECT_EQ(f.Table1.integerField("NGRUPPY"), c.group);
        EXPECT_EQ(f.Table1.textField("VOPRMEMO"), "");
    }
}

TEST_F(EditingTest, DeletingRenumbersOnlyWhenTheOptionIsTicked)
{
    addQuestions(numbered(10));
    TForm1 &f = open();
    f.N5_PDel->trigger(); // no confirmation
    f.Table1.moveTo(4);
    click(f.DBNavigator1, NavButton::Delete);
    EXPECT_EQ(column(f.Table1, "NPOR"), (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(f.Table1.textField("VOPROS"), "Q6"); // the next question stays current
    EXPECT_EQ(f.Table1.textAt(4, f.Table1.fieldIndex("VOPROS")), "Q6");
    EXPECT_EQ(f.statusText(), "");
    EXPECT_TRUE(f.DBMemo1->locked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    f.N7_PerPriDel->trigger();
    f.Table1.moveTo(4);
    click(f.DBNavigator1, NavButton::Delete);
    EXPECT_EQ(column(f.Table1, "NPOR"), (std::vector<std::int64_t>{1, 2, 3, 4, 6, 7, 8, 9}));
    click(f.DBNavigator1, NavButton::Insert);
    EXPECT_EQ(f.Table1.integerField("NPOR"), 10);
}

TEST_F(EditingTest, DeletingTheOnlyQuestionWithRenumberingLeavesAnEmptyTable)
{
    addQuestions(numbered(1));
    TForm1 &f = open();
    click(f.DBNavigator1, NavButton::Delete); // scripted OK to "Delete record?"
    EXPECT_EQ(f.Table1.recordCount(), 0);
}

TEST_F(EditingTest, RenumberButtonGivesNaturalOrderNumbers)
{
    addQuestions({{5, 2, "a"}, {5, 1, "b"}, {9, 1, "c"}, {2, 3, "d"}});
    TForm1 &f = open();
    f.Table1.moveTo(2);
    QTest::mouseClick(f.DBNavigator1->button(NavButton::Edit), Qt::LeftButton);
    ASSERT_FALSE(f.DBMemo1->locked());
    QTest::mouseClick(f.Button5, Qt::LeftButton);
    // The walk's edits and posts end with the editors locked again.
    EXPECT_TRUE(f.DBMemo1->locked());
    EXPECT_TRUE(f.DBLookupComboBox1->locked());
    EXPECT_EQ(f.statusText(), "");
    EXPECT_EQ(column(f.Table1, "NPOR"), (std::vector<std::int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(column(f.Table1, "NGRUPPY"), (std::vector<std::int64_t>{2, 1, 1, 3}));
    EXPECT_EQ(f.Table1.textField("VOPROS"), "c");
    EXPECT_EQ(f.DBGrid1->model()->rowCount(), 4); // the list is attached again
}

TEST_F(EditingTest, AFailedRenumberingRestoresTheListAndCursorAndIsReported)
{
    // A questions table whose NPOR holds one digit: the walk fails at 10.
    const QDir sys(QDir(dir.path()).filePath("Sys"));
    for (const QString &name : sys.entryList({"voprosy.*"}, QDir::Files))
        ASSERT_TRUE(QFile::remove(sys.filePath(name)));
    std::vector<kv::dbf::FieldDef> fields = kv::base::questionFields();
    fields[0] = kv::dbf::numericField("NPOR", 1);
    kv::dbf::createTableIfMissing(kv::base::kQuestionsFile, fields);
    addQuestions(std::vector<Row>(12, Row{1, 1, "q"}));
    TForm1 &f = open();
    f.Table1.moveTo(3);
    QTest::mouseClick(f.Button5, Qt::LeftButton);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(f.Table1.isEditing());
    EXPECT_EQ(f.Table1.currentRow(), 3);
    EXPECT_EQ(f.DBGrid1->model()->rowCount(), 12);
    EXPECT_EQ(column(f.Table1, "NPOR"),
              (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 1, 1}));
}

TEST_F(EditingTest, RenumberingAnEmptyTableAddsNothing)
{
    TForm1 &f = open();
    QTest::mouseClick(f.Button5, Qt::LeftButton);
    EXPECT_EQ(f.Table1.recordCount(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EditingTest, SavingDerivesTheQuestionLineFromTheTypedText)
{
    struct Case
    {
        QString typed;
        std::string line;
    };
    const std::vector<Case> cases = {
        {QString(254, 'a'), std::string(254, 'a')},
        {QString(255, 'b'), std::string(251, 'b') + "..."},
        {QString(300, 'c'), std::string(251, 'c') + "..."},
        {QStringLiteral("Первая\nвторая"), kv::text::toCp1251(QStringLiteral("Первая вторая"))},
    };
    addQuestions(numbered(1));
    TForm1 &f = open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.left(20).toStdString());
        click(f.DBNavigator1, NavButton::Edit);
        f.DBMemo1->selectAll();
        type(f.DBMemo1, c.typed);
        click(f.DBNavigator1, NavButton::Post);
        EXPECT_FALSE(f.Table1.isEditing());
        EXPECT_TRUE(f.DBMemo1->locked());
        EXPECT_EQ(f.statusText(), "");
        f.Table1.refresh();
        EXPECT_EQ(f.Table1.textField("VOPROS"), c.line);
        QString memo = c.typed;
        memo.replace('\n', "\r\n");
        EXPECT_EQ(f.Table1.textField("VOPRMEMO"), kv::text::toCp1251(memo));
    }
}

TEST_F(EditingTest, RefreshStoresTheTextButKeepsTheOldLine)
{
    addQuestions(numbered(1));
    TForm1 &f = open();
    QTest::mouseDClick(f.DBGrid1->viewport(), Qt::LeftButton, {},
                       f.DBGrid1->visualRect(f.DBGrid1->model()->index(0, 2)).center());
    ASSERT_EQ(f.statusText(), kEditing);
    type(f.DBMemo1, "new text");
    click(f.DBNavigator1, NavButton::Refresh);
    EXPECT_TRUE(f.DBMemo1->locked());
    EXPECT_EQ(f.Table1.textField("VOPRMEMO"), "new text");
    EXPECT_EQ(f.Table1.textField("VOPROS"), "Q1");
}

TEST_F(EditingTest, CharactersTheCodePageCannotHoldAreNamedBeforeSaving)
{
    addQuestions(numbered(1));
    TForm1 &f = open();
    click(f.DBNavigator1, NavButton::Edit);
    type(f.DBMemo1, QStringLiteral("x\u03B1y"));

    MessageService::queueAnswer(MessageAnswer::Cancel);
    click(f.DBNavigator1, NavButton::Post);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "ВНИМАНИЕ");
    EXPECT_TRUE(MessageService::shown()[0].text.contains(QChar(0x03B1)));
    EXPECT_TRUE(f.Table1.isEditing());
    EXPECT_FALSE(f.DBMemo1->locked());
    EXPECT_EQ(f.DBMemo1->toPlainText(), QStringLiteral("x\u03B1y")); // still there to fix

    click(f.DBNavigator1, NavButton::Post); // scripted OK
    EXPECT_FALSE(f.Table1.isEditing());
    EXPECT_EQ(f.Table1.textField("VOPRMEMO"), "x?y");
    EXPECT_EQ(f.Table1.textField("VOPROS"), "x?y");
}

TEST_F(EditingTest, ClosingWithATypedEditAsksWhetherToSave)
{
    for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        form.reset();
        MessageService::clearShown();
        addQuestions({});
        TForm1 &f = open();
        f.Table1.last();
        click(f.DBNavigator1, NavButton::Edit);
        f.DBMemo1->selectAll();
        type(f.DBMemo1, answer == MessageAnswer::Ok ? "kept" : "dropped");
        MessageService::queueAnswer(answer);
        form.reset();
        ASSERT_EQ(MessageService::shown().size(), 1);
        EXPECT_EQ(MessageService::shown()[0].buttons, MessageButtons::OkCancel);

        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        t.last();
        EXPECT_EQ(t.textField("VOPRMEMO"), answer == MessageAnswer::Ok ? "kept" : "");
        EXPECT_EQ(t.textField("VOPROS"), answer == MessageAnswer::Ok ? "kept" : "");
    }
}

TEST_F(EditingTest, ClosingWithoutTypingAsksNothing)
{
    addQuestions(numbered(1));
    TForm1 &f = open();
    click(f.DBNavigator1, NavButton::Insert);
    form.reset();
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

// --- groups ------------------------------------------------------------------------------

TEST_F(EditingTest, NewGroupContinuesTheLastGroupInNaturalOrder)
{
    addRecords(kv::base::kGroupsFile, {{0, 20, "big"}, {0, 7, "last"}}, true);
    TForm1 &f = open();
    f.PageControl1->setCurrentWidget(f.TabSheet2);
    click(f.DBNavigator2, NavButton::Insert);
    EXPECT_EQ(f.statusText(), kEditing);
    EXPECT_FALSE(f.DBEdit1->locked());
    EXPECT_EQ(f.DBEdit1->text(), "8");
    click(f.DBNavigator2, NavButton::Cancel);
    EXPECT_TRUE(f.DBMemo2->locked());
    ASSERT_EQ(f.Table2.recordCount(), 3);
    f.Table2.last();
    EXPECT_EQ(f.Table2.integerField("NGRUPPY"), 8);
    EXPECT_EQ(f.Table2.textField("NAMEGRUPPA"), "");
}

TEST_F(EditingTest, DoubleClickOnAnEmptyGroupListStartsGroupOne)
{
    TForm1 &f = open();
    f.PageControl1->setCurrentWidget(f.TabSheet2);
    QTest::mouseDClick(f.DBGrid2->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(f.Table2.recordCount(), 1);
    EXPECT_EQ(f.Table2.integerField("NGRUPPY"), 1);
    EXPECT_TRUE(f.Table2.isEditing());
    EXPECT_EQ(f.statusText(), kEditing);
    EXPECT_FALSE(f.DBMemo2->locked());
}

TEST_F(EditingTest, GroupNameIsStoredOnOneLine)
{
    struct Case
    {
        QString typed;
        QString stored;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("Алгебра\nГеометрия"), QStringLiteral("Алгебра¶Геометрия")},
        {QStringLiteral("Уже¶с меткой\nи строкой"), QStringLiteral("Уже¶с меткой¶и строкой")},
        {QString(300, 'n'), QString(251, 'n') + "..."},
    };
    addRecords(kv::base::kGroupsFile, {{0, 1, "g"}}, true);
    TForm1 &f = open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.left(20).toStdString());
        click(f.DBNavigator2, NavButton::Edit);
        f.DBMemo2->selectAll();
        type(f.DBMemo2, c.typed);
        click(f.DBNavigator2, NavButton::Post);
        EXPECT_FALSE(f.Table2.isEditing());
        f.Table2.refresh();
        EXPECT_EQ(kv::text::fromCp1251(f.Table2.textField("NAMEGRUPPA")), c.stored);
        // Shown again and saved unchanged, the name stays the same.
        click(f.DBNavigator2, NavButton::Edit);
        click(f.DBNavigator2, NavButton::Post);
        EXPECT_EQ(kv::text::fromCp1251(f.Table2.textField("NAMEGRUPPA")), c.stored);
    }
}

TEST_F(EditingTest, GroupNumberFieldTakesDigitsAndRefusesANonNumber)
{
    addRecords(kv::base::kGroupsFile, {{0, 1, "g"}}, true);
    TForm1 &f = open();
    click(f.DBNavigator2, NavButton::Edit);
    f.DBEdit1->selectAll();
    type(f.DBEdit1, "4x56");
    EXPECT_EQ(f.DBEdit1->text(), "456");
    type(f.DBEdit1, "7"); // a fourth digit does not fit
    EXPECT_EQ(f.DBEdit1->text(), "456");
    click(f.DBNavigator2, NavButton::Post);
    EXPECT_EQ(f.Table2.integerField("NGRUPPY"), 456);

    click(f.DBNavigator2, NavButton::Edit);
    f.DBEdit1->selectAll();
    QApplication::clipboard()->setText("1a");
    QTest::keyClick(f.DBEdit1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(f.DBEdit1->text(), "1a");
    click(f.DBNavigator2, NavButton::Post);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_TRUE(MessageService::shown()[0].text.contains("1a"));
    EXPECT_TRUE(f.Table2.isEditing());
    EXPECT_FALSE(f.DBEdit1->locked());
    EXPECT_EQ(f.statusText(), kEditing);
    f.Table2.cancel();
    f.Table2.refresh();
    EXPECT_EQ(f.Table2.integerField("NGRUPPY"), 456);
}

// --- browsing views --------------------------------------------------------------------

TEST_F(EditingTest, GroupViewFieldFiltersAndCounts)
{
    addQuestions({{1, 1, "a"}, {2, 12, "b"}, {3, 123, "c"}, {4, 234, "d"}, {5, 234, "e"}});
    TForm1 &f = open();
    f.PageControl1->setCurrentWidget(f.TabSheet4);
    EXPECT_EQ(f.Table4.recordCount(), 5); // not filtered until the field changes

    f.Edit1->clear();
    type(f.Edit1, "1234");
    EXPECT_EQ(f.Edit1->text(), "234");
    EXPECT_EQ(f.Table4.filter(), "NGRUPPY=234");
    EXPECT_EQ(f.Table4.recordCount(), 2);
    EXPECT_EQ(f.Label4->text(), "Всего вопросов показано - 2");

    f.Edit1->selectAll();
    QApplication::clipboard()->setText("12ab3");
    QTest::keyClick(f.Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Edit1->text(), "123");
    EXPECT_EQ(f.Table4.recordCount(), 1);

    type(f.Edit1, "9"); // 1239 -> 239: no questions
    EXPECT_EQ(f.Edit1->text(), "239");
    EXPECT_EQ(f.Table4.recordCount(), 0);
    EXPECT_EQ(f.Label4->text(), "Всего вопросов показано - 0");

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    EXPECT_EQ(f.Edit1->text(), "");
    EXPECT_FALSE(f.Table4.filtered());
    EXPECT_EQ(f.Label4->text(), "Всего вопросов показано - 5");

    // Emptied without a key: the filter goes, the label stays.
    type(f.Edit1, "12");
    f.Edit1->clear();
    EXPECT_EQ(f.Table4.recordCount(), 5);
    EXPECT_EQ(f.Label4->text(), "Всего вопросов показано - 1");
}

TEST_F(EditingTest, ShowAllAndTheStepControlBounds)
{
    addQuestions({{1, 1, "a"}, {2, 2, "b"}});
    TForm1 &f = open();
    ASSERT_NE(f.UpDown1, nullptr);
    f.Edit1->setText("2");
    ASSERT_EQ(f.Table4.recordCount(), 1);

    QTest::mouseClick(f.Button2, Qt::LeftButton);
    EXPECT_EQ(f.Edit1->text(), "");
    EXPECT_FALSE(f.Table4.filtered());
    EXPECT_EQ(f.Label4->text(), "Всего вопросов показано - 2");
    EXPECT_EQ(f.UpDown1->position(), 0);
    QTest::mouseClick(f.UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.Edit1->text(), "1");
    EXPECT_EQ(f.Table4.recordCount(), 1);
    QTest::mouseClick(f.UpDown1->downButton(), Qt::LeftButton);
    EXPECT_EQ(f.Edit1->text(), "1"); // the lower bound is 1 again

    f.Edit1->setText("999");
    QTest::mouseClick(f.UpDown1->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.Edit1->text(), "999");
    QTest::mouseClick(f.UpDown1->downButton(), Qt::LeftButton);
    EXPECT_EQ(f.Edit1->text(), "998");
}

TEST_F(EditingTest, TicketViewFiltersOnTheTicketNumber)
{
    {
        kv::store::Table t;
        t.setFileName(kv::base::kTicketsFile);
        t.open();
        for (int b : {1, 1, 2}) {
            t.append();
            t.setIntegerField("NBILETA", b);
            t.post();
        }
    }
    TForm1 &f = open();
    f.PageControl1->setCurrentWidget(f.TabSheet6);
    EXPECT_EQ(f.Table3.recordCount(), 3);
    QTest::mouseClick(f.UpDown2->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.Edit2->text(), "2");
    EXPECT_EQ(f.Table3.filter(), "NBILETA=2");
    EXPECT_EQ(f.Table3.recordCount(), 1);
    f.Edit2->setText("0");
    EXPECT_EQ(f.Table3.recordCount(), 0);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_EQ(f.Edit2->text(), "");
    EXPECT_EQ(f.Table3.recordCount(), 3);
    EXPECT_FALSE(f.Table3.filtered()); // only the flag goes; the text stays
    EXPECT_EQ(f.Table3.filter(), "NBILETA=1");
}

} // namespace
