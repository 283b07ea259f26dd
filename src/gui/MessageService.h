#pragma once
// Every message box of the program goes through this service, so that tests
// can script the user's answers: in scripted mode nothing is shown, each box
// takes the next queued answer (OK when none is queued) and is recorded.

#include <QList>
#include <QString>
#include <QUrl>

#include <exception>
#include <utility>

class QPrinter;
class QWidget;

namespace kv::gui {

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Information, Warning, Question, Stop };
enum class MessageAnswer { Ok, Cancel };

// What a file dialog is opened with (and, while scripted, what it recorded).
struct FileDialogRequest
{
    QString title;
    QString folder;   // initial folder
    QString fileName; // preset file name, may be empty
    QString filter;   // "Описание (*.ext )|*.ext", pairs separated by '|'
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

    // File dialogs; an empty result means cancelled. The save dialog asks no
    // overwrite question of its own (the commands ask theirs) and neither
    // requires the chosen file to exist.
    static QString openFileName(const FileDialogRequest &request, QWidget *parent = nullptr);
    static QString saveFileName(const FileDialogRequest &request, QWidget *parent = nullptr);

    // The print dialog on `printer`; false when cancelled. While scripted,
    // the next queued file name stands for the choice: the pages go to that
    // PDF file (none queued: cancelled).
    static bool choosePrinter(QPrinter &printer, QWidget *parent = nullptr);

    // Routes the data-aware widgets' questions and errors through here.
    static void installWidgetHooks();

    // --- scripted mode (tests) -------------------------------------------------
    static void beginScripted();
    static void endScripted();
    static bool scripted();
    static void queueAnswer(MessageAnswer answer);
    // A scripted file dialog takes the next queued name; none queued: cancelled.
    static void queueFileName(const QString &fileName);
    static const QList<FileDialogRequest> &fileDialogs();
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
