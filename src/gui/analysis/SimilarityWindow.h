#pragma once
// The similarity analysis window: pairs of questions whose texts overlap.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TForm7 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);
};

} // namespace kv::gui
