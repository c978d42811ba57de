#include "LanguageTableReader.h"

#include "CodePages.h"

#include <cstddef>
#include <cstdint>

namespace zevko {

namespace {

constexpr char16_t ReplacementChar = u'\uFFFD';
constexpr char16_t LineSeparator = u'\u2028';

unsigned char ByteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

bool IsHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendCodePoint(std::u16string& out, std::uint32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Code units are read until the first NUL; a surrogate is kept only as part
// of a proper pair, so the result is always well-formed UTF-16.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t k) {
        const unsigned first = ByteAt(bytes, 2 * k);
        const unsigned second = ByteAt(bytes, 2 * k + 1);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::u16string out;
    out.reserve(units);
    for (std::size_t k = 0; k < units; ++k) {
        const char16_t u = unitAt(k);
        if (u == 0)
            return out;
        if (IsHighSurrogate(u)) {
            if (k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
                out.push_back(u);
                out.push_back(unitAt(++k));
            } else {
                out.push_back(ReplacementChar);
            }
        } else if (IsLowSurrogate(u)) {
            out.push_back(ReplacementChar);
        } else {
            out.push_back(u);
        }
    }
    if (bytes.size() % 2 != 0)
        out.push_back(ReplacementChar);
    return out;
}

// Well-formed sequences as in the Unicode standard's table of them; every
// maximal part of an ill-formed sequence becomes one U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const unsigned char lead = ByteAt(bytes, i);
        if (lead == 0)
            break;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        int trailing = 0;
        std::uint32_t cp = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            cp = lead & 0x0Fu;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            else if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            cp = lead & 0x07u;
            if (lead == 0xF0)
                low = 0x90; // no overlong forms
            else if (lead == 0xF4)
                high = 0x8F; // nothing beyond U+10FFFF
        } else {
            out.push_back(ReplacementChar);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int read = 0;
        while (read < trailing && j < n) {
            const unsigned char c = ByteAt(bytes, j);
            if (c < low || c > high)
                break;
            cp = (cp << 6) | (c & 0x3Fu);
            low = 0x80;
            high = 0xBF;
            ++j;
            ++read;
        }
        if (read < trailing)
            out.push_back(ReplacementChar);
        else
            AppendCodePoint(out, cp);
        i = j;
    }
    return out;
}

std::u16string DecodeAnsi(std::string_view bytes, AnsiCodePage codePage)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            break;
        out.push_back(AnsiCharToUnicode(byte, codePage));
    }
    return out;
}

std::u16string DecodeBody(std::string_view body, AnsiCodePage codePage)
{
    if (body.size() >= 2 && ByteAt(body, 0) == 0xFF && ByteAt(body, 1) == 0xFE)
        return DecodeUtf16(body.substr(2), false);
    if (body.size() >= 2 && ByteAt(body, 0) == 0xFE && ByteAt(body, 1) == 0xFF)
        return DecodeUtf16(body.substr(2), true);
    if (body.size() >= 3 && ByteAt(body, 0) == 0xEF && ByteAt(body, 1) == 0xBB && ByteAt(body, 2) == 0xBF)
        return DecodeUtf8(body.substr(3));
    return DecodeAnsi(body, codePage);
}

char16_t AsciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace

char16_t AnsiCharToUnicode(unsigned char byte, AnsiCodePage codePage)
{
    const WindowsCodePage page =
        codePage == AnsiCodePage::Windows1252 ? WindowsCodePage::Windows1252 : WindowsCodePage::Windows1251;
    return DecodeWindowsByte(byte, page, UndefinedByte::SameCodePoint);
}

LanguageLines ReadLanguageTable(std::string_view body, AnsiCodePage codePage)
{
    const std::u16string text = DecodeBody(body, codePage);
    LanguageLines lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == LineSeparator) {
            lines.emplace_back(text, start, i - start);
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text, start, text.size() - start);
    return lines;
}

std::u16string FindLanguageText(const LanguageLines& table, std::u16string_view key)
{
    for (const std::u16string& entry : table) {
        const std::size_t equals = entry.find(u'=');
        if (equals == std::u16string::npos)
            continue;
        if (EqualIgnoringAsciiCase(std::u16string_view(entry).substr(0, equals), key))
            return entry.substr(equals + 1);
    }
    return {};
}

std::u16string FindLanguageText(const LanguageLines& table, int number)
{
    const std::string digits = std::to_string(number);
    return FindLanguageText(table, std::u16string(digits.begin(), digits.end()));
}

} // namespace zevko
