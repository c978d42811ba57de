// The probe catalogs on the catalog page, driven through the real grid with
// the keyboard and the mouse: New, storing and abandoning a row, refused cell
// texts, Delete and Select; loading when the window is created and saving
// when it closes; where the catalog file lies.

#include "SrDiamTester.h"
#include "TestFiles.h"
#include "ZStdCtrls.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QtTest>

using srdiamtest::OpenWindow;
using srdiamtest::Type;
using zevkotest::ReadFile;
using zevkotest::WriteFile;

namespace {

using EditState = zevko::ProbeCatalog::EditState;

// The keys go where the user's keys go: to the widget that has the focus.
void Key(Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target != nullptr);
    QTest::keyClick(target, key);
}

void Keys(const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClicks(target, QString(c));
    }
}

QTableView* Grid(SrDiamTester& w)
{
    return w.ui->dbgrKatDiam;
}

QString Cell(SrDiamTester& w, int row, int column)
{
    return Grid(w)->model()->index(row, column).data().toString();
}

// The grid's rows as "mm/in" texts.
QStringList Rows(SrDiamTester& w)
{
    QStringList rows;
    for (int row = 0; row < Grid(w)->model()->rowCount(); ++row)
        rows << Cell(w, row, 0) + "/" + Cell(w, row, 1);
    return rows;
}

