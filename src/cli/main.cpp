// kvirton-cli: the batch command line.
#include "Cli.h"

#include <QGuiApplication>

#include <iostream>

#include <unistd.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// A display-less run has no session folders; Qt's remark about that is noise
// on the terminal.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    // Laying tickets out needs fonts, so the application is a GUI one; it
    // never shows a window and needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(messageHandler);
    QGuiApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return kv::cli::run(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
