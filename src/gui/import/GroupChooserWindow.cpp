#include "GroupChooserWindow.h"

namespace kv::gui {

TForm5::TForm5(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Выберите номер группы"));
    resize(500, 400);
}

} // namespace kv::gui
