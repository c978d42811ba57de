#include "UncertaintyBudget.h"

#include <QtTest>

#include <cmath>
#include <string>
#include <utility>

using namespace zevko;

namespace {

constexpr long double MicrometresPerArcminute = 1000.0L * Pi / 10800.0L; // mm/rad to um/'

// The one place that knows how the inputs hold a flank angle.
void SetFlanks(MeasurementInputs& in, double betaDeg, double gammaDeg)
{
    in.Beta = FlankAngle{betaDeg, 0.0L, 0.0L};
    in.Gamma = FlankAngle{gammaDeg, 0.0L, 0.0L};
}

MeasurementInputs Thread(ThreadSide side, double pitch, int starts, double betaDeg, double gammaDeg, double probe,
                         double force, MeasuredQuantity quantity, double value,
                         MeasuringMethod method = MeasuringMethod::Perpendicular,
                         ProbeMaterial material = ProbeMaterial::Steel)
{
    MeasurementInputs in;
    in.Side = side;
    in.PitchMm = pitch;
    in.Starts = starts;
    SetFlanks(in, betaDeg, gammaDeg);
    in.ProbeDiameterMm = probe;
    in.ForceN = force;
    in.Quantity = quantity;
    in.MeasuredValueMm = value;
    in.Method = method;
    in.Material = material;
    return in;
}

constexpr auto External = ThreadSide::External;
constexpr auto Internal = ThreadSide::Internal;
constexpr auto SmallM = MeasuredQuantity::IndicatedSmallM;
constexpr auto CapitalM = MeasuredQuantity::IndicatedCapitalM;
constexpr auto Inclined = MeasuringMethod::Inclined;

// M10x1.5 external, wire 0.866, 1 N, M 10.32496.
MeasurementInputs M10()
{
    return Thread(External, 1.5, 1, 30, 30, 0.866, 1, CapitalM, 10.32496);
}

// The published example budget of that measurement.
BudgetInputs ExampleBudget(ProbeCorrelation probes)
{
    BudgetInputs b;
    b[BudgetContribution::Indicated] = {0.30L, UncertaintyKind::Expanded, 2.0L};
    b[BudgetContribution::Repeatability] = {0.20L};
    b.Readings = 3;
    b[BudgetContribution::Probes] = {0.38L, UncertaintyKind::Expanded, 2.0L};
    b.Probes = probes;
    b[BudgetContribution::ForceModel] = {0.15L, UncertaintyKind::Rectangular};
    b[BudgetContribution::Other] = {0.2L, UncertaintyKind::Rectangular};
    b[BudgetContribution::BetaFlank] = {10.0L, UncertaintyKind::Rectangular};
    b[BudgetContribution::GammaFlank] = {10.0L, UncertaintyKind::Rectangular};
    return b;
}

struct Coefficients {
    double X, dD, P, Beta, Gamma, F;
};

// The 2-D closed form at n = 0 (no lead angle), worked by hand from
// d2 = m - s dD cos((b-g)/2) / sin((b+g)/2) + s P cos b cos g / sin(b+g), with
// m = X (m entered) or X - s dD (M entered), and for the inclined method the
// centre distance c reduced to sqrt(c^2 - P^2/4) first. No force.
Coefficients ClosedForm(const MeasurementInputs& in)
{
    const long double s = in.Side == External ? 1.0L : -1.0L;
    const long double b = in.Beta.Degrees * Pi / 180.0L;
    const long double g = in.Gamma.Degrees * Pi / 180.0L;
    const long double S = std::sin((b + g) / 2), C = std::cos((b + g) / 2), D = std::cos((b - g) / 2);
    const long double sinA = std::sin(b + g);
    const long double P = in.PitchMm, dD = in.ProbeDiameterMm, X = in.MeasuredValueMm;
    const bool capital = in.Quantity == CapitalM;
    const long double centres = capital ? X - s * dD : X;
    long double dCentres = 1.0L; // d(reduced centre distance)/d(centre distance)
    long double dCentresP = 0.0L;
    if (in.Method == Inclined) {
        const long double r = std::sqrt(centres * centres - P * P / 4);
        dCentres = centres / r;
        dCentresP = -P / (4 * r);
    }
    const auto flank = [&](long double own, long double other) {
        const long double probe = dD * (std::sin((own - other) / 2) * S + D * C) / (2 * S * S);
        const long double pitch = P * std::cos(other) * std::cos(other) / (sinA * sinA);
        return static_cast<double>(s * (probe - pitch) * MicrometresPerArcminute);
    };
    return {static_cast<double>(dCentres),
            static_cast<double>((capital ? -s * dCentres : 0.0L) - s * D / S),
            static_cast<double>(dCentresP + s * std::cos(b) * std::cos(g) / sinA),
            flank(b, g),
            flank(g, b),
            0.0};
}

} // namespace

