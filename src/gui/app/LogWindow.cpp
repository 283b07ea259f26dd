#include "LogWindow.h"

namespace kv::gui {

TLogForm::TLogForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TLogForm"));
    setWindowTitle(QStringLiteral("Журнал"));
    resize(952, 523);
}

} // namespace kv::gui
