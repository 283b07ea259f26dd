// The main window: start-up and shutdown steps in a temporary working folder,
// tabs, menu and the windows it shows, driven as a user drives them.
#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "gui/app/AppWindows.h"
#include "gui/app/MainWindow.h"
#include "platform/text/Cp1251.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kv::gui;
using kv::widgets::NavButton;

namespace {

// A temporary working folder made current for the test, with the tables
// unless told otherwise, and scripted message boxes.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    void makeTables() { kv::base::createMissingBaseTables(dir.path()); }

    void addQuestions(int count)
    {
        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        for (int i = 1; i <= count; ++i) {
            t.append();
            t.setIntegerField("NPOR", i);
            t.setIntegerField("NGRUPPY", 1);
            t.setTextField("VOPROS", "Q" + std::to_string(i));
            t.post();
        }
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
};

QString stopTitle()
{
    return QStringLiteral("Квиртон");
}

TEST_F(MainWindowTest, StartsWithTablesOpenCaptionAndLockedEditors)
{
    makeTables();
    TForm1 form;
    EXPECT_TRUE(MessageService::shown().isEmpty());
    EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
    EXPECT_EQ(form.ProgramDir, QDir::currentPath().toStdString());
    EXPECT_EQ(form.BaseFileName, "default.txb");
    EXPECT_EQ(form.RussianLayout.id, "00000419");
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
    EXPECT_TRUE(form.Table1.isOpen());
    EXPECT_TRUE(form.Table2.isOpen());
    EXPECT_TRUE(form.Table3.isOpen());
    EXPECT_TRUE(form.Table4.isOpen());
    EXPECT_FALSE(form.Table2_1.isOpen());
    EXPECT_TRUE(form.Table2_1.readOnly());
    EXPECT_TRUE(form.Table3.filtered());
    EXPECT_TRUE(form.Table4.filtered());
    EXPECT_TRUE(form.settingsRead());
    EXPECT_FALSE(form.terminateRequested());
    EXPECT_TRUE(form.DBMemo1->locked());
    EXPECT_TRUE(form.DBLookupComboBox1->locked());
    EXPECT_TRUE(form.DBEdit1->locked());
    EXPECT_TRUE(form.DBMemo2->locked());
    EXPECT_EQ(form.DBEdit1->maxLength(), 3);
    EXPECT_EQ(form.statusText(), "");
    EXPECT_TRUE(form.Memo1->isHidden());
}

TEST_F(MainWindowTest, TabsAndGridColumnsInOrder)
{
    makeTables();
    TForm1 form;
    const QStringList captions = {"Вопросы",           "Группы",           "Просмотр групп",
                                  "Генерация билетов", "Просмотр билетов", "Печать билетов"};
    const QList<QWidget *> pages = {form.TabSheet1, form.TabSheet2, form.TabSheet4,
                                    form.TabSheet5, form.TabSheet6, form.TabSheet7};
    ASSERT_EQ(form.PageControl1->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form.PageControl1->tabText(i), captions[i]);
        EXPECT_EQ(form.PageControl1->widget(i), pages[i]);
    }
    const auto headers = [](kv::widgets::DBGrid *g) {
        QStringList h;
        for (int c = 0; c < g->model()->columnCount(); ++c)
            h << g->model()->headerData(c, Qt::Horizontal).toString();
        return h;
    };
    EXPECT_EQ(headers(form.DBGrid1), QStringList({"№п/п", "№ гр.", "Текст вопроса"}));
    EXPECT_EQ(headers(form.DBGrid2), QStringList({"№ группы", "Название группы"}));
    EXPECT_EQ(headers(form.DBGrid3),
              QStringList({"№Бл.", "№В.в Бл.", "№п/п", "№ гр.", "Текст вопроса"}));
    EXPECT_EQ(headers(form.DBGrid4), QStringList({"№п/п", "№ гр.", "Текст вопроса"}));
    EXPECT_FALSE(form.DBNavigator3->isButtonVisible(NavButton::Insert));
    EXPECT_FALSE(form.DBNavigator4->isButtonVisible(NavButton::Delete));
    EXPECT_TRUE(form.DBNavigator4->isButtonVisible(NavButton::Refresh));
}

