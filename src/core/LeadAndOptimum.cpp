#include "LeadAndOptimum.h"

#include "Calculation.h"
#include "NumberFormat.h"

#include <cmath>

namespace zevko {

namespace {

bool Within(long double value, long double low, long double high)
{
    return value >= low && value <= high; // false for NaN as well
}

bool AnglePlausible(const FlankAngle& angle)
{
    return Within(angle.Degrees, 0.0L, 90.0L) && Within(angle.Minutes, 0.0L, 59.0L) &&
           Within(angle.Seconds, 0.0L, 59.0L);
}

} // namespace

LeadOptimumUpdate UpdateLeadAndOptimum(const LeadOptimumInputs& inputs, UnitSystem units, char separator)
{
    const long double pitchMm = inputs.PitchMm;
    const long double startsValue = inputs.StartsValue;
    LeadOptimumUpdate update;
    if (!Within(pitchMm, 0.0L, 100.0L) || !AnglePlausible(inputs.Beta) || !AnglePlausible(inputs.Gamma)) {
        return update;
    }

    update.Outcome = LeadOptimumUpdate::Stage::FailedAtLead;
    if (!std::isfinite(startsValue)) {
        return update;
    }
    const long double n = std::trunc(startsValue);
    const long double beta = inputs.Beta.HeldRadians();
    const long double gamma = inputs.Gamma.HeldRadians();

    auto leadText = FormatResult(n * pitchMm, 5, separator);
    if (!leadText) {
        return update;
    }
    // The inch display is derived from the rounded millimetre text, as every
    // other inch result is.
    auto leadDisplay = units == UnitSystem::Inches ? InchTextFromMmText(*leadText, 6, separator) : leadText;
    if (!leadDisplay) {
        return update;
    }
    update.LeadText = std::move(*leadText);
    update.LeadDisplay = std::move(*leadDisplay);

    update.Outcome = LeadOptimumUpdate::Stage::FailedAfterLead;
    const auto optimum = OptimumProbeDiameter(pitchMm, beta, gamma);
    if (!optimum) {
        return update;
    }
    const double d0 = static_cast<double>(*optimum);
    auto optimumText = FormatResult(d0, 5, separator);
    // The optimum's inch display comes from the number, not from the text.
    auto optimumDisplay = units == UnitSystem::Inches ? FormatResult(d0 / MmPerInch, 5, separator) : optimumText;
    if (!optimumText || !optimumDisplay) {
        return update;
    }
    update.OptimumMm = d0;
    update.OptimumDiameterText = std::move(*optimumText);
    update.OptimumDisplay = std::move(*optimumDisplay);
    update.Outcome = LeadOptimumUpdate::Stage::Ok;
    return update;
}

} // namespace zevko
