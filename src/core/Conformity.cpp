#include "Conformity.h"

#include <cmath>
#include <cstdint>

namespace zevko {

namespace {

// The comparisons are made on whole multiples of 10 pm, each value rounded
// to the nearest: the pitch diameter comes from a 5-decimal text, U from a
// few decimals of a micrometre, limits are typed with a few decimals of a
// millimetre or of an inch (times 25.4, at most 7 decimals of a millimetre).
// On that grid such decimals are exact, so a result exactly U inside a limit
// meets it with equality (and conforms) instead of missing it by the binary
// representation's last bit; exactly on the limit it is not decided.
constexpr long double GridPerMm = 1.0e8L;

std::int64_t OnGrid(long double mm)
{
    return std::llround(mm * GridPerMm);
}

bool Representable(long double mm)
{
    return std::isfinite(mm) && std::fabs(mm) < 1.0e10L;
}

} // namespace

Verdict DecideConformity(long double d2Mm, std::optional<long double> expandedUncertaintyMm,
                         const PitchDiameterLimits& limitsMm, DecisionRule rule)
{
    if (!Representable(d2Mm) || !Representable(limitsMm.Lower) || !Representable(limitsMm.Upper) ||
        limitsMm.Lower > limitsMm.Upper) {
        return Verdict::None;
    }
    const std::int64_t d2 = OnGrid(d2Mm);
    const std::int64_t lower = OnGrid(limitsMm.Lower);
    const std::int64_t upper = OnGrid(limitsMm.Upper);
    if (rule == DecisionRule::Simple) {
        return d2 >= lower && d2 <= upper ? Verdict::Conforms : Verdict::DoesNotConform;
    }
    if (!expandedUncertaintyMm || !Representable(*expandedUncertaintyMm) || *expandedUncertaintyMm < 0.0L) {
        return Verdict::None;
    }
    const std::int64_t u = OnGrid(*expandedUncertaintyMm);
    if (d2 + u < lower || d2 - u > upper) {
        return Verdict::DoesNotConform;
    }
    const bool lowerKept = d2 - u >= lower;
    const bool upperKept = d2 + u <= upper;
    if (lowerKept && upperKept) {
        return Verdict::Conforms;
    }
    if (!lowerKept && !upperKept) {
        return Verdict::NotDecidedBoth;
    }
    return lowerKept ? Verdict::NotDecidedUpper : Verdict::NotDecidedLower;
}

std::optional<IndicatedValues> IndicatedValuesAt(const MeasurementInputs& inputs, long double pitchDiameterMm)
{
    if (!Representable(pitchDiameterMm)) {
        return std::nullopt;
    }
    MeasurementInputs atLimit = inputs;
    atLimit.Quantity = MeasuredQuantity::PitchDiameter;
    atLimit.MeasuredValueMm = static_cast<double>(pitchDiameterMm);
    const CalculationValues values = CalculateValues(atLimit);
    if (values.Outcome != CalculationOutcome::Ok) {
        return std::nullopt;
    }
    // With the pitch diameter entered the calculation's diameter result is m.
    return IndicatedValues{values.DiameterMm, values.IndicatedValueMm};
}

TurnToTargets ComputeTurnToTargets(const MeasurementInputs& inputs, const PitchDiameterLimits& limitsMm,
                                   std::optional<long double> expandedUncertaintyMm)
{
    TurnToTargets targets;
    if (limitsMm.Lower > limitsMm.Upper) {
        return targets;
    }
    targets.AtLower = IndicatedValuesAt(inputs, limitsMm.Lower);
    targets.AtUpper = IndicatedValuesAt(inputs, limitsMm.Upper);
    if (expandedUncertaintyMm && Representable(*expandedUncertaintyMm) && *expandedUncertaintyMm >= 0.0L) {
        const long double guardLower = limitsMm.Lower + *expandedUncertaintyMm;
        const long double guardUpper = limitsMm.Upper - *expandedUncertaintyMm;
        if (OnGrid(guardLower) <= OnGrid(guardUpper)) {
            targets.GuardLower = IndicatedValuesAt(inputs, guardLower);
            targets.GuardUpper = IndicatedValuesAt(inputs, guardUpper);
            if (!targets.GuardLower || !targets.GuardUpper) {
                targets.GuardLower.reset();
                targets.GuardUpper.reset();
            }
        }
    }
    return targets;
}

} // namespace zevko
