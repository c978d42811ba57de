// Limits of the pitch diameter, the decision rule, the verdict beside the
// result and the turn-to targets, as the window shows them.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;
using srdiamtest::Choose;
using srdiamtest::EnterDesignation;
using srdiamtest::OpenWindow;
using srdiamtest::RemoveStoredSettings;
using srdiamtest::Type;

namespace {

void TypeLimits(SrDiamTester& w, const QString& text)
{
    Type(w.edLimits, text);
}

// M10x1.5 external, measured over 0.866 mm wires at 1 N.
void EnterM10(SrDiamTester& w)
{
    w.FillCatalog(w.mdDiamOut, {0.5, 0.866, 1.0});
    EnterDesignation(w, u"M10x1.5"_s);
    QCOMPARE(w.ui->edDiam->Text(), u"0.866"_s);
    Type(w.ui->edIzmN, u"1"_s);
}

QStringList TurnTexts(const SrDiamTester& w, int row)
{
    return {w.TurnValues[static_cast<std::size_t>(row)][0]->Caption(),
            w.TurnValues[static_cast<std::size_t>(row)][1]->Caption()};
}

const QColor Green(0x1E, 0x7B, 0x34);
const QColor Red(0xB0, 0x1C, 0x1C);
const QColor Amber(0xF2, 0xA9, 0x00);

QString Fixed5(double value)
{
    return QString::number(value, 'f', 5);
}

} // namespace

class TestSrDiamConformity : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SetZDecimalSeparator('.');
        RemoveStoredSettings();
    }
    void cleanup() { RemoveStoredSettings(); }

    void turnToIsTheWindowsOwnCalculationAtEachLimit_data();
    void turnToIsTheWindowsOwnCalculationAtEachLimit();
    void turnToFollowsTheInputs();
    void verdictUnderSimpleAcceptance_data();
    void verdictUnderSimpleAcceptance();
    void verdictUnderIso14253_data();
    void verdictUnderIso14253();
    void budgetCopyCarriesTheDecision();
    void verdictGoesWithTheResults();
    void limitsAreReadAndRefusedInTheWindowsUnit_data();
    void limitsAreReadAndRefusedInTheWindowsUnit();
    void limitsKeepTheirExactValuesAcrossUnitsAndRuns();
};

void TestSrDiamConformity::turnToIsTheWindowsOwnCalculationAtEachLimit_data()
{
    QTest::addColumn<bool>("inches");
    QTest::addColumn<int>("method");
    QTest::newRow("mm, perpendicular") << false << 0;
    QTest::newRow("inches, perpendicular") << true << 0;
    QTest::newRow("mm, inclined") << false << 1;
}

void TestSrDiamConformity::turnToIsTheWindowsOwnCalculationAtEachLimit()
{
    QFETCH(bool, inches);
    QFETCH(int, method);
    auto w = OpenWindow();
    EnterM10(*w);
    if (method != 0)
        Choose(w->ui->cbIzm, method);
    TypeLimits(*w, u"8.862 8.994"_s);
    if (inches)
        w->btnMMClick();
    const QStringList smallM = TurnTexts(*w, 1);
    const QStringList capitalM = TurnTexts(*w, 2);
    QVERIFY(!smallM[0].isEmpty() && !smallM[1].isEmpty() && !capitalM[0].isEmpty() && !capitalM[1].isEmpty());
    QVERIFY(smallM[0] != smallM[1]);
    if (inches)
        QCOMPARE(TurnTexts(*w, 0), (QStringList{u"0.348898"_s, u"0.354094"_s}));
    else
        QCOMPARE(TurnTexts(*w, 0), (QStringList{u"8.86200"_s, u"8.99400"_s}));

    // The window's own reverse direction: the pitch diameter entered, in mm
    // (an exact limit), the results then shown in the unit of the targets.
    if (inches)
        w->btnMMClick();
    Choose(w->ui->cbVidVav, 2);
    const QStringList limits{u"8.862"_s, u"8.994"_s};
    for (int i = 0; i < 2; ++i) {
        srdiamtest::TypeAndEnter(w->ui->edIzmSt, limits[i]);
        QVERIFY(!w->ui->lRazmM->Caption().isEmpty());
        if (inches)
            w->btnMMClick();
        QCOMPARE(w->ui->lRazmM->Caption(), capitalM[i]);
        QCOMPARE(w->ui->lSrDA2->Caption(), smallM[i]);
        if (inches)
            w->btnMMClick();
    }
    // The pitch diameter entered gives no verdict.
    QVERIFY(w->lVerdict->isHidden());
}

