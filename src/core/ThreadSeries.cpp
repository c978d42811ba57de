#include "ThreadSeries.h"

#include <array>

namespace zevko {

namespace {

// ISO 261 (general plan) and ISO 724 (basic dimensions): the coarse pitch of
// every nominal diameter of the first, second and third choice from 1 to 68 mm.
constexpr std::array<MetricSeriesEntry, 40> IsoCoarse = {{
    {1.0, 0.25}, {1.1, 0.25}, {1.2, 0.25}, {1.4, 0.3},  {1.6, 0.35},  {1.8, 0.35}, {2.0, 0.4},  {2.2, 0.45},
    {2.5, 0.45}, {3.0, 0.5},  {3.5, 0.6},  {4.0, 0.7},  {4.5, 0.75},  {5.0, 0.8},  {6.0, 1.0},  {7.0, 1.0},
    {8.0, 1.25}, {9.0, 1.25}, {10.0, 1.5}, {11.0, 1.5}, {12.0, 1.75}, {14.0, 2.0}, {16.0, 2.0}, {18.0, 2.5},
    {20.0, 2.5}, {22.0, 2.5}, {24.0, 3.0}, {27.0, 3.0}, {30.0, 3.5},  {33.0, 3.5}, {36.0, 4.0}, {39.0, 4.0},
    {42.0, 4.5}, {45.0, 4.5}, {48.0, 5.0}, {52.0, 5.0}, {56.0, 5.5},  {60.0, 5.5}, {64.0, 6.0}, {68.0, 6.0},
}};

// ASME B1.1, coarse-thread series UNC.
constexpr std::array<UnifiedSeriesEntry, 33> Unc = {{
    {1, {}, 64},       {2, {}, 56},       {3, {}, 48},       {4, {}, 40},      {5, {}, 40},       {6, {}, 32},
    {8, {}, 32},       {10, {}, 24},      {12, {}, 24},      {-1, {1, 4}, 20}, {-1, {5, 16}, 18}, {-1, {3, 8}, 16},
    {-1, {7, 16}, 14}, {-1, {1, 2}, 13},  {-1, {9, 16}, 12}, {-1, {5, 8}, 11}, {-1, {3, 4}, 10},  {-1, {7, 8}, 9},
    {-1, {1, 1}, 8},   {-1, {9, 8}, 7},   {-1, {5, 4}, 7},   {-1, {11, 8}, 6}, {-1, {3, 2}, 6},   {-1, {7, 4}, 5},
    {-1, {2, 1}, 4.5}, {-1, {9, 4}, 4.5}, {-1, {5, 2}, 4},   {-1, {11, 4}, 4}, {-1, {3, 1}, 4},   {-1, {13, 4}, 4},
    {-1, {7, 2}, 4},   {-1, {15, 4}, 4},  {-1, {4, 1}, 4},
}};

// ASME B1.1, fine-thread series UNF.
constexpr std::array<UnifiedSeriesEntry, 24> Unf = {{
    {0, {}, 80},      {1, {}, 72},       {2, {}, 64},      {3, {}, 56},       {4, {}, 48},       {5, {}, 44},
    {6, {}, 40},      {8, {}, 36},       {10, {}, 32},     {12, {}, 28},      {-1, {1, 4}, 28},  {-1, {5, 16}, 24},
    {-1, {3, 8}, 24}, {-1, {7, 16}, 20}, {-1, {1, 2}, 20}, {-1, {9, 16}, 18}, {-1, {5, 8}, 18},  {-1, {3, 4}, 16},
    {-1, {7, 8}, 14}, {-1, {1, 1}, 12},  {-1, {9, 8}, 12}, {-1, {5, 4}, 12},  {-1, {11, 8}, 12}, {-1, {3, 2}, 12},
}};

// BS 84, British Standard Whitworth (BSW).
constexpr std::array<InchSeriesEntry, 21> Bsw = {{
    {{1, 8}, 40},  {{3, 16}, 24}, {{1, 4}, 20},   {{5, 16}, 18}, {{3, 8}, 16}, {{7, 16}, 14}, {{1, 2}, 12},
    {{9, 16}, 12}, {{5, 8}, 11},  {{11, 16}, 11}, {{3, 4}, 10},  {{7, 8}, 9},  {{1, 1}, 8},   {{9, 8}, 7},
    {{5, 4}, 7},   {{3, 2}, 6},   {{7, 4}, 5},    {{2, 1}, 4.5}, {{9, 4}, 4},  {{5, 2}, 4},   {{3, 1}, 3.5},
}};

// BS 84, British Standard Fine (BSF).
constexpr std::array<InchSeriesEntry, 20> Bsf = {{
    {{3, 16}, 32}, {{7, 32}, 28}, {{1, 4}, 26}, {{9, 32}, 26},  {{5, 16}, 22}, {{3, 8}, 20}, {{7, 16}, 18},
    {{1, 2}, 16},  {{9, 16}, 16}, {{5, 8}, 14}, {{11, 16}, 14}, {{3, 4}, 12},  {{7, 8}, 11}, {{1, 1}, 10},
    {{9, 8}, 9},   {{5, 4}, 9},   {{11, 8}, 8}, {{3, 2}, 8},    {{7, 4}, 7},   {{2, 1}, 7},
}};

// ISO 228-1, pipe threads where pressure-tight joints are not made on the
// threads: threads per inch and the basic major diameter in millimetres.
constexpr std::array<PipeSeriesEntry, 24> Pipe = {{
    {{1, 16}, 28, 7.723},  {{1, 8}, 28, 9.728},   {{1, 4}, 19, 13.157},   {{3, 8}, 19, 16.662},  {{1, 2}, 14, 20.955},
    {{5, 8}, 14, 22.911},  {{3, 4}, 14, 26.441},  {{7, 8}, 14, 30.201},   {{1, 1}, 11, 33.249},  {{9, 8}, 11, 37.897},
    {{5, 4}, 11, 41.910},  {{3, 2}, 11, 47.803},  {{7, 4}, 11, 53.746},   {{2, 1}, 11, 59.614},  {{9, 4}, 11, 65.710},
    {{5, 2}, 11, 75.184},  {{11, 4}, 11, 81.534}, {{3, 1}, 11, 87.884},   {{7, 2}, 11, 100.330}, {{4, 1}, 11, 113.030},
    {{9, 2}, 11, 125.730}, {{5, 1}, 11, 138.430}, {{11, 2}, 11, 151.130}, {{6, 1}, 11, 163.830},
}};

// DIN 103-2 (ISO 2904): metric trapezoidal threads, the recommended pitch of
// each nominal diameter from 8 to 100 mm.
constexpr std::array<MetricSeriesEntry, 33> Trapezoidal = {{
    {8, 1.5}, {10, 2}, {12, 3}, {14, 3},  {16, 4},  {18, 4},  {20, 4},  {22, 5},  {24, 5},  {26, 5},  {28, 5},
    {30, 6},  {32, 6}, {34, 6}, {36, 6},  {38, 7},  {40, 7},  {42, 7},  {44, 7},  {46, 8},  {48, 8},  {50, 8},
    {52, 8},  {55, 9}, {60, 9}, {65, 10}, {70, 10}, {75, 10}, {80, 10}, {85, 12}, {90, 12}, {95, 12}, {100, 12},
}};

// DIN 513-2: metric buttress threads, the preferred pitch of the nominal
// diameters of the first series from 10 to 100 mm.
constexpr std::array<MetricSeriesEntry, 17> Buttress = {{
    {10, 2},
    {12, 3},
    {16, 4},
    {20, 4},
    {24, 5},
    {28, 5},
    {32, 6},
    {36, 6},
    {40, 7},
    {44, 7},
    {48, 8},
    {52, 8},
    {60, 9},
    {70, 10},
    {80, 10},
    {90, 12},
    {100, 12},
}};

// ASME B1.5, general-purpose ACME threads: the preferred threads per inch of
// each nominal diameter.
constexpr std::array<InchSeriesEntry, 23> Acme = {{
    {{1, 4}, 16}, {{5, 16}, 14}, {{3, 8}, 12}, {{7, 16}, 12}, {{1, 2}, 10}, {{5, 8}, 8}, {{3, 4}, 6}, {{7, 8}, 6},
    {{1, 1}, 5},  {{9, 8}, 5},   {{5, 4}, 5},  {{11, 8}, 4},  {{3, 2}, 4},  {{7, 4}, 4}, {{2, 1}, 4}, {{9, 4}, 3},
    {{5, 2}, 3},  {{11, 4}, 3},  {{3, 1}, 2},  {{7, 2}, 2},   {{4, 1}, 2},  {{9, 2}, 2}, {{5, 1}, 2},
}};

constexpr std::array<std::string_view, 26> Common = {
    "M3",    "M4",   "M5",         "M6",         "M8",         "M10",        "M10x1.25",   "M12",         "M16",
    "M20",   "M24",  "#10-32 UNF", "1/4-20 UNC", "1/4-28 UNF", "3/8-16 UNC", "1/2-13 UNC", "Tr20x4",      "Tr40x7",
    "S40x7", "G1/4", "G1/2",       "G1",         "BSW 1/2",    "BSF 1/2",    "1-5 ACME",   "Tr40x14(P7)",
};

} // namespace

std::span<const MetricSeriesEntry> IsoMetricCoarseSeries()
{
    return IsoCoarse;
}
std::span<const UnifiedSeriesEntry> UnifiedCoarseSeries()
{
    return Unc;
}
std::span<const UnifiedSeriesEntry> UnifiedFineSeries()
{
    return Unf;
}
std::span<const InchSeriesEntry> WhitworthCoarseSeries()
{
    return Bsw;
}
std::span<const InchSeriesEntry> WhitworthFineSeries()
{
    return Bsf;
}
std::span<const PipeSeriesEntry> ParallelPipeSeries()
{
    return Pipe;
}
std::span<const MetricSeriesEntry> TrapezoidalSeries()
{
    return Trapezoidal;
}
std::span<const MetricSeriesEntry> ButtressSeries()
{
    return Buttress;
}
std::span<const InchSeriesEntry> AcmeSeries()
{
    return Acme;
}
std::span<const std::string_view> CommonDesignations()
{
    return Common;
}

} // namespace zevko
