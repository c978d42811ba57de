#pragma once

#include "MeasurementTypes.h"

namespace zevko {

// What Berndt's evaluation needs of one run: the thread and the probe, and the
// angle functions that stay the same for every evaluation of the run.
struct BerndtThread {
    BerndtThread(ThreadSide side, long double pitchMm, long double starts, long double probeDiameterMm,
                 long double beta, long double gamma);

    long double s;    // +1 external, -1 internal
    long double P;    // pitch, mm
    long double n;    // number of starts
    long double dD;   // probe diameter, mm
    long double Beta; // flank angles, radians
    long double Gamma;
    long double C;        // cos(alpha/2)
    long double S;        // sin(alpha/2)
    long double SinAlpha; // sin(alpha)
    long double CosBeta;
    long double CosGamma;
    long double D; // cos((beta - gamma)/2)
};

// Bounds of the angle iteration. Ordinary threads settle in 2 to 10 passes;
// some extreme ones fall into a two-value oscillation of the plain step,
// which the damped step (the mean of the old and the new angle) resolves.
// The tolerance is the calculation's |epsilon - N| <= 1e-9; a derivative of the
// result needs the fixed point itself, so the sensitivities tighten it until
// the angle no longer moves at the size of their steps.
struct AngleIterationLimits {
    int PlainPasses = 1000;
    int DampedPasses = 1000;
    long double Tolerance = 1.0e-9L;
};

enum class BerndtStatus {
    Ok,
    NoSolution, // q <= 0 on a later evaluation of the run
    Failed      // an arithmetic failure, or the angle iteration did not settle
};

enum class AngleIterationExit {
    None,          // not reached
    Settled,       // |epsilon - N| <= 1e-9 with the plain step
    SettledDamped, // settled only after the restart with the damped step
    NoRoot,        // q <= 0 inside the iteration: N falls back to the start angle
    Unsettled      // neither step settled within its bound
};

struct BerndtEvaluation {
    BerndtStatus Status = BerndtStatus::Failed;
    AngleIterationExit Exit = AngleIterationExit::None;
    int Passes = 0; // passes of the angle iteration, plain and damped together
    long double N = 0.0L;
    long double T1 = 0.0L;
    long double T2 = 0.0L;
    long double T3 = 0.0L;
    long double PitchDiameter = 0.0L; // d2(m) = T1 - s*T2 + s*T3
};

// Berndt's iteration formula (EA-10/10) at the centre distance m (mm).
// On the first evaluation of a run q is not tested (a negative q fails in the
// square root); on a later one q <= 0 means there is no solution.
BerndtEvaluation BerndtEvaluate(const BerndtThread& thread, long double m, bool firstEvaluation,
                                const AngleIterationLimits& limits = {});

} // namespace zevko
