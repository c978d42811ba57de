// The millimetre/inch switch: what every length shows after it, what it
// leaves alone, and that it never feeds the rewritten fields back into the
// stored lengths.

#include "SrDiamTester.h"
#include "CatalogLocation.h"
#include "NumberFormat.h"
#include "TestFiles.h"
#include "ZStdCtrls.h"

#include <QClipboard>
#include <QFile>

#include <cmath>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using srdiamtest::Type;
using srdiamtest::TypeAndEnter;

using srdiamtest::OpenWindow;
using zevkotest::ReadFile;

namespace {

// The text of the unit label `index` (0 to 7).
QString UnitLabel(const SrDiamTester& w, int index)
{
    const QLabel* labels[] = {w.ui->Label6,  w.ui->Label7,  w.ui->Label8,  w.ui->Label9,
                              w.ui->Label23, w.ui->Label25, w.ui->Label27, w.ui->Label26};
    return labels[index]->text();
}

// Whether the unit button shows image `number` of the window's image list.
bool ShowsImage(const SrDiamTester& w, int number)
{
    const QSize size(22, 22);
    return w.ui->btnMM->icon().pixmap(size).toImage() == w.ImageList1.Image(number).pixmap(size).toImage();
}

// Both catalogs as the window loads them: the same five diameters.
const QByteArray CatalogFile = "[DIAM_N]\r\nCOUNT=5\r\nD1=0.5\r\nD2=0.577\r\nD3=0.866\r\nD4=1\r\nD5=1.155\r\n"
                               "[DIAM_S]\r\nCOUNT=5\r\nD1=0.5\r\nD2=0.577\r\nD3=0.866\r\nD4=1\r\nD5=1.155\r\n";

// P 1.5, n 1, 30 degree flanks: the catalog proposes 0.866.
void EnterThread(SrDiamTester& w)
{
    Type(w.ui->edStapka, "1.5");
    QCOMPARE(w.ui->edDiam->Text(), QString("0.866"));
}

// The worked example: dD 0.866, F 1 N, M 10.32496, Enter.
void Calculate(SrDiamTester& w)
{
    EnterThread(w);
    Type(w.ui->edDiam, "0.866");
    Type(w.ui->edIzmN, "1");
    TypeAndEnter(w.ui->edIzmSt, "10.32496");
    QCOMPARE(w.ui->lSrDA2->Caption(), QString("9.02501"));
}

struct Shown {
    QString Pitch, Lead, Optimum, Probe, Measured, First, Second, Correction;
    bool operator==(const Shown&) const = default;
};

Shown ShownLengths(const SrDiamTester& w)
{
    return {w.ui->edStapka->Text(), w.ui->lPodem->Caption(), w.ui->lDiamN->Caption(), w.ui->edDiam->Text(),
            w.ui->edIzmSt->Text(),  w.ui->lSrDA2->Caption(), w.ui->lRazmM->Caption(), w.ui->lA2->Caption()};
}

// How QCOMPARE prints a Shown.
char* toString(const Shown& s)
{
    return QTest::toString(
        QStringList{s.Pitch, s.Lead, s.Optimum, s.Probe, s.Measured, s.First, s.Second, s.Correction}.join(
            QStringLiteral(" | ")));
}

} // namespace

Q_DECLARE_METATYPE(Shown)

class TestSrDiamUnits : public QObject {
    Q_OBJECT

    QTemporaryDir catalogDir;
    QString catalogPath;
    int catalogFiles = 0;

private slots:
    // Every window loads both catalogs from a file of its test's own.
    void init()
    {
        SetZDecimalSeparator('.');
        QVERIFY(catalogDir.isValid());
        catalogPath = catalogDir.filePath(QStringLiteral("DEZADIRE-%1.INI").arg(++catalogFiles));
        QFile file(catalogPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(CatalogFile), CatalogFile.size());
        file.close();
        SetCatalogFilePathOverride(catalogPath);
    }

    void cleanup() { SetCatalogFilePathOverride(QString()); }

    // The unit labels, the button's image and the force's "[N]" follow each
    // click; two clicks give the first display back.
    void labelsAndImage()
    {
        auto w = OpenWindow();
        QCOMPARE(w->Units, zevko::UnitSystem::Millimetres);
        for (int round = 0; round < 2; ++round) {
            w->btnMMClick();
            QCOMPARE(w->Units, zevko::UnitSystem::Inches);
            for (int i = 0; i < 8; ++i)
                QCOMPARE(UnitLabel(*w, i), QString("[in]"));
            QVERIFY(ShowsImage(*w, 14));
            QCOMPARE(w->ui->Label21->text(), QString("[N]"));

            w->btnMMClick();
            QCOMPARE(w->Units, zevko::UnitSystem::Millimetres);
            for (int i = 0; i < 8; ++i)
                QCOMPARE(UnitLabel(*w, i), QString("[mm]"));
            QVERIFY(ShowsImage(*w, 13));
            QCOMPARE(w->ui->Label21->text(), QString("[N]"));
        }
    }

