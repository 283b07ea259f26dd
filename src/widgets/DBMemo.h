#pragma once
// A multi-line editor of one text or memo field of a table view: shows the
// current record's field; typed text goes to the view's edit buffer.

#include <QPlainTextEdit>

#include <string>

#include "FieldLink.h"

namespace kv::widgets {

class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);

    void setField(kv::store::Table *table, std::string field);
    FieldLink &link() { return m_link; }

    // Locked: read-only on the button-face colour; unlocked: editable on the
    // window colour.
    void setLocked(bool locked);
    bool locked() const { return isReadOnly(); }

    // Shows the current record's field again.
    void reload();

private:
    void onTextChanged();

    FieldLink m_link;
    bool m_loading = false;
    bool m_lockApplied = false;
};

} // namespace kv::widgets
