// The input handlers: thread side, measured quantity, measured value,
// material, force and method, each driven through the real widgets.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QtTest>

using srdiamtest::Choose;
using srdiamtest::OpenWindow;
using srdiamtest::Type;
using srdiamtest::TypeAndEnter;

namespace {

// External thread, P = 1.5, dD = 0.866, F = 1, M = 10.32496, calculated.
void Calculated(SrDiamTester& w)
{
    Type(w.ui->edStapka, "1.5");
    Type(w.ui->edDiam, "0.866");
    Type(w.ui->edIzmN, "1");
    TypeAndEnter(w.ui->edIzmSt, "10.32496");
    QCOMPARE(w.ui->lSrDA2->Caption(), QString("9.02501"));
    QCOMPARE(w.ui->lRazmM->Caption(), QString("9.45896"));
    QCOMPARE(w.ui->lA2->Caption(), QString("0.00075"));
}

bool ResultsEmpty(const SrDiamTester& w)
{
    return w.ui->lSrDA2->Caption().isEmpty() && w.ui->lRazmM->Caption().isEmpty() && w.ui->lA2->Caption().isEmpty() &&
           w.Results.DiameterText.empty() && w.Results.IndicatedValueText.empty() &&
           w.Results.ForceCorrectionText.empty();
}

} // namespace

