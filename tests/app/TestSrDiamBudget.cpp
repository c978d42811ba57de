// The uncertainty budget in the window: its page (built when first shown),
// the figures against the core and the published case, the expanded
// uncertainty under the results and its clearing, the critical-thread
// warning, Copy budget and the stored entries.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include "NumberFormat.h"
#include "UncertaintyBudget.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;
using srdiamtest::Choose;
using srdiamtest::Type;
using srdiamtest::TypeAndEnter;

namespace {

// A window whose clipboard is held by another program.
class BusyClipboardWindow : public SrDiamTester {
    bool PutOnClipboard(const QString&) override { return false; }
};

void RemoveSettings()
{
    {
        QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
        key.clear();
        key.sync();
    }
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  u"/Brantel/RaradeRI.conf"_s);
}

template <class Field = TZFloatEdit>
Field* PageField(SrDiamTester& w, const QString& name)
{
    auto* field = w.findChild<Field*>(name);
    if (!field)
        qWarning("no field %s", qPrintable(name));
    return field;
}

QString PageText(SrDiamTester& w, const QString& name)
{
    const auto* label = w.findChild<QLabel*>(name);
    return label ? label->text() : u"<missing %1>"_s.arg(name);
}

void ShowPage(SrDiamTester& w)
{
    w.ui->pcDaten->setCurrentWidget(w.TabSheet4);
}

// The thread of the published case: M10x1.5 external, wire 0.866 mm, F 1 N,
// M 10.32496 mm.
struct Thread {
    QString Pitch = u"1.5"_s;
    QString Flank = u"30"_s;
    QString Probe = u"0.866"_s;
    QString Force = u"1"_s;
    QString Value = u"10.32496"_s;
    int Quantity = 1; // 0 m, 1 M, 2 pitch diameter
};

QString Decimal(QString text, char separator)
{
    if (separator == ',')
        text.replace(u'.', u',');
    return text;
}

void EnterThread(SrDiamTester& w, const Thread& t, char separator)
{
    if (t.Quantity != 1)
        Choose(w.ui->cbVidVav, t.Quantity);
    Type(w.ui->edStapka, Decimal(t.Pitch, separator));
    Type(w.ui->edBg, t.Flank);
    Type(w.ui->edYg, t.Flank);
    Type(w.ui->edDiam, Decimal(t.Probe, separator));
    Type(w.ui->edIzmN, Decimal(t.Force, separator));
    TypeAndEnter(w.ui->edIzmSt, Decimal(t.Value, separator));
}

// The published budget's entries, typed on the page (in micrometres,
// arcminutes) as a technician types them; `typed` is the separator typed,
// which the field turns into the program's.
void EnterPublishedBudget(SrDiamTester& w, bool independent, char typed)
{
    ShowPage(w);
    const auto set = [&](const QString& name, const QString& value) {
        Type(PageField(w, name), Decimal(value, typed));
    };
    set(u"edBudgetIndicated"_s, u"0.30"_s);
    Choose(PageField<TZComboBox>(w, u"cbBudgetIndicatedKind"_s), 1);
    set(u"edBudgetIndicatedK"_s, u"2"_s);
    set(u"edBudgetRepeatability"_s, u"0.20"_s);
    set(u"edBudgetReadings"_s, u"3"_s);
    set(u"edBudgetProbes"_s, u"0.38"_s);
    Choose(PageField<TZComboBox>(w, u"cbBudgetProbesKind"_s), 1);
    set(u"edBudgetProbesK"_s, u"2"_s);
    Choose(PageField<TZComboBox>(w, u"cbBudgetProbes"_s), independent ? 1 : 0);
    set(u"edBudgetForceModel"_s, u"0.15"_s);
    Choose(PageField<TZComboBox>(w, u"cbBudgetForceModelKind"_s), 2);
    set(u"edBudgetOther"_s, u"0.2"_s);
    Choose(PageField<TZComboBox>(w, u"cbBudgetOtherKind"_s), 2);
    for (const QString& flank : {u"Beta"_s, u"Gamma"_s}) {
        set(u"edBudget"_s + flank, u"10"_s);
        Choose(PageField<TZComboBox>(w, u"cbBudget"_s + flank + u"Kind"_s), 2);
    }
    w.ui->pcDaten->setCurrentWidget(w.ui->TabSheet1);
}

