#pragma once
// The group chooser of the question import: the list of groups to pick the
// group number from. Its own view of the groups table is open only while the
// window is shown, so every opening lists the groups as they are then.
// Created at start-up with the other windows; lives until the program ends.
//
// The result of exec(): a chosen group's number plus 10. Results of 10 and
// below are the ordinary dialog answers and mean no choice (closing the window,
// a row without a group number, a number of 0 or below).

#include <QDialog>

#include "platform/store/Table.h"

class QStatusBar;

namespace kv::widgets {
class DBGrid;
}

namespace kv::gui {

class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    kv::store::Table Table1; // the groups, read-only
    kv::widgets::DBGrid *DBGrid1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;

public slots:
    // A double click on a row (which made it current) closes the window with
    // that row's group number plus 10, or with no choice.
    void DBGrid1DblClick();

protected:
    void showEvent(QShowEvent *event) override; // FormShow: opens Table1
    void hideEvent(QHideEvent *event) override; // FormHide: closes Table1
};

} // namespace kv::gui
