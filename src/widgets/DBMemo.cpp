#include "DBMemo.h"

#include "EditorColour.h"
#include "platform/store/Table.h"

namespace kv::widgets {

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_link.onRecordChanged = [this] { reload(); };
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::onTextChanged);
}

void DBMemo::setField(kv::store::Table *table, std::string field)
{
    m_link.setTable(table, std::move(field), FieldKind::Text);
}

void DBMemo::setLocked(bool locked)
{
    if (locked == isReadOnly() && m_lockApplied)
        return; // walks lock and unlock for every record: skip the restyling
    m_lockApplied = true;
    setReadOnly(locked);
    setEditorColour(this, locked);
}

void DBMemo::reload()
{
    const QString text = m_link.currentText();
    if (text == toPlainText())
        return; // keeps the caret where the user left it
    m_loading = true;
    setPlainText(text);
    m_loading = false;
}

void DBMemo::onTextChanged()
{
    if (m_loading || isReadOnly())
        return;
    m_link.store(toPlainText());
    // The view may have refused the edit (closed, read-only): show its text.
    if (!m_link.table() || !m_link.table()->isEditing())
        reload();
}

} // namespace kv::widgets
