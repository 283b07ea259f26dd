#include "DBEdit.h"

#include "EditorColour.h"
#include "platform/store/Table.h"

namespace kv::widgets {

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    m_link.onRecordChanged = [this] { reload(); };
    // textChanged also covers paste; setText from reload is filtered by the
    // comparison in reload and the read-only check.
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
}

void DBEdit::setField(kv::store::Table *table, std::string field, FieldKind kind)
{
    m_link.setTable(table, std::move(field), kind);
}

void DBEdit::setLocked(bool locked)
{
    if (locked == isReadOnly() && m_lockApplied)
        return; // walks lock and unlock for every record: skip the restyling
    m_lockApplied = true;
    setReadOnly(locked);
    setEditorColour(this, locked);
}

void DBEdit::reload()
{
    const QString text = m_link.currentText();
    if (text != QLineEdit::text())
        setText(text);
}

void DBEdit::onTextEdited(const QString &text)
{
    if (isReadOnly())
        return;
    m_link.store(text);
    if (!m_link.table() || !m_link.table()->isEditing())
        reload();
}

} // namespace kv::widgets
