#pragma once

// Reads a Rich Text Format document into paragraphs of formatted runs.
//
// The reader serves the help page: it understands what hand-written manuals
// and common word processors use for plain formatted text (character and
// paragraph formatting, font and colour tables, Unicode and code-page escapes)
// and drops everything else: destinations it does not know, pictures, document
// information, style sheets, headers and footers, hidden text. It never fails:
// malformed input (unbalanced braces, truncated escapes, absurd numbers, deep
// nesting) yields whatever could be read up to the damage and beyond it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevko {

struct RtfColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const RtfColor&, const RtfColor&) = default;
};

struct RtfCharFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int FontSizeHalfPoints = 24;   // \fs: half-points, 12 pt unless the document says otherwise
    std::optional<RtfColor> Color; // empty: the viewer's own text colour
    std::string FontName;          // empty: the viewer's own font
    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

enum class RtfAlignment { Left, Center, Right, Justify };

enum class RtfTabKind { Left, Center, Right, Decimal };

struct RtfTabStop {
    int Position = 0; // twips from the left edge of the text area, not from the left indent
    RtfTabKind Kind = RtfTabKind::Left;
    friend bool operator==(const RtfTabStop&, const RtfTabStop&) = default;
};

// Indents and spacing in twips (1/20 point), as the document gives them.
struct RtfParagraphFormat {
    RtfAlignment Alignment = RtfAlignment::Left;
    int LeftIndent = 0;               // \li
    int RightIndent = 0;              // \ri
    int FirstLineIndent = 0;          // \fi, relative to the left indent (negative: hanging)
    int SpaceBefore = 0;              // \sb
    int SpaceAfter = 0;               // \sa
    std::vector<RtfTabStop> TabStops; // \tx, ascending by position
    friend bool operator==(const RtfParagraphFormat&, const RtfParagraphFormat&) = default;
};

// Text is UTF-8. A line break inside a paragraph (\line) is U+2028, a tab '\t'.
struct RtfRun {
    std::string Text;
    RtfCharFormat Format;
};

struct RtfParagraph {
    RtfParagraphFormat Format;
    std::vector<RtfRun> Runs; // adjacent runs always differ in format; no run is empty
    RtfCharFormat MarkFormat; // character format at the paragraph mark (height of an empty line)

    std::string Text() const; // the runs' text joined
};

struct RtfDocument {
    std::vector<RtfParagraph> Paragraphs;

    std::string PlainText() const; // paragraphs' text joined with '\n'
};

// Group nesting deeper than this is read as if flat at this depth.
inline constexpr int RtfMaxGroupDepth = 256;

RtfDocument ReadRtf(std::string_view rtf);

} // namespace zevko
