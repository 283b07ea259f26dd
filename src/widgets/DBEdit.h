#pragma once
// A one-line editor of one field of a table view (integer or text): shows the
// current record's field; typed text goes to the view's edit buffer.

#include <QLineEdit>

#include <string>

#include "FieldLink.h"

namespace kv::widgets {

class DBEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);

    void setField(kv::store::Table *table, std::string field, FieldKind kind);
    FieldLink &link() { return m_link; }

    // See DBMemo::setLocked.
    void setLocked(bool locked);
    bool locked() const { return isReadOnly(); }

    void reload();

private:
    void onTextEdited(const QString &text);

    FieldLink m_link;
    bool m_lockApplied = false;
};

} // namespace kv::widgets
