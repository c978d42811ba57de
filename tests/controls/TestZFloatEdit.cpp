#include <cmath>
#include <limits>

#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "FieldFixture.h"

Q_DECLARE_METATYPE(TZValueType)

class TestZFloatEdit : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetZDecimalSeparator('.'); }

    void typingAndLeaving_data();
    void typingAndLeaving();
    void writingValueClampsWithAChangeEachTime_data();
    void writingValueClampsWithAChangeEachTime();
    void integerFormatRoundsHalfToEven_data();
    void integerFormatRoundsHalfToEven();
    void nonFiniteValuesNeverReachTheText();
    void assignedTextIsNormalised_data();
    void assignedTextIsNormalised();
    void changeHandlersRunSynchronously();
    void minusRules_data();
    void minusRules();
    void characterFilter_data();
    void characterFilter();
    void typingOverASelection_data();
    void typingOverASelection();
    void keyPressSeesOnlyFilteredCharacters();
    void escapeRestoresEntryTextAndTabMoves();
    void focusEntryPutsCaretAtEnd();
    void contextMenuIsNotLeavingTheField();
    void integerFieldWithMinusTakesElevenCharacters();
    void pasteIsFilteredLikeTyping_data();
    void pasteIsFilteredLikeTyping();
    void contextMenuPasteIsFiltered();
    void integerValue_data();
    void integerValue();
    void setters();
    void disabledColour();
};

namespace {
void Configure(TZFloatEdit* f, TZValueType type, double min, double max, int decimals)
{
    f->SetValueType(type);
    f->SetDecimal(decimals);
    f->SetMinValue(min);
    f->SetMaxValue(max);
}

void AddSeparatorRows(const char* name, const std::function<void(QTestData&, char)>& add)
{
    for (const char separator : {'.', ','}) {
        QTestData& row = QTest::addRow("%s [%c]", name, separator);
        add(row, separator);
    }
}
} // namespace

void TestZFloatEdit::typingAndLeaving_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // '.' = the separator
    QTest::addColumn<double>("value");

    struct Row {
        const char* name;
        TZValueType type;
        double min, max;
        int decimals;
        const char* typed;
        const char* shown;
        double value;
    };
    const Row rows[] = {
        {"above max", vt_Float, 0, 100, 0, "150", "100", 100},
        {"below min", vt_Float, 0, 100, 0, "-5", "0", 0},
        {"emptied", vt_Float, 0, 100, 0, "", "0", 0},
        {"minus alone", vt_Float, 0, 100, 0, "-", "0", 0},
        {"minus alone, no limits", vt_Float, 0, 0, 0, "-", "0", 0},
        {"integer above max", vt_Integer, 0, 59, 0, "75", "59", 59},
        {"leading zeros stay", vt_Integer, 0, 59, 0, "007", "007", 7},
        {"integer beyond 32 bits", vt_Integer, 0, 100, 0, "99999999999", "100", 100},
        {"point becomes separator", vt_Float, 0, 100, 0, "1.5", "1.5", 1.5},
        {"comma becomes separator", vt_Float, 0, 100, 0, "1,5", "1.5", 1.5},
        {"second mark discarded", vt_Float, 0, 100, 0, "1.5,2.", "1.52", 1.52},
        {"general format kept as typed", vt_Float, 0, 100, 0, "1.50", "1.50", 1.5},
        {"decimals reformat inside limits", vt_Float, 0, 100, 2, "1.5", "1.50", 1.5},
        {"decimals reformat without limits", vt_Float, 0, 0, 2, "3", "3.00", 3},
        {"decimals, clamped", vt_Float, 0, 4000, 3, "5000", "4000.000", 4000},
        {"exponent", vt_Float, 0, 4000, 0, "1E3", "1E3", 1000},
        {"lower exponent", vt_Float, 0, 4000, 0, "2.5e-2", "2.5e-2", 0.025},
        {"limit from below", vt_Float, 10, 20, 0, "3", "10", 10},
        // Text that reads as no number is not left showing while 0 is used.
        {"exponent alone", vt_Float, 0, 90, 0, "E5", "0", 0},
        {"exponent overflow", vt_Float, 0, 90, 0, "1e99999", "0", 0},
        {"exponent without digits", vt_Float, 0, 0, 0, "1E", "0", 0},
        {"point alone", vt_Float, 0, 100, 0, ".", "0", 0},
        {"plus inside", vt_Float, 0, 0, 0, "1+2", "0", 0},
        {"unreadable, then decimals", vt_Float, 0, 100, 2, "E5", "0.00", 0},
        {"unreadable, then the limit", vt_Float, 10, 20, 0, "E5", "10", 10},
    };
    for (const Row& r : rows) {
        AddSeparatorRows(r.name, [&r](QTestData& row, char separator) {
            row << separator << r.type << r.min << r.max << r.decimals << QString::fromLatin1(r.typed)
                << WithSeparator(QString::fromLatin1(r.shown), separator) << r.value;
        });
    }
}

