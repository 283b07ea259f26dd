// The question and group-name import windows and the group chooser, driven
// as a user drives them in a temporary working folder with the base tables.
#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "gui/app/AppWindows.h"
#include "gui/app/MainWindow.h"
#include "platform/text/Cp1251.h"
#include "widgets/DBGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace kv::gui;

namespace {

struct QuestionRow
{
    std::int64_t npor = 0, group = 0;
    std::string vopros, voprmemo;
};

struct GroupRow
{
    std::int64_t group = 0;
    std::string name;
};

std::string cp(const char *utf8)
{
    return kv::text::toCp1251(QString::fromUtf8(utf8));
}

class ImportWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        freshFolder(QStringLiteral("work"));
    }

    // Makes a new working folder with empty tables and a Base folder current
    // (closing the windows first).
    void freshFolder(const QString &name)
    {
        windows.reset();
        ASSERT_TRUE(QDir(dir.path()).mkpath(name + QStringLiteral("/Base")));
        QDir::setCurrent(dir.filePath(name));
        kv::base::createMissingBaseTables(QDir::currentPath());
    }
    static QString here(const QString &relative) { return QDir::current().filePath(relative); }
    void TearDown() override
    {
        windows.reset();
        QDir::setCurrent(oldCurrent);
    }

    void addQuestion(std::int64_t npor, std::int64_t group, const std::string &text)
    {
        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        t.append();
        t.setIntegerField("NPOR", npor);
        t.setIntegerField("NGRUPPY", group);
        t.setTextField("VOPROS", text);
        t.post();
    }
    void addGroup(std::int64_t group, const std::string &name)
    {
        kv::store::Table t;
        t.setFileName(kv::base::kGroupsFile);
        t.open();
        t.append();
        t.setIntegerField("NGRUPPY", group);
        t.setTextField("NAMEGRUPPA", name);
        t.post();
    }

    static std::vector<QuestionRow> questions()
    {
        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        std::vector<QuestionRow> rows;
        for (t.first(); !t.eof(); t.next())
            rows.push_back({t.integerField("NPOR").value_or(-1),
                            t.integerField("NGRUPPY").value_or(-1), t.textField("VOPROS"),
                            t.textField("VOPRMEMO")});
        return rows;
    }
    static std::vector<GroupRow> groups()
    {
        kv::store::Table t;
        t.setFileName(kv::base::kGroupsFile);
        t.open();
        std::vector<GroupRow> rows;
        for (t.first(); !t.eof(); t.next())
            rows.push_back({t.integerField("NGRUPPY").value_or(-1), t.textField("NAMEGRUPPA")});
        return rows;
    }

    // Starts the program's windows (after the test put its records in place).
    void start()
    {
        windows = AppWindows::create();
        ASSERT_TRUE(MessageService::shown().isEmpty());
    }
    TForm1 &form() { return *windows->Form1; }
    TForm2 &form2() { return *windows->Form2; }
    TForm4 &form4() { return *windows->Form4; }

    // Types text as from the keyboard (letters outside ASCII included).
    static void typeText(QWidget *widget, const QString &text)
    {
        for (QChar ch : text) {
            if (ch.unicode() < 128)
                QTest::keyClick(widget, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }

    // Types the lines into the editor, Enter between them.
    static void typeLines(QPlainTextEdit *memo, const QStringList &lines)
    {
        memo->setFocus();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(memo, Qt::Key_Return);
            typeText(memo, lines[i]);
        }
    }

    // Runs `inside` once the modal window opened by `open` is showing; the
    // window is closed afterwards if `inside` left it open.
    static void whileModal(QDialog *window, const std::function<void()> &open,
                           const std::function<void()> &inside)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = QApplication::activeModalWidget() == window;
            if (ran)
                inside();
            if (window->isVisible())
                window->reject();
        });
        open();
        EXPECT_TRUE(ran) << "the window was not shown modally";
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
    std::unique_ptr<AppWindows> windows;
};