Q_DECLARE_METATYPE(MeasurementInputs)

class TestUncertaintyBudget : public QObject {
    Q_OBJECT

private:
    static void compareCoefficients(const SensitivityCoefficients& c, const Coefficients& e, double tolerance)
    {
        const auto near = [tolerance](long double actual, double expected) {
            return std::fabs(static_cast<double>(actual) - expected) <= tolerance;
        };
        QVERIFY2(near(c.MeasuredValue, e.X), qPrintable(QString::number(double(c.MeasuredValue), 'f', 8)));
        QVERIFY2(near(c.ProbeDiameter, e.dD), qPrintable(QString::number(double(c.ProbeDiameter), 'f', 8)));
        QVERIFY2(near(c.Pitch, e.P), qPrintable(QString::number(double(c.Pitch), 'f', 8)));
        QVERIFY2(near(c.Beta, e.Beta), qPrintable(QString::number(double(c.Beta), 'f', 8)));
        QVERIFY2(near(c.Gamma, e.Gamma), qPrintable(QString::number(double(c.Gamma), 'f', 8)));
        QVERIFY2(near(c.Force, e.F), qPrintable(QString::number(double(c.Force), 'f', 8)));
    }

private slots:
    // Published checks of wire calibration and thread standards.
    void publishedCoefficients_data()
    {
        QTest::addColumn<MeasurementInputs>("inputs");
        QTest::addColumn<double>("cdD");
        QTest::addColumn<double>("cP");
        QTest::addColumn<double>("cBeta");
        QTest::addColumn<double>("cGamma");

        // 60 degrees, best wire P/(2 cos 30): c_X 1, the "factor of three", cos 30, no flank terms.
        QTest::newRow("60 deg n=0 best wire M")
            << Thread(External, 1.5, 0, 30, 30, 1.5 / std::sqrt(3.0), 0, CapitalM, 10.32496) << -3.0 << 0.8660 << 0.0
            << 0.0;
        // Tr: 2.097 dD - 1.086 P um/' with P 7, dD 3.5; c_dD = -(1 + 1/sin 15).
        QTest::newRow("Tr 30 deg n=0 P7 dD3.5 M")
            << Thread(External, 7, 0, 15, 15, 3.5, 0, CapitalM, 40) << -4.8637 << 1.8660 << -0.2589 << -0.2589;
    }

    void publishedCoefficients()
    {
        QFETCH(MeasurementInputs, inputs);
        QFETCH(double, cdD);
        QFETCH(double, cP);
        QFETCH(double, cBeta);
        QFETCH(double, cGamma);
        const SensitivityResult r = ComputeSensitivities(inputs);
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        compareCoefficients(r.Coefficients, {1.0, cdD, cP, cBeta, cGamma, 0.0}, 0.5e-4);
    }

    // The Tr flank-angle coefficient is linear in dD and P with the constants
    // cos 15 / (2 sin^2 15) and cos^2 15 / sin^2 30 (per radian).
    void trapezoidalFlankCoefficientIsLinear_data()
    {
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("probe");
        QTest::newRow("P3 dD1.553") << 3.0 << 1.553;
        QTest::newRow("P7 dD3.5") << 7.0 << 3.5;
        QTest::newRow("P12 dD6.212") << 12.0 << 6.212;
    }

