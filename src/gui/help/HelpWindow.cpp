#include "HelpWindow.h"

namespace kv::gui {

TForm6::TForm6(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Справка"));
    resize(713, 499);
}

} // namespace kv::gui
