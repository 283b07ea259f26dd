#pragma once
// The similarity analysis window: lists the pairs of questions whose texts
// overlap by at least the chosen percentage. It only reads the question base.
// Shown without blocking the main window. Created at start-up with the other
// windows; lives until the program ends.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace kv::widgets {
class UpDown;
}

namespace kv::gui {

class TForm1;

class TForm7 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);

    // The main window, whose questions table the analysis reads.
    TForm1 *Form1 = nullptr;

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;             // percentage, 0..100
    kv::widgets::UpDown *UpDown1 = nullptr; // steps Edit1 by 5
    QPushButton *BitBtn1 = nullptr;         // "Начать анализ"
    QPlainTextEdit *RichEdit1 = nullptr;    // the listing
    QStatusBar *StatusBar1 = nullptr;       // says when an analysis was stopped

    // How long an analysis runs before its progress window appears.
    int ProgressDelayMs = 1000;

public slots:
    void BitBtn1Click();
    void Edit1Change();

private:
    bool m_running = false;
};

} // namespace kv::gui
