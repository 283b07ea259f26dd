#pragma once
// The group-name import window: a plain list of group names, one per line,
// loaded into the groups table.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TForm4 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
};

} // namespace kv::gui