    void trapezoidalFlankCoefficientIsLinear()
    {
        QFETCH(double, pitch);
        QFETCH(double, probe);
        const SensitivityResult r =
            ComputeSensitivities(Thread(External, pitch, 0, 15, 15, probe, 0, CapitalM, 8 * pitch));
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        const double expected = 2.0972366 * probe - 1.0856096 * pitch; // worked in python3
        QVERIFY(std::fabs(double(r.Coefficients.Beta) - expected) < 1e-6);
        QVERIFY(std::fabs(double(r.Coefficients.Gamma) - expected) < 1e-6);
    }

    // A 3/30 buttress thread at the EA optimum wire 3.0270: the two flank
    // coefficients have opposite signs, so no probe makes both vanish.
    void buttressFlankCoefficientsOppose()
    {
        const SensitivityResult r = ComputeSensitivities(Thread(External, 6, 1, 3, 30, 3.027, 0, CapitalM, 40));
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        QVERIFY(r.Coefficients.Beta > 0 && r.Coefficients.Gamma < 0);
        QVERIFY(std::fabs(double(r.Coefficients.Beta) - 0.31) < 0.015);
        QVERIFY(std::fabs(double(r.Coefficients.Gamma) + 0.41) < 0.015);
    }

    // With no lead angle the derivatives of the iteration must meet the
    // closed 2-D forms: any tolerance of the angle or outer iteration leaking
    // into the differences shows here first.
    void closedFormsWithoutLead_data()
    {
        QTest::addColumn<MeasurementInputs>("inputs");
        QTest::newRow("ext 60 M") << Thread(External, 1.5, 0, 30, 30, 0.866, 0, CapitalM, 10.32496);
        QTest::newRow("ext 60 m") << Thread(External, 1.5, 0, 30, 30, 0.866, 0, SmallM, 9.45896);
        QTest::newRow("ext 60 M off-best wire") << Thread(External, 2, 0, 30, 30, 1.6, 0, CapitalM, 22.1);
        QTest::newRow("ext 3/30 M") << Thread(External, 6, 0, 3, 30, 3.027, 0, CapitalM, 40);
        QTest::newRow("ext 30/3 M") << Thread(External, 6, 0, 30, 3, 3.027, 0, CapitalM, 40);
        QTest::newRow("ext 7/45 m") << Thread(External, 4, 0, 7, 45, 1.9, 0, SmallM, 31.2);
        QTest::newRow("int 60 M") << Thread(Internal, 1.5, 0, 30, 30, 0.866, 0, CapitalM, 7.7232);
        QTest::newRow("int 15/15 m") << Thread(Internal, 7, 0, 15, 15, 3.5, 0, SmallM, 30.1);
        QTest::newRow("int 3/30 M") << Thread(Internal, 6, 0, 3, 30, 3.027, 0, CapitalM, 30);
        QTest::newRow("ext 60 M inclined") << Thread(External, 1.5, 0, 30, 30, 0.866, 0, CapitalM, 10.32496, Inclined);
        QTest::newRow("ext 3/30 m inclined") << Thread(External, 6, 0, 3, 30, 3.027, 0, SmallM, 36.5, Inclined);
        QTest::newRow("int 15/15 M inclined") << Thread(Internal, 7, 0, 15, 15, 3.5, 0, CapitalM, 33, Inclined);
        QTest::newRow("ext 60 M large") << Thread(External, 6, 0, 30, 30, 3.5, 0, CapitalM, 3900);
    }

    void closedFormsWithoutLead()
    {
        QFETCH(MeasurementInputs, inputs);
        const SensitivityResult r = ComputeSensitivities(inputs);
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        compareCoefficients(r.Coefficients, ClosedForm(inputs), 1e-4);
        // Far better than asked: the differences are of a smooth function.
        compareCoefficients(r.Coefficients, ClosedForm(inputs), 1e-8);
    }