void TestZFloatEdit::typingAndLeaving()
{
    QFETCH(char, separator);
    QFETCH(TZValueType, type);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, decimals);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);

    SetZDecimalSeparator(separator);
    FieldWindow w;
    Configure(w.field, type, min, max, decimals);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, typed);
    w.Leave();
    QVERIFY(!w.field->hasFocus());
    QCOMPARE(w.field->text(), shown);
    QCOMPARE(double(w.field->Value()), value);
}

void TestZFloatEdit::writingValueClampsWithAChangeEachTime_data()
{
    QTest::addColumn<double>("written");
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("above max") << 250.0 << QStringList{"250", "100"};
    QTest::newRow("below min") << -3.0 << QStringList{"-3", "0"};
    QTest::newRow("inside") << 42.5 << QStringList{"42.5"};
    QTest::newRow("on the limit") << 100.0 << QStringList{"100"};
    // Infinity shows as the "0" that is already there, then the limit.
    QTest::newRow("infinite") << double(std::numeric_limits<double>::infinity()) << QStringList{"100"};
}

void TestZFloatEdit::writingValueClampsWithAChangeEachTime()
{
    QFETCH(double, written);
    QFETCH(QStringList, changes);
    TZFloatEdit field;
    Configure(&field, vt_Float, 0, 100, 0);
    QStringList seen;
    connect(&field, &TZCustomEdit::OnChange, this, [&] { seen << field.text(); });
    field.SetValue(written);
    QCOMPARE(seen, changes);
}

void TestZFloatEdit::integerFormatRoundsHalfToEven_data()
{
    QTest::addColumn<double>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2.5") << 2.5 << "2";
    QTest::newRow("3.5") << 3.5 << "4";
    QTest::newRow("0.5") << 0.5 << "0";
    QTest::newRow("-2.5") << -2.5 << "-2";
    QTest::newRow("-3.5") << -3.5 << "-4";
    QTest::newRow("2.7") << 2.7 << "3";
    QTest::newRow("2.4999") << 2.4999 << "2";
}

void TestZFloatEdit::integerFormatRoundsHalfToEven()
{
    QFETCH(double, written);
    QFETCH(QString, shown);
    TZFloatEdit field;
    field.SetValueType(vt_Integer);
    field.SetValue(written);
    QCOMPARE(field.text(), shown);
}

void TestZFloatEdit::nonFiniteValuesNeverReachTheText()
{
    TZFloatEdit field;
    field.SetValueType(vt_Float);
    field.SetDecimal(0);
    field.SetValue(std::numeric_limits<long double>::quiet_NaN());
    QCOMPARE(field.text(), QString("0"));
    field.SetValue(-std::numeric_limits<long double>::infinity());
    QCOMPARE(field.text(), QString("0"));
    field.SetValueType(vt_Integer);
    field.SetValue(std::numeric_limits<long double>::infinity());
    QCOMPARE(field.text(), QString("0"));
}

