// The thread designation box: a designation typed (Enter) or chosen fills
// the design's fields through their handlers, an unreadable one changes
// nothing and says what it did not understand, and the recent designations
// come back after a restart.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

using namespace Qt::StringLiterals;
using srdiamtest::EnterDesignation;
using srdiamtest::OpenWindow;
using srdiamtest::RemoveStoredSettings;
using srdiamtest::Type;

namespace {

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// What the design's fields and labels show: everything a designation may
// change or must leave alone.
struct Shown {
    QString Pitch, Starts, Bg, Bm, Bs, Yg, Ym, Ys, Lead, Optimum, Probe, MeasuredValue, Diameter;
    bool External;
    bool operator==(const Shown&) const = default;
};

Shown ShownFields(const SrDiamTester& w)
{
    return {w.ui->edStapka->Text(),  w.ui->edBrH->Text(),     w.ui->edBg->Text(),   w.ui->edBm->Text(),
            w.ui->edBs->Text(),      w.ui->edYg->Text(),      w.ui->edYm->Text(),   w.ui->edYs->Text(),
            w.ui->lPodem->Caption(), w.ui->lDiamN->Caption(), w.ui->edDiam->Text(), w.ui->edIzmSt->Text(),
            w.ui->lSrDA2->Caption(), w.ui->rbOut->isChecked()};
}

} // namespace

class TestSrDiamThread : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SetZDecimalSeparator('.');
        RemoveStoredSettings();
    }
    void cleanup() { RemoveStoredSettings(); }

    void designationFillsTheFieldsThroughTheirHandlers_data();
    void designationFillsTheFieldsThroughTheirHandlers();
    void unreadableDesignationChangesNothing_data();
    void unreadableDesignationChangesNothing();
    void chosenItemIsEntered();
    void recentDesignationsComeFirstBoundedAndStored();
};

void TestSrDiamThread::designationFillsTheFieldsThroughTheirHandlers_data()
{
    QTest::addColumn<QString>("designation");
    QTest::addColumn<bool>("inches");
    QTest::addColumn<bool>("startInternal");
    QTest::addColumn<QString>("pitch");
    QTest::addColumn<double>("pitchMm");
    QTest::addColumn<QString>("starts");
    QTest::addColumn<QString>("beta");
    QTest::addColumn<QString>("gamma");
    QTest::addColumn<bool>("external");
    QTest::addColumn<QString>("basic");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("optimum");
    QTest::addColumn<QString>("probe");

    // Basic pitch diameters: d - 0.649519 P (60 degrees), d - 0.5 P
    // (trapezoidal), d - 0.75 P (buttress), d - 0.640327 P (55 degrees);
    // optimum probes P / (2 cos beta) for symmetric flanks.
    QTest::newRow("M10x1.5-6g, internal before")
        << u"M10x1.5-6g"_s << false << true << u"1.5"_s << 1.5 << u"1"_s << u"30"_s << u"30"_s << true << u"9.02572"_s
        << u"1.50000"_s << u"0.86603"_s << u"0.866"_s;
    QTest::newRow("M10-6H: coarse pitch, internal")
        << u"M10-6H"_s << false << false << u"1.5"_s << 1.5 << u"1"_s << u"30"_s << u"30"_s << false << u"9.02572"_s
        << u"1.50000"_s << u"0.86603"_s << u"0.866"_s;
    QTest::newRow("no class keeps the side")
        << u"m10"_s << false << true << u"1.5"_s << 1.5 << u"1"_s << u"30"_s << u"30"_s << false << u"9.02572"_s
        << u"1.50000"_s << u"0.86603"_s << u"0.866"_s;
    QTest::newRow("Tr40x14(P7): two starts")
        << u"Tr40x14(P7)"_s << false << false << u"7"_s << 7.0 << u"2"_s << u"15"_s << u"15"_s << true << u"36.50000"_s
        << u"14.00000"_s << u"3.62347"_s << u"3.5"_s;
    QTest::newRow("S40x7: buttress") << u"S40x7"_s << false << false << u"7"_s << 7.0 << u"1"_s << u"3"_s << u"30"_s
                                     << true << u"34.75000"_s << u"7.00000"_s << QString() << QString();
    QTest::newRow("G1/2: 14 threads per inch")
        << u"G1/2"_s << false << false << u"1.8143"_s << 25.4 / 14 << u"1"_s << u"27.5"_s << u"27.5"_s << true
        << u"19.79326"_s << u"1.81429"_s << QString() << QString();
    QTest::newRow("1/4-20 UNC-2A in inches")
        << u"1/4-20 UNC-2A"_s << true << false << u"0.05"_s << 1.27 << u"1"_s << u"30"_s << u"30"_s << true
        << u"0.217524"_s << u"0.050000"_s << QString() << QString();
}