void TestSrDiamConformity::turnToFollowsTheInputs()
{
    auto w = OpenWindow();
    EnterM10(*w);
    TypeLimits(*w, u"8.862 8.994"_s);
    const QStringList at1N = TurnTexts(*w, 2);

    // The force changes M; the targets follow at once.
    Type(w->ui->edIzmN, u"2"_s);
    const QStringList at2N = TurnTexts(*w, 2);
    QVERIFY(!at2N[0].isEmpty());
    QVERIFY(at2N != at1N);
    Type(w->ui->edIzmN, u"1"_s);
    QCOMPARE(TurnTexts(*w, 2), at1N);

    // No probe: nothing to turn to; the limits read stay.
    Type(w->ui->edDiam, u"0"_s);
    QCOMPARE(TurnTexts(*w, 1), (QStringList{QString(), QString()}));
    QCOMPARE(TurnTexts(*w, 2), (QStringList{QString(), QString()}));
    QCOMPARE(TurnTexts(*w, 0), (QStringList{u"8.86200"_s, u"8.99400"_s}));
    Type(w->ui->edDiam, u"0.866"_s);
    QCOMPARE(TurnTexts(*w, 2), at1N);

    // The guard-banded window belongs to ISO 14253-1 and needs U.
    QVERIFY(w->TurnValues[3][0]->isVisible());
    QCOMPARE(TurnTexts(*w, 3), (QStringList{QString(), QString()}));
    w->cbRule->setCurrentIndex(1);
    QVERIFY(!w->TurnValues[3][0]->isVisible());

    // Other limits, other targets; none without limits.
    TypeLimits(*w, u"8.9 8.994"_s);
    QCOMPARE(TurnTexts(*w, 2)[1], at1N[1]);
    QVERIFY(TurnTexts(*w, 2)[0] != at1N[0]);
    TypeLimits(*w, QString());
    QCOMPARE(TurnTexts(*w, 0), (QStringList{QString(), QString()}));
    QCOMPARE(TurnTexts(*w, 2), (QStringList{QString(), QString()}));
}

void TestSrDiamConformity::verdictUnderSimpleAcceptance_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<double>("lowerOffset"); // mm from the shown pitch diameter
    QTest::addColumn<double>("upperOffset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("inside") << 3 << -0.01 << 0.01 << u"conforms"_s << Green;
    QTest::newRow("on the lower limit") << 3 << 0.0 << 0.01 << u"conforms"_s << Green;
    QTest::newRow("on the upper limit") << 3 << -0.01 << 0.0 << u"conforms"_s << Green;
    QTest::newRow("10 nm below the lower limit") << 3 << 0.00001 << 0.01 << u"does not conform"_s << Red;
    QTest::newRow("10 nm above the upper limit") << 3 << -0.01 << -0.00001 << u"does not conform"_s << Red;
    QTest::newRow("German, inside") << 2 << -0.01 << 0.01 << u"konform"_s << Green;
    QTest::newRow("German, outside") << 2 << 0.001 << 0.01 << u"nicht konform"_s << Red;
    QTest::newRow("Bulgarian, outside") << 1 << -0.01 << -0.001 << u"не съответства"_s << Red;
}

