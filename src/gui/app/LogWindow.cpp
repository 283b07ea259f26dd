#include "LogWindow.h"

#include "core/import/TextList.h"
#include "gui/MessageService.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QStringList>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::gui {

namespace {

QPushButton *boldButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

// A sub-item exists when its column was given a text (an empty one included).
bool hasSubItem(const QTreeWidgetItem *item, int column)
{
    return item->data(column, Qt::DisplayRole).isValid();
}

} // namespace

TLogForm::TLogForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TLogForm"));
    setWindowTitle(QStringLiteral("Журнал"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    resize(952, 523);
    setFont(QFont(QStringLiteral("Tahoma")));

    LogCB = new QCheckBox(QStringLiteral("Вести  журнал"), this);
    LogCB->setObjectName(QStringLiteral("LogCB"));
    LogCB->setChecked(false);
    Button1 = boldButton(QStringLiteral("Сохранить журнал в файл \"Log.txt\""), "Button1", this);

    LogLV = new QTreeWidget(this);
    LogLV->setObjectName(QStringLiteral("LogLV"));
    LogLV->setRootIsDecorated(false);
    LogLV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LogLV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LogLV->setColumnCount(3);
    LogLV->setHeaderLabels({QString(), QStringLiteral("Операция"), QStringLiteral("Строка")});
    LogLV->header()->setStretchLastSection(true);
    LogLV->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    LogLV->setColumnWidth(0, 65);
    LogLV->viewport()->installEventFilter(this);
    QAbstractItemModel *model = LogLV->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this] { LogLVAdvancedCustomDrawItem(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this] { LogLVAdvancedCustomDrawItem(); });
    connect(model, &QAbstractItemModel::rowsMoved, this, [this] { LogLVAdvancedCustomDrawItem(); });

    ClearBtn = boldButton(QStringLiteral("Очистить"), "ClearBtn", this);
    OkBtn = boldButton(QStringLiteral("Закрыть"), "OkBtn", this);

    auto *top = new QHBoxLayout;
    top->addWidget(LogCB);
    top->addWidget(Button1);
    top->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ClearBtn);
    bottom->addWidget(OkBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LogLV, 1);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, &TLogForm::Button1Click);
    connect(ClearBtn, &QPushButton::clicked, this, &TLogForm::ClearBtnClick);
    // Esc closes the dialog as "Закрыть" does.
    connect(OkBtn, &QPushButton::clicked, this, &TLogForm::OkBtnClick);
}

TLogForm::~TLogForm()
{
    if (LogCB->isChecked())
        runGuarded([this] { SaveLog(); });
}

QString TLogForm::logFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Log.txt");
}

QString TLogForm::LogLVInfoTip(const QTreeWidgetItem *item)
{
    QStringList parts;
    for (int column = 1; column <= 2; ++column)
        if (hasSubItem(item, column))
            parts << item->text(column);
    return parts.join(QLatin1Char('\n'));
}

void TLogForm::LogLVAdvancedCustomDrawItem()
{
    for (int row = 0; row < LogLV->topLevelItemCount(); ++row) {
        const QString number = QString::number(row + 1);
        QTreeWidgetItem *item = LogLV->topLevelItem(row);
        if (item->text(0) != number)
            item->setText(0, number);
    }
}

bool TLogForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LogLV->viewport() && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (const QTreeWidgetItem *item = LogLV->itemAt(help->pos())) {
            const QString tip = LogLVInfoTip(item);
            if (!tip.isEmpty()) {
                QToolTip::showText(help->globalPos(), tip, LogLV->viewport());
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TLogForm::ClearBtnClick()
{
    LogLV->clear();
}

void TLogForm::OkBtnClick()
{
    close();
}

void TLogForm::Button1Click()
{
    runGuarded([this] { SaveLog(); });
}

void TLogForm::SaveLog()
{
    QStringList lines;
    for (int row = 0; row < LogLV->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = LogLV->topLevelItem(row);
        if (!hasSubItem(item, 1) || !hasSubItem(item, 2))
            continue;
        lines << item->text(1) + QLatin1Char('\t') + item->text(2);
    }
    // Every line holds a TAB, so none is empty and the list writer's line
    // ends match the lines one for one.
    kv::import::writeTextListFile(logFilePath(), lines.join(QLatin1Char('\n')));
}

} // namespace kv::gui
