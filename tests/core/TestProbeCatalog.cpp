#include "ProbeCatalog.h"

#include <QtTest>

#include <limits>
#include <vector>

using zevko::CatalogEntry;
using zevko::CatalogField;
using zevko::ProbeCatalog;
using State = zevko::ProbeCatalog::EditState;

Q_DECLARE_METATYPE(zevko::CatalogField)
Q_DECLARE_METATYPE(std::vector<double>)

namespace {

ProbeCatalog Loaded(const std::vector<double>& mm)
{
    ProbeCatalog c;
    c.Open();
    for (double v : mm)
        c.AppendLoaded(v);
    c.Sort();
    c.First();
    c.SetChanged(false);
    return c;
}

std::vector<double> Mm(const ProbeCatalog& c)
{
    std::vector<double> v;
    for (const CatalogEntry& e : c.Entries())
        v.push_back(e.DIAMm);
    return v;
}

// QCOMPARE on doubles is fuzzy; stored diameters must match to the last bit.
#define COMPARE_EXACT(actual, expected) \
    QVERIFY2((actual) == (expected),    \
             qPrintable(QStringLiteral("%1 != %2").arg((actual), 0, 'g', 17).arg((expected), 0, 'g', 17)))

// The entries' inch values must follow their millimetres exactly as derived in
// extended precision.
void VerifyCoupled(const ProbeCatalog& c)
{
    for (const CatalogEntry& e : c.Entries())
        COMPARE_EXACT(e.DIAMi, static_cast<double>(static_cast<long double>(e.DIAMm) / 25.4L));
}

} // namespace

class TestProbeCatalog : public QObject {
    Q_OBJECT

private slots:
    void cursorWalksAndStandsPastTheEnd()
    {
        ProbeCatalog c = Loaded({1.0, 0.5, 2.0});
        QCOMPARE(Mm(c), (std::vector<double>{0.5, 1.0, 2.0}));
        VerifyCoupled(c);
        QCOMPARE(c.Position(), std::size_t{0});
        std::vector<double> seen;
        for (c.First(); !c.Eof(); c.Next())
            seen.push_back(c.Current().DIAMm);
        QCOMPARE(seen, (std::vector<double>{0.5, 1.0, 2.0}));
        QCOMPARE(c.Position(), c.Count());
        // Past the end the last entry is still the one shown and read.
        QCOMPARE(c.Current().DIAMm, 2.0);
        c.Next();
        QCOMPARE(c.Position(), c.Count());
        c.SetPosition(99);
        QCOMPARE(c.Position(), c.Count());
        c.SetPosition(1);
        QCOMPARE(c.Current().DIAMm, 1.0);
        QVERIFY(!c.Changed());
    }

    void emptyCatalogReadsZeros()
    {
        ProbeCatalog c = Loaded({});
        QVERIFY(c.Eof());
        QCOMPARE(c.Current().DIAMm, 0.0);
        QCOMPARE(c.Current().DIAMi, 0.0);
        QVERIFY(!c.HasEntryToDelete());
        QVERIFY(!c.Delete());
        QVERIFY(!c.BeginEdit());
        QCOMPARE(c.State(), State::Browsing);
        QVERIFY(!c.Changed());
    }

