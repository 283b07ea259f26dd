// The secondary windows: similarity analysis, help, about, the status message
// history and the operation log, driven as a user drives them.
#include "core/analysis/Similarity.h"
#include "core/app/ProjectInfo.h"
#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "gui/app/AppWindows.h"
#include "gui/app/MainWindow.h"
#include "platform/text/Cp1251.h"
#include "widgets/UpDown.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include <string>
#include <vector>

using namespace kv::gui;
namespace an = kv::analysis;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A temporary working folder made current for the test, scripted message
// boxes.
class WindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    QString path(const QString &relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
};

// --- similarity analysis ----------------------------------------------------------

class SimilarityWindowTest : public WindowsTest
{
protected:
    // The questions as stored: running number and full text (UTF-8 here,
    // Windows-1251 in the table, CR LF between lines).
    void addQuestions(const std::vector<std::pair<int, QString>> &items)
    {
        kv::base::createMissingBaseTables(dir.path());
        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        for (const auto &[npor, text] : items) {
            t.append();
            t.setIntegerField("NPOR", npor);
            t.setIntegerField("NGRUPPY", 1);
            t.setTextField("VOPROS", kv::text::toCp1251(text.left(40)));
            t.setTextField("VOPRMEMO", kv::text::toCp1251(text));
            t.post();
            questions.push_back({npor, kv::text::toCp1251(text)});
        }
    }

    void start()
    {
        windows = AppWindows::create();
        form7 = windows->Form7.get();
        windows->Form1->show();
        QTest::mouseClick(windows->Form1->Button6, Qt::LeftButton);
        ASSERT_TRUE(form7->isVisible());
    }

    void typePercent(const QString &digits)
    {
        form7->Edit1->selectAll();
        QTest::keyClicks(form7->Edit1, digits);
    }

    QStringList memoLines() const
    {
        const QString text = form7->RichEdit1->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

    static QStringList asLines(const std::vector<std::string> &lines)
    {
        QStringList out;
        for (const std::string &line : lines)
            out << kv::text::fromCp1251(line);
        return out;
    }

    std::vector<an::AnalysisQuestion> questions;
    std::unique_ptr<AppWindows> windows;
    TForm7 *form7 = nullptr;
};

TEST_F(SimilarityWindowTest, ListingEqualsTheAnalysisAtEveryPercentage)
{
    addQuestions({{1, "Что такое алгоритм?"},
                  {2, "Что такое алгоритм"},
                  {3, "Назовите свойства алгоритма.\r\nПриведите пример."},
                  {4, "Что такое алгоритм? Опишите его свойства."},
                  {5, " Что такое алгоритм? "}});
    start();
    EXPECT_EQ(form7->Edit1->text(), "70");

    for (const char *percent : {"70", "0", "100", "40", "5"}) {
        typePercent(QString::fromLatin1(percent));
        QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
        const an::AnalysisResult expected = an::AnalyseSimilarity(questions, std::atoi(percent));
        EXPECT_EQ(memoLines(), asLines(expected.lines)) << percent;
        EXPECT_TRUE(form7->StatusBar1->currentMessage().isEmpty());
    }

    // At 100 only texts equal apart from blanks at their ends.
    typePercent("100");
    QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(memoLines(),
              QStringList({"1 § Что такое алгоритм?", "5 §  Что такое алгоритм? ", ""}));

    // At 0 every pair is listed: four blocks, the multi-line question on
    // two lines in each block it appears in.
    typePercent("0");
    QTest::keyClick(form7->Edit1, Qt::Key_Return); // the default button
    const QStringList lines = memoLines();
    EXPECT_EQ(lines.count(QString()), 4);
    EXPECT_EQ(lines.count("Приведите пример."), 3);
    EXPECT_EQ(lines.first(), "1 § Что такое алгоритм?");
    // The main window's current question did not move.
    EXPECT_EQ(windows->Form1->Table1.currentRow(), 0);
}

TEST_F(SimilarityWindowTest, PercentFieldKeepsWithinBoundsAndStepsByFive)
{
    addQuestions({{1, "Один"}, {2, "Два"}});
    start();
    kv::widgets::UpDown *arrows = form7->UpDown1;

    typePercent("120");
    EXPECT_EQ(form7->Edit1->text(), "100");
    EXPECT_EQ(arrows->position(), 100);
    QTest::mouseClick(arrows->upButton(), Qt::LeftButton);
    EXPECT_EQ(form7->Edit1->text(), "100");
    QTest::mouseClick(arrows->downButton(), Qt::LeftButton);
    EXPECT_EQ(form7->Edit1->text(), "95");

    typePercent("3");
    QTest::mouseClick(arrows->downButton(), Qt::LeftButton);
    EXPECT_EQ(form7->Edit1->text(), "0");
    QTest::mouseClick(arrows->upButton(), Qt::LeftButton);
    QTest::mouseClick(arrows->upButton(), Qt::LeftButton);
    EXPECT_EQ(form7->Edit1->text(), "10");

    // Only digits are typed; an emptied field is no error.
    QTest::keyClicks(form7->Edit1, "a-5");
    EXPECT_EQ(form7->Edit1->text(), "100");
    form7->Edit1->clear();
    EXPECT_TRUE(MessageService::shown().isEmpty());

    // Pasted text that is no number: the conversion error, and an analysis
    // lists nothing.
    form7->Edit1->setText("7x");
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].text, "\"7x\" не является допустимым целым числом");
    form7->RichEdit1->setPlainText("old");
    QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_EQ(MessageService::shown().size(), 1);
}

