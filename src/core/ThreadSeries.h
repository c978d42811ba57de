#pragma once

#include <span>
#include <string_view>

// The published series of thread sizes that a designation may leave to the
// standard (the coarse pitch of "M10", the threads per inch of "BSW 1/2", the
// diameter of "G1/2"), and a list of common sizes for the designation box.

namespace zevko {

// A nominal size in inches as the standards write it: a fraction such as
// 1 1/4 is the rational 5/4. Whole sizes have the denominator 1.
struct InchFraction {
    int Numerator = 0;
    int Denominator = 1;
};

// A size of the ISO metric coarse series, or a trapezoidal or buttress
// diameter with its recommended pitch.
struct MetricSeriesEntry {
    double DiameterMm;
    double PitchMm;
};

// A unified size: a numbered size (Number 0 to 12, diameter 0.060 + 0.013 N
// inches) or, with Number -1, a fractional size.
struct UnifiedSeriesEntry {
    int Number;
    InchFraction Size;
    double ThreadsPerInch;
};

// A Whitworth or ACME size: the nominal size is the major diameter.
struct InchSeriesEntry {
    InchFraction Size;
    double ThreadsPerInch;
};

// A parallel pipe size: the nominal size names the pipe, not the diameter.
struct PipeSeriesEntry {
    InchFraction Size;
    double ThreadsPerInch;
    double MajorDiameterMm;
};

std::span<const MetricSeriesEntry> IsoMetricCoarseSeries();
std::span<const UnifiedSeriesEntry> UnifiedCoarseSeries();
std::span<const UnifiedSeriesEntry> UnifiedFineSeries();
std::span<const InchSeriesEntry> WhitworthCoarseSeries();
std::span<const InchSeriesEntry> WhitworthFineSeries();
std::span<const PipeSeriesEntry> ParallelPipeSeries();
std::span<const MetricSeriesEntry> TrapezoidalSeries();
std::span<const MetricSeriesEntry> ButtressSeries();
std::span<const InchSeriesEntry> AcmeSeries();

// Designations offered in the designation box after the user's own recent
// ones: sizes a calibration lab meets every week, one or two of each form.
std::span<const std::string_view> CommonDesignations();

} // namespace zevko
