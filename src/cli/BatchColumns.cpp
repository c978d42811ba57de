#include "BatchColumns.h"

#include "TextMatching.h"

#include <string_view>

namespace zevko::cli {
namespace {

constexpr const char* ColumnNames[BatchColumnCount] = {"side", "P",        "n",      "beta",     "gamma", "dD",
                                                       "F",    "material", "method", "quantity", "X"};

constexpr const char* ThreadColumnName = "thread";

} // namespace

bool GivenByThread(BatchColumn column)
{
    switch (column) {
    case BatchColumn::Side:
    case BatchColumn::Pitch:
    case BatchColumn::Starts:
    case BatchColumn::Beta:
    case BatchColumn::Gamma: return true;
    default: return false;
    }
}

const char* BatchColumnName(BatchColumn column)
{
    return ColumnNames[static_cast<std::size_t>(column)];
}

BatchColumnMap MapBatchColumns(const std::vector<std::string>& header, std::size_t count)
{
    BatchColumnMap map;
    map.FieldCount = count;
    std::array<bool, BatchColumnCount>& found = map.Present;
    for (std::size_t field = 0; field < count; ++field) {
        const std::string_view name = Trimmed(header[field]);
        if (EqualIgnoringCase(name, ThreadColumnName)) {
            if (map.Thread) {
                map.Error = std::string("column '") + ThreadColumnName + "' appears more than once";
                return map;
            }
            map.Thread = field;
            continue;
        }
        for (std::size_t column = 0; column < BatchColumnCount; ++column) {
            if (!EqualIgnoringCase(name, ColumnNames[column])) {
                continue;
            }
            if (found[column]) {
                map.Error = std::string("column '") + ColumnNames[column] + "' appears more than once";
                return map;
            }
            found[column] = true;
            map.Index[column] = field;
        }
    }
    std::string missing;
    for (std::size_t column = 0; column < BatchColumnCount; ++column) {
        if (!found[column] && !(map.Thread && GivenByThread(static_cast<BatchColumn>(column)))) {
            missing += missing.empty() ? "" : ", ";
            missing += std::string("'") + ColumnNames[column] + "'";
        }
    }
    if (!missing.empty()) {
        map.Error = (missing.find(',') == std::string::npos ? "missing column " : "missing columns ") + missing;
    }
    return map;
}

} // namespace zevko::cli
