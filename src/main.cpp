// Квиртон: composes examination tickets from a base of questions.
#include "core/app/WorkingFolder.h"
#include "gui/MessageService.h"
#include "gui/app/AppWindows.h"

#include <QCoreApplication>
#include <QIcon>

#include <exception>

int main(int argc, char **argv)
{
    kv::gui::Application app(argc, argv);
    // The installed icon: through the icon theme, or beside the executable
    // of an installation under a prefix the theme does not search.
    app.setWindowIcon(QIcon::fromTheme(
        QStringLiteral("kvirton"),
        QIcon(QCoreApplication::applicationDirPath() +
              QStringLiteral("/../share/icons/hicolor/scalable/apps/kvirton.svg"))));
    // Started outside a folder with Sys (e.g. from the desktop menu) the
    // program works in its per-user folder, prepared on first use. When that
    // fails it stays where it is and the start-up check reports the folder.
    try {
        kv::app::enterWorkingFolder();
    } catch (const std::exception &e) {
        kv::gui::MessageService::showError(e);
    }
    return kv::gui::runApplication(app);
}
