#include "RtfFragment.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>

namespace kv::rtf {

// Copied block by block rather than through QTextDocumentFragment: a fragment
// inserted into an existing paragraph leaves that paragraph's format as it was,
// so a copied line would lose its alignment and indents.
void copyRange(const QTextDocument &source, int from, int to, QTextCursor &target)
{
    const int last = source.characterCount() - 1;
    from = std::clamp(from, 0, last);
    to = std::clamp(to, from, last);
    if (from == to)
        return;
    target.beginEditBlock();
    for (QTextBlock block = source.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int blockStart = block.position();
        const int textEnd = blockStart + block.length() - 1; // before the paragraph end
        const int start = std::max(from, blockStart);
        const int end = std::min(to, textEnd);
        // The text begins a paragraph of the target: the paragraph takes the
        // source paragraph's format.
        if (target.atBlockStart())
            target.setBlockFormat(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fStart = std::max(start, fragment.position());
            const int fEnd = std::min(end, fragment.position() + fragment.length());
            if (fStart < fEnd)
                target.insertText(fragment.text().mid(fStart - fragment.position(), fEnd - fStart),
                                  fragment.charFormat());
        }
        if (to > textEnd)
            target.insertBlock(QTextBlockFormat(), block.charFormat());
    }
    target.endEditBlock();
}

} // namespace kv::rtf
