#include "RtfReader.h"

#include "CodePages.h"
#include "RtfControlWords.h"
#include "RtfTokenizer.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kv::rtf {
namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxUnicodeSkip = 64;
constexpr char16_t kReplacement = 0xFFFD;

enum class Destination { Body, FontTable, ColorTable, Info, Title, Skip };

struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int foreColor = 0;
    int backColor = 0;
    int vertical = 0; // -1 subscript, 1 superscript
    bool operator==(const CharState &) const = default;
};

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int firstTwips = 0;
    int rightTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
    bool inTable = false;
    bool pageBreakBefore = false;
};

struct GroupState
{
    Destination destination = Destination::Body;
    CharState chr;
    ParaState para;
    int unicodeSkip = 1;
};

struct FontEntry
{
    std::string nameBytes;
    QString name;
    int codePage = 0; // 0: the document's code page
    int charset = -1;
};

// Builds the document through a cursor: text runs with their character
// format, paragraph ends with the format of the paragraph they close.
class CursorOutput
{
public:
    explicit CursorOutput(QTextCursor &cursor) : m_cursor(cursor) {}

    void text(const QString &text, const QTextCharFormat &format)
    {
        m_cursor.insertText(text, format);
        m_blockHasText = true;
    }
    void paragraphEnd(const QTextBlockFormat &format, const QTextCharFormat &nextChar)
    {
        m_cursor.setBlockFormat(format);
        m_cursor.insertBlock(QTextBlockFormat(), nextChar);
        m_blockHasText = false;
    }
    void finish(const QTextBlockFormat &format) { m_cursor.setBlockFormat(format); }
    void title(const QString &title)
    {
        m_cursor.document()->setMetaInformation(QTextDocument::DocumentTitle, title.trimmed());
    }
    bool blockHasText() const { return m_blockHasText; }

private:
    QTextCursor &m_cursor;
    bool m_blockHasText = false;
};

class Parser
{
public:
    Parser(std::string_view input, QTextCursor &cursor) : m_tokens(input), m_out(cursor) {}

    ReadError run();
    std::size_t errorPosition() const { return m_errorPosition; }
    bool repaired() const { return m_repaired; }

private:
    GroupState &state() { return m_stack.back(); }
    void handleWord(const Token &token);
    void handleSymbol(const Token &token);
    void handleText(std::string_view bytes);
    void handleFontTableText(std::string_view bytes);
    void handleColorTableText(std::string_view bytes);
    void commitFont();
    int fontCodePage() const; // of the font table entry being read

    int currentCodePage();
    void addBytes(std::string_view bytes);
    void addUnicode(int value);
    void addText(const QString &text);
    void addChar(char16_t ch) { addText(QString(QChar(ch))); }
    void flushBytes();
    void flushText();
    void flushSurrogate();
    void endParagraph();
    void finish();
    QTextCharFormat charFormat(const CharState &chr) const;
    QTextBlockFormat blockFormat(const ParaState &para) const;

    RtfTokenizer m_tokens;
    CursorOutput m_out;
    std::vector<GroupState> m_stack;
    std::size_t m_errorPosition = 0;
    bool m_repaired = false;
    bool m_rootClosed = false;
    QString m_title;

    // Document settings.
    int m_ansiCodePage = kCodePageAnsi;
    int m_defaultFont = 0; // font 0 unless \deff says otherwise
    std::map<int, FontEntry> m_fonts;
    std::vector<QColor> m_colors;

    // Font and colour table entries being read.
    int m_fontNumber = -1;
    FontEntry m_font;
    bool m_fontOpen = false;
    int m_red = -1, m_green = -1, m_blue = -1;

    // Text waiting for output.
    int m_skip = 0;               // fallback characters still to skip after \uN
    bool m_ignorableNext = false; // \* was seen: the group is skipped unless known
    std::string m_bytes;          // 8-bit text not yet decoded
    int m_bytesCodePage = 0;
    char16_t m_highSurrogate = 0; // waiting for its low half
    QString m_text;               // decoded text not yet written
    CharState m_textState;        // the format of m_text
    int m_pendingCells = 0;       // cell separators to write before the next text
    bool m_pageBreakNext = false;
};