// --- question import ------------------------------------------------------------------

TEST_F(ImportWindowsTest, QuestionWindowLayout)
{
    start();
    TForm2 &w = form2();
    EXPECT_EQ(w.windowTitle(), "Загрузка вопросов в базу");
    EXPECT_GE(w.width(), 700);
    EXPECT_GE(w.height(), 500);
    EXPECT_EQ(w.N1_Open->text(), "&Открыть файл");
    EXPECT_EQ(w.N2_Save->text(), "&Сохранить файл");
    EXPECT_EQ(w.N3_Zagr->text(), "&Загрузить в базу");
    EXPECT_EQ(w.GroupBox1->title(), " Параметры загрузки в базу ");
    EXPECT_EQ(w.CheckBox1->text(), "Присвоить группу №");
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_FALSE(w.Edit1->isEnabled());
    EXPECT_TRUE(w.Edit1->text().isEmpty());
    EXPECT_FALSE(w.BitBtn1->isEnabled());
    EXPECT_EQ(w.Label1->text(), "Текст вопросов. Каждая строка является текстом одного вопроса. "
                                "Если строка пуста, то группа +1");
    EXPECT_TRUE(w.Label1->font().bold());
    EXPECT_EQ(w.Memo1->font().family(), "Times New Roman");
    EXPECT_EQ(w.Memo1->font().pixelSize(), 20);
    EXPECT_EQ(w.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(w.Memo1->tabChangesFocus());
    EXPECT_TRUE(w.Memo1->toPlainText().isEmpty());
}

// The last question has NPOR 10 and group 3; the list is Q1, Q2, empty, Q3,
// two empty lines, Q4 — imported from the menu of the main window.
TEST_F(ImportWindowsTest, QuestionWorkedExampleWithAndWithoutAssignedGroup)
{
    struct Case
    {
        bool assign;
        std::vector<std::int64_t> groups;
        QString edit1After;
    };
    for (const Case &c :
         {Case{false, {3, 3, 4, 6}, QString()}, Case{true, {7, 7, 8, 10}, QStringLiteral("10")}}) {
        SCOPED_TRACE(c.assign);
        freshFolder(c.assign ? QStringLiteral("assigned") : QStringLiteral("counted"));
        addQuestion(9, 2, "old 1");
        addQuestion(10, 3, "old 2");
        start();
        TForm2 &w = form2();
        form().PageControl1->setCurrentWidget(form().TabSheet5);
        whileModal(
            &w, [&] { form().N2_LoadB->trigger(); },
            [&] {
                typeLines(w.Memo1, {"Q1", "Q2", "", "Q3", "", "", "Q4"});
                if (c.assign) {
                    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {},
                                      QPoint(5, w.CheckBox1->height() / 2));
                    w.Edit1->selectAll();
                    QTest::keyClicks(w.Edit1, "7");
                }
                w.N3_Zagr->trigger();
            });
        EXPECT_TRUE(MessageService::shown().isEmpty());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(form().PageControl1->currentWidget(), form().TabSheet1);
        EXPECT_EQ(w.Edit1->text(), c.edit1After);
        const auto rows = questions();
        ASSERT_EQ(rows.size(), 6u);
        const char *texts[] = {"Q1", "Q2", "Q3", "Q4"};
        for (int i = 0; i < 4; ++i) {
            const QuestionRow &r = rows[std::size_t(i) + 2];
            EXPECT_EQ(r.npor, 11 + i);
            EXPECT_EQ(r.group, c.groups[std::size_t(i)]);
            EXPECT_EQ(r.vopros, texts[i]);
            EXPECT_EQ(r.voprmemo, texts[i]);
        }
        EXPECT_EQ(form().Table1.recordCount(), 6);
        EXPECT_FALSE(form().Table1.controlsDisabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(ImportWindowsTest, QuestionLinesStoredUncutUnlessTooLong)
{
    start();
    TForm2 &w = form2();
    w.show();
    const QString longLine = QString(300, QLatin1Char('x'));
    const QString exact = QString(254, QLatin1Char('y'));
    // A leading empty line raises the group of an empty base from 1 to 2; a
    // line of blanks and a tab counts as empty.
    w.Memo1->setPlainText(QStringLiteral("\n   leading blanks\n") + longLine + "\n" + exact +
                          QStringLiteral("\n \t \nодин¶два"));
    w.N3_Zagr->trigger();
    const auto rows = questions();
    ASSERT_EQ(rows.size(), 4u);
    const std::string cut = std::string(251, 'x') + "...";
    const std::vector<QuestionRow> expected = {
        {1, 2, "   leading blanks", "   leading blanks"},
        {2, 2, cut, cut},
        {3, 2, std::string(254, 'y'), std::string(254, 'y')},
        {4, 3, cp("один¶два"), cp("один¶два")},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].npor, expected[i].npor);
        EXPECT_EQ(rows[i].group, expected[i].group);
        EXPECT_EQ(rows[i].vopros, expected[i].vopros);
        EXPECT_EQ(rows[i].voprmemo, expected[i].voprmemo);
    }
    // The window keeps its text for the next opening.
    EXPECT_TRUE(w.Memo1->toPlainText().startsWith("\n   leading"));
}

TEST_F(ImportWindowsTest, EmptyListImportsNothingAndShowsTheTab)
{
    addQuestion(1, 1, "old");
    start();
    form().PageControl1->setCurrentWidget(form().TabSheet4);
    form2().show();
    form2().N3_Zagr->trigger();
    EXPECT_FALSE(form2().isVisible());
    EXPECT_EQ(form().PageControl1->currentWidget(), form().TabSheet1);
    EXPECT_EQ(questions().size(), 1u);

    form4().show();
    form4().N3_Zagr->trigger();
    EXPECT_FALSE(form4().isVisible());
    EXPECT_EQ(form().PageControl1->currentWidget(), form().TabSheet2);
    EXPECT_TRUE(groups().empty());
}

TEST_F(ImportWindowsTest, GroupFieldTakesDigitsOnlyAndFollowsTheBox)
{
    start();
    TForm2 &w = form2();
    w.show();
    const QPoint box(5, w.CheckBox1->height() / 2);
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, box);
    EXPECT_TRUE(w.Edit1->isEnabled());
    EXPECT_TRUE(w.BitBtn1->isEnabled());
    EXPECT_EQ(w.Edit1->text(), "1");

    w.Edit1->setFocus();
    w.Edit1->end(false);
    typeText(w.Edit1, QStringLiteral("2a"));
    typeText(w.Edit1, QStringLiteral("б5"));
    EXPECT_EQ(w.Edit1->text(), "125");
    QTest::keyClick(w.Edit1, Qt::Key_Backspace);
    EXPECT_EQ(w.Edit1->text(), "12");

    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, box);
    EXPECT_FALSE(w.Edit1->isEnabled());
    EXPECT_FALSE(w.BitBtn1->isEnabled());
    EXPECT_EQ(w.Edit1->text(), "12");
    // Ticking again keeps a number that is there.
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, box);
    EXPECT_EQ(w.Edit1->text(), "12");

    // Emptied by the user: the import starts at group 1 and shows it.
    w.Edit1->clear();
    w.Memo1->setPlainText("A\n\nB");
    w.N3_Zagr->trigger();
    const auto rows = questions();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].group, 1);
    EXPECT_EQ(rows[1].group, 2);
    EXPECT_EQ(w.Edit1->text(), "2");
    // The box and field stay as they were for the next opening.
    EXPECT_TRUE(w.CheckBox1->isChecked());
    EXPECT_TRUE(w.Edit1->isEnabled());
}

