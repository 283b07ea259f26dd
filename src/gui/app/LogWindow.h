#pragma once
// The operation log window (dormant: its menu item stays hidden and nothing
// adds entries). Each row of its list holds an operation text and a line
// text; the list can be cleared and saved to Log.txt beside the executable,
// and is saved there at exit when "Вести  журнал" is ticked.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv::gui {

class TLogForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLogForm(QWidget *parent = nullptr);
    ~TLogForm() override;

    QCheckBox *LogCB = nullptr;
    QPushButton *Button1 = nullptr;
    // Columns: row number, "Операция", "Строка". A row's sub-items are the
    // texts set in the second and third columns (a column never set is a
    // missing sub-item).
    QTreeWidget *LogLV = nullptr;
    QPushButton *ClearBtn = nullptr;
    QPushButton *OkBtn = nullptr;

    // Log.txt in the folder of the program's executable.
    static QString logFilePath();

    // The hint of a row: its sub-items joined by LF.
    static QString LogLVInfoTip(const QTreeWidgetItem *item);

public slots:
    void ClearBtnClick();
    void OkBtnClick();
    void Button1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The first column shows each row's 1-based position, kept current as
    // rows come and go.
    void LogLVAdvancedCustomDrawItem();
    void SaveLog();
};

} // namespace kv::gui
