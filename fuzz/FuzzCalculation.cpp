// The calculation and the lead-and-optimum update on arbitrary inputs, inside
// and outside the plausibility limits: every call returns (libFuzzer's
// -timeout catches an iteration that does not end) and keeps the invariants
// of CalculationChecks.h.

#include "CalculationChecks.h"
#include "MeasurementTypes.h"
#include "NumberFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

using zevko::MeasurementInputs;
using zevko::MeasurementResults;

namespace {

// A value for a quantity whose accepted range is [0, limit]: mostly inside,
// often at or just beyond its edges, sometimes anything a double can hold.
double Pick(FuzzedDataProvider& in, double limit)
{
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: return in.ConsumeFloatingPointInRange<double>(0.0, limit);
    case 1: return in.ConsumeIntegralInRange<int>(0, static_cast<int>(limit));
    case 2: {
        const std::array<double, 14> edges = {0.0,
                                              -0.0,
                                              limit,
                                              std::nextafter(limit, HUGE_VAL),
                                              std::nextafter(0.0, -1.0),
                                              std::numeric_limits<double>::denorm_min(),
                                              DBL_MIN,
                                              1e-300,
                                              limit / 2.0,
                                              DBL_MAX,
                                              -DBL_MAX,
                                              HUGE_VAL,
                                              -HUGE_VAL,
                                              std::numeric_limits<double>::quiet_NaN()};
        return edges[in.ConsumeIntegralInRange<std::size_t>(0, edges.size() - 1)];
    }
    case 3: return in.ConsumeFloatingPoint<double>();
    default: {
        const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

int PickStarts(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 12) : in.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    MeasurementInputs inputs;
    inputs.Side = in.ConsumeBool() ? zevko::ThreadSide::External : zevko::ThreadSide::Internal;
    inputs.Quantity = static_cast<zevko::MeasuredQuantity>(in.ConsumeIntegralInRange<int>(0, 2));
    inputs.Material = in.ConsumeBool() ? zevko::ProbeMaterial::Steel : zevko::ProbeMaterial::Ruby;
    inputs.Method = in.ConsumeBool() ? zevko::MeasuringMethod::Perpendicular : zevko::MeasuringMethod::Inclined;
    const char separator = in.ConsumeBool() ? '.' : ',';
    const bool pitchFieldHasText = in.ConsumeBool();
    const bool previousComputed = in.ConsumeBool();
    inputs.PitchMm = Pick(in, 100.0);
    inputs.Starts = PickStarts(in);
    inputs.Beta.Degrees = Pick(in, 90.0);
    inputs.Beta.Minutes = Pick(in, 59.0);
    inputs.Beta.Seconds = Pick(in, 59.0);
    inputs.Gamma.Degrees = Pick(in, 90.0);
    inputs.Gamma.Minutes = Pick(in, 59.0);
    inputs.Gamma.Seconds = Pick(in, 59.0);
    inputs.ProbeDiameterMm = Pick(in, 100.0);
    inputs.ForceN = Pick(in, 100.0);
    inputs.MeasuredValueMm = Pick(in, 4000.0);
    // The starts field holds any number; the update takes its integer part.
    const long double startsValue = in.ConsumeBool() ? static_cast<long double>(inputs.Starts) : Pick(in, 12.0);

    MeasurementResults previous;
    if (previousComputed) {
        const std::string one = separator == '.' ? "1.00000" : "1,00000";
        previous = {one, one, one, one, one};
    }
    zevko::fuzz::CheckCalculation(inputs, pitchFieldHasText, previous, separator);
    zevko::fuzz::CheckLeadAndOptimum(inputs, startsValue, zevko::UnitSystem::Millimetres, separator);
    zevko::fuzz::CheckLeadAndOptimum(inputs, startsValue, zevko::UnitSystem::Inches, separator);
    return 0;
}
