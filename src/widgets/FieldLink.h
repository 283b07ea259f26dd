#pragma once
// The link of an editor to one field of a table view: follows the view's
// current record and hands typed text to the view's edit buffer, putting the
// view into edit mode first when it is browsing.

#include <QObject>
#include <QPointer>
#include <QString>

#include "platform/store/Table.h"

#include <functional>
#include <string>

#include "TableModel.h"

namespace kv::widgets {

class FieldLink : public QObject
{
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent = nullptr);

    void setTable(kv::store::Table *table, std::string field, FieldKind kind);
    kv::store::Table *table() const { return m_table; }
    const std::string &field() const { return m_field; }
    FieldKind kind() const { return m_kind; }

    // The field of the current record as the editor shows it (CR LF -> LF);
    // empty when the view is closed or has no record.
    QString currentText() const;

    // Hands the editor's text to the view (LF -> CR LF); starts an edit first
    // when the view is browsing. An integer field takes the decimal number
    // (empty text: no value); text that is no number is left out.
    void store(const QString &text);

    // Called whenever the shown text must follow the view.
    std::function<void()> onRecordChanged;

private:
    void notify();

    QPointer<kv::store::Table> m_table;
    std::string m_field;
    FieldKind m_kind = FieldKind::Text;
    bool m_storing = false;
};

} // namespace kv::widgets
