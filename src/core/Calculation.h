#pragma once

#include "BerndtEvaluate.h"
#include "MeasurementTypes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zevko {

// The five result texts the window keeps between calculations, millimetres,
// 5 decimals, the program's decimal separator. Empty means "not computed".
struct MeasurementResults {
    std::string LeadText;
    std::string OptimumDiameterText;
    std::string DiameterText;
    std::string IndicatedValueText;
    std::string ForceCorrectionText;
};

enum class CalculationOutcome {
    Implausible, // an input outside its accepted range: nothing changes, no message
    Failed,      // an arithmetic failure: the window shows its error text
    Ok
};

struct CalculationResult {
    CalculationOutcome Outcome = CalculationOutcome::Implausible;
    // Ok: the new texts. Implausible: `previous` unchanged. Failed: `previous`
    // with the texts that the run had assigned before the failure.
    MeasurementResults Results;
};

// EA-10/10 optimum probe diameter (mm) from the pitch (mm) and the flank
// angles (radians). std::nullopt on an arithmetic failure (e.g. both angles 0).
std::optional<long double> OptimumProbeDiameter(long double pitchMm, long double beta, long double gamma);

// The numbers behind the result texts of one calculation, unrounded.
struct CalculationValues {
    CalculationOutcome Outcome = CalculationOutcome::Implausible;
    // The lead and the optimum are formed early in the run (after the first
    // evaluation); a later failure keeps them.
    bool LeadFormed = false;
    bool OptimumFormed = false;
    long double LeadMm = 0.0L;
    double OptimumMm = 0.0;
    // Ok only: the values of DiameterText, IndicatedValueText and
    // ForceCorrectionText (all millimetres).
    long double DiameterMm = 0.0L;
    long double IndicatedValueMm = 0.0L;
    long double ForceCorrectionMm = 0.0L;
    // Ok only: the geometric pitch diameter of the last evaluation and, with
    // a pitch diameter entered, the corrections of m made to meet it.
    long double GeometricPitchDiameterMm = 0.0L;
    int Corrections = 0;
    // Passes of the angle iteration over all evaluations of the run, as far
    // as it got: what a run costs.
    int AnglePasses = 0;
};

// The calculation without its texts: plausibility, Berndt's iteration in the
// direction of the entered quantity, the force correction.
CalculationValues CalculateValues(const MeasurementInputs& inputs);

// The inputs of one calculation as its arithmetic takes them: flank angles in
// radians (held as the window holds them), every number at extended
// precision. The sensitivities vary one of them at a time.
struct MeasurementModel {
    ThreadSide Side = ThreadSide::External;
    MeasuredQuantity Quantity = MeasuredQuantity::IndicatedCapitalM;
    ProbeMaterial Material = ProbeMaterial::Steel;
    MeasuringMethod Method = MeasuringMethod::Perpendicular;
    long double PitchMm = 0.0L;
    long double Starts = 1.0L;
    long double Beta = 0.0L; // radians
    long double Gamma = 0.0L;
    long double ProbeDiameterMm = 0.0L;
    long double ForceN = 0.0L;
    long double MeasuredValueMm = 0.0L;
};

MeasurementModel ModelOf(const MeasurementInputs& inputs);

// The calculation of CalculateValues on a model, without the plausibility
// checks (the caller owns them) and with the given angle iteration.
CalculationValues CalculateModel(const MeasurementModel& model, const AngleIterationLimits& limits = {});

// The whole calculation (plausibility, Berndt's iteration in the direction of
// the entered quantity, force correction, formatting) as a pure function.
// `pitchFieldHasText`: whether the pitch field holds text (the lead is only
// rewritten then).
CalculationResult Calculate(const MeasurementInputs& inputs, bool pitchFieldHasText, const MeasurementResults& previous,
                            char separator);

} // namespace zevko
