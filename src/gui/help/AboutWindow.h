#pragma once
// The about box: the program's name, version and author.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
};

} // namespace kv::gui
