#pragma once

#include "MeasurementTypes.h"
#include "ThreadDesignation.h"

#include <optional>
#include <string>
#include <string_view>

namespace zevko::cli {

struct ThreadCellReading {
    std::optional<ThreadDesignation> Thread; // absent for an empty cell
    std::string Error;                       // not empty: the cell holds no designation, and why
};

// The row's `thread` cell: empty (blanks only) is no designation; anything
// else must be one, read with the row's decimal separator (the point is
// accepted too). The error names what was not understood.
ThreadCellReading ReadThreadCell(std::string_view text, char separator);

// The `d2_basic` text of a designation: the basic pitch diameter written
// as every other length of the row (mm, 5 decimals, or inches, 6 decimals,
// from the millimetre text). Empty when it cannot be written.
std::string BasicPitchDiameterText(const ThreadDesignation& thread, UnitSystem units, char separator);

} // namespace zevko::cli
