#include "Calculation.h"
#include "LeadAndOptimum.h"

#include <QtTest>

#include <cmath>
#include <string>

using namespace zevko;
using Stage = LeadOptimumUpdate::Stage;

namespace {

std::string WithSeparator(QString text, char separator)
{
    return text.replace('.', QChar(separator)).toStdString();
}

} // namespace

class TestLeadAndOptimum : public QObject {
    Q_OBJECT

private slots:
    void optimumDiameter_data()
    {
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("beta");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<double>("expected");

        QTest::newRow("60 degrees") << 1.5 << 30.0 << 30.0 << 0.8660254;
        QTest::newRow("30 degrees") << 4.0 << 15.0 << 15.0 << 2.0705524;
        QTest::newRow("buttress 3/30") << 6.0 << 3.0 << 30.0 << 3.0270102;
        QTest::newRow("one flank upright") << 1.5 << 0.0 << 30.0 << 0.7461339;
        QTest::newRow("no pitch") << 0.0 << 30.0 << 30.0 << 0.0;
    }

    void optimumDiameter()
    {
        QFETCH(double, pitch);
        QFETCH(double, beta);
        QFETCH(double, gamma);
        QFETCH(double, expected);

        for (auto [b, g] : {std::pair{beta, gamma}, std::pair{gamma, beta}}) {
            const auto d0 = OptimumProbeDiameter(pitch, HeldFlankAngle(b, 0, 0), HeldFlankAngle(g, 0, 0));
            QVERIFY(d0.has_value());
            QVERIFY2(std::fabs(*d0 - expected) <= 0.5e-7L, qPrintable(QString::number(double(*d0), 'f', 10)));
        }
    }

    void optimumDiameterFailsWithoutFlanks() { QVERIFY(!OptimumProbeDiameter(1.5, 0, 0)); }

    void update_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("starts");
        QTest::addColumn<double>("betaDeg");
        QTest::addColumn<double>("betaMin");
        QTest::addColumn<double>("gammaDeg");
        QTest::addColumn<bool>("inches");
        QTest::addColumn<std::string>("lead");
        QTest::addColumn<std::string>("leadShown");
        QTest::addColumn<std::string>("optimum");
        QTest::addColumn<std::string>("optimumShown");

