#pragma once
// The control words the reader acts on, in one sorted table. Anything not in
// the table is ignored (its group's text still counts), except after \* where
// the whole group is skipped.

#include <string_view>

namespace kv::rtf {

enum class Word {
    Unknown,
    // Destinations whose content is not part of the text.
    SkipDestination,
    FontTable,
    ColorTable,
    Info,
    Title,
    // Document and font settings.
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // Unicode.
    UnicodeSkip,
    Unicode,
    // Breaks and special characters.
    Par,
    Sect,
    Page,
    Line,
    Tab,
    Cell,
    NestCell,
    Row,
    NestRow,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LtrMark,
    RtlMark,
    // Paragraph formats.
    ParagraphDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    InTable,
    PageBreakBefore,
    // Character formats.
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    FontSize,
    Font,
    ForeColor,
    BackColor,
    Highlight,
    Subscript,
    Superscript,
    NoSuperSub,
};

Word lookupWord(std::string_view name);

// For tests: the table is sorted and has no duplicates.
bool controlWordTableIsSorted();

} // namespace kv::rtf
