#include "StatusBarWindow.h"

#include "core/app/StatusHistory.h"
#include "gui/MessageService.h"

#include <QDir>
#include <QPalette>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kv::gui {

TFormStatusBar::TFormStatusBar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormStatusBar"));
    setWindowTitle(QStringLiteral("Все сообщения статусной строки"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(600, 400);
    setMinimumSize(200, 100);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    Memo1->setPalette(palette);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);

    FormCreate();
}

TFormStatusBar::~TFormStatusBar()
{
    FormDestroy();
}

void TFormStatusBar::FormCreate()
{
    m_folder = QDir::currentPath();
    runGuarded([this] { Memo1->setPlainText(kv::app::loadStatusHistory(m_folder)); });
}

void TFormStatusBar::FormDestroy()
{
    runGuarded([this] { kv::app::saveStatusHistory(m_folder, Memo1->toPlainText()); });
}

} // namespace kv::gui
