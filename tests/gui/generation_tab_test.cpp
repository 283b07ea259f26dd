// The generation tab driven as a user drives it: the count fields and the
// repeats box, the switches, a generation run from the window, and the
// settings restored at start-up and written at exit.
#include "core/base/BaseTables.h"
#include "core/generator/RandomSource.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/text/Cp1251.h"
#include "widgets/DropDownComboBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

using namespace kv::gui;

namespace {

class GenerationTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        kv::base::createMissingBaseTables(dir.path());
        kv::generator::SeedRandom(7);
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    // `count` questions in each group, in the order given.
    void addQuestions(const std::vector<std::pair<int, int>> &groupCounts)
    {
        kv::store::Table t;
        t.setFileName(kv::base::kQuestionsFile);
        t.open();
        int npor = 0;
        for (const auto &[group, count] : groupCounts) {
            for (int i = 0; i < count; ++i) {
                t.append();
                t.setIntegerField("NPOR", ++npor);
                t.setIntegerField("NGRUPPY", group);
                t.setTextField("VOPROS", "Q" + std::to_string(npor));
                t.post();
            }
        }
    }

    void addGroups(int count)
    {
        kv::store::Table t;
        t.setFileName(kv::base::kGroupsFile);
        t.open();
        for (int g = 1; g <= count; ++g) {
            t.append();
            t.setIntegerField("NGRUPPY", g);
            t.setTextField("NAMEGRUPPA", "G" + std::to_string(g));
            t.post();
        }
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Replaces the field's text by typing, as a user selects it and types.
    static void retype(QLineEdit *field, const char *text)
    {
        field->setFocus();
        field->selectAll();
        if (*text)
            QTest::keyClicks(field, text);
        else
            QTest::keyClick(field, Qt::Key_Backspace);
    }

    static std::unique_ptr<TForm1> shownForm()
    {
        auto form = std::make_unique<TForm1>();
        form->show();
        form->PageControl1->setCurrentWidget(form->TabSheet5);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }

    static void click(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
};

TEST_F(GenerationTabTest, CountsForceRepeatsAndReleaseThemKeepingTheTick)
{
    addQuestions({{1, 100}});
    addGroups(3);
    auto form = shownForm();
    EXPECT_EQ(form->LabelVVB->text(), "Всего вопросов в базе - 100");
    EXPECT_EQ(form->LabelGr->text(), "Групп - 3");
    EXPECT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 144");

    retype(form->EditKB, "12"); // 12 × 9 = 108 > 100
    EXPECT_EQ(form->EditKB->text(), "12");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_FALSE(form->CheckBox1->isEnabled());
    EXPECT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 108");

    retype(form->EditKVB, "8"); // 96: enabled again, the tick stays
    EXPECT_TRUE(form->CheckBox1->isEnabled());
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 96");

    click(form->CheckBox1);
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(GenerationTabTest, CountFieldsTakeDigitsOnlyAndAnEmptiedFieldBecomesZero)
{
    addQuestions({{1, 10}});
    auto form = shownForm();
    for (QLineEdit *field : {form->EditKB, form->EditKVB}) {
        SCOPED_TRACE(field->objectName().toStdString());
        for (const char *typed : {"a", "-", "+", " ", "x5"}) {
            field->setFocus();
            field->end(false);
            const QString before = field->text();
            QTest::keyClicks(field, typed);
            const QString expected = QString::fromLatin1(typed) == "x5" ? before + "5" : before;
            EXPECT_EQ(field->text(), expected) << typed;
        }
        retype(field, "");
        EXPECT_EQ(field->text(), "0");
        EXPECT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 0");
        retype(field, "3");
    }
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(GenerationTabTest, PastedTextThatIsNoCountIsReportedAndChangesNothingElse)
{
    addQuestions({{1, 10}});
    auto form = shownForm();
    retype(form->EditKB, "2");
    retype(form->EditKVB, "3");
    ASSERT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 6");
    ASSERT_TRUE(form->CheckBox1->isEnabled());
    click(form->CheckBox1); // forced on while the counts were typed
    ASSERT_FALSE(form->CheckBox1->isChecked());

    form->EditKVB->setFocus();
    form->EditKVB->end(false);
    form->EditKVB->insert(QStringLiteral("ab")); // what a paste does
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_EQ(form->LabelVVB2->text(), "Всего вопросов в билетах - 6");
    EXPECT_TRUE(form->CheckBox1->isEnabled());
    EXPECT_FALSE(form->CheckBox1->isChecked());
}

TEST_F(GenerationTabTest, SwitchesCascadeOneWayOnly)
{
    auto form = shownForm();
    ASSERT_FALSE(form->EditKV->isEnabled());
    ASSERT_TRUE(form->RadioGroup1Npor->isChecked());

    click(form->CheckBox6);
    EXPECT_TRUE(form->EditKV->isEnabled());
    EXPECT_TRUE(form->CheckBox3->isChecked());
    EXPECT_TRUE(form->RadioGroup1Group->isChecked());

    click(form->CheckBox6);
    EXPECT_FALSE(form->EditKV->isEnabled());
    EXPECT_TRUE(form->CheckBox3->isChecked());
    EXPECT_TRUE(form->RadioGroup1Group->isChecked());

    click(form->CheckBox2);
    EXPECT_FALSE(form->RadioGroup1->isEnabled());
    EXPECT_TRUE(form->RadioGroup1Group->isChecked());
    click(form->CheckBox2);
    EXPECT_TRUE(form->RadioGroup1->isEnabled());
    EXPECT_TRUE(form->RadioGroup1Group->isChecked());
}

TEST_F(GenerationTabTest, RunStoresTicketsShowsTheRelaxationAndClearsTheBoxAgain)
{
    // Group 1 runs out after five tickets of two questions.
    addQuestions({{1, 5}, {2, 15}});
    auto form = shownForm();
    form->Table3.setFilter("NBILETA=1");
    retype(form->EditKB, "10");
    retype(form->EditKVB, "2");
    ASSERT_TRUE(form->CheckBox1->isEnabled());
    click(form->CheckBox1); // forced on while the counts were typed
    ASSERT_FALSE(form->CheckBox1->isChecked());

    std::vector<bool> repeatsBox;
    QObject::connect(form->CheckBox1, &QCheckBox::toggled,
                     [&](bool checked) { repeatsBox.push_back(checked); });
    MessageService::queueAnswer(MessageAnswer::Ok);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);

    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "ВНИМАНИЕ");
    EXPECT_EQ(MessageService::shown()[0].text,
              "Не могу выполнить, поэтому включаю повтор вопросов с билета №6");
    EXPECT_EQ(repeatsBox, (std::vector<bool>{true, false}));
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The view is open again with its filter; the file holds all 20 places.
    ASSERT_TRUE(form->Table3.isOpen());
    EXPECT_EQ(form->Table3.filter(), "NBILETA=1");
    EXPECT_EQ(form->Table3.recordCount(), 2);
    form->Table3.setFiltered(false);
    EXPECT_EQ(form->Table3.recordCount(), 20);
}

TEST_F(GenerationTabTest, RefusedRunsLeaveTheStoredTicketsAndNameTheirReason)
{
    addQuestions({{1, 10}, {2, 10}, {3, 10}});
    addGroups(3);
    auto form = shownForm();
    retype(form->EditKB, "3");
    retype(form->EditKVB, "2");
    // "Сгенерировать и просмотреть" generates first.
    QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
    ASSERT_TRUE(MessageService::shown().isEmpty());
    ASSERT_EQ(form->Table3.recordCount(), 6);

    click(form->CheckBox6);
    retype(form->EditKVB, "7");
    struct Case
    {
        const char *counts;
        const char *title;
        const char *text;
    };
    for (const Case &c :
         {Case{"2 2", "Квиртон", "Ошибка! Кол. вопросов в билете > суммы заданного кол. из групп"},
          Case{"2,2,3", "ОШИБКА !!!", "Ошибка генерации билетов"}}) {
        SCOPED_TRACE(c.counts);
        MessageService::clearShown();
        form->EditKV->setFocus();
        form->EditKV->selectAll();
        QTest::keyClicks(form->EditKV, c.counts);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        ASSERT_EQ(MessageService::shown().size(), 1);
        EXPECT_EQ(MessageService::shown()[0].title, c.title);
        EXPECT_TRUE(MessageService::shown()[0].text.startsWith(c.text))
            << MessageService::shown()[0].text.toStdString();
        EXPECT_TRUE(form->Table3.isOpen());
        EXPECT_EQ(form->Table3.recordCount(), 6);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(GenerationTabTest, FirstStartShowsDefaultsAndExitWritesTheKeysInOrder)
{
    {
        auto form = shownForm();
        EXPECT_EQ(form->EditKB->text(), "16");
        EXPECT_EQ(form->EditKVB->text(), "9");
        EXPECT_TRUE(form->CheckBox2->isChecked());
        EXPECT_TRUE(form->RadioGroup1Npor->isChecked());
        retype(form->EditKB, "20");
        click(form->CheckBox6);
        QTest::keyClicks(form->EditKV, "2 1");
        click(form->CheckBox4);
        form->ComboBoxSh->setCurrentText(QStringLiteral("шаблон.rtf"));
    }
    EXPECT_TRUE(MessageService::shown().isEmpty());
    const QByteArray expected =
        "[MAIN]\r\n"
        "EditKB=20\r\n"
        "EditKVB=9\r\n"
        "EditKV=2 1\r\n"
        "CheckBox1=1\r\n" // 20 × 9 > 0 questions
        "CheckBox2=1\r\n"
        "CheckBox3=1\r\n"
        "CheckBox4=1\r\n"
        "CheckBox5=0\r\n"
        "CheckBox6=1\r\n"
        "CheckBoxSh=0\r\n"
        "ComboBoxSh=" +
        QByteArray::fromStdString(kv::text::toCp1251(QStringLiteral("шаблон.rtf"))) +
        "\r\n"
        "RadioGroup1=1\r\n";
    EXPECT_EQ(readFile(QStringLiteral("Sys/sys.ini")), expected);
}

TEST_F(GenerationTabTest, StoredSettingsAreRestoredWithTheirCascades)
{
    addQuestions({{1, 50}});
    // Another letter case than the program's own name of the file.
    writeFile(QStringLiteral("Sys/SYS.INI"),
              "[MAIN]\r\nEditKB=10\r\nEditKVB=\r\nCheckBox1=0\r\nCheckBox2=0\r\nCheckBox3=0\r\n"
              "CheckBox5=1\r\nCheckBox6=1\r\nCheckBoxSh=1\r\nComboBoxSh=t.rtf\r\n"
              "RadioGroup1=0\r\n");
    auto form = shownForm();
    EXPECT_EQ(form->EditKB->text(), "10");
    EXPECT_EQ(form->EditKVB->text(), "0");
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_FALSE(form->CheckBox2->isChecked());
    EXPECT_FALSE(form->RadioGroup1->isEnabled());
    EXPECT_TRUE(form->CheckBox3->isChecked()); // ticked by the per-group switch
    EXPECT_TRUE(form->EditKV->isEnabled());
    EXPECT_TRUE(form->RadioGroup1Npor->isChecked()); // the stored index wins
    EXPECT_FALSE(form->CheckBox4->isChecked());
    EXPECT_TRUE(form->CheckBox5->isChecked());
    EXPECT_TRUE(form->CheckBoxSh->isChecked());
    EXPECT_EQ(form->ComboBoxSh->currentText(), "t.rtf");
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(GenerationTabTest, RadioIndexIsLimitedAndStoredMinusOneMeansNone)
{
    struct Case
    {
        const char *stored;
        bool npor, group;
        const char *written;
    };
    for (const Case &c :
         {Case{"5", false, true, "RadioGroup1=1"}, Case{"-3", false, false, "RadioGroup1=-1"},
          Case{"yes", true, false, "RadioGroup1=0"}}) {
        SCOPED_TRACE(c.stored);
        writeFile(QStringLiteral("Sys/sys.ini"),
                  QByteArray("[MAIN]\r\nRadioGroup1=") + c.stored + "\r\n");
        {
            auto form = shownForm();
            EXPECT_EQ(form->RadioGroup1Npor->isChecked(), c.npor);
            EXPECT_EQ(form->RadioGroup1Group->isChecked(), c.group);
        }
        EXPECT_TRUE(readFile(QStringLiteral("Sys/sys.ini")).contains(c.written));
    }
}

TEST_F(GenerationTabTest, FailedWriteAtExitIsReported)
{
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("Sys/sys.ini"))); // a folder: cannot be written
    {
        auto form = shownForm();
        ASSERT_TRUE(MessageService::shown().isEmpty());
    }
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, "Квиртон");
    EXPECT_TRUE(MessageService::shown()[0].text.contains(QStringLiteral("sys.ini")))
        << MessageService::shown()[0].text.toStdString();
}

} // namespace
