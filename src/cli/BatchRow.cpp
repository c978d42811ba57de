#include "BatchRow.h"

#include "NumberFormat.h"
#include "PlausibilityLimits.h"
#include "TextMatching.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace zevko::cli {
namespace {

constexpr Keyword<ThreadSide> SideWords[] = {{"external", ThreadSide::External}, {"internal", ThreadSide::Internal}};
constexpr Keyword<ProbeMaterial> MaterialWords[] = {{"steel", ProbeMaterial::Steel}, {"ruby", ProbeMaterial::Ruby}};
constexpr Keyword<MeasuringMethod> MethodWords[] = {{"perpendicular", MeasuringMethod::Perpendicular},
                                                    {"inclined", MeasuringMethod::Inclined}};

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// A number that a double holds (the inputs are stored as doubles).
std::optional<double> ReadNumber(std::string_view text, char separator)
{
    const auto value = ParseDecimalText(text, separator);
    if (!value || std::fabs(*value) > std::numeric_limits<double>::max()) {
        return std::nullopt;
    }
    return static_cast<double>(*value);
}

std::optional<int> ReadWholeNumber(std::string_view text, int minimum, int maximum)
{
    text = Trimmed(text);
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int value = ParseFieldInteger(text);
    if (value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

// Decimal degrees (27.5) or degrees, whole minutes and whole seconds (27:30:0).
std::optional<FlankAngle> ReadAngle(std::string_view text, char separator)
{
    const auto firstColon = text.find(':');
    if (firstColon == std::string_view::npos) {
        const auto degrees = ReadNumber(text, separator);
        if (!degrees) {
            return std::nullopt;
        }
        return FlankAngle{*degrees, 0.0L, 0.0L};
    }
    const auto secondColon = text.find(':', firstColon + 1);
    if (secondColon == std::string_view::npos || text.find(':', secondColon + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    const auto degrees = ReadNumber(text.substr(0, firstColon), separator);
    // Minutes and seconds are whole numbers; their range is the calculation's to judge.
    const auto minutes = ReadWholeNumber(text.substr(firstColon + 1, secondColon - firstColon - 1), 0, 999999999);
    const auto seconds = ReadWholeNumber(text.substr(secondColon + 1), 0, 999999999);
    if (!degrees || !minutes || !seconds) {
        return std::nullopt;
    }
    return FlankAngle{*degrees, static_cast<long double>(*minutes), static_cast<long double>(*seconds)};
}

} // namespace

BatchRowReading ReadBatchRow(const CsvRecord& record, const BatchColumnMap& columns, char separator)
{
    BatchRowReading reading;
    if (!record.Error.empty()) {
        reading.Error = record.Error;
        return reading;
    }
    if (record.Count != columns.FieldCount) {
        reading.Error =
            "the row has " + std::to_string(record.Count) + " fields, the header " + std::to_string(columns.FieldCount);
        return reading;
    }
    const auto field = [&](BatchColumn column) -> std::string_view { return record.Fields[columns[column]]; };
    const auto fail = [&](BatchColumn column, std::string_view expected) {
        reading.Error =
            std::string(BatchColumnName(column)) + ": " + Quoted(field(column)) + " is not " + std::string(expected);
        return reading;
    };
    MeasurementInputs& inputs = reading.Inputs;

    // A column that holds one of a few words; false with the error set when it does not.
    const auto readWord = [&](BatchColumn column, const auto& words, auto& target) {
        const auto meaning = ReadKeyword(field(column), words);
        if (!meaning) {
            fail(column, KeywordAlternatives(words));
            return false;
        }
        target = *meaning;
        return true;
    };

    if (!readWord(BatchColumn::Side, SideWords, inputs.Side)) {
        return reading;
    }

    struct NumberColumn {
        BatchColumn Column;
        double* Target;
    };
    const NumberColumn numbers[] = {
        {BatchColumn::Pitch, &inputs.PitchMm},
        {BatchColumn::ProbeDiameter, &inputs.ProbeDiameterMm},
        {BatchColumn::Force, &inputs.ForceN},
        {BatchColumn::Measured, &inputs.MeasuredValueMm},
    };
    for (const NumberColumn& number : numbers) {
        const auto value = ReadNumber(field(number.Column), separator);
        if (!value) {
            return fail(number.Column, separator == ',' ? "a number with a decimal comma" : "a number");
        }
        *number.Target = *value;
    }

    static_assert(StartsRange.Low == 0 && StartsRange.High == 100, "the error text below names the range");
    const auto starts = ReadWholeNumber(field(BatchColumn::Starts), static_cast<int>(StartsRange.Low),
                                        static_cast<int>(StartsRange.High));
    if (!starts) {
        return fail(BatchColumn::Starts, "a whole number from 0 to 100");
    }
    inputs.Starts = *starts;

    const char* const angleExpected =
        separator == ',' ? "an angle in degrees with a decimal comma or D:M:S" : "an angle in degrees or D:M:S";
    const auto beta = ReadAngle(field(BatchColumn::Beta), separator);
    if (!beta) {
        return fail(BatchColumn::Beta, angleExpected);
    }
    inputs.Beta = *beta;
    const auto gamma = ReadAngle(field(BatchColumn::Gamma), separator);
    if (!gamma) {
        return fail(BatchColumn::Gamma, angleExpected);
    }
    inputs.Gamma = *gamma;

    if (!readWord(BatchColumn::Material, MaterialWords, inputs.Material) ||
        !readWord(BatchColumn::Method, MethodWords, inputs.Method)) {
        return reading;
    }

    // m and M are different quantities; the pitch diameter may be written d2 or D2.
    const std::string_view quantity = Trimmed(field(BatchColumn::Quantity));
    if (quantity == "m") {
        inputs.Quantity = MeasuredQuantity::IndicatedSmallM;
    } else if (quantity == "M") {
        inputs.Quantity = MeasuredQuantity::IndicatedCapitalM;
    } else if (quantity == "d2" || quantity == "D2") {
        inputs.Quantity = MeasuredQuantity::PitchDiameter;
    } else {
        return fail(BatchColumn::Quantity, "m, M or d2");
    }
    return reading;
}

} // namespace zevko::cli
