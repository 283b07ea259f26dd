#pragma once
// The operation log window (dormant: its menu item stays hidden).
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TLogForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLogForm(QWidget *parent = nullptr);
};

} // namespace kv::gui
