#include "GroupNameImportWindow.h"

#include "core/import/Imports.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"

#include <QTabWidget>

namespace kv::gui {

TForm4::TForm4(QWidget *parent)
    : ListImportWindow(parent, QStringLiteral("TForm4"), QStringLiteral("Загрузка названий групп"),
                       QStringLiteral("Текст названий групп. Каждая строка является названием "
                                      "группы вопросов"))
{
    finishLayout();
}

void TForm4::N3_ZagrClick()
{
    if (!Form1)
        return;
    std::vector<std::string> lines;
    if (!takeLines(lines))
        return;
    const bool done = runGuarded([&] {
        ImportWorkGuard guard(Form1->Table2);
        kv::import::importGroupNames(Form1->Table2, lines);
    });
    if (!done)
        return;
    accept();
    Form1->PageControl1->setCurrentWidget(Form1->TabSheet2);
}

} // namespace kv::gui
