#pragma once
// Reads RTF into a QTextDocument: the text with its character formats (font,
// size, bold, italic, underline, strike-out, colours) and paragraph formats
// (alignment, indents, spacing). Files from any word processor are read;
// damaged ones (unbalanced braces, cut off) give what can be read, and hostile
// ones stop with an error that names the byte where reading gave up. Memory
// and time stay proportional to the input.

#include <QByteArrayView>
#include <QString>

#include <cstddef>

class QTextCursor;
class QTextDocument;

namespace kv::rtf {

enum class ReadError {
    None,
    FileError, // the file could not be read
    NotRtf,    // the bytes do not begin with "{\rtf"
    TooDeep,   // groups nested deeper than kMaxGroupDepth
};

class RtfReader
{
public:
    // Deeper nesting than this is refused; real documents stay far below.
    static constexpr int kMaxGroupDepth = 500;

    // Replaces the content of `document` with the RTF. On an error the
    // document holds what was read before it.
    bool read(QByteArrayView rtf, QTextDocument *document);
    // Inserts the RTF at the cursor; the first paragraph of the RTF joins the
    // paragraph at the cursor. The cursor ends after the inserted text.
    bool insert(QByteArrayView rtf, QTextCursor &cursor);
    bool readFile(const QString &path, QTextDocument *document);

    ReadError error() const { return m_error; }
    // Byte offset at which reading stopped (0 for file errors).
    std::size_t errorPosition() const { return m_errorPosition; }
    // A Russian message for the user; names the file when one was read.
    QString errorString() const { return m_errorString; }
    // True when the input was damaged and repaired while reading: a closing
    // brace without its group was ignored, or groups were left open at the end.
    bool wasRepaired() const { return m_repaired; }

private:
    bool run(QByteArrayView rtf, QTextCursor &cursor, const QString &fileName);

    ReadError m_error = ReadError::None;
    std::size_t m_errorPosition = 0;
    QString m_errorString;
    bool m_repaired = false;
};

} // namespace kv::rtf
