#pragma once
// Every message box of the program goes through this service, so that tests
// can script the user's answers: in scripted mode nothing is shown, each box
// takes the next queued answer (OK when none is queued) and is recorded.

#include <QList>
#include <QString>
#include <QUrl>

#include <exception>
#include <utility>

class QWidget;

namespace kv::gui {

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Information, Warning, Question, Stop };
enum class MessageAnswer { Ok, Cancel };

struct ShownFileDialog
{
    bool save = false;
    QString title;
    QString folder;
    QString filter;
    QString defaultSuffix;
};

struct ShownMessage
{
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

class MessageService
{
public:
    static MessageAnswer show(const QString &title, const QString &text,
                              MessageButtons buttons = MessageButtons::Ok,
                              MessageIcon icon = MessageIcon::None, QWidget *parent = nullptr);

    // OK/Cancel question with the question icon; true on OK.
    static bool confirm(const QString &title, const QString &text, QWidget *parent = nullptr);

    // The default error display: a box titled with the application title,
    // OK and the stop icon, the error's text.
    static void showError(const QString &text, QWidget *parent = nullptr);
    static void showError(const std::exception &error, QWidget *parent = nullptr);

    // The shell's "open" action on an address (a web page, a saved file).
    static bool openUrl(const QUrl &url);

    // File dialogs. `filter` is written as pairs "description|pattern|..."
    // ("Текст (*.txt )|*.txt|Все (*.*)|*.*"); an empty title leaves the
    // platform's own. The save dialog asks nothing before replacing a file
    // (callers that must ask do so themselves). An empty result: cancelled.
    static QString openFileName(const QString &title, const QString &folder, const QString &filter,
                                const QString &defaultSuffix = {}, QWidget *parent = nullptr);
    static QString saveFileName(const QString &title, const QString &folder, const QString &filter,
                                const QString &defaultSuffix = {}, QWidget *parent = nullptr);

    // Routes the data-aware widgets' questions and errors through here.
    static void installWidgetHooks();

    // --- scripted mode (tests) -------------------------------------------------
    static void beginScripted();
    static void endScripted();
    static bool scripted();
    static void queueAnswer(MessageAnswer answer);
    // The next file dialog's answer; an empty name (or none queued) cancels.
    // A name without a suffix gets the dialog's default suffix.
    static void queueFileName(const QString &fileName);
    static const QList<ShownFileDialog> &fileDialogs();
    static const QList<ShownMessage> &shown();
    static const QList<QUrl> &openedUrls();
    static void clearShown();
};

// Runs fn at the boundary of a user action: any exception that escapes is
// shown by the default error display. Returns false when fn failed.
template <class Fn> bool runGuarded(Fn &&fn)
{
    try {
        std::forward<Fn>(fn)();
        return true;
    } catch (const std::exception &e) {
        MessageService::showError(e);
    } catch (...) {
        MessageService::showError(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

// While alive, the service is scripted (restores the previous state after).
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages &) = delete;
    ScriptedMessages &operator=(const ScriptedMessages &) = delete;

private:
    bool m_wasScripted;
};

} // namespace kv::gui