    // With the lead angle and the force correction: every side, method,
    // quantity and material against an independent evaluation of the same
    // model in python3 (mpmath, 40 digits, its own differentiation).
    void withLeadAndForce_data()
    {
        QTest::addColumn<MeasurementInputs>("inputs");
        QTest::addColumn<double>("cX");
        QTest::addColumn<double>("cdD");
        QTest::addColumn<double>("cP");
        QTest::addColumn<double>("cBeta");
        QTest::addColumn<double>("cGamma");
        QTest::addColumn<double>("cF");
        QTest::newRow("M10 ext M steel") << M10() << 1.000354 << -3.002482 << 0.863698 << 0.000487 << 0.000487
                                         << 0.497056;
        QTest::newRow("buttress ext M n=1") << Thread(External, 6, 1, 3, 30, 3.027, 0, CapitalM, 40) << 1.000629
                                            << -4.428169 << 1.584080 << 0.318270 << -0.408499 << 0.0;
        QTest::newRow("int M steel") << Thread(Internal, 1.5, 1, 30, 30, 0.866, 1, CapitalM, 7.7232) << 0.999566
                                     << 3.000927 << -0.863480 << -0.001617 << -0.001617 << 1.279014;
        QTest::newRow("int m ruby n=2") << Thread(Internal, 2, 2, 30, 30, 1.1, 2, SmallM, 18.5,
                                                  MeasuringMethod::Perpendicular, ProbeMaterial::Ruby)
                                        << 0.999596 << 2.002642 << -0.862237 << 0.024963 << 0.024963 << 0.776738;
        QTest::newRow("ext M inclined") << Thread(External, 1.5, 1, 30, 30, 0.866, 1, CapitalM, 10.32496, Inclined)
                                        << 1.003517 << -3.005659 << 0.823898 << 0.000491 << 0.000491 << 0.497467;
        QTest::newRow("ext m inclined 3/30 n=2")
            << Thread(External, 6, 2, 3, 30, 3.027, 0.5, SmallM, 36.5, Inclined) << 1.006034 << -3.439701 << 1.530778
            << 0.331954 << -0.381291 << 0.728470;
        QTest::newRow("int M inclined ruby Tr")
            << Thread(Internal, 7, 1, 15, 15, 3.5, 1.5, CapitalM, 33, Inclined, ProbeMaterial::Ruby) << 1.003367
            << 4.873146 << -1.907528 << 0.240731 << 0.240731 << 1.741749;
    }

    void withLeadAndForce()
    {
        QFETCH(MeasurementInputs, inputs);
        QFETCH(double, cX);
        QFETCH(double, cdD);
        QFETCH(double, cP);
        QFETCH(double, cBeta);
        QFETCH(double, cGamma);
        QFETCH(double, cF);
        const SensitivityResult r = ComputeSensitivities(inputs);
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        compareCoefficients(r.Coefficients, {cX, cdD, cP, cBeta, cGamma, cF}, 1.5e-6);
    }

    // Exchanging the flank angles exchanges their coefficients and leaves the rest.
    void flankExchangeExchangesCoefficients_data()
    {
        QTest::addColumn<MeasurementInputs>("inputs");
        QTest::newRow("ext 3/30 n=1") << Thread(External, 6, 1, 3, 30, 3.027, 1, CapitalM, 40);
        QTest::newRow("int 10/35 n=3 m") << Thread(Internal, 3, 3, 10, 35, 1.5, 2, SmallM, 25, Inclined);
    }

