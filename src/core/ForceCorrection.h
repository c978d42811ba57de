#pragma once

#include "MeasurementTypes.h"

#include <optional>

// Correction A2 of the indicated value for the elastic flattening of the
// probing elements under the measuring force (Lechowski). Forces in newtons,
// lengths in millimetres, angles in radians, results in micrometres.
// std::nullopt on an arithmetic failure (dD = 0, a pitch diameter <= 0, flank
// angles summing to 0, a flank angle of 0 with balls).

namespace zevko {

// Wires on an external thread:
// A2 = 1.276856 * (F^2/dD)^(1/3) * (dD/d2)^(1/4) [* 1.0472/(beta + gamma)].
std::optional<long double> ExternalForceCorrection(long double forceN, long double probeDiameterMm,
                                                   long double pitchDiameterMm, long double beta, long double gamma,
                                                   bool withAngleFactor);

// Hertz approach w (micrometres) of a ball of diameter dD of the given
// material pressed by F onto a steel flank.
std::optional<long double> BallApproach(long double forceN, long double probeDiameterMm, ProbeMaterial material);

// Balls in an internal thread: w * (1/2)^(2/3) * (sin(beta)^(-5/3) + sin(gamma)^(-5/3)).
std::optional<long double> InternalForceCorrection(long double forceN, long double probeDiameterMm, long double beta,
                                                   long double gamma, ProbeMaterial material);

} // namespace zevko
