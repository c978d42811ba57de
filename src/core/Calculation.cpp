#include "Calculation.h"

#include "BerndtEvaluate.h"
#include "CheckedMath.h"
#include "ForceCorrection.h"
#include "NumberFormat.h"
#include "PlausibilityLimits.h"

#include <cmath>

namespace zevko {

namespace {

constexpr long double TargetTolerance = 1.0e-4L; // mm, the pitch-diameter iteration
constexpr int MaxCorrections = 100;

// The optimum probe diameter with the cosines of the flanks at hand. A
// symmetric thread needs a single tangent: alpha/2 is then beta exactly.
long double Optimum(long double pitchMm, long double beta, long double gamma, long double cosBeta, long double cosGamma)
{
    using namespace checked;
    const long double tanBeta = std::tan(beta);
    const long double tanGamma = gamma == beta ? tanBeta : std::tan(gamma);
    const long double tanHalfAlpha = gamma == beta ? tanBeta : std::tan((beta + gamma) / 2.0L);
    const long double numerator = 2.0L * pitchMm * tanHalfAlpha;
    const long double denominator = (tanBeta + tanGamma) * (cosBeta + cosGamma);
    return Div(Finite(numerator), Finite(denominator));
}

long double Required(const std::optional<long double>& value)
{
    if (!value) {
        checked::Fail();
    }
    return *value;
}

// Fills `out` step by step; throws ArithmeticFailure at the first operation
// that has no finite result, leaving what was formed before it.
void Run(const MeasurementModel& in, const AngleIterationLimits& limits, CalculationValues& out)
{
    using namespace checked;
    const long double p = in.PitchMm;
    const long double n = in.Starts;
    const long double dD = in.ProbeDiameterMm;
    const long double f = in.ForceN;
    const long double beta = in.Beta;
    const long double gamma = in.Gamma;
    const bool external = in.Side == ThreadSide::External;
    const long double s = external ? 1.0L : -1.0L;
    const bool inclined = in.Method == MeasuringMethod::Inclined;
    long double x = in.MeasuredValueMm;

    // The inclined method measures the centre distance along the helix:
    // reduce it to the perpendicular one. For an entered M the probes' own
    // diameter is not part of that distance, so only m = M - s*dD is reduced.
    if (inclined && in.Quantity == MeasuredQuantity::IndicatedSmallM) {
        x = Sqrt(x * x - p * p / 4.0L);
    } else if (inclined && in.Quantity == MeasuredQuantity::IndicatedCapitalM) {
        const long double centres = x - s * dD;
        x = Sqrt(centres * centres - p * p / 4.0L) + s * dD;
    }

    // Balls: the correction does not depend on the pitch diameter, so the
    // shift of an entered pitch diameter and the correction shown are one value.
    std::optional<long double> ballCorrection;
    const auto internalCorrection = [&] {
        if (!ballCorrection) {
            ballCorrection = Required(InternalForceCorrection(f, dD, beta, gamma, in.Material));
        }
        return *ballCorrection;
    };

    const bool diameterEntered = in.Quantity == MeasuredQuantity::PitchDiameter;
    if (diameterEntered) {
        const long double shift =
            external ? Required(ExternalForceCorrection(f, dD, x, beta, gamma, false)) : internalCorrection();
        x -= shift / 1000.0L;
    }

    const BerndtThread thread(in.Side, p, n, dD, beta, gamma);
    long double m = x;
    if (in.Quantity == MeasuredQuantity::IndicatedCapitalM) {
        m = x - s * dD;
    } else if (diameterEntered) {
        m = x + s * (Div(dD, thread.S) - p / 2.0L * Div(thread.C, thread.S));
    }

    BerndtEvaluation evaluation = BerndtEvaluate(thread, m, true, limits);
    out.AnglePasses += evaluation.Passes;
    if (evaluation.Status != BerndtStatus::Ok) {
        Fail();
    }

    out.LeadMm = Finite(n * p);
    out.LeadFormed = true;
    out.OptimumMm = static_cast<double>(Optimum(p, beta, gamma, thread.CosBeta, thread.CosGamma));
    Finite(out.OptimumMm);
    out.OptimumFormed = true;

    if (diameterEntered) {
        long double delta = evaluation.PitchDiameter - x;
        int corrections = 0;
        while (std::fabs(delta) >= TargetTolerance) {
            // Whatever m stands at after 100 corrections that still miss by
            // 1e-4 mm or more, or at an m without a solution, does not belong
            // to the entered pitch diameter: report the failure, never show it.
            if (corrections == MaxCorrections) {
                Fail();
            }
            m -= delta;
            ++corrections;
            evaluation = BerndtEvaluate(thread, m, false, limits);
            out.AnglePasses += evaluation.Passes;
            if (evaluation.Status != BerndtStatus::Ok) {
                Fail();
            }
            delta = evaluation.PitchDiameter - x;
        }
        m -= delta;
        if (inclined) {
            m = Sqrt(m * m + p * p / 4.0L);
        }
        out.Corrections = corrections;
    }

    // The force correction is evaluated at the geometric pitch diameter of
    // the last evaluation (external) or does not depend on it (internal).
    const long double geometric = evaluation.T1 - evaluation.T2 + evaluation.T3;
    const long double a2 =
        external ? Required(ExternalForceCorrection(f, dD, geometric, beta, gamma, true)) : internalCorrection();
    const long double correction = a2 / 1000.0L;

    switch (in.Quantity) {
    case MeasuredQuantity::IndicatedSmallM:
        out.IndicatedValueMm = Finite(x + s * dD);
        out.DiameterMm = Finite(evaluation.PitchDiameter + correction);
        break;
    case MeasuredQuantity::IndicatedCapitalM:
        out.IndicatedValueMm = Finite(x - s * dD);
        out.DiameterMm = Finite(evaluation.PitchDiameter + correction);
        break;
    case MeasuredQuantity::PitchDiameter:
        out.IndicatedValueMm = Finite(m + s * dD);
        out.DiameterMm = Finite(m);
        break;
    }
    out.ForceCorrectionMm = Finite(correction);
    out.GeometricPitchDiameterMm = evaluation.PitchDiameter;
    out.Outcome = CalculationOutcome::Ok;
}

bool Assign(std::string& text, long double value, char separator)
{
    auto formatted = FormatResult(value, 5, separator);
    if (!formatted) {
        return false;
    }
    text = std::move(*formatted);
    return true;
}

} // namespace

std::optional<long double> OptimumProbeDiameter(long double pitchMm, long double beta, long double gamma)
{
    try {
        const long double cosBeta = std::cos(beta);
        return Optimum(pitchMm, beta, gamma, cosBeta, gamma == beta ? cosBeta : std::cos(gamma));
    } catch (const checked::ArithmeticFailure&) {
        return std::nullopt;
    }
}

MeasurementModel ModelOf(const MeasurementInputs& inputs)
{
    MeasurementModel model;
    model.Side = inputs.Side;
    model.Quantity = inputs.Quantity;
    model.Material = inputs.Material;
    model.Method = inputs.Method;
    model.PitchMm = inputs.PitchMm;
    model.Starts = inputs.Starts;
    model.Beta = inputs.Beta.HeldRadians();
    model.Gamma = inputs.Gamma.HeldRadians();
    model.ProbeDiameterMm = inputs.ProbeDiameterMm;
    model.ForceN = inputs.ForceN;
    model.MeasuredValueMm = inputs.MeasuredValueMm;
    return model;
}

CalculationValues CalculateModel(const MeasurementModel& model, const AngleIterationLimits& limits)
{
    CalculationValues values;
    try {
        Run(model, limits, values);
    } catch (const checked::ArithmeticFailure&) {
        values.Outcome = CalculationOutcome::Failed;
    }
    return values;
}

CalculationValues CalculateValues(const MeasurementInputs& inputs)
{
    if (!Plausible(inputs)) {
        return CalculationValues{};
    }
    return CalculateModel(ModelOf(inputs));
}

CalculationResult Calculate(const MeasurementInputs& inputs, bool pitchFieldHasText, const MeasurementResults& previous,
                            char separator)
{
    const CalculationValues values = CalculateValues(inputs);
    CalculationResult result{values.Outcome, previous};
    if (values.Outcome == CalculationOutcome::Implausible) {
        return result;
    }
    MeasurementResults& texts = result.Results;
    const auto failed = [&result] {
        result.Outcome = CalculationOutcome::Failed;
        return result;
    };
    if (values.LeadFormed && pitchFieldHasText && !Assign(texts.LeadText, values.LeadMm, separator)) {
        return failed();
    }
    if (values.OptimumFormed && !Assign(texts.OptimumDiameterText, values.OptimumMm, separator)) {
        return failed();
    }
    if (values.Outcome != CalculationOutcome::Ok) {
        return result;
    }
    if (!Assign(texts.IndicatedValueText, values.IndicatedValueMm, separator) ||
        !Assign(texts.DiameterText, values.DiameterMm, separator) ||
        !Assign(texts.ForceCorrectionText, values.ForceCorrectionMm, separator)) {
        return failed();
    }
    return result;
}

} // namespace zevko
