#pragma once
// A read-only list over a table view. The current record of the view is the
// selected row (whole rows or single cells); clicking a row makes its record
// current in the view.

#include <QTableView>

#include <vector>

#include "TableModel.h"

namespace kv::widgets {

class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    void setTable(kv::store::Table *table);
    kv::store::Table *table() const { return m_model.table(); }
    void setColumns(std::vector<GridColumn> columns);
    TableModel *tableModel() { return &m_model; }

    // Whole-row selection (the default) or single cells.
    void setRowSelect(bool rowSelect);

signals:
    // Double click in the list (on a row, after its record became current;
    // on an empty list as well).
    void recordDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void syncToTable();
    void onCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous);

    TableModel m_model;
    bool m_syncing = false;
};

} // namespace kv::widgets