    // The button and its shortcut both switch; the shortcut works from an
    // entry field too, and has switched when the key has been handled.
    void buttonAndShortcut()
    {
        auto w = OpenWindow();
        QTest::mouseClick(w->ui->btnMM, Qt::LeftButton);
        QCOMPARE(w->Units, zevko::UnitSystem::Inches);
        w->ui->edStapka->setFocus();
        QTest::keyClick(w->ui->edStapka, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(w->Units, zevko::UnitSystem::Millimetres);
        QCOMPARE(w->ui->Label6->text(), QString("[mm]"));
    }

    // Keys typed right after Ctrl+U are typed in the new unit: the switch
    // does not wait for the button's pressed look and then rewrite them.
    void keysTypedRightAfterTheSwitch()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        QTest::keyClick(w->ui->edStapka, Qt::Key_U, Qt::ControlModifier);
        QTest::keyClick(w->ui->edStapka, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w->ui->edStapka, "0.0625");
        QCOMPARE(w->ui->edStapka->Text(), QString("0.0625"));
        QCOMPARE(w->PitchMm, 0.0625 * 25.4);
        // Nothing arrives later to undo it.
        QTest::qWait(300);
        QCOMPARE(w->Units, zevko::UnitSystem::Inches);
        QCOMPARE(w->ui->edStapka->Text(), QString("0.0625"));
        QCOMPARE(w->PitchMm, 0.0625 * 25.4);
    }