ReadError Parser::run()
{
    m_stack.emplace_back();
    bool started = false;
    for (;;) {
        const Token token = m_tokens.next();
        if (token.kind == TokenKind::End)
            break;
        if (!started) {
            // The header must open the document.
            if (token.kind != TokenKind::GroupOpen) {
                m_errorPosition = token.position;
                return ReadError::NotRtf;
            }
            const Token word = m_tokens.next();
            if (word.kind != TokenKind::ControlWord || word.word != "rtf") {
                m_errorPosition = word.position;
                return ReadError::NotRtf;
            }
            m_stack.push_back(m_stack.back());
            started = true;
            continue;
        }
        if (m_rootClosed &&
            (token.kind != TokenKind::Text ||
             token.text.find_first_not_of(std::string_view(" \0", 2)) != std::string_view::npos))
            m_repaired = true; // more than blanks after the end of the document
        if (m_skip > 0 && token.kind != TokenKind::GroupOpen &&
            token.kind != TokenKind::GroupClose) {
            // Fallback characters of \uN: a text run counts byte by byte,
            // every other token as one character.
            if (token.kind == TokenKind::Text) {
                const auto n = std::min<std::size_t>(std::size_t(m_skip), token.text.size());
                m_skip -= int(n);
                if (n < token.text.size())
                    handleText(token.text.substr(n));
            } else {
                --m_skip;
            }
            continue;
        }
        switch (token.kind) {
        case TokenKind::GroupOpen:
            m_skip = 0;
            if (int(m_stack.size()) > RtfReader::kMaxGroupDepth) {
                m_errorPosition = token.position;
                finish();
                return ReadError::TooDeep;
            }
            flushBytes();
            m_stack.push_back(m_stack.back());
            break;
        case TokenKind::GroupClose:
            m_skip = 0;
            m_ignorableNext = false;
            flushBytes();
            if (state().destination == Destination::FontTable)
                commitFont();
            if (m_stack.size() <= 2) {
                // The document's own group closes here; a second time is a
                // brace without its group, and what follows is read as if it
                // were still inside the document.
                if (m_rootClosed)
                    m_repaired = true;
                m_rootClosed = true;
                break;
            }
            m_stack.pop_back();
            break;
        case TokenKind::ControlWord:
            handleWord(token);
            break;
        case TokenKind::ControlSymbol:
            handleSymbol(token);
            break;
        case TokenKind::HexByte: {
            const char byte = char(token.parameter);
            handleText(std::string_view(&byte, 1));
            break;
        }
        case TokenKind::Text:
            handleText(token.text);
            break;
        case TokenKind::Binary:
        case TokenKind::End:
            break;
        }
    }
    if (!started) {
        m_errorPosition = 0;
        return ReadError::NotRtf;
    }
    if (!m_rootClosed)
        m_repaired = true; // cut off inside groups
    finish();
    return ReadError::None;
}

void Parser::handleSymbol(const Token &token)
{
    const char symbol = token.word.empty() ? 0 : token.word[0];
    if (symbol == '*') {
        m_ignorableNext = true;
        return;
    }
    if (state().destination == Destination::Skip)
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        handleText(token.word);
        break;
    case '~':
        addChar(0x00A0);
        break;
    case '-':
        addChar(0x00AD);
        break;
    case '_':
        addChar(0x2011);
        break;
    case '\t':
        addChar(u'\t');
        break;
    default:
        break;
    }
}

