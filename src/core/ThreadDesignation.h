#pragma once

#include "MeasurementTypes.h"

#include <optional>
#include <string>
#include <string_view>

// Reading a thread designation as a technician writes it on a drawing or an
// order ("M10x1.5-6g", "1/4-20 UNC-2A", "Tr40x14(P7)", "G1/2") into the
// inputs of a measurement: pitch, starts, both flank angles, the side when a
// tolerance class says it, and the basic pitch diameter for reference.

namespace zevko {

enum class ThreadForm {
    IsoMetric,    // ISO 68-1 / ISO 261, 60 degrees
    Unified,      // ASME B1.1, 60 degrees
    Trapezoidal,  // DIN 103 / ISO 2904, 30 degrees
    Buttress,     // DIN 513, 3 and 30 degrees
    Whitworth,    // BS 84 (BSW and BSF), 55 degrees
    ParallelPipe, // ISO 228-1, 55 degrees
    Acme          // ASME B1.5, 29 degrees
};

struct ThreadDesignation {
    ThreadForm Form = ThreadForm::IsoMetric;
    long double MajorDiameterMm = 0.0L; // d, the basic major diameter
    long double PitchMm = 0.0L;         // P; the lead is Starts * P
    int Starts = 1;
    double BetaDeg = 30.0; // flank angles from the perpendicular to the axis
    double GammaDeg = 30.0;
    std::optional<ThreadSide> Side; // only when a tolerance class names it
    std::string ToleranceClass;     // as written ("6g", "2A", "7H/7e"); empty without one
    long double BasicPitchDiameterMm = 0.0L;
    bool InchSized = false; // the standard gives its sizes in inches
};

// Why a designation was not read. The window words each in its language,
// with the part of the text that was not understood.
enum class DesignationRefusal {
    None,
    Empty,            // nothing typed
    TooLong,          // longer than any designation
    UnknownForm,      // not a thread form this reader knows: the leading word
    UnreadableNumber, // a diameter, pitch, lead or threads per inch that is not a number
    MissingPitch,     // no pitch, and the size has no pitch in its series
    SizeNotInSeries,  // the size is not one of its standard's series
    PitchNotInSeries, // the threads per inch are not those of the named series
    LeadNotMultiple,  // the lead is not a whole multiple of the pitch
    UnknownClass,     // not a tolerance class of this thread form
    UnexpectedText,   // text left over after a complete designation
    Implausible       // outside what the calculation accepts (pitch over 100 mm, more than
                      // 100 starts, no positive pitch diameter)
};

struct DesignationReading {
    std::optional<ThreadDesignation> Thread;
    DesignationRefusal Refusal = DesignationRefusal::None;
    std::string Offending; // the part of the text not understood (UTF-8)
};

// Reads one designation. Letters of the thread form are case-insensitive;
// the letters of an ISO tolerance class keep their case, which names the side
// (6g external, 6H internal). "x" or the multiplication sign, blanks between
// the parts, and numbers with the point or with `separator` are accepted.
DesignationReading ReadThreadDesignation(std::string_view text, char separator);

// The basic pitch diameter of a form for a major diameter and a pitch (mm).
long double BasicPitchDiameter(ThreadForm form, long double majorDiameterMm, long double pitchMm);

} // namespace zevko
