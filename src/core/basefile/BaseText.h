#pragma once
// The text of a base file (*.txb): the group names, the questions and the
// last ticket set of a base, one record per line, in three sections closed
// by empty lines.
//
//   group line     the name; "   " (three spaces) for an empty name
//   question line  NGRUPPY ¤ full text
//   ticket line    NBILETA ¤ NVOPROSA ¤ NPOR ¤ NGRUPPY ¤ full text
//
// ¤ is the byte 0xA4; only the first one of a question line and the first
// four of a ticket line separate, the text may hold more. Inside a full text
// ¶ (0xB6) stands for one line break (CR LF). Written files are Windows-1251
// without a byte-order mark, CR LF after every line; read files may also be
// UTF-8 or UTF-16 with a byte-order mark, with CR LF, LF or CR line ends.
//
// Every record stays on one line. What the layout above cannot carry is
// written with the escape byte DLE (0x10), which the program itself never
// puts into a text:
//   DLE ¶    a ¶ that is part of a full text, not a line break
//   DLE r    a CR that is not followed by LF (in a group name: every CR)
//   DLE n    an LF that does not follow a CR (in a group name: every LF)
//   DLE DLE  the byte DLE itself
// A DLE followed by any other byte is an ordinary byte, so a file without
// these pairs reads exactly as it always did.

#include "BaseData.h"

#include <QString>

#include <string>
#include <string_view>

namespace kv::basefile {

inline constexpr char kFieldSeparator = '\xA4';
inline constexpr char kEscapeByte = '\x10';
// The whole line of a group whose name is empty.
inline constexpr std::string_view kEmptyGroupLine = "   ";

// The bytes of the base file for `base`. The running numbers of groups and
// questions are not written: the file order gives them.
std::string writeBaseText(const BaseData &base);

// One field of a line and back (see the escapes above).
std::string encodeFullText(std::string_view fullText);
std::string decodeFullText(std::string_view field);
std::string encodeGroupName(std::string_view name);
std::string decodeGroupName(std::string_view line);

// The bytes of a file as Windows-1251 text: a UTF-8 or UTF-16 (LE, BE) file
// with its byte-order mark is converted (a character that Windows-1251 has
// not becomes '?'), any other file is taken as it is.
std::string decodeBaseFileBytes(std::string_view bytes);

// Reads the text of a whole base file. Either every line is taken apart and
// data() holds the base, or read() returns false, data() is empty and
// errorString() tells which line could not be read and why. Groups are
// numbered 1, 2, 3 ... and questions 1, 2, 3 ... in file order; the numbers
// of question and ticket lines are kept as written.
class BaseTextReader
{
public:
    bool read(std::string_view fileBytes);

    const BaseData &data() const { return data_; }
    BaseData takeData() { return std::move(data_); }
    // 1-based number of the line that stopped the reading; 0 after success.
    int errorLine() const { return errorLine_; }
    // "строка 12: нет разделителя"
    const QString &errorString() const { return errorString_; }

private:
    bool fail(int line, const QString &why);

    BaseData data_;
    int errorLine_ = 0;
    QString errorString_;
};

} // namespace kv::basefile
