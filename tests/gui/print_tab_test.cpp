// The "Печать билетов" tab driven as a user drives it: generate and view,
// the template list and the template branch, the indent slider, saving with
// its questions, save and open, and printing to a PDF file.
#include "core/base/BaseTables.h"
#include "core/generator/RandomSource.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"
#include "widgets/DropDownComboBox.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

using namespace kv::gui;

namespace {

class PrintTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        kv::base::createMissingBaseTables(dir.path());
        kv::generator::SeedRandom(3);
        kv::store::Table groups;
        groups.setFileName(kv::base::kGroupsFile);
        groups.open();
        kv::store::Table questions;
        questions.setFileName(kv::base::kQuestionsFile);
        questions.open();
        for (int g = 1; g <= 2; ++g) {
            groups.append();
            groups.setIntegerField("NGRUPPY", g);
            groups.setTextField("NAMEGRUPPA",
                                kv::text::toCp1251(QStringLiteral("Раздел %1").arg(g)));
            groups.post();
            for (int i = 1; i <= 3; ++i) {
                questions.append();
                questions.setIntegerField("NPOR", (g - 1) * 3 + i);
                questions.setIntegerField("NGRUPPY", g);
                const std::string text =
                    kv::text::toCp1251(QStringLiteral("Вопрос %1.%2").arg(g).arg(i));
                questions.setTextField("VOPROS", text);
                questions.setTextField("VOPRMEMO", text);
                questions.post();
            }
        }
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    std::unique_ptr<TForm1> shownForm()
    {
        auto form = std::make_unique<TForm1>();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }

    // Three tickets of two questions, laid out through the generation tab.
    void generateAndView(TForm1 &form)
    {
        form.PageControl1->setCurrentWidget(form.TabSheet5);
        form.EditKB->setText(QStringLiteral("3"));
        form.EditKVB->setText(QStringLiteral("2"));
        QTest::mouseClick(form.BitBtn4, Qt::LeftButton);
    }

