#include "PlausibilityLimits.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace zevko;

Q_DECLARE_METATYPE(zevko::InputField)

class TestPlausibilityLimits : public QObject {
    Q_OBJECT

private slots:
    // The accepted range of each input as the entry fields and the design
    // table of the inputs give it, judged at and just beyond both ends.
    void judgeField_data()
    {
        QTest::addColumn<InputField>("field");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<bool>("length");

        QTest::newRow("pitch") << InputField::Pitch << 0.0 << 100.0 << true;
        QTest::newRow("starts") << InputField::Starts << 0.0 << 100.0 << false;
        QTest::newRow("flank degrees") << InputField::FlankDegrees << 0.0 << 90.0 << false;
        QTest::newRow("flank minutes") << InputField::FlankMinutes << 0.0 << 59.0 << false;
        QTest::newRow("flank seconds") << InputField::FlankSeconds << 0.0 << 59.0 << false;
        QTest::newRow("probe diameter") << InputField::ProbeDiameter << 0.0 << 100.0 << true;
        QTest::newRow("force") << InputField::Force << 0.0 << 100.0 << false;
        QTest::newRow("measured value") << InputField::MeasuredValue << 0.0 << 4000.0 << true;
    }

    void judgeField()
    {
        QFETCH(InputField, field);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(bool, length);

        QCOMPARE(IsLength(field), length);
        const FieldJudgement atHigh = JudgeField(field, high);
        QVERIFY(atHigh.InRange);
        QCOMPARE(static_cast<double>(atHigh.Range.Low), low);
        QCOMPARE(static_cast<double>(atHigh.Range.High), high);
        QVERIFY(JudgeField(field, low).InRange);
        QVERIFY(JudgeField(field, (low + high) / 2).InRange);
        // Just beyond either end, at extended precision: a long double that
        // rounds to the limit as a double is still outside.
        QVERIFY(!JudgeField(field, std::nextafter(static_cast<long double>(high), 1e9L)).InRange);
        QVERIFY(!JudgeField(field, std::nextafter(static_cast<long double>(low), -1e9L)).InRange);
        QVERIFY(!JudgeField(field, std::numeric_limits<long double>::quiet_NaN()).InRange);
        QVERIFY(!JudgeField(field, std::numeric_limits<long double>::infinity()).InRange);
    }

    void anglesAreJudgedPartByPart()
    {
        QVERIFY(AnglePlausible({90, 59, 59})); // each part within its own range
        QVERIFY(AnglePlausible({0, 0, 0}));
        QVERIFY(!AnglePlausible({30, 60, 0}));
        QVERIFY(!AnglePlausible({30, 0, 60}));
        QVERIFY(!AnglePlausible({-0.5, 30, 0}));
        QVERIFY(!LeadUpdatePlausible(1.5, {30, 0, 0}, {30, -1, 0}));
        QVERIFY(LeadUpdatePlausible(1.5, {30, 0, 0}, {30, 0, 0}));
    }
};

QTEST_APPLESS_MAIN(TestPlausibilityLimits)
#include "TestPlausibilityLimits.moc"
