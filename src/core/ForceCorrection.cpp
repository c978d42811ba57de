#include "ForceCorrection.h"

#include "CheckedMath.h"

namespace zevko {

namespace {

struct Elasticity {
    long double Modulus; // N/m^2
    long double Poisson;
};

constexpr Elasticity Steel{2.0e11L, 0.28L};
constexpr Elasticity Ruby{4.0e11L, 0.25L};

long double Compliance(const Elasticity& material)
{
    return (1.0L - material.Poisson * material.Poisson) / material.Modulus;
}

long double ExternalCorrection(long double f, long double dD, long double d2, long double beta, long double gamma,
                               bool withAngleFactor)
{
    using namespace checked;
    long double a2 = 1.276856L * Pow(Div(f * f, dD), 1.0L / 3.0L) * Pow(Div(dD, d2), 1.0L / 4.0L);
    if (withAngleFactor) {
        // 1.0472 as published, not pi/3: the factor is 1.0000023 at 60 degrees.
        a2 *= Div(1.0472L, beta + gamma);
    }
    return Finite(a2);
}

long double Approach(long double f, long double dD, ProbeMaterial material)
{
    using namespace checked;
    const long double diameterM = dD / 1000.0L;
    const long double k = Compliance(Steel) + Compliance(material == ProbeMaterial::Ruby ? Ruby : Steel);
    return Finite(1.0e6L * Pow(Div(9.0L * f * f * k * k, 8.0L * diameterM), 1.0L / 3.0L));
}

long double InternalCorrection(long double f, long double dD, long double beta, long double gamma,
                               ProbeMaterial material)
{
    using namespace checked;
    const long double w = Approach(f, dD, material);
    const long double betaTerm = Pow(std::sin(beta), -5.0L / 3.0L);
    const long double gammaTerm = gamma == beta ? betaTerm : Pow(std::sin(gamma), -5.0L / 3.0L);
    static const long double halfToTwoThirds = Pow(0.5L, 2.0L / 3.0L);
    return Finite(w * halfToTwoThirds * (betaTerm + gammaTerm));
}

template <typename Formula>
std::optional<long double> Guarded(Formula formula)
{
    try {
        return formula();
    } catch (const checked::ArithmeticFailure&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<long double> ExternalForceCorrection(long double forceN, long double probeDiameterMm,
                                                   long double pitchDiameterMm, long double beta, long double gamma,
                                                   bool withAngleFactor)
{
    return Guarded(
        [&] { return ExternalCorrection(forceN, probeDiameterMm, pitchDiameterMm, beta, gamma, withAngleFactor); });
}

std::optional<long double> BallApproach(long double forceN, long double probeDiameterMm, ProbeMaterial material)
{
    return Guarded([&] { return Approach(forceN, probeDiameterMm, material); });
}

std::optional<long double> InternalForceCorrection(long double forceN, long double probeDiameterMm, long double beta,
                                                   long double gamma, ProbeMaterial material)
{
    return Guarded([&] { return InternalCorrection(forceN, probeDiameterMm, beta, gamma, material); });
}

} // namespace zevko
