// The calculation as the window shows it: inputs typed into the real fields,
// Enter in the measured-value field, results read from the labels.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QRadioButton>
#include <QtTest>

using srdiamtest::Choose;
using srdiamtest::OpenWindow;
using srdiamtest::Type;
using srdiamtest::TypeAndEnter;

namespace {

struct Measurement {
    bool Internal = false;
    int Quantity = 1;  // 0 m, 1 M, 2 pitch diameter
    int Method = 0;    // 0 perpendicular, 1 inclined
    int Material = -1; // -1: as the side switch leaves it
    QString Pitch = "1.5";
    QString Starts = "1";
    QString Beta = "30";
    QString Gamma = "30";
    QString Probe = "0.866";
    QString Force = "1";
    QString Value;
};

void Enter(SrDiamTester& w, const Measurement& m)
{
    if (m.Internal)
        QTest::mouseClick(w.ui->rbIn, Qt::LeftButton);
    if (m.Quantity != 1)
        Choose(w.ui->cbVidVav, m.Quantity);
    if (m.Method != 0)
        Choose(w.ui->cbIzm, m.Method);
    if (m.Material >= 0)
        Choose(w.ui->cbMaterial, m.Material);
    Type(w.ui->edStapka, m.Pitch);
    Type(w.ui->edBrH, m.Starts);
    Type(w.ui->edBg, m.Beta);
    Type(w.ui->edYg, m.Gamma);
    Type(w.ui->edDiam, m.Probe);
    Type(w.ui->edIzmN, m.Force);
    TypeAndEnter(w.ui->edIzmSt, m.Value);
}

struct Shown {
    QString Lead, Optimum, First, Second, Correction;
};

Shown ShownResults(const SrDiamTester& w)
{
    return {w.ui->lPodem->Caption(), w.ui->lDiamN->Caption(), w.ui->lSrDA2->Caption(), w.ui->lRazmM->Caption(),
            w.ui->lA2->Caption()};
}

} // namespace

Q_DECLARE_METATYPE(Measurement)