TEST_F(SimilarityWindowTest, EmptyBaseListsNothing)
{
    addQuestions({});
    start();
    typePercent("0");
    QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(SimilarityWindowTest, CancelKeepsTheBlocksListedSoFarAndSaysSo)
{
    addQuestions({{1, "alpha beta"}, {2, "alpha beta"}, {3, "alpha beta"}, {4, "alpha beta"}});
    start();
    typePercent("50");
    form7->ProgressDelayMs = 0;
    // Presses "Прервать" as soon as the progress window is up.
    bool cancelled = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QProgressDialog *>(w); dialog && dialog->isVisible()) {
                dialog->cancel();
                cancelled = true;
                watcher.stop();
            }
    });
    watcher.start(0);
    QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(cancelled);

    // The analysis stopped after the first question's comparisons.
    int calls = 0;
    const an::AnalysisResult expected =
        an::AnalyseSimilarity(questions, 50, [&](std::uint64_t, std::uint64_t) {
            return ++calls == 1 ? an::AnalysisStep::Stop : an::AnalysisStep::Continue;
        });
    ASSERT_FALSE(expected.complete);
    EXPECT_EQ(memoLines(), asLines(expected.lines));
    EXPECT_EQ(memoLines().size(), 5); // question 1 and its three partners, empty line
    EXPECT_EQ(form7->StatusBar1->currentMessage(),
              "Анализ прерван: проверено пар 3 из 6, показаны совпадения, найденные до "
              "остановки.");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The next full analysis clears the note.
    form7->ProgressDelayMs = 1000000;
    QTest::mouseClick(form7->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(memoLines(), asLines(an::AnalyseSimilarity(questions, 50).lines));
    EXPECT_TRUE(form7->StatusBar1->currentMessage().isEmpty());
}

// --- help ----------------------------------------------------------------------------

TEST_F(WindowsTest, HelpTextHasItsSevenBlocksAndTheTemplateReference)
{
    TForm6 help;
    const QStringList lines = help.RichEdit1->toPlainText().split(QLatin1Char('\n'));
    QList<QStringList> blocks{{}};
    for (const QString &line : lines) {
        if (line.isEmpty())
            blocks.append(QStringList());
        else
            blocks.last() << line;
    }
    ASSERT_EQ(blocks.size(), 7);
    EXPECT_EQ(blocks[0], QStringList{"  Справка по программе"});
    EXPECT_EQ(blocks[1].size(), 3);
    EXPECT_EQ(blocks[2].value(0), "Изменения в версии 1.3:");
    EXPECT_EQ(blocks[2].size(), 3);
    EXPECT_EQ(blocks[3].value(0), "Изменения в версии 1.2:");
    EXPECT_EQ(blocks[3].size(), 2);
    EXPECT_TRUE(blocks[3].value(1).contains("\"Получить билеты в тектовом виде\""));
    EXPECT_EQ(blocks[4].value(0), "Изменения в версии 1.1:");
    EXPECT_TRUE(blocks[4].value(1).contains(
        "\"Задать кол. вопросов в билете из каждой группы (числа через пробел)\""));
    EXPECT_TRUE(blocks[5].join(' ').contains("\"2 2 3\""));
    EXPECT_EQ(blocks[6].value(0), "Порядок работы с программой такой:");
    ASSERT_EQ(blocks[6].size(), 8);
    for (int i = 1; i <= 7; ++i)
        EXPECT_TRUE(blocks[6][i].startsWith(QString::number(i) + ". ")) << i;
    for (const QStringList &block : blocks.mid(2, 3))
        for (const QString &item : block.mid(1))
            EXPECT_TRUE(item.startsWith("- ") || item.startsWith("  - ")) << item.toStdString();

    const QStringList reference = {
        "#NBILETA# - метка в начале строки говорит о выводе этой строки перед выводом нового "
        "номера билета (если строка пустая, то после меток ставьте 1 пробел);",
        "#NGRUPPY# - метка в начале строки говорит о выводе этой строки перед выводом нового "
        "номера группы;",
        "#NVOPROSA# - метка в начале строки говорит о выводе этой строки перед выводом нового "
        "номера вопроса;",
        "#&ИМЯ_ПЕРЕМЕННОЙ# - метка в начале строки говорит о выводе этой строки в конце вопроса, "
        "группы или билета;",
        "%NBILETA% - номер билета;",
        "%NGRUPPY% - номер группы;",
        "%NVOPROSA% - номер вопроса;",
        "%NAMEGRUPPA% - название группы;",
        "%VOPRMEMO% - текст вопроса;",
        "%NPOR% - номер вопроса по порядку в базе;",
        "%NVOPROSAGRUPPY% - номер порядковый в одной группе из билета.",
    };
    const QStringList &changes11 = blocks[4];
    ASSERT_EQ(changes11.size(), 4 + reference.size());
    EXPECT_TRUE(changes11[3].endsWith("Переменные (%ПЕРЕМЕННАЯ%), используемые в шаблонах:"));
    for (int i = 0; i < reference.size(); ++i)
        EXPECT_EQ(changes11[4 + i], "  - " + reference[i]);
}