void Parser::handleWord(const Token &token)
{
    const Word word = lookupWord(token.word);
    const bool ignorable = m_ignorableNext;
    m_ignorableNext = false;
    GroupState &st = state();
    if (st.destination == Destination::Skip)
        return;
    if (ignorable && word != Word::FontTable && word != Word::ColorTable) {
        // An optional destination we do not read.
        flushBytes();
        st.destination = Destination::Skip;
        return;
    }
    const int param = token.parameter;
    const bool on = !token.hasParameter || param != 0;
    // Settings that hold in any destination.
    switch (word) {
    case Word::SkipDestination:
        flushBytes();
        st.destination = Destination::Skip;
        return;
    case Word::FontTable:
        flushBytes();
        st.destination = Destination::FontTable;
        return;
    case Word::Info:
        flushBytes();
        st.destination = Destination::Info;
        return;
    case Word::ColorTable:
        flushBytes();
        st.destination = Destination::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = -1;
        return;
    case Word::Ansi:
        m_ansiCodePage = kCodePageAnsi;
        return;
    case Word::Mac:
        m_ansiCodePage = 10000;
        return;
    case Word::Pc:
        m_ansiCodePage = 437;
        return;
    case Word::Pca:
        m_ansiCodePage = 850;
        return;
    case Word::AnsiCodePage:
        if (token.hasParameter && param > 0)
            m_ansiCodePage = param;
        return;
    case Word::DefaultFont:
        m_defaultFont = param;
        return;
    case Word::UnicodeSkip:
        st.unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip);
        return;
    default:
        break;
    }
    if (st.destination == Destination::FontTable) {
        switch (word) {
        case Word::Font:
            commitFont();
            m_fontNumber = param;
            m_fontOpen = true;
            break;
        case Word::FontCharset:
            m_font.charset = param;
            break;
        case Word::FontCodePage:
            m_font.codePage = param;
            break;
        case Word::Unicode:
            if (m_fontOpen) {
                const int codePage = fontCodePage();
                m_font.name += decodeBytes(codePage ? codePage : m_ansiCodePage, m_font.nameBytes);
                m_font.nameBytes.clear();
                m_font.name.append(QChar(char16_t(param)));
            }
            m_skip = st.unicodeSkip;
            break;
        default:
            break;
        }
        return;
    }
    if (st.destination == Destination::ColorTable) {
        const int value = std::clamp(param, 0, 255);
        if (word == Word::Red)
            m_red = value;
        else if (word == Word::Green)
            m_green = value;
        else if (word == Word::Blue)
            m_blue = value;
        return;
    }
    if (st.destination == Destination::Info) {
        if (word == Word::Title) {
            flushBytes();
            st.destination = Destination::Title;
        }
        return;
    }
    if (st.destination == Destination::Title) {
        if (word == Word::Unicode) {
            addUnicode(param);
            m_skip = st.unicodeSkip;
        }
        return;
    }
    // Body.
    CharState &chr = st.chr;
    ParaState &para = st.para;
    switch (word) {
    case Word::Unicode:
        addUnicode(param);
        m_skip = st.unicodeSkip;
        break;
    case Word::Par:
    case Word::Sect:
    case Word::Row:
    case Word::NestRow:
        endParagraph();
        break;
    case Word::Page:
        flushBytes();
        flushText();
        if (m_out.blockHasText())
            endParagraph();
        m_pageBreakNext = true;
        break;
    case Word::Line:
        addChar(QChar::LineSeparator);
        break;
    case Word::Tab:
        addChar(u'\t');
        break;
    case Word::Cell:
    case Word::NestCell:
        flushBytes();
        ++m_pendingCells;
        break;
    case Word::EmDash:
        addChar(0x2014);
        break;
    case Word::EnDash:
        addChar(0x2013);
        break;
    case Word::EmSpace:
        addChar(0x2003);
        break;
    case Word::EnSpace:
        addChar(0x2002);
        break;
    case Word::QmSpace:
        addChar(0x2005);
        break;
    case Word::Bullet:
        addChar(0x2022);
        break;
    case Word::LeftQuote:
        addChar(0x2018);
        break;
    case Word::RightQuote:
        addChar(0x2019);
        break;
    case Word::LeftDoubleQuote:
        addChar(0x201C);
        break;
    case Word::RightDoubleQuote:
        addChar(0x201D);
        break;
    case Word::ZeroWidthJoiner:
        addChar(0x200D);
        break;
    case Word::ZeroWidthNonJoiner:
        addChar(0x200C);
        break;
    case Word::LtrMark:
        addChar(0x200E);
        break;
    case Word::RtlMark:
        addChar(0x200F);
        break;
    case Word::ParagraphDefault:
        para = ParaState();
        break;
    case Word::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Word::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        para.leftTwips = param;
        break;
    case Word::RightIndent:
        para.rightTwips = param;
        break;
    case Word::FirstIndent:
        para.firstTwips = param;
        break;
    case Word::SpaceBefore:
        para.beforeTwips = param;
        break;
    case Word::SpaceAfter:
        para.afterTwips = param;
        break;
    case Word::InTable:
        para.inTable = true;
        break;
    case Word::PageBreakBefore:
        para.pageBreakBefore = on;
        break;
    case Word::Plain:
        flushBytes();
        chr = CharState();
        break;
    case Word::Bold:
        flushBytes();
        chr.bold = on;
        break;
    case Word::Italic:
        flushBytes();
        chr.italic = on;
        break;
    case Word::Underline:
        flushBytes();
        chr.underline = on;
        break;
    case Word::UnderlineNone:
        flushBytes();
        chr.underline = false;
        break;
    case Word::Strike:
        flushBytes();
        chr.strike = on;
        break;
    case Word::Hidden:
        flushBytes();
        chr.hidden = on;
        break;
    case Word::FontSize:
        flushBytes();
        chr.halfPoints =
            token.hasParameter && param > 0 ? std::min(param, 3276) : kDefaultHalfPoints;
        break;
    case Word::Font:
        flushBytes();
        chr.font = param;
        break;
    case Word::ForeColor:
        flushBytes();
        chr.foreColor = param;
        break;
    case Word::BackColor:
    case Word::Highlight:
        flushBytes();
        chr.backColor = param;
        break;
    case Word::Subscript:
        flushBytes();
        chr.vertical = on ? -1 : 0;
        break;
    case Word::Superscript:
        flushBytes();
        chr.vertical = on ? 1 : 0;
        break;
    case Word::NoSuperSub:
        flushBytes();
        chr.vertical = 0;
        break;
    default:
        break;
    }
}

