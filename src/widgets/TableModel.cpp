#include "TableModel.h"

#include "UiHooks.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

namespace kv::widgets {

namespace {
// Enough for a few screens of rows; the cache is dropped when it grows past.
constexpr int kCacheLimit = 512;
} // namespace

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TableModel::setTable(kv::store::Table *table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &kv::store::Table::rowsReset, this, &TableModel::reload);
        connect(m_table, &kv::store::Table::rowChanged, this, &TableModel::onRowChanged);
        // Inserting or removing a record may change the count without a reset.
        connect(m_table, &kv::store::Table::stateChanged, this, &TableModel::checkRowCount);
        connect(m_table, &kv::store::Table::currentChanged, this, &TableModel::checkRowCount);
    }
    reload();
}

void TableModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_fieldIndex.clear();
    m_cache.clear();
    endResetModel();
}

void TableModel::setDetached(bool detached)
{
    if (m_detached == detached)
        return;
    m_detached = detached;
    reload();
}

int TableModel::currentCount() const
{
    if (m_detached || !m_table || !m_table->isOpen())
        return 0;
    int count = 0;
    guarded([&] { count = m_table->recordCount(); });
    return count < 0 ? 0 : count;
}

void TableModel::reload()
{
    beginResetModel();
    m_rows = currentCount();
    m_fieldIndex.clear();
    m_cache.clear();
    m_recordsRead = 0;
    endResetModel();
}

void TableModel::checkRowCount()
{
    if (m_detached)
        return;
    if (currentCount() != m_rows)
        reload();
}

void TableModel::onRowChanged(int row)
{
    if (m_detached)
        return;
    if (currentCount() != m_rows) {
        reload();
        return;
    }
    if (row < 0 || row >= m_rows)
        return;
    m_cache.remove(row);
    if (!m_columns.empty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

void TableModel::resolveFields() const
{
    if (m_fieldIndex.size() == m_columns.size())
        return;
    m_fieldIndex.clear();
    for (const GridColumn &c : m_columns)
        m_fieldIndex.push_back(m_table ? m_table->fieldIndex(c.field) : -1);
}

const QVector<QVariant> &TableModel::rowValues(int row) const
{
    auto it = m_cache.constFind(row);
    if (it != m_cache.constEnd())
        return *it;
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    resolveFields();
    QVector<QVariant> values(int(m_columns.size()));
    guarded([&] {
        for (int c = 0; c < int(m_columns.size()); ++c) {
            const int field = m_fieldIndex[c];
            if (field < 0)
                continue;
            if (m_columns[c].kind == FieldKind::Integer) {
                if (auto v = m_table->integerAt(row, field))
                    values[c] = QString::number(*v);
            } else {
                values[c] = kv::text::fromCp1251(m_table->textAt(row, field));
            }
        }
    });
    ++m_recordsRead;
    return *m_cache.insert(row, std::move(values));
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (!m_table || !m_table->isOpen())
        return {};
    return rowValues(index.row()).value(index.column());
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section >= 0 && section < int(m_columns.size()))
            return m_columns[section].caption;
        return {};
    }
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kv::widgets
