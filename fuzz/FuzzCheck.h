#pragma once

// Shared by the fuzz targets and their regression tests: a check that stays
// on in every build type (a failed check is a finding, whatever NDEBUG says)
// and the small validators the invariants need.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

// A fuzz target aborts at a failed check, so that libFuzzer keeps the input;
// the regression tests define ZEVKO_FUZZ_CHECK_THROWS to get the failure as
// an exception they can report.
#ifdef ZEVKO_FUZZ_CHECK_THROWS
#define FUZZ_CHECK(condition, what)                                                                    \
    do {                                                                                               \
        if (!(condition))                                                                              \
            throw ::zevko::fuzz::CheckFailure(std::string(__FILE__) + ":" + std::to_string(__LINE__) + \
                                              ": check failed: " #condition " (" + (what) + ")");      \
    } while (false)
#else
#define FUZZ_CHECK(condition, what)                                                                       \
    do {                                                                                                  \
        if (!(condition)) {                                                                               \
            std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #condition, what); \
            std::abort();                                                                                 \
        }                                                                                                 \
    } while (false)
#endif

namespace zevko::fuzz {

struct CheckFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace zevko::fuzz

namespace zevko::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no
// surrogate, nothing beyond U+10FFFF, no truncated sequence.
inline bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        const std::uint32_t smallest = length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u;
        if (code < smallest || code > 0x10FFFFu || (code >= 0xD800u && code <= 0xDFFFu))
            return false;
        i += length;
    }
    return true;
}

// Well-formed UTF-16: every surrogate is part of a high-low pair.
inline bool IsValidUtf16(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// |a - b| within `relative` of the larger magnitude (exact for zeros).
inline bool CloseTo(long double a, long double b, long double relative)
{
    const long double scale = std::fmax(std::fabs(a), std::fabs(b));
    return std::fabs(a - b) <= relative * scale;
}

} // namespace zevko::fuzz

namespace zevko::fuzz {

inline bool AsciiEqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace zevko::fuzz

namespace zevko::fuzz {

// A CSV reader reads every line break inside quotes as LF, CR LF included;
// CRs right before a break therefore cannot come back from a round trip
// through a file (each trip takes one), and are left out of comparisons.
inline std::string CrLfAsLf(std::string_view text)
{
    std::string result;
    for (char c : text) {
        if (c == '\n')
            while (!result.empty() && result.back() == '\r')
                result.pop_back();
        result.push_back(c);
    }
    return result;
}

} // namespace zevko::fuzz