std::unique_ptr<SrDiamTester> OpenEnglish()
{
    auto w = srdiamtest::OpenWindow();
    w->EnglishClick();
    return w;
}

long double Number(const QString& text, char separator)
{
    return zevko::ParseFieldValue(text.toStdString(), separator);
}

} // namespace

class TestSrDiamBudget : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SetZDecimalSeparator('.');
        RemoveSettings();
    }
    void cleanup()
    {
        SetZDecimalSeparator('.');
        RemoveSettings();
    }

    // The window starts with an empty fourth tab; its contents come when
    // the page is first shown. The design's three pages keep their indices.
    void pageIsBuiltWhenFirstShown()
    {
        auto w = OpenEnglish();
        QCOMPARE(w->ui->pcDaten->count(), 4);
        QCOMPARE(w->ui->pcDaten->widget(0), w->ui->TabSheet1);
        QCOMPARE(w->ui->pcDaten->widget(1), w->ui->TabSheet2);
        QCOMPARE(w->ui->pcDaten->widget(2), w->ui->TabSheet3);
        QCOMPARE(w->ui->pcDaten->widget(3), w->TabSheet4);
        QCOMPARE(w->ui->pcDaten->tabText(3), u"Uncertainty"_s);
        QVERIFY(!w->BudgetPage);
        QVERIFY(!w->findChild<TZFloatEdit*>(u"edBudgetIndicated"_s));

        ShowPage(*w);
        QVERIFY(w->BudgetPage);
        for (const char* row : {"Indicated", "Repeatability", "Probes", "Pitch", "Beta", "Gamma", "Force", "ForceModel",
                                "TemperatureDifference", "ExpansionDifference", "Other"}) {
            auto* field = w->findChild<TZFloatEdit*>(u"edBudget"_s + QLatin1String(row));
            QVERIFY2(field && field->isVisible(), row);
        }
        QCOMPARE(PageText(*w, u"lBudgetNameIndicated"_s),
                 u"Indicated value (instrument, resolution, setting standard)"_s);
        QCOMPARE(PageText(*w, u"lBudgetUnitBeta"_s), u"\u2032"_s);
        QCOMPARE(PageText(*w, u"lBudgetUnitExpansionDifference"_s), u"10\u207B\u2076/K"_s);
        QCOMPARE(PageText(*w, u"lBudgetStatus"_s), u"Calculate a result from m or M to see its uncertainty budget."_s);

        // From the tab bar, Tab walks the rows: value, kind, k; s then n.
        auto* tabBar = w->ui->pcDaten->findChild<QTabBar*>();
        tabBar->setFocus();
        QStringList walk;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walk << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walk, (QStringList{u"edBudgetIndicated"_s, u"cbBudgetIndicatedKind"_s, u"edBudgetIndicatedK"_s,
                                    u"edBudgetRepeatability"_s, u"edBudgetReadings"_s, u"edBudgetProbes"_s}));
        // The k of an entry that is not expanded is not asked for.
        QVERIFY(!PageField(*w, u"edBudgetBetaK"_s)->isEnabled());

        // The language switch relabels the page.
        w->BulClick();
        QCOMPARE(w->ui->pcDaten->tabText(3), u"Неопределеност"_s);
        QCOMPARE(PageText(*w, u"lBudgetNameProbes"_s), u"Диаметър на измервателните елементи (всеки)"_s);
        QCOMPARE(PageField<TZComboBox>(*w, u"cbBudgetIndicatedKind"_s)->itemText(1), u"разширена неопределеност (k)"_s);
    }

    // The published M10x1.5 case: U = 1.24 um (k = 2) with correlated wires,
    // 0.85 um with independent ones; typed with either separator, shown with
    // the program's.
    void publishedCase_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("independent");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("point, correlated") << '.' << false << u"1.24"_s;
        QTest::newRow("point, independent") << '.' << true << u"0.85"_s;
        QTest::newRow("comma, correlated") << ',' << false << u"1.24"_s;
        QTest::newRow("comma, independent") << ',' << true << u"0.85"_s;
    }

    void publishedCase()
    {
        QFETCH(char, separator);
        QFETCH(bool, independent);
        QFETCH(QString, expanded);
        SetZDecimalSeparator(separator);
        auto w = OpenEnglish();
        EnterPublishedBudget(*w, independent, separator);
        EnterThread(*w, {}, separator);

        QVERIFY(w->ShownBudget);
        // U as the certificate states it, two decimals.
        const long double U = w->ShownBudget->ExpandedUm;
        QCOMPARE(QString::number(static_cast<double>(U), 'f', 2), expanded);
        // The visible U, with the window's separator.
        QCOMPARE(w->lU->Caption(), QString::fromStdString(*zevko::FormatMicrometres(U, separator)));
        QVERIFY(std::fabs(Number(w->lU->Caption(), separator) - expanded.toDouble()) <= 0.005);
        QCOMPARE(w->lUncertainty->text(), u"Expanded uncertainty U (k = 2)"_s);

        // The rows' standard uncertainties, by hand: 0.30/2, 0.20/sqrt(3),
        // 0.38/2, 10'/sqrt(3), 0.15/sqrt(3), 0.2/sqrt(3).
        ShowPage(*w);
        const auto shown = [&](const char* name) { return PageText(*w, QLatin1String(name)); };
        const auto number = [&](const char* text) { return Decimal(QLatin1String(text), separator); };
        QCOMPARE(shown("lBudgetUIndicated"), number("0.1500") + u" \u00B5m"_s);
        QCOMPARE(shown("lBudgetURepeatability"), number("0.1155") + u" \u00B5m"_s);
        QCOMPARE(shown("lBudgetUProbes"), number("0.1900") + u" \u00B5m"_s);
        QCOMPARE(shown("lBudgetUBeta"), number("5.7735") + u"\u2032"_s);
        QCOMPARE(shown("lBudgetUGamma"), number("5.7735") + u"\u2032"_s);
        QCOMPARE(shown("lBudgetUForceModel"), number("0.0866") + u" \u00B5m"_s);
        QCOMPARE(shown("lBudgetUOther"), number("0.1155") + u" \u00B5m"_s);
        // c of M is 1 but for the lead angle's small share.
        QVERIFY(std::fabs(Number(shown("lBudgetCIndicated"), separator) - 1) < 1e-3);
        QCOMPARE(shown("lBudgetContributionIndicated"), number("0.150"));
        // 0.2/sqrt(3) times c of about 1.0004.
        QCOMPARE(shown("lBudgetContributionRepeatability"), number("0.116"));
        QCOMPARE(shown("lBudgetContributionOther"), number("0.115"));
        // The independent wires' weight sqrt(3/8) beside their coefficient.
        QCOMPARE(shown("lBudgetCProbes").endsWith(u" \u00D7 "_s + number("0.6124")), independent);

        // Every figure is the core's for the same entries.
        zevko::BudgetInputs inputs;
        using C = zevko::BudgetContribution;
        inputs[C::Indicated] = {0.30L, zevko::UncertaintyKind::Expanded, 2.0L};
        inputs[C::Repeatability] = {0.20L};
        inputs.Readings = 3;
        inputs[C::Probes] = {0.38L, zevko::UncertaintyKind::Expanded, 2.0L};
        inputs.Probes = independent ? zevko::ProbeCorrelation::Independent : zevko::ProbeCorrelation::Correlated;
        inputs[C::ForceModel] = {0.15L, zevko::UncertaintyKind::Rectangular};
        inputs[C::Other] = {0.2L, zevko::UncertaintyKind::Rectangular};
        inputs[C::BetaFlank] = {10.0L, zevko::UncertaintyKind::Rectangular};
        inputs[C::GammaFlank] = {10.0L, zevko::UncertaintyKind::Rectangular};
        zevko::MeasurementInputs m;
        m.PitchMm = 1.5;
        m.ProbeDiameterMm = 0.866;
        m.ForceN = 1;
        m.MeasuredValueMm = 10.32496;
        const zevko::UncertaintyBudget core = zevko::ComputeUncertaintyBudget(m, inputs);
        QCOMPARE(core.Outcome, zevko::BudgetOutcome::Ok);
        const auto coefficient = [&](long double v) {
            return QString::fromStdString(*zevko::FormatCoefficient(v, separator));
        };
        const auto micrometres = [&](long double v) {
            return QString::fromStdString(*zevko::FormatMicrometres(v, separator));
        };
        QCOMPARE(shown("lBudgetCBeta"), coefficient(core[C::BetaFlank].Sensitivity));
        QCOMPARE(shown("lBudgetCForce"), coefficient(core[C::Force].Sensitivity));
        QVERIFY(shown("lBudgetCProbes").startsWith(coefficient(core[C::Probes].Sensitivity)));
        QCOMPARE(shown("lBudgetContributionProbes"), micrometres(core[C::Probes].Contribution));
        QCOMPARE(shown("lBudgetCombined"), micrometres(core.CombinedUm));
        QCOMPARE(shown("lBudgetExpanded"), micrometres(core.ExpandedUm));
        QCOMPARE(w->ShownBudget->ExpandedUm, core.ExpandedUm);
        // The shares add up to the whole u_c^2.
        long double shares = 0;
        for (const char* row : {"Indicated", "Repeatability", "Probes", "Pitch", "Beta", "Gamma", "Force", "ForceModel",
                                "TemperatureDifference", "ExpansionDifference", "Other"})
            shares += Number(PageText(*w, u"lBudgetShare"_s + QLatin1String(row)), separator);
        QVERIFY(std::fabs(shares - 100) < 0.4);
        QVERIFY(PageField<QLabel>(*w, u"lBudgetWarning"_s)->isHidden());
    }

    // U goes with the results, comes back with them, follows an entry
    // changed on the page, and is "not applicable" to an entered pitch
    // diameter.
    void visibleUncertaintyFollowsTheResults()
    {
        auto w = OpenEnglish();
        EnterPublishedBudget(*w, false, '.');
        EnterThread(*w, {}, '.');
        QVERIFY(!w->lU->Caption().isEmpty());
        QVERIFY(w->btnCopyBudget->isEnabled());
        const long double before = w->ShownBudget->ExpandedUm;

        // An entry changed on the page recomputes the shown budget.
        ShowPage(*w);
        Type(PageField(*w, u"edBudgetOther"_s), u"2"_s);
        QVERIFY(w->ShownBudget);
        QVERIFY(w->ShownBudget->ExpandedUm > before);
        QCOMPARE(w->lU->Caption(), QString::fromStdString(*zevko::FormatMicrometres(w->ShownBudget->ExpandedUm, '.')));
        // So does k, also in the caption under the results.
        Type(PageField(*w, u"edBudgetCoverage"_s), u"3"_s);
        QCOMPARE(w->lUncertainty->text(), u"Expanded uncertainty U (k = 3)"_s);
        QVERIFY(std::fabs(w->ShownBudget->ExpandedUm - 1.5L * w->ShownBudget->CombinedUm * 2.0L) < 1e-9L);

        // Any input that clears the results clears U and the budget.
        Type(w->ui->edIzmSt, u"10.3249"_s);
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        QVERIFY(w->lU->Caption().isEmpty());
        QVERIFY(!w->ShownBudget);
        QVERIFY(!w->btnCopyBudget->isEnabled());
        QVERIFY(PageText(*w, u"lBudgetExpanded"_s).isEmpty());
        QVERIFY(PageText(*w, u"lBudgetCIndicated"_s).isEmpty());
        QCOMPARE(PageText(*w, u"lBudgetStatus"_s), u"Calculate a result from m or M to see its uncertainty budget."_s);

        QTest::keyClick(w->ui->edIzmSt, Qt::Key_Return);
        QVERIFY(w->ShownBudget);
        QVERIFY(!w->lU->Caption().isEmpty());

        // The unit switch rewrites the results; U stays, in micrometres.
        const QString shown = w->lU->Caption();
        w->btnMMClick();
        QCOMPARE(w->lU->Caption(), shown);
        w->btnMMClick();

        // The pitch diameter entered: a target, no budget.
        Thread target;
        target.Quantity = 2;
        target.Value = u"9.026"_s;
        EnterThread(*w, target, '.');
        QVERIFY(!w->ui->lRazmM->Caption().isEmpty());
        QVERIFY(!w->ShownBudget);
        QCOMPARE(w->lU->Caption(), u"not applicable"_s);
        QVERIFY(w->lU->toolTip().contains(u"target"_s));
        QVERIFY(!w->btnCopyBudget->isEnabled());
        QVERIFY(w->BuildBudgetReport().isEmpty());
        w->btnCopyBudgetClick();
        QCOMPARE(w->Messages, QStringList{u"No uncertainty budget is shown: calculate a result from m or M first."_s});
        QCOMPARE(PageText(*w, u"lBudgetStatus"_s), w->lU->toolTip());
        w->BulClick();
        QCOMPARE(w->lU->Caption(), u"неприложимо"_s);
    }

    // A 30-degree trapezoidal thread measured with wires far from the
    // optimum and flank angles known to +-30': the flank angles dominate
    // (about 2.9 um per arcminute each), and the page says so in the
    // window's language. Near the optimum the coefficients vanish.
    void criticalThreadWarning_data()
    {
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("critical");
        // Tr 40x7, d2 36.5: M = d2 + dD (1 + 1/sin 15deg) - P/2 cot 15deg.
        QTest::newRow("wire 5, far from the optimum") << u"5"_s << u"47.756"_s << true;
        QTest::newRow("wire 3.623, the optimum") << u"3.623"_s << u"41.059"_s << false;
    }

    void criticalThreadWarning()
    {
        QFETCH(QString, probe);
        QFETCH(QString, value);
        QFETCH(bool, critical);
        auto w = OpenEnglish();
        ShowPage(*w);
        Type(PageField(*w, u"edBudgetIndicated"_s), u"1"_s);
        for (const QString& flank : {u"Beta"_s, u"Gamma"_s})
            Type(PageField(*w, u"edBudget"_s + flank), u"30"_s);
        Thread tr;
        tr.Pitch = u"7"_s;
        tr.Flank = u"15"_s;
        tr.Probe = probe;
        tr.Force = u"0"_s;
        tr.Value = value;
        EnterThread(*w, tr, '.');
        QVERIFY(w->ShownBudget);
        QCOMPARE(w->ShownBudget->CriticalThread, critical);
        auto* warning = PageField<QLabel>(*w, u"lBudgetWarning"_s);
        QCOMPARE(warning->isVisible(), critical);
        if (!critical)
            return;
        QVERIFY(w->ShownBudget->Coefficients.Beta > 2.5L && w->ShownBudget->Coefficients.Beta < 3.3L);
        QVERIFY(warning->text().startsWith(u"Critical thread: the flank angles carry more than half of u_c²."_s));
        QVERIFY(w->lU->toolTip().contains(u"Critical thread"_s));
        w->DeutschClick();
        QVERIFY(warning->isVisible());
        QVERIFY(warning->text().startsWith(u"Kritisches Gewinde: die Flankenwinkel tragen mehr als die Hälfte"_s));
    }

    // Copy budget with its key: the report's pitch-diameter line, a header,
    // eleven rows of ten TAB-separated columns, u_c and U, each line ending
    // in CR LF, in the window's language and separator.
    void copyBudget_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("diameterLine");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("firstRow");
        QTest::addColumn<QString>("combined");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("English")
            << 3 << '.' << u"Pitch diameter (d2): \t9.02501 mm"_s
            << u"Contribution\tValue\tUnit\tKind\tDivisor\tu\tc\tWeight\t|c|·u [µm]\tShare [%]"_s
            << u"Indicated value (instrument, resolution, setting standard)\t0.3\tµm\texpanded uncertainty "
               u"(k)\t2.0000\t0.1500\t1.000"_s
            << u"Combined standard uncertainty (u_c): \t"_s << u"Expanded uncertainty (U), k = 2: \t"_s;
        QTest::newRow("German, decimal comma")
            << 2 << ',' << u"Flankendurchmesser (d2): \t9,02501 mm"_s
            << u"Beitrag\tWert\tEinheit\tArt\tDivisor\tu\tc\tGewicht\t|c|·u [µm]\tAnteil [%]"_s
            << u"Angezeigter Wert (Messgerät, Auflösung, Einstellnormal)\t0,3\tµm\terweiterte Messunsicherheit "
               u"(k)\t2,0000\t0,1500\t1,000"_s
            << u"Kombinierte Standardmessunsicherheit (u_c): \t"_s << u"Erweiterte Messunsicherheit (U), k = 2: \t"_s;
    }

    void copyBudget()
    {
        QFETCH(int, language);
        QFETCH(char, separator);
        QFETCH(QString, diameterLine);
        QFETCH(QString, header);
        QFETCH(QString, firstRow);
        QFETCH(QString, combined);
        QFETCH(QString, expanded);
        SetZDecimalSeparator(separator);
        auto w = srdiamtest::OpenWindow([&](SrDiamTester& window) { window.SelectedLanguage = language; });
        EnterPublishedBudget(*w, false, '.');
        EnterThread(*w, {}, separator);
        QVERIFY(w->ShownBudget);
        QGuiApplication::clipboard()->clear();

        QTest::keyClick(w->ui->edIzmSt, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, w->BuildBudgetReport());
        QVERIFY(copied.endsWith(u"\r\n"_s));
        const QStringList lines = copied.chopped(2).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 15);
        QVERIFY(!copied.chopped(2).contains(QRegularExpression(u"\r(?!\n)|(?<!\r)\n"_s)));
        // The pitch-diameter line exactly as the fifteen-line report has it.
        QCOMPARE(lines[0], diameterLine);
        QCOMPARE(lines[0] + u"\r\n"_s, w->BuildReport().split(u"\r\n"_s)[12] + u"\r\n"_s);
        QCOMPARE(lines[1], header);
        QVERIFY2(lines[2].startsWith(firstRow), qPrintable(lines[2]));
        // Weight 1 and the contribution |c| * 0.15 um, c about 1.
        QVERIFY2(
            lines[2].contains(QRegularExpression(u"\t1[.,]0[0-9][0-9][0-9]\t1[.,]0000\t0[.,]150\t[0-9]+[.,][0-9]$"_s)),
            qPrintable(lines[2]));
        for (int i = 2; i < 13; ++i)
            QCOMPARE(lines[i].count(u'\t'), 9);
        QVERIFY(lines[3].contains(u"\t"_s + Decimal(u"0.2"_s, separator) + u"\tµm\t"_s));
        QVERIFY(lines[13].startsWith(combined));
        QVERIFY(lines[13].endsWith(u" µm"_s));
        QVERIFY(lines[14].startsWith(expanded));
        const QString u = lines[14].mid(expanded.size()).chopped(3);
        QVERIFY(std::fabs(Number(u, separator) - 1.24) <= 0.005);
        QCOMPARE(u, QString::fromStdString(*zevko::FormatMicrometres(w->ShownBudget->ExpandedUm, separator)));

        // The design's Copy is as it was: fifteen lines, no budget.
        QCOMPARE(w->BuildReport().count(u"\r\n"_s), 15);
        QVERIFY(!w->BuildReport().contains(u"u_c"_s));
    }

    void copyBudgetToABusyClipboard()
    {
        auto w = srdiamtest::OpenWindow<BusyClipboardWindow>();
        w->EnglishClick();
        EnterThread(*w, {}, '.');
        QVERIFY(w->ShownBudget);
        w->btnCopyBudgetClick();
        QCOMPARE(w->Messages, QStringList{u"Cannot open clipboard"_s});
    }

    void copyBudgetButton()
    {
        auto w = OpenEnglish();
        QCOMPARE(w->btnCopyBudget->toolTip(), u"Copy budget (Ctrl+Shift+B)"_s);
        QCOMPARE(w->btnCopyBudget->iconSize(), QSize(22, 22));
        QCOMPARE(w->btnCopyBudget->focusPolicy(), Qt::NoFocus);
        QCOMPARE(w->btnCopyBudget->icon().pixmap(22, 22).toImage(), w->ImageList1.Image(15).pixmap(22, 22).toImage());
        QVERIFY(!w->ImageList1.Image(15).isNull());
        QVERIFY(w->btnCopyBudget->icon().pixmap(22, 22).toImage() != w->ui->btnCopy->icon().pixmap(22, 22).toImage());
        // Beside Copy, and greyed until a budget is shown.
        QCOMPARE(w->ui->layToolBar1->indexOf(w->btnCopyBudget), w->ui->layToolBar1->indexOf(w->ui->btnCopy) + 1);
        QVERIFY(!w->btnCopyBudget->isEnabled());
        w->BulClick();
        QCOMPARE(w->btnCopyBudget->toolTip(), u"Копиране на бюджета (Ctrl+Shift+B)"_s);
    }

    // Each manual has the budget's section and names its key.
    void manualDescribesTheBudget_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("key");
        QTest::newRow("BG") << 1 << u"Бюджет на неопределеността"_s << u"Ctrl+Shift+B"_s;
        QTest::newRow("DE") << 2 << u"Messunsicherheitsbudget"_s << u"Strg+Umschalt+B"_s;
        QTest::newRow("EN") << 3 << u"Uncertainty budget"_s << u"Ctrl+Shift+B"_s;
    }

    void manualDescribesTheBudget()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, key);
        auto w = srdiamtest::OpenWindow([&](SrDiamTester& window) { window.SelectedLanguage = language; });
        const QString manual = w->Manual()->toPlainText();
        QVERIFY(manual.contains(u"\n"_s + title + u"\n"_s));
        QVERIFY(manual.contains(key + u"\t"_s));
        QVERIFY(manual.contains(u"u_c = √Σ(c·u)²"_s));
    }

    // The entries are the lab's constants: stored at close beside the six
    // settings (which stay as they are), read at the next start; stored
    // values that cannot be used are ignored.
    void entriesAreStoredAndRestored()
    {
        {
            auto w = OpenEnglish();
            EnterPublishedBudget(*w, true, '.');
            ShowPage(*w);
            Type(PageField(*w, u"edBudgetAlpha"_s), u"10.8"_s);
            Type(PageField(*w, u"edBudgetMeanTemperature"_s), u"20.5"_s);
            Type(PageField(*w, u"edBudgetCoverage"_s), u"2.5"_s);
            Type(PageField(*w, u"edBudgetExpansionDifference"_s), u"1.2"_s);
            w->StoreSettings();
        }
        {
            QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
            key.beginGroup(u"Default"_s);
            QStringList six = key.childKeys();
            six.sort();
            QCOMPARE(six, (QStringList{u"Izm"_s, u"Lang"_s, u"Mat"_s, u"St"_s, u"Vid"_s, u"mm_in"_s}));
            key.endGroup();
            QCOMPARE(key.value(u"UncertaintyBudget/Indicated"_s).toString(), u"0.3"_s);
        }
        auto w = OpenEnglish();
        using C = zevko::BudgetContribution;
        QCOMPARE(static_cast<double>(w->BudgetValues[C::Indicated].Value), 0.3);
        QCOMPARE(w->BudgetValues[C::Indicated].Kind, zevko::UncertaintyKind::Expanded);
        QCOMPARE(static_cast<double>(w->BudgetValues[C::Repeatability].Value), 0.2);
        QCOMPARE(w->BudgetValues.Readings, 3);
        QCOMPARE(w->BudgetValues.Probes, zevko::ProbeCorrelation::Independent);
        QCOMPARE(w->BudgetValues[C::BetaFlank].Kind, zevko::UncertaintyKind::Rectangular);
        QCOMPARE(static_cast<double>(w->BudgetValues[C::ExpansionDifference].Value), 1.2);
        QCOMPARE(static_cast<double>(w->BudgetValues.ExpansionCoefficient), 10.8);
        QCOMPARE(static_cast<double>(w->BudgetValues.MeanTemperature), 20.5);
        QCOMPARE(static_cast<double>(w->BudgetValues.CoverageFactor), 2.5);
        // The page shows them (and the budget needs no page to use them).
        EnterThread(*w, {}, '.');
        QVERIFY(w->ShownBudget);
        QVERIFY(!w->BudgetPage);
        ShowPage(*w);
        QCOMPARE(PageField(*w, u"edBudgetIndicated"_s)->Text(), u"0.3"_s);
        QCOMPARE(PageField(*w, u"edBudgetReadings"_s)->Text(), u"3"_s);
        QCOMPARE(PageField<TZComboBox>(*w, u"cbBudgetProbes"_s)->ItemIndex(), 1);
        QCOMPARE(PageField<TZComboBox>(*w, u"cbBudgetOtherKind"_s)->ItemIndex(), 2);
        QCOMPARE(PageField(*w, u"edBudgetAlpha"_s)->Text(), u"10.8"_s);
    }

    void unusableStoredEntriesAreIgnored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("text") << u"Indicated"_s << QVariant(u"abc"_s);
        QTest::newRow("negative") << u"Indicated"_s << QVariant(u"-0.3"_s);
        QTest::newRow("infinite") << u"Indicated"_s << QVariant(u"inf"_s);
        QTest::newRow("not a number") << u"Indicated"_s << QVariant(u"nan"_s);
        QTest::newRow("huge") << u"Indicated"_s << QVariant(u"1e400"_s);
        QTest::newRow("decimal comma") << u"Indicated"_s << QVariant(u"0,3"_s);
        QTest::newRow("unknown kind") << u"IndicatedKind"_s << QVariant(7);
        QTest::newRow("k of 0") << u"IndicatedK"_s << QVariant(u"0"_s);
        QTest::newRow("no readings") << u"Readings"_s << QVariant(0);
        QTest::newRow("probes 2") << u"ProbesIndependent"_s << QVariant(2);
        QTest::newRow("coverage text") << u"k"_s << QVariant(u"two"_s);
        QTest::newRow("temperature far off") << u"MeanTemperature"_s << QVariant(u"1000"_s);
        QTest::newRow("list") << u"Alpha"_s << QVariant(QStringList{u"1"_s, u"2"_s});
    }

    void unusableStoredEntriesAreIgnored()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        {
            QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
            key.setValue(u"Default/Lang"_s, 3);
            key.setValue(u"UncertaintyBudget/"_s + name, value);
            key.sync();
        }
        auto w = srdiamtest::OpenWindow();
        QCOMPARE(w->SelectedLanguage, 3);
        using C = zevko::BudgetContribution;
        QCOMPARE(static_cast<double>(w->BudgetValues[C::Indicated].Value), 0.0);
        QCOMPARE(w->BudgetValues[C::Indicated].Kind, zevko::UncertaintyKind::Expanded);
        QCOMPARE(static_cast<double>(w->BudgetValues[C::Indicated].CoverageFactor), 2.0);
        QCOMPARE(w->BudgetValues.Readings, 1);
        QCOMPARE(w->BudgetValues.Probes, zevko::ProbeCorrelation::Correlated);
        QCOMPARE(static_cast<double>(w->BudgetValues.CoverageFactor), 2.0);
        QCOMPARE(static_cast<double>(w->BudgetValues.MeanTemperature), 20.0);
        QCOMPARE(static_cast<double>(w->BudgetValues.ExpansionCoefficient), 11.5);
    }
};

QTEST_MAIN(TestSrDiamBudget)
#include "TestSrDiamBudget.moc"
