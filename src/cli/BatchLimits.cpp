#include "BatchLimits.h"

#include "NumberFormat.h"
#include "ResultTexts.h"
#include "TextMatching.h"

#include <string_view>

namespace zevko::cli {
namespace {

constexpr const char* LowerName = "d2_min";
constexpr const char* UpperName = "d2_max";
constexpr const char* RuleName = "rule";

constexpr Keyword<DecisionRule> RuleWords[] = {{"iso14253", DecisionRule::Iso14253}, {"simple", DecisionRule::Simple}};

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

const char* VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::None: break;
    case Verdict::Conforms: return "conforms";
    case Verdict::DoesNotConform: return "does not conform";
    case Verdict::NotDecidedLower:
    case Verdict::NotDecidedUpper:
    case Verdict::NotDecidedBoth: return "not decided";
    }
    return "";
}

// The indicated value M at one pitch diameter, as the row writes M.
std::string CapitalMText(const MeasurementInputs& inputs, long double pitchDiameterMm, UnitSystem units, char separator)
{
    const std::optional<IndicatedValues> values = IndicatedValuesAt(inputs, pitchDiameterMm);
    if (!values) {
        return {};
    }
    const auto millimetres = FormatResult(values->CapitalMMm, 5, separator);
    if (!millimetres) {
        return {};
    }
    return ResultTextInUnit(*millimetres, units, separator).value_or(std::string());
}

} // namespace

LimitsColumnMap MapLimitsColumns(const std::vector<std::string>& header, std::size_t count)
{
    LimitsColumnMap map;
    std::optional<std::size_t> lower;
    std::optional<std::size_t> upper;
    for (std::size_t field = 0; field < count; ++field) {
        const std::string_view name = Trimmed(header[field]);
        std::optional<std::size_t>* slot = EqualIgnoringCase(name, LowerName)   ? &lower
                                           : EqualIgnoringCase(name, UpperName) ? &upper
                                           : EqualIgnoringCase(name, RuleName)  ? &map.Rule
                                                                                : nullptr;
        if (slot == nullptr) {
            continue;
        }
        if (slot->has_value()) {
            map.Error = "column " +
                        Quoted(slot == &lower   ? LowerName
                               : slot == &upper ? UpperName
                                                : RuleName) +
                        " appears more than once";
            return map;
        }
        *slot = field;
        map.Any = true;
    }
    if (map.Any && (!lower || !upper)) {
        const char* present = lower ? LowerName : upper ? UpperName : RuleName;
        map.Error = !lower && !upper
                        ? std::string("column 'rule' needs the columns 'd2_min' and 'd2_max'")
                        : "column " + Quoted(present) + " needs the column " + Quoted(lower ? UpperName : LowerName);
        return map;
    }
    if (map.Any) {
        map.Lower = *lower;
        map.Upper = *upper;
    }
    return map;
}

const std::array<const char*, LimitsOutputColumnCount>& LimitsOutputColumnNames()
{
    static const std::array<const char*, LimitsOutputColumnCount> names = {"M_min", "M_max", "verdict"};
    return names;
}

LimitsRowReading ReadLimitsRow(const CsvRecord& record, const LimitsColumnMap& columns, char separator)
{
    LimitsRowReading reading;
    if (columns.Rule) {
        const std::string_view rule = record.Fields[*columns.Rule];
        // An empty cell is the default rule.
        const std::optional<DecisionRule> read =
            Trimmed(rule).empty() ? DecisionRule::Iso14253 : ReadKeyword(rule, RuleWords);
        if (!read) {
            reading.Error = std::string(RuleName) + ": " + Quoted(rule) + " is not " + KeywordAlternatives(RuleWords);
            return reading;
        }
        reading.Rule = *read;
    }
    const std::string_view lower = record.Fields[columns.Lower];
    const std::string_view upper = record.Fields[columns.Upper];
    const LimitsReading limits = PitchDiameterLimitsFromPair(lower, upper, separator);
    switch (limits.Refusal) {
    case LimitsRefusal::None: reading.LimitsMm = limits.Limits; break;
    case LimitsRefusal::Empty: break;
    case LimitsRefusal::WrongOrder:
        reading.Error = std::string(LowerName) + ": " + Quoted(lower) + " is above " + UpperName + " " + Quoted(upper);
        break;
    case LimitsRefusal::UnreadableNumber:
    case LimitsRefusal::WrongCount: {
        // The pair is read lower first: the lower limit is at fault when it
        // cannot be read even paired with itself.
        const bool lowerAtFault = !PitchDiameterLimitsFromPair(lower, lower, separator).Limits;
        const std::string_view text = lowerAtFault ? lower : upper;
        reading.Error = std::string(lowerAtFault ? LowerName : UpperName) + ": " + Quoted(text) + " is not " +
                        (separator == ',' ? "a number with a decimal comma" : "a number") +
                        (Trimmed(text).empty() ? " (give both limits or neither)" : "");
        break;
    }
    }
    return reading;
}

std::array<std::string, LimitsOutputColumnCount>
LimitsTexts(const MeasurementInputs& inputs, const LimitsRowReading& limits, const std::string& diameterMmText,
            const std::string& expandedUmText, UnitSystem units, char separator)
{
    std::array<std::string, LimitsOutputColumnCount> texts;
    if (!limits.LimitsMm) {
        return texts;
    }
    texts[0] = CapitalMText(inputs, limits.LimitsMm->Lower, units, separator);
    texts[1] = CapitalMText(inputs, limits.LimitsMm->Upper, units, separator);
    // A pitch diameter entered is a target, not a measurement: nothing to decide.
    if (inputs.Quantity == MeasuredQuantity::PitchDiameter) {
        return texts;
    }
    const auto diameterMm = ParseDecimalText(diameterMmText, separator);
    if (!diameterMm) {
        return texts;
    }
    std::optional<long double> expandedMm;
    if (!expandedUmText.empty()) {
        const auto expandedUm = ParseDecimalText(expandedUmText, separator);
        if (!expandedUm) {
            return texts;
        }
        expandedMm = *expandedUm / 1000.0L;
    }
    texts[2] = VerdictText(DecideConformity(*diameterMm, expandedMm, *limits.LimitsMm, limits.Rule));
    return texts;
}

} // namespace zevko::cli
