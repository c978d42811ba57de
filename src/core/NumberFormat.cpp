#include "NumberFormat.h"

#include "MeasurementTypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

// All conversions work on decimal digit strings obtained by correct rounding
// of the binary value (std::to_chars, which is exact and ignores the C
// locale), and all further rounding is done on those digits, so that "halves
// to even" means a true decimal half and never a binary artefact. Reading uses
// our own grammar and then std::from_chars on a sanitised copy, so that
// nothing C's strtod would accept beyond plain decimal numbers slips through.

namespace zevko {
namespace {

// A decimal number: sign, significant digits without leading zeros (empty for
// zero) and the position of the decimal point relative to the first digit:
// value = 0.d1d2d3... x 10^point.
struct DecimalDigits {
    bool Negative = false;
    std::string Digits;
    int Point = 0;

    bool IsZero() const { return Digits.empty(); }
};

void StripTrailingZeros(DecimalDigits& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0') {
        d.Digits.pop_back();
    }
    if (d.Digits.empty()) {
        d.Point = 0;
    }
}

// Exact integer arithmetic for the common magnitudes: the binary value is
// mantissa / 2^shift, so value x 10^k is an exact 128-bit quotient with a
// remainder, and the remainder decides the rounding without any error.
// Measured with bench/BenchBatchCalculator (100,000 rows, CPU medians): the
// batch takes 274 ms in mm and 325 ms in inches with this path, 367 ms and
// over 500 ms with std::to_chars alone.
__extension__ using UInt128 = unsigned __int128;

constexpr std::uint64_t PowersOfTen[] = {1ULL,
                                         10ULL,
                                         100ULL,
                                         1000ULL,
                                         10000ULL,
                                         100000ULL,
                                         1000000ULL,
                                         10000000ULL,
                                         100000000ULL,
                                         1000000000ULL,
                                         10000000000ULL,
                                         100000000000ULL,
                                         1000000000000ULL,
                                         10000000000000ULL,
                                         100000000000000ULL,
                                         1000000000000000ULL,
                                         10000000000000000ULL,
                                         100000000000000000ULL,
                                         1000000000000000000ULL,
                                         10000000000000000000ULL};
constexpr int MaxPowerOfTen = 19;

// Powers of ten that a 64-bit mantissa holds exactly (5^27 < 2^64).
constexpr int ExactLongDoublePowers = std::numeric_limits<long double>::digits >= 64 ? 27 : 0;
constexpr long double LongDoublePowersOfTen[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                                 1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                                 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// Rounds a positive finite value to `significant` digits when the exact
// arithmetic fits; false otherwise (the caller then takes the general path).
bool RoundToSignificantExactly(long double value, int significant, DecimalDigits& d)
{
    if (significant < 1 || significant > MaxPowerOfTen) {
        return false;
    }
    std::uint64_t mantissa = 0;
    int binaryExponent = 0; // value = mantissa / 2^64 x 2^binaryExponent, mantissa with its top bit set
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
        // x87 extended format: the explicit 64-bit mantissa, then sign and
        // biased exponent. Read directly: frexp and the conversion to an
        // integer switch the FPU's rounding mode, which is slow.
        unsigned char bytes[sizeof(long double)];
        std::memcpy(bytes, &value, sizeof value);
        std::memcpy(&mantissa, bytes, sizeof mantissa);
        std::uint16_t signAndExponent = 0;
        std::memcpy(&signAndExponent, bytes + 8, sizeof signAndExponent);
        const int biased = signAndExponent & 0x7FFF;
        if (biased == 0 || (mantissa >> 63) == 0) {
            return false; // subnormal or not a normal number
        }
        binaryExponent = biased - 16382;
    } else {
        const long double fraction = std::frexp(value, &binaryExponent);
        if (std::numeric_limits<long double>::digits > 64) {
            return false;
        }
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    }
    if (binaryExponent > 63 || binaryExponent < -60) {
        return false;
    }
    const int shift = 64 - binaryExponent; // value = mantissa / 2^shift, 1 <= shift <= 124
    // Digits before the point, estimated from below (78913 / 2^18 is just
    // below log10(2)) and corrected in the loop.
    int point = (((binaryExponent - 1) * 78913) >> 18) + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = significant - point;
        if (k < 0 || k > MaxPowerOfTen) {
            return false;
        }
        const UInt128 scaled = static_cast<UInt128>(mantissa) * PowersOfTen[k];
        UInt128 quotient = scaled >> shift;
        if (quotient >= PowersOfTen[significant]) {
            ++point;
            continue;
        }
        if (quotient < PowersOfTen[significant - 1]) {
            --point;
            continue;
        }
        const UInt128 remainder = scaled & ((static_cast<UInt128>(1) << shift) - 1);
        const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
        if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
            ++quotient;
        }
        if (quotient == PowersOfTen[significant]) {
            quotient = PowersOfTen[significant - 1];
            ++point;
        }
        char digits[MaxPowerOfTen + 1];
        auto q = static_cast<std::uint64_t>(quotient);
        for (int i = significant - 1; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + q % 10);
            q /= 10;
        }
        d.Digits.assign(digits, static_cast<std::size_t>(significant));
        d.Point = point;
        StripTrailingZeros(d);
        return true;
    }
    return false;
}