TEST_F(MainWindowTest, MenuItemsCaptionsShortcutsAndTicks)
{
    makeTables();
    TForm1 form;
    struct Item
    {
        const char *name, *caption, *shortcut;
    };
    const auto check = [&](QMenu *menu, const char *title, std::vector<Item> items) {
        EXPECT_EQ(menu->title(), QString::fromUtf8(title));
        const QList<QAction *> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(items.size())) << title;
        for (std::size_t i = 0; i < items.size(); ++i) {
            QAction *a = actions[qsizetype(i)];
            EXPECT_EQ(a->objectName(), QString::fromLatin1(items[i].name));
            if (std::string(items[i].caption) == "-")
                EXPECT_TRUE(a->isSeparator()) << items[i].name;
            else
                EXPECT_EQ(a->text(), QString::fromUtf8(items[i].caption));
            EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(items[i].shortcut)))
                << items[i].name;
        }
    };
    const QList<QAction *> top = form.menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->menu(), form.N1_Pack);
    EXPECT_EQ(top[1]->menu(), form.N4);
    EXPECT_EQ(top[2]->menu(), form.N2);
    check(form.N1_Pack, "&Файл",
          {{"N2_LoadB", "Загрузить вопросы...", ""},
           {"N5_LoadG", "Загрузить названия групп...", ""},
           {"N5", "-", ""},
           {"N6_Pack", "Упаковать базы", ""},
           {"N3", "-", ""},
           {"N6", "Открыть базу вопросов...", "Ctrl+O"},
           {"N7", "Сохранить базу вопросов...", "Ctrl+S"},
           {"N1", "-", ""},
           {"N4_Exit", "Выход", ""}});
    check(form.N4, "&Настройка",
          {{"N5_PDel", "&Подтверждение удаления", ""},
           {"N7_PerPriDel", "Пересчет №п/п при удалении", ""},
           {"N11", "-", ""},
           {"N12", "Удалить все вопросы и группы", ""}});
    check(form.N2, "&Справка",
          {{"N8", "Справка...", "F1"},
           {"N13", "Журнал...", ""},
           {"N9", "-", ""},
           {"N10", "О программе...", ""}});
    EXPECT_TRUE(form.N5_PDel->isCheckable() && form.N5_PDel->isChecked());
    EXPECT_TRUE(form.N7_PerPriDel->isCheckable() && form.N7_PerPriDel->isChecked());
    EXPECT_FALSE(form.N13->isVisible());
}

TEST_F(MainWindowTest, SysMissingOkOpensTheAddressAndEndsWithNoTableOpen)
{
    MessageService::queueAnswer(MessageAnswer::Ok);
    {
        std::unique_ptr<AppWindows> windows = AppWindows::create();
        TForm1 &form = *windows->Form1;
        ASSERT_EQ(MessageService::shown().size(), 1);
        const ShownMessage &m = MessageService::shown()[0];
        EXPECT_EQ(m.title, "Внимание!");
        EXPECT_EQ(m.text, "В системе не установлен BDE. Скачать можно тут: "
                          "https://kvirton.github.io/docs/\nПерейти?");
        EXPECT_EQ(m.buttons, MessageButtons::OkCancel);
        EXPECT_EQ(m.icon, MessageIcon::Stop);
        EXPECT_EQ(MessageService::openedUrls(),
                  QList<QUrl>{QUrl("https://kvirton.github.io/docs/")});
        EXPECT_TRUE(form.terminateRequested());
        EXPECT_FALSE(form.Table1.isOpen());
        EXPECT_FALSE(form.Table4.isOpen());
        EXPECT_FALSE(form.settingsRead());
        EXPECT_TRUE(form.ProgramDir.empty()); // later steps skipped
        EXPECT_NE(windows->LogForm, nullptr); // the other windows still come
        EXPECT_FALSE(form.isVisible());
    } // shutdown runs without a further message
    EXPECT_EQ(MessageService::shown().size(), 1);
}

TEST_F(MainWindowTest, SysMissingCancelGoesOnAndTheFirstOpenFails)
{
    MessageService::queueAnswer(MessageAnswer::Cancel);
    TForm1 form;
    ASSERT_EQ(MessageService::shown().size(), 2);
    const ShownMessage &error = MessageService::shown()[1];
    EXPECT_EQ(error.title, stopTitle());
    EXPECT_EQ(error.buttons, MessageButtons::Ok);
    EXPECT_EQ(error.icon, MessageIcon::Stop);
    EXPECT_TRUE(error.text.contains("Voprosy.DBF")) << error.text.toStdString();
    EXPECT_FALSE(form.terminateRequested());
    EXPECT_FALSE(form.Table1.isOpen());
    EXPECT_FALSE(form.Table2.isOpen());
    EXPECT_EQ(form.BaseFileName, "default.txb"); // steps 3-6 ran
    EXPECT_EQ(form.windowTitle(), "Квиртон v1.3");
    EXPECT_FALSE(form.settingsRead());
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 0);

    // Showing the tabs does not pile further errors on the start-up one.
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.PageControl1->setCurrentWidget(form.TabSheet1);
    EXPECT_EQ(MessageService::shown().size(), 2);
}

