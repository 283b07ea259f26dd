#pragma once
// The group chooser of the question import: the list of groups to pick the
// group number from.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);
};

} // namespace kv::gui
