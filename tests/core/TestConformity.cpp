#include "Calculation.h"
#include "Conformity.h"
#include "NumberFormat.h"
#include "PitchDiameterLimits.h"

#include <QtTest>

#include "Separators.h"

#include <cmath>
#include <string>

using namespace zevko;
using zevkotest::Separators;
using zevkotest::WithSeparator;

namespace {

// M10x1.5 external, wire 0.866 mm, 1 N, perpendicular.
MeasurementInputs Metric10()
{
    MeasurementInputs in;
    in.PitchMm = 1.5;
    in.Starts = 1;
    in.ProbeDiameterMm = 0.866;
    in.ForceN = 1;
    in.Quantity = MeasuredQuantity::IndicatedCapitalM;
    in.MeasuredValueMm = 10.32496;
    return in;
}

std::string Text(long double mm)
{
    return FormatResult(mm, 5, '.').value_or("none");
}

} // namespace

Q_DECLARE_METATYPE(MeasurementInputs)
Q_DECLARE_METATYPE(Verdict)
Q_DECLARE_METATYPE(DecisionRule)
Q_DECLARE_METATYPE(LimitsRefusal)

class TestConformity : public QObject {
    Q_OBJECT

private slots:
    // Limits 8.862 to 8.994 mm, U = 2 um unless the row says otherwise.
    void verdict_data()
    {
        QTest::addColumn<DecisionRule>("rule");
        QTest::addColumn<double>("d2");
        QTest::addColumn<double>("u"); // negative: no U stated
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<Verdict>("expected");
        const auto iso = DecisionRule::Iso14253;
        const auto simple = DecisionRule::Simple;
        struct Row {
            const char* name;
            DecisionRule rule;
            double d2, u, lower, upper;
            Verdict expected;
        };
        const Row rows[] = {
            {"iso well inside", iso, 8.9, 0.002, 8.862, 8.994, Verdict::Conforms},
            {"iso exactly U inside lower", iso, 8.864, 0.002, 8.862, 8.994, Verdict::Conforms},
            {"iso just under U inside lower", iso, 8.86399, 0.002, 8.862, 8.994, Verdict::NotDecidedLower},
            {"iso on lower", iso, 8.862, 0.002, 8.862, 8.994, Verdict::NotDecidedLower},
            {"iso U below lower reaches it", iso, 8.860, 0.002, 8.862, 8.994, Verdict::NotDecidedLower},
            {"iso beyond U below lower", iso, 8.85999, 0.002, 8.862, 8.994, Verdict::DoesNotConform},
            {"iso exactly U inside upper", iso, 8.992, 0.002, 8.862, 8.994, Verdict::Conforms},
            {"iso just over U inside upper", iso, 8.99201, 0.002, 8.862, 8.994, Verdict::NotDecidedUpper},
            {"iso on upper", iso, 8.994, 0.002, 8.862, 8.994, Verdict::NotDecidedUpper},
            {"iso U above upper reaches it", iso, 8.996, 0.002, 8.862, 8.994, Verdict::NotDecidedUpper},
            {"iso beyond U above upper", iso, 8.99601, 0.002, 8.862, 8.994, Verdict::DoesNotConform},
            {"iso U wider than the zone", iso, 8.928, 0.07, 8.862, 8.994, Verdict::NotDecidedBoth},
            {"iso without U", iso, 8.9, -1, 8.862, 8.994, Verdict::None},
            {"iso zero U on lower", iso, 8.862, 0, 8.862, 8.994, Verdict::Conforms},
            // Limits typed in inches (0.3489 and 0.3541 in) and a result
            // exactly U inside: decimal on the 10 pm grid, not in binary.
            {"iso inch limit exactly U inside", iso, 8.86406, 0.002, 0.3489 * 25.4, 0.3541 * 25.4, Verdict::Conforms},
            {"iso 1.24 um inside lower", iso, 8.86324, 0.00124, 8.862, 8.994, Verdict::Conforms},
            {"simple on lower", simple, 8.862, 0.002, 8.862, 8.994, Verdict::Conforms},
            {"simple below lower", simple, 8.86199, 0.002, 8.862, 8.994, Verdict::DoesNotConform},
            {"simple on upper", simple, 8.994, 0.002, 8.862, 8.994, Verdict::Conforms},
            {"simple above upper", simple, 8.99401, 0.002, 8.862, 8.994, Verdict::DoesNotConform},
            {"simple ignores a missing U", simple, 8.9, -1, 8.862, 8.994, Verdict::Conforms},
            {"limits reversed", simple, 8.9, 0.002, 8.994, 8.862, Verdict::None},
        };
        for (const Row& r : rows) {
            QTest::newRow(r.name) << r.rule << r.d2 << r.u << r.lower << r.upper << r.expected;
        }
    }