void TestSrDiamConformity::verdictUnderSimpleAcceptance()
{
    QFETCH(int, language);
    QFETCH(double, lowerOffset);
    QFETCH(double, upperOffset);
    QFETCH(QString, text);
    QFETCH(QColor, colour);

    auto w = OpenWindow([language](SrDiamTester& window) { window.SelectedLanguage = language; });
    EnterM10(*w);
    w->cbRule->setCurrentIndex(1);
    srdiamtest::TypeAndEnter(w->ui->edIzmSt, u"10.32496"_s);
    const QString shown = w->ui->lSrDA2->Caption();
    QVERIFY(!shown.isEmpty());
    QVERIFY(w->lVerdict->isHidden()); // no limits yet
    const double d2 = shown.toDouble();

    // The limits typed after the calculation decide the shown result.
    TypeLimits(*w, Fixed5(d2 + lowerOffset) + u' ' + Fixed5(d2 + upperOffset));
    QVERIFY(w->lVerdict->isVisible());
    QCOMPARE(w->lVerdict->text(), text);
    QCOMPARE(w->lVerdict->palette().color(QPalette::Window), colour);
    // Beside the pitch diameter.
    QCOMPARE(w->lVerdict->geometry().center().y(), w->ui->lSrDA2->geometry().center().y());
    QVERIFY(w->lVerdict->geometry().left() > w->ui->lSrDA2->geometry().right());
    QVERIFY(w->Messages.isEmpty());

    // Calculated again with the limits in place: the same verdict.
    w->btnCalcClick();
    QCOMPARE(w->lVerdict->text(), text);
}

void TestSrDiamConformity::verdictUnderIso14253_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<double>("lowerInU"); // the limits in units of U from the shown d2
    QTest::addColumn<double>("upperInU");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");

    using V = zevko::Verdict;
    QTest::newRow("U inside both") << 3 << -2.0 << 2.0 << int(V::Conforms) << u"conforms"_s << Green;
    QTest::newRow("lower within U") << 3 << -0.5 << 2.0 << int(V::NotDecidedLower) << u"not decided (lower limit)"_s
                                    << Amber;
    QTest::newRow("upper within U") << 3 << -2.0 << 0.5 << int(V::NotDecidedUpper) << u"not decided (upper limit)"_s
                                    << Amber;
    QTest::newRow("both within U") << 3 << -0.5 << 0.5 << int(V::NotDecidedBoth) << u"not decided (both limits)"_s
                                   << Amber;
    QTest::newRow("beyond U below") << 3 << 1.5 << 3.0 << int(V::DoesNotConform) << u"does not conform"_s << Red;
    QTest::newRow("beyond U above") << 3 << -3.0 << -1.5 << int(V::DoesNotConform) << u"does not conform"_s << Red;
    QTest::newRow("German, lower within U")
        << 2 << -0.5 << 2.0 << int(V::NotDecidedLower) << u"nicht entscheidbar (unten)"_s << Amber;
    QTest::newRow("Bulgarian, conforms") << 1 << -2.0 << 2.0 << int(V::Conforms) << u"съответства"_s << Green;
}

void TestSrDiamConformity::verdictUnderIso14253()
{
    QFETCH(int, language);
    QFETCH(double, lowerInU);
    QFETCH(double, upperInU);
    QFETCH(int, verdict);
    QFETCH(QString, text);
    QFETCH(QColor, colour);

    auto w = OpenWindow([language](SrDiamTester& window) { window.SelectedLanguage = language; });
    EnterM10(*w);
    QCOMPARE(w->cbRule->currentIndex(), 0); // the default
    // The instrument alone: u = 1 um, so U is about 2 um.
    w->BudgetValues[zevko::BudgetContribution::Indicated].Value = 1.0;
    w->BudgetValues[zevko::BudgetContribution::Indicated].Kind = zevko::UncertaintyKind::Standard;
    srdiamtest::TypeAndEnter(w->ui->edIzmSt, u"10.32496"_s);
    QVERIFY(w->ShownBudget);
    const double u = static_cast<double>(w->ShownBudget->ExpandedUm) / 1000.0;
    QVERIFY(u > 0.001 && u < 0.003);
    const double d2 = w->ui->lSrDA2->Caption().toDouble();

    const auto limit = [&](double inU) { return QString::number(d2 + inU * u, 'f', 8); };
    TypeLimits(*w, limit(lowerInU) + u' ' + limit(upperInU));
    QVERIFY(w->lVerdict->isVisible());
    QCOMPARE(int(w->ShownVerdict), verdict);
    QCOMPARE(w->lVerdict->text(), text);
    QCOMPARE(w->lVerdict->palette().color(QPalette::Window), colour);

    // The guard-banded M window lies inside the M at the limits when the
    // narrowed zone is not empty.
    if (upperInU - lowerInU > 2.0) {
        const QStringList guard = TurnTexts(*w, 3);
        const QStringList atLimits = TurnTexts(*w, 2);
        QVERIFY(!guard[0].isEmpty() && !guard[1].isEmpty());
        QVERIFY(guard[0].toDouble() > atLimits[0].toDouble() && guard[1].toDouble() < atLimits[1].toDouble());
    } else {
        QCOMPARE(TurnTexts(*w, 3), (QStringList{QString(), QString()}));
    }

    // Without U, ISO 14253-1 decides nothing; simple acceptance still does.
    w->ShownBudget.reset();
    w->UpdateConformity();
    QVERIFY(w->lVerdict->isHidden());
    QCOMPARE(w->ShownVerdict, zevko::Verdict::None);
    QCOMPARE(TurnTexts(*w, 3), (QStringList{QString(), QString()}));
    w->cbRule->setCurrentIndex(1);
    QVERIFY(w->lVerdict->isVisible());

    // Every entry 0: the window shows no U, so ISO 14253-1 decides nothing
    // and offers no M window, although a budget of 0 was formed.
    w->cbRule->setCurrentIndex(0);
    w->BudgetValues[zevko::BudgetContribution::Indicated].Value = 0.0;
    srdiamtest::TypeAndEnter(w->ui->edIzmSt, u"10.32496"_s);
    QVERIFY(!w->ui->lSrDA2->Caption().isEmpty());
    QVERIFY(w->lU->Caption().isEmpty());
    QVERIFY(w->lVerdict->isHidden());
    QCOMPARE(w->ShownVerdict, zevko::Verdict::None);
    QCOMPARE(TurnTexts(*w, 3), (QStringList{QString(), QString()}));
    w->cbRule->setCurrentIndex(1);
    QVERIFY(w->lVerdict->isVisible());
}

