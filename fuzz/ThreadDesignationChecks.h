#pragma once

// The designation reader on arbitrary text, with both decimal separators: it
// either reads a thread whose numbers the calculation accepts, or refuses
// with a reason; the part it names is text of the input's own kind.

#include "FuzzCheck.h"
#include "ThreadDesignation.h"

#include <cmath>
#include <string_view>

namespace zevko::fuzz {
namespace thread_designation {

inline void CheckReading(std::string_view text, char separator)
{
    const zevko::DesignationReading reading = zevko::ReadThreadDesignation(text, separator);
    if (!reading.Thread) {
        FUZZ_CHECK(reading.Refusal != zevko::DesignationRefusal::None, "a refusal has its reason");
        FUZZ_CHECK(!IsValidUtf8(text) || IsValidUtf8(reading.Offending), "the part named is whole characters");
        FUZZ_CHECK(reading.Offending.size() <= text.size() + 8, "the part named comes from the text");
        return;
    }
    const zevko::ThreadDesignation& t = *reading.Thread;
    FUZZ_CHECK(reading.Refusal == zevko::DesignationRefusal::None, "a thread read has no refusal");
    FUZZ_CHECK(std::isfinite(t.PitchMm) && t.PitchMm > 0 && t.PitchMm <= 100, "the pitch is one the field takes");
    FUZZ_CHECK(t.Starts >= 1 && t.Starts <= 100, "the starts are ones the field takes");
    FUZZ_CHECK(std::isfinite(t.MajorDiameterMm) && t.MajorDiameterMm > 0 && t.MajorDiameterMm <= 4000,
               "the diameter is finite and plausible");
    FUZZ_CHECK(t.BasicPitchDiameterMm > 0 && t.BasicPitchDiameterMm < t.MajorDiameterMm,
               "the basic pitch diameter lies below the major diameter");
    FUZZ_CHECK(t.BasicPitchDiameterMm == zevko::BasicPitchDiameter(t.Form, t.MajorDiameterMm, t.PitchMm),
               "the basic pitch diameter is the form's");
    FUZZ_CHECK(t.BetaDeg > 0 && t.BetaDeg < 90 && t.GammaDeg > 0 && t.GammaDeg < 90, "the flank angles are the form's");
    const zevko::DesignationReading again = zevko::ReadThreadDesignation(text, separator);
    FUZZ_CHECK(again.Thread && again.Thread->PitchMm == t.PitchMm, "reading is repeatable");
}

inline void CheckThreadDesignation(std::string_view text)
{
    CheckReading(text, '.');
    CheckReading(text, ',');
}

} // namespace thread_designation

using thread_designation::CheckThreadDesignation;

} // namespace zevko::fuzz
