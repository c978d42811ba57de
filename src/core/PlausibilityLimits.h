#pragma once

#include "MeasurementTypes.h"

// The accepted ranges of the measurement inputs, in one place: the lead and
// optimum update and the calculation judge their inputs with them (an input
// outside does nothing, without a message), the entry fields take their upper
// limits from them, and the window asks them which fields to mark.

namespace zevko {

// Both ends belong to the range. Lengths are millimetres in either unit
// system, the force newtons, angle parts degrees, minutes and seconds.
struct AcceptedRange {
    long double Low = 0.0L;
    long double High = 0.0L;
};

inline constexpr AcceptedRange PitchRangeMm{0.0L, 100.0L};
inline constexpr AcceptedRange StartsRange{0.0L, 100.0L};
inline constexpr AcceptedRange FlankDegreesRange{0.0L, 90.0L};
inline constexpr AcceptedRange FlankMinutesRange{0.0L, 59.0L};
inline constexpr AcceptedRange FlankSecondsRange{0.0L, 59.0L};
inline constexpr AcceptedRange ProbeDiameterRangeMm{0.0L, 100.0L};
inline constexpr AcceptedRange ForceRangeN{0.0L, 100.0L};
inline constexpr AcceptedRange MeasuredValueRangeMm{0.0L, 4000.0L};

constexpr bool Within(long double value, AcceptedRange range)
{
    return value >= range.Low && value <= range.High; // false for NaN as well
}

constexpr bool AnglePlausible(const FlankAngle& angle)
{
    return Within(angle.Degrees, FlankDegreesRange) && Within(angle.Minutes, FlankMinutesRange) &&
           Within(angle.Seconds, FlankSecondsRange);
}

// What the lead and optimum update checks: the pitch and both angles. The
// number of starts is not judged: its field keeps it within StartsRange.
constexpr bool LeadUpdatePlausible(long double pitchMm, const FlankAngle& beta, const FlankAngle& gamma)
{
    return Within(pitchMm, PitchRangeMm) && AnglePlausible(beta) && AnglePlausible(gamma);
}

// What the calculation checks: every length, both angles and the force
// (again not the starts).
constexpr bool Plausible(const MeasurementInputs& in)
{
    return LeadUpdatePlausible(in.PitchMm, in.Beta, in.Gamma) && Within(in.ProbeDiameterMm, ProbeDiameterRangeMm) &&
           Within(in.ForceN, ForceRangeN) && Within(in.MeasuredValueMm, MeasuredValueRangeMm);
}

// The inputs one by one, as their entry fields hold them; a flank field is
// the same for beta and gamma.
enum class InputField {
    Pitch,
    Starts,
    FlankDegrees,
    FlankMinutes,
    FlankSeconds,
    ProbeDiameter,
    Force,
    MeasuredValue,
};

constexpr AcceptedRange RangeOf(InputField field)
{
    switch (field) {
    case InputField::Pitch: return PitchRangeMm;
    case InputField::Starts: return StartsRange;
    case InputField::FlankDegrees: return FlankDegreesRange;
    case InputField::FlankMinutes: return FlankMinutesRange;
    case InputField::FlankSeconds: return FlankSecondsRange;
    case InputField::ProbeDiameter: return ProbeDiameterRangeMm;
    case InputField::Force: return ForceRangeN;
    case InputField::MeasuredValue: return MeasuredValueRangeMm;
    }
    return {};
}

// The lengths: their range is in millimetres, so a value shown in inches is
// converted (times MmPerInch) before it is judged, and the range divided by
// MmPerInch before it is shown in inches.
constexpr bool IsLength(InputField field)
{
    return field == InputField::Pitch || field == InputField::ProbeDiameter || field == InputField::MeasuredValue;
}

struct FieldJudgement {
    bool InRange = false;
    AcceptedRange Range;
};

// Whether a field's value (in the unit of its range) is accepted, and the
// range it is judged against: what an entry field needs to mark itself and
// to say why.
constexpr FieldJudgement JudgeField(InputField field, long double value)
{
    const AcceptedRange range = RangeOf(field);
    return {Within(value, range), range};
}

} // namespace zevko