// --- failures --------------------------------------------------------------------------

TEST_F(ImportWindowsTest, PastedNonNumberInGroupFieldStopsBeforeAnyRecord)
{
    addQuestion(1, 1, "old");
    start();
    TForm2 &w = form2();
    w.show();
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, QPoint(5, w.CheckBox1->height() / 2));
    w.Edit1->setText("12ab"); // pasted text is not filtered
    w.Memo1->setPlainText("A\nB");
    w.N3_Zagr->trigger();
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_TRUE(MessageService::shown()[0].text.contains("12ab"));
    EXPECT_EQ(questions().size(), 1u);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form().Table1.controlsDisabled());
}

// A failing line in the middle: the earlier lines stay, the record of the
// failing line is not kept even when the view's insert steps stored it at
// once, the window stays open and the cursor and the list are back. The view
// here stores a new record on insert as the editing window's steps do.
TEST_F(ImportWindowsTest, FailureMidwayKeepsEarlierLinesOnlyAndRestoresTheWindow)
{
    for (int g = 1; g <= 2; ++g)
        addGroup(g, "G");
    addGroup(99999999999, "widest"); // the next number does not fit the field
    start();
    bool deleteStepRan = false;
    for (kv::store::Table *t : {&form().Table1, &form().Table2}) {
        t->afterInsert = [](kv::store::Table &table) {
            table.post();
            table.edit();
        };
        t->afterDelete = [&](kv::store::Table &) { deleteStepRan = true; };
    }
    const auto checkRestored = [&](QDialog &w, kv::store::Table &table) {
        ASSERT_EQ(MessageService::shown().size(), 1);
        EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
        MessageService::clearShown();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(table.controlsDisabled());
        EXPECT_FALSE(table.isEditing());
        EXPECT_FALSE(deleteStepRan);
    };

    // The group number outgrows a whole number after the first question.
    TForm2 &w = form2();
    w.show();
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, QPoint(5, w.CheckBox1->height() / 2));
    w.Edit1->setText("2147483647");
    w.Memo1->setPlainText("A\n\nB\nC");
    w.N3_Zagr->trigger();
    checkRestored(w, form().Table1);
    const auto rows = questions();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].vopros, "A");
    EXPECT_EQ(rows[0].group, 2147483647);
    EXPECT_EQ(form().Table1.recordCount(), 1);
    EXPECT_EQ(form().DBGrid1->model()->rowCount(), 1);

    TForm4 &w4 = form4();
    w4.show();
    w4.Memo1->setPlainText("X");
    w4.N3_Zagr->trigger();
    checkRestored(w4, form().Table2);
    EXPECT_EQ(groups().size(), 3u);
    EXPECT_EQ(form().DBGrid2->model()->rowCount(), 3);
}

