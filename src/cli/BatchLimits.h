#pragma once

#include "Conformity.h"
#include "CsvReader.h"
#include "MeasurementTypes.h"
#include "PitchDiameterLimits.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zevko::cli {

// The optional limit columns of a batch: `d2_min` and `d2_max`, the limits
// of the pitch diameter in millimetres (whatever --units says, as every
// input length), and `rule`, the decision rule. Any of them adds M_min,
// M_max and verdict to the output; the limits go together.
struct LimitsColumnMap {
    std::size_t Lower = 0;
    std::size_t Upper = 0;
    std::optional<std::size_t> Rule;
    bool Any = false;
    std::string Error; // a column named twice, or one without the limit pair
};

LimitsColumnMap MapLimitsColumns(const std::vector<std::string>& header, std::size_t count);

inline constexpr std::size_t LimitsOutputColumnCount = 3;

// M_min, M_max, verdict.
const std::array<const char*, LimitsOutputColumnCount>& LimitsOutputColumnNames();

struct LimitsRowReading {
    std::optional<PitchDiameterLimits> LimitsMm; // absent: both cells empty
    DecisionRule Rule = DecisionRule::Iso14253;
    std::string Error; // not empty: limits or a rule that cannot be used, and why
};

LimitsRowReading ReadLimitsRow(const CsvRecord& record, const LimitsColumnMap& columns, char separator);

// What one ok row shows about its limits: the M a thread at each limit
// shows with the row's side, probe, force, material and method, written as
// the indicated value is, in `units`; and the verdict on the shown pitch
// diameter `diameterMmText` (mm) with the shown expanded uncertainty
// `expandedUmText` (µm, empty: none). The verdict is empty without limits,
// without U under ISO 14253-1, and with the pitch diameter entered.
std::array<std::string, LimitsOutputColumnCount>
LimitsTexts(const MeasurementInputs& inputs, const LimitsRowReading& limits, const std::string& diameterMmText,
            const std::string& expandedUmText, UnitSystem units, char separator);

} // namespace zevko::cli
