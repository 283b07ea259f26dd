#include "QuestionImportWindow.h"

namespace kv::gui {

TForm2::TForm2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Загрузка вопросов в базу"));
    resize(600, 450);
}

} // namespace kv::gui
