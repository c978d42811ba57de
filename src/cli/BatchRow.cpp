#include "BatchRow.h"

#include "BatchThread.h"
#include "NumberFormat.h"
#include "PlausibilityLimits.h"
#include "TextMatching.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

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

// A pitch stated beside a designation agrees with it to half a unit of the
// fifth decimal of a millimetre, the resolution of every length the program
// writes: 1.95385 is the pitch of 1/2-13 UNC (25.4/13 mm). Flank angles of
// the standards are whole or half degrees, so an angle must agree exactly
// (up to the last bits of its binary value).
constexpr long double PitchAgreementMm = 0.000005L;
constexpr long double AngleAgreementDeg = 1.0e-9L;

long double TotalDegrees(const FlankAngle& angle)
{
    return angle.Degrees + angle.Minutes / 60.0L + angle.Seconds / 3600.0L;
}

// The designation's values put into the inputs; the values the row states
// itself (read into `inputs` already) must be the same. Returns the error.
template <typename Stated, typename Field>
std::string TakeFromThread(const ThreadDesignation& thread, std::string_view threadText, const Stated& stated,
                           const Field& field, MeasurementInputs& inputs, char separator)
{
    const auto conflict = [&](BatchColumn column, const std::string& value, const char* what) {
        return std::string(BatchColumnName(column)) + ": " + Quoted(field(column)) + " is not " + value + ", the " +
               what + " of the thread " + Quoted(threadText);
    };
    if (thread.Side) {
        if (stated(BatchColumn::Side) && inputs.Side != *thread.Side) {
            return conflict(BatchColumn::Side, *thread.Side == ThreadSide::External ? "external" : "internal", "side");
        }
        inputs.Side = *thread.Side;
    }
    if (stated(BatchColumn::Pitch) && !(std::fabs(inputs.PitchMm - thread.PitchMm) <= PitchAgreementMm)) {
        return conflict(BatchColumn::Pitch, FormatGeneral(thread.PitchMm, separator), "pitch");
    }
    inputs.PitchMm = static_cast<double>(thread.PitchMm);
    if (stated(BatchColumn::Starts) && inputs.Starts != thread.Starts) {
        return conflict(BatchColumn::Starts, std::to_string(thread.Starts), "starts");
    }
    inputs.Starts = thread.Starts;
    for (const auto& [column, target, degrees] : {std::tuple{BatchColumn::Beta, &inputs.Beta, thread.BetaDeg},
                                                  std::tuple{BatchColumn::Gamma, &inputs.Gamma, thread.GammaDeg}}) {
        if (stated(column) && !(std::fabs(TotalDegrees(*target) - degrees) <= AngleAgreementDeg)) {
            return conflict(column, FormatGeneral(degrees, separator), "flank angle");
        }
        *target = FlankAngle{degrees, 0.0L, 0.0L};
    }
    return {};
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
    // A column the header leaves out (only those a designation gives) reads as an empty cell.
    const auto field = [&](BatchColumn column) -> std::string_view {
        return columns.Has(column) ? std::string_view(record.Fields[columns[column]]) : std::string_view();
    };
    const auto fail = [&](BatchColumn column, std::string_view expected) {
        reading.Error =
            std::string(BatchColumnName(column)) + ": " + Quoted(field(column)) + " is not " + std::string(expected);
        return reading;
    };
    MeasurementInputs& inputs = reading.Inputs;

    std::string_view threadText;
    if (columns.Thread) {
        threadText = record.Fields[*columns.Thread];
        ThreadCellReading thread = ReadThreadCell(threadText, separator);
        if (!thread.Error.empty()) {
            reading.Error = std::move(thread.Error);
            return reading;
        }
        reading.Thread = std::move(thread.Thread);
    }
    const std::optional<ThreadDesignation>& thread = reading.Thread;
    const auto givenByThread = [&](BatchColumn column) {
        return thread && GivenByThread(column) && (column != BatchColumn::Side || thread->Side.has_value());
    };
    // Whether the row states the value itself; an empty cell leaves it to the thread.
    const auto stated = [&](BatchColumn column) { return !givenByThread(column) || !Trimmed(field(column)).empty(); };
    for (const BatchColumn column :
         {BatchColumn::Side, BatchColumn::Pitch, BatchColumn::Starts, BatchColumn::Beta, BatchColumn::Gamma}) {
        if (columns.Has(column) || givenByThread(column)) {
            continue;
        }
        const std::string name = BatchColumnName(column);
        reading.Error = "no " + name +
                        (thread ? ": the thread " + Quoted(threadText) + " names no tolerance class"
                                : std::string(": the thread is empty")) +
                        " and there is no column '" + name + "'";
        return reading;
    }

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

    if (stated(BatchColumn::Side) && !readWord(BatchColumn::Side, SideWords, inputs.Side)) {
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
        if (!stated(number.Column)) {
            continue;
        }
        const auto value = ReadNumber(field(number.Column), separator);
        if (!value) {
            return fail(number.Column, separator == ',' ? "a number with a decimal comma" : "a number");
        }
        *number.Target = *value;
    }

    static_assert(StartsRange.Low == 0 && StartsRange.High == 100, "the error text below names the range");
    if (stated(BatchColumn::Starts)) {
        const auto starts = ReadWholeNumber(field(BatchColumn::Starts), static_cast<int>(StartsRange.Low),
                                            static_cast<int>(StartsRange.High));
        if (!starts) {
            return fail(BatchColumn::Starts, "a whole number from 0 to 100");
        }
        inputs.Starts = *starts;
    }

    const char* const angleExpected =
        separator == ',' ? "an angle in degrees with a decimal comma or D:M:S" : "an angle in degrees or D:M:S";
    for (const auto& [column, target] :
         {std::pair{BatchColumn::Beta, &inputs.Beta}, std::pair{BatchColumn::Gamma, &inputs.Gamma}}) {
        if (!stated(column)) {
            continue;
        }
        const auto angle = ReadAngle(field(column), separator);
        if (!angle) {
            return fail(column, angleExpected);
        }
        *target = *angle;
    }

    if (thread) {
        const std::string error = TakeFromThread(*thread, threadText, stated, field, inputs, separator);
        if (!error.empty()) {
            reading.Error = error;
            return reading;
        }
    }

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
