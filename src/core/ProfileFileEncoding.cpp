#include "ProfileFileEncoding.h"

#include <cstdint>

namespace zevko {

namespace {

constexpr std::string_view Utf16LEMark = "\xFF\xFE";
constexpr std::string_view Utf16BEMark = "\xFE\xFF";
constexpr std::string_view Utf32LEMark{"\xFF\xFE\0\0", 4};
constexpr std::string_view Utf32BEMark{"\0\0\xFE\xFF", 4};

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUnit(std::string& out, std::uint32_t unit, bool bigEndian)
{
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

bool IsHighSurrogate(std::uint32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

std::optional<std::string> DecodeUtf16(std::string_view body, bool bigEndian)
{
    if (body.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&](std::size_t k) {
        const auto first = static_cast<unsigned char>(body[2 * k]);
        const auto second = static_cast<unsigned char>(body[2 * k + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    const std::size_t units = body.size() / 2;
    std::string text;
    text.reserve(units + units / 2);
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint32_t u = unitAt(k);
        if (u == 0)
            return std::nullopt;
        if (IsHighSurrogate(u) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
            AppendUtf8(text, 0x10000 + ((u - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00));
            ++k;
        } else {
            AppendUtf8(text, u);
        }
    }
    return text;
}

// The inverse of DecodeUtf16: every sequence it writes, and nothing else.
std::optional<std::string> EncodeUtf16(std::string_view text, bool bigEndian)
{
    std::string out(bigEndian ? Utf16BEMark : Utf16LEMark);
    out.reserve(2 + 2 * text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size())
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Shortest forms only, as the decoder writes them.
        const bool shortest = (length == 1) || (length == 2 && cp >= 0x80) || (length == 3 && cp >= 0x800) ||
                              (length == 4 && cp >= 0x10000 && cp <= 0x10FFFF);
        if (!shortest || cp == 0)
            return std::nullopt;
        if (cp >= 0x10000) {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUnit(out, cp, bigEndian);
        }
        i += length;
    }
    return out;
}

} // namespace

std::optional<DecodedProfileText> DecodeProfileText(std::string_view bytes)
{
    if (bytes.starts_with(Utf32LEMark) || bytes.starts_with(Utf32BEMark))
        return std::nullopt;
    if (bytes.starts_with(Utf16LEMark) || bytes.starts_with(Utf16BEMark)) {
        const bool bigEndian = bytes.starts_with(Utf16BEMark);
        auto text = DecodeUtf16(bytes.substr(2), bigEndian);
        if (!text)
            return std::nullopt;
        return DecodedProfileText{bigEndian ? ProfileFileEncoding::Utf16BE : ProfileFileEncoding::Utf16LE,
                                  std::move(*text)};
    }
    if (bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    return DecodedProfileText{ProfileFileEncoding::Bytes, std::string(bytes)};
}

std::optional<std::string> EncodeProfileText(std::string_view text, ProfileFileEncoding encoding)
{
    switch (encoding) {
    case ProfileFileEncoding::Utf16LE: return EncodeUtf16(text, false);
    case ProfileFileEncoding::Utf16BE: return EncodeUtf16(text, true);
    case ProfileFileEncoding::Bytes: break;
    }
    return std::string(text);
}

} // namespace zevko
