#pragma once

#include "MeasurementTypes.h"

#include <string>
#include <string_view>

namespace zevko::cli {

struct BatchOptions {
    UnitSystem Units = UnitSystem::Millimetres;
    char Separator = '.'; // decimal separator of the numbers, in and out
    std::string File;     // empty or "-": standard input
    bool Help = false;
};

struct CommandLineResult {
    BatchOptions Options;
    std::string Error; // not empty: a bad command line
};

// zevko-pd-calc [--units mm|in] [--separator .|,] [FILE], options also as
// --units=in; "--" ends the options.
CommandLineResult ParseCommandLine(int argc, const char* const argv[]);

std::string_view UsageText();

} // namespace zevko::cli
