#pragma once
// The status message history window (dormant: nothing shows it).
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TFormStatusBar : public QDialog
{
    Q_OBJECT
public:
    explicit TFormStatusBar(QWidget *parent = nullptr);
};

} // namespace kv::gui
