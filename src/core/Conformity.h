#pragma once

#include "Calculation.h"
#include "MeasurementTypes.h"
#include "PitchDiameterLimits.h"

#include <optional>

// The decision whether a measured pitch diameter keeps its limits, and the
// indicated values a thread at the limits shows (what to turn to).

namespace zevko {

enum class DecisionRule {
    Iso14253 = 0, // ISO 14253-1: the expanded uncertainty narrows the zone of conformity
    Simple = 1    // simple acceptance: the result against the limits, U ignored
};

enum class Verdict {
    None, // no limits, no U under ISO 14253-1, or no measured result
    Conforms,
    DoesNotConform,
    NotDecidedLower, // within U of the lower limit
    NotDecidedUpper, // within U of the upper limit
    NotDecidedBoth   // U reaches beyond both limits
};

// The verdict for a pitch diameter `d2Mm` with its expanded uncertainty
// `expandedUncertaintyMm` (absent: none stated) against limits in mm.
// ISO 14253-1: conforms when d2 - U >= lower and d2 + U <= upper; does not
// conform when d2 + U < lower or d2 - U > upper; otherwise not decided.
// Simple acceptance: conforms when lower <= d2 <= upper.
Verdict DecideConformity(long double d2Mm, std::optional<long double> expandedUncertaintyMm,
                         const PitchDiameterLimits& limitsMm, DecisionRule rule);

// The two indicated values of a thread at one pitch diameter: m (between the
// centres) and M (over the wires or between the balls), mm.
struct IndicatedValues {
    long double SmallMMm = 0.0L;
    long double CapitalMMm = 0.0L;
};

struct TurnToTargets {
    std::optional<IndicatedValues> AtLower; // a thread exactly at the lower limit
    std::optional<IndicatedValues> AtUpper;
    // The limits narrowed by U on both sides (ISO 14253-1 acceptance): the
    // M window inside which a result is accepted. Absent without U, when the
    // narrowed zone is empty, or when a value cannot be computed.
    std::optional<IndicatedValues> GuardLower;
    std::optional<IndicatedValues> GuardUpper;
};

// The pitch-diameter-entered calculation at each limit with the inputs'
// side, probe, force, material and method (their entered quantity and value
// are replaced). A target whose calculation is implausible or fails is absent.
TurnToTargets ComputeTurnToTargets(const MeasurementInputs& inputs, const PitchDiameterLimits& limitsMm,
                                   std::optional<long double> expandedUncertaintyMm);

// The indicated values at one pitch diameter, as above.
std::optional<IndicatedValues> IndicatedValuesAt(const MeasurementInputs& inputs, long double pitchDiameterMm);

} // namespace zevko
