#include "DBGrid.h"

#include "UiHooks.h"
#include "platform/store/Table.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace kv::widgets {

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    setModel(&m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRowSelect(true);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &DBGrid::onCurrentRowChanged);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &DBGrid::syncToTable);
}

void DBGrid::setRowSelect(bool rowSelect)
{
    setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
}

void DBGrid::setTable(kv::store::Table *table)
{
    if (m_model.table())
        disconnect(m_model.table(), nullptr, this, nullptr);
    m_model.setTable(table);
    if (table) {
        connect(table, &kv::store::Table::currentChanged, this, &DBGrid::syncToTable);
        connect(table, &kv::store::Table::stateChanged, this, &DBGrid::syncToTable);
    }
    syncToTable();
}

void DBGrid::setColumns(std::vector<GridColumn> columns)
{
    m_model.setColumns(std::move(columns));
    for (int c = 0; c + 1 < m_model.columnCount(); ++c)
        resizeColumnToContents(c);
    syncToTable();
}

void DBGrid::syncToTable()
{
    kv::store::Table *t = m_model.table();
    if (m_syncing || m_model.detached())
        return;
    int row = -1;
    if (t && t->isOpen())
        guarded([&] { row = t->currentRow(); });
    if (row >= m_model.rowCount())
        row = -1;
    const QModelIndex cur = currentIndex();
    if (row < 0) {
        if (cur.isValid()) {
            m_syncing = true;
            selectionModel()->clear();
            m_syncing = false;
        }
        return;
    }
    if (cur.isValid() && cur.row() == row && selectionModel()->isSelected(cur))
        return;
    m_syncing = true;
    const QModelIndex target = m_model.index(row, cur.isValid() ? cur.column() : 0);
    const auto flags = QItemSelectionModel::ClearAndSelect |
                       (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                          : QItemSelectionModel::NoUpdate);
    selectionModel()->setCurrentIndex(target, flags);
    scrollTo(target);
    m_syncing = false;
}

void DBGrid::onCurrentRowChanged(const QModelIndex &current, const QModelIndex &)
{
    if (m_syncing || !current.isValid())
        return;
    kv::store::Table *t = m_model.table();
    if (!t || !t->isOpen())
        return;
    m_syncing = true;
    guarded([&] {
        if (t->currentRow() != current.row())
            t->moveTo(current.row());
    });
    m_syncing = false;
    // The view may have refused or ended elsewhere (a failed post): follow it.
    syncToTable();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit recordDoubleClicked();
}

} // namespace kv::widgets