    void newEntryCouplesUnits_data()
    {
        QTest::addColumn<bool>("typeMm");
        QTest::addColumn<double>("mm");
        QTest::addColumn<bool>("typeIn");
        QTest::addColumn<double>("in");
        QTest::addColumn<CatalogField>("cursor");
        QTest::addColumn<double>("expectMm");
        QTest::addColumn<double>("expectIn");
        QTest::addColumn<std::size_t>("expectPosition");

        const double twoMmInInches = static_cast<double>(2.0L / 25.4L);
        QTest::newRow("2 mm typed in mm")
            << true << 2.0 << false << 0.0 << CatalogField::DIAMm << 2.0 << twoMmInInches << std::size_t{2};
        QTest::newRow("0.1 in typed in in")
            << false << 0.0 << true << 0.1 << CatalogField::DIAMi << 2.54 << 0.1 << std::size_t{3};
        // The cell cursor moved on to the untouched column before the row was
        // left: the typed value still decides.
        QTest::newRow("mm typed, cursor in in")
            << true << 2.0 << false << 0.0 << CatalogField::DIAMi << 2.0 << twoMmInInches << std::size_t{2};
        QTest::newRow("in typed, cursor in mm")
            << false << 0.0 << true << 0.1 << CatalogField::DIAMm << 2.54 << 0.1 << std::size_t{3};
        QTest::newRow("both typed, cursor in in")
            << true << 3.0 << true << 0.01 << CatalogField::DIAMi << 0.254 << 0.01 << std::size_t{0};
        QTest::newRow("both typed, cursor in mm") << true << 0.1 << true << 5.0 << CatalogField::DIAMm << 0.1
                                                  << static_cast<double>(0.1L / 25.4L) << std::size_t{0};
        QTest::newRow("zero accepted") << true << 0.0 << false << 0.0 << CatalogField::DIAMm << 0.0 << 0.0
                                       << std::size_t{0};
        QTest::newRow("negative accepted") << true << -1.0 << false << 0.0 << CatalogField::DIAMm << -1.0
                                           << static_cast<double>(-1.0L / 25.4L) << std::size_t{0};
        QTest::newRow("duplicate accepted") << true << 1.0 << false << 0.0 << CatalogField::DIAMm << 1.0
                                            << static_cast<double>(1.0L / 25.4L) << std::size_t{2};
    }

    void newEntryCouplesUnits()
    {
        QFETCH(bool, typeMm);
        QFETCH(double, mm);
        QFETCH(bool, typeIn);
        QFETCH(double, in);
        QFETCH(CatalogField, cursor);
        QFETCH(double, expectMm);
        QFETCH(double, expectIn);
        QFETCH(std::size_t, expectPosition);

        ProbeCatalog c = Loaded({0.5, 1.0, 2.5});
        c.Append();
        QCOMPARE(c.State(), State::Inserting);
        QCOMPARE(c.Count(), std::size_t{4});
        QCOMPARE(c.Position(), std::size_t{3});
        QVERIFY(!c.HasEntryToDelete());
        // The stored diameters the proposal walks leave the new row out.
        QCOMPARE(c.DiametersMm(), (std::vector<double>{0.5, 1.0, 2.5}));
        if (typeMm)
            QVERIFY(c.SetField(CatalogField::DIAMm, mm));
        if (typeIn)
            QVERIFY(c.SetField(CatalogField::DIAMi, in));
        QCOMPARE(c.RowModified(), typeMm || typeIn);
        QVERIFY(c.Post(cursor));

        QCOMPARE(c.State(), State::Browsing);
        QVERIFY(c.Changed());
        QCOMPARE(c.Count(), std::size_t{4});
        // The new entry takes its place in ascending order and stays current.
        QCOMPARE(c.Position(), expectPosition);
        COMPARE_EXACT(c.Current().DIAMm, expectMm);
        COMPARE_EXACT(c.Current().DIAMi, expectIn);
        const std::vector<double> mmList = Mm(c);
        QVERIFY(std::is_sorted(mmList.begin(), mmList.end()));
    }

    void newEntryWhileTypingReadsZeroForUntypedValue()
    {
        ProbeCatalog c = Loaded({1.0});
        c.Append();
        QCOMPARE(c.Current().DIAMm, 0.0);
        c.SetField(CatalogField::DIAMi, 0.5);
        QCOMPARE(c.Current().DIAMm, 0.0);
        QCOMPARE(c.Current().DIAMi, 0.5);
    }