    // A catalog cell still being typed that holds no number stops the
    // switch: the refusal is shown and nothing changes.
    void refusedCellStopsTheSwitch()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet2);
        w->ui->dbgrKatDiam->setFocus();
        QTest::mouseClick(w->ui->btnIns, Qt::LeftButton);
        for (const QChar c : QString("abc"))
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
        QTRY_COMPARE(w->Messages.size(), 1);
        QCOMPARE(w->Units, zevko::UnitSystem::Millimetres);
        QCOMPARE(w->ui->Label6->text(), QString("[mm]"));
        QCOMPARE(w->ui->edStapka->Text(), QString("1.5"));
        QVERIFY(w->mdDiamOut.IsOpen());
        QCOMPARE(w->mdDiamOut.Count(), std::size_t{6}); // the new row is still there
        QCOMPARE(ReadFile(catalogPath), CatalogFile);
    }

    // The rewritten fields run their change handlers with change handling
    // off, and it is on again afterwards, in both directions.
    void changeHandlingOffForTheSpan()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        QList<bool> seen;
        for (TZFloatEdit* field : {w->ui->edStapka, w->ui->edDiam, w->ui->edIzmSt})
            connect(field, &TZFloatEdit::OnChange, w.get(), [&seen, &w] { seen << w->EventsEnabled; });
        Type(w->ui->edIzmSt, "10.32496");
        seen.clear();

        w->btnMMClick();
        QVERIFY(!seen.isEmpty());
        QVERIFY(!seen.contains(true));
        QVERIFY(w->EventsEnabled);
        seen.clear();
        w->btnMMClick();
        QVERIFY(!seen.isEmpty());
        QVERIFY(!seen.contains(true));
        QVERIFY(w->EventsEnabled);

        // Typing is handled again.
        Type(w->ui->edStapka, "2");
        QCOMPARE(w->PitchMm, 2.0);
        QCOMPARE(w->ui->lPodem->Caption(), QString("2.00000"));
    }

    // P = 1.5 mm: 0.05906 in inches, 1.5 again in millimetres; the stored
    // lengths stay, and no diameter is proposed anew (the typed 0.9 is not
    // the catalog's proposal 0.866).
    void roundTripKeepsTheStoredLengths()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        Type(w->ui->edDiam, "0.9");
        QCOMPARE(w->ProbeDiameterMm, 0.9);
        const Shown millimetres = ShownLengths(*w);
        QCOMPARE(millimetres.Lead, QString("1.50000"));
        QCOMPARE(millimetres.Optimum, QString("0.86603"));

        w->btnMMClick();
        const Shown inches = ShownLengths(*w);
        QCOMPARE(inches.Pitch, QString("0.05906"));
        QCOMPARE(inches.Lead, QString("0.05906"));   // general text, 5 decimals
        QCOMPARE(inches.Optimum, QString("0.0341")); // 0.034095..., no trailing zero
        QCOMPARE(inches.Probe, QString("0.03543"));
        QCOMPARE(inches.Measured, QString("0"));
        QCOMPARE(w->PitchMm, 1.5);
        QCOMPARE(w->ProbeDiameterMm, 0.9);

        w->btnMMClick();
        QCOMPARE(ShownLengths(*w), millimetres);
        QCOMPARE(w->PitchMm, 1.5);
        QCOMPARE(w->ProbeDiameterMm, 0.9);
        QCOMPARE(w->Results.LeadText, std::string("1.50000"));
        QCOMPARE(w->Results.OptimumDiameterText, std::string("0.86603"));
        QVERIFY(w->Messages.isEmpty());
    }

    // The switch writes a changed catalog and reads both back, each on its
    // first entry; an unchanged catalog is not written.
    void catalogsWrittenAndReloaded()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        QVERIFY(w->mdDiamOut.Position() > 0); // where the proposal's walk stopped
        // A new wire typed in inches: 0.1 in is 2.54 mm.
        w->mdDiamOut.Append();
        QVERIFY(w->mdDiamOut.SetField(zevko::CatalogField::DIAMi, 0.1));
        QVERIFY(w->mdDiamOut.Post(zevko::CatalogField::DIAMi));
        QVERIFY(w->mdDiamOut.Changed());
        w->mdDiamIn.SetPosition(3);
        const QByteArray before = ReadFile(catalogPath);

        w->btnMMClick();
        const QByteArray after = ReadFile(catalogPath);
        QVERIFY(after.contains("COUNT=6"));
        QVERIFY(after.contains("D6=2.54"));
        QCOMPARE(after.mid(after.indexOf("[DIAM_S]")), before.mid(before.indexOf("[DIAM_S]")));

        for (const zevko::ProbeCatalog* catalog : {&w->mdDiamOut, &w->mdDiamIn}) {
            QVERIFY(catalog->IsOpen());
            QVERIFY(!catalog->Changed());
            QCOMPARE(catalog->Position(), std::size_t{0});
        }
        QCOMPARE(w->mdDiamOut.Count(), std::size_t{6});
        QCOMPARE(w->mdDiamOut.Entries().back().DIAMm, 2.54);
        QCOMPARE(w->mdDiamIn.Count(), std::size_t{5});
        QCOMPARE(w->ui->dbgrKatDiam->currentIndex().row(), 0);
        // The probe diameter chosen before stays.
        QCOMPARE(w->ProbeDiameterMm, 0.866);
        QVERIFY(w->Messages.isEmpty());
    }

    // The shown, rounded inch pitch (0.05906 in would be 1.500124 mm) never
    // becomes the stored pitch: the next change of the thread keeps 1.5 mm.
    void nextChangeKeepsTheExactPitch()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        w->btnMMClick();
        Type(w->ui->edBrH, "2");
        QCOMPARE(w->PitchMm, 1.5);
        // 3 mm / 25.4
        QCOMPARE(w->ui->lPodem->Caption(), QString("0.118110"));
    }

    // Millimetres, inches, millimetres again (10.32496 shows as 10.325),
    // then a change of any input: the stored lengths are still the typed
    // ones and the pitch diameter is 9.02501, in inches as in millimetres.
    void roundTripThenAnyChangeKeepsTheLengths_data()
    {
        QTest::addColumn<int>("switches");
        QTest::newRow("mm, in, mm") << 2;
        QTest::newRow("mm, in") << 1;
    }

    void roundTripThenAnyChangeKeepsTheLengths()
    {
        QFETCH(int, switches);
        auto w = OpenWindow();
        Calculate(*w);
        for (int i = 0; i < switches; ++i)
            w->btnMMClick();
        Type(w->ui->edBrH, "1");
        Type(w->ui->edDiam, switches == 2 ? "0.866" : "0.034094488188976");
        Type(w->ui->edIzmN, "1");
        QCOMPARE(w->PitchMm, 1.5);
        QCOMPARE(w->MeasuredValueMm, 10.32496);
        w->btnCalcClick();
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("9.02501"));
    }

    // The inch proposal (0.0455 in) and Select in inches (0.04547 in) keep
    // the catalog's 1.155 mm: the same pitch diameter as in millimetres.
    // P 2, M 15, F 0 with the wire 1.155 give 13.26514.
    void inchProposalAndSelectKeepTheCatalogDiameter()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "2");
        QCOMPARE(w->ui->edDiam->Text(), QString("1.155"));
        Type(w->ui->edIzmSt, "15");
        w->btnCalcClick();
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("13.26514"));

        w->btnMMClick();
        Type(w->ui->edBrH, "1");
        QCOMPARE(w->ui->edDiam->Text(), QString("0.0455"));
        QCOMPARE(w->ProbeDiameterMm, 1.155);
        w->btnCalcClick();
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("13.26514"));

        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet2);
        w->mdDiamOut.SetPosition(4);
        w->btnSelClick();
        QCOMPARE(w->ui->edDiam->Text(), QString("0.04547"));
        QCOMPARE(w->ProbeDiameterMm, 1.155);
        w->btnCalcClick();
        QCOMPARE(QString::fromStdString(w->Results.DiameterText), QString("13.26514"));

        // Typed over by the user, the field's own number counts.
        Type(w->ui->edDiam, "0.04547");
        QCOMPARE(w->ProbeDiameterMm, 0.04547 * 25.4);
    }

    // The same measurement typed in inches (P 0.07874 in, M 0.590551 in,
    // a few nanometres off 2 and 15 mm) gives the same pitch diameter within
    // 0.00002 mm.
    void measurementTypedInInches()
    {
        auto w = OpenWindow();
        w->btnMMClick();
        Type(w->ui->edStapka, "0.07874");
        QCOMPARE(w->ProbeDiameterMm, 1.155);
        Type(w->ui->edIzmSt, "0.590551");
        w->btnCalcClick();
        const long double d2 = zevko::ParseFieldValue(w->Results.DiameterText, '.');
        QVERIFY2(std::fabs(d2 - 13.26514L) <= 0.00002L, w->Results.DiameterText.c_str());
    }

    // A measured value typed but not calculated is converted; the empty
    // results stay empty; the force keeps its number.
    void typedMeasuredValue()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        Type(w->ui->edIzmN, "1.5");
        Type(w->ui->edIzmSt, "10.32496");
        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0.40649"));
        QCOMPARE(w->MeasuredValueMm, 10.32496);
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        QVERIFY(w->ui->lRazmM->Caption().isEmpty());
        QVERIFY(w->ui->lA2->Caption().isEmpty());
        QCOMPARE(w->ui->edIzmN->Text(), QString("1.5"));

        // Back in millimetres the field shows 4 decimals; the stored value
        // is the typed one.
        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString("10.325"));
        QCOMPARE(w->MeasuredValueMm, 10.32496);
        QCOMPARE(w->ui->edIzmN->Text(), QString("1.5"));
    }

    // A measured value of 0 leaves the field as it is in inches (here still
    // empty while being typed); millimetres show the 0.
    void measuredValueZeroLeftAlone()
    {
        auto w = OpenWindow();
        EnterThread(*w);
        Type(w->ui->edIzmSt, "");
        QCOMPARE(w->MeasuredValueMm, 0.0);
        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString());
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0"));
    }

    // An internal thread measured with M = 0 has results. They are shown in
    // inches like any others, never as millimetre numbers under "[in]".
    void resultsOfAZeroMeasurementConverted()
    {
        auto w = OpenWindow();
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Type(w->ui->edStapka, "1.5");
        Type(w->ui->edDiam, "0.866");
        Type(w->ui->edIzmN, "1");
        TypeAndEnter(w->ui->edIzmSt, "0");
        QVERIFY2(w->Messages.isEmpty(), qPrintable(w->Messages.join('|')));
        const QString first = QString::fromStdString(w->Results.DiameterText);
        QVERIFY(!first.isEmpty());
        QCOMPARE(w->ui->lSrDA2->Caption(), first);

        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString("0"));
        const auto inches = [&](const std::string& mm) {
            return QString::fromStdString(*zevko::InchTextFromMmText(mm, 6, '.'));
        };
        QCOMPARE(w->ui->lSrDA2->Caption(), inches(w->Results.DiameterText));
        QCOMPARE(w->ui->lRazmM->Caption(), inches(w->Results.IndicatedValueText));
        QCOMPARE(w->ui->lA2->Caption(), inches(w->Results.ForceCorrectionText));
        w->btnMMClick();
        QCOMPARE(w->ui->lSrDA2->Caption(), first);
    }

    // The inch formats of the window, by the operation that last wrote the
    // element, for the worked example (lead 1.5, optimum 0.86603, probe
    // 0.866, M 10.32496, results 9.02501 / 9.45896 / 0.00075).
    void inchFormats_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<Shown>("shown");

        QTest::newRow("unit switch after a calculation")
            << "switch"
            << Shown{"0.05906", "0.05906", "0.0341", "0.03409", "0.40649", "0.355315", "0.372400", "0.000030"};
        QTest::newRow("calculation in inches")
            << "switch, calculate"
            << Shown{"0.05906", "0.059055", "0.034096", "0.03409", "0.40649", "0.355315", "0.372400", "0.000030"};
        // The pitch stays 1.5 mm (not the shown 0.05906 in): lead 1.5 / 25.4
        // = 0.059055 in, optimum 0.86603 / 25.4 = 0.03410 in; the proposal
        // 0.866 shows with 4 decimals.
        QTest::newRow("lead update in inches")
            << "switch, starts" << Shown{"0.05906", "0.059055", "0.03410", "0.0341", "0.40649", "", "", ""};
        QTest::newRow("side switch in inches")
            << "switch, side" << Shown{"0.05906", "0.05906", "0.0341", "0.0341", "0", "", "", ""};
    }

    void inchFormats()
    {
        QFETCH(QString, operation);
        QFETCH(Shown, shown);

        auto w = OpenWindow();
        Calculate(*w);
        w->btnMMClick();
        if (operation.endsWith("calculate"))
            QTest::keyClick(w->ui->edIzmSt, Qt::Key_Return);
        else if (operation.endsWith("starts"))
            Type(w->ui->edBrH, "1");
        else if (operation.endsWith("side"))
            QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QVERIFY2(w->Messages.isEmpty(), qPrintable(w->Messages.join('|')));
        QCOMPARE(ShownLengths(*w), shown);
    }

    // With the decimal comma the stored texts are read back and the inch
    // texts written with it.
    void decimalComma()
    {
        SetZDecimalSeparator(',');
        auto w = OpenWindow();
        Type(w->ui->edStapka, "1,5");
        Type(w->ui->edIzmN, "1");
        TypeAndEnter(w->ui->edIzmSt, "10,32496");
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9,02501"));
        w->btnMMClick();
        QCOMPARE(ShownLengths(*w),
                 (Shown{"0,05906", "0,05906", "0,0341", "0,03409", "0,40649", "0,355315", "0,372400", "0,000030"}));
        w->btnMMClick();
        QCOMPARE(ShownLengths(*w),
                 (Shown{"1,5", "1,50000", "0,86603", "0,866", "10,325", "9,02501", "9,45896", "0,00075"}));
    }

    // After a calculation: inches and back give the millimetre texts again.
    void resultsBackInMillimetres()
    {
        auto w = OpenWindow();
        Calculate(*w);
        const Shown millimetres = ShownLengths(*w);
        w->btnMMClick();
        QTest::keyClick(w->ui->edIzmSt, Qt::Key_Return); // a calculation in inches
        w->btnMMClick();
        Shown expected = millimetres;
        expected.Probe = "0.866";
        expected.Measured = "10.325"; // 4 decimals
        QCOMPARE(ShownLengths(*w), expected);
        QCOMPARE(w->MeasuredValueMm, 10.32496);
    }

    // A number pasted with its unit goes in when the unit is the field's,
    // and is refused whole when it is another.
    void pastedUnitIsTheFieldsUnit()
    {
        auto w = OpenWindow();
        const auto paste = [](TZFloatEdit* field, const QString& text) {
            field->setFocus();
            field->selectAll();
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            return field->Text();
        };
        QCOMPARE(paste(w->ui->edStapka, "1.5 mm"), QString("1.5"));
        QCOMPARE(w->PitchMm, 1.5);
        QCOMPARE(paste(w->ui->edIzmN, "2 N"), QString("2"));
        QCOMPARE(paste(w->ui->edBg, "29.5\u00B0"), QString("29.5"));

        w->btnMMClick();
        QCOMPARE(paste(w->ui->edStapka, "0.0625 in"), QString("0.0625"));
        QCOMPARE(w->PitchMm, 1.5875);
        const QString before = w->ui->edIzmSt->Text();
        QCOMPARE(paste(w->ui->edIzmSt, "10.32496 mm"), before);
        QCOMPARE(paste(w->ui->edDiam, "0.0341 IN"), QString("0.0341"));
    }
};

QTEST_MAIN(TestSrDiamUnits)
#include "TestSrDiamUnits.moc"
