#pragma once

// The invariants of the calculation and of the lead-and-optimum update for
// any inputs: an Ok outcome carries only finite values and result texts that
// read back as finite numbers, a failure leaves only readable texts, and an
// implausible input changes nothing.

#include "Calculation.h"
#include "FuzzCheck.h"
#include "LeadAndOptimum.h"
#include "MeasurementTypes.h"
#include "NumberFormat.h"

#include <cmath>
#include <string>

namespace zevko::fuzz {
namespace calculation {

using zevko::CalculationOutcome;
using zevko::LeadOptimumUpdate;
using zevko::MeasurementInputs;
using zevko::MeasurementResults;

// A result text: empty (not computed) or a number that reads back finite.
inline bool ReadsBackFinite(const std::string& text, char separator)
{
    if (text.empty())
        return true;
    const auto catalog = zevko::ParseCatalogNumber(text, separator);
    if (catalog && std::isfinite(*catalog))
        return true;
    const auto field = zevko::TryParseFieldValue(text, separator);
    return field && std::isfinite(*field);
}

inline bool AllReadBack(const MeasurementResults& r, char separator)
{
    return ReadsBackFinite(r.LeadText, separator) && ReadsBackFinite(r.OptimumDiameterText, separator) &&
           ReadsBackFinite(r.DiameterText, separator) && ReadsBackFinite(r.IndicatedValueText, separator) &&
           ReadsBackFinite(r.ForceCorrectionText, separator);
}

inline bool SameTexts(const MeasurementResults& a, const MeasurementResults& b)
{
    return a.LeadText == b.LeadText && a.OptimumDiameterText == b.OptimumDiameterText &&
           a.DiameterText == b.DiameterText && a.IndicatedValueText == b.IndicatedValueText &&
           a.ForceCorrectionText == b.ForceCorrectionText;
}

inline void CheckCalculation(const MeasurementInputs& inputs, bool pitchFieldHasText,
                             const MeasurementResults& previous, char separator)
{
    const zevko::CalculationValues values = zevko::CalculateValues(inputs);
    if (values.Outcome == CalculationOutcome::Ok) {
        FUZZ_CHECK(std::isfinite(values.LeadMm) && std::isfinite(values.OptimumMm) &&
                       std::isfinite(values.DiameterMm) && std::isfinite(values.IndicatedValueMm) &&
                       std::isfinite(values.ForceCorrectionMm),
                   "an Ok calculation has finite values");
        FUZZ_CHECK(values.LeadFormed && values.OptimumFormed, "an Ok calculation formed the lead and the optimum");
        FUZZ_CHECK(values.Corrections >= 0 && values.Corrections <= 100, "the corrections of m are bounded");
    }
    FUZZ_CHECK(!values.LeadFormed || std::isfinite(values.LeadMm), "a lead formed is finite");
    FUZZ_CHECK(!values.OptimumFormed || std::isfinite(values.OptimumMm), "an optimum formed is finite");

    const zevko::CalculationResult result = zevko::Calculate(inputs, pitchFieldHasText, previous, separator);
    FUZZ_CHECK(result.Outcome == values.Outcome || result.Outcome == CalculationOutcome::Failed,
               "the texts follow the values' outcome");
    switch (result.Outcome) {
    case CalculationOutcome::Implausible:
        FUZZ_CHECK(SameTexts(result.Results, previous), "an implausible input changes no text");
        break;
    case CalculationOutcome::Failed:
        FUZZ_CHECK(AllReadBack(result.Results, separator), "a failed calculation leaves only readable texts");
        break;
    case CalculationOutcome::Ok:
        FUZZ_CHECK(!result.Results.DiameterText.empty() && !result.Results.IndicatedValueText.empty() &&
                       !result.Results.ForceCorrectionText.empty() && !result.Results.OptimumDiameterText.empty(),
                   "an Ok calculation has its results");
        FUZZ_CHECK(!pitchFieldHasText || !result.Results.LeadText.empty(), "an Ok calculation has its lead");
        FUZZ_CHECK(AllReadBack(result.Results, separator), "an Ok calculation has only finite, readable texts");
        break;
    }
}

inline void CheckLeadAndOptimum(const MeasurementInputs& in, long double startsValue, zevko::UnitSystem units,
                                char separator)
{
    const LeadOptimumUpdate update = zevko::UpdateLeadAndOptimum(
        {.PitchMm = in.PitchMm, .StartsValue = startsValue, .Beta = in.Beta, .Gamma = in.Gamma}, units, separator);
    switch (update.Outcome) {
    case LeadOptimumUpdate::Stage::Implausible:
    case LeadOptimumUpdate::Stage::FailedAtLead:
        FUZZ_CHECK(update.LeadText.empty() && update.OptimumDiameterText.empty(), "nothing changes before the lead");
        break;
    case LeadOptimumUpdate::Stage::FailedAfterLead:
        FUZZ_CHECK(!update.LeadText.empty() && ReadsBackFinite(update.LeadText, separator) &&
                       ReadsBackFinite(update.LeadDisplay, separator),
                   "a lead formed is a finite, readable text");
        FUZZ_CHECK(update.OptimumDiameterText.empty(), "a failed optimum has no text");
        break;
    case LeadOptimumUpdate::Stage::Ok:
        FUZZ_CHECK(std::isfinite(update.OptimumMm), "an Ok optimum is finite");
        FUZZ_CHECK(!update.LeadText.empty() && !update.LeadDisplay.empty() && !update.OptimumDiameterText.empty() &&
                       !update.OptimumDisplay.empty(),
                   "an Ok update has all its texts");
        FUZZ_CHECK(ReadsBackFinite(update.LeadText, separator) && ReadsBackFinite(update.LeadDisplay, separator) &&
                       ReadsBackFinite(update.OptimumDiameterText, separator) &&
                       ReadsBackFinite(update.OptimumDisplay, separator),
                   "an Ok update has only finite, readable texts");
        break;
    }
}

} // namespace calculation

using calculation::CheckCalculation;
using calculation::CheckLeadAndOptimum;

} // namespace zevko::fuzz
