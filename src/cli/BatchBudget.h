#pragma once

#include "CsvReader.h"
#include "MeasurementTypes.h"
#include "UncertaintyBudget.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace zevko::cli {

// The optional budget columns of a batch: standard uncertainties in
// micrometres (u_beta, u_gamma in arcminutes, u_F in newtons), the probe
// correlation and k. Any one of them adds the budget columns to the output.
inline constexpr std::size_t BudgetInputColumnCount = 10;
inline constexpr std::size_t BudgetOutputColumnCount = 8;

struct BudgetColumnMap {
    std::array<std::size_t, BudgetInputColumnCount> Index{};
    std::array<bool, BudgetInputColumnCount> Present{};
    bool Any = false;
    std::string Error; // a column named twice
};

BudgetColumnMap MapBudgetColumns(const std::vector<std::string>& header, std::size_t count);

// c_X, c_dD, c_P, c_beta, c_gamma, c_F, u_c, U.
const std::array<const char*, BudgetOutputColumnCount>& BudgetOutputColumnNames();

struct BudgetRowReading {
    BudgetInputs Inputs;
    std::string Error; // not empty: a value that cannot be used, and why
};

BudgetRowReading ReadBudgetRow(const CsvRecord& record, const BudgetColumnMap& columns, char separator);

// The eight output texts of a row whose calculation is ok; all empty when
// the pitch diameter is entered or no budget can be formed.
std::array<std::string, BudgetOutputColumnCount> BudgetTexts(const MeasurementInputs& inputs,
                                                             const BudgetInputs& budget, char separator);

} // namespace zevko::cli
