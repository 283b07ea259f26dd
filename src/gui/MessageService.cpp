#include "MessageService.h"

#include "core/app/ProjectInfo.h"
#include "widgets/UiHooks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <deque>

namespace kv::gui {

namespace {
struct State
{
    bool scripted = false;
    std::deque<MessageAnswer> answers;
    std::deque<QString> fileNames;
    QList<FileDialogRequest> fileDialogs;
    QList<ShownMessage> shown;
    QList<QUrl> urls;
};

State &state()
{
    static State s;
    return s;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// "Описание (*.ext )|*.ext|..." to the dialog's name filters.
QStringList nameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        result << description;
    }
    return result;
}

QString fileDialog(const FileDialogRequest &request, QWidget *parent, bool save)
{
    State &s = state();
    if (s.scripted) {
        s.fileDialogs.append(request);
        if (s.fileNames.empty())
            return {};
        QString name = s.fileNames.front();
        s.fileNames.pop_front();
        // As the dialog does: a name without extension gets the default one.
        if (!name.isEmpty() && !request.defaultSuffix.isEmpty() &&
            QFileInfo(name).suffix().isEmpty())
            name += QLatin1Char('.') + request.defaultSuffix;
        return name;
    }
    if (!parent)
        parent = QApplication::activeWindow();
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(nameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

MessageAnswer MessageService::show(const QString &title, const QString &text,
                                   MessageButtons buttons, MessageIcon icon, QWidget *parent)
{
    State &s = state();
    if (s.scripted) {
        s.shown.append({title, text, buttons, icon});
        MessageAnswer answer = MessageAnswer::Ok;
        if (!s.answers.empty()) {
            answer = s.answers.front();
            s.answers.pop_front();
        }
        if (buttons == MessageButtons::Ok)
            answer = MessageAnswer::Ok;
        return answer;
    }
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), title, text,
                    buttons == MessageButtons::Ok ? QMessageBox::Ok
                                                  : QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

bool MessageService::confirm(const QString &title, const QString &text, QWidget *parent)
{
    return show(title, text, MessageButtons::OkCancel, MessageIcon::Question, parent) ==
           MessageAnswer::Ok;
}

void MessageService::showError(const QString &text, QWidget *parent)
{
    show(QString::fromUtf8(kv::app::kApplicationTitle), text, MessageButtons::Ok, MessageIcon::Stop,
         parent);
}

void MessageService::showError(const std::exception &error, QWidget *parent)
{
    showError(kv::widgets::errorText(error.what()), parent);
}

QString MessageService::openFileName(const FileDialogRequest &request, QWidget *parent)
{
    return fileDialog(request, parent, false);
}

QString MessageService::saveFileName(const FileDialogRequest &request, QWidget *parent)
{
    return fileDialog(request, parent, true);
}

bool MessageService::choosePrinter(QPrinter &printer, QWidget *parent)
{
    State &s = state();
    if (s.scripted) {
        if (s.fileNames.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(s.fileNames.front());
        s.fileNames.pop_front();
        return true;
    }
    QPrintDialog dialog(&printer, parent ? parent : QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool MessageService::openUrl(const QUrl &url)
{
    State &s = state();
    if (s.scripted) {
        s.urls.append(url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

void MessageService::installWidgetHooks()
{
    kv::widgets::setUiHooks({
        [](const QString &title, const QString &text) { return confirm(title, text); },
        [](const QString &text) { showError(text); },
    });
}

void MessageService::beginScripted()
{
    State &s = state();
    s.scripted = true;
    s.answers.clear();
    s.fileNames.clear();
    s.shown.clear();
    s.urls.clear();
    s.fileDialogs.clear();
}

void MessageService::endScripted()
{
    State &s = state();
    s.scripted = false;
    s.answers.clear();
    s.fileNames.clear();
}

bool MessageService::scripted()
{
    return state().scripted;
}

void MessageService::queueAnswer(MessageAnswer answer)
{
    state().answers.push_back(answer);
}

void MessageService::queueFileName(const QString &fileName)
{
    state().fileNames.push_back(fileName);
}

const QList<FileDialogRequest> &MessageService::fileDialogs()
{
    return state().fileDialogs;
}

const QList<ShownMessage> &MessageService::shown()
{
    return state().shown;
}

const QList<QUrl> &MessageService::openedUrls()
{
    return state().urls;
}

void MessageService::clearShown()
{
    state().shown.clear();
    state().urls.clear();
    state().fileDialogs.clear();
}

ScriptedMessages::ScriptedMessages() : m_wasScripted(MessageService::scripted())
{
    MessageService::beginScripted();
}

ScriptedMessages::~ScriptedMessages()
{
    if (!m_wasScripted)
        MessageService::endScripted();
}

} // namespace kv::gui
