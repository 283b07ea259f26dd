#include "DBNavigator.h"

#include "UiHooks.h"
#include "platform/store/Table.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace kv::widgets {

namespace {
struct ButtonInfo
{
    const char *name;
    const char *glyph;
    const char *hint;
};

constexpr std::array<ButtonInfo, kNavButtonCount> kButtons{{
    {"First", "|◀", "Перейти на первую запись"},
    {"Prior", "◀", "Перейти на предыдющую запись"},
    {"Next", "▶", "Перейти на следующую запись"},
    {"Last", "▶|", "Перейти на последнюю запись"},
    {"Insert", "+", "Добавить запись"},
    {"Delete", "−", "УДАЛИТЬ запись"},
    {"Edit", "▲", "Редактировать запись"},
    {"Post", "✔", "Сохранить изменения"},
    {"Cancel", "✘", "Отменить изменения"},
    {"Refresh", "↻", "Обновить данные"},
}};

int indexOf(NavButton b)
{
    return static_cast<int>(b);
}
} // namespace

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kNavButtonCount; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("nb") + QLatin1String(kButtons[i].name));
        b->setText(QString::fromUtf8(kButtons[i].glyph));
        b->setToolTip(QString::fromUtf8(kButtons[i].hint));
        b->setAccessibleName(QString::fromUtf8(kButtons[i].hint));
        b->setFixedSize(28, 25);
        b->setFocusPolicy(Qt::NoFocus);
        const auto which = static_cast<NavButton>(i);
        connect(b, &QToolButton::clicked, this, [this, which] { clickButton(which); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    updateButtons();
}

QString DBNavigator::hint(NavButton button)
{
    return QString::fromUtf8(kButtons[indexOf(button)].hint);
}

QToolButton *DBNavigator::button(NavButton button) const
{
    return m_buttons[indexOf(button)];
}

void DBNavigator::setTable(kv::store::Table *table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &kv::store::Table::stateChanged, this, &DBNavigator::updateButtons);
        connect(m_table, &kv::store::Table::currentChanged, this, &DBNavigator::updateButtons);
        connect(m_table, &kv::store::Table::rowsReset, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(std::initializer_list<NavButton> buttons)
{
    for (QToolButton *b : m_buttons)
        b->setVisible(false);
    for (NavButton b : buttons)
        m_buttons[indexOf(b)]->setVisible(true);
}

bool DBNavigator::isButtonVisible(NavButton button) const
{
    return !m_buttons[indexOf(button)]->isHidden();
}

void DBNavigator::updateButtons()
{
    bool active = false, canModify = false, editing = false, up = false, down = false, empty = true;
    if (m_table && m_table->isOpen()) {
        active = true;
        canModify = !m_table->readOnly();
        editing = m_table->isEditing();
        guarded([&] {
            const int count = m_table->recordCount();
            const int row = m_table->currentRow();
            empty = count <= 0;
            up = row > 0;
            down = row >= 0 && row < count - 1;
        });
    }
    const auto set = [this](NavButton b, bool on) { m_buttons[indexOf(b)]->setEnabled(on); };
    set(NavButton::First, up);
    set(NavButton::Prior, up);
    set(NavButton::Next, down);
    set(NavButton::Last, down);
    set(NavButton::Insert, canModify);
    set(NavButton::Delete, canModify && !empty);
    set(NavButton::Edit, canModify && !editing);
    set(NavButton::Post, canModify && editing);
    set(NavButton::Cancel, canModify && editing);
    set(NavButton::Refresh, active);
}

void DBNavigator::clickButton(NavButton button)
{
    guarded([&] {
        try {
            runCommand(button);
        } catch (const CommandDeclined &) {
        }
    });
    updateButtons();
}

void DBNavigator::runCommand(NavButton button)
{
    if (!m_table)
        return;
    if (beforeAction)
        beforeAction(button);
    kv::store::Table &t = *m_table;
    switch (button) {
    case NavButton::First:
        t.first();
        break;
    case NavButton::Prior:
        t.prior();
        break;
    case NavButton::Next:
        t.next();
        break;
    case NavButton::Last:
        t.last();
        break;
    case NavButton::Insert:
        t.insert();
        break;
    case NavButton::Delete:
        if (!m_confirmDelete ||
            confirm(QStringLiteral("Подтверждение"), QStringLiteral("Delete record?")))
            t.remove();
        break;
    case NavButton::Edit:
        t.edit();
        break;
    case NavButton::Post:
        t.post();
        break;
    case NavButton::Cancel:
        t.cancel();
        break;
    case NavButton::Refresh:
        t.refresh();
        break;
    }
}

} // namespace kv::widgets
