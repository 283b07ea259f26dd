#pragma once
// The two looks of a lockable editor: locked on the button-face colour,
// editable on the ordinary editing (window) colour.

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace kv::widgets {

inline QColor lockedEditorColour()
{
    return QApplication::palette().color(QPalette::Button);
}
inline QColor editableEditorColour()
{
    return QApplication::palette().color(QPalette::Base);
}

inline void setEditorColour(QWidget *editor, bool locked)
{
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, locked ? lockedEditorColour() : editableEditorColour());
    editor->setPalette(p);
}

} // namespace kv::widgets