void Parser::handleText(std::string_view bytes)
{
    switch (state().destination) {
    case Destination::Skip:
    case Destination::Info:
        return;
    case Destination::FontTable:
        handleFontTableText(bytes);
        return;
    case Destination::ColorTable:
        handleColorTableText(bytes);
        return;
    case Destination::Body:
    case Destination::Title:
        addBytes(bytes);
        return;
    }
}

void Parser::handleFontTableText(std::string_view bytes)
{
    if (!m_fontOpen)
        return;
    for (char c : bytes) {
        if (c == ';') {
            commitFont();
            continue;
        }
        // Bounded: a font name never needs more.
        if (m_font.nameBytes.size() < 256)
            m_font.nameBytes.push_back(c);
    }
}

int Parser::fontCodePage() const
{
    int codePage = m_font.codePage;
    if (codePage == 0)
        codePage = codePageOfCharset(m_font.charset);
    if (m_font.charset == 77 && m_ansiCodePage >= 10000)
        codePage = m_ansiCodePage; // a Mac charset follows the document's Mac code page
    return codePage;
}

void Parser::commitFont()
{
    if (!m_fontOpen)
        return;
    const int codePage = fontCodePage();
    FontEntry entry = m_font;
    entry.codePage = codePage;
    entry.name += decodeBytes(codePage ? codePage : m_ansiCodePage, m_font.nameBytes);
    entry.name = entry.name.trimmed();
    entry.nameBytes.clear();
    m_fonts[m_fontNumber] = entry;
    m_font = FontEntry();
    m_fontOpen = false;
}

void Parser::handleColorTableText(std::string_view bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colors.emplace_back(); // "auto"
        else
            m_colors.emplace_back(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0));
        m_red = m_green = m_blue = -1;
        if (m_colors.size() > 4096)
            m_colors.pop_back();
    }
}

int Parser::currentCodePage()
{
    int font = state().chr.font;
    if (font < 0)
        font = m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && it->second.codePage != 0)
        return it->second.codePage;
    return m_ansiCodePage;
}