void TestSrDiamConformity::budgetCopyCarriesTheDecision()
{
    auto w = OpenWindow();
    EnterM10(*w);
    TypeLimits(*w, u"8.862 9.1"_s);
    w->BudgetValues[zevko::BudgetContribution::Indicated].Value = 1.0;
    w->BudgetValues[zevko::BudgetContribution::Indicated].Kind = zevko::UncertaintyKind::Standard;
    srdiamtest::TypeAndEnter(w->ui->edIzmSt, u"10.32496"_s);
    QVERIFY(w->ShownBudget);
    const QString report = w->BuildBudgetReport();
    QVERIFY(report.endsWith(u"\r\n"_s));
    QStringList lines = report.split(u"\r\n"_s);
    lines.removeLast();
    const QStringList tail = lines.mid(lines.size() - 4);
    QCOMPARE(tail[0], u"Limits of d2: \t8.86200\t9.10000 mm"_s);
    QCOMPARE(tail[1], u"Decision rule: \tISO 14253-1 (with U)"_s);
    QCOMPARE(tail[2], u"Verdict: \tconforms"_s);
    QCOMPARE(tail[3], u"M to accept (ISO 14253-1): \t"_s + TurnTexts(*w, 3).join(u'\t') + u" mm"_s);
    QVERIFY(!TurnTexts(*w, 3)[0].isEmpty());
    // The design's fifteen lines stay as they are.
    QCOMPARE(w->BuildReport().count(u"\r\n"_s), 15);
}

void TestSrDiamConformity::verdictGoesWithTheResults()
{
    auto w = OpenWindow();
    EnterM10(*w);
    w->cbRule->setCurrentIndex(1);
    TypeLimits(*w, u"8.9 9.1"_s);
    srdiamtest::TypeAndEnter(w->ui->edIzmSt, u"10.32496"_s);
    QVERIFY(w->lVerdict->isVisible());

    // Any input that clears the results clears the verdict.
    Type(w->ui->edIzmSt, u"10.3249"_s);
    QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
    QVERIFY(w->lVerdict->isHidden());
    QCOMPARE(w->ShownVerdict, zevko::Verdict::None);

    w->btnCalcClick();
    QVERIFY(w->lVerdict->isVisible());
    w->ClearResults();
    QVERIFY(w->lVerdict->isHidden());

    w->btnCalcClick();
    QVERIFY(w->lVerdict->isVisible());
    QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
    QVERIFY(w->lVerdict->isHidden());
}

