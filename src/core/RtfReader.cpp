#include "RtfReader.h"

#include "CodePages.h"

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <unordered_map>

namespace zevko {

namespace {

// The Symbol font's characters (0x20-0xFF) in Unicode.
// Eight entries a line, as the code page charts show them.
// clang-format off
constexpr std::array<char16_t, 224> SymbolFont = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0xFFFD, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xFFFD,
};
// clang-format on

constexpr int DefaultCodePage = 1252;
// Pseudo code pages of symbol fonts: the Symbol font has a known Unicode
// mapping; any other symbol font (Wingdings and the like) keeps its bytes in
// the private-use area U+F020-U+F0FF, where such fonts place their glyphs.
constexpr int SymbolFontCodePage = -1;
constexpr int OtherSymbolFontCodePage = -2;
constexpr int DefaultFontSize = 24;
constexpr int MaxFontSize = 3276;  // 1638 pt, the largest size word processors offer
constexpr int MaxIndent = 31680;   // 22 inches in twips
constexpr int MaxUnicodeSkip = 32; // far above any real fallback length
constexpr std::size_t MaxTabStops = 64;
constexpr char32_t Replacement = 0xFFFD;

char32_t DecodeByte(unsigned char byte, int codePage)
{
    if (codePage == SymbolFontCodePage)
        return byte < 0x20 ? byte : SymbolFont[byte - 0x20u];
    if (codePage == OtherSymbolFontCodePage)
        return byte < 0x20 ? byte : 0xF000u + byte;
    // A document's undefined bytes are damage, not text: they read as U+FFFD.
    const WindowsCodePage page = codePage == 1250   ? WindowsCodePage::Windows1250
                                 : codePage == 1251 ? WindowsCodePage::Windows1251
                                                    : WindowsCodePage::Windows1252;
    return DecodeWindowsByte(byte, page, UndefinedByte::Replacement);
}

constexpr int SymbolCharset = 2;

// A font's character set, where it names a code page other than the document's.
int CodePageOfCharset(int charset)
{
    switch (charset) {
    case 204: return 1251; // RUSSIAN_CHARSET
    case 238: return 1250; // EASTEUROPE_CHARSET
    case 0:                // ANSI_CHARSET: the document's own code page
    default: return 0;
    }
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = Replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

enum class Destination { Text, Skip, FontTable, ColorTable };

enum class Word {
    // document
    Ansi,
    AnsiCpg,
    Deff,
    Bin,
    Uc,
    U,
    // destinations
    FontTable,
    ColorTable,
    SkipDestination,
    // font and colour table entries
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Hidden,
    FontSize,
    ColorFore,
    Font,
    // paragraph formatting
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    TabCenter,
    TabRight,
    TabDecimal,
    TabPosition,
    // breaks and special characters
    Par,
    Line,
    Tab,
    Cell,
    Symbol,
};

struct WordInfo {
    Word Kind;
    char32_t Symbol = 0;
};

const std::unordered_map<std::string_view, WordInfo>& Words()
{
    static const std::unordered_map<std::string_view, WordInfo> words = [] {
        std::unordered_map<std::string_view, WordInfo> w{
            {"ansi", {Word::Ansi}},
            {"ansicpg", {Word::AnsiCpg}},
            {"deff", {Word::Deff}},
            {"bin", {Word::Bin}},
            {"uc", {Word::Uc}},
            {"u", {Word::U}},
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColorTable}},
            {"fcharset", {Word::FontCharset}},
            {"cpg", {Word::FontCodePage}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"plain", {Word::Plain}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}},
            {"v", {Word::Hidden}},
            {"fs", {Word::FontSize}},
            {"cf", {Word::ColorFore}},
            {"f", {Word::Font}},
            {"pard", {Word::Pard}},
            {"ql", {Word::AlignLeft}},
            {"qc", {Word::AlignCenter}},
            {"qr", {Word::AlignRight}},
            {"qj", {Word::AlignJustify}},
            {"li", {Word::LeftIndent}},
            {"ri", {Word::RightIndent}},
            {"fi", {Word::FirstIndent}},
            {"sb", {Word::SpaceBefore}},
            {"sa", {Word::SpaceAfter}},
            {"tqc", {Word::TabCenter}},
            {"tqr", {Word::TabRight}},
            {"tqdec", {Word::TabDecimal}},
            {"tx", {Word::TabPosition}},
            {"par", {Word::Par}},
            {"sect", {Word::Par}},
            {"page", {Word::Par}},
            {"row", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::Cell}},
            {"emdash", {Word::Symbol, 0x2014}},
            {"endash", {Word::Symbol, 0x2013}},
            {"bullet", {Word::Symbol, 0x2022}},
            {"lquote", {Word::Symbol, 0x2018}},
            {"rquote", {Word::Symbol, 0x2019}},
            {"ldblquote", {Word::Symbol, 0x201C}},
            {"rdblquote", {Word::Symbol, 0x201D}},
            {"emspace", {Word::Symbol, 0x2003}},
            {"enspace", {Word::Symbol, 0x2002}},
            {"qmspace", {Word::Symbol, 0x2005}},
        };
        // Every kind of underline reads as underline.
        for (std::string_view u :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash",
              "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            w.emplace(u, WordInfo{Word::Underline});
        // Destinations whose content is never shown, even when not marked with \*.
        for (std::string_view d : {"stylesheet",
                                   "info",
                                   "pict",
                                   "header",
                                   "headerl",
                                   "headerr",
                                   "headerf",
                                   "footer",
                                   "footerl",
                                   "footerr",
                                   "footerf",
                                   "footnote",
                                   "annotation",
                                   "fldinst",
                                   "object",
                                   "objdata",
                                   "listtable",
                                   "listoverridetable",
                                   "rsidtbl",
                                   "generator",
                                   "xmlnstbl",
                                   "themedata",
                                   "colorschememapping",
                                   "latentstyles",
                                   "datastore",
                                   "revtbl",
                                   "filetbl",
                                   "pgdsctbl",
                                   "shpinst",
                                   "shprslt",
                                   "nonshppict",
                                   "title",
                                   "subject",
                                   "author",
                                   "operator",
                                   "keywords",
                                   "comment",
                                   "doccomm",
                                   "company",
                                   "manager",
                                   "category",
                                   "template",
                                   "bkmkstart",
                                   "bkmkend",
                                   "mmathPr",
                                   "pn"})
            w.emplace(d, WordInfo{Word::SkipDestination});
        return w;
    }();
    return words;
}

