#include "DBLookupComboBox.h"

#include "EditorColour.h"
#include "UiHooks.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace kv::widgets {

DBLookupComboBox::DBLookupComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    m_link.onRecordChanged = [this] { reload(); };
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::onActivated);
}

void DBLookupComboBox::setField(kv::store::Table *table, std::string keyField)
{
    m_link.setTable(table, std::move(keyField), FieldKind::Integer);
}

void DBLookupComboBox::setListSource(kv::store::Table *listTable, std::string listKeyField,
                                     std::string listNameField)
{
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = listTable;
    m_listKey = std::move(listKeyField);
    m_listName = std::move(listNameField);
    if (m_list) {
        const auto stale = [this] {
            m_listStale = true;
            reload();
        };
        connect(m_list, &kv::store::Table::rowsReset, this, stale);
        connect(m_list, &kv::store::Table::rowChanged, this, stale);
        // A posted new record or a delete may change the list.
        connect(m_list, &kv::store::Table::stateChanged, this, stale);
    }
    m_listStale = true;
    reload();
}

void DBLookupComboBox::setLocked(bool locked)
{
    if (locked == m_locked && m_lockApplied)
        return; // walks lock and unlock for every record: skip the restyling
    m_lockApplied = true;
    m_locked = locked;
    setEditorColour(this, locked);
}

void DBLookupComboBox::reloadList()
{
    m_listStale = false;
    m_loading = true;
    clear();
    if (m_list && m_list->isOpen()) {
        guarded([&] {
            const int key = m_list->fieldIndex(m_listKey);
            const int name = m_list->fieldIndex(m_listName);
            if (key < 0 || name < 0)
                return;
            const int count = m_list->recordCount();
            for (int row = 0; row < count; ++row) {
                const std::optional<std::int64_t> k = m_list->integerAt(row, key);
                addItem(kv::text::fromCp1251(m_list->textAt(row, name)),
                        k ? QVariant(qlonglong(*k)) : QVariant());
            }
        });
    }
    m_loading = false;
}

void DBLookupComboBox::reload()
{
    if (m_listStale)
        reloadList();
    int found = -1;
    const QString keyText = m_link.currentText();
    bool ok = false;
    const qlonglong key = keyText.toLongLong(&ok);
    if (ok) {
        for (int i = 0; i < count(); ++i) {
            const QVariant v = itemData(i);
            if (v.isValid() && v.toLongLong() == key) {
                found = i;
                break;
            }
        }
    }
    m_loading = true;
    setCurrentIndex(found);
    m_loading = false;
}

void DBLookupComboBox::showPopup()
{
    if (m_locked)
        return;
    if (m_listStale)
        reload();
    QComboBox::showPopup();
}

void DBLookupComboBox::keyPressEvent(QKeyEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void DBLookupComboBox::wheelEvent(QWheelEvent *event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DBLookupComboBox::onActivated(int index)
{
    if (m_loading || m_locked)
        return;
    const QVariant v = itemData(index);
    if (v.isValid())
        m_link.store(QString::number(v.toLongLong()));
    reload();
}

} // namespace kv::widgets
