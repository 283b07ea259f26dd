#include "BaseText.h"

#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

namespace kv::basefile {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kMarker = text::kLineBreakMarker;

void appendNumber(std::string &out, std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendEscaped(std::string &out, char code)
{
    out.push_back(kEscapeByte);
    out.push_back(code);
}

// The bytes a full text cannot keep as they are: CR, LF, ¶ and DLE.
constexpr std::array<bool, 256> kFullTextSpecial = [] {
    std::array<bool, 256> special{};
    for (const char c : {kCR, kLF, kMarker, kEscapeByte})
        special[static_cast<unsigned char>(c)] = true;
    return special;
}();

void appendFullText(std::string &out, std::string_view text)
{
    std::size_t copied = 0; // bytes before this one are in `out`
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!kFullTextSpecial[static_cast<unsigned char>(c)])
            continue;
        out.append(text.data() + copied, i - copied);
        if (c == kCR) {
            if (i + 1 < text.size() && text[i + 1] == kLF) {
                out.push_back(kMarker);
                ++i;
            } else {
                appendEscaped(out, 'r');
            }
        } else if (c == kLF) {
            appendEscaped(out, 'n');
        } else {
            appendEscaped(out, c);
        }
        copied = i + 1;
    }
    out.append(text.data() + copied, text.size() - copied);
}

void appendGroupName(std::string &out, std::string_view name)
{
    for (const char c : name) {
        if (c == kCR)
            appendEscaped(out, 'r');
        else if (c == kLF)
            appendEscaped(out, 'n');
        else if (c == kEscapeByte)
            appendEscaped(out, c);
        else
            out.push_back(c);
    }
}

bool isBlankLine(std::string_view line)
{
    for (const char c : line)
        if (!text::isTrimmedByte(c))
            return false;
    return true;
}

// The first of two bytes at or after `from` (`size` when neither occurs);
// `next1` and `next2` remember where each occurs next, so that every byte of
// the text is searched once (memchr) however many lines there are.
class TwoByteSearch
{
public:
    TwoByteSearch(std::string_view text, char b1, char b2) : text_(text), b1_(b1), b2_(b2) {}

    std::size_t find(std::size_t from)
    {
        if (!known_ || next1_ < from)
            next1_ = search(b1_, from);
        if (!known_ || next2_ < from)
            next2_ = search(b2_, from);
        known_ = true;
        return std::min(next1_, next2_);
    }

private:
    std::size_t search(char b, std::size_t from) const
    {
        if (from >= text_.size())
            return text_.size();
        const void *hit = std::memchr(text_.data() + from, b, text_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text_.data())
                   : text_.size();
    }

    std::string_view text_;
    char b1_, b2_;
    std::size_t next1_ = 0, next2_ = 0;
    bool known_ = false;
};

// Walks the lines of a text: a line ends at CR LF, LF or CR; a line end at
// the very end opens no further line.
class LineCursor
{
public:
    explicit LineCursor(std::string_view text) : text_(text), ends_(text, kCR, kLF) {}

    bool next(std::string_view &line)
    {
        if (pos_ >= text_.size())
            return false;
        const std::size_t end = ends_.find(pos_);
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size()) {
            if (text_[pos_] == kCR && pos_ + 1 < text_.size() && text_[pos_ + 1] == kLF)
                pos_ += 2;
            else
                pos_ += 1;
        }
        ++number_;
        return true;
    }
    int number() const { return number_; }

private:
    std::string_view text_;
    TwoByteSearch ends_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

// ¶ is a line break in full texts and an ordinary byte in group names.
std::string decodeField(std::string_view field, bool markerIsLineBreak)
{
    std::string out;
    out.reserve(field.size() + field.size() / 32);
    std::size_t copied = 0; // bytes before this one are in `out`
    TwoByteSearch special(field, kEscapeByte, kMarker);
    for (std::size_t i = special.find(0); i < field.size(); i = special.find(i + 1)) {
        const char c = field[i];
        out.append(field.data() + copied, i - copied);
        copied = i + 1;
        if (c == kEscapeByte && i + 1 < field.size()) {
            const char code = field[i + 1];
            char decoded = 0;
            if (code == kEscapeByte || code == kMarker)
                decoded = code;
            else if (code == 'r')
                decoded = kCR;
            else if (code == 'n')
                decoded = kLF;
            if (decoded != 0) {
                out.push_back(decoded);
                copied = ++i + 1;
                continue;
            }
        }
        if (c == kMarker && markerIsLineBreak)
            out.append("\r\n");
        else
            out.push_back(c);
    }
    out.append(field.data() + copied, field.size() - copied);
    return out;
}

struct NumberField
{
    const char *what; // how a message names it
    std::int64_t min, max;
};

constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kShortMin = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kShortMax = std::numeric_limits<std::int16_t>::max();

constexpr NumberField kQuestionGroup{"номер группы", kIntMin, kIntMax};
constexpr std::array<NumberField, 4> kTicketFields{{
    {"номер билета", kShortMin, kShortMax},
    {"номер вопроса в билете", kShortMin, kShortMax},
    {"номер вопроса в базе", kShortMin, kShortMax},
    {"номер группы", kShortMin, kShortMax},
}};

enum class NumberResult { Ok, NotInteger, OutOfRange };

