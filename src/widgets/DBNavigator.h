#pragma once
// The ten-button bar that moves through and edits a table view. Each button
// carries its hint; the buttons are enabled as the view's state allows.

#include <QList>
#include <QPointer>
#include <QString>

#include "platform/store/Table.h"
#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>

class QToolButton;

namespace kv::widgets {

enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int kNavButtonCount = 10;

// Thrown by a beforeAction step to stop the command without an error (the
// user has declined it); nothing is shown.
struct CommandDeclined
{
};

class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit DBNavigator(QWidget *parent = nullptr);

    void setTable(kv::store::Table *table);
    kv::store::Table *table() const { return m_table; }

    // Only the given buttons are shown, in their fixed order.
    void setVisibleButtons(std::initializer_list<NavButton> buttons);
    bool isButtonVisible(NavButton button) const;

    // When on, delete first asks the standard question "Delete record?".
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }
    bool confirmDelete() const { return m_confirmDelete; }

    // Runs before every command; an exception stops the command and is shown
    // (CommandDeclined stops it silently).
    std::function<void(NavButton)> beforeAction;

    QToolButton *button(NavButton button) const;
    static QString hint(NavButton button);

    // The button's command, as a click runs it.
    void clickButton(NavButton button);

public slots:
    void updateButtons();

private:
    void runCommand(NavButton button);

    QPointer<kv::store::Table> m_table;
    std::array<QToolButton *, kNavButtonCount> m_buttons{};
    bool m_confirmDelete = true;
};

} // namespace kv::widgets
