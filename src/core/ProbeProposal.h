#pragma once

#include <cstddef>
#include <vector>

namespace zevko {

// Outcome of the walk over the ascending catalog that proposes the probe
// diameter nearest to the optimum d0.
struct ProbeProposal {
    double ProbeDiameterMm = 0.0; // 0 when nothing is proposed
    bool SignShown = false;       // the red "!" (outside +-25 % of d0)
    std::size_t Cursor = 0;       // where the walk left the cursor; == size() means past the end
};

// `diametersMm` ascending (as the catalog holds them); d0 in millimetres.
ProbeProposal ProposeProbeDiameter(long double d0, const std::vector<double>& diametersMm);

// The +-25 % band of the sign: shown unless 0.75*d0 < probe < 1.25*d0.
bool ProbeSignShown(long double probeMm, long double d0);

} // namespace zevko
