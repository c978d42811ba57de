#include "BatchThread.h"

#include "NumberFormat.h"
#include "ResultTexts.h"
#include "TextMatching.h"

namespace zevko::cli {
namespace {

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// Why the reader refused a designation, with the part it did not understand.
std::string RefusalText(DesignationRefusal refusal, const std::string& part)
{
    switch (refusal) {
    case DesignationRefusal::None:
    case DesignationRefusal::Empty: break;
    case DesignationRefusal::TooLong: return "it is longer than any designation";
    case DesignationRefusal::UnknownForm: return Quoted(part) + " is not a thread form";
    case DesignationRefusal::UnreadableNumber: return Quoted(part) + " is not a number";
    case DesignationRefusal::MissingPitch: return "no pitch, and " + Quoted(part) + " has none in its series";
    case DesignationRefusal::SizeNotInSeries: return Quoted(part) + " is not a size of its series";
    case DesignationRefusal::PitchNotInSeries:
        return Quoted(part) + " is not a number of threads per inch of the series";
    case DesignationRefusal::LeadNotMultiple:
        return "the lead " + Quoted(part) + " is not a whole multiple of the pitch";
    case DesignationRefusal::UnknownClass: return Quoted(part) + " is not a tolerance class of the thread form";
    case DesignationRefusal::UnexpectedText: return Quoted(part) + " follows a complete designation";
    case DesignationRefusal::Implausible: return Quoted(part) + " is outside what the calculation accepts";
    }
    return "nothing in it was understood";
}

} // namespace

ThreadCellReading ReadThreadCell(std::string_view text, char separator)
{
    ThreadCellReading reading;
    if (Trimmed(text).empty()) {
        return reading;
    }
    const DesignationReading designation = ReadThreadDesignation(text, separator);
    if (designation.Thread) {
        reading.Thread = *designation.Thread;
        return reading;
    }
    reading.Error = "thread: " + Quoted(text) +
                    " is not a thread designation: " + RefusalText(designation.Refusal, designation.Offending);
    return reading;
}

std::string BasicPitchDiameterText(const ThreadDesignation& thread, UnitSystem units, char separator)
{
    const auto millimetres = FormatResult(thread.BasicPitchDiameterMm, 5, separator);
    if (!millimetres) {
        return {};
    }
    return ResultTextInUnit(*millimetres, units, separator).value_or(std::string());
}

} // namespace zevko::cli