void Parser::addBytes(std::string_view bytes)
{
    if (bytes.empty())
        return;
    const int codePage = currentCodePage();
    if (!m_bytes.empty() && codePage != m_bytesCodePage)
        flushBytes();
    m_bytesCodePage = codePage;
    m_bytes.append(bytes);
    // Single-byte code pages need no run to decode; keep runs short.
    if (!isMultiByteCodePage(codePage) || m_bytes.size() > 4096)
        flushBytes();
}

void Parser::flushBytes()
{
    if (m_bytes.empty())
        return;
    const QString text = decodeBytes(m_bytesCodePage, m_bytes);
    m_bytes.clear();
    addText(text);
}

void Parser::flushSurrogate()
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        m_text.append(QChar(kReplacement));
    }
}

void Parser::addUnicode(int value)
{
    flushBytes();
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF) {
        addChar(kReplacement);
        return;
    }
    const auto ch = char16_t(value);
    if (QChar::isHighSurrogate(ch)) {
        if (state().chr.hidden)
            return;
        if (m_textState != state().chr)
            flushText();
        flushSurrogate();
        m_highSurrogate = ch;
        return;
    }
    if (QChar::isLowSurrogate(ch)) {
        if (m_highSurrogate) {
            if (m_textState != state().chr)
                flushText();
            const QChar pair[2] = {QChar(m_highSurrogate), QChar(ch)};
            m_highSurrogate = 0;
            addText(QString(pair, 2));
            return;
        }
        addChar(kReplacement);
        return;
    }
    addChar(ch);
}

void Parser::addText(const QString &text)
{
    const Destination destination = state().destination;
    if (state().chr.hidden ||
        (destination != Destination::Body && destination != Destination::Title))
        return;
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        // Control characters are not content; line and paragraph breaks come
        // only from control words.
        if ((u < 0x20 && u != u'\t') || u == 0x7F || u == 0x2029)
            continue;
        // The object mark (\u-4) is no text: in the document it would stand
        // for an embedded object that is not there, and be lost on writing.
        if (u == 0xFFFC) {
            clean.append(QChar(kReplacement));
            continue;
        }
        clean.append(c);
    }
    if (clean.isEmpty())
        return;
    if (destination == Destination::Title) {
        if (m_title.size() < 1024)
            m_title.append(clean);
        return;
    }
    if (m_textState != state().chr) {
        flushSurrogate();
        flushText();
        m_textState = state().chr;
    }
    flushSurrogate();
    if (m_pendingCells > 0) {
        m_text.append(QString(m_pendingCells, QChar(u'\t')));
        m_pendingCells = 0;
    }
    m_text.append(clean);
}

void Parser::flushText()
{
    if (m_text.isEmpty())
        return;
    m_out.text(m_text, charFormat(m_textState));
    m_text.clear();
}

void Parser::endParagraph()
{
    flushBytes();
    flushSurrogate();
    flushText();
    m_pendingCells = 0;
    ParaState para = state().para;
    para.pageBreakBefore = para.pageBreakBefore || m_pageBreakNext;
    m_pageBreakNext = false;
    m_out.paragraphEnd(blockFormat(para), charFormat(state().chr));
}

void Parser::finish()
{
    flushBytes();
    flushSurrogate();
    flushText();
    ParaState para = m_stack.back().para;
    para.pageBreakBefore = para.pageBreakBefore || m_pageBreakNext;
    m_out.finish(blockFormat(para));
    if (!m_title.isEmpty())
        m_out.title(m_title);
}