void TestZFloatEdit::assignedTextIsNormalised_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("shown"); // '.' = the separator

    struct Row {
        const char* name;
        TZValueType type;
        int decimals;
        const char* assigned;
        const char* shown;
    };
    const Row rows[] = {
        {"letters", vt_Float, 0, "abc", "0"},
        {"empty", vt_Float, 0, "", "0"},
        {"minus", vt_Integer, 0, "-", "0"},
        {"real into integer", vt_Integer, 0, "2.7", "3"},
        {"half into integer", vt_Integer, 0, "2.5", "2"},
        {"leading zeros", vt_Integer, 0, "007", "7"},
        {"trailing zero", vt_Float, 0, "1.50", "1.5"},
        {"other mark", vt_Float, 0, "1,25", "1.25"},
        {"fixed decimals", vt_Float, 2, "1", "1.00"},
        {"rounded to decimals", vt_Float, 2, "1.005", "1.00"},
        {"exponent", vt_Float, 0, "1E3", "1000"},
        {"small", vt_Float, 0, "0.00001", "0.00001"},
    };
    for (const Row& r : rows) {
        AddSeparatorRows(r.name, [&r](QTestData& row, char separator) {
            row << separator << r.type << r.decimals << QString::fromLatin1(r.assigned)
                << WithSeparator(QString::fromLatin1(r.shown), separator);
        });
    }
}

void TestZFloatEdit::assignedTextIsNormalised()
{
    QFETCH(char, separator);
    QFETCH(TZValueType, type);
    QFETCH(int, decimals);
    QFETCH(QString, assigned);
    QFETCH(QString, shown);
    SetZDecimalSeparator(separator);

    // Every way the program can assign a text ends in the field's format.
    TZFloatEdit field;
    field.SetValueType(type);
    field.SetDecimal(decimals);
    field.SetText("77");
    field.SetText(assigned);
    QCOMPARE(field.Text(), shown);

    field.setText("77");
    field.setText(assigned);
    QCOMPARE(field.text(), shown);

    if (assigned.isEmpty()) {
        field.setText("77");
        field.clear();
        QCOMPARE(field.text(), shown);
    }
}

void TestZFloatEdit::changeHandlersRunSynchronously()
{
    TZFloatEdit writer;
    TZFloatEdit written;
    written.SetValueType(vt_Float);
    written.SetDecimal(0);
    QStringList order;
    connect(&written, &TZCustomEdit::OnChange, this, [&] { order << "written changed to " + written.text(); });
    connect(&writer, &TZCustomEdit::OnChange, this, [&] {
        written.SetValue(writer.Value() * 2);
        order << "writer goes on, written reads " + written.text();
    });
    writer.SetValue(21);
    QCOMPARE(order, (QStringList{"written changed to 42", "writer goes on, written reads 42"}));
}

void TestZFloatEdit::minusRules_data()
{
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<QString>("keys"); // '<' Home
    QTest::addColumn<QString>("shown");

    QTest::newRow("integer: at the start") << vt_Integer << "-5"
                                           << "-5";
    QTest::newRow("integer: after a digit") << vt_Integer << "5-"
                                            << "5";
    QTest::newRow("integer: put before the digits") << vt_Integer << "5<-"
                                                    << "-5";
    QTest::newRow("integer: second leading minus") << vt_Integer << "-5<-"
                                                   << "-5";
    QTest::newRow("integer: not after E either") << vt_Integer << "1E-3"
                                                 << "13";
    QTest::newRow("real: at the start") << vt_Float << "-5"
                                        << "-5";
    QTest::newRow("real: after a digit") << vt_Float << "5-"
                                         << "5";
    QTest::newRow("real: doubled at the start") << vt_Float << "--5"
                                                << "-5";
    QTest::newRow("real: second leading minus") << vt_Float << "-5<-"
                                                << "-5";
    QTest::newRow("real: after E") << vt_Float << "1E-3"
                                   << "1E-3";
    QTest::newRow("real: after e") << vt_Float << "1e-3"
                                   << "1e-3";
    QTest::newRow("real: after E-") << vt_Float << "1E--3"
                                    << "1E-3";
    QTest::newRow("real: before an exponent minus") << vt_Float << "5E-3<-"
                                                    << "-5E-3";
}

void TestZFloatEdit::minusRules()
{
    QFETCH(TZValueType, type);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    FieldWindow w;
    Configure(w.field, type, 0, 0, 0);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, keys);
    QCOMPARE(w.field->text(), shown);
}

