#pragma once

#include "BatchColumns.h"
#include "CsvReader.h"
#include "MeasurementTypes.h"
#include "ThreadDesignation.h"

#include <optional>
#include <string>

namespace zevko::cli {

struct BatchRowReading {
    MeasurementInputs Inputs;
    std::optional<ThreadDesignation> Thread; // the row's designation, when it has one
    std::string Error;                       // not empty: the row cannot be read, and why
};

// Reads one data row into the inputs of a calculation. Numbers use
// `separator` and nothing else; values outside the accepted ranges are read
// (the calculation reports them as implausible), text that is not a number or
// not one of the named words is an error. A designation in the `thread` cell
// gives the pitch, the starts, both flank angles and, with a tolerance class,
// the side: their cells may then be empty, and a cell that states another
// value is an error.
BatchRowReading ReadBatchRow(const CsvRecord& record, const BatchColumnMap& columns, char separator);

} // namespace zevko::cli