// An optionally signed decimal integer with blanks allowed before it and
// nothing after it.
NumberResult parseNumber(std::string_view s, const NumberField &field, std::int64_t &value)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return NumberResult::NotInteger;
    constexpr std::int64_t kCap = std::int64_t{1} << 40; // beyond every field
    std::int64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return NumberResult::NotInteger;
        if (magnitude < kCap)
            magnitude = magnitude * 10 + (s[i] - '0');
    }
    value = negative ? -magnitude : magnitude;
    if (value < field.min || value > field.max)
        return NumberResult::OutOfRange;
    return NumberResult::Ok;
}

QString numberError(NumberResult result, const NumberField &field)
{
    const QString what = QString::fromUtf8(field.what);
    if (result == NumberResult::NotInteger)
        return QStringLiteral("%1 не является целым числом").arg(what);
    return QStringLiteral("%1 вне допустимых пределов (от %2 до %3)")
        .arg(what)
        .arg(field.min)
        .arg(field.max);
}

} // namespace

std::string encodeFullText(std::string_view fullText)
{
    std::string out;
    out.reserve(fullText.size());
    appendFullText(out, fullText);
    return out;
}

std::string decodeFullText(std::string_view field)
{
    return decodeField(field, true);
}

std::string encodeGroupName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    appendGroupName(out, name);
    return out;
}

std::string decodeGroupName(std::string_view line)
{
    return decodeField(line, false);
}

std::string writeBaseText(const BaseData &base)
{
    std::size_t size = 4;
    for (const auto &g : base.groups)
        size += g.name.size() + 5;
    for (const auto &q : base.questions)
        size += q.fullText.size() + 16;
    for (const auto &t : base.tickets)
        size += t.fullText.size() + 32;
    std::string out;
    out.reserve(size);

    for (const auto &g : base.groups) {
        if (g.name.empty())
            out.append(kEmptyGroupLine);
        else
            appendGroupName(out, g.name);
        out.append("\r\n");
    }
    out.append("\r\n");
    for (const auto &q : base.questions) {
        appendNumber(out, q.group);
        out.push_back(kFieldSeparator);
        appendFullText(out, q.fullText);
        out.append("\r\n");
    }
    out.append("\r\n");
    for (const auto &t : base.tickets) {
        for (const std::int64_t n : {t.ticket, t.position, t.question, t.group}) {
            appendNumber(out, n);
            out.push_back(kFieldSeparator);
        }
        appendFullText(out, t.fullText);
        out.append("\r\n");
    }
    return out;
}

std::string decodeBaseFileBytes(std::string_view bytes)
{
    auto startsWith = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (startsWith("\xEF\xBB\xBF")) {
        const std::string_view body = bytes.substr(3);
        return text::toCp1251(QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size())));
    }
    const bool littleEndian = startsWith("\xFF\xFE");
    if (littleEndian || startsWith("\xFE\xFF")) {
        const std::string_view body = bytes.substr(2);
        QString unicode(static_cast<qsizetype>(body.size() / 2), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(unicode.data());
        for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(body[littleEndian ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(body[littleEndian ? i + 1 : i]);
            *out++ = static_cast<char16_t>(lo | (hi << 8));
        }
        return text::toCp1251(unicode);
    }
    return std::string(bytes);
}

bool BaseTextReader::fail(int line, const QString &why)
{
    data_ = BaseData();
    errorLine_ = line;
    errorString_ = QStringLiteral("строка %1: %2").arg(line).arg(why);
    return false;
}

bool BaseTextReader::read(std::string_view fileBytes)
{
    data_ = BaseData();
    errorLine_ = 0;
    errorString_.clear();

    std::string converted;
    std::string_view text = fileBytes;
    if (!fileBytes.empty() &&
        (fileBytes[0] == '\xEF' || fileBytes[0] == '\xFF' || fileBytes[0] == '\xFE')) {
        converted = decodeBaseFileBytes(fileBytes);
        text = converted;
    }

    LineCursor lines(text);
    std::string_view line;

    // Groups: only a line without any character closes the section; a line
    // of blanks is a group.
    while (lines.next(line)) {
        if (line.empty())
            break;
        data_.groups.push_back(
            {static_cast<std::int64_t>(data_.groups.size()) + 1, decodeGroupName(line)});
    }

    // Questions: a blank line closes the section.
    while (lines.next(line)) {
        if (isBlankLine(line))
            break;
        const std::size_t sep = line.find(kFieldSeparator);
        if (sep == std::string_view::npos)
            return fail(lines.number(), QStringLiteral("нет разделителя"));
        std::int64_t group = 0;
        const NumberResult r = parseNumber(line.substr(0, sep), kQuestionGroup, group);
        if (r != NumberResult::Ok)
            return fail(lines.number(), numberError(r, kQuestionGroup));
        data_.questions.push_back({static_cast<std::int64_t>(data_.questions.size()) + 1, group,
                                   decodeFullText(line.substr(sep + 1))});
    }

    // Tickets: up to the first blank line; whatever follows it is ignored.
    while (lines.next(line)) {
        if (isBlankLine(line))
            break;
        std::array<std::int64_t, 4> numbers{};
        std::size_t start = 0;
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            const std::size_t sep = line.find(kFieldSeparator, start);
            if (sep == std::string_view::npos)
                return fail(lines.number(),
                            QStringLiteral("в строке билета меньше четырёх разделителей"));
            const NumberResult r =
                parseNumber(line.substr(start, sep - start), kTicketFields[k], numbers[k]);
            if (r != NumberResult::Ok)
                return fail(lines.number(), numberError(r, kTicketFields[k]));
            start = sep + 1;
        }
        data_.tickets.push_back(
            {numbers[0], numbers[1], numbers[2], numbers[3], decodeFullText(line.substr(start))});
    }
    return true;
}

} // namespace kv::basefile