void TestZFloatEdit::characterFilter_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<QString>("keys"); // '#' Backspace
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");

    AddSeparatorRows("integer keeps digits only", [](QTestData& row, char separator) {
        row << separator << vt_Integer << "12a3.4 5+,e"
            << "12345" << 12345.0;
    });
    AddSeparatorRows("real keeps number characters", [](QTestData& row, char separator) {
        row << separator << vt_Float << "+1x.5 e2;" << WithSeparator("+1.5e2", separator) << 150.0;
    });
    AddSeparatorRows("backspace edits", [](QTestData& row, char separator) {
        row << separator << vt_Float << "12#3"
            << "13" << 13.0;
    });
    AddSeparatorRows("separator after backspace", [](QTestData& row, char separator) {
        row << separator << vt_Float << "1.#,5" << WithSeparator("1.5", separator) << 1.5;
    });
    AddSeparatorRows("non-ASCII digits", [](QTestData& row, char separator) {
        row << separator << vt_Float << QString::fromUtf8("1\u0663\u00B2") << "1" << 1.0;
    });
}

void TestZFloatEdit::characterFilter()
{
    QFETCH(char, separator);
    QFETCH(TZValueType, type);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(double, value);
    SetZDecimalSeparator(separator);
    FieldWindow w;
    Configure(w.field, type, 0, 0, 0);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, keys);
    QCOMPARE(w.field->text(), shown);
    QCOMPARE(double(w.field->Value()), value);
}

namespace {
// Types `plain` into the field, then selects what '[...]' marks in `marked`
// or puts the caret at its '|'.
void PrepareText(FieldWindow& w, const QString& marked)
{
    QString plain = marked;
    plain.remove(u'|').remove(u'[').remove(u']');
    FieldWindow::Retype(w.field, plain);
    QCOMPARE(w.field->text(), plain);
    const qsizetype open = marked.indexOf(u'[');
    if (open >= 0)
        w.field->setSelection(int(open), int(marked.indexOf(u']') - open - 1));
    else
        w.field->setCursorPosition(int(marked.indexOf(u'|')));
}
} // namespace

void TestZFloatEdit::typingOverASelection_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<QString>("before"); // '[...]' selection, '.' = the separator
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<double>("value");

    struct Row {
        const char* name;
        TZValueType type;
        const char* before;
        const char* keys;
        const char* after;
        double value;
    };
    // The characters are judged against the text the selection leaves.
    const Row rows[] = {
        {"decimal mark over a number with one", vt_Float, "[0.866]", ".9", ".9", 0.9},
        {"inch value over an inch value", vt_Float, "[0.0361]", ",0361", ".0361", 0.0361},
        {"minus over a negative number", vt_Float, "[-5]", "-3", "-3", -3},
        {"minus over a leading minus", vt_Float, "[-]5", "-", "-5", -5},
        {"exponent minus over a selected exponent", vt_Float, "1[E-3]", "E-4", "1E-4", 1e-4},
        {"integer minus over a negative number", vt_Integer, "[-5]", "-7", "-7", -7},
        {"mark outside the selection still counts", vt_Float, "1.[5]", ",2", "1.2", 1.2},
        {"refused minus keeps the selection", vt_Float, "1[2]", "-", "12", 12},
    };
    for (const Row& r : rows) {
        AddSeparatorRows(r.name, [&r](QTestData& row, char separator) {
            row << separator << r.type << WithSeparator(QString::fromLatin1(r.before), separator)
                << QString::fromLatin1(r.keys) << WithSeparator(QString::fromLatin1(r.after), separator) << r.value;
        });
    }
}

void TestZFloatEdit::typingOverASelection()
{
    QFETCH(char, separator);
    QFETCH(TZValueType, type);
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(double, value);
    SetZDecimalSeparator(separator);

    FieldWindow w;
    Configure(w.field, type, 0, 0, 0);
    QVERIFY(w.Show());
    PrepareText(w, before);
    QTest::keyClicks(w.field, keys);
    QCOMPARE(w.field->text(), after);
    QCOMPARE(double(w.field->Value()), value);
}

void TestZFloatEdit::keyPressSeesOnlyFilteredCharacters()
{
    SetZDecimalSeparator(',');
    FieldWindow w;
    Configure(w.field, vt_Float, 0, 100, 0);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, QString());
    QString keys;
    int changes = 0;
    connect(w.field, &TZCustomEdit::OnKeyPress, this, [&](QChar key) { keys += key; });
    connect(w.field, &TZCustomEdit::OnChange, this, [&] { ++changes; });
    FieldWindow::Type(w.field, "1a.5 ,#");
    QTest::keyClick(w.field, Qt::Key_Return);
    QTest::keyClick(w.field, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(w.field, Qt::Key_Left);
    QTest::keyClick(w.field, Qt::Key_Tab);
    QCOMPARE(keys, QString("1,5") + QChar(8) + QChar(13) + QChar(13));
    QCOMPARE(changes, 4); // "1", "1,", "1,5", "1,"
}

