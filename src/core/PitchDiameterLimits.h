#pragma once

#include <optional>
#include <string>
#include <string_view>

// The limits of the pitch diameter a gauge or a part must keep, as the user
// types them: the lower and the upper limit ("8.862 8.994"), or a nominal with
// its upper and lower deviation ("9.026 -0.032 -0.164", "9.026 +/-0.05").
// Limits come from the gauge's standard or drawing; the program does not
// derive them from a tolerance class.

namespace zevko {

struct PitchDiameterLimits {
    long double Lower = 0.0L; // in the unit they were typed in
    long double Upper = 0.0L;
};

enum class LimitsRefusal {
    None,
    Empty,            // nothing typed: no limits, no verdict
    UnreadableNumber, // a part that is not a number (the part)
    WrongCount,       // not two numbers, nor a nominal with one or two deviations
    WrongOrder        // the lower limit above the upper, or the lower deviation above the upper (the pair)
};

struct LimitsReading {
    std::optional<PitchDiameterLimits> Limits;
    LimitsRefusal Refusal = LimitsRefusal::None;
    std::string Offending;
};

// Reads the limits from one text: numbers separated by blanks, written with
// `separator`, signs '+', '-' or the minus sign U+2212, a deviation also as
// "+/-" or U+00B1.
LimitsReading ReadPitchDiameterLimits(std::string_view text, char separator);

// A lower and an upper limit read from two separate texts (batch columns,
// window fields). Both empty: no limits (Empty); one empty or unreadable:
// UnreadableNumber naming it; lower above upper: WrongOrder.
LimitsReading PitchDiameterLimitsFromPair(std::string_view lower, std::string_view upper, char separator);

} // namespace zevko
