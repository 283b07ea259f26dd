#pragma once
// The help window with the program's user documentation, the reference of
// the template language included. Shown without blocking the main window;
// the caret stands at the start of the text every time it is shown.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>
#include <QStringList>

class QTextEdit;

namespace kv::gui {

class TForm6 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);

    QTextEdit *RichEdit1 = nullptr;

    // The help text, one paragraph per entry; the blocks are separated by
    // one empty entry.
    static QStringList helpLines();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
};

} // namespace kv::gui
