#include "GroupNameImportWindow.h"

namespace kv::gui {

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Загрузка названий групп"));
    resize(600, 450);
}

} // namespace kv::gui
