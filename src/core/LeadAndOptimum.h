#pragma once

#include "MeasurementTypes.h"

#include <string>

namespace zevko {

// Steps 4 to 11 of the lead-and-optimum update that runs on every change of
// pitch, starts or a flank angle. The window does steps 1 to 3 (events, the
// stored pitch, empty fields) and the proposal afterwards.
struct LeadOptimumUpdate {
    enum class Stage {
        Implausible,   // pitch or an angle field out of range: nothing changes, no message
        FailedAtLead,  // arithmetic failure before the lead was formed: nothing changes, message
        FailedAfterLead, // the lead is new, the optimum failed: message
        Ok
    };
    Stage Outcome = Stage::Implausible;
    std::string LeadText;           // mm, 5 decimals (set from FailedAfterLead on)
    std::string LeadDisplay;        // what lPodem shows in the given unit system
    long double OptimumMm = 0.0L;   // d0 (Ok only)
    std::string OptimumDiameterText; // mm, 5 decimals (Ok only)
    std::string OptimumDisplay;     // what lDiamN shows (Ok only)
};

// pitchMm: the stored pitch; startsValue: the value of the starts field (its
// integer part is used); angles as the six field values.
LeadOptimumUpdate UpdateLeadAndOptimum(long double pitchMm, long double startsValue,
                                       long double betaDeg, long double betaMin, long double betaSec,
                                       long double gammaDeg, long double gammaMin, long double gammaSec,
                                       UnitSystem units, char separator);

} // namespace zevko
