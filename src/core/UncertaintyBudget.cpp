#include "UncertaintyBudget.h"

#include "NumberFormat.h"

#include <cmath>

namespace zevko {

namespace {

constexpr long double MicrometresPerMm = 1000.0L;

bool Usable(long double value)
{
    return std::isfinite(value) && value >= 0.0L;
}

UncertaintyBudget Invalid(std::optional<BudgetContribution> row)
{
    UncertaintyBudget budget;
    budget.Outcome = BudgetOutcome::InvalidEntry;
    budget.InvalidContribution = row;
    return budget;
}

// The entries a budget cannot stand on, before anything is combined.
std::optional<UncertaintyBudget> CheckEntries(const BudgetInputs& inputs)
{
    for (std::size_t i = 0; i < BudgetContributionCount; ++i) {
        const UncertaintyEntry& entry = inputs.Entries[i];
        const bool kOk = entry.Kind != UncertaintyKind::Expanded ||
                         (std::isfinite(entry.CoverageFactor) && entry.CoverageFactor > 0.0L);
        if (!Usable(entry.Value) || !kOk) {
            return Invalid(static_cast<BudgetContribution>(i));
        }
    }
    if (inputs.Readings < 1) {
        return Invalid(BudgetContribution::Repeatability);
    }
    if (!std::isfinite(inputs.ExpansionCoefficient)) {
        return Invalid(BudgetContribution::TemperatureDifference);
    }
    if (!std::isfinite(inputs.MeanTemperature)) {
        return Invalid(BudgetContribution::ExpansionDifference);
    }
    if (!std::isfinite(inputs.CoverageFactor) || inputs.CoverageFactor <= 0.0L) {
        return Invalid(std::nullopt);
    }
    return std::nullopt;
}

} // namespace

long double UncertaintyDivisor(const UncertaintyEntry& entry)
{
    switch (entry.Kind) {
    case UncertaintyKind::Standard: return 1.0L;
    case UncertaintyKind::Expanded: return entry.CoverageFactor;
    case UncertaintyKind::Rectangular: return std::sqrt(3.0L);
    }
    return 1.0L;
}

long double ProbeWeight(ProbeCorrelation correlation, MeasuringMethod method)
{
    if (correlation == ProbeCorrelation::Correlated) {
        return 1.0L;
    }
    // Three probes: the single one with 1/2 and each of the pair with 1/4,
    // sqrt(1/4 + 1/16 + 1/16); two probes: sqrt(1/4 + 1/4).
    return method == MeasuringMethod::Perpendicular ? std::sqrt(3.0L / 8.0L) : std::sqrt(0.5L);
}

UncertaintyBudget CombineBudget(const SensitivityCoefficients& coefficients, long double enteredLengthMm,
                                MeasuringMethod method, const BudgetInputs& inputs)
{
    if (auto invalid = CheckEntries(inputs)) {
        return *invalid;
    }
    UncertaintyBudget budget;
    budget.Coefficients = coefficients;
    budget.CoverageFactor = inputs.CoverageFactor;

    const long double lengthUm = enteredLengthMm * MicrometresPerMm;
    const auto sensitivity = [&](BudgetContribution c) -> long double {
        switch (c) {
        case BudgetContribution::Indicated:
        case BudgetContribution::Repeatability: return coefficients.MeasuredValue;
        case BudgetContribution::Probes: return coefficients.ProbeDiameter;
        case BudgetContribution::Pitch: return coefficients.Pitch;
        case BudgetContribution::BetaFlank: return coefficients.Beta;
        case BudgetContribution::GammaFlank: return coefficients.Gamma;
        case BudgetContribution::Force: return coefficients.Force;
        case BudgetContribution::ForceModel:
        case BudgetContribution::Other: return 1.0L;
        case BudgetContribution::TemperatureDifference: return lengthUm * inputs.ExpansionCoefficient;
        case BudgetContribution::ExpansionDifference: return lengthUm * (inputs.MeanTemperature - 20.0L);
        }
        return 0.0L;
    };

    long double sumOfSquares = 0.0L;
    for (std::size_t i = 0; i < BudgetContributionCount; ++i) {
        const auto c = static_cast<BudgetContribution>(i);
        const UncertaintyEntry& entry = inputs.Entries[i];
        BudgetRow& row = budget.Rows[i];
        row.Value = entry.Value;
        row.Kind = entry.Kind;
        row.Divisor = c == BudgetContribution::Repeatability ? std::sqrt(static_cast<long double>(inputs.Readings))
                                                             : UncertaintyDivisor(entry);
        row.StandardUncertainty = entry.Value / row.Divisor;
        row.Sensitivity = sensitivity(c);
        row.Weight = c == BudgetContribution::Probes ? ProbeWeight(inputs.Probes, method) : 1.0L;
        row.Contribution = std::fabs(row.Sensitivity) * row.StandardUncertainty * row.Weight;
        sumOfSquares += row.Contribution * row.Contribution;
    }
    if (!std::isfinite(sumOfSquares)) {
        budget.Outcome = BudgetOutcome::Failed;
        return budget;
    }
    budget.CombinedUm = std::sqrt(sumOfSquares);
    budget.ExpandedUm = inputs.CoverageFactor * budget.CombinedUm;
    long double flankSquares = 0.0L;
    for (std::size_t i = 0; i < BudgetContributionCount; ++i) {
        BudgetRow& row = budget.Rows[i];
        row.Share = sumOfSquares > 0.0L ? row.Contribution * row.Contribution / sumOfSquares : 0.0L;
    }
    for (const auto c : {BudgetContribution::BetaFlank, BudgetContribution::GammaFlank}) {
        flankSquares += budget[c].Contribution * budget[c].Contribution;
    }
    budget.CriticalThread = sumOfSquares > 0.0L && flankSquares > 0.5L * sumOfSquares;
    if (!std::isfinite(budget.ExpandedUm)) {
        budget.Outcome = BudgetOutcome::Failed;
        return budget;
    }
    budget.Outcome = BudgetOutcome::Ok;
    return budget;
}

UncertaintyBudget ComputeUncertaintyBudget(const MeasurementInputs& measurement, const BudgetInputs& inputs)
{
    if (auto invalid = CheckEntries(inputs)) {
        return *invalid;
    }
    const SensitivityResult sensitivities = ComputeSensitivities(measurement);
    UncertaintyBudget budget;
    switch (sensitivities.Outcome) {
    case SensitivityOutcome::Ok: break;
    case SensitivityOutcome::NotApplicable: budget.Outcome = BudgetOutcome::NotApplicable; return budget;
    case SensitivityOutcome::Implausible: budget.Outcome = BudgetOutcome::Implausible; return budget;
    case SensitivityOutcome::Failed: budget.Outcome = BudgetOutcome::Failed; return budget;
    }
    budget = CombineBudget(sensitivities.Coefficients, measurement.MeasuredValueMm, measurement.Method, inputs);
    budget.PitchDiameterMm = sensitivities.PitchDiameterMm;
    return budget;
}

std::optional<std::string> FormatCoefficient(long double value, char separator)
{
    return FormatResult(value, 4, separator);
}

std::optional<std::string> FormatMicrometres(long double value, char separator)
{
    return FormatResult(value, 3, separator);
}

} // namespace zevko
