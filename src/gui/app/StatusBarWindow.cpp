#include "StatusBarWindow.h"

namespace kv::gui {

TFormStatusBar::TFormStatusBar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormStatusBar"));
    setWindowTitle(QStringLiteral("Все сообщения статусной строки"));
    resize(600, 400);
}

} // namespace kv::gui
