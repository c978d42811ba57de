#pragma once

#include "Calculation.h"
#include "MeasurementTypes.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How a result text is shown in the display unit. Results are kept as
// millimetre texts (5 decimals); the inch display is derived from those
// rounded texts, never from the unrounded numbers, so the window's labels,
// its lead display and the batch calculator's columns cannot disagree.

namespace zevko {

inline constexpr int InchResultDecimals = 6;
inline constexpr std::size_t ResultTextCount = 5;

// A stored millimetre result text in `units`: in millimetres the text
// unchanged (an empty text stays empty); in inches the text read back,
// divided by 25.4 and written with 6 decimals. std::nullopt when an inch
// text cannot be formed (an empty or unreadable millimetre text).
std::optional<std::string> ResultTextInUnit(std::string_view mmText, UnitSystem units, char separator);

// The five result texts in the order of their labels: lead, optimum
// diameter, pitch diameter, indicated value, force correction; each as above.
std::array<std::optional<std::string>, ResultTextCount> ResultTextsInUnit(const MeasurementResults& results,
                                                                          UnitSystem units, char separator);

} // namespace zevko