    void writeTemplate(const QString &name, const QByteArray &rtf)
    {
        QFile f(dir.filePath(QStringLiteral("Sys/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList lines(const TForm1 &form)
    {
        return form.RichEdit1->toPlainText().split(u'\n');
    }

    QTemporaryDir dir;
    QString oldCurrent;
    ScriptedMessages messages;
};

const QByteArray kTemplate = "{\\rtf1\\ansi\\ansicpg1251\\paperw11906\\paperh16838\\margl1701"
                             "\\gutter0{\\fonttbl{\\f0\\fcharset204 Arial;}}"
                             "\\pard\\qc #NBILETA#\\'c1\\'e8\\'eb\\'e5\\'f2 %NBILETA%\\par"
                             "\\pard #NGRUPPY#%NAMEGRUPPA%\\par"
                             "\\pard #NVOPROSA#%NVOPROSAGRUPPY%) %VOPRMEMO%\\par}";

TEST_F(PrintTabTest, GenerateAndViewLaysOutTheNewTickets)
{
    auto form = shownForm();
    generateAndView(*form);
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet7);
    const QStringList text = lines(*form);
    EXPECT_EQ(text.count(QStringLiteral("БИЛЕТ №1")), 1);
    EXPECT_EQ(text.count(QStringLiteral("БИЛЕТ №3")), 1);
    EXPECT_EQ(text.filter(QRegularExpression(QStringLiteral("^[12]\\.\tВопрос"))).size(), 6);
    EXPECT_EQ(form->RichEdit1->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_TRUE(form->Table3.filtered());
    for (QPushButton *b :
         {form->Button3, form->BitBtn4, form->BitBtn2, form->BitBtn3, form->Button4})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(form->TemplatePageSettings.empty());
}

TEST_F(PrintTabTest, RefusedGenerationShowsTheTicketsStoredBefore)
{
    auto form = shownForm();
    generateAndView(*form);
    const QString before = form->RichEdit1->toPlainText();
    MessageService::clearShown();
    form->PageControl1->setCurrentWidget(form->TabSheet5);
    form->CheckBox6->click();
    form->EditKV->setText(QStringLiteral("1"));
    form->EditKVB->setText(QStringLiteral("3"));
    QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_TRUE(
        MessageService::shown()[0].text.startsWith(QStringLiteral("Ошибка! Кол. вопросов")));
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet7);
    EXPECT_EQ(form->RichEdit1->toPlainText(), before);
}

TEST_F(PrintTabTest, TemplateChosenFromTheListAndSavedWithItsPageSettings)
{
    writeTemplate(QStringLiteral("Билет.rtf"), kTemplate);
    writeTemplate(QStringLiteral("a.RTF"), "{\\rtf1 }");
    auto form = shownForm();
    generateAndView(*form);

    // Opening the list fills it from Sys; the typed text stays.
    form->ComboBoxSh->setEditText(QStringLiteral("typed"));
    form->ComboBoxSh->showPopup();
    ASSERT_EQ(form->ComboBoxSh->count(), 2);
    EXPECT_EQ(form->ComboBoxSh->itemText(0), QStringLiteral("a.RTF"));
    EXPECT_EQ(form->ComboBoxSh->currentText(), QStringLiteral("typed"));
    form->ComboBoxSh->hidePopup();
    form->ComboBoxSh->setCurrentIndex(1);
    form->CheckBoxSh->setChecked(true);
    QTest::mouseClick(form->Button3, Qt::LeftButton);

    const QStringList text = lines(*form);
    EXPECT_EQ(text.value(0), QStringLiteral("Билет 1"));
    EXPECT_EQ(text.value(1), QStringLiteral("Раздел 1"));
    EXPECT_TRUE(text.value(2).startsWith(QStringLiteral("1) Вопрос 1.")));
    EXPECT_EQ(form->TemplatePageSettings, "\\paperw11906\\paperh16838\\margl1701");

    // Save: the dialog adds the extension; the page settings follow "{\rtf1".
    MessageService::clearShown();
    MessageService::queueFileName(dir.filePath(QStringLiteral("билеты")));
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    const QString saved = dir.filePath(QStringLiteral("билеты.rtf"));
    const QByteArray bytes = readFile(saved);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\paperw11906\\paperh16838\\margl1701\\"));
    EXPECT_TRUE(MessageService::shown().isEmpty());
    const FileDialogRequest request = MessageService::fileDialogs().constLast();
    EXPECT_EQ(request.filter, QStringLiteral("Текст в формате RTF (*.rtf )|*.rtf"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("rtf"));

    // Save and open an existing file: Cancel keeps it and it opens as it was.
    form->RichEdit1->setPlainText(QStringLiteral("другой текст"));
    MessageService::queueFileName(saved);
    MessageService::queueAnswer(MessageAnswer::Cancel);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_EQ(MessageService::fileDialogs().constLast().fileName, saved); // the last name offered
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, QStringLiteral("Файл уже существует!"));
    EXPECT_EQ(MessageService::shown()[0].text, QStringLiteral("Заменить его новым?"));
    EXPECT_EQ(readFile(saved), bytes);
    ASSERT_FALSE(MessageService::openedUrls().isEmpty());
    EXPECT_EQ(MessageService::openedUrls().constLast(), QUrl::fromLocalFile(saved));

    // Cancelling the dialog writes and opens nothing.
    const auto opened = MessageService::openedUrls().size();
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_EQ(MessageService::openedUrls().size(), opened);
}

TEST_F(PrintTabTest, MissingTemplateEmptiesTheNameAndKeepsPageSettings)
{
    auto form = shownForm();
    generateAndView(*form);
    form->TemplatePageSettings = "\\paperw100";
    form->CheckBoxSh->setChecked(true);
    form->ComboBoxSh->setEditText(QStringLiteral("../Sys/nothing.rtf"));
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    EXPECT_TRUE(form->RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(form->ComboBoxSh->currentText().isEmpty());
    EXPECT_EQ(form->TemplatePageSettings, "\\paperw100");
    EXPECT_TRUE(MessageService::shown().isEmpty());
}

TEST_F(PrintTabTest, SliderShiftsEveryParagraphUntilTheNextLayout)
{
    auto form = shownForm();
    generateAndView(*form);
    form->TrackBar1->setValue(5);
    const QTextDocument *doc = form->RichEdit1->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        EXPECT_EQ(b.blockFormat().leftMargin() + b.blockFormat().textIndent(), 40)
            << b.text().toStdString();
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    const QTextBlockFormat question = doc->findBlockByNumber(3).blockFormat();
    EXPECT_EQ(question.leftMargin() + question.textIndent(), 0); // from the margin again
    EXPECT_EQ(question.textIndent(), -(5 * 8 + 19));
}

TEST_F(PrintTabTest, FailedSaveIsReportedAndNothingOpens)
{
    auto form = shownForm();
    generateAndView(*form);
    MessageService::clearShown();
    const QString path = dir.filePath(QStringLiteral("missing/x.rtf"));
    MessageService::queueFileName(path);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    ASSERT_EQ(MessageService::shown().size(), 1);
    EXPECT_EQ(MessageService::shown()[0].title, QStringLiteral("ОШИБКА"));
    EXPECT_EQ(MessageService::shown()[0].text,
              QStringLiteral("Файл возможно занят другой программой!"));
    EXPECT_TRUE(MessageService::openedUrls().isEmpty());
}

TEST_F(PrintTabTest, PrintingToPdfProducesThePages)
{
    auto form = shownForm();
    generateAndView(*form);
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton); // cancelled: nothing
    const QString pdf = dir.filePath(QStringLiteral("tickets.pdf"));
    MessageService::queueFileName(pdf);
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    const QByteArray bytes = readFile(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              1);
}

} // namespace
