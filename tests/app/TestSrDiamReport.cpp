// The Copy command: fifteen lines of caption and value exactly as the window
// shows them, on the clipboard as Unicode text.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRadioButton>
#include <QtTest>

using srdiamtest::Choose;
using srdiamtest::Type;
using srdiamtest::TypeAndEnter;

namespace {

// A window whose clipboard is held by another program.
class BusyClipboardWindow : public SrDiamTester {
    bool PutOnClipboard(const QString&) override { return false; }
};

// A window in English, whatever language was stored.
template <class Window = SrDiamTester>
std::unique_ptr<Window> OpenWindow()
{
    auto window = srdiamtest::OpenWindow<Window>();
    window->EnglishClick();
    return window;
}

struct Measurement {
    bool Internal = false;
    int Quantity = 1; // 0 m, 1 M, 2 pitch diameter
    QString Beta = "30";
    QString BetaMinutes = "0";
    QString Gamma = "30";
    QString GammaMinutes = "0";
    QString Value = "10.32496";
    bool Calculate = true;
    bool Inches = false;
};

void Enter(SrDiamTester& w, const Measurement& m)
{
    if (m.Internal)
        QTest::mouseClick(w.ui->rbIn, Qt::LeftButton);
    if (m.Quantity != 1)
        Choose(w.ui->cbVidVav, m.Quantity);
    Type(w.ui->edStapka, "1.5");
    Type(w.ui->edBg, m.Beta);
    Type(w.ui->edBm, m.BetaMinutes);
    Type(w.ui->edYg, m.Gamma);
    Type(w.ui->edYm, m.GammaMinutes);
    Type(w.ui->edDiam, "0.866");
    Type(w.ui->edIzmN, "1");
    if (m.Calculate)
        TypeAndEnter(w.ui->edIzmSt, m.Value);
    else
        Type(w.ui->edIzmSt, m.Value);
    if (m.Inches)
        w.btnMMClick();
}

QString Lines(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

Q_DECLARE_METATYPE(Measurement)

class TestSrDiamReport : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    void report_data()
    {
        QTest::addColumn<Measurement>("measurement");
        QTest::addColumn<QString>("expected");

        Measurement m;
        QTest::newRow("external, M entered, millimetres") << m
                                                          << Lines({
                                                                 "Type of thread: \tExternal thread",
                                                                 "Pitch (P): \t1.5 mm",
                                                                 "Number of starts (n): \t1",
                                                                 "Lead (l): \t1.50000 mm",
                                                                 "Flank Angle (\u0412): \t30\u00B0 0' 0\"",
                                                                 "Flank Angle (Y): \t30\u00B0 0' 0\"",
                                                                 "Opt. diameter of the wires: \t0.86603 mm",
                                                                 "Diameter of the wires (dD): \t0.866 mm",
                                                                 "Material of the probing elements: \tsteel",
                                                                 "Measurement method: \tperpendicular",
                                                                 "Measuring force (F): \t1 N",
                                                                 "Measurement P.D. (M): \t10.32496 mm",
                                                                 "Pitch diameter (d2): \t9.02501 mm",
                                                                 "Measurement P.D. (m): \t9.45896 mm",
                                                                 "Correction for the meas. force: \t0.00075 mm",
                                                             });

        // The values as the inch display shows them after the switch.
        m.Inches = true;
        QTest::newRow("external, M entered, inches") << m
                                                     << Lines({
                                                            "Type of thread: \tExternal thread",
                                                            "Pitch (P): \t0.05906 in",
                                                            "Number of starts (n): \t1",
                                                            "Lead (l): \t0.05906 in",
                                                            "Flank Angle (\u0412): \t30\u00B0 0' 0\"",
                                                            "Flank Angle (Y): \t30\u00B0 0' 0\"",
                                                            "Opt. diameter of the wires: \t0.0341 in",
                                                            "Diameter of the wires (dD): \t0.03409 in",
                                                            "Material of the probing elements: \tsteel",
                                                            "Measurement method: \tperpendicular",
                                                            "Measuring force (F): \t1 N",
                                                            "Measurement P.D. (M): \t0.40649 in",
                                                            "Pitch diameter (d2): \t0.355315 in",
                                                            "Measurement P.D. (m): \t0.372400 in",
                                                            "Correction for the meas. force: \t0.000030 in",
                                                        });

        m = {};
        m.Beta = "27";
        m.BetaMinutes = "30";
        m.Gamma = "27";
        m.GammaMinutes = "30";
        m.Calculate = false;
        // The optimum of a symmetric thread is P / (2 cos 27.5 deg).
        QTest::newRow("27 degrees 30 minutes, not calculated") << m
                                                               << Lines({
                                                                      "Type of thread: \tExternal thread",
                                                                      "Pitch (P): \t1.5 mm",
                                                                      "Number of starts (n): \t1",
                                                                      "Lead (l): \t1.50000 mm",
                                                                      "Flank Angle (\u0412): \t27\u00B0 30' 0\"",
                                                                      "Flank Angle (Y): \t27\u00B0 30' 0\"",
                                                                      "Opt. diameter of the wires: \t0.84554 mm",
                                                                      "Diameter of the wires (dD): \t0.866 mm",
                                                                      "Material of the probing elements: \tsteel",
                                                                      "Measurement method: \tperpendicular",
                                                                      "Measuring force (F): \t1 N",
                                                                      "Measurement P.D. (M): \t10.32496 mm",
                                                                      "Pitch diameter (d2): \t mm",
                                                                      "Measurement P.D. (m): \t mm",
                                                                      "Correction for the meas. force: \t mm",
                                                                  });

        m = {};
        m.Internal = true;
        m.Value = "7.72354";
        // The side switch leaves the plain caption of the balls' diameter,
        // without " (dD)", until the next language change.
        QTest::newRow("internal, M entered") << m
                                             << Lines({
                                                    "Type of thread: \tInternal thread",
                                                    "Pitch (P): \t1.5 mm",
                                                    "Number of starts (n): \t1",
                                                    "Lead (l): \t1.50000 mm",
                                                    "Flank Angle (\u0412): \t30\u00B0 0' 0\"",
                                                    "Flank Angle (Y): \t30\u00B0 0' 0\"",
                                                    "Opt. diameter of the balls: \t0.86603 mm",
                                                    "Diameter of the balls: \t0.866 mm",
                                                    "Material of the probing elements: \truby",
                                                    "Measurement method: \tperpendicular",
                                                    "Measuring force (F): \t1 N",
                                                    "Measurement P.D. (M): \t7.72354 mm",
                                                    "Pitch diameter (D2): \t9.02600 mm",
                                                    "Measurement P.D. (m): \t8.58954 mm",
                                                    "Correction for the meas. force: \t0.00159 mm",
                                                });

        m = {};
        m.Quantity = 2;
        m.Value = "9.026";
        QTest::newRow("pitch diameter entered") << m
                                                << Lines({
                                                       "Type of thread: \tExternal thread",
                                                       "Pitch (P): \t1.5 mm",
                                                       "Number of starts (n): \t1",
                                                       "Lead (l): \t1.50000 mm",
                                                       "Flank Angle (\u0412): \t30\u00B0 0' 0\"",
                                                       "Flank Angle (Y): \t30\u00B0 0' 0\"",
                                                       "Opt. diameter of the wires: \t0.86603 mm",
                                                       "Diameter of the wires (dD): \t0.866 mm",
                                                       "Material of the probing elements: \tsteel",
                                                       "Measurement method: \tperpendicular",
                                                       "Measuring force (F): \t1 N",
                                                       "Pitch diameter (d2): \t9.026 mm",
                                                       "Measurement P.D. (m): \t9.45995 mm",
                                                       "Measurement P.D. (M): \t10.32595 mm",
                                                       "Correction for the meas. force: \t0.00075 mm",
                                                   });
    }

    void report()
    {
        QFETCH(Measurement, measurement);
        QFETCH(QString, expected);

        auto w = OpenWindow();
        Enter(*w, measurement);
        QVERIFY2(w->Messages.isEmpty(), qPrintable(w->Messages.join('|')));
        const QString report = w->BuildReport();
        // Line by line first, for a readable failure.
        QCOMPARE(report.split(QStringLiteral("\r\n")), expected.split(QStringLiteral("\r\n")));
        QCOMPARE(report, expected);
    }

    // Before anything is entered every line is there, the empty results with
    // their caption, separator and suffix only.
    void freshWindow()
    {
        auto w = OpenWindow();
        const QStringList lines = w->BuildReport().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines[3], QString("Lead (l): \t mm"));
        QCOMPARE(lines[6], QString("Opt. diameter of the wires: \t mm"));
        QCOMPARE(lines[12], QString("Pitch diameter (d2): \t mm"));
        QCOMPARE(lines[13], QString("Measurement P.D. (m): \t mm"));
        QCOMPARE(lines[14], QString("Correction for the meas. force: \t mm"));
    }

