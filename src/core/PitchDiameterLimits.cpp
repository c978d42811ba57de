#include "PitchDiameterLimits.h"

#include "NumberFormat.h"

#include <cmath>
#include <limits>
#include <vector>

namespace zevko {

namespace {

struct Part {
    std::string Text;       // as typed
    std::string Plain;      // with ASCII signs
    bool PlusMinus = false; // written with +/- or the plus-minus sign
};

// Blank-separated parts, the typographic minus and the plus-minus sign
// replaced by what the number reader takes.
std::vector<Part> Parts(std::string_view text)
{
    std::vector<Part> parts;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i == text.size()) {
            break;
        }
        Part part;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') {
            part.Text += text[i];
            ++i;
        }
        std::string_view rest = part.Text;
        if (rest.substr(0, 3) == "\xE2\x88\x92") { // minus sign
            part.Plain = "-";
            rest.remove_prefix(3);
        } else if (rest.substr(0, 2) == "\xC2\xB1") { // plus-minus sign
            part.PlusMinus = true;
            rest.remove_prefix(2);
        } else if (rest.substr(0, 2) == "+-" || rest.substr(0, 3) == "+/-") {
            part.PlusMinus = true;
            rest.remove_prefix(rest[1] == '/' ? 3 : 2);
        }
        part.Plain += rest;
        parts.push_back(std::move(part));
    }
    return parts;
}

bool Finite(long double value)
{
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<double>::max();
}

LimitsReading Refusal(LimitsRefusal reason, std::string part)
{
    LimitsReading reading;
    reading.Refusal = reason;
    reading.Offending = std::move(part);
    return reading;
}

LimitsReading Ordered(long double lower, long double upper, std::string pairText)
{
    if (lower > upper) {
        return Refusal(LimitsRefusal::WrongOrder, std::move(pairText));
    }
    LimitsReading reading;
    reading.Limits = PitchDiameterLimits{lower, upper};
    return reading;
}

} // namespace

LimitsReading ReadPitchDiameterLimits(std::string_view text, char separator)
{
    const std::vector<Part> parts = Parts(text);
    if (parts.empty()) {
        return Refusal(LimitsRefusal::Empty, {});
    }
    std::vector<long double> values;
    for (const Part& part : parts) {
        const auto value = part.Plain.empty() ? std::nullopt : ParseDecimalText(part.Plain, separator);
        if (!value || !Finite(*value)) {
            return Refusal(LimitsRefusal::UnreadableNumber, part.Text);
        }
        values.push_back(*value);
    }
    const bool plusMinusOnlySecond = parts.size() == 2 && parts[1].PlusMinus && !parts[0].PlusMinus;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].PlusMinus && !(plusMinusOnlySecond && i == 1)) {
            return Refusal(LimitsRefusal::WrongCount, parts[i].Text);
        }
    }
    if (plusMinusOnlySecond) {
        const long double deviation = std::fabs(values[1]);
        return Ordered(values[0] - deviation, values[0] + deviation, parts[1].Text);
    }
    if (parts.size() == 2) {
        return Ordered(values[0], values[1], parts[0].Text + " " + parts[1].Text);
    }
    if (parts.size() == 3) {
        // The upper deviation first, as drawings write it (es above ei).
        if (values[1] < values[2]) {
            return Refusal(LimitsRefusal::WrongOrder, parts[1].Text + " " + parts[2].Text);
        }
        return Ordered(values[0] + values[2], values[0] + values[1], parts[1].Text + " " + parts[2].Text);
    }
    return Refusal(LimitsRefusal::WrongCount, std::string(text));
}

LimitsReading PitchDiameterLimitsFromPair(std::string_view lower, std::string_view upper, char separator)
{
    const auto blank = [](std::string_view t) { return t.find_first_not_of(" \t") == std::string_view::npos; };
    if (blank(lower) && blank(upper)) {
        return Refusal(LimitsRefusal::Empty, {});
    }
    const auto lowerValue = blank(lower) ? std::nullopt : ParseDecimalText(lower, separator);
    if (!lowerValue || !Finite(*lowerValue)) {
        return Refusal(LimitsRefusal::UnreadableNumber, std::string(lower));
    }
    const auto upperValue = blank(upper) ? std::nullopt : ParseDecimalText(upper, separator);
    if (!upperValue || !Finite(*upperValue)) {
        return Refusal(LimitsRefusal::UnreadableNumber, std::string(upper));
    }
    return Ordered(*lowerValue, *upperValue, std::string(lower) + " " + std::string(upper));
}

} // namespace zevko