void TestSrDiamThread::designationFillsTheFieldsThroughTheirHandlers()
{
    QFETCH(QString, designation);
    QFETCH(bool, inches);
    QFETCH(bool, startInternal);
    QFETCH(QString, pitch);
    QFETCH(double, pitchMm);
    QFETCH(QString, starts);
    QFETCH(QString, beta);
    QFETCH(QString, gamma);
    QFETCH(bool, external);
    QFETCH(QString, basic);
    QFETCH(QString, lead);
    QFETCH(QString, optimum);
    QFETCH(QString, probe);

    auto w = OpenWindow();
    // The unit switch reopens the catalogs from their file: first the unit.
    if (inches)
        w->btnMMClick();
    w->FillCatalog(w->mdDiamOut, {0.5, 0.866, 1.0, 3.5});
    w->FillCatalog(w->mdDiamIn, {0.5, 0.866, 1.0, 3.5});
    if (startInternal)
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
    // A result on screen: the designation's changes clear it.
    Type(w->ui->edStapka, inches ? u"0.0625"_s : u"2"_s);
    Type(w->ui->edIzmSt, inches ? u"0.45"_s : u"12"_s);
    w->btnCalcClick();
    QVERIFY(!w->ui->lSrDA2->Caption().isEmpty());

    EnterDesignation(*w, designation);

    QVERIFY2(w->Messages.isEmpty(), qPrintable(w->Messages.join(u'\n')));
    QCOMPARE(w->ui->edStapka->Text(), pitch);
    QCOMPARE(w->PitchMm, pitchMm);
    QCOMPARE(w->ui->edBrH->Text(), starts);
    QCOMPARE(w->ui->edBg->Text(), beta);
    QCOMPARE(w->ui->edYg->Text(), gamma);
    for (TZFloatEdit* part : {w->ui->edBm, w->ui->edBs, w->ui->edYm, w->ui->edYs})
        QCOMPARE(part->Text(), u"0"_s);
    QCOMPARE(w->ui->rbOut->isChecked(), external);
    QCOMPARE(w->ui->rbIn->isChecked(), !external);
    QCOMPARE(w->lBasicD2->Caption(), basic);

    // The design's handlers ran: lead, optimum and the catalog's proposal.
    QCOMPARE(w->ui->lPodem->Caption(), lead);
    if (!optimum.isEmpty())
        QCOMPARE(w->ui->lDiamN->Caption(), optimum);
    QVERIFY(!w->ui->lDiamN->Caption().isEmpty());
    if (!probe.isEmpty())
        QCOMPARE(w->ui->edDiam->Text(), probe);
    QVERIFY(w->ProbeDiameterMm > 0);
    QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
    // The measured value is next.
    QCOMPARE(QApplication::focusWidget(), w->ui->edIzmSt);
}

void TestSrDiamThread::unreadableDesignationChangesNothing_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown class") << 3 << u"M10x1.5-6z"_s
                                   << u"Thread 'M10x1.5-6z': '6z' is not a tolerance class of this thread form"_s;
    QTest::newRow("unknown form") << 3 << u"Q10x1"_s << u"Thread 'Q10x1': the thread form 'Q' is not known"_s;
    QTest::newRow("not a number") << 3 << u"M10xa"_s << u"Thread 'M10xa': 'a' is not a number"_s;
    QTest::newRow("size not in series") << 3 << u"M13"_s << u"Thread 'M13': 13 is not a size of its standard series"_s;
    QTest::newRow("threads per inch not of the series")
        << 3 << u"1/4-24 UNC"_s << u"Thread '1/4-24 UNC': 24 threads per inch are not those of this series"_s;
    QTest::newRow("empty") << 3 << QString() << u"Please type a thread designation, for example M10x1.5-6g"_s;
    QTest::newRow("German") << 2 << u"M10x1.5-6z"_s
                            << u"Gewinde „M10x1.5-6z“: „6z“ ist keine Toleranzklasse dieser Gewindeform"_s;
}