TEST_F(ImportWindowsTest, UnconvertibleCharactersAreNamedBeforeTheImport)
{
    start();
    TForm2 &w = form2();
    w.show();
    w.Memo1->setPlainText(QStringLiteral("Вопрос ✓ один\nВопрос два €"));

    MessageService::queueAnswer(MessageAnswer::Cancel);
    w.N3_Zagr->trigger();
    ASSERT_EQ(MessageService::shown().size(), 1);
    const ShownMessage m = MessageService::shown()[0];
    EXPECT_EQ(m.buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(m.text.contains(QStringLiteral("✓")));
    EXPECT_FALSE(m.text.contains(QStringLiteral("€"))); // Windows-1251 holds the euro sign
    EXPECT_TRUE(questions().empty());
    EXPECT_TRUE(w.isVisible());

    MessageService::queueAnswer(MessageAnswer::Ok);
    w.N3_Zagr->trigger();
    const auto rows = questions();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].vopros, cp("Вопрос ? один"));
    EXPECT_EQ(rows[1].vopros, cp("Вопрос два €"));
    EXPECT_FALSE(w.isVisible());

    // The group-name window asks the same.
    form4().show();
    form4().Memo1->setPlainText(QStringLiteral("Группа ✓"));
    MessageService::queueAnswer(MessageAnswer::Cancel);
    form4().N3_Zagr->trigger();
    EXPECT_EQ(MessageService::shown().size(), 3);
    EXPECT_TRUE(groups().empty());
    EXPECT_TRUE(form4().isVisible());
}

