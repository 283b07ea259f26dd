// The data-aware widgets over real table files in a temporary folder, driven
// as a user drives them.
#include "platform/dbf/DbfTypes.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/EditorColour.h"
#include "widgets/UiHooks.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using kv::store::Table;
using namespace kv::widgets;

namespace {

std::string cp(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

// Types text as key presses, one character each (Cyrillic included).
void typeText(QWidget *widget, const QString &text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Questions and groups tables with a few records, and answers scripted for the
// widgets' questions.
class WidgetsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        questionsFile = dir.filePath("Voprosy.DBF").toStdString();
        groupsFile = dir.filePath("Gruppy.dbf").toStdString();
        using namespace kv::dbf;
        NewTableFile(questionsFile, "Voprosy.DBF",
                     {numericField("NPOR", 11), numericField("NGRUPPY", 11),
                      characterField("VOPROS", 254), memoField("VOPRMEMO")})
            .commit();
        NewTableFile(groupsFile, "Gruppy.dbf",
                     {numericField("NGRUPPY", 11), characterField("NAMEGRUPPA", 254)})
            .commit();
        setUiHooks({[this](const QString &title, const QString &text) {
                        asked.append(title + "|" + text);
                        return answer;
                    },
                    [this](const QString &text) { errors.append(text); }});
    }
    void TearDown() override { setUiHooks({}); }

    void openQuestions(Table &t, int count)
    {
        t.setFileName(questionsFile);
        t.open();
        for (int i = 1; i <= count; ++i) {
            t.append();
            t.setIntegerField("NPOR", i);
            t.setIntegerField("NGRUPPY", (i - 1) % 3 + 1);
            t.setTextField("VOPROS", cp("Вопрос ") + std::to_string(i));
            t.setTextField("VOPRMEMO", cp("Вопрос ") + std::to_string(i) + "\r\n" + cp("строка"));
            t.post();
        }
        t.first();
    }
    void openGroups(Table &t)
    {
        t.setFileName(groupsFile);
        t.open();
        const char *names[] = {"Алгебра", "Геометрия", "Физика"};
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.setIntegerField("NGRUPPY", i + 1);
            t.setTextField("NAMEGRUPPA", cp(names[i]));
            t.post();
        }
        t.first();
    }

    QTemporaryDir dir;
    std::string questionsFile, groupsFile;
    QStringList asked, errors;
    bool answer = true;
};

std::vector<GridColumn> questionColumns()
{
    return {{"NPOR", "№п/п", FieldKind::Integer},
            {"NGRUPPY", "№ гр.", FieldKind::Integer},
            {"VOPROS", "Текст вопроса", FieldKind::Text}};
}

TEST_F(WidgetsTest, GridModelPassesModelTesterThroughEditsAndResets)
{
    Table t;
    openQuestions(t, 5);
    TableModel model;
    model.setColumns(questionColumns());
    model.setTable(&t);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Текст вопроса");
    EXPECT_EQ(model.index(1, 0).data().toString(), "2");
    EXPECT_EQ(model.index(1, 2).data().toString(), "Вопрос 2");

    t.moveTo(2);
    t.edit();
    t.setTextField("VOPROS", cp("Изменён"));
    t.post();
    EXPECT_EQ(model.index(2, 2).data().toString(), "Изменён");

    t.append();
    t.post();
    EXPECT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.index(5, 0).data(), QVariant()); // null number shows empty

    t.moveTo(0);
    t.remove();
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.index(0, 0).data().toString(), "2");

    t.setFilter("NGRUPPY=2");
    t.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 2); // questions 2 and 5
    t.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(WidgetsTest, GridReadsOnlyThePaintedRecordsOfALargeTable)
{
    Table t;
    openQuestions(t, 3000);
    DBGrid grid;
    grid.setColumns(questionColumns());
    grid.setTable(&t);
    grid.resize(600, 400);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.grab(); // paint
    EXPECT_EQ(grid.model()->rowCount(), 3000);
    EXPECT_GT(grid.tableModel()->recordsRead(), 0);
    EXPECT_LT(grid.tableModel()->recordsRead(), 100);
}

