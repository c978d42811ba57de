// One calculation with its uncertainty budget (the shown results, the six
// sensitivity coefficients and the combined and expanded uncertainty) per
// case, as the window runs it at every calculation.

#include "Calculation.h"
#include "UncertaintyBudget.h"

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
    in.Quantity = MeasuredQuantity::IndicatedCapitalM;
    in.MeasuredValueMm = 10.32496;
    return in;
}

BudgetInputs Budget()
{
    BudgetInputs b;
    b[BudgetContribution::Indicated] = {0.30L, UncertaintyKind::Expanded, 2.0L};
    b[BudgetContribution::Repeatability] = {0.20L};
    b.Readings = 3;
    b[BudgetContribution::Probes] = {0.38L, UncertaintyKind::Expanded, 2.0L};
    b[BudgetContribution::ForceModel] = {0.15L, UncertaintyKind::Rectangular};
    b[BudgetContribution::Other] = {0.2L, UncertaintyKind::Rectangular};
    b[BudgetContribution::BetaFlank] = {10.0L, UncertaintyKind::Rectangular};
    b[BudgetContribution::GammaFlank] = {10.0L, UncertaintyKind::Rectangular};
    return b;
}

void Run(benchmark::State& state, const MeasurementInputs& in)
{
    const MeasurementResults previous;
    const BudgetInputs budget = Budget();
    for (auto _ : state) {
        CalculationResult result = Calculate(in, true, previous, '.');
        UncertaintyBudget b = ComputeUncertaintyBudget(in, budget);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(b);
    }
}

void ExternalMEntered(benchmark::State& state)
{
    Run(state, Thread());
}

void ExternalSmallMEntered(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Quantity = MeasuredQuantity::IndicatedSmallM;
    in.MeasuredValueMm = 9.45896;
    Run(state, in);
}

void FourStarts(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Starts = 4;
    Run(state, in);
}

void InternalRubyBalls(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Side = ThreadSide::Internal;
    in.Material = ProbeMaterial::Ruby;
    in.MeasuredValueMm = 7.7232;
    Run(state, in);
}

void InclinedButtress(benchmark::State& state)
{
    MeasurementInputs in = Thread();
    in.Method = MeasuringMethod::Inclined;
    in.PitchMm = 6;
    in.Beta.Degrees = 3;
    in.ProbeDiameterMm = 3.027;
    in.MeasuredValueMm = 40;
    Run(state, in);
}

} // namespace

BENCHMARK(ExternalMEntered)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ExternalSmallMEntered)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FourStarts)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(InternalRubyBalls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(InclinedButtress)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