// Character properties as the document sets them; resolved against the font
// and colour tables only when text is emitted.
struct CharState {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Hidden = false;
    int FontSize = DefaultFontSize;
    int ColorIndex = -1; // no \cf yet: the viewer's colour
    int FontNumber = -1; // no \f yet: the default font
    friend bool operator==(const CharState&, const CharState&) = default;
};

struct GroupState {
    Destination Dest = Destination::Text;
    CharState Char;
    RtfParagraphFormat Para;
    RtfTabKind NextTabKind = RtfTabKind::Left; // \tqr etc. qualify the \tx that follows
    int UnicodeSkip = 1;
};

struct FontEntry {
    std::string Name;
    int Charset = -1;
    int ExplicitCodePage = 0; // \cpg
    int CodePage = 0;         // what its text is decoded with; 0: the document's

    // What the entry's own name is decoded with while it is being read.
    int NameCodePage() const { return ExplicitCodePage != 0 ? ExplicitCodePage : CodePageOfCharset(Charset); }
};

class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}

    RtfDocument Read()
    {
        while (pos_ < data_.size()) {
            const char c = data_[pos_];
            if (c == '{') {
                ++pos_;
                skipPending_ = 0;
                OpenGroup();
            } else if (c == '}') {
                ++pos_;
                skipPending_ = 0;
                CloseGroup();
            } else if (c == '\\') {
                ++pos_;
                ReadControl();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n' || c == '\0')
                    continue;
                if (skipPending_ > 0) {
                    --skipPending_;
                    continue;
                }
                TextByte(static_cast<unsigned char>(c));
            }
        }
        FinishDocument();
        return std::move(doc_);
    }

