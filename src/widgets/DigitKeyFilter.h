#pragma once
// The key filter of the number fields: a typed character reaches the field
// only when it is a digit 0..9 or Backspace; any other typed character is
// discarded whole. Pasting (menu or Ctrl+V) and keys that type nothing pass.

#include <QObject>

namespace kv::widgets {

class DigitKeyFilter : public QObject
{
public:
    explicit DigitKeyFilter(QObject *parent = nullptr) : QObject(parent) {}

    // Installs a filter owned by the field.
    static void install(QObject *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kv::widgets
