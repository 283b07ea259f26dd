#pragma once
// How the data-aware widgets talk to the user: a question with OK and Cancel
// and the display of an error that ended a command. The application installs
// its message service here; until then plain message boxes are used.

#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace kv::widgets {

struct UiHooks
{
    // OK -> true, Cancel -> false.
    std::function<bool(const QString &title, const QString &text)> confirm;
    std::function<void(const QString &text)> showError;
};

void setUiHooks(UiHooks hooks);

bool confirm(const QString &title, const QString &text);
void showError(const QString &text);

// The text of an error message: UTF-8 when it is valid UTF-8, otherwise
// Windows-1251 (the program's own 8-bit strings).
QString errorText(const char *what);

// Runs fn; an exception that escapes it is shown by showError (exceptions
// must not cross the event loop). Returns false when fn failed.
template <class Fn> bool guarded(Fn &&fn)
{
    try {
        std::forward<Fn>(fn)();
        return true;
    } catch (const std::exception &e) {
        showError(errorText(e.what()));
    } catch (...) {
        showError(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

} // namespace kv::widgets