private:
    // ---- groups -------------------------------------------------------

    void OpenGroup()
    {
        if (stack_.size() >= static_cast<std::size_t>(RtfMaxGroupDepth)) {
            ++overflowDepth_;
            return;
        }
        stack_.push_back(state_);
    }

    void CloseGroup()
    {
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (stack_.empty())
            return; // a stray closing brace
        if (state_.Dest == Destination::FontTable)
            CommitFont();
        if (state_.Dest == Destination::ColorTable && colorEntryOpen_)
            CommitColor();
        EndPendingSurrogate();
        state_ = stack_.back();
        stack_.pop_back();
    }

    // A destination takes the rest of its group. Outside every group it
    // would take the rest of the document, so a stray one there is ignored.
    void EnterDestination(Destination dest)
    {
        if (stack_.empty() || state_.Dest == Destination::Skip)
            return;
        state_.Dest = dest;
    }

    // ---- control words and symbols ------------------------------------

    void ReadControl()
    {
        if (pos_ >= data_.size())
            return;
        const char c = data_[pos_];
        if (IsAsciiLetter(c)) {
            const std::size_t start = pos_;
            while (pos_ < data_.size() && IsAsciiLetter(data_[pos_]))
                ++pos_;
            const std::string_view word = data_.substr(start, pos_ - start);
            bool hasParam = false;
            long long value = 0;
            bool negative = false;
            if (pos_ + 1 < data_.size() && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
                negative = true;
                ++pos_;
            }
            while (pos_ < data_.size() && IsDigit(data_[pos_])) {
                hasParam = true;
                value = std::min<long long>(value * 10 + (data_[pos_] - '0'), INT_MAX);
                ++pos_;
            }
            if (pos_ < data_.size() && data_[pos_] == ' ')
                ++pos_;
            const int param = static_cast<int>(negative ? -value : value);
            if (word == "bin") {
                // Binary data is skipped wherever it stands, or its bytes would be read as RTF.
                const std::size_t count = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
                pos_ += std::min(count, data_.size() - pos_);
                return;
            }
            if (skipPending_ > 0) {
                --skipPending_;
                return;
            }
            ControlWord(word, hasParam, param);
            return;
        }
        ++pos_;
        if (c == '\'') {
            int high = pos_ < data_.size() ? HexValue(data_[pos_]) : -1;
            if (high < 0)
                return;
            ++pos_;
            int low = pos_ < data_.size() ? HexValue(data_[pos_]) : -1;
            if (low < 0)
                return; // truncated escape: dropped
            ++pos_;
            if (skipPending_ > 0) {
                --skipPending_;
                return;
            }
            EscapedByte(static_cast<unsigned char>(high * 16 + low));
            return;
        }
        if (skipPending_ > 0) {
            --skipPending_;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}': TextByte(static_cast<unsigned char>(c)); break;
        case '~': Character(0x00A0); break;
        case '-': Character(0x00AD); break;
        case '_': Character(0x2011); break;
        case '*': EnterDestination(Destination::Skip); break;
        case '\r':
        case '\n': Paragraph(); break;
        case '\t': Character(U'\t'); break;
        default: break; // \| \: and unknown symbols mean nothing to a viewer
        }
    }

    void ControlWord(std::string_view word, bool hasParam, int param)
    {
        const auto& words = Words();
        const auto it = words.find(word);
        if (it == words.end())
            return;
        const WordInfo info = it->second;
        const bool on = !hasParam || param != 0;

        switch (info.Kind) {
        case Word::FontTable: EnterDestination(Destination::FontTable); return;
        case Word::ColorTable: EnterDestination(Destination::ColorTable); return;
        case Word::SkipDestination: EnterDestination(Destination::Skip); return;
        default: break;
        }

        switch (state_.Dest) {
        case Destination::Skip: return;
        case Destination::FontTable: FontTableWord(info.Kind, param); return;
        case Destination::ColorTable: ColorTableWord(info.Kind, param); return;
        case Destination::Text: break;
        }

        GroupState& s = state_;
        switch (info.Kind) {
        case Word::Ansi: codePage_ = DefaultCodePage; break;
        case Word::AnsiCpg:
            if (hasParam)
                codePage_ = param;
            break;
        case Word::Deff:
            defaultFont_ = hasParam ? param : 0;
            s.Char.FontNumber = defaultFont_;
            break;
        case Word::Uc: s.UnicodeSkip = std::clamp(hasParam ? param : 1, 0, MaxUnicodeSkip); break;
        case Word::U:
            if (hasParam)
                Unicode(param);
            skipPending_ = s.UnicodeSkip;
            break;
        case Word::Plain:
            s.Char = CharState{};
            s.Char.FontNumber = defaultFont_;
            break;
        case Word::Bold: s.Char.Bold = on; break;
        case Word::Italic: s.Char.Italic = on; break;
        case Word::Underline: s.Char.Underline = on; break;
        case Word::UnderlineNone: s.Char.Underline = false; break;
        case Word::Hidden: s.Char.Hidden = on; break;
        case Word::FontSize:
            s.Char.FontSize = hasParam && param > 0 ? std::min(param, MaxFontSize) : DefaultFontSize;
            break;
        case Word::ColorFore: s.Char.ColorIndex = hasParam ? std::max(param, 0) : 0; break;
        case Word::Font: s.Char.FontNumber = hasParam ? param : 0; break;
        case Word::Pard:
            s.Para = RtfParagraphFormat{};
            s.NextTabKind = RtfTabKind::Left;
            break;
        case Word::AlignLeft: s.Para.Alignment = RtfAlignment::Left; break;
        case Word::AlignCenter: s.Para.Alignment = RtfAlignment::Center; break;
        case Word::AlignRight: s.Para.Alignment = RtfAlignment::Right; break;
        case Word::AlignJustify: s.Para.Alignment = RtfAlignment::Justify; break;
        case Word::LeftIndent: s.Para.LeftIndent = std::clamp(param, -MaxIndent, MaxIndent); break;
        case Word::RightIndent: s.Para.RightIndent = std::clamp(param, -MaxIndent, MaxIndent); break;
        case Word::FirstIndent: s.Para.FirstLineIndent = std::clamp(param, -MaxIndent, MaxIndent); break;
        case Word::SpaceBefore: s.Para.SpaceBefore = std::clamp(param, 0, MaxIndent); break;
        case Word::SpaceAfter: s.Para.SpaceAfter = std::clamp(param, 0, MaxIndent); break;
        case Word::TabCenter: s.NextTabKind = RtfTabKind::Center; break;
        case Word::TabRight: s.NextTabKind = RtfTabKind::Right; break;
        case Word::TabDecimal: s.NextTabKind = RtfTabKind::Decimal; break;
        case Word::TabPosition: AddTabStop(param); break;
        case Word::Par: Paragraph(); break;
        case Word::Line: Character(0x2028); break;
        case Word::Tab:
        case Word::Cell: Character(U'\t'); break;
        case Word::Symbol: Character(info.Symbol); break;
        default: break;
        }
    }

    void AddTabStop(int position)
    {
        auto& stops = state_.Para.TabStops;
        const RtfTabStop stop{std::clamp(position, 0, MaxIndent), state_.NextTabKind};
        state_.NextTabKind = RtfTabKind::Left;
        const auto at =
            std::find_if(stops.begin(), stops.end(), [&](const RtfTabStop& s) { return s.Position >= stop.Position; });
        if (at != stops.end() && at->Position == stop.Position)
            *at = stop;
        else if (stops.size() < MaxTabStops)
            stops.insert(at, stop);
    }

    // ---- font and colour tables ---------------------------------------

    void FontTableWord(Word kind, int param)
    {
        switch (kind) {
        case Word::Font:
            CommitFont();
            fontEntryOpen_ = true;
            fontNumber_ = param;
            fontEntry_ = FontEntry{};
            break;
        case Word::FontCharset: fontEntry_.Charset = param; break;
        case Word::FontCodePage: fontEntry_.ExplicitCodePage = param; break;
        case Word::U:
            Unicode(param);
            skipPending_ = state_.UnicodeSkip;
            break;
        default: break;
        }
    }

    void CommitFont()
    {
        if (!fontEntryOpen_)
            return;
        std::string& name = fontEntry_.Name;
        const auto notBlank = [](char ch) { return ch != ' ' && ch != '\t'; };
        name.erase(name.begin(), std::find_if(name.begin(), name.end(), notBlank));
        name.erase(std::find_if(name.rbegin(), name.rend(), notBlank).base(), name.end());
        if (fontEntry_.Charset == SymbolCharset || name == "Symbol")
            fontEntry_.CodePage = name == "Symbol" ? SymbolFontCodePage : OtherSymbolFontCodePage;
        else
            fontEntry_.CodePage = fontEntry_.NameCodePage();
        fonts_.insert_or_assign(fontNumber_, std::move(fontEntry_));
        fontEntry_ = FontEntry{};
        fontEntryOpen_ = false;
    }

    void ColorTableWord(Word kind, int param)
    {
        const auto component = static_cast<std::uint8_t>(std::clamp(param, 0, 255));
        switch (kind) {
        case Word::Red: colorEntry_.Red = component; break;
        case Word::Green: colorEntry_.Green = component; break;
        case Word::Blue: colorEntry_.Blue = component; break;
        default: return;
        }
        colorEntryOpen_ = true;
    }

    void CommitColor()
    {
        if (colorEntryOpen_)
            colors_.emplace_back(colorEntry_);
        else
            colors_.emplace_back(std::nullopt); // an empty entry: automatic colour
        colorEntry_ = RtfColor{};
        colorEntryOpen_ = false;
    }

    // ---- text ---------------------------------------------------------

    int CurrentCodePage() const
    {
        if (state_.Dest == Destination::FontTable && fontEntry_.NameCodePage() != 0)
            return fontEntry_.NameCodePage();
        if (state_.Dest == Destination::Text) {
            const auto it = fonts_.find(state_.Char.FontNumber);
            if (it != fonts_.end() && it->second.CodePage != 0)
                return it->second.CodePage;
        }
        return codePage_;
    }

    void TextByte(unsigned char byte)
    {
        if (byte < 0x20 && byte != '\t')
            return;
        switch (state_.Dest) {
        case Destination::FontTable:
            if (byte == ';')
                CommitFont();
            else if (fontEntryOpen_ && byte != '\t')
                AppendUtf8(fontEntry_.Name, DecodeByte(byte, CurrentCodePage()));
            return;
        case Destination::ColorTable:
            if (byte == ';')
                CommitColor();
            return;
        case Destination::Skip: return;
        case Destination::Text: Character(DecodeByte(byte, CurrentCodePage())); return;
        }
    }

    void EscapedByte(unsigned char byte)
    {
        if (state_.Dest == Destination::ColorTable)
            return;
        if (state_.Dest == Destination::FontTable) {
            if (fontEntryOpen_)
                AppendUtf8(fontEntry_.Name, DecodeByte(byte, CurrentCodePage()));
            return;
        }
        Character(DecodeByte(byte, CurrentCodePage()));
    }

    // \uN gives a UTF-16 code unit as a signed 16-bit number; pairs of them
    // carry the characters beyond the basic plane.
    void Unicode(int param)
    {
        if (param < -32768 || param > 65535)
            return;
        const auto unit = static_cast<char32_t>(param < 0 ? param + 65536 : param);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            EndPendingSurrogate();
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_ != 0) {
                const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                highSurrogate_ = 0;
                Emit(c);
            } else {
                Emit(Replacement);
            }
            return;
        }
        Emit(unit);
    }

    void EndPendingSurrogate()
    {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            Emit(Replacement);
        }
    }

    void Character(char32_t c)
    {
        EndPendingSurrogate();
        Emit(c);
    }

    void Emit(char32_t c)
    {
        if (c < 0x20 && c != U'\t')
            return;
        if (state_.Dest == Destination::FontTable) {
            if (fontEntryOpen_)
                AppendUtf8(fontEntry_.Name, c);
            return;
        }
        if (state_.Dest != Destination::Text || state_.Char.Hidden)
            return;
        if (!pendingText_.empty() && !(pendingChar_ == state_.Char))
            FlushPending();
        pendingChar_ = state_.Char;
        AppendUtf8(pendingText_, c);
        lastTextPara_ = state_.Para;
        paragraphHasText_ = true;
    }

    RtfCharFormat Resolve(const CharState& c) const
    {
        RtfCharFormat f;
        f.Bold = c.Bold;
        f.Italic = c.Italic;
        f.Underline = c.Underline;
        f.FontSizeHalfPoints = c.FontSize;
        if (c.ColorIndex >= 0 && static_cast<std::size_t>(c.ColorIndex) < colors_.size())
            f.Color = colors_[static_cast<std::size_t>(c.ColorIndex)];
        const auto font = fonts_.find(c.FontNumber);
        if (font != fonts_.end())
            f.FontName = font->second.Name;
        return f;
    }

    void FlushPending()
    {
        if (pendingText_.empty())
            return;
        RtfCharFormat format = Resolve(pendingChar_);
        auto& runs = paragraph_.Runs;
        if (!runs.empty() && runs.back().Format == format)
            runs.back().Text += pendingText_;
        else
            runs.push_back(RtfRun{std::move(pendingText_), std::move(format)});
        pendingText_.clear();
    }

    void Paragraph()
    {
        if (state_.Dest != Destination::Text)
            return;
        EndPendingSurrogate();
        FlushPending();
        paragraph_.Format = state_.Para;
        paragraph_.MarkFormat = Resolve(state_.Char);
        doc_.Paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph{};
        paragraphHasText_ = false;
    }

    void FinishDocument()
    {
        EndPendingSurrogate();
        FlushPending();
        if (!paragraphHasText_)
            return;
        // An unterminated last paragraph keeps the formatting its text was written in.
        paragraph_.Format = lastTextPara_;
        paragraph_.MarkFormat = paragraph_.Runs.back().Format;
        doc_.Paragraphs.push_back(std::move(paragraph_));
    }

    std::string_view data_;
    std::size_t pos_ = 0;

    GroupState state_;
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    int skipPending_ = 0;
    char32_t highSurrogate_ = 0;

    int codePage_ = DefaultCodePage;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    FontEntry fontEntry_;
    int fontNumber_ = 0;
    bool fontEntryOpen_ = false;
    std::vector<std::optional<RtfColor>> colors_;
    RtfColor colorEntry_;
    bool colorEntryOpen_ = false;

    RtfDocument doc_;
    RtfParagraph paragraph_;
    bool paragraphHasText_ = false;
    RtfParagraphFormat lastTextPara_;
    std::string pendingText_;
    CharState pendingChar_;
};

} // namespace

std::string RtfParagraph::Text() const
{
    std::string text;
    for (const RtfRun& run : Runs)
        text += run.Text;
    return text;
}

std::string RtfDocument::PlainText() const
{
    std::string text;
    for (std::size_t i = 0; i < Paragraphs.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += Paragraphs[i].Text();
    }
    return text;
}

RtfDocument ReadRtf(std::string_view rtf)
{
    return Reader(rtf).Read();
}

} // namespace zevko
