// The "Печать билетов" tab: the tickets laid out as text (plainly or through
// a template), the indent slider, printing, saving and opening the RTF file;
// and "Сгенерировать и просмотреть" on the generation tab.
#include "gui/app/MainWindow.h"

#include "core/base/BaseTables.h"
#include "core/base/GroupLookup.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "gui/MessageService.h"
#include "gui/base/ViewsSetAside.h"
#include "platform/text/Cp1251.h"
#include "widgets/DropDownComboBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include <memory>

namespace kv::gui {

void TForm1::setUpPrintTab()
{
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(ComboBoxSh, &kv::widgets::DropDownComboBox::dropDown, this,
            &TForm1::ComboBoxShDropDown);
}

void TForm1::setOutputCommandsEnabled(bool enabled)
{
    for (QPushButton *b : {Button3, BitBtn4, BitBtn2, BitBtn3, Button4})
        b->setEnabled(enabled);
}

std::string TForm1::LookupGroupName(std::int64_t group)
{
    return kv::base::LookupGroupName(Table2_1, group);
}

void TForm1::Button3Click()
{
    // One layout at a time: the commands stay disabled while it runs, and
    // the progress dialog lets window events through.
    if (m_layoutRunning)
        return;
    m_layoutRunning = true;
    setOutputCommandsEnabled(false);
    {
        WaitCursor busy;
        RichEdit1->clear();
        RichEdit1->setLineWrapMode(QTextEdit::NoWrap);

        kv::output::LayoutOptions options;
        options.groupNumbers = CheckBox5->isChecked();
        options.runningNumbers = CheckBox4->isChecked();
        options.indent = TrackBar1->value();
        options.useTemplate = CheckBoxSh->isChecked();
        options.templateName = kv::text::toCp1251(ComboBoxSh->currentText());

        // A long layout shows its progress after a second and may be stopped;
        // what was laid out until then stays.
        std::unique_ptr<QProgressDialog> progress;
        int shownAt = 0;
        const auto step = [&](int done, int total) {
            if (done - shownAt < 64 && done != total)
                return true;
            shownAt = done;
            if (!progress) {
                progress = std::make_unique<QProgressDialog>(
                    QStringLiteral("Получение билетов в текстовом виде..."),
                    QStringLiteral("Прервать"), 0, total, this);
                progress->setWindowTitle(QStringLiteral("Печать билетов"));
                progress->setWindowModality(Qt::WindowModal);
                progress->setMinimumDuration(1000);
            }
            progress->setMaximum(total);
            progress->setValue(done);
            return !progress->wasCanceled();
        };
        const QString sys = QDir(QString::fromStdString(ProgramDir))
                                .filePath(QString::fromLatin1(kv::base::kSysFolder));
        const kv::output::LayoutResult result = kv::output::LayOutTickets(
            Table3, *RichEdit1->document(), options, sys,
            [this](std::int64_t group) { return LookupGroupName(group); }, step);
        progress.reset();
        if (result.pageSettings)
            TemplatePageSettings = *result.pageSettings;
        if (result.kind == kv::output::LayoutKind::MissingTemplate)
            ComboBoxSh->setEditText(QString());

        RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
        RichEdit1->viewport()->repaint();
    }
    setOutputCommandsEnabled(true);
    m_layoutRunning = false;
}

void TForm1::BitBtn4Click()
{
    // Whatever the generation's outcome, the stored tickets are shown.
    BitBtn1Click();
    PageControl1->setCurrentWidget(TabSheet7);
    Button3Click();
}

void TForm1::TrackBar1Change()
{
    kv::output::SetStartIndent(*RichEdit1->document(), TrackBar1->value());
}

void TForm1::ComboBoxShDropDown()
{
    const QString text = ComboBoxSh->currentText();
    ComboBoxSh->clear();
    const QString sys = QDir(QString::fromStdString(ProgramDir))
                            .filePath(QString::fromLatin1(kv::base::kSysFolder));
    for (const QString &name : kv::output::TemplateNames(sys))
        ComboBoxSh->addItem(name);
    ComboBoxSh->setEditText(text);
}

void TForm1::BitBtn2Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setCollateCopies(true);
    if (!MessageService::choosePrinter(printer, this))
        return;
    printer.setDocName(QString());
    WaitCursor busy;
    kv::output::PrintTickets(*RichEdit1->document(), printer);
}

QString TForm1::saveTickets()
{
    FileDialogRequest request;
    request.fileName = m_lastSaveName;
    request.filter = QStringLiteral("Текст в формате RTF (*.rtf )|*.rtf");
    request.defaultSuffix = QStringLiteral("rtf");
    const QString path = MessageService::saveFileName(request, this);
    if (path.isEmpty())
        return {};
    m_lastSaveName = path;
    if (QFile::exists(path) &&
        MessageService::show(QStringLiteral("Файл уже существует!"),
                             QStringLiteral("Заменить его новым?"), MessageButtons::OkCancel,
                             MessageIcon::None, this) != MessageAnswer::Ok)
        return path;
    if (!kv::output::SaveTicketsRtf(*RichEdit1->document(), TemplatePageSettings, path))
        MessageService::show(QStringLiteral("ОШИБКА"),
                             QStringLiteral("Файл возможно занят другой программой!"),
                             MessageButtons::Ok, MessageIcon::None, this);
    return path;
}

void TForm1::BitBtn3Click()
{
    saveTickets();
}

void TForm1::Button4Click()
{
    const QString path = saveTickets();
    if (!path.isEmpty() && QFile::exists(path))
        MessageService::openUrl(QUrl::fromLocalFile(path));
}

} // namespace kv::gui