    void flankExchangeExchangesCoefficients()
    {
        QFETCH(MeasurementInputs, inputs);
        MeasurementInputs exchanged = inputs;
        std::swap(exchanged.Beta, exchanged.Gamma);
        const SensitivityCoefficients a = ComputeSensitivities(inputs).Coefficients;
        const SensitivityCoefficients b = ComputeSensitivities(exchanged).Coefficients;
        QVERIFY(std::fabs(a.Beta - a.Gamma) > 0.01);
        QVERIFY(std::fabs(a.Beta - b.Gamma) < 1e-9);
        QVERIFY(std::fabs(a.Gamma - b.Beta) < 1e-9);
        QVERIFY(std::fabs(a.MeasuredValue - b.MeasuredValue) < 1e-9);
        QVERIFY(std::fabs(a.ProbeDiameter - b.ProbeDiameter) < 1e-9);
        QVERIFY(std::fabs(a.Pitch - b.Pitch) < 1e-9);
        QVERIFY(std::fabs(a.Force - b.Force) < 1e-9);
    }

    void forceCoefficientIsZeroWithoutForce()
    {
        MeasurementInputs in = M10();
        in.ForceN = 0;
        const SensitivityResult r = ComputeSensitivities(in);
        QCOMPARE(r.Outcome, SensitivityOutcome::Ok);
        QCOMPARE(double(r.Coefficients.Force), 0.0);
    }

    void outcomesWithoutCoefficients()
    {
        MeasurementInputs diameter = M10();
        diameter.Quantity = MeasuredQuantity::PitchDiameter;
        diameter.MeasuredValueMm = 9.026;
        QCOMPARE(ComputeSensitivities(diameter).Outcome, SensitivityOutcome::NotApplicable);
        QCOMPARE(ComputeUncertaintyBudget(diameter, ExampleBudget(ProbeCorrelation::Correlated)).Outcome,
                 BudgetOutcome::NotApplicable);

        MeasurementInputs implausible = M10();
        implausible.ForceN = 101;
        QCOMPARE(ComputeSensitivities(implausible).Outcome, SensitivityOutcome::Implausible);
        QCOMPARE(ComputeUncertaintyBudget(implausible, {}).Outcome, BudgetOutcome::Implausible);

        MeasurementInputs failing = M10();
        failing.ProbeDiameterMm = 0;
        QCOMPARE(ComputeSensitivities(failing).Outcome, SensitivityOutcome::Failed);
        QCOMPARE(ComputeUncertaintyBudget(failing, {}).Outcome, BudgetOutcome::Failed);
    }

    // M10x1.5: instrument U 0.30 (k 2), s 0.20 of 3 readings, wires U 0.38
    // (k 2), force model +-0.15, form +-0.2, flank angles +-10'.
    void publishedExampleBudget_data()
    {
        QTest::addColumn<int>("probes");
        QTest::addColumn<double>("expanded");
        QTest::addColumn<QString>("shown");
        QTest::newRow("correlated wires") << int(ProbeCorrelation::Correlated) << 1.236359 << "1.24";
        QTest::newRow("independent wires") << int(ProbeCorrelation::Independent) << 0.845570 << "0.85";
    }

    void publishedExampleBudget()
    {
        QFETCH(int, probes);
        QFETCH(double, expanded);
        QFETCH(QString, shown);
        const UncertaintyBudget b = ComputeUncertaintyBudget(M10(), ExampleBudget(ProbeCorrelation(probes)));
        QCOMPARE(b.Outcome, BudgetOutcome::Ok);
        QVERIFY(std::fabs(double(b.ExpandedUm) - expanded) < 2e-6);
        QVERIFY(std::fabs(double(b.ExpandedUm - 2 * b.CombinedUm)) < 1e-15);
        QCOMPARE(QString::number(double(b.ExpandedUm), 'f', 2), shown);
        QVERIFY(!b.CriticalThread);
        QCOMPARE(double(b[BudgetContribution::Repeatability].Divisor), std::sqrt(3.0));
        QVERIFY(std::fabs(double(b.PitchDiameterMm) - 9.025010328) < 1e-9);
    }