TEST_F(MainWindowTest, AMissingTableStopsTheOpeningAndLaterTablesStayClosed)
{
    makeTables();
    ASSERT_TRUE(QFile::remove(dir.filePath("Sys/Bilety.DBF")));
    TForm1 form;
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, stopTitle());
    EXPECT_TRUE(MessageService::shown()[0].text.contains("Bilety.DBF"));
    EXPECT_TRUE(form.Table1.isOpen());
    EXPECT_TRUE(form.Table2.isOpen());
    EXPECT_FALSE(form.Table3.isOpen());
    EXPECT_FALSE(form.Table4.isOpen());
    EXPECT_FALSE(form.settingsRead());
}

TEST_F(MainWindowTest, ShowingATabRefreshesItsTable)
{
    makeTables();
    TForm1 form;
    form.PageControl1->setCurrentWidget(form.TabSheet4);
    addQuestions(3); // through another view of the file
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 0);
    QTest::mouseClick(form.PageControl1->tabBar(), Qt::LeftButton, {},
                      form.PageControl1->tabBar()->tabRect(0).center());
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 3);
    EXPECT_EQ(form.Table4.recordCount(), 0); // not shown again yet
    form.PageControl1->setCurrentWidget(form.TabSheet4);
    EXPECT_EQ(form.DBGrid4->model()->rowCount(), 3);
}

TEST_F(MainWindowTest, DeleteConfirmationOptionReachesAllNavigators)
{
    makeTables();
    addQuestions(3);
    TForm1 form;
    form.show();
    const auto confirmations = [&] {
        return std::vector<bool>{
            form.DBNavigator1->confirmDelete(), form.DBNavigator2->confirmDelete(),
            form.DBNavigator3->confirmDelete(), form.DBNavigator4->confirmDelete()};
    };
    EXPECT_EQ(confirmations(), std::vector<bool>(4, true));

    MessageService::queueAnswer(MessageAnswer::Cancel);
    QTest::mouseClick(form.DBNavigator1->button(NavButton::Delete), Qt::LeftButton);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].text, "Delete record?");
    EXPECT_EQ(MessageService::shown()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(form.Table1.recordCount(), 3);

    form.N5_PDel->trigger();
    EXPECT_FALSE(form.N5_PDel->isChecked());
    EXPECT_EQ(confirmations(), std::vector<bool>(4, false));
    QTest::mouseClick(form.DBNavigator1->button(NavButton::Delete), Qt::LeftButton);
    EXPECT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(form.Table1.recordCount(), 2);

    form.N5_PDel->trigger();
    EXPECT_EQ(confirmations(), std::vector<bool>(4, true));
    form.N7_PerPriDel->trigger();
    EXPECT_FALSE(form.N7_PerPriDel->isChecked());
}

TEST_F(MainWindowTest, MenusShowTheSecondaryWindows)
{
    makeTables();
    std::unique_ptr<AppWindows> windows = AppWindows::create();
    TForm1 &form = *windows->Form1;
    for (QWidget *w : {form.Form2, form.Form3, form.Form4, form.Form5, form.Form6, form.Form7,
                       form.FormStatusBar, form.LogForm})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    form.show();

    // Modal ones: the menu call returns only after the window is closed.
    const auto expectModal = [&](QAction *item, QWidget *window) {
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = QApplication::activeModalWidget() == window;
            window->close();
        });
        item->trigger();
        EXPECT_TRUE(wasModal) << window->objectName().toStdString();
        EXPECT_FALSE(window->isVisible());
    };
    expectModal(form.N2_LoadB, form.Form2);
    expectModal(form.N5_LoadG, form.Form4);
    expectModal(form.N10, form.Form3);

    form.N8->trigger();
    EXPECT_TRUE(form.Form6->isVisible());
    EXPECT_FALSE(form.Form6->isModal());
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    EXPECT_TRUE(form.Form7->isVisible());
    EXPECT_EQ(form.Form7->windowTitle(), "Анализ совпадения вопросов");
}

TEST_F(MainWindowTest, ShutdownClosesTablesAndDropsAPendingEdit)
{
    makeTables();
    addQuestions(1);
    {
        TForm1 form;
        form.Table1.edit();
        form.Table1.setTextField("VOPROS", "changed");
    }
    kv::store::Table t;
    t.setFileName(kv::base::kQuestionsFile);
    t.setExclusive(true); // nobody holds the file any more
    t.open();
    EXPECT_EQ(t.textField("VOPROS"), "Q1");
}

} // namespace
