#pragma once

#include "MeasurementTypes.h"

#include <string>

namespace zevko {

// The lead-and-optimum update that runs on every change of pitch, starts or a
// flank angle, from the plausibility check to the optimum's display text: the
// lead and the optimum probe diameter as millimetre texts and as shown in the
// unit system. The window does what comes before (the change guard, the
// stored pitch, the test for empty fields) and the proposal afterwards.
struct LeadOptimumUpdate {
    enum class Stage {
        Implausible,     // pitch or an angle field out of range: nothing changes, no message
        FailedAtLead,    // arithmetic failure before the lead was formed: nothing changes, message
        FailedAfterLead, // the lead is new, the optimum failed: message
        Ok
    };
    Stage Outcome = Stage::Implausible;
    std::string LeadText;            // mm, 5 decimals (set from FailedAfterLead on)
    std::string LeadDisplay;         // what lPodem shows in the given unit system
    long double OptimumMm = 0.0L;    // d0 (Ok only)
    std::string OptimumDiameterText; // mm, 5 decimals (Ok only)
    std::string OptimumDisplay;      // what lDiamN shows (Ok only)
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