    void abandonedNewEntryLeavesNothingButMarksChanged()
    {
        ProbeCatalog c = Loaded({0.5, 1.0, 2.0});
        c.SetPosition(1);
        c.Append();
        c.SetField(CatalogField::DIAMm, 0.1);
        c.Cancel();
        QCOMPARE(Mm(c), (std::vector<double>{0.5, 1.0, 2.0}));
        QCOMPARE(c.Position(), std::size_t{1});
        QCOMPARE(c.State(), State::Browsing);
        QVERIFY(c.Changed());
    }

    void existingEntryEditedInPlace_data()
    {
        QTest::addColumn<CatalogField>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expectMm");
        QTest::addColumn<double>("expectIn");
        QTest::addColumn<std::size_t>("expectPosition");

        QTest::newRow("mm re-derives in")
            << CatalogField::DIAMm << 3.0 << 3.0 << static_cast<double>(3.0L / 25.4L) << std::size_t{2};
        QTest::newRow("in re-derives mm") << CatalogField::DIAMi << 0.01 << 0.254 << 0.01 << std::size_t{0};
    }

    void existingEntryEditedInPlace()
    {
        QFETCH(CatalogField, typed);
        QFETCH(double, value);
        QFETCH(double, expectMm);
        QFETCH(double, expectIn);
        QFETCH(std::size_t, expectPosition);

        ProbeCatalog c = Loaded({0.5, 1.0, 2.0});
        c.SetPosition(1);
        QVERIFY(c.SetField(typed, value)); // typing into a browsed row starts the edit
        QCOMPARE(c.State(), State::Editing);
        QCOMPARE(c.Count(), std::size_t{3});
        QCOMPARE(c.DiametersMm(), (std::vector<double>{0.5, 1.0, 2.0}));
        // The cursor column is the other one: the typed cell still decides.
        QVERIFY(c.Post(typed == CatalogField::DIAMm ? CatalogField::DIAMi : CatalogField::DIAMm));
        QCOMPARE(c.Position(), expectPosition);
        COMPARE_EXACT(c.Current().DIAMm, expectMm);
        COMPARE_EXACT(c.Current().DIAMi, expectIn);
        QVERIFY(c.Changed());
        QCOMPARE(c.Count(), std::size_t{3});
    }

    void abandonedEditIsUndone()
    {
        ProbeCatalog c = Loaded({0.5, 1.0, 2.0});
        c.SetPosition(2);
        c.SetField(CatalogField::DIAMm, 0.1);
        c.Cancel();
        QCOMPARE(Mm(c), (std::vector<double>{0.5, 1.0, 2.0}));
        VerifyCoupled(c);
        QCOMPARE(c.Position(), std::size_t{2});
        QVERIFY(c.Changed());
    }

    void settleStoresTypedRowsAndAbandonsUntouchedOnes()
    {
        ProbeCatalog typedNew = Loaded({1.0});
        typedNew.Append();
        typedNew.SetField(CatalogField::DIAMi, 0.1);
        typedNew.Settle(CatalogField::DIAMm);
        QCOMPARE(Mm(typedNew), (std::vector<double>{1.0, 2.54}));

        ProbeCatalog untouchedNew = Loaded({1.0});
        untouchedNew.Append();
        untouchedNew.Settle();
        QCOMPARE(Mm(untouchedNew), (std::vector<double>{1.0}));
        QCOMPARE(untouchedNew.State(), State::Browsing);

        ProbeCatalog typedEdit = Loaded({1.0, 2.0});
        typedEdit.SetField(CatalogField::DIAMm, 3.0);
        typedEdit.Settle();
        QCOMPARE(Mm(typedEdit), (std::vector<double>{2.0, 3.0}));
        VerifyCoupled(typedEdit);

        ProbeCatalog browsing = Loaded({1.0});
        browsing.Settle();
        QVERIFY(!browsing.Changed());
    }