QTextCharFormat Parser::charFormat(const CharState &chr) const
{
    QTextCharFormat f;
    const auto font = m_fonts.find(chr.font < 0 ? m_defaultFont : chr.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty())
        f.setFontFamilies({font->second.name});
    f.setFontPointSize(chr.halfPoints / 2.0);
    if (chr.bold)
        f.setFontWeight(QFont::Bold);
    if (chr.italic)
        f.setFontItalic(true);
    if (chr.underline)
        f.setFontUnderline(true);
    if (chr.strike)
        f.setFontStrikeOut(true);
    if (chr.vertical != 0)
        f.setVerticalAlignment(chr.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                : QTextCharFormat::AlignSubScript);
    const auto color = [this](int index) {
        return index > 0 && std::size_t(index) < m_colors.size() ? m_colors[std::size_t(index)]
                                                                 : QColor();
    };
    if (const QColor fg = color(chr.foreColor); fg.isValid())
        f.setForeground(fg);
    if (const QColor bg = color(chr.backColor); bg.isValid())
        f.setBackground(bg);
    return f;
}

QTextBlockFormat Parser::blockFormat(const ParaState &para) const
{
    QTextBlockFormat f;
    if (para.alignment != Qt::AlignLeft)
        f.setAlignment(para.alignment);
    // Twips to points.
    if (para.leftTwips)
        f.setLeftMargin(para.leftTwips / 20.0);
    if (para.firstTwips)
        f.setTextIndent(para.firstTwips / 20.0);
    if (para.rightTwips)
        f.setRightMargin(para.rightTwips / 20.0);
    if (para.beforeTwips)
        f.setTopMargin(para.beforeTwips / 20.0);
    if (para.afterTwips)
        f.setBottomMargin(para.afterTwips / 20.0);
    if (para.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

QString describe(ReadError error, std::size_t position, const QString &fileName)
{
    const QString where =
        fileName.isEmpty() ? QString() : QStringLiteral("Файл «%1»: ").arg(fileName);
    switch (error) {
    case ReadError::None:
        return {};
    case ReadError::FileError:
        return QStringLiteral("Не удалось прочитать файл «%1».").arg(fileName);
    case ReadError::NotRtf:
        return where + QStringLiteral("это не документ RTF (байт %1).").arg(position);
    case ReadError::TooDeep:
        return where +
               QStringLiteral("слишком глубокая вложенность групп RTF (байт %1).").arg(position);
    }
    return {};
}

} // namespace

bool RtfReader::run(QByteArrayView rtf, QTextCursor &cursor, const QString &fileName)
{
    m_error = ReadError::None;
    m_errorPosition = 0;
    m_errorString.clear();
    m_repaired = false;
    // A byte-order mark or blanks before the header are tolerated.
    std::string_view input(rtf.data(), std::size_t(rtf.size()));
    std::size_t offset = 0;
    if (input.substr(0, 3) == "\xEF\xBB\xBF")
        offset = 3;
    while (offset < input.size() && static_cast<unsigned char>(input[offset]) <= ' ')
        ++offset;
    Parser parser(input.substr(offset), cursor);
    m_error = parser.run();
    m_repaired = parser.repaired();
    if (m_error != ReadError::None) {
        m_errorPosition = parser.errorPosition() + offset;
        m_errorString = describe(m_error, m_errorPosition, fileName);
        return false;
    }
    return true;
}

bool RtfReader::read(QByteArrayView rtf, QTextDocument *document)
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    QTextCursor cursor(document);
    const bool ok = run(rtf, cursor, {});
    document->setUndoRedoEnabled(undo);
    return ok;
}

bool RtfReader::insert(QByteArrayView rtf, QTextCursor &cursor)
{
    // The inserted text does not rename the document it goes into.
    QTextDocument *document = cursor.document();
    const QString title = document->metaInformation(QTextDocument::DocumentTitle);
    cursor.beginEditBlock();
    const bool ok = run(rtf, cursor, {});
    cursor.endEditBlock();
    document->setMetaInformation(QTextDocument::DocumentTitle, title);
    return ok;
}

bool RtfReader::readFile(const QString &path, QTextDocument *document)
{
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = ReadError::FileError;
        m_errorPosition = 0;
        m_errorString = describe(m_error, 0, name);
        m_repaired = false;
        return false;
    }
    const QByteArray bytes = file.readAll();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    QTextCursor cursor(document);
    const bool ok = run(bytes, cursor, name);
    document->setUndoRedoEnabled(undo);
    return ok;
}

} // namespace kv::rtf