TEST_F(WindowsTest, HelpPutsTheCaretAtTheStartOnEveryShow)
{
    kv::base::createMissingBaseTables(dir.path());
    std::unique_ptr<AppWindows> windows = AppWindows::create();
    TForm1 &form = *windows->Form1;
    auto *help = static_cast<TForm6 *>(form.Form6);
    EXPECT_EQ(help->RichEdit1->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_TRUE(help->RichEdit1->isReadOnly());

    form.N8->trigger();
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->RichEdit1->textCursor().position(), 0);
    help->RichEdit1->setFocus();
    QTest::keyClick(help->RichEdit1, Qt::Key_End, Qt::ControlModifier);
    ASSERT_GT(help->RichEdit1->textCursor().position(), 0);
    // Asked again while open: only brought to the front, the caret stays.
    const int atEnd = help->RichEdit1->textCursor().position();
    form.N8->trigger();
    EXPECT_EQ(help->RichEdit1->textCursor().position(), atEnd);

    help->close();
    form.N8->trigger();
    EXPECT_EQ(help->RichEdit1->textCursor().position(), 0);
}

// --- about -------------------------------------------------------------------------------

class AboutBoxTest : public WindowsTest
{
protected:
    static void send(QWidget *w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
    {
        if (type == QEvent::Enter || type == QEvent::Leave) {
            QEvent e(type);
            QApplication::sendEvent(w, &e);
            return;
        }
        const QPointF at(3, 3);
        QMouseEvent e(type, at, w->mapToGlobal(at), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static Qt::CursorShape cursor()
    {
        const QCursor *c = QApplication::overrideCursor();
        return c ? c->shape() : Qt::ArrowCursor;
    }

    TForm3 about;
};

TEST_F(AboutBoxTest, LabelsAndAddresses)
{
    EXPECT_EQ(about.windowTitle(), "О программе");
    EXPECT_EQ(about.size(), QSize(415, 244));
    EXPECT_EQ(about.Label5->text(), "Квиртон");
    EXPECT_EQ(about.Label7->text(), "v1.3  2018 г.");
    EXPECT_EQ(about.Label1->text(), "Автор:");
    EXPECT_EQ(about.Label2->text(), kv::app::kAuthorLine);
    EXPECT_EQ(about.Label3->text(), "Mail:");
    EXPECT_EQ(about.Label4->text(), "kvirton-team@users.noreply.github.com");
    EXPECT_EQ(about.Label6->text(), "www:");
    EXPECT_EQ(about.Label8->text(), "https://kvirton.github.io/");
    EXPECT_TRUE(about.Label4->font().underline());
    EXPECT_TRUE(about.Label8->font().bold());
    EXPECT_EQ(about.BitBtn1->text(), "OK");

    send(about.Label4, QEvent::MouseButtonPress, Qt::LeftButton);
    send(about.Label8, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(MessageService::openedUrls(),
              (QList<QUrl>{QUrl("mailto:kvirton-team@users.noreply.github.com"),
                           QUrl("https://kvirton.github.io/")}));

    // OK ends the modal box.
    QTimer::singleShot(0, [&] { QTest::mouseClick(about.BitBtn1, Qt::LeftButton); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AboutBoxTest, PointingHandOverTheAddressesOnly)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    send(about.Label4, QEvent::MouseMove);
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    send(about.Label4, QEvent::Leave);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    send(about.Label8, QEvent::Enter);
    send(about.Label8, QEvent::MouseMove);
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    send(about.Image1, QEvent::MouseMove);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // An hourglass is left alone.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    send(about.Label8, QEvent::MouseMove);
    EXPECT_EQ(cursor(), Qt::WaitCursor);
    send(about.Image1, QEvent::MouseMove);
    EXPECT_EQ(cursor(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();

    // Closing the box over an address takes the hand back.
    about.show();
    send(about.Label4, QEvent::MouseMove);
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    about.close();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- status message history ------------------------------------------------------------

TEST_F(WindowsTest, StatusHistoryFolderRulesAtExit)
{
    struct Case
    {
        const char *name;
        const char *makeDir;  // created before the run, or nullptr
        const char *makeFile; // a plain file created before the run, or nullptr
        bool fileAfter;       // SYSTEM/StatusBar.log exists after the run
    };
    const Case cases[] = {
        {"no folder: created with an empty history", nullptr, nullptr, true},
        {"folder without the file: nothing written", "SYSTEM", nullptr, false},
        {"a file where the folder should be: nothing written", nullptr, "SYSTEM", false},
    };
    for (const Case &c : cases) {
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        QDir::setCurrent(work.path());
        if (c.makeDir)
            QDir(work.path()).mkdir(c.makeDir);
        if (c.makeFile)
            writeFile(work.filePath(c.makeFile), "x");
        {
            TFormStatusBar history;
            EXPECT_TRUE(history.Memo1->toPlainText().isEmpty()) << c.name;
            EXPECT_EQ(history.folder(), work.path()) << c.name;
        }
        const QString file = work.filePath("SYSTEM/StatusBar.log");
        EXPECT_EQ(QFileInfo(file).isFile(), c.fileAfter) << c.name;
        if (c.fileAfter) {
            EXPECT_EQ(readFile(file), QByteArray()) << c.name;
        }
        EXPECT_TRUE(MessageService::shown().isEmpty()) << c.name;
    }
    QDir::setCurrent(dir.path());
}

TEST_F(WindowsTest, StatusHistoryIsLoadedAtStartAndWrittenBackUnchanged)
{
    kv::base::createMissingBaseTables(dir.path());
    QDir(dir.path()).mkdir("SYSTEM");
    // Windows-1251 lines, an empty line inside and one at the end.
    const QByteArray stored = "режим РЕДАКТИРОВАНИЯ\r\n\r\nвторая строка\r\n\r\n";
    const QByteArray bytes =
        QByteArray::fromStdString(kv::text::toCp1251(QString::fromUtf8(stored)));
    writeFile(path("SYSTEM/StatusBar.log"), bytes);
    {
        std::unique_ptr<AppWindows> windows = AppWindows::create();
        auto *history = static_cast<TFormStatusBar *>(windows->Form1->FormStatusBar);
        EXPECT_EQ(history->Memo1->toPlainText(), "режим РЕДАКТИРОВАНИЯ\n\nвторая строка\n");
        EXPECT_FALSE(history->isVisible());
        // The main window's status line is not copied into the history.
        windows->Form1->setStatusText("режим РЕДАКТИРОВАНИЯ");
        // The file changes during the run; the exit writes the loaded lines.
        writeFile(path("SYSTEM/StatusBar.log"), "changed\r\n");
    }
    EXPECT_EQ(readFile(path("SYSTEM/StatusBar.log")), bytes);
    EXPECT_TRUE(MessageService::shown().isEmpty());

    // A file in another letter case (copied from Windows) is the history.
    QDir(dir.path()).rename("SYSTEM", "system");
    QFile::rename(path("system/StatusBar.log"), path("system/statusbar.log"));
    {
        TFormStatusBar history;
        EXPECT_EQ(history.Memo1->toPlainText(), "режим РЕДАКТИРОВАНИЯ\n\nвторая строка\n");
    }
    EXPECT_EQ(readFile(path("system/statusbar.log")), bytes);
    EXPECT_FALSE(QFileInfo::exists(path("SYSTEM")));
}

// --- operation log -----------------------------------------------------------------------

class LogWindowTest : public WindowsTest
{
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        // Log.txt lives beside the executable: keep what is there.
        saved = readFile(TLogForm::logFilePath());
        hadFile = QFileInfo::exists(TLogForm::logFilePath());
        QFile::remove(TLogForm::logFilePath());
    }
    void TearDown() override
    {
        QFile::remove(TLogForm::logFilePath());
        if (hadFile)
            writeFile(TLogForm::logFilePath(), saved);
        WindowsTest::TearDown();
    }

    static QTreeWidgetItem *addRow(TLogForm &log, const char *operation, const char *line)
    {
        auto *item = new QTreeWidgetItem;
        if (operation)
            item->setText(1, QString::fromUtf8(operation));
        if (line)
            item->setText(2, QString::fromUtf8(line));
        log.LogLV->addTopLevelItem(item);
        return item;
    }
    static QStringList numbers(const TLogForm &log)
    {
        QStringList out;
        for (int row = 0; row < log.LogLV->topLevelItemCount(); ++row)
            out << log.LogLV->topLevelItem(row)->text(0);
        return out;
    }

    QByteArray saved;
    bool hadFile = false;
};

TEST_F(LogWindowTest, RowsAreNumberedAndHintedAndSavedWithTabs)
{
    TLogForm log;
    EXPECT_EQ(log.windowTitle(), "Журнал");
    EXPECT_EQ(log.LogCB->text(), "Вести  журнал");
    EXPECT_FALSE(log.LogCB->isChecked());
    EXPECT_EQ(log.Button1->text(), "Сохранить журнал в файл \"Log.txt\"");
    EXPECT_EQ(log.LogLV->headerItem()->text(1), "Операция");
    EXPECT_EQ(log.LogLV->headerItem()->text(2), "Строка");

    addRow(log, "Импорт", "Вопрос 1");
    QTreeWidgetItem *onlyOperation = addRow(log, "Генерация", nullptr);
    QTreeWidgetItem *middle = addRow(log, "Удаление", "");
    addRow(log, "Сохранение", "base.txb");
    EXPECT_EQ(numbers(log), QStringList({"1", "2", "3", "4"}));
    delete middle;
    EXPECT_EQ(numbers(log), QStringList({"1", "2", "3"}));

    EXPECT_EQ(TLogForm::LogLVInfoTip(log.LogLV->topLevelItem(0)), "Импорт\nВопрос 1");
    EXPECT_EQ(TLogForm::LogLVInfoTip(onlyOperation), "Генерация");
    EXPECT_EQ(TLogForm::LogLVInfoTip(new QTreeWidgetItem(log.LogLV)), "");

    // The hint appears over the row as the pointer rests on it.
    log.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&log));
    const QPoint at = log.LogLV->visualItemRect(log.LogLV->topLevelItem(0)).center();
    QHelpEvent tip(QEvent::ToolTip, at, log.LogLV->viewport()->mapToGlobal(at));
    QApplication::sendEvent(log.LogLV->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), "Импорт\nВопрос 1");
    QToolTip::hideText();

    QTest::mouseClick(log.Button1, Qt::LeftButton);
    const QByteArray expected = QByteArray::fromStdString(
        kv::text::toCp1251(QString::fromUtf8("Импорт\tВопрос 1\r\nСохранение\tbase.txb\r\n")));
    EXPECT_EQ(readFile(TLogForm::logFilePath()), expected);

    QTest::mouseClick(log.ClearBtn, Qt::LeftButton);
    EXPECT_EQ(log.LogLV->topLevelItemCount(), 0);
    QTest::mouseClick(log.Button1, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(TLogForm::logFilePath()));
    EXPECT_EQ(readFile(TLogForm::logFilePath()), QByteArray());

    QTest::mouseClick(log.OkBtn, Qt::LeftButton);
    EXPECT_FALSE(log.isVisible());
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(LogWindowTest, ExitSavesOnlyWhenTicked)
{
    {
        TLogForm log;
        addRow(log, "a", "b");
    }
    EXPECT_FALSE(QFileInfo::exists(TLogForm::logFilePath()));
    {
        TLogForm log;
        addRow(log, "a", "b");
        QTest::mouseClick(log.LogCB, Qt::LeftButton);
        ASSERT_TRUE(log.LogCB->isChecked());
    }
    EXPECT_EQ(readFile(TLogForm::logFilePath()), "a\tb\r\n");
}

TEST_F(WindowsTest, LogMenuItemStaysHidden)
{
    kv::base::createMissingBaseTables(dir.path());
    std::unique_ptr<AppWindows> windows = AppWindows::create();
    EXPECT_FALSE(windows->Form1->N13->isVisible());
    EXPECT_FALSE(windows->LogForm->isVisible());
}

} // namespace
