#pragma once
// A group selector: shows, for the record's key field (NGRUPPY), the name of
// the first record of the list view whose key equals it (empty when none).
// Unlocked, its drop-down lists every name of the list view and choosing one
// sets the record's key to that entry's key.

#include <QComboBox>
#include <QPointer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FieldLink.h"

namespace kv::widgets {

class DBLookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget *parent = nullptr);

    // table/keyField: the record whose key is shown and set.
    void setField(kv::store::Table *table, std::string keyField);
    // listTable: the records offering keys and names.
    void setListSource(kv::store::Table *listTable, std::string listKeyField,
                       std::string listNameField);

    void setLocked(bool locked);
    bool locked() const { return m_locked; }

    // The name shown for the current record (empty when none).
    QString shownName() const { return currentText(); }

    void reloadList();
    void reload();

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void onActivated(int index);

    FieldLink m_link;
    QPointer<kv::store::Table> m_list;
    std::string m_listKey, m_listName;
    bool m_locked = false;
    bool m_listStale = true;
    bool m_loading = false;
    bool m_lockApplied = false;
};

} // namespace kv::widgets