// The finite binary value rounded correctly (ties to even) to `significant`
// digits.
DecimalDigits RoundToSignificant(long double value, int significant)
{
    DecimalDigits d;
    d.Negative = std::signbit(value);
    if (value == 0.0L) {
        return d;
    }
    if (RoundToSignificantExactly(std::fabs(value), significant, d)) {
        return d;
    }
    char buffer[96];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, significant - 1);
    // "d.ddddde+XX" or "de+XX" for one digit.
    const char* p = buffer;
    const char* end = result.ptr;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.') {
            d.Digits.push_back(*p);
        }
    }
    int exponent = 0;
    if (p != end) {
        ++p;
        if (*p == '+') {
            ++p;
        }
        std::from_chars(p, end, exponent);
    }
    d.Point = exponent + 1;
    StripTrailingZeros(d);
    return d;
}

// The finite binary value rounded correctly (ties to even) to `decimals`
// places after the point.
DecimalDigits RoundToFixedPlaces(long double value, int decimals)
{
    DecimalDigits d;
    d.Negative = std::signbit(value);
    // Large enough for the integer digits of any long double plus the places.
    std::string buffer(static_cast<std::size_t>(std::numeric_limits<long double>::max_exponent10 + decimals + 8), '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::fixed, decimals);
    int point = 0;
    bool pointSeen = false;
    for (const char* p = buffer.data(); p != result.ptr; ++p) {
        if (*p == '.') {
            pointSeen = true;
            continue;
        }
        if (d.Digits.empty() && *p == '0') {
            if (pointSeen) {
                --point; // a zero between the point and the first significant digit
            }
            continue;
        }
        d.Digits.push_back(*p);
        if (!pointSeen) {
            ++point;
        }
    }
    d.Point = point;
    StripTrailingZeros(d);
    return d;
}

// Rounds the decimal digits to `decimals` places after the point, a half going
// to the even neighbour.
void RoundToDecimalPlaces(DecimalDigits& d, int decimals)
{
    if (d.IsZero()) {
        return;
    }
    const long keep = static_cast<long>(d.Point) + decimals; // digits kept
    if (keep >= static_cast<long>(d.Digits.size())) {
        return;
    }
    if (keep < 0) {
        d.Digits.clear();
        d.Point = 0;
        return;
    }
    const auto k = static_cast<std::size_t>(keep);
    const char first = d.Digits[k];
    bool roundUp = false;
    if (first > '5') {
        roundUp = true;
    } else if (first == '5') {
        const bool moreAfter = d.Digits.find_first_not_of('0', k + 1) != std::string::npos;
        const bool lastKeptOdd = k > 0 && ((d.Digits[k - 1] - '0') % 2 == 1);
        roundUp = moreAfter || lastKeptOdd;
    }
    d.Digits.resize(k);
    if (roundUp) {
        std::size_t i = k;
        while (i > 0 && d.Digits[i - 1] == '9') {
            d.Digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Point;
        } else {
            ++d.Digits[i - 1];
        }
    }
    StripTrailingZeros(d);
}

// Fixed notation with exactly `decimals` places; no sign for zero.
std::string FixedText(const DecimalDigits& d, int decimals, char separator)
{
    std::string text;
    if (d.Negative && !d.IsZero()) {
        text.push_back('-');
    }
    const int digitCount = static_cast<int>(d.Digits.size());
    if (d.IsZero() || d.Point <= 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i < d.Point; ++i) {
            text.push_back(i < digitCount ? d.Digits[static_cast<std::size_t>(i)] : '0');
        }
    }
    if (decimals > 0) {
        text.push_back(separator);
        for (int i = 0; i < decimals; ++i) {
            const int index = d.Point + i;
            const bool present = !d.IsZero() && index >= 0 && index < digitCount;
            text.push_back(present ? d.Digits[static_cast<std::size_t>(index)] : '0');
        }
    }
    return text;
}

