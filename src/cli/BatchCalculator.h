#pragma once

#include <iosfwd>

namespace zevko::cli {

// Runs the batch calculator's command line; returns the exit status.
int RunBatchCalculator(int argc, const char* const argv[], std::istream& in, std::ostream& out, std::ostream& err);

} // namespace zevko::cli
