#pragma once

#include "MeasurementTypes.h"
#include "Sensitivities.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// Uncertainty budget of the shown pitch diameter after the GUM (JCGM 100):
// one standard uncertainty per contribution, each multiplied by its
// sensitivity coefficient, combined as the root sum of squares and expanded
// with the coverage factor k. Lengths of the budget are micrometres.

namespace zevko {

// The contributions, in the order a budget lists them.
enum class BudgetContribution {
    Indicated,             // the indicated value: instrument, resolution, setting standard (um)
    Repeatability,         // s of a single reading over n readings (um)
    Probes,                // each probe's diameter (um)
    Pitch,                 // deviation of the pitch (um); 0 for the simple pitch diameter
    BetaFlank,             // deviation of the flank angle beta (arcminutes)
    GammaFlank,            // deviation of the flank angle gamma (arcminutes)
    Force,                 // the measuring force (N)
    ForceModel,            // the force-correction model itself (um)
    TemperatureDifference, // gauge against instrument scale (K)
    ExpansionDifference,   // difference of the expansion coefficients (1/K)
    Other                  // form, roughness, the calculation model (um)
};
inline constexpr std::size_t BudgetContributionCount = 11;

// How a value is given. The repeatability row always holds s and divides by
// the square root of the number of readings.
enum class UncertaintyKind {
    Standard,   // the standard uncertainty itself
    Expanded,   // an expanded uncertainty with its coverage factor (a certificate)
    Rectangular // +- limits of a rectangular distribution (an MPE, a resolution): divisor sqrt(3)
};

struct UncertaintyEntry {
    long double Value = 0.0L;
    UncertaintyKind Kind = UncertaintyKind::Standard;
    long double CoverageFactor = 2.0L; // Expanded only
};

// One probe set calibrated together moves all probes alike (correlated); probes
// calibrated one by one do not (independent): with three probes the single
// one and the mean of the pair enter with weights 1/2, 1/4, 1/4, with two
// probes each with 1/2.
enum class ProbeCorrelation { Correlated, Independent };

inline constexpr long double DefaultExpansionCoefficient = 11.5e-6L; // 1/K, steel
inline constexpr long double DefaultCoverageFactor = 2.0L;

struct BudgetInputs {
    std::array<UncertaintyEntry, BudgetContributionCount> Entries{};
    int Readings = 1; // n of the repeatability row
    ProbeCorrelation Probes = ProbeCorrelation::Correlated;
    long double ExpansionCoefficient = DefaultExpansionCoefficient; // alpha of the gauge, 1/K
    long double MeanTemperature = 20.0L;                            // theta of the measurement, deg C
    long double CoverageFactor = DefaultCoverageFactor;             // k of U

    UncertaintyEntry& operator[](BudgetContribution c) { return Entries[static_cast<std::size_t>(c)]; }
    const UncertaintyEntry& operator[](BudgetContribution c) const { return Entries[static_cast<std::size_t>(c)]; }
};

struct BudgetRow {
    long double Value = 0.0L; // as entered, in the row's unit
    UncertaintyKind Kind = UncertaintyKind::Standard;
    long double Divisor = 1.0L;             // value / divisor = standard uncertainty
    long double StandardUncertainty = 0.0L; // u_i, the row's unit
    long double Sensitivity = 0.0L;         // c_i, micrometres per unit of the row
    long double Weight = 1.0L;              // the probe row's weight for independent probes, else 1
    long double Contribution = 0.0L;        // |c_i| * u_i * weight, micrometres
    long double Share = 0.0L;               // of u_c^2, 0 to 1
};

enum class BudgetOutcome {
    Ok,
    NotApplicable, // the pitch diameter is entered
    Implausible,   // the calculation does nothing for these inputs
    Failed,        // the calculation or its derivatives fail
    InvalidEntry   // a budget value is negative or not finite, a k or n not positive
};

struct UncertaintyBudget {
    BudgetOutcome Outcome = BudgetOutcome::Implausible;
    std::optional<BudgetContribution> InvalidContribution; // InvalidEntry: the row at fault, if a row
    SensitivityCoefficients Coefficients;
    long double PitchDiameterMm = 0.0L;
    std::array<BudgetRow, BudgetContributionCount> Rows{};
    long double CombinedUm = 0.0L; // u_c
    long double CoverageFactor = DefaultCoverageFactor;
    long double ExpandedUm = 0.0L; // U = k * u_c
    // The flank-angle rows carry more than half of u_c^2: a probe nearer the
    // optimum, or measured flank angles, would shrink the budget.
    bool CriticalThread = false;

    const BudgetRow& operator[](BudgetContribution c) const { return Rows[static_cast<std::size_t>(c)]; }
};

// The divisor that turns an entry into a standard uncertainty (k, sqrt(3) or 1).
long double UncertaintyDivisor(const UncertaintyEntry& entry);

// The weight of the probe term: 1 correlated; independent sqrt(3/8) for three
// probes (perpendicular), 1/sqrt(2) for two (inclined).
long double ProbeWeight(ProbeCorrelation correlation, MeasuringMethod method);

// The budget from coefficients already computed; `enteredLengthMm` is the
// entered m or M (the length of the temperature rows).
UncertaintyBudget CombineBudget(const SensitivityCoefficients& coefficients, long double enteredLengthMm,
                                MeasuringMethod method, const BudgetInputs& inputs);

// The calculation's coefficients and the budget in one step.
UncertaintyBudget ComputeUncertaintyBudget(const MeasurementInputs& measurement, const BudgetInputs& inputs);

// Texts of budget figures with the given separator: coefficients with 4
// decimals, micrometres with 3 (u_c, U and contributions). std::nullopt for a
// value that is not finite.
std::optional<std::string> FormatCoefficient(long double value, char separator);
std::optional<std::string> FormatMicrometres(long double value, char separator);

} // namespace zevko
