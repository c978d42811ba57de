#include "ProbeProposal.h"

namespace zevko {

bool ProbeSignShown(long double probeMm, long double d0)
{
    return !(0.75L * d0 < probeMm && probeMm < 1.25L * d0);
}

ProbeProposal ProposeProbeDiameter(long double d0, const std::vector<double>& diametersMm)
{
    ProbeProposal proposal;
    const std::size_t count = diametersMm.size();
    if (count > 0) {
        // Below every catalog diameter only the smallest one may be proposed,
        // and only when it lies below 1.25 d0. This first choice stands only
        // when the smallest diameter exceeds d0 (otherwise the walk or the
        // last entry replaces it), and then it exceeds 0.75 d0 too: the lower
        // edge of the band needs no test here.
        const long double first = diametersMm.front();
        if (first < 1.25L * d0) {
            proposal.ProbeDiameterMm = diametersMm.front();
        }
        std::size_t cursor = 1;
        bool stopped = false;
        for (; cursor < count; ++cursor) {
            const long double previous = diametersMm[cursor - 1];
            const long double current = diametersMm[cursor];
            if (previous <= d0 && current > d0) {
                // The nearer of the two neighbours of d0; the smaller at a tie.
                proposal.ProbeDiameterMm =
                    (d0 - previous) > (current - d0) ? diametersMm[cursor] : diametersMm[cursor - 1];
                stopped = true;
                break;
            }
        }
        if (!stopped && diametersMm.back() <= d0) {
            proposal.ProbeDiameterMm = diametersMm.back();
        }
        proposal.Cursor = cursor;
    }
    proposal.SignShown = ProbeSignShown(proposal.ProbeDiameterMm, d0);
    return proposal;
}

} // namespace zevko
