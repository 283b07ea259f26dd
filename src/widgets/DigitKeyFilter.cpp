#include "DigitKeyFilter.h"

#include "platform/text/TextHelpers.h"

#include <QKeyEvent>

namespace kv::widgets {

void DigitKeyFilter::install(QObject *field)
{
    field->installEventFilter(new DigitKeyFilter(field));
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Shortcuts (Ctrl+V pastes, Ctrl+C copies) type no character.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    bool typesSomething = false;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == 8 || (c >= 32 && c != 127))
            typesSomething = true;
    }
    if (!typesSomething)
        return false; // arrows, Delete, Tab, Enter: no typed character
    for (QChar ch : text) {
        if (!kv::text::isDigitKeyAccepted(ch.unicode()))
            return true; // discarded whole
    }
    return false;
}

} // namespace kv::widgets
