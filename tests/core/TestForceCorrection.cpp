#include "ForceCorrection.h"
#include "MeasurementTypes.h"

#include <QtTest>

#include <cmath>

using namespace zevko;

namespace {

long double Degrees(double degrees)
{
    return FlankAngleRadians(degrees, 0, 0);
}

// Equal to the last shown of 5 decimals.
void VerifyShown(const std::optional<long double>& actual, double expected)
{
    QVERIFY(actual.has_value());
    QVERIFY2(std::fabs(*actual - expected) <= 0.5e-5L,
             qPrintable(QString::number(static_cast<double>(*actual), 'f', 9)));
}

} // namespace

class TestForceCorrection : public QObject {
    Q_OBJECT

private slots:
    void wires_data()
    {
        QTest::addColumn<double>("force");
        QTest::addColumn<double>("probe");
        QTest::addColumn<double>("pitchDiameter");
        QTest::addColumn<double>("beta");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<double>("withFactor");
        QTest::addColumn<double>("withoutFactor");

        QTest::newRow("1 N, 60 degrees") << 1.0 << 0.866 << 9.02426 << 30.0 << 30.0 << 0.74558 << 0.74558;
        QTest::newRow("10 N") << 10.0 << 0.866 << 9.026 << 30.0 << 30.0 << 3.46053 << 3.46052;
        QTest::newRow("30 degrees doubles the factor") << 1.0 << 3.1 << 37.0 << 15.0 << 15.0 << 0.94227 << 0.47113;
        QTest::newRow("no force") << 0.0 << 0.866 << 9.026 << 30.0 << 30.0 << 0.0 << 0.0;
        QTest::newRow("asymmetric") << 1.0 << 0.866 << 9.02426 << 27.5 << 32.5 << 0.74558 << 0.74558;
    }

    void wires()
    {
        QFETCH(double, force);
        QFETCH(double, probe);
        QFETCH(double, pitchDiameter);
        QFETCH(double, beta);
        QFETCH(double, gamma);
        QFETCH(double, withFactor);
        QFETCH(double, withoutFactor);

        VerifyShown(ExternalForceCorrection(force, probe, pitchDiameter, Degrees(beta), Degrees(gamma), true),
                    withFactor);
        VerifyShown(ExternalForceCorrection(force, probe, pitchDiameter, Degrees(beta), Degrees(gamma), false),
                    withoutFactor);
        // The flanks enter only through their sum.
        QCOMPARE(ExternalForceCorrection(force, probe, pitchDiameter, Degrees(gamma), Degrees(beta), true),
                 ExternalForceCorrection(force, probe, pitchDiameter, Degrees(beta), Degrees(gamma), true));
    }

    void angleFactor()
    {
        // 1.0472 as published, not pi/3.
        const auto at60 = ExternalForceCorrection(1, 1, 1, Degrees(30), Degrees(30), true);
        const auto plain = ExternalForceCorrection(1, 1, 1, Degrees(30), Degrees(30), false);
        QVERIFY(at60 && plain);
        QVERIFY(std::fabs(*at60 / *plain - 1.0000023L) < 1e-7L);
    }

    void balls_data()
    {
        QTest::addColumn<double>("force");
        QTest::addColumn<double>("probe");
        QTest::addColumn<double>("beta");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("material");
        QTest::addColumn<double>("approach");
        QTest::addColumn<double>("correction");

        QTest::newRow("steel") << 1.0 << 0.866 << 30.0 << 30.0 << int(ProbeMaterial::Steel) << 0.47963 << 1.91852;
        QTest::newRow("ruby") << 1.0 << 0.866 << 30.0 << 30.0 << int(ProbeMaterial::Ruby) << 0.39744 << 1.58977;
        QTest::newRow("steel 2 N 2 mm") << 2.0 << 2.0 << 30.0 << 30.0 << int(ProbeMaterial::Steel) << 0.576 << 2.304;
        QTest::newRow("steel no force") << 0.0 << 0.866 << 30.0 << 30.0 << int(ProbeMaterial::Steel) << 0.0 << 0.0;
        QTest::newRow("ruby no force") << 0.0 << 0.866 << 30.0 << 30.0 << int(ProbeMaterial::Ruby) << 0.0 << 0.0;
    }

