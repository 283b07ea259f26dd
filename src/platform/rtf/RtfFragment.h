#pragma once
// Moves formatted text between documents directly, without a clipboard.

class QTextCursor;
class QTextDocument;

namespace kv::rtf {

// Inserts the range [from, to) of `source` at `target`, keeping character
// formats and the paragraph formats of the paragraphs it spans (a paragraph of
// the target takes the format of the source paragraph whose text begins it). A range that
// ends with a paragraph end brings that paragraph end along.
void copyRange(const QTextDocument &source, int from, int to, QTextCursor &target);

} // namespace kv::rtf
