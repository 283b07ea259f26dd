#pragma once
// The about box: the program's name, version and author, with the mail and
// web addresses as links. Shown modally.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>

class QLabel;
class QPushButton;

namespace kv::gui {

class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

    QLabel *Image1 = nullptr; // the picture behind everything
    QLabel *Label5 = nullptr, *Label7 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr; // author
    QLabel *Label3 = nullptr, *Label4 = nullptr; // mail
    QLabel *Label6 = nullptr, *Label8 = nullptr; // web
    QPushButton *BitBtn1 = nullptr;

public slots:
    void BitBtn1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Label4MouseDown();
    void Label8MouseDown();
    // The pointing hand over an address: set only over the normal cursor,
    // and only the hand set here is taken back.
    void Label4MouseMove();
    void Label4MouseLeave();

    bool m_handSet = false;
};

} // namespace kv::gui