void TestZFloatEdit::escapeRestoresEntryTextAndTabMoves()
{
    FieldWindow w;
    Configure(w.field, vt_Float, 0, 100, 0);
    w.field->SetText("12");
    QVERIFY(w.Show());
    FieldWindow::Type(w.field, "345");
    QCOMPARE(w.field->text(), QString("12345"));
    QCOMPARE(w.field->EntryText(), QString("12"));
    QTest::keyClick(w.field, Qt::Key_Escape);
    QCOMPARE(w.field->text(), QString("12"));
    QVERIFY(w.field->hasFocus());

    // Tab leaves for the next field, with the checks of leaving.
    FieldWindow::Type(w.field, "0");
    QTest::keyClick(w.field, Qt::Key_Tab);
    QVERIFY(w.next->hasFocus());
    QCOMPARE(w.field->text(), QString("100"));

    // The entry text is the text of the latest entry.
    w.field->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.field->EntryText(), QString("100"));
    FieldWindow::Type(w.field, "##7");
    QTest::keyClick(w.field, Qt::Key_Escape);
    QCOMPARE(w.field->text(), QString("100"));
}

void TestZFloatEdit::focusEntryPutsCaretAtEnd()
{
    FieldWindow w;
    w.field->SetText("12345");
    QVERIFY(w.Show());
    w.next->setFocus(Qt::OtherFocusReason);
    QSignalSpy entered(w.field, &TZCustomEdit::OnEnter);
    QSignalSpy left(w.field, &TZCustomEdit::OnExit);
    QTest::keyClick(w.next, Qt::Key_Tab); // a line edit selects all on Tab
    QVERIFY(w.field->hasFocus());
    QCOMPARE(entered.count(), 1);
    QVERIFY(!w.field->hasSelectedText());
    QCOMPARE(w.field->cursorPosition(), 5);
    w.Leave();
    QCOMPARE(left.count(), 1);
}

void TestZFloatEdit::contextMenuIsNotLeavingTheField()
{
    FieldWindow w;
    Configure(w.field, vt_Float, 0, 100, 0);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, "-");
    QSignalSpy left(w.field, &TZCustomEdit::OnExit);
    QMenu menu;
    menu.addAction("x");
    menu.popup(w.field->mapToGlobal(QPoint(5, 5)));
    QVERIFY(QTest::qWaitFor([&] { return menu.isVisible(); }));
    menu.close();
    QCOMPARE(w.field->text(), QString("-"));
    QCOMPARE(left.count(), 0);
    w.Leave();
    QCOMPARE(w.field->text(), QString("0"));
    QCOMPARE(left.count(), 1);
}

void TestZFloatEdit::integerFieldWithMinusTakesElevenCharacters()
{
    FieldWindow w;
    QVERIFY(w.Show());
    // No minus: no limit.
    FieldWindow::Retype(w.field, "123456789012345");
    QCOMPARE(w.field->text().size(), 15);
    QCOMPARE(w.field->MaxLength(), 0);
    // A minus typed at the start sets 11 for good; a longer text is not cut.
    FieldWindow::Type(w.field, "<-");
    QCOMPARE(w.field->text(), QString("123456789012345"));
    FieldWindow::Retype(w.field, "-123456789012345");
    QCOMPARE(w.field->text(), QString("-1234567890"));
    QCOMPARE(w.field->MaxLength(), 11);
    FieldWindow::Retype(w.field, "123456789012345");
    QCOMPARE(w.field->text(), QString("12345678901"));

    // The limit holds for typing only: the program may write more.
    w.field->SetText("123456789012345");
    QCOMPARE(w.field->text().size(), 15);

    // A real field has no such rule; a length set by the program stays.
    w.next->SetValueType(vt_Float);
    FieldWindow::Retype(w.next, "-123456789012345");
    QCOMPARE(w.next->text().size(), 16);
    w.next->SetValueType(vt_Integer);
    w.next->SetMaxLength(5);
    FieldWindow::Retype(w.next, "-123456789");
    QCOMPARE(w.next->text(), QString("-1234"));
    QCOMPARE(w.next->MaxLength(), 5);
}