    void balls()
    {
        QFETCH(double, force);
        QFETCH(double, probe);
        QFETCH(double, beta);
        QFETCH(double, gamma);
        QFETCH(int, material);
        QFETCH(double, approach);
        QFETCH(double, correction);

        const auto kind = static_cast<ProbeMaterial>(material);
        VerifyShown(BallApproach(force, probe, kind), approach);
        VerifyShown(InternalForceCorrection(force, probe, Degrees(beta), Degrees(gamma), kind), correction);
    }

    void ballsFlankSymmetry()
    {
        const auto one = InternalForceCorrection(1, 0.866, Degrees(20), Degrees(35), ProbeMaterial::Steel);
        const auto other = InternalForceCorrection(1, 0.866, Degrees(35), Degrees(20), ProbeMaterial::Steel);
        QVERIFY(one && other);
        QCOMPARE(*one, *other);
        // One term per flank: unequal flanks give more than the mean angle.
        const auto even = InternalForceCorrection(1, 0.866, Degrees(27.5), Degrees(27.5), ProbeMaterial::Steel);
        QVERIFY(*one > *even);
    }

    void failures_data()
    {
        QTest::addColumn<bool>("internal");
        QTest::addColumn<double>("force");
        QTest::addColumn<double>("probe");
        QTest::addColumn<double>("pitchDiameter");
        QTest::addColumn<double>("beta");
        QTest::addColumn<double>("gamma");

        QTest::newRow("wires, no probe") << false << 1.0 << 0.0 << 9.0 << 30.0 << 30.0;
        QTest::newRow("wires, no probe, no force") << false << 0.0 << 0.0 << 9.0 << 30.0 << 30.0;
        QTest::newRow("wires, pitch diameter 0") << false << 1.0 << 0.866 << 0.0 << 30.0 << 30.0;
        QTest::newRow("wires, negative pitch diameter") << false << 1.0 << 0.866 << -1.0 << 30.0 << 30.0;
        QTest::newRow("wires, negative pitch diameter, no force") << false << 0.0 << 0.866 << -1.0 << 30.0 << 30.0;
        QTest::newRow("wires, flanks sum to 0") << false << 1.0 << 0.866 << 9.0 << 0.0 << 0.0;
        QTest::newRow("balls, no probe") << true << 1.0 << 0.0 << 9.0 << 30.0 << 30.0;
        QTest::newRow("balls, beta 0") << true << 1.0 << 0.866 << 9.0 << 0.0 << 30.0;
        QTest::newRow("balls, gamma 0") << true << 1.0 << 0.866 << 9.0 << 30.0 << 0.0;
        QTest::newRow("balls, gamma 0, no force") << true << 0.0 << 0.866 << 9.0 << 30.0 << 0.0;
    }

    void failures()
    {
        QFETCH(bool, internal);
        QFETCH(double, force);
        QFETCH(double, probe);
        QFETCH(double, pitchDiameter);
        QFETCH(double, beta);
        QFETCH(double, gamma);

        if (internal) {
            for (auto material : {ProbeMaterial::Steel, ProbeMaterial::Ruby}) {
                QVERIFY(!InternalForceCorrection(force, probe, Degrees(beta), Degrees(gamma), material));
            }
        } else {
            QVERIFY(!ExternalForceCorrection(force, probe, pitchDiameter, Degrees(beta), Degrees(gamma), true));
        }
    }
};

QTEST_APPLESS_MAIN(TestForceCorrection)
#include "TestForceCorrection.moc"
