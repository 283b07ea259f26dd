#include "TextHelpers.h"

namespace kv::text {

std::string ConvertLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\r')
            out.push_back(kLineBreakMarker);
        else if (c == '\n')
            continue;
        else if (c == kLineBreakMarker)
            out.append("\r\n");
        else
            out.push_back(c);
    }
    return out;
}

std::string FlattenToOneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == kLineBreakMarker)
            out.push_back(' ');
        else if (c != '\n')
            out.push_back(c);
    }
    return out;
}

std::string CutToFieldWidth(std::string_view text)
{
    if (text.size() <= kFieldWidth)
        return std::string(text);
    std::string out(text.substr(0, kFieldWidth - 3));
    out.append("...");
    return out;
}

std::string MakeQuestionLine(std::string_view fullText)
{
    return CutToFieldWidth(FlattenToOneLine(fullText));
}

std::string TrimLeft(std::string_view text)
{
    std::size_t b = 0;
    while (b < text.size() && isTrimmedByte(text[b]))
        ++b;
    return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text)
{
    std::size_t e = text.size();
    while (e > 0 && isTrimmedByte(text[e - 1]))
        --e;
    return std::string(text.substr(0, e));
}

std::string Trim(std::string_view text)
{
    return TrimLeft(TrimRight(text));
}

} // namespace kv::text

namespace kv::text {

std::optional<std::int64_t> ParseInteger(std::string_view text)
{
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    if (i == t.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + (t[i] - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 2147483647LL)
        return std::nullopt;
    return value;
}

} // namespace kv::text
