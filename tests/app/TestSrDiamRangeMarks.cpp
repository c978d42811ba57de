// Fields whose value lies outside its accepted range are marked (error
// border, the accepted range as the tooltip in the window's language) for as
// long as the value stays there; the lead update and the calculation still do
// nothing for them, without a message.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QtTest>

using srdiamtest::OpenWindow;
using srdiamtest::Type;

namespace {

TZFloatEdit* FieldNamed(SrDiamTester& w, const QString& name)
{
    return w.findChild<TZFloatEdit*>(name);
}

// Moves the focus on, as Tab does: the field left applies its limits.
void Leave(SrDiamTester& w)
{
    w.ui->rbOut->setFocus();
}

} // namespace

class TestSrDiamRangeMarks : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    // Every field, typed in and out of its range, in both unit systems; the
    // reason names the range in the unit shown (inch limits rounded inwards:
    // 100 / 25.4 = 3.937007..., 4000 / 25.4 = 157.480314...).
    void eachField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("inches");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason"); // empty: in range, no mark

        const QString none;
        struct Row {
            const char* Name;
            const char* Field;
            bool Inches;
            char Separator;
            const char* Typed;
            QString Reason;
        };
        const Row rows[] = {
            {"pitch 100 mm", "edStapka", false, '.', "100", none},
            {"pitch 100.5 mm", "edStapka", false, '.', "100.5", "Accepted range: 0 to 100 mm"},
            {"pitch negative", "edStapka", false, '.', "-0.5", "Accepted range: 0 to 100 mm"},
            {"pitch 3.937 in", "edStapka", true, '.', "3.937", none},
            {"pitch 3.94 in", "edStapka", true, '.', "3.94", "Accepted range: 0 to 3.937 in"},
            {"pitch 3,94 in", "edStapka", true, ',', "3,94", "Accepted range: 0 to 3,937 in"},
            {"starts 100", "edBrH", false, '.', "100", none},
            {"starts 101", "edBrH", false, '.', "101", "Accepted range: 0 to 100"},
            {"starts 101 in", "edBrH", true, '.', "101", "Accepted range: 0 to 100"},
            {"starts negative", "edBrH", false, '.', "-1", "Accepted range: 0 to 100"},
            {"beta degrees 90", "edBg", false, '.', "90", none},
            {"beta degrees 90.5", "edBg", false, '.', "90.5", "Accepted range: 0\u00B0 to 90\u00B0"},
            {"beta minutes 60", "edBm", false, '.', "60", "Accepted range: 0\u2032 to 59\u2032"},
            {"beta seconds 60", "edBs", false, '.', "60", "Accepted range: 0\u2033 to 59\u2033"},
            {"gamma degrees 91 in", "edYg", true, '.', "91", "Accepted range: 0\u00B0 to 90\u00B0"},
            {"gamma minutes 59", "edYm", false, '.', "59", none},
            {"gamma minutes 75", "edYm", false, '.', "75", "Accepted range: 0\u2032 to 59\u2032"},
            {"gamma seconds 61", "edYs", false, '.', "61", "Accepted range: 0\u2033 to 59\u2033"},
            {"probe 150 mm", "edDiam", false, '.', "150", "Accepted range: 0 to 100 mm"},
            {"probe 3.95 in", "edDiam", true, '.', "3.95", "Accepted range: 0 to 3.937 in"},
            {"probe 3.9 in", "edDiam", true, '.', "3.9", none},
            {"force 100 N", "edIzmN", false, '.', "100", none},
            {"force 101 N", "edIzmN", false, '.', "101", "Accepted range: 0 to 100 N"},
            {"force 101 N in", "edIzmN", true, '.', "101", "Accepted range: 0 to 100 N"},
            {"measured 4000 mm", "edIzmSt", false, '.', "4000", none},
            {"measured 4001 mm", "edIzmSt", false, '.', "4001", "Accepted range: 0 to 4000 mm"},
            {"measured 157.48 in", "edIzmSt", true, '.', "157.48", none},
            {"measured 157.5 in", "edIzmSt", true, '.', "157.5", "Accepted range: 0 to 157.48031 in"},
            {"measured 157,5 in", "edIzmSt", true, ',', "157,5", "Accepted range: 0 to 157,48031 in"},
        };
        for (const Row& row : rows)
            QTest::newRow(row.Name) << QString(row.Field) << row.Inches << row.Separator << QString(row.Typed)
                                    << row.Reason;
    }

    void eachField()
    {
        QFETCH(QString, field);
        QFETCH(bool, inches);
        QFETCH(char, separator);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        SetZDecimalSeparator(separator);
        auto w = OpenWindow();
        if (inches)
            w->btnMMClick();
        TZFloatEdit* edit = FieldNamed(*w, field);
        QVERIFY(edit);

        Type(edit, typed);
        QCOMPARE(edit->Text(), typed);
        QCOMPARE(edit->Marked(), !reason.isEmpty());
        QCOMPARE(edit->ErrorMark(), reason);
        // No other field is marked.
        for (TZFloatEdit* other : w->findChildren<TZFloatEdit*>())
            QVERIFY2(other == edit || !other->Marked(), qPrintable(other->objectName()));
        // Back in range, the mark goes at once.
        Type(edit, QStringLiteral("1"));
        QVERIFY(!edit->Marked());
        QVERIFY(edit->ErrorMark().isEmpty());
    }

    // A millimetre value beyond the field's limit is held to it on leaving,
    // which takes the mark away; an inch value beyond the millimetre limit
    // is within the field's own limit and stays marked until corrected.
    void markLastsUntilCorrected()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "150");
        QVERIFY(w->ui->edStapka->Marked());
        Leave(*w);
        QCOMPARE(w->ui->edStapka->Text(), QString("100"));
        QVERIFY(!w->ui->edStapka->Marked());

        w->btnMMClick();
        Type(w->ui->edStapka, "3.94");
        Leave(*w);
        QCOMPARE(w->ui->edStapka->Text(), QString("3.94"));
        QVERIFY(w->ui->edStapka->Marked());
        Type(w->ui->edStapka, "3.93");
        QVERIFY(!w->ui->edStapka->Marked());
        QVERIFY(w->Messages.isEmpty());
    }

    // The calculation still does nothing for a marked value, and says
    // nothing: the mark is what tells why.
    void calculationStaysSilent()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, {0.866});
        Type(w->ui->edStapka, "1.5");
        QCOMPARE(w->ui->edDiam->Text(), QString("0.866"));
        Type(w->ui->edIzmN, "1");
        srdiamtest::TypeAndEnter(w->ui->edIzmSt, "10.32496");
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));

        Type(w->ui->edIzmSt, "4001");
        QVERIFY(w->ui->edIzmSt->Marked());
        w->btnCalcClick();
        QVERIFY(w->ui->lSrDA2->Caption().isEmpty());
        QVERIFY(w->Messages.isEmpty());
        srdiamtest::TypeAndEnter(w->ui->edIzmSt, "10.32496");
        QVERIFY(!w->ui->edIzmSt->Marked());
        QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
    }

    // A length the program wrote is judged as the exact millimetres it
    // stands for: 100 mm shown as 3.93701 in (100.00005 mm when read back)
    // is no fault.
    void writtenLengthJudgedExactly()
    {
        auto w = OpenWindow();
        Type(w->ui->edStapka, "100");
        Type(w->ui->edIzmSt, "4000");
        w->btnMMClick();
        QCOMPARE(w->ui->edStapka->Text(), QString("3.93701"));
        QCOMPARE(w->ui->edIzmSt->Text(), QString("157.48031"));
        QVERIFY(!w->ui->edStapka->Marked());
        QVERIFY(!w->ui->edIzmSt->Marked());
        // Typed by the user, the same text is 100.00005 mm.
        Type(w->ui->edStapka, "3.93701");
        QVERIFY(w->ui->edStapka->Marked());
    }

    // The unit switch judges again and states the range in the new unit.
    void unitSwitch()
    {
        auto w = OpenWindow();
        Type(w->ui->edIzmSt, "4001");
        QCOMPARE(w->ui->edIzmSt->ErrorMark(), QString("Accepted range: 0 to 4000 mm"));
        // Still typed, not left: the switch shows the stored 4001 mm in inches.
        w->btnMMClick();
        QCOMPARE(w->ui->edIzmSt->Text(), QString("157.51969"));
        QCOMPARE(w->ui->edIzmSt->ErrorMark(), QString("Accepted range: 0 to 157.48031 in"));

        Type(w->ui->edStapka, "3.94");
        QVERIFY(w->ui->edStapka->Marked());
        // Back in millimetres 100.076 mm is beyond the field's limit of 100:
        // the field holds the limit, the stored pitch with it, and the mark goes.
        w->btnMMClick();
        QCOMPARE(w->ui->edStapka->Text(), QString("100"));
        QCOMPARE(w->PitchMm, 100.0);
        QVERIFY(!w->ui->edStapka->Marked());
    }

    // The reason is in the window's language and follows a change of it.
    void language_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("angle");
        QTest::newRow("English") << 3 << "Accepted range: 0 to 3.937 in"
                                 << "Accepted range: 0\u2032 to 59\u2032";
        QTest::newRow("German") << 2 << "Zul\u00E4ssiger Bereich: 0 bis 3.937 in"
                                << "Zul\u00E4ssiger Bereich: 0\u2032 bis 59\u2032";
        QTest::newRow("Bulgarian") << 1
                                   << "\u0414\u043E\u043F\u0443\u0441\u0442\u0438\u043C \u0434\u0438\u0430\u043F\u0430"
                                      "\u0437\u043E\u043D: \u043E\u0442 0 \u0434\u043E 3.937 in"
                                   << "\u0414\u043E\u043F\u0443\u0441\u0442\u0438\u043C \u0434\u0438\u0430\u043F\u0430"
                                      "\u0437\u043E\u043D: \u043E\u0442 0\u2032 \u0434\u043E 59\u2032";
    }

    void language()
    {
        QFETCH(int, language);
        QFETCH(QString, length);
        QFETCH(QString, angle);
        auto w = OpenWindow();
        w->btnMMClick();
        // The pitch stays marked when left; the minutes until they are left.
        Type(w->ui->edStapka, "3.94");
        Type(w->ui->edYm, "60");
        // From another language into this one, while both stay marked.
        if (language == 3)
            w->DeutschClick();
        else
            w->EnglishClick();
        QVERIFY(w->ui->edStapka->Marked());
        QVERIFY(w->ui->edYm->Marked());
        switch (language) {
        case 1: w->BulClick(); break;
        case 2: w->DeutschClick(); break;
        default: w->EnglishClick(); break;
        }
        QCOMPARE(w->ui->edStapka->ErrorMark(), length);
        QCOMPARE(w->ui->edYm->ErrorMark(), angle);
    }
};

QTEST_MAIN(TestSrDiamRangeMarks)
#include "TestSrDiamRangeMarks.moc"
