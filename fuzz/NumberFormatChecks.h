#pragma once

// The number readers on arbitrary text, with both decimal separators: a
// number read is always finite, the lenient readers agree with the strict
// ones, and what the formatters write from it reads back to the same value.

#include "FuzzCheck.h"
#include "NumberFormat.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zevko::fuzz {
namespace number_format {

// The text of a 32-bit integer the integer reader accepted, in its shortest
// form: blanks, a '+' and leading zeros dropped ("-0" is "0").
inline std::string CanonicalInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::string sign;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        if (text.front() == '-')
            sign = "-";
        text.remove_prefix(1);
    }
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text == "0")
        return "0";
    return sign + std::string(text);
}

inline void CheckFormatsReadBack(long double value, char separator)
{
    using zevko::fuzz::CloseTo;
    // Below the normal range the binary value has fewer digits than the text.
    const bool normal = value == 0.0L || std::fabs(value) >= LDBL_MIN;

    const std::string general = zevko::FormatGeneral(value, separator);
    const auto generalBack = zevko::TryParseFieldValue(general, separator);
    FUZZ_CHECK(generalBack.has_value(), "a field's general text reads back");
    FUZZ_CHECK(!normal || CloseTo(*generalBack, value, 1e-14L), "a field's general text keeps 15 digits");

    for (int decimals : {0, 5, 6}) {
        const auto result = zevko::FormatResult(value, decimals, separator);
        FUZZ_CHECK(result.has_value(), "a finite value has a result text");
        const auto resultBack = zevko::ParseDecimalText(*result, separator);
        FUZZ_CHECK(resultBack.has_value() && std::isfinite(*resultBack), "a result text reads back");
        const auto fieldBack = zevko::TryParseFieldValue(*result, separator);
        FUZZ_CHECK(fieldBack == resultBack, "a result text reads the same in a field");
    }

    const auto fixed = zevko::TryParseFieldValue(zevko::FormatFixedDecimals(value, 5, separator), separator);
    FUZZ_CHECK(fixed.has_value() && std::isfinite(*fixed), "a fixed text reads back");

    const double stored = static_cast<double>(value);
    if (std::isfinite(stored)) {
        const std::string catalogText = zevko::FormatCatalogNumber(stored, separator);
        const auto catalogBack = zevko::ParseCatalogNumber(catalogText, separator);
        FUZZ_CHECK(catalogBack.has_value(), "a catalog number reads back");
        FUZZ_CHECK(CloseTo(*catalogBack, stored, 1e-14L), "a catalog number keeps 15 digits");
    }
}

inline void CheckText(std::string_view text, char separator)
{
    const auto field = zevko::TryParseFieldValue(text, separator);
    FUZZ_CHECK(!field || std::isfinite(*field), "a field reads a finite value or none");
    const long double lenient = zevko::ParseFieldValue(text, separator);
    FUZZ_CHECK(std::isfinite(lenient), "a field always reads a finite value");
    FUZZ_CHECK(lenient == field.value_or(0.0L), "the lenient field reading is the strict one or 0");

    const auto strict = zevko::ParseDecimalText(text, separator);
    FUZZ_CHECK(!strict || std::isfinite(*strict), "a decimal text reads a finite value or none");
    FUZZ_CHECK(!strict || field == strict, "a plain decimal reads the same in a field");

    const auto catalog = zevko::ParseCatalogNumber(text, separator);
    FUZZ_CHECK(!catalog || std::isfinite(*catalog), "a catalog number reads a finite value or none");
    FUZZ_CHECK(!strict || catalog == strict, "a plain decimal reads the same in a catalog");

    const auto inches = zevko::InchTextFromMmText(text, 6, separator);
    FUZZ_CHECK(!inches || zevko::ParseDecimalText(*inches, separator).has_value(), "an inch text reads back");

    if (field)
        CheckFormatsReadBack(*field, separator);
    if (catalog)
        CheckFormatsReadBack(*catalog, separator);
}

inline void CheckNumberFormat(std::string_view input)
{
    const std::string_view text = input;
    CheckText(text, '.');
    CheckText(text, ',');

    const std::int32_t integer = zevko::ParseFieldInteger(text);
    FUZZ_CHECK(integer == 0 || CanonicalInteger(text) == std::to_string(integer),
               "a non-zero integer is the number the text spells");
    FUZZ_CHECK(zevko::ParseFieldInteger(zevko::FormatInteger(integer)) == integer, "an integer text reads back");
}

} // namespace number_format

using number_format::CheckNumberFormat;

} // namespace zevko::fuzz