void TestZFloatEdit::pasteIsFilteredLikeTyping_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<TZValueType>("type");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("before"); // '|' caret, '[...]' selection
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after"); // '.' = the separator

    struct Row {
        const char* name;
        TZValueType type;
        const char* unit;
        const char* before;
        const char* clipboard;
        const char* after;
    };
    // A refused paste leaves the text as it was before.
    const Row rows[] = {
        {"field's unit left out", vt_Float, "mm", "|", "1,5 mm", "1.5"},
        {"unit in capitals, no blank", vt_Float, "mm", "|", "1.5MM", "1.5"},
        {"inch value with its unit over a selection", vt_Float, "in", "[0.0361]", ".0361 in", ".0361"},
        {"force unit", vt_Float, "N", "|", "2,5 N\n", "2.5"},
        {"point taken", vt_Float, "", "|", "1.5", "1.5"},
        {"blank thousands", vt_Integer, "", "|", "12 500", "12500"},
        {"no-break space thousands", vt_Float, "", "|", "1\u00A0234,5", "1234.5"},
        {"line break of a cell", vt_Float, "", "|", "-2.5\r\n", "-2.5"},
        {"at the caret", vt_Float, "", "12|", "3.4", "123.4"},
        {"over the selection", vt_Float, "", "[99.9]", "7,25", "7.25"},
        {"decimal mark over a number with one", vt_Float, "", "[0.866]", ".9", ".9"},
        {"minus over a negative number", vt_Float, "", "[-5]", "-3", "-3"},
        {"minus at the start", vt_Float, "", "|5", "-", "-5"},
        {"exponent minus", vt_Float, "", "1E|", "-3", "1E-3"},
        {"leading zeros kept", vt_Integer, "", "|", "007", "007"},
        {"letter O refused", vt_Float, "mm", "|", "1O.32496", ""},
        {"hexadecimal refused", vt_Float, "", "|", "0x10.3", ""},
        {"another unit refused", vt_Float, "mm", "|", "0.5 in", ""},
        {"unit without a field unit refused", vt_Float, "", "|", "1,5 mm", ""},
        {"unit before the number refused", vt_Float, "mm", "|", "mm 1.5", ""},
        {"unit inside the text refused", vt_Float, "mm", "|5", "1 mm", "5"},
        {"unit alone refused", vt_Float, "mm", "4|", "mm", "4"},
        {"words refused", vt_Integer, "", "|", "2 500 pcs", ""},
        {"thousands and decimal refused", vt_Float, "", "|", "1.234,5", ""},
        {"second decimal mark refused", vt_Float, "", "1.5|", "2.5", "1.5"},
        {"real into integer refused", vt_Integer, "", "|", "1.5", ""},
        {"exponent into integer refused", vt_Integer, "", "|", "1E3", ""},
        {"range refused", vt_Integer, "", "|", "10-20", ""},
        {"minus inside refused", vt_Float, "", "1|", "-5", "1"},
        {"plus inside refused", vt_Float, "", "|", "1+2", ""},
        {"no number refused", vt_Float, "", "|", "E5", ""},
        {"too long for the field refused", vt_Integer, "", "|", "-123456789012", ""},
    };
    for (const Row& r : rows) {
        AddSeparatorRows(r.name, [&r](QTestData& row, char separator) {
            row << separator << r.type << QString::fromLatin1(r.unit)
                << WithSeparator(QString::fromLatin1(r.before), separator) << QString::fromUtf8(r.clipboard)
                << WithSeparator(QString::fromLatin1(r.after), separator);
        });
    }
}

void TestZFloatEdit::pasteIsFilteredLikeTyping()
{
    QFETCH(char, separator);
    QFETCH(TZValueType, type);
    QFETCH(QString, unit);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);
    SetZDecimalSeparator(separator);

    FieldWindow w;
    Configure(w.field, type, 0, 0, 0);
    w.field->SetUnit(unit);
    QVERIFY(w.Show());
    PrepareText(w, before);
    const QString plain = w.field->text();

    QApplication::clipboard()->setText(clipboard);
    QSignalSpy changes(w.field, &TZCustomEdit::OnChange);
    QTest::keyClick(w.field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.field->text(), after);
    // One paste, at most one change; a refused paste changes nothing.
    QCOMPARE(changes.count(), after == plain ? 0 : 1);
    if (after == plain)
        QCOMPARE(w.field->MaxLength(), 0);
}