// --- group chooser ---------------------------------------------------------------------

TEST_F(ImportWindowsTest, ChooserPutsThePickedGroupIntoTheField)
{
    addGroup(2, cp("Алгебра"));
    addGroup(4, cp("Геометрия"));
    addGroup(0, cp("Без номера"));
    start();
    TForm2 &w = form2();
    TForm5 &chooser = *windows->Form5;
    w.show();
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, QPoint(5, w.CheckBox1->height() / 2));
    EXPECT_EQ(w.Edit1->text(), "1");

    const auto pickRow = [&](int row) {
        kv::widgets::DBGrid *grid = chooser.DBGrid1;
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };

    whileModal(
        &chooser, [&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); },
        [&] {
            EXPECT_TRUE(chooser.Table1.isOpen());
            ASSERT_EQ(chooser.DBGrid1->model()->rowCount(), 3);
            const auto *model = chooser.DBGrid1->model();
            EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "№ группы");
            EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Название группы");
            pickRow(1);
        });
    EXPECT_EQ(w.Edit1->text(), "4");
    EXPECT_FALSE(chooser.Table1.isOpen());

    // Closed with the window's close button: unchanged.
    whileModal(
        &chooser, [&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); }, [&] { chooser.close(); });
    EXPECT_EQ(w.Edit1->text(), "4");

    // A row numbered 0 is no choice; a group added meanwhile is listed.
    addGroup(7, cp("Физика"));
    whileModal(
        &chooser, [&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); },
        [&] {
            EXPECT_EQ(chooser.DBGrid1->model()->rowCount(), 4);
            pickRow(2);
        });
    EXPECT_EQ(w.Edit1->text(), "4");
    whileModal(
        &chooser, [&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); }, [&] { pickRow(3); });
    EXPECT_EQ(w.Edit1->text(), "7");
}

// --- group-name import -----------------------------------------------------------------

TEST_F(ImportWindowsTest, GroupNameWorkedExampleFromTheMenu)
{
    for (int g = 1; g <= 5; ++g)
        addGroup(g, "G" + std::to_string(g));
    start();
    TForm4 &w = form4();
    EXPECT_EQ(w.windowTitle(), "Загрузка названий групп");
    EXPECT_EQ(w.Label1->text(),
              "Текст названий групп. Каждая строка является названием группы вопросов");
    whileModal(
        &w, [&] { form().N5_LoadG->trigger(); },
        [&] {
            typeLines(w.Memo1, {"Алгебра", "", "Геометрия", "   "});
            w.N3_Zagr->trigger();
        });
    EXPECT_TRUE(MessageService::shown().isEmpty());
    EXPECT_EQ(form().PageControl1->currentWidget(), form().TabSheet2);
    const auto rows = groups();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[5].group, 6);
    EXPECT_EQ(rows[5].name, cp("Алгебра"));
    EXPECT_EQ(rows[6].group, 7);
    EXPECT_EQ(rows[6].name, cp("Геометрия"));
    EXPECT_EQ(form().Table2.recordCount(), 7);
}

