// The calculation and the lead-and-optimum update on arbitrary inputs, inside
// and outside the plausibility limits: every call returns (libFuzzer's
// -timeout catches an iteration that does not end), an Ok outcome carries
// only finite values and result texts that read back as finite numbers, and
// an implausible input changes nothing.

#include "Calculation.h"
#include "FuzzCheck.h"
#include "LeadAndOptimum.h"
#include "MeasurementTypes.h"
#include "NumberFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

using zevko::CalculationOutcome;
using zevko::LeadOptimumUpdate;
using zevko::MeasurementInputs;
using zevko::MeasurementResults;

namespace {

// A value for a quantity whose accepted range is [0, limit]: mostly inside,
// often at or just beyond its edges, sometimes anything a double can hold.
double Pick(FuzzedDataProvider& in, double limit)
{
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
        return in.ConsumeFloatingPointInRange<double>(0.0, limit);
    case 1:
        return in.ConsumeIntegralInRange<int>(0, static_cast<int>(limit));
    case 2: {
        const std::array<double, 14> edges = {0.0,
                                              -0.0,
                                              limit,
                                              std::nextafter(limit, HUGE_VAL),
                                              std::nextafter(0.0, -1.0),
                                              std::numeric_limits<double>::denorm_min(),
                                              DBL_MIN,
                                              1e-300,
                                              limit / 2.0,
                                              DBL_MAX,
                                              -DBL_MAX,
                                              HUGE_VAL,
                                              -HUGE_VAL,
                                              std::numeric_limits<double>::quiet_NaN()};
        return edges[in.ConsumeIntegralInRange<std::size_t>(0, edges.size() - 1)];
    }
    case 3:
        return in.ConsumeFloatingPoint<double>();
    default: {
        const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

int PickStarts(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 12) : in.ConsumeIntegral<int>();
}

// A result text: empty (not computed) or a number that reads back finite.
bool ReadsBackFinite(const std::string& text, char separator)
{
    if (text.empty())
        return true;
    const auto catalog = zevko::ParseCatalogNumber(text, separator);
    if (catalog && std::isfinite(*catalog))
        return true;
    const auto field = zevko::TryParseFieldValue(text, separator);
    return field && std::isfinite(*field);
}

bool AllReadBack(const MeasurementResults& r, char separator)
{
    return ReadsBackFinite(r.LeadText, separator) && ReadsBackFinite(r.OptimumDiameterText, separator) &&
           ReadsBackFinite(r.DiameterText, separator) && ReadsBackFinite(r.IndicatedValueText, separator) &&
           ReadsBackFinite(r.ForceCorrectionText, separator);
}

bool SameTexts(const MeasurementResults& a, const MeasurementResults& b)
{
    return a.LeadText == b.LeadText && a.OptimumDiameterText == b.OptimumDiameterText &&
           a.DiameterText == b.DiameterText && a.IndicatedValueText == b.IndicatedValueText &&
           a.ForceCorrectionText == b.ForceCorrectionText;
}

void CheckCalculation(const MeasurementInputs& inputs, bool pitchFieldHasText, const MeasurementResults& previous,
                      char separator)
{
    const zevko::CalculationValues values = zevko::CalculateValues(inputs);
    if (values.Outcome == CalculationOutcome::Ok) {
        FUZZ_CHECK(std::isfinite(values.LeadMm) && std::isfinite(values.OptimumMm) && std::isfinite(values.DiameterMm) &&
                       std::isfinite(values.IndicatedValueMm) && std::isfinite(values.ForceCorrectionMm),
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

void CheckLeadAndOptimum(const MeasurementInputs& in, long double startsValue, zevko::UnitSystem units,
                         char separator)
{
    const LeadOptimumUpdate update = zevko::UpdateLeadAndOptimum(in.PitchMm, startsValue, in.BetaDeg, in.BetaMin,
                                                                 in.BetaSec, in.GammaDeg, in.GammaMin, in.GammaSec,
                                                                 units, separator);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    MeasurementInputs inputs;
    inputs.Side = in.ConsumeBool() ? zevko::ThreadSide::External : zevko::ThreadSide::Internal;
    inputs.Quantity = static_cast<zevko::MeasuredQuantity>(in.ConsumeIntegralInRange<int>(0, 2));
    inputs.Material = in.ConsumeBool() ? zevko::ProbeMaterial::Steel : zevko::ProbeMaterial::Ruby;
    inputs.Method = in.ConsumeBool() ? zevko::MeasuringMethod::Perpendicular : zevko::MeasuringMethod::Inclined;
    const char separator = in.ConsumeBool() ? '.' : ',';
    const bool pitchFieldHasText = in.ConsumeBool();
    const bool previousComputed = in.ConsumeBool();
    inputs.PitchMm = Pick(in, 100.0);
    inputs.Starts = PickStarts(in);
    inputs.BetaDeg = Pick(in, 90.0);
    inputs.BetaMin = Pick(in, 59.0);
    inputs.BetaSec = Pick(in, 59.0);
    inputs.GammaDeg = Pick(in, 90.0);
    inputs.GammaMin = Pick(in, 59.0);
    inputs.GammaSec = Pick(in, 59.0);
    inputs.ProbeDiameterMm = Pick(in, 100.0);
    inputs.ForceN = Pick(in, 100.0);
    inputs.MeasuredValueMm = Pick(in, 4000.0);
    // The starts field holds any number; the update takes its integer part.
    const long double startsValue = in.ConsumeBool() ? static_cast<long double>(inputs.Starts) : Pick(in, 12.0);

    MeasurementResults previous;
    if (previousComputed) {
        const std::string one = separator == '.' ? "1.00000" : "1,00000";
        previous = {one, one, one, one, one};
    }
    CheckCalculation(inputs, pitchFieldHasText, previous, separator);
    CheckLeadAndOptimum(inputs, startsValue, zevko::UnitSystem::Millimetres, separator);
    CheckLeadAndOptimum(inputs, startsValue, zevko::UnitSystem::Inches, separator);
    return 0;
}
