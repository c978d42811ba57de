// Lead, optimum probe diameter, the catalog proposal and the +-25 % sign, as
// the window shows them while the thread is typed in.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QtTest>

using srdiamtest::OpenWindow;
using srdiamtest::Type;

namespace {

const std::initializer_list<double> WireSet = {0.5, 0.577, 0.866, 1.0, 1.155};

int GridRow(const SrDiamTester& w)
{
    return w.ui->dbgrKatDiam->currentIndex().row();
}

// The row the grid must highlight for the catalog's cursor.
int CursorRow(const zevko::ProbeCatalog& catalog)
{
    if (catalog.Count() == 0)
        return -1;
    return static_cast<int>(std::min(catalog.Position(), catalog.Count() - 1));
}

} // namespace

class TestSrDiamLeadOptimum : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    void leadAndOptimum_data()
    {
        QTest::addColumn<bool>("inches");
        QTest::addColumn<QString>("pitch");
        QTest::addColumn<QString>("starts");
        QTest::addColumn<QString>("beta");
        QTest::addColumn<QString>("gamma");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("optimum");
        QTest::addColumn<double>("pitchMm");

        QTest::newRow("60 degree thread") << false << "1.5"
                                          << "1"
                                          << "30"
                                          << "30"
                                          << "1.50000"
                                          << "0.86603" << 1.5;
        QTest::newRow("three starts") << false << "1.5"
                                      << "3"
                                      << "30"
                                      << "30"
                                      << "4.50000"
                                      << "0.86603" << 1.5;
        QTest::newRow("30 degree thread") << false << "4"
                                          << "1"
                                          << "15"
                                          << "15"
                                          << "4.00000"
                                          << "2.07055" << 4.0;
        QTest::newRow("buttress") << false << "6"
                                  << "1"
                                  << "3"
                                  << "30"
                                  << "6.00000"
                                  << "3.02701" << 6.0;
        QTest::newRow("one flank perpendicular") << false << "1.5"
                                                 << "1"
                                                 << "0"
                                                 << "30"
                                                 << "1.50000"
                                                 << "0.74613" << 1.5;
        QTest::newRow("inches") << true << "0.059055"
                                << "1"
                                << "30"
                                << "30"
                                << "0.059055"
                                << "0.03410" << 1.499997;
    }

    void leadAndOptimum()
    {
        QFETCH(bool, inches);
        QFETCH(QString, pitch);
        QFETCH(QString, starts);
        QFETCH(QString, beta);
        QFETCH(QString, gamma);
        QFETCH(QString, lead);
        QFETCH(QString, optimum);
        QFETCH(double, pitchMm);

        auto w = OpenWindow();
        if (inches)
            w->Units = zevko::UnitSystem::Inches;
        Type(w->ui->edBrH, starts);
        Type(w->ui->edBg, beta);
        Type(w->ui->edYg, gamma);
        Type(w->ui->edStapka, pitch);
        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->PitchMm, pitchMm);
        QCOMPARE(w->ui->lPodem->Caption(), lead);
        QCOMPARE(w->ui->lDiamN->Caption(), optimum);
        // The kept texts are millimetres in either display.
        QVERIFY(!w->Results.LeadText.empty());
        QVERIFY(!w->Results.OptimumDiameterText.empty());
        if (!inches)
            QCOMPARE(QString::fromStdString(w->Results.OptimumDiameterText), optimum);
        else
            QCOMPARE(QString::fromStdString(w->Results.OptimumDiameterText), QString("0.86602"));
    }

    // d0 comes from the pitch with flanks of 30 degrees (d0 = 0.57735 P) or
    // 60 degrees (d0 = P).
    void proposal_data()
    {
        QTest::addColumn<QList<double>>("catalog");
        QTest::addColumn<QString>("pitch");
        QTest::addColumn<QString>("flank");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<bool>("sign");

        const QList<double> wires(WireSet);
        QTest::newRow("nearest below") << wires << "1.5"
                                       << "30"
                                       << "0.866" << false;
        QTest::newRow("nearest above") << QList<double>{0.5, 1.0} << "1.5"
                                       << "30"
                                       << "1" << false;
        QTest::newRow("all below: the largest") << QList<double>{0.5, 0.6} << "1"
                                                << "60"
                                                << "0.6" << true;
        QTest::newRow("all above, within the band") << QList<double>{2.0, 3.0} << "1.7"
                                                    << "60"
                                                    << "2" << false;
        QTest::newRow("all above, beyond the band") << QList<double>{2.0, 3.0} << "1.5"
                                                    << "60"
                                                    << "0" << true;
        QTest::newRow("single entry") << QList<double>{0.9} << "1.5"
                                      << "30"
                                      << "0.9" << false;
        QTest::newRow("empty catalog") << QList<double>{} << "1.5"
                                       << "30"
                                       << "0" << false;
    }

    void proposal()
    {
        QFETCH(QList<double>, catalog);
        QFETCH(QString, pitch);
        QFETCH(QString, flank);
        QFETCH(QString, probe);
        QFETCH(bool, sign);

        auto w = OpenWindow();
        w->mdDiamOut.Open();
        for (double d : catalog)
            w->mdDiamOut.AppendLoaded(d);
        w->dsDiamModel->Refresh();
        Type(w->ui->edBg, flank);
        Type(w->ui->edYg, flank);
        Type(w->ui->edStapka, pitch);

        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->ui->edDiam->Text(), probe);
        QCOMPARE(w->ProbeDiameterMm, probe.toDouble());
        QCOMPARE(w->ui->lSign->isHidden(), !sign);
        // The grid highlights where the walk left the catalog's cursor.
        QCOMPARE(GridRow(*w), CursorRow(w->mdDiamOut));
    }

    // Ties go to the smaller diameter; the side switch proposes with d0 read
    // back from the optimum text, here exactly 0.75.
    void tieTakesTheSmaller()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamIn, {0.5, 1.0});
        Type(w->ui->edBg, "60");
        Type(w->ui->edYg, "60");
        Type(w->ui->edStapka, "0.75");
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.75000"));
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(w->ui->edDiam->Text(), QString("0.5"));
        QVERIFY(!w->ui->lSign->isHidden()); // 0.5 <= 0.5625
    }

    // In inches the same entry is proposed; only its display differs.
    void proposalInInches()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, WireSet);
        Type(w->ui->edStapka, "1.5");
        const std::size_t millimetreCursor = w->mdDiamOut.Position();

        auto wi = OpenWindow();
        wi->FillCatalog(wi->mdDiamOut, WireSet);
        wi->Units = zevko::UnitSystem::Inches;
        Type(wi->ui->edStapka, "0.059055");
        QCOMPARE(wi->mdDiamOut.Position(), millimetreCursor);
        QCOMPARE(wi->ui->edDiam->Text(), QString("0.0341"));
        // The shown, rounded inches do not replace the catalog's diameter.
        QCOMPARE(wi->ProbeDiameterMm, w->ProbeDiameterMm);
        QCOMPARE(wi->ProbeDiameterMm, 0.866);
        QVERIFY(wi->ui->lSign->isHidden());
    }

    // The sign band is open: exactly 0.75 and 1.25 times d0 show the sign.
    void signBand_data()
    {
        QTest::addColumn<QString>("probe");
        QTest::addColumn<bool>("sign");
        QTest::newRow("0.75 d0") << "0.75" << true;
        QTest::newRow("just inside below") << "0.7501" << false;
        QTest::newRow("d0") << "1" << false;
        QTest::newRow("just inside above") << "1.2499" << false;
        QTest::newRow("1.25 d0") << "1.25" << true;
        QTest::newRow("0") << "0" << true;
    }

    void signBand()
    {
        QFETCH(QString, probe);
        QFETCH(bool, sign);
        auto w = OpenWindow();
        Type(w->ui->edBg, "60");
        Type(w->ui->edYg, "60");
        Type(w->ui->edStapka, "1");
        QCOMPARE(w->ui->lDiamN->Caption(), QString("1.00000"));
        Type(w->ui->edDiam, probe);
        QCOMPARE(w->ProbeDiameterMm, probe.toDouble());
        QCOMPARE(w->ui->lSign->isHidden(), !sign);
    }

    // Before any optimum the probe field is free and judged by nothing.
    void probeBeforeOptimum()
    {
        auto w = OpenWindow();
        Type(w->ui->edDiam, "5");
        QCOMPARE(w->ProbeDiameterMm, 0.0);
        QVERIFY(w->ui->lSign->isHidden());
    }

    void startsChangeProposesAgain()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, WireSet);
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edDiam, "1.155");
        QCOMPARE(w->ProbeDiameterMm, 1.155);
        w->mdDiamOut.SetPosition(4);
        Type(w->ui->edBrH, "2");
        QCOMPARE(w->ui->lPodem->Caption(), QString("3.00000"));
        QCOMPARE(w->ui->edDiam->Text(), QString("0.866"));
        QCOMPARE(w->ProbeDiameterMm, 0.866);
        QVERIFY(w->ui->lSign->isHidden());
    }

    void pitchChangeClearsResults()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edDiam, "0.866");
        Type(w->ui->edIzmN, "1");
        Type(w->ui->edIzmSt, "10.32496");
        QTest::keyClick(w->ui->edIzmSt, Qt::Key_Return);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        Type(w->ui->edYs, "30");
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        QVERIFY(w->ui->lRazmM->Caption().isEmpty());
        QVERIFY(w->ui->lA2->Caption().isEmpty());
        // The measured value is taken again and kept.
        QCOMPARE(w->MeasuredValueMm, 10.32496);
    }

    // An empty field stops the update after the pitch is stored. (A field
    // left empty becomes "0" when it loses the focus, so the pitch is
    // written while the emptied field still has it.)
    void emptyFieldStopsTheUpdate()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edIzmSt, "");
        QCOMPARE(QApplication::focusWidget(), w->ui->edIzmSt);
        w->ui->edStapka->SetValue(2);
        QCOMPARE(w->PitchMm, 2.0);
        QCOMPARE(w->ui->lPodem->Caption(), QString("1.50000"));
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.86603"));
        QVERIFY(w->Messages.isEmpty());
    }

    // Both flank angles 0: the optimum is 0/0. The message shows, the lead is
    // new, the optimum keeps its last value.
    void zeroFlankAnglesShowTheMessage()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edBg, "0");
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.74613"));
        QVERIFY(w->Messages.isEmpty());
        Type(w->ui->edYg, "");
        const QString optimum = w->ui->lDiamN->Caption();
        const std::string optimumText = w->Results.OptimumDiameterText;
        QVERIFY(!optimum.isEmpty());
        QTest::keyClicks(w->ui->edYg, "0");
        QCOMPARE(w->Messages, QStringList{w->ErrorText});
        QCOMPARE(w->ui->lPodem->Caption(), QString("1.50000"));
        QCOMPARE(w->ui->lDiamN->Caption(), optimum);
        QCOMPARE(w->Results.OptimumDiameterText, optimumText);
    }
};

QTEST_MAIN(TestSrDiamLeadOptimum)
#include "TestSrDiamLeadOptimum.moc"