TEST_F(ImportWindowsTest, GroupNamesNumberedOnFromTheLastGroupInFileOrder)
{
    struct Case
    {
        std::vector<std::int64_t> existing;
        QString text;
        std::vector<GroupRow> added;
    };
    const std::string cut = std::string(251, 'n') + "...";
    const std::vector<Case> cases = {
        {{}, "A\nB\nC", {{1, "A"}, {2, "B"}, {3, "C"}}},
        {{12, 9}, "\nA\n\n\nB\n", {{10, "A"}, {11, "B"}}},
        {{},
         QStringLiteral("  lead\n") + QString(300, QLatin1Char('n')) + QLatin1Char('\n') +
             QString(254, QLatin1Char('m')),
         {{1, "  lead"}, {2, cut}, {3, std::string(254, 'm')}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.left(20).toStdString());
        freshFolder(QStringLiteral("case%1").arg(&c - cases.data()));
        for (std::int64_t g : c.existing)
            addGroup(g, "old");
        start();
        form4().show();
        form4().Memo1->setPlainText(c.text);
        form4().N3_Zagr->trigger();
        const auto rows = groups();
        ASSERT_EQ(rows.size(), c.existing.size() + c.added.size());
        for (std::size_t i = 0; i < c.added.size(); ++i) {
            EXPECT_EQ(rows[c.existing.size() + i].group, c.added[i].group);
            EXPECT_EQ(rows[c.existing.size() + i].name, c.added[i].name);
        }
    }
}

// --- list files ------------------------------------------------------------------------

TEST_F(ImportWindowsTest, ListFilesOpenAndSaveThroughTheDialogs)
{
    start();
    TForm2 &w = form2();
    w.show();
    const QString utf8Path = here("Base/utf8.txt");
    {
        QFile f(utf8Path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBF" + QStringLiteral("Первый\nВторой ✓\n").toUtf8());
    }
    MessageService::queueFileName(utf8Path);
    w.N1_Open->trigger();
    EXPECT_EQ(w.Memo1->toPlainText(), QStringLiteral("Первый\nВторой ✓"));
    ASSERT_EQ(MessageService::fileDialogs().size(), 1);
    const FileDialogRequest open = MessageService::fileDialogs()[0];
    EXPECT_TRUE(open.title.isEmpty());
    EXPECT_EQ(QDir(open.folder), QDir(here("Base")));
    EXPECT_EQ(open.filter, "Текстовые (*.txt )|*.txt|Все (*.*)|*.*");
    EXPECT_EQ(open.defaultSuffix, "txt");

    // Cancelled, or a file that cannot be read: the list stays.
    w.N1_Open->trigger();
    MessageService::queueFileName(here("Base/missing.txt"));
    w.N1_Open->trigger();
    EXPECT_EQ(w.Memo1->toPlainText(), QStringLiteral("Первый\nВторой ✓"));
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_TRUE(MessageService::shown()[0].text.contains("missing.txt"));
    MessageService::clearShown();

    // Saving: the ✓ cannot be written; Cancel writes nothing, OK writes '?'.
    const QString outPath = here("Base/out.txt");
    MessageService::queueFileName(here("Base/out.txt"));
    MessageService::queueAnswer(MessageAnswer::Cancel);
    w.N2_Save->trigger();
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_TRUE(MessageService::shown()[0].text.contains(QStringLiteral("✓")));
    EXPECT_FALSE(QFile::exists(outPath));

    MessageService::queueFileName(here("Base/out.txt"));
    MessageService::queueAnswer(MessageAnswer::Ok);
    w.N2_Save->trigger();
    const FileDialogRequest save = MessageService::fileDialogs().back();
    EXPECT_EQ(save.filter, "Текст (*.txt )|*.txt|Все (*.*)|*.*");
    QFile f(outPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), cp("Первый\r\nВторой ?\r\n"));
    f.close();

    // The group-name window reads and replaces a file the same way.
    form4().show();
    form4().Memo1->setPlainText(QStringLiteral("Алгебра\n\nГеометрия"));
    MessageService::queueFileName(outPath);
    form4().N2_Save->trigger();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), cp("Алгебра\r\n\r\nГеометрия\r\n"));
    f.close();
    form4().Memo1->clear();
    MessageService::queueFileName(outPath);
    form4().N1_Open->trigger();
    EXPECT_EQ(form4().Memo1->toPlainText(), QStringLiteral("Алгебра\n\nГеометрия"));
}

} // namespace
