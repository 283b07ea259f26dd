#include "AboutWindow.h"

namespace kv::gui {

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("О программе"));
    resize(420, 300);
}

} // namespace kv::gui
