#pragma once

#include <array>
#include <cstddef>
#include <optional>
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
    std::array<bool, BatchColumnCount> Present{};
    std::optional<std::size_t> Thread; // the optional column of thread designations
    std::size_t FieldCount = 0;        // fields of the header row
    std::string Error;                 // not empty: the header is unusable

    std::size_t operator[](BatchColumn column) const { return Index[static_cast<std::size_t>(column)]; }
    bool Has(BatchColumn column) const { return Present[static_cast<std::size_t>(column)]; }
};

// Whether a designation in the `thread` column can give the column's value
// (side, P, n, beta, gamma).
bool GivenByThread(BatchColumn column);

// Finds the columns in the header fields, names compared without regard to
// case and to blanks around them. A missing or repeated column is an error
// that names it; other columns are allowed. With a `thread` column, the
// columns a designation gives may be left out.
BatchColumnMap MapBatchColumns(const std::vector<std::string>& header, std::size_t count);

} // namespace zevko::cli