    // The button and its shortcut put the report on the clipboard; the
    // Bulgarian captions, the Cyrillic VE and the degree sign survive.
    void copyToClipboard_data()
    {
        QTest::addColumn<bool>("bulgarian");
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("English, button") << false << false;
        QTest::newRow("English, Ctrl+Shift+C") << false << true;
        QTest::newRow("Bulgarian, button") << true << false;
    }

    void copyToClipboard()
    {
        QFETCH(bool, bulgarian);
        QFETCH(bool, shortcut);

        auto w = OpenWindow();
        if (bulgarian)
            w->BulClick();
        Enter(*w, Measurement{});
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));

        if (shortcut)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        else
            QTest::mouseClick(w->ui->btnCopy, Qt::LeftButton);
        QTRY_COMPARE(clipboard->text(), w->BuildReport());
        QVERIFY(w->Messages.isEmpty());

        const QString text = clipboard->text();
        QVERIFY(text.contains(QStringLiteral(" (\u0412): \t30\u00B0 0' 0\"\r\n")));
        if (bulgarian)
            QVERIFY(text.startsWith(QStringLiteral("\u0422\u0438\u043F \u0440\u0435\u0437\u0431\u0430: \t")));
    }

    void clipboardBusy()
    {
        auto w = OpenWindow<BusyClipboardWindow>();
        QTest::mouseClick(w->ui->btnCopy, Qt::LeftButton);
        QCOMPARE(w->Messages, QStringList{"Cannot open clipboard"});
    }
};

QTEST_MAIN(TestSrDiamReport)
#include "TestSrDiamReport.moc"
