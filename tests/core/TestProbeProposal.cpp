#include "ProbeProposal.h"

#include <QtTest>

#include <vector>

using namespace zevko;

using Diameters = std::vector<double>;
Q_DECLARE_METATYPE(Diameters)

class TestProbeProposal : public QObject {
    Q_OBJECT

private slots:
    void walk_data()
    {
        QTest::addColumn<Diameters>("catalog");
        QTest::addColumn<double>("d0");
        QTest::addColumn<double>("proposal");
        QTest::addColumn<bool>("sign");
        QTest::addColumn<int>("cursor");

        const Diameters wires{0.5, 0.577, 0.866, 1.0, 1.155};
        QTest::newRow("nearest of five") << wires << 0.8660254 << 0.866 << false << 3;
        QTest::newRow("below the first, within the band") << wires << 0.45 << 0.5 << false << 5;
        QTest::newRow("above the last") << wires << 2.0 << 1.155 << true << 5;
        QTest::newRow("on a diameter") << wires << 0.577 << 0.577 << false << 2;
        QTest::newRow("nearer upper neighbour") << wires << 0.95 << 1.0 << false << 3;
        QTest::newRow("tie takes the smaller") << Diameters{0.5, 1.0} << 0.75 << 0.5 << true << 1;
        QTest::newRow("all smaller: the largest") << Diameters{0.5, 0.6} << 1.0 << 0.6 << true << 2;
        QTest::newRow("all larger, within the band") << Diameters{2.0, 3.0} << 1.7 << 2.0 << false << 2;
        QTest::newRow("all larger, outside the band") << Diameters{2.0, 3.0} << 1.5 << 0.0 << true << 2;
        QTest::newRow("all larger, on the band edge") << Diameters{1.25, 3.0} << 1.0 << 0.0 << true << 2;
        QTest::newRow("one entry below") << Diameters{0.5} << 1.0 << 0.5 << true << 1;
        QTest::newRow("one entry on d0") << Diameters{1.0} << 1.0 << 1.0 << false << 1;
        // No entry lies above d0, so the walk never stops; the last entry, equal
        // to d0, is taken and not its smaller neighbour.
        QTest::newRow("optimum on the largest diameter") << Diameters{0.5, 1.0} << 1.0 << 1.0 << false << 2;
        QTest::newRow("one entry above, within") << Diameters{1.2} << 1.0 << 1.2 << false << 1;
        QTest::newRow("one entry above, outside") << Diameters{1.3} << 1.0 << 0.0 << true << 1;
        QTest::newRow("empty") << Diameters{} << 1.0 << 0.0 << true << 0;
    }

    void walk()
    {
        QFETCH(Diameters, catalog);
        QFETCH(double, d0);
        QFETCH(double, proposal);
        QFETCH(bool, sign);
        QFETCH(int, cursor);

        const ProbeProposal result = ProposeProbeDiameter(d0, catalog);
        QCOMPARE(result.ProbeDiameterMm, proposal);
        QCOMPARE(result.SignShown, sign);
        QCOMPARE(result.Cursor, static_cast<std::size_t>(cursor));
    }

    void sign_data()
    {
        QTest::addColumn<double>("probe");
        QTest::addColumn<double>("d0");
        QTest::addColumn<bool>("shown");

        QTest::newRow("at 0.75 d0") << 0.75 << 1.0 << true;
        QTest::newRow("just inside the lower edge") << 0.7500001 << 1.0 << false;
        QTest::newRow("at d0") << 1.0 << 1.0 << false;
        QTest::newRow("just inside the upper edge") << 1.2499999 << 1.0 << false;
        QTest::newRow("at 1.25 d0") << 1.25 << 1.0 << true;
        QTest::newRow("no probe") << 0.0 << 0.86603 << true;
    }

    void sign()
    {
        QFETCH(double, probe);
        QFETCH(double, d0);
        QFETCH(bool, shown);
        QCOMPARE(ProbeSignShown(probe, d0), shown);
    }
};

QTEST_APPLESS_MAIN(TestProbeProposal)
#include "TestProbeProposal.moc"
