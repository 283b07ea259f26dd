#include "MessageService.h"

#include "core/app/ProjectInfo.h"
#include "widgets/UiHooks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <deque>

namespace kv::gui {

namespace {
struct State
{
    bool scripted = false;
    std::deque<MessageAnswer> answers;
    QList<ShownMessage> shown;
    QList<QUrl> urls;
    std::deque<QString> fileNames;
    QList<ShownFileDialog> fileDialogs;
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

// "desc|pattern|desc|pattern" -> "desc;;desc"; a description without the
// pattern in brackets gets it appended, as the dialog reads it from there.
QString dialogFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (description.contains(QLatin1Char('(')))
            out << description;
        else
            out << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return out.join(QLatin1String(";;"));
}

QString withSuffix(const QString &fileName, const QString &defaultSuffix)
{
    if (fileName.isEmpty() || defaultSuffix.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + defaultSuffix;
}

QString fileDialog(bool save, const QString &title, const QString &folder, const QString &filter,
                   const QString &defaultSuffix, QWidget *parent)
{
    State &s = state();
    if (s.scripted) {
        s.fileDialogs.append({save, title, folder, filter, defaultSuffix});
        QString name;
        if (!s.fileNames.empty()) {
            name = s.fileNames.front();
            s.fileNames.pop_front();
        }
        return withSuffix(name, defaultSuffix);
    }
    if (!parent)
        parent = QApplication::activeWindow();
    QFileDialog dialog(parent, title, folder, dialogFilter(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(defaultSuffix);
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

bool MessageService::openUrl(const QUrl &url)
{
    State &s = state();
    if (s.scripted) {
        s.urls.append(url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

QString MessageService::openFileName(const QString &title, const QString &folder,
                                     const QString &filter, const QString &defaultSuffix,
                                     QWidget *parent)
{
    return fileDialog(false, title, folder, filter, defaultSuffix, parent);
}

QString MessageService::saveFileName(const QString &title, const QString &folder,
                                     const QString &filter, const QString &defaultSuffix,
                                     QWidget *parent)
{
    return fileDialog(true, title, folder, filter, defaultSuffix, parent);
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
    s.shown.clear();
    s.urls.clear();
    s.fileNames.clear();
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

const QList<ShownFileDialog> &MessageService::fileDialogs()
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