TEST_F(WidgetsTest, GridSelectionFollowsTheViewAndClickMovesIt)
{
    Table t;
    openQuestions(t, 10);
    DBGrid grid;
    grid.setColumns(questionColumns());
    grid.setTable(&t);
    grid.resize(500, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    t.moveTo(3);
    EXPECT_EQ(grid.currentIndex().row(), 3);
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1); // the whole row

    const QRect cell = grid.visualRect(grid.model()->index(6, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(t.currentRow(), 6);
    EXPECT_EQ(t.integerField("NPOR"), 7);

    t.last();
    EXPECT_EQ(grid.currentIndex().row(), 9);
    t.refresh();
    EXPECT_EQ(grid.currentIndex().row(), t.currentRow());
}

TEST_F(WidgetsTest, NavigatorHintsAndVisibleButtons)
{
    DBNavigator nav;
    const std::vector<std::pair<NavButton, const char *>> hints = {
        {NavButton::First, "Перейти на первую запись"},
        {NavButton::Prior, "Перейти на предыдющую запись"},
        {NavButton::Next, "Перейти на следующую запись"},
        {NavButton::Last, "Перейти на последнюю запись"},
        {NavButton::Insert, "Добавить запись"},
        {NavButton::Delete, "УДАЛИТЬ запись"},
        {NavButton::Edit, "Редактировать запись"},
        {NavButton::Post, "Сохранить изменения"},
        {NavButton::Cancel, "Отменить изменения"},
        {NavButton::Refresh, "Обновить данные"},
    };
    for (const auto &[button, hint] : hints)
        EXPECT_EQ(nav.button(button)->toolTip(), QString::fromUtf8(hint));

    nav.setVisibleButtons(
        {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last, NavButton::Refresh});
    EXPECT_TRUE(nav.isButtonVisible(NavButton::Refresh));
    EXPECT_FALSE(nav.isButtonVisible(NavButton::Insert));
    EXPECT_FALSE(nav.isButtonVisible(NavButton::Delete));
}

TEST_F(WidgetsTest, NavigatorButtonsFollowTheViewState)
{
    Table t;
    DBNavigator nav;
    nav.setTable(&t);
    EXPECT_FALSE(nav.button(NavButton::Refresh)->isEnabled()); // closed
    EXPECT_FALSE(nav.button(NavButton::Insert)->isEnabled());

    openQuestions(t, 3);
    const auto enabled = [&](NavButton b) { return nav.button(b)->isEnabled(); };
    EXPECT_FALSE(enabled(NavButton::First));
    EXPECT_FALSE(enabled(NavButton::Prior));
    EXPECT_TRUE(enabled(NavButton::Next));
    EXPECT_TRUE(enabled(NavButton::Edit));
    EXPECT_FALSE(enabled(NavButton::Post));

    QTest::mouseClick(nav.button(NavButton::Last), Qt::LeftButton);
    EXPECT_EQ(t.currentRow(), 2);
    EXPECT_TRUE(enabled(NavButton::Prior));
    EXPECT_FALSE(enabled(NavButton::Next));

    QTest::mouseClick(nav.button(NavButton::Edit), Qt::LeftButton);
    EXPECT_TRUE(t.isEditing());
    EXPECT_TRUE(enabled(NavButton::Post));
    EXPECT_TRUE(enabled(NavButton::Cancel));
    EXPECT_FALSE(enabled(NavButton::Edit));
    QTest::mouseClick(nav.button(NavButton::Cancel), Qt::LeftButton);
    EXPECT_FALSE(t.isEditing());

    t.close();
    t.setReadOnly(true);
    t.open();
    EXPECT_FALSE(enabled(NavButton::Insert));
    EXPECT_FALSE(enabled(NavButton::Delete));
    EXPECT_TRUE(enabled(NavButton::Refresh));
}

TEST_F(WidgetsTest, NavigatorDeleteAsksUnlessConfirmationIsOff)
{
    Table t;
    openQuestions(t, 3);
    DBNavigator nav;
    nav.setTable(&t);
    std::vector<NavButton> before;
    nav.beforeAction = [&](NavButton b) { before.push_back(b); };

    answer = false; // Cancel keeps the record
    QTest::mouseClick(nav.button(NavButton::Delete), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].section('|', 1), "Delete record?");
    EXPECT_EQ(t.recordCount(), 3);
    ASSERT_EQ(before.size(), 1u); // the window's step runs before the question
    EXPECT_EQ(before[0], NavButton::Delete);

    answer = true;
    QTest::mouseClick(nav.button(NavButton::Delete), Qt::LeftButton);
    EXPECT_EQ(t.recordCount(), 2);

    nav.setConfirmDelete(false);
    QTest::mouseClick(nav.button(NavButton::Delete), Qt::LeftButton);
    EXPECT_EQ(asked.size(), 2); // no further question
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(WidgetsTest, NavigatorStepThatFailsStopsTheCommandAndIsShown)
{
    Table t;
    openQuestions(t, 2);
    DBNavigator nav;
    nav.setTable(&t);
    nav.beforeAction = [](NavButton) { throw std::runtime_error("\"x\" не является числом"); };
    QTest::mouseClick(nav.button(NavButton::Next), Qt::LeftButton);
    EXPECT_EQ(t.currentRow(), 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "\"x\" не является числом");

    nav.beforeAction = nullptr;
    t.close();
    nav.clickButton(NavButton::Refresh); // a command on a closed view: the store's error
    EXPECT_EQ(errors.size(), 2);
}

TEST_F(WidgetsTest, MemoShowsTheRecordAndTypedTextGoesToTheEditBuffer)
{
    Table t;
    openQuestions(t, 3);
    DBMemo memo;
    memo.setField(&t, "VOPRMEMO");
    EXPECT_EQ(memo.toPlainText(), "Вопрос 1\nстрока");
    t.next();
    EXPECT_EQ(memo.toPlainText(), "Вопрос 2\nстрока");

    memo.setLocked(true);
    EXPECT_EQ(memo.palette().color(QPalette::Base), lockedEditorColour());
    memo.show();
    memo.setFocus();
    QTest::keyClicks(&memo, "abc");
    EXPECT_EQ(memo.toPlainText(), "Вопрос 2\nстрока"); // locked: nothing typed
    EXPECT_FALSE(t.isEditing());

    memo.setLocked(false);
    EXPECT_EQ(memo.palette().color(QPalette::Base), editableEditorColour());
    QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_Return);
    typeText(&memo, "ещё");
    EXPECT_TRUE(t.isEditing()); // typing starts the edit
    EXPECT_EQ(kv::text::fromCp1251(t.textField("VOPRMEMO")), "Вопрос 2\r\nстрока\r\nещё");
    t.post();
    t.first();
    t.next();
    EXPECT_EQ(memo.toPlainText(), "Вопрос 2\nстрока\nещё");
}

TEST_F(WidgetsTest, LookupShowsTheGroupNameAndChoosingSetsTheNumber)
{
    Table questions, groups;
    openQuestions(questions, 4);
    openGroups(groups);
    DBLookupComboBox box;
    box.setField(&questions, "NGRUPPY");
    box.setListSource(&groups, "NGRUPPY", "NAMEGRUPPA");
    EXPECT_EQ(box.shownName(), "Алгебра");
    questions.moveTo(1);
    EXPECT_EQ(box.shownName(), "Геометрия");

    questions.edit();
    questions.setIntegerField("NGRUPPY", 9); // no such group
    EXPECT_EQ(box.shownName(), "");
    questions.cancel();

    box.setLocked(false);
    box.show();
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down); // a user's choice of the next name
    EXPECT_EQ(box.shownName(), "Физика");
    EXPECT_TRUE(questions.isEditing());
    EXPECT_EQ(questions.integerField("NGRUPPY"), 3);
    questions.post();

    groups.moveTo(2);
    groups.edit();
    groups.setTextField("NAMEGRUPPA", cp("Химия"));
    groups.post();
    EXPECT_EQ(box.shownName(), "Химия"); // the list follows the groups table

    box.setLocked(true);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(questions.integerField("NGRUPPY"), 3);
}

TEST_F(WidgetsTest, EditPutsTypedNumbersIntoTheRecord)
{
    Table groups;
    openGroups(groups);
    DBEdit edit;
    edit.setField(&groups, "NGRUPPY", FieldKind::Integer);
    edit.setMaxLength(3);
    DigitKeyFilter::install(&edit);
    EXPECT_EQ(edit.text(), "1");
    edit.show();
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, "4x567");
    EXPECT_EQ(edit.text(), "456");
    EXPECT_EQ(groups.integerField("NGRUPPY"), 456);
    groups.post();
    groups.next();
    EXPECT_EQ(edit.text(), "2");
}

TEST(DigitKeyFilterTest, TypedCharactersAreFilteredPastedTextIsNot)
{
    QLineEdit field;
    DigitKeyFilter::install(&field);
    field.show();
    field.setFocus();
    typeText(&field, "1a2 б3.");
    EXPECT_EQ(field.text(), "123");
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), "12");
    QTest::keyClick(&field, Qt::Key_Left); // keys that type nothing still work
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(field.text(), "1");

    QApplication::clipboard()->setText("x9y");
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "1x9y");
}

} // namespace
