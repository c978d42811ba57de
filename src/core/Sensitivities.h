#pragma once

#include "MeasurementTypes.h"

// Sensitivity coefficients of the shown pitch diameter (force correction
// included) to the inputs of a measurement with m or M entered: the partial
// derivatives of the calculation's own result, every other input held as
// entered. They carry the lead angle, asymmetric flanks, the inclined method,
// balls and the force correction with them.

namespace zevko {

struct SensitivityCoefficients {
    long double MeasuredValue = 0.0L; // c_X, mm per mm of the entered m or M
    long double ProbeDiameter = 0.0L; // c_dD, mm per mm, all probes together
    long double Pitch = 0.0L;         // c_P, mm per mm
    long double Beta = 0.0L;          // c_beta, micrometres per arcminute
    long double Gamma = 0.0L;         // c_gamma, micrometres per arcminute
    long double Force = 0.0L;         // c_F, micrometres per newton; 0 at F = 0
};

enum class SensitivityOutcome {
    Ok,
    NotApplicable, // the pitch diameter is entered: a target, not a measurement
    Implausible,   // the calculation itself would do nothing
    Failed         // the calculation fails, or the result is not differentiable there
};

struct SensitivityResult {
    SensitivityOutcome Outcome = SensitivityOutcome::Implausible;
    SensitivityCoefficients Coefficients;
    long double PitchDiameterMm = 0.0L; // the shown pitch diameter, unrounded
};

SensitivityResult ComputeSensitivities(const MeasurementInputs& inputs);

} // namespace zevko