void TestSrDiamConformity::limitsAreReadAndRefusedInTheWindowsUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("message");

    QTest::newRow("two limits") << u"8.862 8.994"_s << u"8.86200"_s << u"8.99400"_s << QString();
    QTest::newRow("nominal and deviations") << u"9.026 -0.032 -0.164"_s << u"8.86200"_s << u"8.99400"_s << QString();
    QTest::newRow("nominal plus-minus") << u"9.026 +/-0.05"_s << u"8.97600"_s << u"9.07600"_s << QString();
    QTest::newRow("not a number") << u"8.862 8,9x"_s << QString() << QString() << u"'8,9x' is not a number"_s;
    QTest::newRow("wrong order") << u"8.994 8.862"_s << QString() << QString()
                                 << u"The lower limit is above the upper: 8.994 8.862"_s;
    QTest::newRow("one number") << u"8.862"_s << QString() << QString()
                                << u"Two limits, or a nominal with one or two deviations: '8.862' is not understood"_s;
}

void TestSrDiamConformity::limitsAreReadAndRefusedInTheWindowsUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, message);

    auto w = OpenWindow();
    TypeLimits(*w, typed);
    QCOMPARE(TurnTexts(*w, 0), (QStringList{lower, upper}));
    QCOMPARE(w->lLimitsMessage->isVisible(), !message.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(w->lLimitsMessage->text(), message);
    QCOMPARE(w->Limits.Mm.has_value(), message.isEmpty());
    // Typing never raises a message box.
    QVERIFY(w->Messages.isEmpty());
}

void TestSrDiamConformity::limitsKeepTheirExactValuesAcrossUnitsAndRuns()
{
    {
        auto w = OpenWindow();
        TypeLimits(*w, u"9.026 -0.032 -0.164"_s);
        w->cbRule->setCurrentIndex(1);
        QVERIFY(w->Limits.Mm);
        const long double lower = w->Limits.Mm->Lower;
        const long double upper = w->Limits.Mm->Upper;
        QVERIFY(std::fabs(lower - 8.862L) < 1e-12L && std::fabs(upper - 8.994L) < 1e-12L);

        w->btnMMClick();
        QCOMPARE(w->edLimits->text(), u"0.348898 0.354094"_s);
        QCOMPARE(w->Limits.Mm->Lower, lower);
        QCOMPARE(w->Limits.Mm->Upper, upper);
        w->btnMMClick();
        QCOMPARE(w->edLimits->text(), u"9.026 -0.032 -0.164"_s);
        QCOMPARE(w->Limits.Mm->Lower, lower);

        // Closed in inches: the limits come back converted from the mm typed.
        w->btnMMClick();
        QVERIFY(w->close());
    }
    {
        QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
        key.beginGroup(u"Conformity"_s);
        QCOMPARE(key.value(u"Limits"_s).toString(), u"9.026 -0.032 -0.164"_s);
        QCOMPARE(key.value(u"LimitsUnit"_s).toInt(), 0);
        QCOMPARE(key.value(u"Rule"_s).toInt(), 1);
        key.endGroup();
        QCOMPARE(key.value(u"Default/mm_in"_s).toInt(), 1);
    }
    auto again = OpenWindow();
    QCOMPARE(again->edLimits->text(), u"0.348898 0.354094"_s);
    QCOMPARE(again->cbRule->currentIndex(), 1);
    QVERIFY(again->Limits.Mm);
    QVERIFY(std::fabs(again->Limits.Mm->Lower - 8.862L) < 1e-12L);
    QCOMPARE(TurnTexts(*again, 0), (QStringList{u"0.348898"_s, u"0.354094"_s}));
    again->btnMMClick();
    QCOMPARE(again->edLimits->text(), u"9.026 -0.032 -0.164"_s);

    // Edited in inches, they are the inch values typed.
    again->btnMMClick();
    TypeLimits(*again, u"0.3489 0.3541"_s);
    QVERIFY(std::fabs(again->Limits.Mm->Lower - 0.3489L * 25.4L) < 1e-12L);
    again->btnMMClick();
    QCOMPARE(again->edLimits->text(), u"8.86206 8.99414"_s);
}

QTEST_MAIN(TestSrDiamConformity)
#include "TestSrDiamConformity.moc"
