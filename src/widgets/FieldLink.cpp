#include "FieldLink.h"

#include "UiHooks.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

namespace kv::widgets {

FieldLink::FieldLink(QObject *parent) : QObject(parent) {}

void FieldLink::setTable(kv::store::Table *table, std::string field, FieldKind kind)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    m_field = std::move(field);
    m_kind = kind;
    if (m_table) {
        connect(m_table, &kv::store::Table::currentChanged, this, &FieldLink::notify);
        connect(m_table, &kv::store::Table::stateChanged, this, &FieldLink::notify);
        connect(m_table, &kv::store::Table::rowsReset, this, &FieldLink::notify);
    }
    notify();
}

void FieldLink::notify()
{
    if (!m_storing && onRecordChanged)
        onRecordChanged();
}

QString FieldLink::currentText() const
{
    if (!m_table || !m_table->isOpen())
        return {};
    QString text;
    guarded([&] {
        if (m_table->currentRow() < 0 && !m_table->isEditing())
            return;
        if (m_kind == FieldKind::Integer) {
            if (auto v = m_table->integerField(m_field))
                text = QString::number(*v);
        } else {
            text = kv::text::fromCp1251(m_table->textField(m_field));
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
    });
    return text;
}

void FieldLink::store(const QString &text)
{
    if (!m_table || !m_table->isOpen() || m_table->readOnly())
        return;
    m_storing = true;
    guarded([&] {
        if (!m_table->isEditing())
            m_table->edit();
        if (m_kind == FieldKind::Integer) {
            const QString t = text.trimmed();
            bool ok = false;
            const qlonglong v = t.toLongLong(&ok);
            if (t.isEmpty())
                m_table->setIntegerField(m_field, std::nullopt);
            else if (ok)
                m_table->setIntegerField(m_field, v);
        } else {
            QString t = text;
            t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
            m_table->setTextField(m_field, kv::text::toCp1251(t));
        }
    });
    m_storing = false;
}

} // namespace kv::widgets
