#include "BatchBudget.h"

#include "NumberFormat.h"
#include "TextMatching.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace zevko::cli {
namespace {

enum Column { UX, UdD, Probes, UP, UBeta, UGamma, UF, UA2, UOther, K };

constexpr const char* InputNames[BudgetInputColumnCount] = {"u_X",     "u_dD", "probes", "u_P",     "u_beta",
                                                            "u_gamma", "u_F",  "u_A2",   "u_other", "k"};

// The budget row each uncertainty column fills.
constexpr BudgetContribution Rows[BudgetInputColumnCount] = {
    BudgetContribution::Indicated, BudgetContribution::Probes,     BudgetContribution::Probes,
    BudgetContribution::Pitch,     BudgetContribution::BetaFlank,  BudgetContribution::GammaFlank,
    BudgetContribution::Force,     BudgetContribution::ForceModel, BudgetContribution::Other,
    BudgetContribution::Other};

constexpr Keyword<ProbeCorrelation> ProbesWords[] = {{"correlated", ProbeCorrelation::Correlated},
                                                     {"independent", ProbeCorrelation::Independent}};

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace

BudgetColumnMap MapBudgetColumns(const std::vector<std::string>& header, std::size_t count)
{
    BudgetColumnMap map;
    for (std::size_t field = 0; field < count; ++field) {
        const std::string_view name = Trimmed(header[field]);
        for (std::size_t column = 0; column < BudgetInputColumnCount; ++column) {
            if (!EqualIgnoringCase(name, InputNames[column])) {
                continue;
            }
            if (map.Present[column]) {
                map.Error = std::string("column '") + InputNames[column] + "' appears more than once";
                return map;
            }
            map.Present[column] = true;
            map.Index[column] = field;
            map.Any = true;
        }
    }
    return map;
}

const std::array<const char*, BudgetOutputColumnCount>& BudgetOutputColumnNames()
{
    static const std::array<const char*, BudgetOutputColumnCount> names = {"c_X",     "c_dD", "c_P", "c_beta",
                                                                           "c_gamma", "c_F",  "u_c", "U"};
    return names;
}

BudgetRowReading ReadBudgetRow(const CsvRecord& record, const BudgetColumnMap& columns, char separator)
{
    BudgetRowReading reading;
    const auto field = [&](std::size_t column) -> std::string_view { return record.Fields[columns.Index[column]]; };
    const auto fail = [&](std::size_t column, const char* expected) {
        reading.Error = std::string(InputNames[column]) + ": " + Quoted(field(column)) + " is not " + expected;
        return reading;
    };
    const char* const number = separator == ',' ? "a number with a decimal comma" : "a number";
    for (std::size_t column = 0; column < BudgetInputColumnCount; ++column) {
        if (!columns.Present[column] || column == Probes) {
            continue;
        }
        const std::string_view text = Trimmed(field(column));
        // An empty cell is no contribution (and k its default).
        if (text.empty()) {
            continue;
        }
        const auto value = ParseDecimalText(text, separator);
        if (!value || !std::isfinite(*value)) {
            return fail(column, number);
        }
        if (column == K) {
            if (!(*value > 0.0L)) {
                return fail(column, "a coverage factor above 0");
            }
            reading.Inputs.CoverageFactor = *value;
            continue;
        }
        if (*value < 0.0L) {
            return fail(column, "a standard uncertainty of 0 or more");
        }
        reading.Inputs[Rows[column]] = {*value};
    }
    if (columns.Present[Probes]) {
        // An empty cell is the default, one set calibrated together.
        const auto probes =
            Trimmed(field(Probes)).empty() ? ProbeCorrelation::Correlated : ReadKeyword(field(Probes), ProbesWords);
        if (!probes) {
            return fail(Probes, KeywordAlternatives(ProbesWords).c_str());
        }
        reading.Inputs.Probes = *probes;
    }
    return reading;
}

std::array<std::string, BudgetOutputColumnCount> BudgetTexts(const MeasurementInputs& inputs,
                                                             const BudgetInputs& budget, char separator)
{
    std::array<std::string, BudgetOutputColumnCount> texts;
    const UncertaintyBudget b = ComputeUncertaintyBudget(inputs, budget);
    if (b.Outcome != BudgetOutcome::Ok) {
        return texts;
    }
    const SensitivityCoefficients& c = b.Coefficients;
    const long double coefficients[] = {c.MeasuredValue, c.ProbeDiameter, c.Pitch, c.Beta, c.Gamma, c.Force};
    std::array<std::string, BudgetOutputColumnCount> formed;
    for (std::size_t i = 0; i < 6; ++i) {
        auto text = FormatCoefficient(coefficients[i], separator);
        if (!text) {
            return texts;
        }
        formed[i] = std::move(*text);
    }
    auto combined = FormatMicrometres(b.CombinedUm, separator);
    auto expanded = FormatMicrometres(b.ExpandedUm, separator);
    if (!combined || !expanded) {
        return texts;
    }
    formed[6] = std::move(*combined);
    formed[7] = std::move(*expanded);
    return formed;
}

} // namespace zevko::cli
