#pragma once
// Splits RTF bytes into tokens. The tokenizer knows nothing of meaning; it
// only guarantees that every token lies inside the input and that it always
// moves forward, so any input ends in a bounded number of steps.

#include <cstdint>
#include <string_view>

namespace kv::rtf {

enum class TokenKind {
    GroupOpen,     // {
    GroupClose,    // }
    ControlWord,   // \word or \wordN (name in `word`, number in `parameter`)
    ControlSymbol, // \x for a non-letter x other than ' (the symbol in `word`)
    HexByte,       // \'hh (the byte in `parameter`)
    Text,          // a run of plain bytes (no CR or LF) in `text`
    Binary,        // the data of \binN in `text`
    End,           // the end of the input
};

struct Token
{
    TokenKind kind = TokenKind::End;
    std::string_view word;
    std::string_view text;
    bool hasParameter = false;
    std::int32_t parameter = 0;
    std::size_t position = 0; // byte offset of the token's first byte
};

class RtfTokenizer
{
public:
    explicit RtfTokenizer(std::string_view input) : m_input(input) {}

    Token next();
    std::size_t position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_input.size(); }

private:
    Token readControl(std::size_t start);

    std::string_view m_input;
    std::size_t m_pos = 0;
};

} // namespace kv::rtf
