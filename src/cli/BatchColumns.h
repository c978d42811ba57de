#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace zevko::cli {

// The input columns the batch calculator needs.
enum class BatchColumn { Side, Pitch, Starts, Beta, Gamma, ProbeDiameter, Force, Material, Method, Quantity, Measured };
inline constexpr std::size_t BatchColumnCount = 11;

// The header name of a column as the usage text spells it (P, dD, X, ...).
const char* BatchColumnName(BatchColumn column);

struct BatchColumnMap {
    std::array<std::size_t, BatchColumnCount> Index{}; // field index of each column
    std::size_t FieldCount = 0;                        // fields of the header row
    std::string Error;                                 // not empty: the header is unusable

    std::size_t operator[](BatchColumn column) const { return Index[static_cast<std::size_t>(column)]; }
};

// Finds the columns in the header fields, names compared without regard to
// case and to blanks around them. A missing or repeated column is an error
// that names it; other columns are allowed.
BatchColumnMap MapBatchColumns(const std::vector<std::string>& header, std::size_t count);

} // namespace zevko::cli
