// Throughput of zevko-pd-calc over a generated CSV of 100,000 measurements,
// read from and written to memory (no disk, no terminal).

#include "BatchCalculator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

constexpr int RowCount = 100000;

// A mix of the usual requests: M, m and pitch diameter entered, multi-start,
// asymmetric flanks in D:M:S, internal threads with steel and ruby balls, the
// inclined method; each row's entered value differs a little. With the budget
// columns every row also carries its standard uncertainties; with the limits
// also a designation (where one describes the row's thread, its cells
// stated beside it and compared), the pitch-diameter limits and the rule, so
// that each row has its M at both limits and its verdict.
enum class Columns { Plain, Budget, Limits };

std::string GeneratedCsv(Columns columns)
{
    const bool budget = columns != Columns::Plain;
    const bool limits = columns == Columns::Limits;
    static const char* const designations[] = {"M10x1.5-6g", "M10x1.5", "M10x1.5", "",
                                               "",           "M10-6H",  "M10-6H",  "M10x1.5"};
    static const char* const limitPairs[] = {",8.862,8.994,iso14253", ",8.862,8.994,simple",   ",8.862,8.994,iso14253",
                                             ",8.862,8.994,simple",   ",8.862,8.994,iso14253", ",9.026,9.206,simple",
                                             ",9.026,9.206,iso14253", ",8.862,8.994,iso14253"};
    static const char* const threads[] = {
        "external,1.5,1,30,30,0.866,1,steel,perpendicular,M,%.5f",
        "external,1.5,1,30,30,0.866,1,steel,perpendicular,m,%.5f",
        "external,1.5,1,30,30,0.866,1,steel,perpendicular,d2,%.5f",
        "external,1.5,4,30,30,0.866,1,steel,perpendicular,M,%.5f",
        "external,1.5,1,27:30:0,32:30:0,0.866,1,steel,perpendicular,M,%.5f",
        "internal,1.5,1,30,30,0.866,1,steel,perpendicular,d2,%.5f",
        "internal,1.5,1,30,30,0.866,1,ruby,perpendicular,M,%.5f",
        "external,1.5,1,30,30,0.866,1,steel,inclined,M,%.5f",
    };
    static const double values[] = {10.32496, 9.45896, 9.026, 10.32496, 10.32496, 9.026, 7.7232, 10.32496};
    std::string csv = limits ? "thread," : "";
    csv += budget ? "side,P,n,beta,gamma,dD,F,material,method,quantity,X,u_X,u_dD,probes,u_P,u_beta,"
                    "u_gamma,u_F,u_A2,u_other,k"
                  : "side,P,n,beta,gamma,dD,F,material,method,quantity,X";
    csv += limits ? ",d2_min,d2_max,rule\n" : "\n";
    csv.reserve(static_cast<std::size_t>(RowCount) * 70);
    char line[128];
    for (int i = 0; i < RowCount; ++i) {
        const int kind = i % 8;
        if (limits) {
            csv += designations[kind];
            csv += ',';
        }
        std::snprintf(line, sizeof line, threads[kind], values[kind] + (i % 1000) * 1e-5);
        csv += line;
        if (budget) {
            csv += i % 2 == 0 ? ",0.2,0.1,correlated,0.5,3,4,0.1,0.05,0.1,2" : ",0.2,0.1,independent,0,5,5,0,0,0.1,2";
        }
        if (limits) {
            csv += limitPairs[kind];
        }
        csv += '\n';
    }
    return csv;
}

// Reads the generated text in place, as a file's buffer would.
class MemoryInput : public std::streambuf {
public:
    explicit MemoryInput(const std::string& text)
    {
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }
};

// Appends to a string whose capacity is kept from run to run, so that the
// measurement is the calculator's and not the reallocation of a string stream.
class MemoryOutput : public std::streambuf {
public:
    std::string Text;

protected:
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof()) {
            Text.push_back(static_cast<char>(c));
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        Text.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

void RunBatch(benchmark::State& state, const char* units, Columns columns = Columns::Plain)
{
    const std::string csv = GeneratedCsv(columns);
    const char* const argv[] = {"zevko-pd-calc", "--units", units, nullptr};
    MemoryOutput output;
    output.Text.reserve(csv.size() * 2);
    for (auto _ : state) {
        MemoryInput input(csv);
        std::istream in(&input);
        output.Text.clear();
        std::ostream out(&output);
        std::ostringstream err;
        const int status = zevko::cli::RunBatchCalculator(3, argv, in, out, err);
        if (status != 0) {
            state.SkipWithError("the batch calculator reported an error");
            break;
        }
        benchmark::DoNotOptimize(output.Text.data());
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
    state.counters["rows"] = RowCount;
}

void BM_BatchCalculatorMillimetres(benchmark::State& state)
{
    RunBatch(state, "mm");
}
void BM_BatchCalculatorInches(benchmark::State& state)
{
    RunBatch(state, "in");
}
void BM_BatchCalculatorWithBudget(benchmark::State& state)
{
    RunBatch(state, "mm", Columns::Budget);
}
void BM_BatchCalculatorWithThreadAndLimits(benchmark::State& state)
{
    RunBatch(state, "mm", Columns::Limits);
}

} // namespace

BENCHMARK(BM_BatchCalculatorMillimetres)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BatchCalculatorInches)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BatchCalculatorWithBudget)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BatchCalculatorWithThreadAndLimits)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