    void entryKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("coverage");
        QTest::addColumn<double>("divisor");
        QTest::newRow("standard") << int(UncertaintyKind::Standard) << 7.0 << 1.0;
        QTest::newRow("expanded k=2") << int(UncertaintyKind::Expanded) << 2.0 << 2.0;
        QTest::newRow("expanded k=3") << int(UncertaintyKind::Expanded) << 3.0 << 3.0;
        QTest::newRow("rectangular") << int(UncertaintyKind::Rectangular) << 2.0 << std::sqrt(3.0);
    }

    // The kind of every row turns its value into u the same way; the
    // coefficient and the share follow.
    void entryKinds()
    {
        QFETCH(int, kind);
        QFETCH(double, coverage);
        QFETCH(double, divisor);
        const SensitivityCoefficients c{1.0L, -3.0L, 0.866L, 0.25L, -0.5L, 0.5L};
        for (std::size_t i = 0; i < BudgetContributionCount; ++i) {
            const auto contribution = static_cast<BudgetContribution>(i);
            if (contribution == BudgetContribution::Repeatability) {
                continue; // s over the readings, below
            }
            BudgetInputs inputs;
            inputs.MeanTemperature = 23;
            inputs[contribution] = {1.2L, UncertaintyKind(kind), coverage};
            const UncertaintyBudget b = CombineBudget(c, 10.0L, MeasuringMethod::Perpendicular, inputs);
            QCOMPARE(b.Outcome, BudgetOutcome::Ok);
            const BudgetRow& row = b[contribution];
            QCOMPARE(double(row.Divisor), divisor);
            QVERIFY(std::fabs(double(row.StandardUncertainty) - 1.2 / divisor) < 1e-15);
            QVERIFY(std::fabs(double(b.CombinedUm - row.Contribution)) < 1e-15);
            QCOMPARE(double(row.Share), 1.0);
        }
    }

    // Sensitivities of the rows that are not derivatives: the temperature
    // rows from the entered length (10 mm = 10000 um).
    void rowSensitivities()
    {
        const SensitivityCoefficients c{1.001L, -3.002L, 0.8637L, 0.25L, -0.5L, 0.497L};
        BudgetInputs inputs;
        inputs.MeanTemperature = 21.5;
        inputs.ExpansionCoefficient = 11.5e-6L;
        const UncertaintyBudget b = CombineBudget(c, 10.0L, MeasuringMethod::Perpendicular, inputs);
        const auto sensitivity = [&](BudgetContribution r) { return double(b[r].Sensitivity); };
        QCOMPARE(sensitivity(BudgetContribution::Indicated), 1.001);
        QCOMPARE(sensitivity(BudgetContribution::Repeatability), 1.001);
        QCOMPARE(sensitivity(BudgetContribution::Probes), -3.002);
        QCOMPARE(sensitivity(BudgetContribution::Pitch), 0.8637);
        QCOMPARE(sensitivity(BudgetContribution::BetaFlank), 0.25);
        QCOMPARE(sensitivity(BudgetContribution::GammaFlank), -0.5);
        QCOMPARE(sensitivity(BudgetContribution::Force), 0.497);
        QCOMPARE(sensitivity(BudgetContribution::ForceModel), 1.0);
        QCOMPARE(sensitivity(BudgetContribution::Other), 1.0);
        QVERIFY(std::fabs(sensitivity(BudgetContribution::TemperatureDifference) - 0.115) < 1e-12);
        QVERIFY(std::fabs(sensitivity(BudgetContribution::ExpansionDifference) - 15000.0) < 1e-9);
        QCOMPARE(double(b.CombinedUm), 0.0);
        QVERIFY(!b.CriticalThread);
    }

    void repeatabilityOverReadings_data()
    {
        QTest::addColumn<int>("readings");
        QTest::newRow("1") << 1;
        QTest::newRow("4") << 4;
        QTest::newRow("10") << 10;
    }

    void repeatabilityOverReadings()
    {
        QFETCH(int, readings);
        BudgetInputs inputs;
        inputs[BudgetContribution::Repeatability] = {0.4L};
        inputs.Readings = readings;
        const UncertaintyBudget b = CombineBudget({2.0L, 0, 0, 0, 0, 0}, 10.0L, MeasuringMethod::Perpendicular, inputs);
        QVERIFY(std::fabs(double(b.CombinedUm) - 2 * 0.4 / std::sqrt(double(readings))) < 1e-15);
    }

    void probeWeights_data()
    {
        QTest::addColumn<int>("probes");
        QTest::addColumn<int>("method");
        QTest::addColumn<double>("weight");
        QTest::newRow("correlated, three") << int(ProbeCorrelation::Correlated) << 0 << 1.0;
        QTest::newRow("correlated, two") << int(ProbeCorrelation::Correlated) << 1 << 1.0;
        // sqrt(1/2^2 + 1/4^2 + 1/4^2) and sqrt(2 (1/2)^2).
        QTest::newRow("independent, three") << int(ProbeCorrelation::Independent) << 0 << 0.6123724356957945;
        QTest::newRow("independent, two") << int(ProbeCorrelation::Independent) << 1 << 0.7071067811865476;
    }

    void probeWeights()
    {
        QFETCH(int, probes);
        QFETCH(int, method);
        QFETCH(double, weight);
        BudgetInputs inputs;
        inputs[BudgetContribution::Probes] = {0.5L};
        inputs.Probes = ProbeCorrelation(probes);
        const UncertaintyBudget b = CombineBudget({1, -3.0L, 0, 0, 0, 0}, 10.0L, MeasuringMethod(method), inputs);
        QVERIFY(std::fabs(double(b[BudgetContribution::Probes].Weight) - weight) < 1e-15);
        QVERIFY(std::fabs(double(b.CombinedUm) - 1.5 * weight) < 1e-15);
    }

    void coverageFactor_data()
    {
        QTest::addColumn<double>("k");
        QTest::newRow("1") << 1.0;
        QTest::newRow("2") << 2.0;
        QTest::newRow("2.28") << 2.28;
        QTest::newRow("3") << 3.0;
    }

    void coverageFactor()
    {
        QFETCH(double, k);
        BudgetInputs inputs;
        inputs[BudgetContribution::Indicated] = {0.3L};
        inputs[BudgetContribution::Other] = {0.4L};
        inputs.CoverageFactor = k;
        const UncertaintyBudget b =
            CombineBudget({1, -3, 0.87L, 0, 0, 0}, 10.0L, MeasuringMethod::Perpendicular, inputs);
        QVERIFY(std::fabs(double(b.CombinedUm) - 0.5) < 1e-15);
        QVERIFY(std::fabs(double(b.ExpandedUm) - 0.5 * k) < 1e-14);
        QCOMPARE(double(b.CoverageFactor), k);
        QVERIFY(std::fabs(double(b[BudgetContribution::Indicated].Share) - 0.36) < 1e-15);
        QVERIFY(std::fabs(double(b[BudgetContribution::Other].Share) - 0.64) < 1e-15);
    }

    // Flank-angle rows above half of u_c^2 mark a critical thread.
    void criticalThread_data()
    {
        QTest::addColumn<double>("flankArcminutes");
        QTest::addColumn<bool>("critical");
        // c_beta 0.3, c_gamma -0.4 um/', the rest 1 um: flank squares
        // (0.09 + 0.16) u^2 against 1.
        QTest::newRow("1' small") << 1.0 << false;
        QTest::newRow("1.99' just below") << 1.99 << false;
        QTest::newRow("2.01' above") << 2.01 << true;
        QTest::newRow("10' dominant") << 10.0 << true;
    }

    void criticalThread()
    {
        QFETCH(double, flankArcminutes);
        QFETCH(bool, critical);
        BudgetInputs inputs;
        inputs[BudgetContribution::Other] = {1.0L};
        inputs[BudgetContribution::BetaFlank] = {flankArcminutes};
        inputs[BudgetContribution::GammaFlank] = {flankArcminutes};
        const UncertaintyBudget b =
            CombineBudget({1, -3, 0.87L, 0.3L, -0.4L, 0}, 10.0L, MeasuringMethod::Perpendicular, inputs);
        QCOMPARE(b.Outcome, BudgetOutcome::Ok);
        QCOMPARE(b.CriticalThread, critical);
    }

    void invalidEntries_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("coverage");
        QTest::newRow("negative standard") << int(BudgetContribution::Indicated) << -0.1 << 0 << 2.0;
        QTest::newRow("negative rectangular") << int(BudgetContribution::Other) << -1.0 << 2 << 2.0;
        QTest::newRow("NaN") << int(BudgetContribution::Probes) << double(NAN) << 0 << 2.0;
        QTest::newRow("infinite") << int(BudgetContribution::Pitch) << double(INFINITY) << 0 << 2.0;
        QTest::newRow("expanded with k 0") << int(BudgetContribution::Probes) << 0.3 << 1 << 0.0;
        QTest::newRow("expanded with negative k") << int(BudgetContribution::Indicated) << 0.3 << 1 << -2.0;
    }

    void invalidEntries()
    {
        QFETCH(int, row);
        QFETCH(double, value);
        QFETCH(int, kind);
        QFETCH(double, coverage);
        BudgetInputs inputs = ExampleBudget(ProbeCorrelation::Correlated);
        inputs.Entries[std::size_t(row)] = {value, UncertaintyKind(kind), coverage};
        const UncertaintyBudget b = ComputeUncertaintyBudget(M10(), inputs);
        QCOMPARE(b.Outcome, BudgetOutcome::InvalidEntry);
        QVERIFY(b.InvalidContribution.has_value());
        QCOMPARE(int(*b.InvalidContribution), row);
    }

    void invalidSettings()
    {
        BudgetInputs noReadings = ExampleBudget(ProbeCorrelation::Correlated);
        noReadings.Readings = 0;
        QCOMPARE(ComputeUncertaintyBudget(M10(), noReadings).Outcome, BudgetOutcome::InvalidEntry);
        BudgetInputs zeroK = ExampleBudget(ProbeCorrelation::Correlated);
        zeroK.CoverageFactor = 0;
        const UncertaintyBudget b = ComputeUncertaintyBudget(M10(), zeroK);
        QCOMPARE(b.Outcome, BudgetOutcome::InvalidEntry);
        QVERIFY(!b.InvalidContribution.has_value());
    }

    void texts_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("coefficient");
        QTest::addColumn<QString>("micrometres");
        for (const char separator : {'.', ','}) {
            const auto sep = [separator](QString text) { return text.replace('.', QChar(separator)); };
            QTest::addRow("c_dD %c", separator) << separator << -4.86370330 << sep("-4.8637") << sep("-4.864");
            QTest::addRow("U %c", separator) << separator << 1.2363588 << sep("1.2364") << sep("1.236");
            QTest::addRow("half to even %c", separator) << separator << 0.00125 << sep("0.0012") << sep("0.001");
            QTest::addRow("tiny negative %c", separator) << separator << -0.00001 << sep("0.0000") << sep("0.000");
            QTest::addRow("zero %c", separator) << separator << 0.0 << sep("0.0000") << sep("0.000");
        }
    }

    void texts()
    {
        QFETCH(char, separator);
        QFETCH(double, value);
        QFETCH(QString, coefficient);
        QFETCH(QString, micrometres);
        QCOMPARE(QString::fromStdString(FormatCoefficient(value, separator).value()), coefficient);
        QCOMPARE(QString::fromStdString(FormatMicrometres(value, separator).value()), micrometres);
        QVERIFY(!FormatCoefficient(NAN, separator).has_value());
        QVERIFY(!FormatMicrometres(INFINITY, separator).has_value());
    }
};

QTEST_APPLESS_MAIN(TestUncertaintyBudget)
#include "TestUncertaintyBudget.moc"
