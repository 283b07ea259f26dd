#pragma once
// All windows of the program, created at start-up in their fixed order (the
// main window first, it runs the start-up steps) and destroyed in reverse
// order at the end (the main window last, it runs the shutdown steps).

#include <QApplication>

#include <memory>

#include "gui/analysis/SimilarityWindow.h"
#include "gui/app/LogWindow.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWindow.h"
#include "gui/help/AboutWindow.h"
#include "gui/help/HelpWindow.h"
#include "gui/import/GroupChooserWindow.h"
#include "gui/import/GroupNameImportWindow.h"
#include "gui/import/QuestionImportWindow.h"

namespace kv::gui {

struct AppWindows
{
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
    std::unique_ptr<TForm6> Form6;
    std::unique_ptr<TForm7> Form7;
    std::unique_ptr<TFormStatusBar> FormStatusBar;
    std::unique_ptr<TLogForm> LogForm;

    // Creates every window in order and hands the secondary ones to the main
    // window.
    static std::unique_ptr<AppWindows> create();
    ~AppWindows();
};

// The application object: an exception that escapes an event handler is
// shown by the default error display instead of ending the program.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The application title (task bar, default error display).
void setUpApplication(QApplication &app);

// The entry point's work: windows, the event loop unless the start-up ended
// the program, then the windows' destruction. Returns the exit code.
int runApplication(QApplication &app);

} // namespace kv::gui
