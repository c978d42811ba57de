#include "BerndtEvaluate.h"

#include "CheckedMath.h"

#include <cmath>

namespace zevko {

BerndtThread::BerndtThread(ThreadSide side, long double pitchMm, long double starts, long double probeDiameterMm,
                           long double beta, long double gamma)
    : s(side == ThreadSide::External ? 1.0L : -1.0L), P(pitchMm), n(starts), dD(probeDiameterMm), Beta(beta),
      Gamma(gamma), C(std::cos((beta + gamma) / 2.0L)), S(std::sin((beta + gamma) / 2.0L)),
      SinAlpha(std::sin(beta + gamma))
{
    // Most threads are symmetric: alpha/2 is then beta itself, exactly, and
    // the cosines need no further evaluation.
    const bool symmetric = gamma == beta;
    CosBeta = symmetric ? C : std::cos(beta);
    CosGamma = symmetric ? C : std::cos(gamma);
    D = symmetric ? 1.0L : std::cos((beta - gamma) / 2.0L);
}

namespace {

// One step of the angle iteration: q at the angle eps and the new angle N.
struct AngleStep {
    const BerndtThread& t;
    long double m;
    long double u;
    long double k;

    struct AtAngle {
        long double Q;
        long double CosEps;
    };

    AtAngle At(long double eps) const
    {
        const long double x = m * std::sin(eps);
        return {1.0L - checked::Div(x * x, (t.dD * t.D) * (t.dD * t.D)), std::cos(eps)};
    }

    long double N(const AtAngle& at) const
    {
        const long double l = checked::Sqrt(at.Q);
        const long double v = at.CosEps - checked::Div(t.s * t.S * t.D * t.dD * l, m);
        return checked::Asin(checked::Div(u * k * l, v));
    }
};

// Runs the iteration from (eps, n) with the given step; true when it settled
// or q <= 0 ended it (n then holds the angle to use), false at the bound.
template <typename Step>
bool Iterate(const AngleStep& angle, long double startAngle, long double eps, long double& n, int bound,
             long double tolerance, int& passes, bool& noRoot, Step next)
{
    for (int pass = 0; pass < bound; ++pass) {
        if (std::fabs(eps - n) <= tolerance) {
            return true;
        }
        eps = next(eps, n);
        ++passes;
        const AngleStep::AtAngle at = angle.At(eps);
        if (at.Q <= 0.0L) {
            n = startAngle;
            noRoot = true;
            return true;
        }
        n = angle.N(at);
    }
    return std::fabs(eps - n) <= tolerance;
}

BerndtEvaluation Evaluate(const BerndtThread& t, long double m, bool firstEvaluation,
                          const AngleIterationLimits& limits)
{
    using namespace checked;
    BerndtEvaluation result;

    const long double u = Div(t.n * t.dD * t.P, Pi * m * m);
    const long double g = t.CosBeta * t.CosGamma * t.D;
    const long double h = t.C * (1.0L - Div(t.s * t.S * t.D * t.dD, m));
    const long double startAngle = Div(u * g, h);
    const AngleStep angle{t, m, u, Div(g, t.C)};

    const AngleStep::AtAngle start = angle.At(startAngle);
    if (!firstEvaluation && start.Q <= 0.0L) {
        result.Status = BerndtStatus::NoSolution;
        return result;
    }
    const long double n0 = angle.N(start);

    long double n = n0;
    bool noRoot = false;
    const bool settled = Iterate(angle, startAngle, startAngle, n, limits.PlainPasses, limits.Tolerance, result.Passes,
                                 noRoot, [](long double, long double next) { return next; });
    if (settled) {
        result.Exit = noRoot ? AngleIterationExit::NoRoot : AngleIterationExit::Settled;
    } else {
        // The plain step oscillates: start again, moving half way each pass.
        n = n0;
        const bool damped =
            Iterate(angle, startAngle, startAngle, n, limits.DampedPasses, limits.Tolerance, result.Passes, noRoot,
                    [](long double eps, long double next) { return (eps + next) / 2.0L; });
        if (!damped) {
            result.Exit = AngleIterationExit::Unsettled;
            result.Status = BerndtStatus::Failed;
            return result;
        }
        result.Exit = noRoot ? AngleIterationExit::NoRoot : AngleIterationExit::SettledDamped;
    }

    const long double msinN = m * std::sin(n);
    result.N = n;
    result.T1 = m * std::cos(n);
    result.T2 = Div(t.D * t.dD, t.S) * Sqrt(1.0L - Div(msinN * msinN, (t.D * t.dD) * (t.D * t.dD)));
    result.T3 = Div((t.P - Div(2.0L * t.n * t.P * n, Pi)) * t.CosBeta * t.CosGamma, t.SinAlpha);
    result.PitchDiameter = Finite(result.T1 - t.s * result.T2 + t.s * result.T3);
    result.Status = BerndtStatus::Ok;
    return result;
}

} // namespace

BerndtEvaluation BerndtEvaluate(const BerndtThread& thread, long double m, bool firstEvaluation,
                                const AngleIterationLimits& limits)
{
    try {
        return Evaluate(thread, m, firstEvaluation, limits);
    } catch (const checked::ArithmeticFailure&) {
        return BerndtEvaluation{};
    }
}

} // namespace zevko