    void movingTheCursorSettlesTheRow()
    {
        // New while a new row is typed: the first one is stored.
        ProbeCatalog c = Loaded({1.0});
        c.Append();
        c.SetField(CatalogField::DIAMm, 0.5);
        c.Append();
        QCOMPARE(c.Count(), std::size_t{3});
        QCOMPARE(c.DiametersMm(), (std::vector<double>{0.5, 1.0}));
        c.Append(); // the untouched second one is abandoned
        QCOMPARE(c.Count(), std::size_t{3});

        // The proposal walk starts with First(): an edit is stored first.
        ProbeCatalog w = Loaded({1.0, 2.0});
        w.SetPosition(1);
        w.SetField(CatalogField::DIAMm, 0.5);
        w.First();
        QCOMPARE(w.State(), State::Browsing);
        QCOMPARE(Mm(w), (std::vector<double>{0.5, 1.0}));
        QCOMPARE(w.Position(), std::size_t{0});

        // Re-selecting the row being edited does not end the edit.
        ProbeCatalog s = Loaded({1.0, 2.0});
        s.SetPosition(1);
        s.SetField(CatalogField::DIAMm, 5.0);
        s.SetPosition(1);
        QCOMPARE(s.State(), State::Editing);
        s.SetPosition(0);
        QCOMPARE(s.State(), State::Browsing);
        QCOMPARE(Mm(s), (std::vector<double>{1.0, 5.0}));
    }

    void clickedRowStaysPickedWhenTheListResorts_data()
    {
        QTest::addColumn<bool>("newRow");
        QTest::addColumn<double>("typed");
        QTest::addColumn<std::size_t>("clicked");
        QTest::addColumn<double>("expectCurrent");
        QTest::addColumn<std::vector<double>>("expectList");

        QTest::newRow("new row sorts before the clicked one")
            << true << 1.5 << std::size_t{1} << 2.0 << std::vector<double>{1, 1.5, 2, 3};
        QTest::newRow("edited row sorts past the clicked one")
            << false << 5.0 << std::size_t{1} << 2.0 << std::vector<double>{2, 3, 5};
        QTest::newRow("untouched new row dropped")
            << true << -1.0 << std::size_t{2} << 3.0 << std::vector<double>{1, 2, 3};
        QTest::newRow("clicked past the end")
            << false << 0.5 << std::size_t{7} << 3.0 << std::vector<double>{0.5, 2, 3};
    }

    void clickedRowStaysPickedWhenTheListResorts()
    {
        QFETCH(bool, newRow);
        QFETCH(double, typed);
        QFETCH(std::size_t, clicked);
        QFETCH(double, expectCurrent);
        QFETCH(std::vector<double>, expectList);

        ProbeCatalog c = Loaded({1.0, 2.0, 3.0});
        if (newRow)
            c.Append();
        if (typed >= 0)
            c.SetField(CatalogField::DIAMm, typed);
        c.SetPosition(clicked);
        QCOMPARE(c.State(), State::Browsing);
        QCOMPARE(Mm(c), expectList);
        QCOMPARE(c.Current().DIAMm, expectCurrent);
    }

    void typingWhereNoRowIsSelected()
    {
        // Past the end the highlighted last entry is edited.
        ProbeCatalog past = Loaded({1.0, 2.0});
        past.SetPosition(2);
        past.SetField(CatalogField::DIAMm, 3.0);
        QCOMPARE(past.State(), State::Editing);
        QCOMPARE(past.Position(), std::size_t{1});
        past.Post();
        QCOMPARE(Mm(past), (std::vector<double>{1.0, 3.0}));

        // An empty grid takes the typing as a new entry.
        ProbeCatalog empty = Loaded({});
        empty.SetField(CatalogField::DIAMi, 1.0);
        QCOMPARE(empty.State(), State::Inserting);
        empty.Post(CatalogField::DIAMi);
        QCOMPARE(Mm(empty), (std::vector<double>{25.4}));
    }