class TestSrDiamCalculation : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    void results_data()
    {
        QTest::addColumn<Measurement>("measurement");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("optimum");
        QTest::addColumn<QString>("first");  // lSrDA2
        QTest::addColumn<QString>("second"); // lRazmM
        QTest::addColumn<QString>("correction");

        Measurement m;
        m.Value = "10.32496";
        QTest::newRow("M entered") << m << "1.50000"
                                   << "0.86603"
                                   << "9.02501"
                                   << "9.45896"
                                   << "0.00075";

        m = {};
        m.Quantity = 0;
        m.Value = "9.45896";
        QTest::newRow("m entered") << m << "1.50000"
                                   << "0.86603"
                                   << "9.02501"
                                   << "10.32496"
                                   << "0.00075";

        m = {};
        m.Quantity = 2;
        m.Value = "9.026";
        QTest::newRow("pitch diameter entered") << m << "1.50000"
                                                << "0.86603"
                                                << "9.45995"
                                                << "10.32595"
                                                << "0.00075";
        m.Force = "0";
        QTest::newRow("pitch diameter entered, no force") << m << "1.50000"
                                                          << "0.86603"
                                                          << "9.46069"
                                                          << "10.32670"
                                                          << "0.00000";

        m = {};
        m.Value = "10.32595";
        QTest::newRow("M of the pitch diameter 9.026") << m << "1.50000"
                                                       << "0.86603"
                                                       << "9.02600"
                                                       << "9.45995"
                                                       << "0.00075";

        m = {};
        m.Starts = "0";
        m.Force = "0";
        m.Value = "10.32496";
        QTest::newRow("no starts: three-wire formula") << m << "0.00000"
                                                       << "0.86603"
                                                       << "9.02600"
                                                       << "9.45896"
                                                       << "0.00000";

        m = {};
        m.Starts = "4";
        m.Value = "10.32496";
        QTest::newRow("four starts") << m << "6.00000"
                                     << "0.86603"
                                     << "8.99923"
                                     << "9.45896"
                                     << "0.00075";

        m = {};
        m.Beta = "27.5";
        m.Gamma = "32.5";
        m.Value = "10.32496";
        QTest::newRow("asymmetric flanks") << m << "1.50000"
                                           << "0.86465"
                                           << "9.02337"
                                           << "9.45896"
                                           << "";
        m.Beta = "32.5";
        m.Gamma = "27.5";
        QTest::newRow("flanks exchanged") << m << "1.50000"
                                          << "0.86465"
                                          << "9.02337"
                                          << "9.45896"
                                          << "";

        m = {};
        m.Method = 1;
        m.Value = "10.32496";
        // m = M - dD is the inclined centre distance, reduced to the perpendicular one.
        QTest::newRow("inclined, M entered") << m << "1.50000"
                                             << "0.86603"
                                             << "8.99522"
                                             << "9.42918"
                                             << "";
        m.Quantity = 2;
        m.Value = "9.026";
        QTest::newRow("inclined, pitch diameter entered") << m << "1.50000"
                                                          << "0.86603"
                                                          << "9.48963"
                                                          << "10.35563"
                                                          << "";

        m = {};
        m.Internal = true;
        m.Material = 0;
        m.Quantity = 2;
        m.Value = "9.026";
        QTest::newRow("internal, steel, pitch diameter entered") << m << "1.50000"
                                                                 << "0.86603"
                                                                 << "8.58921"
                                                                 << "7.72321"
                                                                 << "0.00192";
        m.Material = -1; // the side switch chose ruby
        QTest::newRow("internal, ruby, pitch diameter entered") << m << "1.50000"
                                                                << "0.86603"
                                                                << "8.58954"
                                                                << "7.72354"
                                                                << "0.00159";
        m.Material = 0;
        m.Quantity = 1;
        m.Value = "7.7232";
        QTest::newRow("internal, steel, M entered") << m << "1.50000"
                                                    << "0.86603"
                                                    << "9.02599"
                                                    << "8.58920"
                                                    << "";
    }

    void results()
    {
        QFETCH(Measurement, measurement);
        QFETCH(QString, lead);
        QFETCH(QString, optimum);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, correction);

        auto w = OpenWindow();
        Enter(*w, measurement);

        QVERIFY2(w->Messages.isEmpty(), qPrintable(w->Messages.join('|')));
        QCOMPARE(w->ui->lPodem->Caption(), lead);
        QCOMPARE(w->ui->lDiamN->Caption(), optimum);
        QCOMPARE(w->ui->lSrDA2->Caption(), first);
        QCOMPARE(w->ui->lRazmM->Caption(), second);
        if (!correction.isEmpty())
            QCOMPARE(w->ui->lA2->Caption(), correction);
        // The labels show the kept millimetre texts.
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), first);
        QCOMPARE(QString::fromStdString(w->Results.IndicatedValueText), second);
        QCOMPARE(QString::fromStdString(w->Results.ForceCorrectionText), w->ui->lA2->Caption());
    }

    // The calculation button and F9 run the same calculation as Enter.
    void commandsCalculate_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("F9") << "F9";
        QTest::newRow("Enter in the force field") << "force";
    }

    void commandsCalculate()
    {
        QFETCH(QString, how);
        auto w = OpenWindow();
        Measurement m;
        m.Value = "10.32496";
        Type(w->ui->edStapka, m.Pitch);
        Type(w->ui->edDiam, m.Probe);
        Type(w->ui->edIzmSt, m.Value);
        Type(w->ui->edIzmN, m.Force);
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        if (how == "button")
            QTest::mouseClick(w->ui->btnCalc, Qt::LeftButton);
        else if (how == "F9")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
        else
            QTest::keyClick(w->ui->edIzmN, Qt::Key_Return);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        QCOMPARE(w->ui->lA2->Caption(), QString("0.00075"));
    }

    // Inch display derives every label from the rounded millimetre text.
    void inchDisplay()
    {
        auto w = OpenWindow();
        Measurement m;
        m.Value = "10.32496";
        Enter(*w, m);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));

        w->Units = zevko::UnitSystem::Inches;
        QTest::mouseClick(w->ui->btnCalc, Qt::LeftButton);
        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->ui->lPodem->Caption(), QString("0.059055"));
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.034096"));
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("0.355315"));
        QCOMPARE(w->ui->lRazmM->Caption(), QString("0.372400"));
        QCOMPARE(w->ui->lA2->Caption(), QString("0.000030"));
        // The kept texts stay millimetres.
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("9.02501"));
        QCOMPARE(QString::fromStdString(w->Results.ForceCorrectionText), QString("0.00075"));
    }

    void decimalComma()
    {
        SetZDecimalSeparator(',');
        auto w = OpenWindow();
        Measurement m;
        m.Value = "10.32496"; // the point is typed; the field shows a comma
        Enter(*w, m);
        QCOMPARE(w->ui->edIzmSt->Text(), QString("10,32496"));
        QCOMPARE(w->ui->lPodem->Caption(), QString("1,50000"));
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0,86603"));
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9,02501"));
        QCOMPARE(w->ui->lRazmM->Caption(), QString("9,45896"));
        QCOMPARE(w->ui->lA2->Caption(), QString("0,00075"));
    }

    // Arithmetic failures show the error text once and write no label.
    void failureKeepsLabels_data()
    {
        QTest::addColumn<Measurement>("measurement");
        Measurement m;
        m.Quantity = 0;
        m.Value = "0";
        QTest::newRow("m of 0") << m;
        m = {};
        m.Quantity = 0;
        m.Method = 1;
        m.Value = "0.7";
        QTest::newRow("inclined, m below P/2") << m;
        m = {};
        m.Probe = "0";
        m.Value = "10.32496";
        QTest::newRow("probe diameter 0") << m;
    }

    void failureKeepsLabels()
    {
        QFETCH(Measurement, measurement);
        auto w = OpenWindow();
        Measurement ok;
        ok.Value = "10.32496";
        Enter(*w, ok);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));

        Enter(*w, measurement);
        const Shown before = ShownResults(*w);
        const zevko::MeasurementResults kept = w->Results;
        w->Messages.clear();

        QTest::keyClick(w->ui->edIzmSt, Qt::Key_Return);
        QCOMPARE(w->Messages, QStringList{w->ErrorText});
        QCOMPARE(w->ErrorText, QString("No plausible entries. Please correct!"));
        const Shown after = ShownResults(*w);
        QCOMPARE(after.Lead, before.Lead);
        QCOMPARE(after.Optimum, before.Optimum);
        QCOMPARE(after.First, before.First);
        QCOMPARE(after.Second, before.Second);
        QCOMPARE(after.Correction, before.Correction);
        QCOMPARE(w->Results.DiameterText, kept.DiameterText);
    }

    // Flank angles of 0 fail already in the lead update, and again in the
    // calculation; no number from the failed run appears.
    void zeroFlankAnglesFail()
    {
        auto w = OpenWindow();
        Measurement m;
        m.Beta = "0";
        m.Gamma = "0";
        m.Value = "10.32496";
        Enter(*w, m);
        QVERIFY(!w->Messages.isEmpty());
        for (const QString& message : w->Messages)
            QCOMPARE(message, w->ErrorText);
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        QVERIFY(w->ui->lRazmM->Caption().isEmpty());
    }

    // A value outside its range changes nothing and shows nothing. The force
    // field holds 150 until it is left, so Enter in it calculates with 150.
    void implausibleChangesNothing()
    {
        auto w = OpenWindow();
        Measurement m;
        m.Value = "10.32496";
        Enter(*w, m);
        TypeAndEnter(w->ui->edIzmN, "150");
        QCOMPARE(w->ui->edIzmN->Text(), QString("150"));
        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        QCOMPARE(w->ui->lRazmM->Caption(), QString("9.45896"));
        QVERIFY(w->ui->lA2->Caption().isEmpty());

        // On the limit itself the calculation runs.
        TypeAndEnter(w->ui->edIzmN, "100");
        QVERIFY(w->Messages.isEmpty());
        QVERIFY(!w->ui->lA2->Caption().isEmpty());
    }
};

QTEST_MAIN(TestSrDiamCalculation)
#include "TestSrDiamCalculation.moc"
