// Квиртон: composes examination tickets from a base of questions.
#include "core/app/WorkingFolder.h"
#include "gui/MessageService.h"
#include "gui/app/AppWindows.h"

#include <QIcon>

#include <exception>

int main(int argc, char **argv)
{
    kv::gui::Application app(argc, argv);
    // The installed icon, found through the icon theme (desktop installation).
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("kvirton")));
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