    void nonFiniteValuesAreRefused()
    {
        ProbeCatalog c = Loaded({1.0});
        QVERIFY(!c.SetField(CatalogField::DIAMm, std::numeric_limits<double>::infinity()));
        QVERIFY(!c.SetField(CatalogField::DIAMi, std::numeric_limits<double>::quiet_NaN()));
        QCOMPARE(c.State(), State::Browsing);
        QCOMPARE(Mm(c), (std::vector<double>{1.0}));

        // An inch value whose millimetres overflow cannot be stored.
        c.Append();
        QVERIFY(c.SetField(CatalogField::DIAMi, 1e308));
        QVERIFY(!c.Post(CatalogField::DIAMi));
        QCOMPARE(c.State(), State::Inserting);
        c.Settle();
        QCOMPARE(Mm(c), (std::vector<double>{1.0}));
    }

    void deleteOnlyAStoredEntryAtTheCursor()
    {
        ProbeCatalog c = Loaded({0.5, 1.0, 2.0});
        // After a walk that ran past the last entry nothing is deleted.
        for (c.First(); !c.Eof(); c.Next()) {}
        QVERIFY(!c.Delete());
        QCOMPARE(c.Count(), std::size_t{3});
        QVERIFY(!c.Changed());

        // While a new entry is typed nothing is deleted, the new row included.
        c.Append();
        c.SetField(CatalogField::DIAMm, 4.0);
        QVERIFY(!c.Delete());
        QCOMPARE(c.Count(), std::size_t{4});
        QCOMPARE(c.State(), State::Inserting);
        c.Cancel();
        c.SetChanged(false);

        // A clicked entry is removed; the next one moves up under the cursor.
        c.SetPosition(1);
        QVERIFY(c.Delete());
        QVERIFY(c.Changed());
        QCOMPARE(Mm(c), (std::vector<double>{0.5, 2.0}));
        QCOMPARE(c.Position(), std::size_t{1});
        // Deleting the last entry leaves the new last one current.
        QVERIFY(c.Delete());
        QCOMPARE(c.Position(), std::size_t{0});
        QCOMPARE(c.Current().DIAMm, 0.5);
        QVERIFY(c.Delete());
        QCOMPARE(c.Count(), std::size_t{0});
        QVERIFY(!c.Delete());
    }

    void deleteDuringAnEditRemovesThatEntry()
    {
        ProbeCatalog c = Loaded({0.5, 1.0, 2.0});
        c.SetPosition(1);
        c.SetField(CatalogField::DIAMm, 9.0);
        QVERIFY(c.Delete());
        QCOMPARE(c.State(), State::Browsing);
        QCOMPARE(Mm(c), (std::vector<double>{0.5, 2.0}));
        VerifyCoupled(c);
    }

    void sortKeepsTheCurrentEntryCurrent()
    {
        ProbeCatalog c;
        c.Open();
        for (double v : {3.0, 1.0, 2.0, 1.0})
            c.AppendLoaded(v);
        c.SetPosition(0); // 3.0
        c.Sort();
        QCOMPARE(Mm(c), (std::vector<double>{1.0, 1.0, 2.0, 3.0}));
        QCOMPARE(c.Position(), std::size_t{3});

        c.SetPosition(c.Count()); // past the end stays past the end
        c.Sort();
        QCOMPARE(c.Position(), c.Count());
    }

    void openEmptiesAndResets()
    {
        ProbeCatalog c = Loaded({1.0, 2.0});
        c.Append();
        c.SetChanged(true);
        c.Close();
        QVERIFY(!c.IsOpen());
        QCOMPARE(c.Count(), std::size_t{3}); // closing keeps the list
        c.Open();
        QVERIFY(c.IsOpen());
        QCOMPARE(c.Count(), std::size_t{0});
        QCOMPARE(c.State(), State::Browsing);
        QVERIFY(!c.Changed());
    }

    void fieldNames()
    {
        QCOMPARE(zevko::CatalogFieldName(CatalogField::DIAMm), "DIAMm");
        QCOMPARE(zevko::CatalogFieldName(CatalogField::DIAMi), "DIAMi");
    }
};

QTEST_APPLESS_MAIN(TestProbeCatalog)
#include "TestProbeCatalog.moc"
