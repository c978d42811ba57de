// One whole calculation (plausibility, Berndt's iteration, force correction,
// the five result texts) per case.

#include "Calculation.h"

#include <benchmark/benchmark.h>

using namespace zevko;

namespace {

MeasurementInputs Thread()
{
    MeasurementInputs in;
    in.PitchMm = 1.5;
    in.Starts = 1;
    in.Beta.Degrees = 30;
    in.Gamma.Degrees = 30;
    in.ProbeDiameterMm = 0.866;
    in.ForceN = 1;
    return in;
}

void Run(benchmark::State& state, const MeasurementInputs& in)
{
    const MeasurementResults previous;
    for (auto _ : state) {
        CalculationResult result = Calculate(in, true, previous, '.');
        benchmark::DoNotOptimize(result);
    }
}

void ExternalMEntered(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Quantity = MeasuredQuantity::IndicatedCapitalM;
    in.MeasuredValueMm = 10.32496;
    Run(state, in);
}

void PitchDiameterEntered(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Quantity = MeasuredQuantity::PitchDiameter;
    in.MeasuredValueMm = 9.026;
    Run(state, in);
}

void FourStarts(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Starts = 4;
    in.MeasuredValueMm = 10.32496;
    Run(state, in);
}

void InternalSteelBallsPitchDiameter(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Side = ThreadSide::Internal;
    in.Material = ProbeMaterial::Steel;
    in.Quantity = MeasuredQuantity::PitchDiameter;
    in.MeasuredValueMm = 9.026;
    Run(state, in);
}

void Inclined(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Method = MeasuringMethod::Inclined;
    in.MeasuredValueMm = 10.32496;
    Run(state, in);
}

// The plain angle step runs to its bound, the damped step settles; then 13
// corrections of m, each with an angle iteration of 20 to 40 passes.
void PlainAngleStepOscillates(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.PitchMm = 20;
    in.Starts = 5;
    in.ProbeDiameterMm = 20;
    in.Beta.Degrees = 45;
    in.Gamma.Degrees = 10;
    in.Quantity = MeasuredQuantity::PitchDiameter;
    in.MeasuredValueMm = 10;
    Run(state, in);
}

// The heaviest run found by random search over the accepted ranges: every
// evaluation of the pitch-diameter iteration oscillates and needs the damped
// step, and the iteration gives up after 100 corrections (about 76,000 passes).
void EveryEvaluationOscillates(benchmark::State& state)
{
    MeasurementInputs in;
    in.Side = ThreadSide::Internal;
    in.PitchMm = 4.26121;
    in.Starts = 100;
    in.Beta.Degrees = 0.532897;
    in.Gamma.Degrees = 21.1032;
    in.ProbeDiameterMm = 10.9895;
    in.ForceN = 47.6044;
    in.Quantity = MeasuredQuantity::PitchDiameter;
    in.MeasuredValueMm = 202.079;
    Run(state, in);
}

} // namespace

BENCHMARK(ExternalMEntered);
BENCHMARK(PitchDiameterEntered);
BENCHMARK(FourStarts);
BENCHMARK(InternalSteelBallsPitchDiameter);
BENCHMARK(Inclined);
BENCHMARK(PlainAngleStepOscillates);
BENCHMARK(EveryEvaluationOscillates)->Unit(benchmark::kMillisecond);
