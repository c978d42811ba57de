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

// What the update reads: the stored pitch, the value of the starts field (its
// integer part is used) and the two flank angles as their fields hold them.
struct LeadOptimumInputs {
    long double PitchMm = 0.0L;
    long double StartsValue = 1.0L;
    FlankAngle Beta;
    FlankAngle Gamma;
};

LeadOptimumUpdate UpdateLeadAndOptimum(const LeadOptimumInputs& inputs, UnitSystem units, char separator);

} // namespace zevko