        struct Row {
            const char* name;
            double pitch, starts, betaDeg, betaMin, gammaDeg;
            bool inches;
            const char *lead, *leadShown, *optimum, *optimumShown;
        };
        const Row rows[] = {
            {"single start", 1.5, 1, 30, 0, 30, false, "1.50000", "1.50000", "0.86603", "0.86603"},
            {"three starts", 1.5, 3, 30, 0, 30, false, "4.50000", "4.50000", "0.86603", "0.86603"},
            {"starts truncated", 1.5, 2.9, 30, 0, 30, false, "3.00000", "3.00000", "0.86603", "0.86603"},
            {"27 deg 30 min and 32.5 deg", 1.5, 1, 27, 30, 32.5, false, "1.50000", "1.50000", "0.86465", "0.86465"},
            // 0.059055 in typed as the pitch; the lead in inches comes from the
            // rounded millimetre text, the optimum from the number.
            {"inches", 0.059055 * 25.4, 1, 30, 0, 30, true, "1.50000", "0.059055", "0.86602", "0.03410"},
            {"no starts", 1.5, 0, 30, 0, 30, false, "0.00000", "0.00000", "0.86603", "0.86603"},
            // d0 = 0.13 / (2 cos 30) = 0.0750555 mm, text 0.07506: shown from
            // the number 0.0029549 in gives 0.00295, from the text 0.0029551
            // in would give 0.00296.
            {"inches, optimum from the number", 0.13, 1, 30, 0, 30, true, "0.13000", "0.005118", "0.07506", "0.00295"},
        };
        for (char separator : {'.', ','}) {
            for (const Row& r : rows) {
                QTest::addRow("%s %c", r.name, separator)
                    << separator << r.pitch << r.starts << r.betaDeg << r.betaMin << r.gammaDeg << r.inches
                    << WithSeparator(r.lead, separator) << WithSeparator(r.leadShown, separator)
                    << WithSeparator(r.optimum, separator) << WithSeparator(r.optimumShown, separator);
            }
        }
    }

    void update()
    {
        QFETCH(char, separator);
        QFETCH(double, pitch);
        QFETCH(double, starts);
        QFETCH(double, betaDeg);
        QFETCH(double, betaMin);
        QFETCH(double, gammaDeg);
        QFETCH(bool, inches);
        QFETCH(std::string, lead);
        QFETCH(std::string, leadShown);
        QFETCH(std::string, optimum);
        QFETCH(std::string, optimumShown);

        const LeadOptimumInputs inputs{
            .PitchMm = pitch, .StartsValue = starts, .Beta = {betaDeg, betaMin, 0}, .Gamma = {gammaDeg, 0, 0}};
        const auto result =
            UpdateLeadAndOptimum(inputs, inches ? UnitSystem::Inches : UnitSystem::Millimetres, separator);
        QCOMPARE(result.Outcome, Stage::Ok);
        QCOMPARE(result.LeadText, lead);
        QCOMPARE(result.LeadDisplay, leadShown);
        QCOMPARE(result.OptimumDiameterText, optimum);
        QCOMPARE(result.OptimumDisplay, optimumShown);
    }

    void limits_data()
    {
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<bool>("plausible");

        QTest::newRow("all at 0 but the pitch") << 0.0 << 0.0 << 0.0 << 0.0 << true;
        QTest::newRow("pitch 100") << 100.0 << 30.0 << 0.0 << 0.0 << true;
        QTest::newRow("pitch above 100") << 100.000001 << 30.0 << 0.0 << 0.0 << false;
        QTest::newRow("pitch below 0") << -0.000001 << 30.0 << 0.0 << 0.0 << false;
        QTest::newRow("90 degrees") << 1.5 << 90.0 << 0.0 << 0.0 << true;
        QTest::newRow("above 90 degrees") << 1.5 << 90.000001 << 0.0 << 0.0 << false;
        QTest::newRow("negative degrees") << 1.5 << -1.0 << 0.0 << 0.0 << false;
        QTest::newRow("59 minutes") << 1.5 << 30.0 << 59.0 << 0.0 << true;
        QTest::newRow("60 minutes") << 1.5 << 30.0 << 60.0 << 0.0 << false;
        QTest::newRow("negative minutes") << 1.5 << 30.0 << -1.0 << 0.0 << false;
        QTest::newRow("59 seconds") << 1.5 << 30.0 << 0.0 << 59.0 << true;
        QTest::newRow("60 seconds") << 1.5 << 30.0 << 0.0 << 60.0 << false;
        QTest::newRow("negative seconds") << 1.5 << 30.0 << 0.0 << -1.0 << false;
    }

    void limits()
    {
        QFETCH(double, pitch);
        QFETCH(double, degrees);
        QFETCH(double, minutes);
        QFETCH(double, seconds);
        QFETCH(bool, plausible);

        // The limits hold for either flank; the other one stays at 30 degrees.
        const FlankAngle tested{degrees, minutes, seconds};
        const auto onBeta =
            UpdateLeadAndOptimum({.PitchMm = pitch, .Beta = tested, .Gamma = {30, 0, 0}}, UnitSystem::Millimetres, '.');
        const auto onGamma =
            UpdateLeadAndOptimum({.PitchMm = pitch, .Beta = {30, 0, 0}, .Gamma = tested}, UnitSystem::Inches, '.');
        for (const auto& result : {onBeta, onGamma}) {
            if (plausible) {
                QCOMPARE(result.Outcome, Stage::Ok);
                QVERIFY(!result.OptimumDiameterText.empty());
            } else {
                QCOMPARE(result.Outcome, Stage::Implausible);
                QVERIFY(result.LeadText.empty());
            }
        }
    }

    void failureAfterTheLeadKeepsTheLead()
    {
        const auto result = UpdateLeadAndOptimum(
            {.PitchMm = 1.5, .StartsValue = 2, .Beta = {0, 0, 0}, .Gamma = {0, 0, 0}}, UnitSystem::Millimetres, ',');
        QCOMPARE(result.Outcome, Stage::FailedAfterLead);
        QCOMPARE(result.LeadText, std::string("3,00000"));
        QCOMPARE(result.LeadDisplay, std::string("3,00000"));
        QVERIFY(result.OptimumDiameterText.empty());
        QVERIFY(result.OptimumDisplay.empty());
    }

    void degenerateOptimumStaysPositive()
    {
        // Both flanks upright: no finite optimum exists; what the arithmetic
        // gives is huge and shown in exponent notation, never negative.
        const auto result = UpdateLeadAndOptimum(
            {.PitchMm = 1, .StartsValue = 1, .Beta = {90, 0, 0}, .Gamma = {90, 0, 0}}, UnitSystem::Millimetres, '.');
        QCOMPARE(result.Outcome, Stage::Ok);
        QVERIFY(result.OptimumMm > 1e15L);
        QVERIFY(result.OptimumDiameterText.find('E') != std::string::npos);
        QCOMPARE(result.OptimumDiameterText.front(), '8');
    }
};

QTEST_APPLESS_MAIN(TestLeadAndOptimum)
#include "TestLeadAndOptimum.moc"