void TestSrDiamThread::unreadableDesignationChangesNothing()
{
    QFETCH(int, language);
    QFETCH(QString, designation);
    QFETCH(QString, message);

    auto w = OpenWindow([language](SrDiamTester& window) { window.SelectedLanguage = language; });
    w->FillCatalog(w->mdDiamOut, {0.5, 0.866, 1.0});
    Type(w->ui->edStapka, u"1.25"_s);
    Type(w->ui->edIzmSt, u"10.1"_s);
    w->btnCalcClick();
    const Shown before = ShownFields(*w);
    const double pitchMm = w->PitchMm;
    QVERIFY(!before.Diameter.isEmpty());

    EnterDesignation(*w, designation);

    QCOMPARE(w->Messages, QStringList{message});
    QCOMPARE(ShownFields(*w), before);
    QCOMPARE(w->PitchMm, pitchMm);
    QVERIFY(w->lBasicD2->Caption().isEmpty());
    QVERIFY(w->RecentThreads.isEmpty());
    // The text stays for correcting it.
    QCOMPARE(w->cbThread->currentText(), designation);
    QCOMPARE(QApplication::focusWidget(), w->cbThread);
}

void TestSrDiamThread::chosenItemIsEntered()
{
    auto w = OpenWindow();
    QVERIFY(Items(w->cbThread).contains(u"Tr40x7"_s));
    const int index = w->cbThread->findText(u"Tr40x7"_s);
    // Chosen from the open list with the keyboard.
    w->cbThread->setFocus();
    w->cbThread->showPopup();
    QAbstractItemView* list = w->cbThread->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list, Qt::Key_Return);

    QTRY_COMPARE(w->ui->edStapka->Text(), u"7"_s);
    QCOMPARE(w->ui->edBg->Text(), u"15"_s);
    QCOMPARE(w->ui->edYg->Text(), u"15"_s);
    QCOMPARE(w->lBasicD2->Caption(), u"36.50000"_s);
    QCOMPARE(w->ui->lPodem->Caption(), u"7.00000"_s);
    QVERIFY(w->Messages.isEmpty());
}

void TestSrDiamThread::recentDesignationsComeFirstBoundedAndStored()
{
    {
        auto w = OpenWindow();
        const QStringList common = Items(w->cbThread);
        QVERIFY(common.contains(u"M10"_s) && common.contains(u"G1/2"_s) && common.contains(u"1-5 ACME"_s));

        EnterDesignation(*w, u"M10x1.25"_s);
        EnterDesignation(*w, u"Tr40x7"_s);
        QCOMPARE(Items(w->cbThread).mid(0, 2), (QStringList{u"Tr40x7"_s, u"M10x1.25"_s}));
        // A common size used recently stands once, among the recent ones.
        QCOMPARE(Items(w->cbThread).count(u"Tr40x7"_s), 1);
        // Refused designations are not remembered.
        EnterDesignation(*w, u"M10x1.5-6z"_s);
        QCOMPARE(w->RecentThreads, (QStringList{u"Tr40x7"_s, u"M10x1.25"_s}));

        // Bounded: the oldest go.
        for (int size : {3, 4, 5, 6, 8, 10, 12, 16, 20, 24})
            EnterDesignation(*w, u"M%1"_s.arg(size));
        QCOMPARE(w->RecentThreads.size(), 10);
        QCOMPARE(w->RecentThreads.first(), u"M24"_s);
        QCOMPARE(w->RecentThreads.last(), u"M3"_s);
        QVERIFY(w->close());
    }
    {
        QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
        key.beginGroup(u"Conformity"_s);
        QStringList stored = key.value(u"Threads"_s).toStringList();
        QCOMPARE(stored.size(), 10);
        QCOMPARE(stored.first(), u"M24"_s);
        // What no longer reads as a designation is not offered again.
        stored.insert(1, u"nonsense"_s);
        key.setValue(u"Threads"_s, stored);
    }
    auto again = OpenWindow();
    QCOMPARE(again->RecentThreads.size(), 10);
    QCOMPARE(again->RecentThreads.first(), u"M24"_s);
    QVERIFY(!again->RecentThreads.contains(u"nonsense"_s));
    QCOMPARE(again->cbThread->itemText(0), u"M24"_s);
    // The box starts empty: the design's fields are not stored either.
    QVERIFY(again->cbThread->currentText().isEmpty());
}

QTEST_MAIN(TestSrDiamThread)
#include "TestSrDiamThread.moc"