// Fixed notation without trailing zeros (and without the separator when no
// fractional digit remains).
std::string ShortFixedText(const DecimalDigits& d, char separator)
{
    const int fractional = std::max(0, static_cast<int>(d.Digits.size()) - d.Point);
    return FixedText(d, fractional, separator);
}

// Mantissa with the separator after the first digit, "E", "-" only for a
// negative exponent, no leading zeros in the exponent: 8.1656588E15, 5E-5.
std::string ExponentText(const DecimalDigits& d, char separator)
{
    std::string text;
    if (d.Negative) {
        text.push_back('-');
    }
    text.push_back(d.Digits.front());
    if (d.Digits.size() > 1) {
        text.push_back(separator);
        text.append(d.Digits, 1, std::string::npos);
    }
    text.push_back('E');
    text.append(std::to_string(d.Point - 1));
    return text;
}

// The general format shared by the numeric fields and the catalog file:
// `significant` digits, fixed while the point lies in [minPoint, significant].
std::string GeneralText(long double value, int significant, int minPoint, char separator)
{
    if (!std::isfinite(value)) {
        return "0";
    }
    const DecimalDigits d = RoundToSignificant(value, significant);
    if (d.IsZero()) {
        return "0";
    }
    if (d.Point > significant || d.Point < minPoint) {
        return ExponentText(d, separator);
    }
    return ShortFixedText(d, separator);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a plain decimal number: blanks around, an optional sign, digits with at
// most one `separator`, an optional exponent "E"/"e" with optional sign. At
// least one mantissa digit. Overflow is unreadable; underflow reads as zero.
std::optional<long double> ReadDecimal(std::string_view text, char separator)
{
    text = TrimBlanks(text);
    std::string plain; // what std::from_chars gets: no '+', '.' as the point
    plain.reserve(text.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int integerDigits = 0;        // significant digits before the point
    int leadingFractionZeros = 0; // zeros right after the point before any other digit
    bool anyNonZero = false;
    bool anyDigit = false;
    // The significant digits as an integer while they fit in 19 digits, and
    // how many of them lie after the point.
    std::uint64_t digitValue = 0;
    int significantDigits = 0;
    int digitsAfterPoint = 0;
    const auto takeDigit = [&](char c, bool afterPoint) {
        if (c != '0' || anyNonZero) {
            anyNonZero = true;
            if (++significantDigits <= MaxPowerOfTen) {
                digitValue = digitValue * 10 + static_cast<std::uint64_t>(c - '0');
                digitsAfterPoint += afterPoint ? 1 : 0;
            }
        } else if (afterPoint) {
            ++digitsAfterPoint; // a leading zero after the point still scales
        }
    };
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (text[i] != '0' || anyNonZero) {
            ++integerDigits;
        }
        takeDigit(text[i], false);
        plain.push_back(text[i]);
    }
    if (i < text.size() && text[i] == separator) {
        plain.push_back('.');
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (text[i] == '0' && !anyNonZero) {
                ++leadingFractionZeros;
            }
            takeDigit(text[i], true);
            plain.push_back(text[i]);
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain.push_back('e');
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            plain.push_back(text[i]);
            ++i;
        }
        bool exponentDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            exponentDigits = true;
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000000L);
            plain.push_back(text[i]);
        }
        if (!exponentDigits) {
            return std::nullopt;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    if (!anyNonZero) {
        return negative ? -0.0L : 0.0L;
    }
    // Exact integer and exact power of ten: one division or multiplication
    // rounds correctly, and the common texts need no general conversion.
    // bench/BenchBatchCalculator (100,000 rows, CPU medians): 274 ms in mm and
    // 325 ms in inches with it, 325 ms and 416 ms with std::from_chars alone.
    const long scale = exponent - digitsAfterPoint;
    if (significantDigits <= MaxPowerOfTen && scale >= -ExactLongDoublePowers && scale <= ExactLongDoublePowers) {
        const auto digits = static_cast<long double>(digitValue);
        const long double power = LongDoublePowersOfTen[scale < 0 ? -scale : scale];
        const long double value = scale < 0 ? digits / power : digits * power;
        return negative ? -value : value;
    }
    long double value = 0.0L;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal magnitude: the value lies in [10^(mag-1), 10^mag).
        const long magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
        if (magnitude > 0) {
            return std::nullopt; // overflow
        }
        return negative ? -0.0L : 0.0L; // underflow is not a failure
    }
    if (result.ec != std::errc{} || result.ptr != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// Replaces the first occurrence of `from` by `to`.
void ReplaceFirst(std::string& text, char from, char to)
{
    const auto position = text.find(from);
    if (position != std::string::npos) {
        text[position] = to;
    }
}

bool IsSeparator(char separator)
{
    return separator == '.' || separator == ',';
}

} // namespace

