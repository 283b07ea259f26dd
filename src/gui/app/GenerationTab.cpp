// The "Генерация билетов" tab: the counters, the count fields and their
// rule for the repeats box, the switches of the per-group counts and of the
// ordering, the generation run, and the settings that keep the tab's (and the
// print tab's) controls between program runs.
#include "MainWindow.h"

#include "core/app/ProjectInfo.h"
#include "core/app/Settings.h"
#include "core/base/BaseTables.h"
#include "core/generator/CountRules.h"
#include "core/generator/GenerationRun.h"
#include "gui/MessageService.h"
#include "gui/base/ViewsSetAside.h"
#include "platform/dbf/FileLookup.h"
#include "platform/text/Cp1251.h"
#include "widgets/DropDownComboBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>

#include <algorithm>
#include <memory>

namespace kv::gui {

namespace gen = kv::generator;

namespace {

QString u(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The normal cursor while a message box of the run is open.
class NormalCursor
{
public:
    NormalCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalCursor() { QApplication::restoreOverrideCursor(); }
    NormalCursor(const NormalCursor &) = delete;
    NormalCursor &operator=(const NormalCursor &) = delete;
};

} // namespace

void TForm1::setUpGenerationTab()
{
    connect(EditKB, &QLineEdit::textChanged, this, &TForm1::EditKBChange);
    connect(EditKVB, &QLineEdit::textChanged, this, &TForm1::EditKVBChange);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(CheckBox6, &QCheckBox::toggled, this, &TForm1::CheckBox6Click);
}

// --- counters and count fields ---------------------------------------------------------

int TForm1::questionRecordCount() const
{
    return Table1.isOpen() ? Table1.recordCount() : 0;
}

int TForm1::groupRecordCount() const
{
    return Table2.isOpen() ? Table2.recordCount() : 0;
}

void TForm1::TabSheet5Show()
{
    LabelVVB->setText(u(gen::QuestionsInBaseLabel(questionRecordCount())));
    LabelGr->setText(u(gen::GroupsLabel(groupRecordCount())));
    // Each write runs the field's change step.
    if (EditKVB->text().isEmpty())
        EditKVB->setText(QStringLiteral("0"));
    if (EditKB->text().isEmpty())
        EditKB->setText(QStringLiteral("0"));
    const gen::CountState state =
        gen::EvaluateCounts(kv::text::toCp1251(EditKB->text()), kv::text::toCp1251(EditKVB->text()),
                            questionRecordCount());
    if (!state.readable) {
        MessageService::showError(u(state.error), this);
        return;
    }
    LabelVVB2->setText(u(state.totalLabel));
}

void TForm1::EditKBChange()
{
    countFieldChanged(EditKB);
}

void TForm1::EditKVBChange()
{
    countFieldChanged(EditKVB);
}

void TForm1::countFieldChanged(QLineEdit *field)
{
    if (field->text().isEmpty()) {
        // The write runs this step again with "0", which does the rest.
        field->setText(QStringLiteral("0"));
        return;
    }
    const gen::CountState state =
        gen::EvaluateCounts(kv::text::toCp1251(EditKB->text()), kv::text::toCp1251(EditKVB->text()),
                            questionRecordCount());
    if (!state.readable) {
        // Pasted or stored text that is no count: the counter and the
        // repeats box stay as they are.
        MessageService::showError(u(state.error), this);
        return;
    }
    LabelVVB2->setText(u(state.totalLabel));
    const gen::RepeatsBoxState box =
        gen::RepeatsBoxAfterCountChange(CheckBox1->isChecked(), state.repeatsForced);
    CheckBox1->setChecked(box.checked);
    CheckBox1->setEnabled(box.enabled);
}

// --- switches --------------------------------------------------------------------------

void TForm1::CheckBox2Click()
{
    RadioGroup1->setEnabled(CheckBox2->isChecked());
}

void TForm1::CheckBox6Click()
{
    // The field's background follows its enabled state (silver when
    // disabled, the window colour otherwise).
    if (CheckBox6->isChecked()) {
        EditKV->setEnabled(true);
        CheckBox3->setChecked(true);
        setRadioGroup1Index(1);
    } else {
        EditKV->setEnabled(false);
    }
}

int TForm1::radioGroup1Index() const
{
    if (RadioGroup1Npor->isChecked())
        return 0;
    if (RadioGroup1Group->isChecked())
        return 1;
    return -1;
}

void TForm1::setRadioGroup1Index(int index)
{
    index = std::clamp(index, -1, 1);
    if (index < 0) {
        // Exclusive buttons cannot all be cleared while exclusive.
        for (QRadioButton *b : {RadioGroup1Npor, RadioGroup1Group}) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
        return;
    }
    (index == 0 ? RadioGroup1Npor : RadioGroup1Group)->setChecked(true);
}

// --- the generation run ----------------------------------------------------------------

void TForm1::BitBtn1Click()
{
    kv::gui::WaitCursor wait;
    repaint();

    gen::GenerationParams params;
    params.ticketCountText = kv::text::toCp1251(EditKB->text());
    params.questionsPerTicketText = kv::text::toCp1251(EditKVB->text());
    params.allowRepeats = CheckBox1->isChecked();
    params.allowGroupRepeats = CheckBox3->isChecked();
    params.useGroupCounts = CheckBox6->isChecked();
    params.groupCountsText = kv::text::toCp1251(EditKV->text());
    params.orderQuestions = CheckBox2->isChecked();
    switch (radioGroup1Index()) {
    case 0:
        params.order = gen::TicketOrder::ByNumber;
        break;
    case 1:
        params.order = gen::TicketOrder::ByGroup;
        break;
    default:
        params.order = gen::TicketOrder::None;
        break;
    }

    gen::GenerationCallbacks callbacks;
    callbacks.showMessage = [this](const gen::GenerationMessage &m) {
        NormalCursor normal;
        const QString title =
            m.title.empty() ? QString::fromUtf8(kv::app::kApplicationTitle) : u(m.title);
        MessageIcon icon = MessageIcon::None;
        if (m.title == gen::kTitleError)
            icon = MessageIcon::Stop;
        else if (m.title == gen::kTitleAttention)
            icon = MessageIcon::Warning;
        MessageService::show(title, u(m.text), MessageButtons::Ok, icon, this);
    };
    callbacks.setBox = [this](gen::RuleBox box, bool checked) {
        (box == gen::RuleBox::Repeats ? CheckBox1 : CheckBox3)->setChecked(checked);
    };
    // A long drawing shows its progress after a second and may be stopped;
    // a stopped run stores nothing.
    std::unique_ptr<QProgressDialog> progress;
    callbacks.progress = [&](int done, int total) {
        if (!progress) {
            progress =
                std::make_unique<QProgressDialog>(QStringLiteral("Составление билетов..."),
                                                  QStringLiteral("Прервать"), 0, total, this);
            progress->setWindowTitle(QStringLiteral("Генерация билетов"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(1000);
        }
        progress->setValue(done);
        return !progress->wasCanceled();
    };

    // The run replaces the tickets file: its views are closed meanwhile and
    // reopened after, with their filter as it was.
    const bool ticketsOpen = Table3.isOpen();
    if (ticketsOpen && !runGuarded([this] { Table3.close(); }))
        return;
    runGuarded([&] {
        gen::RunGeneration(gen::GenerationTables::inFolder(QString::fromStdString(ProgramDir)),
                           params, callbacks);
    });
    progress.reset();
    if (ticketsOpen)
        runGuarded([this] { Table3.open(); });
}

// --- settings --------------------------------------------------------------------------

QString TForm1::settingsPath() const
{
    const std::string path = kv::dbf::resolvePathNoCase(
        kv::base::tablePath(QString::fromStdString(ProgramDir), kv::app::kSettingsFile));
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TForm1::LoadSettings()
{
    const kv::app::ProgramSettings s = kv::app::LoadSettingsFile(settingsPath());
    using kv::text::fromCp1251;
    // Each value runs its control's change or click step; the order matters
    // (see Settings.h): the radio group comes last so that its stored index
    // wins over the per-group switch.
    EditKB->setText(fromCp1251(s.EditKB));
    EditKVB->setText(fromCp1251(s.EditKVB));
    EditKV->setText(fromCp1251(s.EditKV));
    ComboBoxSh->setCurrentText(fromCp1251(s.ComboBoxSh));
    CheckBox1->setChecked(s.CheckBox1);
    CheckBox2->setChecked(s.CheckBox2);
    CheckBox3->setChecked(s.CheckBox3);
    CheckBox4->setChecked(s.CheckBox4);
    CheckBox5->setChecked(s.CheckBox5);
    CheckBox6->setChecked(s.CheckBox6);
    CheckBoxSh->setChecked(s.CheckBoxSh);
    setRadioGroup1Index(s.RadioGroup1);
    m_settingsRead = true;
}

void TForm1::SaveSettings()
{
    using kv::text::toCp1251;
    kv::app::ProgramSettings s;
    s.EditKB = toCp1251(EditKB->text());
    s.EditKVB = toCp1251(EditKVB->text());
    s.EditKV = toCp1251(EditKV->text());
    s.ComboBoxSh = toCp1251(ComboBoxSh->currentText());
    s.CheckBox1 = CheckBox1->isChecked();
    s.CheckBox2 = CheckBox2->isChecked();
    s.CheckBox3 = CheckBox3->isChecked();
    s.CheckBox4 = CheckBox4->isChecked();
    s.CheckBox5 = CheckBox5->isChecked();
    s.CheckBox6 = CheckBox6->isChecked();
    s.CheckBoxSh = CheckBoxSh->isChecked();
    s.RadioGroup1 = radioGroup1Index();
    QString error;
    if (!kv::app::SaveSettingsFile(settingsPath(), s, &error))
        MessageService::showError(error, this);
}

} // namespace kv::gui