    void verdict()
    {
        QFETCH(DecisionRule, rule);
        QFETCH(double, d2);
        QFETCH(double, u);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(Verdict, expected);
        const std::optional<long double> uncertainty = u < 0 ? std::nullopt : std::optional<long double>(u);
        QCOMPARE(DecideConformity(d2, uncertainty, PitchDiameterLimits{lower, upper}, rule), expected);
    }

    void limitsText_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<LimitsRefusal>("refusal");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QString>("offending");
        using R = LimitsRefusal;
        struct Row {
            const char* name;
            const char* text;
            R refusal;
            double lower, upper;
            const char* offending;
        };
        const Row rows[] = {
            {"lower and upper", "8.862 8.994", R::None, 8.862, 8.994, ""},
            {"equal limits", " 9.026\t9.026 ", R::None, 9.026, 9.026, ""},
            {"nominal, minus signs",
             "9.026 \xE2\x88\x92"
             "0.032 \xE2\x88\x92"
             "0.164",
             R::None, 8.862, 8.994, ""},
            {"nominal, ASCII minus", "9.026 -0.032 -0.164", R::None, 8.862, 8.994, ""},
            {"nominal, plus and minus", "9.026 +0.1 -0.1", R::None, 8.926, 9.126, ""},
            {"nominal, unsigned upper", "9.026 0.05 0", R::None, 9.026, 9.076, ""},
            {"nominal, plus-minus sign",
             "9.026 \xC2\xB1"
             "0.05",
             R::None, 8.976, 9.076, ""},
            {"nominal, ASCII plus-minus", "9.026 +/-0.05", R::None, 8.976, 9.076, ""},
            {"limits reversed", "8.994 8.862", R::WrongOrder, 0, 0, "8.994 8.862"},
            {"deviations reversed", "9.026 -0.164 -0.032", R::WrongOrder, 0, 0, "-0.164 -0.032"},
            {"nothing", "  ", R::Empty, 0, 0, ""},
            {"one number", "9.026", R::WrongCount, 0, 0, "9.026"},
            {"four numbers", "1 2 3 4", R::WrongCount, 0, 0, "1 2 3 4"},
            {"plus-minus first",
             "\xC2\xB1"
             "0.05 9.026",
             R::WrongCount, 0, 0,
             "\xC2\xB1"
             "0.05"},
            {"a word", "abc 8.994", R::UnreadableNumber, 0, 0, "abc"},
            {"a lone sign", "9.026 - 0.05", R::UnreadableNumber, 0, 0, "-"},
        };
        for (char separator : Separators) {
            for (const Row& r : rows) {
                QTest::addRow("%s %c", r.name, separator)
                    << separator << QString::fromStdString(WithSeparator(r.text, separator)) << r.refusal << r.lower
                    << r.upper << QString::fromStdString(WithSeparator(r.offending, separator));
            }
        }
        QTest::newRow("the other separator")
            << '.' << QStringLiteral("8,862 8.994") << R::UnreadableNumber << 0.0 << 0.0 << QStringLiteral("8,862");
    }

    void limitsText()
    {
        QFETCH(char, separator);
        QFETCH(QString, text);
        QFETCH(LimitsRefusal, refusal);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QString, offending);
        const LimitsReading reading = ReadPitchDiameterLimits(text.toStdString(), separator);
        QCOMPARE(reading.Refusal, refusal);
        QCOMPARE(reading.Limits.has_value(), refusal == LimitsRefusal::None);
        QCOMPARE(QString::fromStdString(reading.Offending), offending);
        if (reading.Limits) {
            QVERIFY(std::fabs(reading.Limits->Lower - lower) < 1e-12);
            QVERIFY(std::fabs(reading.Limits->Upper - upper) < 1e-12);
        }
    }

    void limitsPair_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<LimitsRefusal>("refusal");
        QTest::addColumn<QString>("offending");
        for (char s : Separators) {
            const auto t = [s](const char* text) { return QString::fromStdString(WithSeparator(text, s)); };
            QTest::addRow("ordered %c", s) << s << t("8.862") << t("8.994") << LimitsRefusal::None << QString();
            QTest::addRow("reversed %c", s)
                << s << t("8.994") << t("8.862") << LimitsRefusal::WrongOrder << t("8.994 8.862");
            QTest::addRow("both empty %c", s) << s << t("") << t(" ") << LimitsRefusal::Empty << QString();
            QTest::addRow("upper missing %c", s)
                << s << t("8.862") << t("") << LimitsRefusal::UnreadableNumber << QString();
            QTest::addRow("lower unreadable %c", s)
                << s << t("8.8.62") << t("8.994") << LimitsRefusal::UnreadableNumber << t("8.8.62");
        }
    }

    void limitsPair()
    {
        QFETCH(char, separator);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(LimitsRefusal, refusal);
        QFETCH(QString, offending);
        const LimitsReading reading = PitchDiameterLimitsFromPair(lower.toStdString(), upper.toStdString(), separator);
        QCOMPARE(reading.Refusal, refusal);
        QCOMPARE(QString::fromStdString(reading.Offending), offending);
    }

    // The values a thread at each limit shows are the pitch-diameter-entered
    // calculation's for that limit, force correction included.
    void turnToEqualsReverseDirection_data()
    {
        QTest::addColumn<MeasurementInputs>("inputs");
        MeasurementInputs internal = Metric10();
        internal.Side = ThreadSide::Internal;
        internal.Material = ProbeMaterial::Ruby;
        MeasurementInputs inclined = Metric10();
        inclined.Method = MeasuringMethod::Inclined;
        MeasurementInputs multiStart = Metric10();
        multiStart.Starts = 3;
        QTest::newRow("M10x1.5 external, 0.866, 1 N") << Metric10();
        QTest::newRow("internal, ruby balls") << internal;
        QTest::newRow("inclined") << inclined;
        QTest::newRow("three starts") << multiStart;
    }

    void turnToEqualsReverseDirection()
    {
        QFETCH(MeasurementInputs, inputs);
        const TurnToTargets targets = ComputeTurnToTargets(inputs, PitchDiameterLimits{8.862, 8.994}, 0.00124L);
        for (const auto& [limit, target] : {std::pair{8.862, targets.AtLower}, std::pair{8.994, targets.AtUpper}}) {
            MeasurementInputs reverse = inputs;
            reverse.Quantity = MeasuredQuantity::PitchDiameter;
            reverse.MeasuredValueMm = limit;
            const CalculationResult result = Calculate(reverse, true, {}, '.');
            QCOMPARE(result.Outcome, CalculationOutcome::Ok);
            QVERIFY(target.has_value());
            QCOMPARE(Text(target->CapitalMMm), result.Results.IndicatedValueText);
            QCOMPARE(Text(target->SmallMMm), result.Results.DiameterText);
        }
        QVERIFY(targets.GuardLower && targets.GuardUpper);
        QVERIFY(targets.AtLower->CapitalMMm < targets.GuardLower->CapitalMMm);
        QVERIFY(targets.GuardLower->CapitalMMm < targets.GuardUpper->CapitalMMm);
        QVERIFY(targets.GuardUpper->CapitalMMm < targets.AtUpper->CapitalMMm);
    }

    // Without lead and force the three-wire formula M = d2 + 3 dD - 0.8660254 P
    // holds exactly: the targets and the guard-banded window by hand.
    void turnToThreeWireFormula()
    {
        MeasurementInputs in = Metric10();
        in.Starts = 0;
        in.ForceN = 0;
        const TurnToTargets t = ComputeTurnToTargets(in, PitchDiameterLimits{8.862, 8.994}, 0.002L);
        QVERIFY(t.AtLower && t.AtUpper && t.GuardLower && t.GuardUpper);
        QCOMPARE(Text(t.AtLower->CapitalMMm), std::string("10.16096"));
        QCOMPARE(Text(t.AtUpper->CapitalMMm), std::string("10.29296"));
        QCOMPARE(Text(t.GuardLower->CapitalMMm), std::string("10.16296"));
        QCOMPARE(Text(t.GuardUpper->CapitalMMm), std::string("10.29096"));
        QCOMPARE(Text(t.AtLower->SmallMMm), std::string("9.29496"));
    }

    void turnToEmpty()
    {
        const PitchDiameterLimits limits{8.862, 8.994};
        // U wider than half the zone: no acceptance window, the limits' own
        // values still shown.
        const TurnToTargets wide = ComputeTurnToTargets(Metric10(), limits, 0.07L);
        QVERIFY(wide.AtLower && wide.AtUpper && !wide.GuardLower && !wide.GuardUpper);
        // No U: no window.
        const TurnToTargets noU = ComputeTurnToTargets(Metric10(), limits, std::nullopt);
        QVERIFY(noU.AtLower && !noU.GuardLower);
        // An implausible probe diameter, and flanks that make the calculation fail.
        MeasurementInputs implausible = Metric10();
        implausible.ProbeDiameterMm = 101;
        MeasurementInputs failing = Metric10();
        failing.Beta.Degrees = failing.Gamma.Degrees = 0;
        for (const MeasurementInputs& in : {implausible, failing}) {
            const TurnToTargets t = ComputeTurnToTargets(in, limits, 0.002L);
            QVERIFY(!t.AtLower && !t.AtUpper && !t.GuardLower && !t.GuardUpper);
        }
        // A negative limit is no pitch diameter: that target alone is empty.
        const TurnToTargets negative = ComputeTurnToTargets(Metric10(), PitchDiameterLimits{-1, 8.994}, std::nullopt);
        QVERIFY(!negative.AtLower && negative.AtUpper);
    }
};

QTEST_GUILESS_MAIN(TestConformity)
#include "TestConformity.moc"
