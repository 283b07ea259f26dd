#include "RtfTokenizer.h"

#include <algorithm>
#include <limits>

namespace kv::rtf {
namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Control words longer than this are cut (the rest is read as text).
constexpr std::size_t kMaxWordLength = 32;
// Parameters longer than this many digits saturate.
constexpr std::size_t kMaxDigits = 10;

} // namespace

Token RtfTokenizer::next()
{
    // CR and LF between tokens carry no content.
    while (m_pos < m_input.size() && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n'))
        ++m_pos;
    Token token;
    token.position = m_pos;
    if (m_pos >= m_input.size())
        return token;
    const char c = m_input[m_pos];
    if (c == '{') {
        ++m_pos;
        token.kind = TokenKind::GroupOpen;
        return token;
    }
    if (c == '}') {
        ++m_pos;
        token.kind = TokenKind::GroupClose;
        return token;
    }
    if (c == '\\')
        return readControl(m_pos);
    const std::size_t start = m_pos;
    while (m_pos < m_input.size()) {
        const char d = m_input[m_pos];
        if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
            break;
        ++m_pos;
    }
    token.kind = TokenKind::Text;
    token.text = m_input.substr(start, m_pos - start);
    return token;
}

Token RtfTokenizer::readControl(std::size_t start)
{
    Token token;
    token.position = start;
    m_pos = start + 1;
    if (m_pos >= m_input.size()) {
        // A lone backslash at the end: nothing to read.
        token.kind = TokenKind::End;
        return token;
    }
    const char c = m_input[m_pos];
    if (!isLetter(c)) {
        ++m_pos;
        if (c == '\'') {
            // \'hh; a malformed escape keeps the digit it has (\'3? is 3).
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_input.size()) {
                const int h = hexValue(m_input[m_pos]);
                if (h < 0) {
                    // A stray second character still belongs to the escape,
                    // unless it starts the next token.
                    const char d = m_input[m_pos];
                    if (digits == 1 && d != '\\' && d != '{' && d != '}' && d != '\r' && d != '\n')
                        ++m_pos;
                    break;
                }
                value = value * 16 + h;
                ++m_pos;
                ++digits;
            }
            token.kind = TokenKind::HexByte;
            token.parameter = value;
            token.hasParameter = digits > 0;
            return token;
        }
        token.kind = TokenKind::ControlSymbol;
        // A backslash before a line end is a paragraph break.
        if (c == '\r' || c == '\n') {
            token.kind = TokenKind::ControlWord;
            token.word = "par";
            if (c == '\r' && m_pos < m_input.size() && m_input[m_pos] == '\n')
                ++m_pos;
            return token;
        }
        token.word = m_input.substr(start + 1, 1);
        return token;
    }
    const std::size_t wordStart = m_pos;
    while (m_pos < m_input.size() && isLetter(m_input[m_pos]) && m_pos - wordStart < kMaxWordLength)
        ++m_pos;
    token.kind = TokenKind::ControlWord;
    token.word = m_input.substr(wordStart, m_pos - wordStart);
    // Optional signed parameter.
    bool negative = false;
    std::size_t p = m_pos;
    if (p < m_input.size() && m_input[p] == '-' && p + 1 < m_input.size() &&
        isDigit(m_input[p + 1])) {
        negative = true;
        ++p;
    }
    if (p < m_input.size() && isDigit(m_input[p])) {
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (p < m_input.size() && isDigit(m_input[p])) {
            if (digits < kMaxDigits)
                value = value * 10 + (m_input[p] - '0');
            ++digits;
            ++p;
        }
        value = negative ? -value : value;
        value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max());
        token.hasParameter = true;
        token.parameter = static_cast<std::int32_t>(value);
        m_pos = p;
    }
    // One space after a control word is its delimiter.
    if (m_pos < m_input.size() && m_input[m_pos] == ' ')
        ++m_pos;
    if (token.word == "bin") {
        // Raw data follows; never past the end of the input.
        const std::size_t wanted = token.hasParameter && token.parameter > 0
                                       ? static_cast<std::size_t>(token.parameter)
                                       : 0;
        const std::size_t length = std::min(wanted, m_input.size() - m_pos);
        token.kind = TokenKind::Binary;
        token.text = m_input.substr(m_pos, length);
        m_pos += length;
    }
    return token;
}

} // namespace kv::rtf
