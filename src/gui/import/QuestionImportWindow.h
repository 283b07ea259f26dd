#pragma once
// The question import window: a plain list of questions, one per line, an
// empty line wherever the next group begins, loaded into the questions table
// of the main window after the questions already there.
// Created at start-up with the other windows; lives until the program ends,
// keeping its text, the group box settings and the enabled state of Edit1
// and BitBtn1 from one opening to the next.

#include "ListImportWindow.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kv::gui {

class TForm2 : public ListImportWindow
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr; // " Параметры загрузки в базу "
    QCheckBox *CheckBox1 = nullptr; // "Присвоить группу №"
    QLineEdit *Edit1 = nullptr;     // the group number while CheckBox1 is ticked
    QPushButton *BitBtn1 = nullptr; // opens the group chooser

public slots:
    // Appends one question per non-blank line; a blank line (codes 0..32
    // only) raises the group. Then closes and shows the "Вопросы" tab. A
    // failure is reported and leaves the window open with the earlier lines
    // stored.
    void N3_ZagrClick() override;
    // Edit1 and BitBtn1 follow the box; ticking it with Edit1 blank puts "1".
    void CheckBox1Click();
    // The group chooser; a chosen group's number goes into Edit1.
    void BitBtn1Click();
};

} // namespace kv::gui