std::optional<std::string> FormatResult(long double value, int decimals, char separator)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    constexpr int Significant = 8;
    decimals = std::clamp(decimals, 0, 18);
    DecimalDigits d = RoundToSignificant(value, Significant);
    if (d.Point > Significant) {
        return ExponentText(d, separator);
    }
    RoundToDecimalPlaces(d, decimals);
    return FixedText(d, decimals, separator);
}

std::string FormatGeneral(long double value, char separator)
{
    // Fixed from 0.00001 (point position -4) up to 15 integer digits.
    return GeneralText(value, 15, -4, separator);
}

std::string FormatFixedDecimals(long double value, int decimals, char separator)
{
    constexpr int Significant = 15;
    if (!std::isfinite(value)) {
        value = 0.0L;
    }
    decimals = std::clamp(decimals, 0, 18);
    const DecimalDigits significant = RoundToSignificant(value, Significant);
    if (significant.Point > Significant) {
        return ExponentText(significant, separator);
    }
    // One rounding of the binary value, at the last decimal place or at the
    // fifteenth significant digit, whichever comes first.
    const DecimalDigits fixed = RoundToFixedPlaces(value, decimals);
    if (static_cast<int>(fixed.Digits.size()) > Significant) {
        return FixedText(significant, decimals, separator);
    }
    return FixedText(fixed, decimals, separator);
}

std::string FormatInteger(long double value)
{
    if (!std::isfinite(value)) {
        return "0";
    }
    return FixedText(RoundToFixedPlaces(value, 0), 0, '.');
}

long double RoundToDecimals(long double value, int k)
{
    if (!std::isfinite(value)) {
        return value;
    }
    const long double scale = std::pow(10.0L, static_cast<long double>(k));
    const long double scaled = value * scale;
    if (!std::isfinite(scaled)) {
        return value;
    }
    return std::nearbyint(scaled) / scale;
}

std::string FormatCatalogNumber(double value, char separator)
{
    // Fixed from 0.0001 (point position -3) up to 15 integer digits.
    return GeneralText(static_cast<long double>(value), 15, -3, separator);
}

std::optional<long double> ParseCatalogNumber(std::string_view text, char separator)
{
    if (!IsSeparator(separator)) {
        return std::nullopt;
    }
    std::string converted(text);
    ReplaceFirst(converted, ',', separator);
    ReplaceFirst(converted, '.', separator);
    return ReadDecimal(converted, separator);
}

std::optional<long double> TryParseFieldValue(std::string_view text, char separator)
{
    if (text.empty() || text == "-") {
        return 0.0L;
    }
    if (!IsSeparator(separator)) {
        return std::nullopt;
    }
    std::string converted(text);
    ReplaceFirst(converted, separator == ',' ? '.' : ',', separator);
    return ReadDecimal(converted, separator);
}

long double ParseFieldValue(std::string_view text, char separator)
{
    return TryParseFieldValue(text, separator).value_or(0.0L);
}

std::optional<long double> ParseDecimalText(std::string_view text, char separator)
{
    if (!IsSeparator(separator)) {
        return std::nullopt;
    }
    return ReadDecimal(text, separator);
}

std::int32_t ParseFieldInteger(std::string_view text)
{
    text = TrimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return 0;
    }
    std::int64_t magnitude = 0;
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return 0;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > Limit) {
            return 0;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::string> InchTextFromMmText(std::string_view mmText, int decimals, char separator)
{
    if (TrimBlanks(mmText).empty() || !IsSeparator(separator)) {
        return std::nullopt;
    }
    const auto millimetres = ReadDecimal(mmText, separator);
    if (!millimetres) {
        return std::nullopt;
    }
    return FormatResult(*millimetres / MmPerInch, decimals, separator);
}

} // namespace zevko
