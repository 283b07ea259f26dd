#include "MessageService.h"

#include "core/app/ProjectInfo.h"
#include "widgets/UiHooks.h"

#include <QApplication>
#include <QDesktopServices>
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
}

void MessageService::endScripted()
{
    State &s = state();
    s.scripted = false;
    s.answers.clear();
}

bool MessageService::scripted()
{
    return state().scripted;
}

void MessageService::queueAnswer(MessageAnswer answer)
{
    state().answers.push_back(answer);
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
