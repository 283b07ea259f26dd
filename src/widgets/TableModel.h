#pragma once
// A read-only item model over a table view. Rows are the records the view
// shows (filter applied); each column shows one field. Cells are read on
// demand through the view's integerAt/textAt, so a grid over a large table
// reads only the records it paints.

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QString>

#include "platform/store/Table.h"
#include <QVariant>
#include <QVector>

#include <string>
#include <vector>

namespace kv::widgets {

enum class FieldKind { Integer, Text };

struct GridColumn
{
    std::string field; // upper-case field name
    QString caption;
    FieldKind kind = FieldKind::Text;
};

class TableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TableModel(QObject *parent = nullptr);

    void setTable(kv::store::Table *table);
    kv::store::Table *table() const { return m_table; }
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn> &columns() const { return m_columns; }

    // While detached the model shows nothing and ignores the view's signals.
    void setDetached(bool detached);
    bool detached() const { return m_detached; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Number of records read from the view since the last reset (measurement
    // and tests: a painted grid must not read the whole table).
    int recordsRead() const { return m_recordsRead; }

public slots:
    // Re-reads the row count and forgets every cell read so far.
    void reload();

private:
    void onRowChanged(int row);
    void checkRowCount();
    int currentCount() const;
    const QVector<QVariant> &rowValues(int row) const;
    void resolveFields() const;

    QPointer<kv::store::Table> m_table;
    std::vector<GridColumn> m_columns;
    bool m_detached = false;
    int m_rows = 0;
    mutable std::vector<int> m_fieldIndex;
    mutable QHash<int, QVector<QVariant>> m_cache;
    mutable int m_recordsRead = 0;
};

} // namespace kv::widgets