// The cell editor the grid shows, if any (a closed one may linger hidden
// until it is deleted).
QLineEdit* OpenEditor(SrDiamTester& w)
{
    for (QLineEdit* editor : Grid(w)->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

void ShowCatalogPage(SrDiamTester& w)
{
    w.ui->pcDaten->setCurrentWidget(w.ui->TabSheet2);
    Grid(w)->setFocus();
}

// Puts the grid's cell cursor on a cell with the mouse.
void ClickCell(SrDiamTester& w, int row, int column)
{
    const QRect rect = Grid(w)->visualRect(Grid(w)->model()->index(row, column));
    QTest::mouseClick(Grid(w)->viewport(), Qt::LeftButton, {}, rect.center());
}

// New, then the cell cursor to the given column of the new row.
void NewRow(SrDiamTester& w, int column)
{
    QTest::mouseClick(w.ui->btnIns, Qt::LeftButton);
    const QModelIndex current = Grid(w)->currentIndex();
    QCOMPARE(current.row(), Grid(w)->model()->rowCount() - 1);
    QVERIFY(Grid(w)->hasFocus());
    if (current.column() != column)
        Grid(w)->setCurrentIndex(Grid(w)->model()->index(current.row(), column));
}

const QByteArray WireFixture = "[DIAM_N]\nCOUNT=2\nD1=1\nD2=3\n";

} // namespace

class TestSrDiamCatalogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString CatalogPath() const { return dir->filePath("DEZADIRE.INI"); }

    // A window over a catalog file holding `text` (none when empty), on its
    // catalog page.
    std::unique_ptr<SrDiamTester> WindowWith(const QByteArray& text)
    {
        if (!text.isEmpty() && !WriteFile(CatalogPath(), text))
            QTest::qFail("cannot write the catalog file", __FILE__, __LINE__);
        auto w = OpenWindow();
        ShowCatalogPage(*w);
        return w;
    }

private slots:
    void init()
    {
        SetZDecimalSeparator('.');
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        SetCatalogFilePathOverride(CatalogPath());
    }

    void cleanup()
    {
        SetCatalogFilePathOverride(QString());
        dir.reset();
    }

    // ---- New, store, abandon

    void newEntryIsStoredInItsPlace_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("commitKey");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("newRow");

        const QStringList with2{"1.0000/0.03937", "2.0000/0.07874", "3.0000/0.11811"};
        const QStringList with254{"1.0000/0.03937", "2.5400/0.10000", "3.0000/0.11811"};
        QTest::newRow("mm, Enter") << '.' << 0 << "2" << int(Qt::Key_Return) << with2 << 1;
        QTest::newRow("mm, Tab") << '.' << 0 << "2" << int(Qt::Key_Tab) << with2 << 1;
        QTest::newRow("mm, up") << '.' << 0 << "2" << int(Qt::Key_Up) << with2 << 1;
        QTest::newRow("in, Enter") << '.' << 1 << "0.1" << int(Qt::Key_Return) << with254 << 1;
        QTest::newRow("in, Tab") << '.' << 1 << "0.1" << int(Qt::Key_Tab) << with254 << 1;
        QTest::newRow("in, comma under a point") << '.' << 1 << "0,1" << int(Qt::Key_Return) << with254 << 1;
        QTest::newRow("mm, smallest") << '.' << 0 << "0.5" << int(Qt::Key_Return)
                                      << QStringList{"0.5000/0.01969", "1.0000/0.03937", "3.0000/0.11811"} << 0;
        QTest::newRow("mm, exponent") << '.' << 0 << "5E-1" << int(Qt::Key_Return)
                                      << QStringList{"0.5000/0.01969", "1.0000/0.03937", "3.0000/0.11811"} << 0;
        QTest::newRow("zero is kept") << '.' << 0 << "0" << int(Qt::Key_Return)
                                      << QStringList{"0.0000/0.00000", "1.0000/0.03937", "3.0000/0.11811"} << 0;
        QTest::newRow("duplicate is kept") << '.' << 0 << "3" << int(Qt::Key_Return)
                                           << QStringList{"1.0000/0.03937", "3.0000/0.11811", "3.0000/0.11811"} << 2;
        QTest::newRow("comma separator, point typed")
            << ',' << 1 << "0.1" << int(Qt::Key_Return)
            << QStringList{"1,0000/0,03937", "2,5400/0,10000", "3,0000/0,11811"} << 1;
    }

    void newEntryIsStoredInItsPlace()
    {
        QFETCH(char, separator);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(int, commitKey);
        QFETCH(QStringList, rows);
        QFETCH(int, newRow);

        SetZDecimalSeparator(separator);
        auto w = WindowWith(WireFixture);
        NewRow(*w, column);
        QVERIFY(w->NewEntryPending);
        QCOMPARE(w->mdDiamOut.State(), EditState::Inserting);
        // The new row's cells stay blank until typed into.
        QCOMPARE(Cell(*w, 2, 0), QString());
        QCOMPARE(Cell(*w, 2, 1), QString());

        Keys(typed);
        QVERIFY(OpenEditor(*w) != nullptr);
        Key(Qt::Key(commitKey));
        // Tab opens the next cell of the row; a second Tab leaves the row.
        if (commitKey == Qt::Key_Tab && column == 0)
            Key(Qt::Key_Tab);

        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QCOMPARE(Rows(*w), rows);
        QVERIFY(w->mdDiamOut.Changed());
        QVERIFY(!w->NewEntryPending);
        if (commitKey == Qt::Key_Return) {
            // Enter leaves the stored entry current, at its new place.
            QCOMPARE(w->mdDiamOut.Position(), std::size_t(newRow));
            QCOMPARE(Grid(*w)->currentIndex().row(), newRow);
        }
    }

    void newEntryAbandoned_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("nothing typed") << "";
        QTest::newRow("typed, then Escape") << "2";
    }

    void newEntryAbandoned()
    {
        QFETCH(QString, typed);
        auto w = WindowWith(WireFixture);
        ClickCell(*w, 1, 0);
        NewRow(*w, 0);
        Keys(typed);
        Key(Qt::Key_Escape);
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "3.0000/0.11811"}));
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QVERIFY(!w->NewEntryPending);
        QVERIFY(OpenEditor(*w) == nullptr);
        // Abandoning marks the catalog changed, and the cursor goes back.
        QVERIFY(w->mdDiamOut.Changed());
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(1));
        QCOMPARE(Grid(*w)->currentIndex().row(), 1);
    }

    // Leaving the new row (to another row, or the grid for another field)
    // stores it when something was typed and drops it otherwise.
    void newEntrySettledWhenTheRowIsLeft_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("toField");
        QTest::addColumn<QStringList>("rows");
        const QStringList stored{"1.0000/0.03937", "2.0000/0.07874", "3.0000/0.11811"};
        const QStringList dropped{"1.0000/0.03937", "3.0000/0.11811"};
        QTest::newRow("click on a row, typed") << "2" << false << stored;
        QTest::newRow("click on a row, nothing typed") << "" << false << dropped;
        QTest::newRow("another field, typed") << "2" << true << stored;
        QTest::newRow("another field, nothing typed") << "" << true << dropped;
    }

    void newEntrySettledWhenTheRowIsLeft()
    {
        QFETCH(QString, typed);
        QFETCH(bool, toField);
        QFETCH(QStringList, rows);
        auto w = WindowWith(WireFixture);
        NewRow(*w, 0);
        Keys(typed);
        if (toField)
            QTest::mouseClick(w->ui->edIzmN, Qt::LeftButton);
        else
            ClickCell(*w, 0, 1);
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QCOMPARE(Rows(*w), rows);
        QVERIFY(!w->NewEntryPending);
        if (!toField) {
            // The clicked entry is the current one, also after the re-sort.
            QCOMPARE(w->mdDiamOut.Position(), std::size_t(0));
            QCOMPARE(Grid(*w)->currentIndex().row(), 0);
        }
    }

    // New while a row is being typed stores that row first.
    void newAfterNew()
    {
        auto w = WindowWith(WireFixture);
        NewRow(*w, 0);
        Keys("2");
        QTest::mouseClick(w->ui->btnIns, Qt::LeftButton);
        QCOMPARE(w->mdDiamOut.State(), EditState::Inserting);
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(4));
        Keys("4");
        Key(Qt::Key_Return);
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "2.0000/0.07874", "3.0000/0.11811", "4.0000/0.15748"}));
    }

    // Both cells of a new row typed: the column the cell cursor stands in
    // when the row is stored decides which unit is derived.
    void bothCellsTypedTheCursorColumnDecides()
    {
        auto w = WindowWith(QByteArray());
        NewRow(*w, 0);
        Keys("2");
        Key(Qt::Key_Tab);
        Keys("1");
        Key(Qt::Key_Return);
        QCOMPARE(Rows(*w), QStringList{"25.4000/1.00000"});
    }

    // The catalog without the mouse: Insert for New, type, Enter.
    void keyboardOnly()
    {
        auto w = WindowWith(WireFixture);
        QVERIFY(Grid(*w)->hasFocus());
        Key(Qt::Key_Insert);
        QCOMPARE(w->mdDiamOut.State(), EditState::Inserting);
        Keys("2");
        Key(Qt::Key_Return);
        Key(Qt::Key_Insert);
        Key(Qt::Key_Right);
        Keys("0.2");
        Key(Qt::Key_Return);
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "2.0000/0.07874", "3.0000/0.11811", "5.0800/0.20000"}));
    }

    // Delete removes the current entry and Ctrl+Enter selects it, without an
    // open editor; in an open editor Delete deletes a character.
    void deleteAndSelectKeys()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=3\nD1=0.577\nD2=0.866\nD3=1.155\n");
        Key(Qt::Key_Down);
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(1));
        Key(Qt::Key_Delete);
        QCOMPARE(Rows(*w), (QStringList{"0.5770/0.02272", "1.1550/0.04547"}));
        QTest::keyClick(Grid(*w), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(w->ProbeDiameterMm, 1.155);
        QCOMPARE(w->ui->edDiam->Text(), QString("1.155"));

        Key(Qt::Key_F2);
        QLineEdit* editor = OpenEditor(*w);
        QVERIFY(editor);
        editor->setCursorPosition(0);
        Key(Qt::Key_Delete);
        QCOMPARE(editor->text(), QString(".155"));
        QCOMPARE(Grid(*w)->model()->rowCount(), 2);
        Key(Qt::Key_Escape);
        QCOMPARE(Rows(*w), (QStringList{"0.5770/0.02272", "1.1550/0.04547"}));
        QVERIFY(w->Messages.isEmpty());
    }

    // Tab walks the cells; from the last cell of the last row it stores the
    // row and leaves the grid, and Shift+Tab from the first cell leaves it
    // backwards: neither wraps around into another row, nor opens an editor.
    void tabLeavesTheGridAtItsEnds()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=2\nD1=0.577\nD2=0.866\n");
        Key(Qt::Key_Insert);
        Keys("1.155");
        Key(Qt::Key_Tab);
        QVERIFY(!OpenEditor(*w));
        QCOMPARE(Grid(*w)->currentIndex(), Grid(*w)->model()->index(2, 1));
        Key(Qt::Key_Tab);
        QVERIFY(!Grid(*w)->hasFocus());
        QVERIFY(!OpenEditor(*w));
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QCOMPARE(Rows(*w), (QStringList{"0.5770/0.02272", "0.8660/0.03409", "1.1550/0.04547"}));
        // Digits typed now go elsewhere, never into the first entry.
        Keys("9");
        QCOMPARE(Cell(*w, 0, 0), QString("0.5770"));

        Grid(*w)->setFocus();
        Grid(*w)->setCurrentIndex(Grid(*w)->model()->index(0, 0));
        Key(Qt::Key_Backtab);
        QVERIFY(!Grid(*w)->hasFocus());
        QCOMPARE(QApplication::focusWidget()->parentWidget(), w->ui->pcDaten);
        QCOMPARE(Rows(*w), (QStringList{"0.5770/0.02272", "0.8660/0.03409", "1.1550/0.04547"}));
        QVERIFY(w->Messages.isEmpty());
    }

    // A cell opened from the keyboard shows its value from its first digit
    // with all of it selected: the typed digits replace it.
    void keyboardEditorReplacesTheText_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("F2") << int(Qt::Key_F2);
        QTest::newRow("a digit") << int(Qt::Key_1);
    }

    void keyboardEditorReplacesTheText()
    {
        QFETCH(int, key);
        auto w = WindowWith("[DIAM_N]\nCOUNT=1\nD1=0.577\n");
        Key(Qt::Key_Right);
        if (key == Qt::Key_F2) {
            Key(Qt::Key_F2);
            QLineEdit* editor = OpenEditor(*w);
            QVERIFY(editor);
            QCOMPARE(editor->selectedText(), editor->text());
            QVERIFY(editor->text().startsWith("0.0227165354"));
            QCOMPARE(editor->cursorPosition(), 0);
            Keys("0.1");
        } else {
            Keys("1");
            QVERIFY(OpenEditor(*w));
            QCOMPARE(OpenEditor(*w)->text(), QString("1"));
            Keys(".5");
        }
        Key(Qt::Key_Return);
        QCOMPARE(w->mdDiamOut.Entries().at(0).DIAMi, key == Qt::Key_F2 ? 0.1 : 1.5);
    }

    // An existing entry typed over derives the other unit from the cell typed
    // into, so that an inch value survives the file; Escape undoes it.
    void existingEntryEdited_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("in, stored") << 1 << "0.1" << int(Qt::Key_Return)
                                    << QStringList{"2.5400/0.10000", "3.0000/0.11811"};
        QTest::newRow("mm, stored") << 0 << "5" << int(Qt::Key_Return)
                                    << QStringList{"3.0000/0.11811", "5.0000/0.19685"};
        QTest::newRow("mm, row left") << 0 << "5" << int(Qt::Key_Down)
                                      << QStringList{"3.0000/0.11811", "5.0000/0.19685"};
        QTest::newRow("Escape") << 0 << "5" << int(Qt::Key_Escape) << QStringList{"1.0000/0.03937", "3.0000/0.11811"};
    }

    void existingEntryEdited()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QStringList, rows);
        auto w = WindowWith(WireFixture);
        ClickCell(*w, 0, column);
        Keys(typed);
        QVERIFY(OpenEditor(*w) != nullptr);
        Key(Qt::Key(key));
        QCOMPARE(Rows(*w), rows);
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QVERIFY(w->mdDiamOut.Changed());
    }

    // A cell opened and left untouched changes nothing.
    void cellOpenedAndLeftUntouched()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=1\nD1=0.123456789012345\n");
        ClickCell(*w, 0, 1);
        Key(Qt::Key_F2);
        QVERIFY(OpenEditor(*w) != nullptr);
        Key(Qt::Key_Return);
        QCOMPARE(w->mdDiamOut.Entries()[0].DIAMm, 0.123456789012345);
        QVERIFY(!w->mdDiamOut.Changed());
    }

    // ---- refused cell texts

    void badCellTextIsRefused_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");
        for (const char* way : {"Enter", "Tab", "Up", "click", "field", "New", "Select", "close"})
            QTest::addRow("letters, %s", way) << 0 << "abc" << QString(way);
        QTest::newRow("two points") << 1 << "1.2.3"
                                    << "Enter";
        QTest::newRow("sign only") << 0 << "-"
                                   << "Enter";
        QTest::newRow("beyond a double") << 0 << "1e999"
                                         << "Enter";
        QTest::newRow("inches beyond millimetres") << 1 << "1e307"
                                                   << "Enter";
    }

    void badCellTextIsRefused()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, way);
        auto w = WindowWith(WireFixture);
        NewRow(*w, column);
        Keys(typed);

        if (way == "Enter")
            Key(Qt::Key_Return);
        else if (way == "Tab")
            Key(Qt::Key_Tab);
        else if (way == "Up")
            Key(Qt::Key_Up);
        else if (way == "click")
            ClickCell(*w, 0, 0);
        else if (way == "field")
            QTest::mouseClick(w->ui->edIzmN, Qt::LeftButton);
        else if (way == "New")
            QTest::mouseClick(w->ui->btnIns, Qt::LeftButton);
        else if (way == "Select")
            QTest::mouseClick(w->ui->btnSel, Qt::LeftButton);
        else if (way == "close")
            QVERIFY(!w->close());
        QTRY_COMPARE(w->Messages.size(), 1);

        const QString field = column == 0 ? "DIAMm" : "DIAMi";
        QCOMPARE(w->Messages.first(),
                 QString("'%1' is not a valid floating point value for field '%2'").arg(typed, field));
        // The row stays in editing, the text in its cell, the focus there.
        QLineEdit* editor = OpenEditor(*w);
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), typed);
        QTRY_VERIFY(editor->hasFocus());
        QCOMPARE(w->mdDiamOut.State(), EditState::Inserting);
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(3));
        QCOMPARE(Grid(*w)->currentIndex().row(), 2);
        QVERIFY(w->isVisible());

        // Corrected, the row stores.
        editor->selectAll();
        Keys("2");
        Key(Qt::Key_Return);
        QCOMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(3));
        QCOMPARE(w->Messages.size(), 1);
    }

    // ---- Delete

    void deleteRemovesTheClickedEntry()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=3\nD1=1\nD2=2\nD3=3\n");
        ClickCell(*w, 1, 1);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "3.0000/0.11811"}));
        QVERIFY(w->mdDiamOut.Changed());
        // The entry that moved up is highlighted and deleted next.
        QCOMPARE(Grid(*w)->currentIndex().row(), 1);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(Rows(*w), QStringList{"1.0000/0.03937"});
        QCOMPARE(Grid(*w)->currentIndex().row(), 0);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QVERIFY(Rows(*w).isEmpty());
        // Empty: nothing more to delete.
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QVERIFY(Rows(*w).isEmpty());
    }

    void deleteDoesNothingWithoutAStoredEntry()
    {
        auto w = WindowWith(QByteArray());
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QVERIFY(!w->mdDiamOut.Changed());

        auto v = WindowWith(WireFixture);
        NewRow(*v, 0);
        Keys("2");
        QTest::mouseClick(v->ui->btnDel, Qt::LeftButton);
        QCOMPARE(v->mdDiamOut.Count(), std::size_t(3));
        QCOMPARE(v->mdDiamOut.State(), EditState::Inserting);
        QVERIFY(OpenEditor(*v) != nullptr);
    }

    // A proposal that walked past the last entry leaves nothing to delete
    // until the user picks an entry, even the highlighted last one.
    void deleteAfterAProposalWalk()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=2\nD1=0.3\nD2=0.5\n");
        Type(w->ui->edStapka, "1.5");
        QCOMPARE(w->ui->edDiam->Text(), QString("0.5"));
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(2));
        QCOMPARE(Grid(*w)->currentIndex().row(), 1);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(2));
        QVERIFY(!w->mdDiamOut.Changed());

        ClickCell(*w, 1, 0);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(Rows(*w), QStringList{"0.3000/0.01181"});
    }

    // An existing entry being edited goes with Delete, edit and all.
    void deleteWhileEditingAnEntry()
    {
        auto w = WindowWith(WireFixture);
        ClickCell(*w, 0, 0);
        Keys("abc");
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(Rows(*w), QStringList{"3.0000/0.11811"});
        QVERIFY(OpenEditor(*w) == nullptr);
        QVERIFY(w->Messages.isEmpty());
    }

    // ---- Select

    void selectPutsTheRoundedEntryIntoTheField_data()
    {
        QTest::addColumn<bool>("inches");
        QTest::addColumn<double>("entryMm");
        QTest::addColumn<QString>("shown");
        QTest::newRow("inches, 2 mm") << true << 2.0 << "0.07874";
        QTest::newRow("mm, 0.86603") << false << 0.86603 << "0.866";
        QTest::newRow("mm, 0.123456") << false << 0.123456 << "0.1235";
    }

    void selectPutsTheRoundedEntryIntoTheField()
    {
        QFETCH(bool, inches);
        QFETCH(double, entryMm);
        QFETCH(QString, shown);
        auto w = WindowWith(QByteArray());
        w->FillCatalog(w->mdDiamOut, {entryMm});
        w->Units = inches ? zevko::UnitSystem::Inches : zevko::UnitSystem::Millimetres;
        QTest::mouseClick(w->ui->btnSel, Qt::LeftButton);
        QCOMPARE(w->ui->edDiam->Text(), shown);
        // No optimum shown: the probe diameter is the entry's, unrounded.
        QCOMPARE(w->ProbeDiameterMm, entryMm);
    }

    void selectWithAnOptimumShown()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=2\nD1=0.123456\nD2=0.866\n");
        Type(w->ui->edStapka, "1.5");
        QCOMPARE(w->ui->edDiam->Text(), QString("0.866"));
        ShowCatalogPage(*w);
        ClickCell(*w, 0, 0);
        QTest::mouseClick(w->ui->btnSel, Qt::LeftButton);
        // The field shows the entry rounded; the probe diameter stays the
        // entry's own, and is flagged against the optimum.
        QCOMPARE(w->ui->edDiam->Text(), QString("0.1235"));
        QCOMPARE(w->ProbeDiameterMm, 0.123456);
        QVERIFY(w->ui->lSign->isVisible());
    }

    void selectOfTheNewEntryAndOfNothing()
    {
        auto w = WindowWith(QByteArray());
        QTest::mouseClick(w->ui->btnSel, Qt::LeftButton);
        QCOMPARE(w->ui->edDiam->Text(), QString("0"));
        QCOMPARE(w->ProbeDiameterMm, 0.0);

        // The entry being typed, its typed cell taken along.
        NewRow(*w, 0);
        Keys("1.5");
        QTest::mouseClick(w->ui->btnSel, Qt::LeftButton);
        QCOMPARE(w->ui->edDiam->Text(), QString("1.5"));
        QCOMPARE(w->mdDiamOut.State(), EditState::Inserting);
    }

    // ---- the side and the page

    void sideSwitchOnTheCatalogPage()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=1\nD1=1\n[DIAM_S]\nCOUNT=2\nD1=2\nD2=3\n");
        QCOMPARE(Rows(*w), QStringList{"1.0000/0.03937"});
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(Rows(*w), (QStringList{"2.0000/0.07874", "3.0000/0.11811"}));
        // New goes into the catalog shown.
        ShowCatalogPage(*w);
        NewRow(*w, 0);
        Keys("4");
        Key(Qt::Key_Return);
        QCOMPARE(w->mdDiamIn.Count(), std::size_t(3));
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(1));
        QTest::mouseClick(w->ui->rbOut, Qt::LeftButton);
        QCOMPARE(Rows(*w), QStringList{"1.0000/0.03937"});
    }

    // Leaving the page with a row typed stores it.
    void leavingThePageStoresTheRow()
    {
        auto w = WindowWith(WireFixture);
        NewRow(*w, 0);
        Keys("2");
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet1);
        QTRY_COMPARE(w->mdDiamOut.State(), EditState::Browsing);
        QCOMPARE(w->mdDiamOut.Count(), std::size_t(3));
    }

    // ---- the file at create and close

    void loadAtCreateSaveAtClose()
    {
        const QByteArray before = "; probes of the shop\n"
                                  "[Other]\nkey=value\n"
                                  "[diam_n]\ncount=2\n; wires\nd1=3\nD2=1\nD3=9\n"
                                  "\n[DIAM_S]\nCOUNT=1\nD1=2,5\n";
        auto w = WindowWith(before);
        // Comma and point alike; ascending order.
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "3.0000/0.11811"}));
        QCOMPARE(w->mdDiamIn.Count(), std::size_t(1));
        QCOMPARE(w->mdDiamIn.Entries()[0].DIAMm, 2.5);
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(0));
        QVERIFY(!w->mdDiamOut.Changed());

        NewRow(*w, 1);
        Keys("0.1");
        QVERIFY(w->close());
        // Only the wires' section is rewritten, in place; the rest stays.
        QCOMPARE(ReadFile(CatalogPath()), QByteArray("; probes of the shop\n"
                                                     "[Other]\nkey=value\n"
                                                     "[diam_n]\ncount=3\n; wires\nd1=1\nD2=2.54\nD3=3\n"
                                                     "\n[DIAM_S]\nCOUNT=1\nD1=2,5\n"));

        auto again = WindowWith(QByteArray());
        QCOMPARE(Rows(*again), (QStringList{"1.0000/0.03937", "2.5400/0.10000", "3.0000/0.11811"}));
        QVERIFY(again->Messages.isEmpty());
    }

    void closeWithoutChangeWritesNothing()
    {
        auto none = WindowWith(QByteArray());
        QVERIFY(none->close());
        QVERIFY(!QFile::exists(CatalogPath()));

        const QByteArray text = "[DIAM_N]\nCOUNT=2\nD1=3\nD2=1\n";
        auto w = WindowWith(text);
        // Opening a cell, the page and the side leave the catalog unchanged.
        ClickCell(*w, 0, 0);
        Key(Qt::Key_F2);
        Key(Qt::Key_Return);
        QVERIFY(w->close());
        QCOMPARE(ReadFile(CatalogPath()), text);
    }

    // Every way of closing stores a typed row and drops an untyped one (the
    // abandon still marks the catalog changed, so it is written in order).
    void rowBeingEditedAtClose_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("typed") << "2" << QByteArray("[DIAM_N]\nCOUNT=3\nD1=1\nD2=2\nD3=3\n");
        QTest::newRow("nothing typed") << "" << QByteArray("[DIAM_N]\nCOUNT=2\nD1=1\nD2=3\n");
    }

    void rowBeingEditedAtClose()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, after);
        auto w = WindowWith("[DIAM_N]\nCOUNT=2\nD1=3\nD2=1\n");
        NewRow(*w, 0);
        Keys(typed);
        QTest::mouseClick(w->ui->btnExit, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(ReadFile(CatalogPath()), after);
    }

    // A value in the file that is no number is reported once, skipped, and
    // the file is not rewritten unless the user changes the catalog.
    void badValueInTheFile()
    {
        const QByteArray text = "[DIAM_N]\nCOUNT=3\nD1=1\nD2=abc\nD3=3\n";
        auto w = WindowWith(text);
        QTRY_COMPARE(w->Messages, QStringList{"'abc' is not a valid floating point value"});
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "3.0000/0.11811"}));
        QVERIFY(w->close());
        QCOMPARE(ReadFile(CatalogPath()), text);
    }

    // A refused write at close is shown; the user may try again, or the
    // window closes without it.
    void failedWriteAtClose()
    {
        // A file where the directory should be: no one can write there.
        const QString blocker = dir->filePath("blocker");
        QVERIFY(WriteFile(blocker, "x"));
        const QString path = blocker + "/DEZADIRE.INI";
        SetCatalogFilePathOverride(path);

        auto w = WindowWith(QByteArray());
        NewRow(*w, 0);
        Keys("2");
        int asked = 0;
        w->RetrySave = [&](const QString&) {
            if (++asked == 2) {
                // The user makes room and tries again.
                QFile::remove(blocker);
                QDir(dir->path()).mkdir("blocker");
            }
            return true;
        };
        QVERIFY(w->close());
        QCOMPARE(asked, 2);
        QCOMPARE(w->Messages.size(), 2);
        QCOMPARE(w->Messages.first(), "Unable to write to " + QDir::cleanPath(path));
        QCOMPARE(ReadFile(path), QByteArray("[DIAM_N]\nCOUNT=1\nD1=2\n"));

        // Without retrying the window still closes.
        SetCatalogFilePathOverride(dir->filePath("missing/dir/DEZADIRE.INI"));
        QVERIFY(WriteFile(dir->filePath("missing"), "x"));
        auto v = WindowWith(QByteArray());
        NewRow(*v, 0);
        Keys("2");
        QVERIFY(v->close());
        QCOMPARE(v->Messages.size(), 1);
        QVERIFY(v->Messages.first().startsWith("Unable to write to "));
    }

    // The unit switch closes and opens both catalogs: a changed catalog is
    // written and read back, with its first entry current; one that cannot be
    // written stays as it was instead of being read back without the change.
    void closeAndOpenAgain()
    {
        auto w = WindowWith("[DIAM_N]\nCOUNT=2\nD1=3\nD2=1\n");
        NewRow(*w, 1);
        Keys("0.1");
        QVERIFY(w->CloseCatalogs());
        QVERIFY(!w->mdDiamOut.IsOpen());
        w->OpenCatalogs();
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "2.5400/0.10000", "3.0000/0.11811"}));
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(0));
        QCOMPARE(Grid(*w)->currentIndex().row(), 0);
        QVERIFY(!w->mdDiamOut.Changed());
        QCOMPARE(ReadFile(CatalogPath()), QByteArray("[DIAM_N]\nCOUNT=3\nD1=1\nD2=2.54\nD3=3\n"));

        const QString blocker = dir->filePath("blocker");
        QVERIFY(WriteFile(blocker, "x"));
        SetCatalogFilePathOverride(blocker + "/DEZADIRE.INI");
        ClickCell(*w, 2, 0);
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QVERIFY(w->CloseCatalogs());
        QCOMPARE(w->Messages.size(), 1);
        w->OpenCatalogs();
        QCOMPARE(Rows(*w), (QStringList{"1.0000/0.03937", "2.5400/0.10000"}));
        QVERIFY(w->mdDiamOut.Changed());
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(0));

        // A cell holding no number stops the closing.
        ClickCell(*w, 0, 0);
        Keys("x");
        QVERIFY(!w->CloseCatalogs());
        QVERIFY(w->mdDiamOut.IsOpen());
        QCOMPARE(w->Messages.size(), 2);
    }

    // ---- where the file lies

    void locationBesideAWritableProgram()
    {
        const QString exe = dir->filePath("bin");
        const QString user = dir->filePath("user");
        QVERIFY(QDir().mkpath(exe));
        QCOMPARE(CatalogFileLocation(exe, true, user), exe + "/DEZADIRE.INI");
        QCOMPARE(CatalogFileLocation(exe, false, user), user + "/DEZADIRE.INI");
        // The rule alone touches nothing.
        QVERIFY(!QFile::exists(user));
        QVERIFY(!QFile::exists(exe + "/DEZADIRE.INI"));
    }

    void locationForAnInstalledProgram_data()
    {
        QTest::addColumn<QByteArray>("besideProgram");
        QTest::addColumn<QByteArray>("shared");
        QTest::addColumn<QByteArray>("userFile");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("seeded from beside the program")
            << QByteArray("exe") << QByteArray("shared") << QByteArray() << QByteArray("exe");
        QTest::newRow("seeded from the shared data")
            << QByteArray() << QByteArray("shared") << QByteArray() << QByteArray("shared");
        QTest::newRow("user file kept") << QByteArray("exe") << QByteArray("shared") << QByteArray("mine")
                                        << QByteArray("mine");
        QTest::newRow("nothing to seed from") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    }

    void locationForAnInstalledProgram()
    {
        QFETCH(QByteArray, besideProgram);
        QFETCH(QByteArray, shared);
        QFETCH(QByteArray, userFile);
        QFETCH(QByteArray, expected);
        const QString exe = dir->filePath("bin");
        const QString user = dir->filePath("data/zevko");
        const QString sharedPath = dir->filePath("share/DEZADIRE.INI");
        QVERIFY(QDir().mkpath(exe));
        QVERIFY(QDir().mkpath(dir->filePath("share")));
        if (!besideProgram.isEmpty())
            QVERIFY(WriteFile(exe + "/DEZADIRE.INI", besideProgram));
        if (!shared.isEmpty())
            QVERIFY(WriteFile(sharedPath, shared));
        if (!userFile.isEmpty()) {
            QVERIFY(QDir().mkpath(user));
            QVERIFY(WriteFile(user + "/DEZADIRE.INI", userFile));
        }

        const QString path = CatalogFileLocation(exe, false, user);
        QCOMPARE(path, user + "/DEZADIRE.INI");
        SeedCatalogFile(path, exe + "/DEZADIRE.INI", shared.isEmpty() ? QString() : sharedPath);
        QVERIFY(QFileInfo(user).isDir());
        QCOMPARE(QFile::exists(path), !expected.isEmpty());
        QCOMPARE(ReadFile(path), expected);
        if (!expected.isEmpty())
            QVERIFY(QFile::permissions(path) & QFileDevice::WriteOwner);
        // The files it was seeded from are left as they were.
        QCOMPARE(ReadFile(exe + "/DEZADIRE.INI"), besideProgram);
        // A second start finds the user's file and leaves it be.
        if (!expected.isEmpty()) {
            QVERIFY(WriteFile(exe + "/DEZADIRE.INI", "newer"));
            SeedCatalogFile(path, exe + "/DEZADIRE.INI", sharedPath);
            QCOMPARE(ReadFile(path), expected);
        }
    }

    // ---- a new user's first start, with the sample catalog

    void sampleCatalogProposesAndKeepsEveryOtherLine()
    {
        const QByteArray sample = ReadFile(ZEVKO_SOURCE_ROOT "/resources/catalog/DEZADIRE.INI");
        QVERIFY(!sample.isEmpty());
        auto w = WindowWith(sample);
        QVERIFY(w->mdDiamOut.Count() > 20);
        QVERIFY(w->mdDiamIn.Count() > 0);
        QVERIFY(w->Messages.isEmpty());

        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet1);
        Type(w->ui->edStapka, "1.5");
        QCOMPARE(w->ui->lDiamN->Caption(), QString("0.86603"));
        QCOMPARE(w->ui->edDiam->Text(), QString("0.866"));

        ShowCatalogPage(*w);
        NewRow(*w, 1);
        Keys("0.1");
        Key(Qt::Key_Return);
        const int row = Grid(*w)->currentIndex().row();
        QCOMPARE(Cell(*w, row, 0), QString("2.5400"));
        QCOMPARE(Cell(*w, row, 1), QString("0.10000"));
        const std::size_t wires = w->mdDiamOut.Count();
        QVERIFY(w->close());

        auto again = WindowWith(QByteArray());
        QCOMPARE(again->mdDiamOut.Count(), wires);
        const QStringList rows = Rows(*again);
        QVERIFY(rows.contains("2.5400/0.10000"));

        // Outside the wires' D keys and COUNT, every line is as it was.
        const auto otherLines = [](const QByteArray& text) {
            QList<QByteArray> kept;
            bool wiresSection = false;
            for (const QByteArray& line : text.split('\n')) {
                if (line.startsWith('['))
                    wiresSection = line.trimmed() == "[DIAM_N]";
                if (!(wiresSection && (line.startsWith("D") || line.startsWith("COUNT="))))
                    kept << line;
            }
            return kept;
        };
        QCOMPARE(otherLines(ReadFile(CatalogPath())), otherLines(sample));
    }
};

QTEST_MAIN(TestSrDiamCatalogs)
#include "TestSrDiamCatalogs.moc"
