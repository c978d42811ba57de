#include "Sensitivities.h"

#include "Calculation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zevko {

namespace {

// The calculation stops its angle iteration at |epsilon - N| <= 1e-9 rad,
// which moves the result by up to about 1e-9 mm: over a difference step of
// 1e-6 mm that would be an error of 1e-3 in a coefficient. Iterated to
// 1e-16 rad the result is smooth far below the steps used here.
constexpr AngleIterationLimits FixedPointLimits{1000, 1000, 1.0e-16L};

constexpr long double RelativeStep = 1.0e-6L;
constexpr long double AngleStep = 1.0e-6L; // rad, about 0.003 arcminutes
constexpr long double MicrometresPerMm = 1000.0L;
constexpr long double RadiansPerArcminute = Pi / 10800.0L;

std::optional<long double> ShownDiameter(const MeasurementModel& model)
{
    const CalculationValues values = CalculateModel(model, FixedPointLimits);
    if (values.Outcome != CalculationOutcome::Ok) {
        return std::nullopt;
    }
    return values.DiameterMm;
}

// Central difference (f(+h) - f(-h)) / 2h of the shown pitch diameter in one
// input of the model. With h a millionth of the input (or of its floor) the
// truncation error (h^2/6 times the third derivative) and the rounding error
// of the extended-precision results over 2h both stay near 1e-12 of the
// coefficient.
std::optional<long double> Derivative(const MeasurementModel& base, long double MeasurementModel::*input,
                                      long double step)
{
    MeasurementModel above = base;
    above.*input += step;
    MeasurementModel below = base;
    below.*input -= step;
    const auto high = ShownDiameter(above);
    const auto low = high ? ShownDiameter(below) : std::nullopt;
    if (!low) {
        return std::nullopt;
    }
    // The step as the model holds it, not as intended.
    const long double derivative = (*high - *low) / (above.*input - below.*input);
    if (!std::isfinite(derivative)) {
        return std::nullopt;
    }
    return derivative;
}

long double LengthStep(long double value, long double floorMm)
{
    return RelativeStep * std::max(std::fabs(value), floorMm);
}

} // namespace

SensitivityResult ComputeSensitivities(const MeasurementInputs& inputs)
{
    SensitivityResult result;
    const CalculationValues shown = CalculateValues(inputs);
    if (shown.Outcome == CalculationOutcome::Implausible) {
        return result;
    }
    if (shown.Outcome == CalculationOutcome::Failed) {
        result.Outcome = SensitivityOutcome::Failed;
        return result;
    }
    if (inputs.Quantity == MeasuredQuantity::PitchDiameter) {
        result.Outcome = SensitivityOutcome::NotApplicable;
        return result;
    }
    result.PitchDiameterMm = shown.DiameterMm;

    const MeasurementModel model = ModelOf(inputs);
    const auto x = Derivative(model, &MeasurementModel::MeasuredValueMm, LengthStep(model.MeasuredValueMm, 1.0L));
    const auto dD = Derivative(model, &MeasurementModel::ProbeDiameterMm, LengthStep(model.ProbeDiameterMm, 0.1L));
    const auto p = Derivative(model, &MeasurementModel::PitchMm, LengthStep(model.PitchMm, 0.1L));
    const auto beta = Derivative(model, &MeasurementModel::Beta, AngleStep);
    const auto gamma = Derivative(model, &MeasurementModel::Gamma, AngleStep);
    if (!x || !dD || !p || !beta || !gamma) {
        result.Outcome = SensitivityOutcome::Failed;
        return result;
    }

    SensitivityCoefficients& c = result.Coefficients;
    c.MeasuredValue = *x;
    c.ProbeDiameter = *dD;
    c.Pitch = *p;
    c.Beta = *beta * MicrometresPerMm * RadiansPerArcminute;
    c.Gamma = *gamma * MicrometresPerMm * RadiansPerArcminute;
    // With m or M entered the geometric pitch diameter does not depend on F,
    // and both correction formulas are a constant times F^(2/3) (the wires'
    // (F^2/dD)^(1/3), the balls' Hertz approach), so dA2/dF = 2 A2 / (3 F).
    // At F = 0 no correction is applied at all.
    const long double correctionUm = shown.ForceCorrectionMm * MicrometresPerMm;
    c.Force = inputs.ForceN > 0.0 ? 2.0L * correctionUm / (3.0L * static_cast<long double>(inputs.ForceN)) : 0.0L;
    result.Outcome = SensitivityOutcome::Ok;
    return result;
}

} // namespace zevko
