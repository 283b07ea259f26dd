#pragma once
// The question import window: a plain list of questions, one per line, loaded
// into the questions table.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

namespace kv::gui {

class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
};

} // namespace kv::gui
