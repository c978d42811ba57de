#include "LeadAndOptimum.h"

#include "Calculation.h"
#include "NumberFormat.h"
#include "PlausibilityLimits.h"
#include "ResultTexts.h"

#include <cmath>

namespace zevko {

LeadOptimumUpdate UpdateLeadAndOptimum(const LeadOptimumInputs& inputs, UnitSystem units, char separator)
{
    const long double pitchMm = inputs.PitchMm;
    const long double startsValue = inputs.StartsValue;
    LeadOptimumUpdate update;
    if (!LeadUpdatePlausible(pitchMm, inputs.Beta, inputs.Gamma)) {
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
    auto leadDisplay = ResultTextInUnit(*leadText, units, separator);
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
