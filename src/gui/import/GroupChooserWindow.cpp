#include "GroupChooserWindow.h"

#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "widgets/DBGrid.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <limits>

namespace kv::gui {

TForm5::TForm5(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Выберите номер группы"));
    resize(500, 400);

    Table1.setObjectName(QStringLiteral("Table1"));
    Table1.setFileName(kv::base::kGroupsFile);
    Table1.setReadOnly(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    DBGrid1 = new kv::widgets::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(
        {{"NGRUPPY", QStringLiteral("№ группы"), kv::widgets::FieldKind::Integer},
         {"NAMEGRUPPA", QStringLiteral("Название группы"), kv::widgets::FieldKind::Text}});
    DBGrid1->setRowSelect(true);
    QFont gridFont(QStringLiteral("Times New Roman"));
    gridFont.setPixelSize(20);
    DBGrid1->setFont(gridFont);
    DBGrid1->setTable(&Table1);
    layout->addWidget(DBGrid1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(StatusBar1);

    connect(DBGrid1, &kv::widgets::DBGrid::recordDoubleClicked, this, &TForm5::DBGrid1DblClick);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm5::DBGrid1DblClick()
{
    std::optional<std::int64_t> group;
    if (Table1.isOpen() && Table1.recordCount() > 0)
        group = Table1.integerField("NGRUPPY");
    // Numbers of 0 and below give no choice; one too large for a result too.
    if (group && *group > 0 && *group <= std::numeric_limits<int>::max() - 10)
        done(int(*group) + 10);
    else
        done(QDialog::Rejected);
}

void TForm5::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!Table1.isOpen())
        runGuarded([this] { Table1.open(); });
}

void TForm5::hideEvent(QHideEvent *event)
{
    Table1.close();
    QDialog::hideEvent(event);
}

} // namespace kv::gui
