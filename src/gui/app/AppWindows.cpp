#include "AppWindows.h"

#include "core/app/ProjectInfo.h"
#include "gui/MessageService.h"

namespace kv::gui {

std::unique_ptr<AppWindows> AppWindows::create()
{
    auto w = std::make_unique<AppWindows>();
    w->Form1 = std::make_unique<TForm1>();
    w->Form2 = std::make_unique<TForm2>(w->Form1.get());
    w->Form3 = std::make_unique<TForm3>(w->Form1.get());
    w->Form4 = std::make_unique<TForm4>(w->Form1.get());
    w->Form5 = std::make_unique<TForm5>(w->Form1.get());
    w->Form6 = std::make_unique<TForm6>();
    w->Form7 = std::make_unique<TForm7>();
    w->FormStatusBar = std::make_unique<TFormStatusBar>();
    w->LogForm = std::make_unique<TLogForm>();
    TForm1 &f = *w->Form1;
    f.Form2 = w->Form2.get();
    f.Form3 = w->Form3.get();
    f.Form4 = w->Form4.get();
    f.Form5 = w->Form5.get();
    f.Form6 = w->Form6.get();
    f.Form7 = w->Form7.get();
    w->Form7->Form1 = &f;
    f.FormStatusBar = w->FormStatusBar.get();
    f.LogForm = w->LogForm.get();
    return w;
}

AppWindows::~AppWindows()
{
    // Secondary windows first (reverse order of creation), the main window last.
    LogForm.reset();
    FormStatusBar.reset();
    Form7.reset();
    Form6.reset();
    Form5.reset();
    Form4.reset();
    Form3.reset();
    Form2.reset();
    Form1.reset();
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void setUpApplication(QApplication &app)
{
    app.setApplicationName(QString::fromUtf8(kv::app::kApplicationTitle));
    // The main window ends the program; help or analysis left open do not
    // keep it running.
    app.setQuitOnLastWindowClosed(false);
}

int runApplication(QApplication &app)
{
    setUpApplication(app);
    int code = 0;
    try {
        std::unique_ptr<AppWindows> windows = AppWindows::create();
        if (!windows->Form1->terminateRequested()) {
            windows->Form1->show();
            code = app.exec();
        }
    } catch (const std::exception &e) {
        MessageService::showError(e);
        code = 1;
    }
    return code;
}

} // namespace kv::gui
