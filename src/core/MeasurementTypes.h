#pragma once

// The classifications and inputs of one thread measurement. Each enumerator's
// value is the item index of its selection box and of its stored setting.

namespace zevko {

enum class ThreadSide { External, Internal };

enum class MeasuredQuantity { IndicatedSmallM = 0, IndicatedCapitalM = 1, PitchDiameter = 2 };

enum class ProbeMaterial { Steel = 0, Ruby = 1 };

enum class MeasuringMethod { Perpendicular = 0, Inclined = 1 };

enum class UnitSystem { Millimetres, Inches };

inline constexpr long double MmPerInch = 25.4L;
inline constexpr long double Pi = 3.14159265358979323846264338327950288L;

// A flank angle as the three fields hold it: degrees (which may carry a
// fraction: 27.5 is 27 30' 0"), minutes and seconds. The parts are kept as
// entered, at extended precision; the accepted ranges are the consumers' to
// judge (PlausibilityLimits.h).
struct FlankAngle {
    long double Degrees = 0.0L;
    long double Minutes = 0.0L;
    long double Seconds = 0.0L;

    long double Radians() const;
    long double HeldRadians() const;
};

// Everything one calculation takes. All lengths are millimetres, whatever unit
// system the window shows; the force is newtons, angles degrees/minutes/seconds.
struct MeasurementInputs {
    ThreadSide Side = ThreadSide::External;
    double PitchMm = 0.0;
    int Starts = 1;
    FlankAngle Beta{30.0L};
    FlankAngle Gamma{30.0L};
    double ProbeDiameterMm = 0.0;
    ProbeMaterial Material = ProbeMaterial::Steel;
    MeasuringMethod Method = MeasuringMethod::Perpendicular;
    double ForceN = 0.0;
    MeasuredQuantity Quantity = MeasuredQuantity::IndicatedCapitalM;
    double MeasuredValueMm = 0.0;
};

// The one angle conversion of the program: degrees, minutes and seconds added
// in this order, then scaled with pi at full extended precision.
inline long double FlankAngleRadians(long double degrees, long double minutes, long double seconds)
{
    return (degrees + minutes / 60.0L + seconds / 3600.0L) * Pi / 180.0L;
}

// A flank angle as the lead update and the calculation hold it: converted at
// extended precision, then kept as a double like every stored value. At
// exactly 90 degrees the cosine of the held angle is a tiny positive number,
// so the (degenerate) optimum diameter stays positive instead of changing sign.
inline long double HeldFlankAngle(long double degrees, long double minutes, long double seconds)
{
    return static_cast<double>(FlankAngleRadians(degrees, minutes, seconds));
}

inline long double FlankAngle::Radians() const
{
    return FlankAngleRadians(Degrees, Minutes, Seconds);
}

inline long double FlankAngle::HeldRadians() const
{
    return HeldFlankAngle(Degrees, Minutes, Seconds);
}

} // namespace zevko
