#include "LanguageTableReader.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zevko {

namespace {

constexpr char16_t ReplacementChar = u'\uFFFD';
constexpr char16_t LineSeparator = u'\u2028';

// Bytes 0x80..0xFF of each code page.
constexpr std::array<char16_t, 128> Windows1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr std::array<char16_t, 128> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

unsigned char ByteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

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
    if (byte < 0x80)
        return byte;
    const auto& high = codePage == AnsiCodePage::Windows1252 ? Windows1252High : Windows1251High;
    return high[byte - 0x80u];
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
