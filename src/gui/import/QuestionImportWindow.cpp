#include "QuestionImportWindow.h"

#include "core/import/Imports.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "gui/import/GroupChooserWindow.h"
#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"
#include "widgets/DigitKeyFilter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::gui {

namespace {
// Blank after trimming the codes 0..32, as the import reads the field.
bool isBlank(const QLineEdit *edit)
{
    return kv::text::Trim(kv::text::toCp1251(edit->text())).empty();
}
} // namespace

TForm2::TForm2(QWidget *parent)
    : ListImportWindow(parent, QStringLiteral("TForm2"), QStringLiteral("Загрузка вопросов в базу"),
                       QStringLiteral("Текст вопросов. Каждая строка является текстом одного "
                                      "вопроса. Если строка пуста, то группа +1"))
{
    GroupBox1 = new QGroupBox(QStringLiteral(" Параметры загрузки в базу "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *row = new QHBoxLayout(GroupBox1);

    CheckBox1 = new QCheckBox(QStringLiteral("Присвоить группу №"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    row->addWidget(CheckBox1);

    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(60);
    Edit1->setEnabled(false);
    kv::widgets::DigitKeyFilter::install(Edit1);
    row->addWidget(Edit1);

    BitBtn1 = new QPushButton(GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BitBtn1->setFixedSize(28, 26);
    BitBtn1->setAutoDefault(false);
    BitBtn1->setEnabled(false);
    row->addWidget(BitBtn1);
    row->addStretch(1);

    body()->addWidget(GroupBox1);
    finishLayout();

    connect(CheckBox1, &QCheckBox::toggled, this, &TForm2::CheckBox1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
}

void TForm2::CheckBox1Click()
{
    Edit1->setEnabled(CheckBox1->isChecked());
    BitBtn1->setEnabled(CheckBox1->isChecked());
    if (CheckBox1->isChecked() && isBlank(Edit1))
        Edit1->setText(QStringLiteral("1"));
}

void TForm2::BitBtn1Click()
{
    auto *chooser = Form1 ? qobject_cast<TForm5 *>(Form1->Form5) : nullptr;
    if (!chooser)
        return;
    const int result = chooser->exec();
    if (result > 10)
        Edit1->setText(QString::number(result - 10));
}

void TForm2::N3_ZagrClick()
{
    if (!Form1)
        return;
    std::vector<std::string> lines;
    if (!takeLines(lines))
        return;
    kv::import::QuestionImportOptions options;
    options.assignGroup = CheckBox1->isChecked();
    if (options.assignGroup && isBlank(Edit1))
        Edit1->setText(QStringLiteral("1"));
    options.groupText = kv::text::toCp1251(Edit1->text());

    const bool done = runGuarded([&] {
        ImportWorkGuard guard(Form1->Table1);
        const kv::import::ImportResult result =
            kv::import::importQuestions(Form1->Table1, lines, options);
        if (options.assignGroup)
            Edit1->setText(kv::text::fromCp1251(result.groupText));
    });
    if (!done)
        return;
    accept();
    Form1->PageControl1->setCurrentWidget(Form1->TabSheet1);
}

} // namespace kv::gui
