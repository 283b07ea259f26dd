#include "SimilarityWindow.h"

namespace kv::gui {

TForm7::TForm7(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Анализ совпадения вопросов"));
    resize(700, 500);
}

} // namespace kv::gui
