#include "RtfFragment.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace kv::rtf {

void copyRange(const QTextDocument &source, int from, int to, QTextCursor &target)
{
    const int last = source.characterCount() - 1;
    from = std::clamp(from, 0, last);
    to = std::clamp(to, from, last);
    if (from == to)
        return;
    QTextCursor selection(const_cast<QTextDocument *>(&source));
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    target.insertFragment(selection.selection());
}

} // namespace kv::rtf