class TestSrDiamInputs : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    void firstStartIsExternal()
    {
        auto w = OpenWindow();
        QVERIFY(w->ui->rbOut->isChecked());
        QCOMPARE(w->DiameterSymbol, QChar('d'));
        QVERIFY(!w->ui->cbMaterial->isEnabled());
        QCOMPARE(w->ui->cbMaterial->ItemIndex(), 0);
        QCOMPARE(w->ui->cbIzm->ItemIndex(), 0);
        QCOMPARE(w->ui->cbVidVav->ItemIndex(), 1);
        QVERIFY(w->ui->ImageOut->isVisible());
        QVERIFY(!w->ui->ImageIn->isVisible());
        QCOMPARE(w->dsDiam, &w->mdDiamOut);
        QCOMPARE(w->ui->pcDaten->currentWidget(), w->ui->TabSheet1);
        QCOMPARE(w->ErrorText, QString("No plausible entries. Please correct!"));
    }

    void sideSwitch()
    {
        auto w = OpenWindow();
        Calculated(*w);

        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QVERIFY(!w->ui->rbOut->isChecked());
        QCOMPARE(w->DiameterSymbol, QChar('D'));
        QVERIFY(w->ui->cbMaterial->isEnabled());
        QCOMPARE(w->ui->cbMaterial->ItemIndex(), 1);
        QVERIFY(!w->ui->ImageOut->isVisible());
        QVERIFY(w->ui->ImageIn->isVisible());
        QCOMPARE(w->ui->lODN->text(), QString("Opt. diameter of the balls"));
        QCOMPARE(w->ui->lDN->text(), QString("Diameter of the balls"));
        QCOMPARE(w->ui->lRes4->text(), QString("Pitch diameter (D2)"));
        QCOMPARE(w->ui->cbVidVav->itemText(2), QString("Pitch diameter (D2)"));
        QCOMPARE(w->dsDiam, &w->mdDiamIn);
        QCOMPARE(w->dsDiamModel->Catalog(), &w->mdDiamIn);
        // Results, measured value and probe diameter start afresh; the lead
        // and the optimum do not depend on the side.
        QVERIFY(ResultsEmpty(*w));
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0"));
        QCOMPARE(w->MeasuredValueMm, 0.0);
        QCOMPARE(w->ui->edDiam->Text(), QString("0"));
        QCOMPARE(w->ProbeDiameterMm, 0.0);
        QCOMPARE(w->ui->lPodem->Caption(), QString("1.50000"));
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.86603"));

        // Clicking the side already chosen changes nothing.
        Type(w->ui->edIzmSt, "7.7");
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(w->ui->edIzmSt->Text(), QString("7.7"));

        QTest::mouseClick(w->ui->rbOut, Qt::LeftButton);
        QCOMPARE(w->DiameterSymbol, QChar('d'));
        QVERIFY(!w->ui->cbMaterial->isEnabled());
        QCOMPARE(w->ui->cbMaterial->ItemIndex(), 0);
        QVERIFY(w->ui->ImageOut->isVisible());
        QVERIFY(!w->ui->ImageIn->isVisible());
        QCOMPARE(w->ui->lODN->text(), QString("Opt. diameter of the wires"));
        QCOMPARE(w->ui->lDN->text(), QString("Diameter of the wires"));
        QCOMPARE(w->ui->lRes4->text(), QString("Pitch diameter (d2)"));
        QCOMPARE(w->ui->cbVidVav->itemText(2), QString("Pitch diameter (d2)"));
        QCOMPARE(w->dsDiam, &w->mdDiamOut);
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0"));
    }

    // With the pitch diameter entered the row names m, whatever the side.
    void sideSwitchKeepsTheMCaption()
    {
        auto w = OpenWindow();
        Choose(w->ui->cbVidVav, 2);
        QCOMPARE(w->ui->lRes4->text(), QString("Measurement P.D. (m)"));
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(w->ui->lRes4->text(), QString("Measurement P.D. (m)"));
        QTest::mouseClick(w->ui->rbOut, Qt::LeftButton);
        QCOMPARE(w->ui->lRes4->text(), QString("Measurement P.D. (m)"));
    }

    void sideSwitchProposesFromTheOtherCatalog_data()
    {
        QTest::addColumn<QList<double>>("balls");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<bool>("sign");
        QTest::newRow("nearest ball") << QList<double>{0.6, 0.8, 1.0} << "0.8" << false;
        QTest::newRow("empty ball catalog") << QList<double>{} << "0" << false;
        QTest::newRow("only balls far below") << QList<double>{0.3, 0.5} << "0.5" << true;
    }

    void sideSwitchProposesFromTheOtherCatalog()
    {
        QFETCH(QList<double>, balls);
        QFETCH(QString, probe);
        QFETCH(bool, sign);
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, {0.577, 0.866, 1.155});
        w->mdDiamIn.Open();
        for (double d : balls)
            w->mdDiamIn.AppendLoaded(d);
        Type(w->ui->edStapka, "1.5");
        QCOMPARE(w->ui->edDiam->Text(), QString("0.866"));

        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(w->ui->edDiam->Text(), probe);
        QCOMPARE(w->ProbeDiameterMm, probe.toDouble());
        if (!balls.isEmpty())
            QCOMPARE(w->ui->lSign->isHidden(), !sign);
        QVERIFY(w->Messages.isEmpty());
    }

    // The result rows name the two quantities that were not entered.
    void measuredQuantity_data()
    {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<QString>("indicatedRow");
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("m entered") << 0 << "Measurement P.D. (M)"
                                   << "Pitch diameter (d2)";
        QTest::newRow("pitch diameter entered") << 2 << "Measurement P.D. (M)"
                                                << "Measurement P.D. (m)";
    }

    void measuredQuantity()
    {
        QFETCH(int, quantity);
        QFETCH(QString, indicatedRow);
        QFETCH(QString, firstRow);
        auto w = OpenWindow();
        Calculated(*w);
        Choose(w->ui->cbVidVav, quantity);
        QCOMPARE(w->ui->cbVidVav->ItemIndex(), quantity);
        QCOMPARE(w->ui->lVidIzm->text(), indicatedRow);
        QCOMPARE(w->ui->lRes4->text(), firstRow);
        QVERIFY(ResultsEmpty(*w));
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0"));
        QCOMPARE(w->MeasuredValueMm, 0.0);
        QCOMPARE(QApplication::focusWidget(), w->ui->edIzmSt);

        // Back to M entered.
        Choose(w->ui->cbVidVav, 1);
        QCOMPARE(w->ui->lVidIzm->text(), QString("Measurement P.D. (m)"));
        QCOMPARE(w->ui->lRes4->text(), QString("Pitch diameter (d2)"));
    }

    void internalPitchDiameterRowUsesCapitalD()
    {
        auto w = OpenWindow();
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Choose(w->ui->cbVidVav, 0);
        QCOMPARE(w->ui->lRes4->text(), QString("Pitch diameter (D2)"));
    }

    void forceClearsOnlyTheCorrection()
    {
        auto w = OpenWindow();
        Calculated(*w);
        Type(w->ui->edIzmN, "2");
        QVERIFY(w->ui->lA2->Caption().isEmpty());
        QVERIFY(w->Results.ForceCorrectionText.empty());
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        QCOMPARE(w->ui->lRazmM->Caption(), QString("9.45896"));
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("9.02501"));
    }

    void methodClearsNothing()
    {
        auto w = OpenWindow();
        Calculated(*w);
        Choose(w->ui->cbIzm, 1);
        QCOMPARE(w->ui->cbIzm->ItemIndex(), 1);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        QCOMPARE(w->ui->lA2->Caption(), QString("0.00075"));
    }

    void materialClearsAllResults()
    {
        auto w = OpenWindow();
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edDiam, "0.866");
        Type(w->ui->edIzmN, "1");
        TypeAndEnter(w->ui->edIzmSt, "7.7232");
        QVERIFY(!w->ui->lSrDA2->Caption().isEmpty());
        Choose(w->ui->cbMaterial, 0);
        QCOMPARE(w->ui->cbMaterial->ItemIndex(), 0);
        QVERIFY(ResultsEmpty(*w));
        QCOMPARE(w->MeasuredValueMm, 7.7232);
    }

    void measuredValueClearsResults()
    {
        auto w = OpenWindow();
        Calculated(*w);
        Type(w->ui->edIzmSt, "10.3");
        QVERIFY(ResultsEmpty(*w));
        QCOMPARE(w->MeasuredValueMm, 10.3);
        // The lead and the optimum stay.
        QCOMPARE(w->ui->lPodem->Caption(), QString("1.50000"));
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.86603"));
    }

    void measuredValueInInches()
    {
        auto w = OpenWindow();
        w->Units = zevko::UnitSystem::Inches;
        Type(w->ui->edIzmSt, "0.5");
        QCOMPARE(w->MeasuredValueMm, 12.7);
    }

    // Without change handling (as during a unit switch) typing feeds nothing back.
    void changeHandlingOff()
    {
        auto w = OpenWindow();
        Calculated(*w);
        w->EventsEnabled = false;
        Type(w->ui->edStapka, "2");
        Type(w->ui->edDiam, "0.9");
        Type(w->ui->edIzmSt, "11");
        Type(w->ui->edIzmN, "3");
        QCOMPARE(w->PitchMm, 1.5);
        QCOMPARE(w->ProbeDiameterMm, 0.866);
        QCOMPARE(w->MeasuredValueMm, 10.32496);
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        QCOMPARE(w->ui->lA2->Caption(), QString("0.00075"));
    }
};

QTEST_MAIN(TestSrDiamInputs)
#include "TestSrDiamInputs.moc"