void TestZFloatEdit::contextMenuPasteIsFiltered()
{
    FieldWindow w;
    Configure(w.field, vt_Integer, 0, 0, 0);
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, "007");
    QApplication::clipboard()->setText("2 500");

    const auto chooseFromMenu = [&](const char* name) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), w.field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w.field, &event);
        QMenu* menu = w.field->findChild<QMenu*>();
        QVERIFY(menu != nullptr);
        QAction* action = menu->findChild<QAction*>(name);
        QVERIFY(action != nullptr);
        QVERIFY(action->isEnabled());
        action->trigger();
        menu->close();
        delete menu;
    };
    chooseFromMenu("edit-paste");
    QCOMPARE(w.field->text(), QString("0072500"));
    // Undo is the user's edit too: the text comes back as typed, not reformatted.
    chooseFromMenu("edit-undo");
    QCOMPARE(w.field->text(), QString("007"));
}

void TestZFloatEdit::integerValue_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("negative") << "-12" << -12;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("minus") << "-" << 0;
    QTest::newRow("beyond 32 bits") << "99999999999" << 0;
    QTest::newRow("largest") << "2147483647" << 2147483647;
}

void TestZFloatEdit::integerValue()
{
    QFETCH(QString, typed);
    QFETCH(int, value);
    FieldWindow w;
    QVERIFY(w.Show());
    FieldWindow::Retype(w.field, typed);
    QCOMPARE(w.field->text(), typed);
    QCOMPARE(w.field->IntegerValue(), value);
}

void TestZFloatEdit::setters()
{
    TZFloatEdit field;
    field.SetValueType(vt_Float);
    field.SetDecimal(0);
    field.SetMaxValue(100);
    field.SetValue(80);

    field.SetMaxValue(50); // below the value: written again, clamped
    QCOMPARE(field.text(), QString("50"));
    field.SetMinValue(200); // above the maximum: both move
    QCOMPARE(double(field.MaxValue()), 200.0);
    QCOMPARE(field.text(), QString("200"));
    field.SetMaxValue(-10); // below the minimum: both move
    QCOMPARE(double(field.MinValue()), -10.0);
    QCOMPARE(field.text(), QString("-10"));

    field.SetMinValue(-100);
    field.SetMaxValue(100);
    field.SetValue(1.5);
    field.SetDecimal(3); // a real field takes the new format at once
    QCOMPARE(field.text(), QString("1.500"));
    field.SetDecimal(25);
    QCOMPARE(field.Decimal(), 18);
    field.SetDecimal(-1);
    QCOMPARE(field.Decimal(), 0);
    QCOMPARE(field.text(), QString("1.5"));

    field.SetValueType(vt_Integer); // no reformatting
    QCOMPARE(field.text(), QString("1.5"));
    field.SetDecimal(2); // an integer field keeps its text
    QCOMPARE(field.text(), QString("1.5"));

    field.SetOnSetText([](TZCustomFloatEdit*, long double v) { return v == 7 ? QStringLiteral("seven") : QString(); });
    field.SetValue(8);
    QCOMPARE(field.text(), QString("8")); // empty answer: the standard format
    field.SetValue(7);
    QCOMPARE(field.text(), QString("seven"));
}

void TestZFloatEdit::disabledColour()
{
    TZFloatEdit field;
    const QColor own = field.Color();
    field.SetDisabledColor(0x000000FF); // red
    field.setEnabled(false);
    QCOMPARE(field.palette().color(QPalette::Base), QColor(255, 0, 0));
    field.setEnabled(true);
    QCOMPARE(field.palette().color(QPalette::Base), own);
    field.SetDisabledColor(wincolor::clNone);
    field.setEnabled(false);
    QCOMPARE(field.palette().color(QPalette::Base), own);
}

QTEST_MAIN(TestZFloatEdit)
#include "TestZFloatEdit.moc"
