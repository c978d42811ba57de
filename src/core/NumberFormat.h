#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every number the program writes or reads as text goes through these
// functions. The decimal separator is always an argument ('.' or ','): the
// program takes it once from the system locale and passes it down.

namespace zevko {

// Result texts (lead, optimum, pitch diameter, indicated value, correction):
// rounded first to 8 significant digits, then that decimal to `decimals`
// places (halves to even), padded to exactly `decimals` places. A value that
// rounds to zero carries no minus sign. More than 8 integer digits give
// exponent notation (8.1656588E15). Also serves the "fixed N decimals" inch
// displays (lead 6, optimum 5). Non-finite input gives std::nullopt.
std::optional<std::string> FormatResult(long double value, int decimals, char separator);

// General format of a real numeric field: at most 15 significant digits, no
// trailing zeros, fixed for magnitudes from 0.00001 up to 15 integer digits,
// else mantissa, "E", "-" only for a negative exponent, exponent without
// leading zeros. Zero is "0".
std::string FormatGeneral(long double value, char separator);

// Fixed-point text with exactly `decimals` places, at most 15 significant digits.
std::string FormatFixedDecimals(long double value, int decimals, char separator);

// Integer field format: the nearest whole number, halves to even.
std::string FormatInteger(long double value);

// Rounds to k decimals: multiply by 10^k, round half to even, divide.
long double RoundToDecimals(long double value, int k);

// Catalog file number: 15 significant digits, no trailing zeros, fixed from
// magnitude 0.0001 with at most 15 integer digits, else 5E-5 style; 0 is "0".
std::string FormatCatalogNumber(double value, char separator);

// Catalog file reading: the first comma, then the first point, are replaced by
// the separator and the text converted. std::nullopt when not a number.
std::optional<long double> ParseCatalogNumber(std::string_view text, char separator);

// Numeric field reading: empty or "-" is 0; the first '.' or ',' is swapped to
// the separator; blanks around and an exponent are accepted; anything
// unreadable (including inf, nan, hex, overflow, thousands separators) is 0.
long double ParseFieldValue(std::string_view text, char separator);

// Strict variant of ParseFieldValue: std::nullopt instead of 0 when unreadable
// (empty and "-" still read as 0).
std::optional<long double> TryParseFieldValue(std::string_view text, char separator);

// Strict reading of a plain decimal number written with `separator` and no
// other: blanks around, an optional sign, an optional exponent. Nothing is
// swapped; an empty text, the other separator, inf, nan, hex, overflow and
// thousands separators give std::nullopt; underflow reads as 0.
std::optional<long double> ParseDecimalText(std::string_view text, char separator);

// Integer field reading: signed 32-bit decimal; 0 on failure or overflow.
std::int32_t ParseFieldInteger(std::string_view text);

// The inch display of a result: a stored millimetre text read back, divided
// by 25.4 and formatted as a result text with `decimals` places. std::nullopt
// when the text cannot be read back (an empty text, for instance).
std::optional<std::string> InchTextFromMmText(std::string_view mmText, int decimals, char separator);

} // namespace zevko
