#include "ResultTexts.h"

#include "NumberFormat.h"

namespace zevko {

std::optional<std::string> ResultTextInUnit(std::string_view mmText, UnitSystem units, char separator)
{
    if (units == UnitSystem::Millimetres) {
        return std::string(mmText);
    }
    return InchTextFromMmText(mmText, InchResultDecimals, separator);
}

std::array<std::optional<std::string>, ResultTextCount> ResultTextsInUnit(const MeasurementResults& results,
                                                                          UnitSystem units, char separator)
{
    return {ResultTextInUnit(results.LeadText, units, separator),
            ResultTextInUnit(results.OptimumDiameterText, units, separator),
            ResultTextInUnit(results.DiameterText, units, separator),
            ResultTextInUnit(results.IndicatedValueText, units, separator),
            ResultTextInUnit(results.ForceCorrectionText, units, separator)};
}

} // namespace zevko
