// Start-up, stored settings and shutdown: what the stored values make of the
// shown window, what a closed window stores, the suite's window keeping the
// settings untouched, the Exit command and the about window.

#include "CatalogLocation.h"
#include "LangsExt.h"
#include "Splash.h"
#include "SrDiamTester.h"
#include "SuiteWindow.h"
#include "TestFiles.h"
#include "ZStdCtrls.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using srdiamtest::OpenWindow;
using zevkotest::ReadFile;

namespace {

using Stored = QMap<QString, QVariant>;

const QStringList SettingNames{u"Vid"_s, u"Mat"_s, u"Izm"_s, u"St"_s, u"Lang"_s, u"mm_in"_s};

QString SettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Brantel/RaradeRI.conf"_s;
}

// The stored values as a fresh reader sees them; a value that is not there
// is left out.
Stored ReadSettings()
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
    key.beginGroup(u"Default"_s);
    Stored values;
    for (const QString& name : SettingNames)
        if (key.contains(name))
            values.insert(name, key.value(name).toInt());
    return values;
}

void WriteSettings(const Stored& values)
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
    key.clear();
    key.beginGroup(u"Default"_s);
    for (auto it = values.begin(); it != values.end(); ++it)
        key.setValue(it.key(), it.value());
    key.endGroup();
    key.sync();
}

// No stored settings at all: not even the file.
void RemoveSettings()
{
    WriteSettings({});
    QFile::remove(SettingsFile());
}

// What the shown window holds of the stored choices.
struct ShownState {
    QString Side;       // "external" or "internal"
    int Language;       // SelectedLanguage after the show
    QString PitchLabel; // the pitch caption, in the language shown
    QString Unit;       // the unit labels
    int Quantity;
    int Material;
    bool MaterialEnabled;
    int Method;
    QString FirstResult;  // lRes4
    QString SecondResult; // lVidIzm
    QString DiameterItem; // cbVidVav item 2
};

} // namespace

Q_DECLARE_METATYPE(ShownState)

class TestSrDiamShell : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void init()
    {
        SetZDecimalSeparator('.');
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        SetCatalogFilePathOverride(dir->filePath(u"DEZADIRE.INI"_s));
        SetSuiteWindowDetector({});
        RemoveSettings();
    }

    void cleanup()
    {
        SetSuiteWindowDetector({});
        SetCatalogFilePathOverride(QString());
        RemoveSettings();
    }

    void StoredValuesShapeTheShownWindowAndAreStoredAgain_data();
    void StoredValuesShapeTheShownWindowAndAreStoredAgain();
    void EveryWayOfClosingStoresTheUsersChoices_data();
    void EveryWayOfClosingStoresTheUsersChoices();
    void SuiteWindowOpenLeavesTheSettingsUntouchedButWritesTheCatalog_data();
    void SuiteWindowOpenLeavesTheSettingsUntouchedButWritesTheCatalog();
    void ExitStoresRowsBeingEditedInBothCatalogs();
    void AboutWindowIsCreatedForEachShowingAndReleased();
    void LanguageMenuOpensFromTheKeyboard();
    void FrameFirstStartBuildsTheSameWindow_data();
    void FrameFirstStartBuildsTheSameWindow();
    void FrameClosedBeforeItsContentStoresNothing();
    void FrameFirstReportsCatalogFaultsOnceComplete();
};

void TestSrDiamShell::StoredValuesShapeTheShownWindowAndAreStoredAgain_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<ShownState>("shown");
    QTest::addColumn<Stored>("storedAfterClose");

    const QString d2 = u"Pitch diameter (d2)"_s;
    const QString capD2 = u"Pitch diameter (D2)"_s;
    const QString m = u"Measurement P.D. (m)"_s;
    const QString capM = u"Measurement P.D. (M)"_s;
    const ShownState firstStart{u"external"_s, 3, u"Pitch (P)"_s, u"[mm]"_s, 1, 0, false, 0, d2, m, d2};
    const Stored firstStartStored{{u"Vid"_s, 1}, {u"Mat"_s, 0},  {u"Izm"_s, 0},
                                  {u"St"_s, 1},  {u"Lang"_s, 3}, {u"mm_in"_s, 0}};
    const auto with = [&firstStartStored](std::initializer_list<std::pair<QString, int>> changes) {
        Stored values = firstStartStored;
        for (const auto& [name, value] : changes)
            values[name] = value;
        return values;
    };

    QTest::newRow("absent key: external, English, millimetres") << Stored{} << firstStart << firstStartStored;
    {
        ShownState german = firstStart;
        german.Language = 2;
        german.PitchLabel = u"Teilung (P)"_s;
        german.FirstResult = german.DiameterItem = u"Flankendurchmesser (d2)"_s;
        german.SecondResult = u"Prüfmass (m)"_s;
        QTest::newRow("Lang 2: German") << Stored{{u"Lang"_s, 2}} << german << with({{u"Lang"_s, 2}});
    }
    QTest::newRow("Lang 7: English") << Stored{{u"Lang"_s, 7}} << firstStart << firstStartStored;
    QTest::newRow("Lang 0: English") << Stored{{u"Lang"_s, 0}} << firstStart << firstStartStored;
    {
        ShownState inches = firstStart;
        inches.Unit = u"[in]"_s;
        QTest::newRow("mm_in 1: inches") << Stored{{u"mm_in"_s, 1}} << inches << with({{u"mm_in"_s, 1}});
        QTest::newRow("mm_in 5: inches") << Stored{{u"mm_in"_s, 5}} << inches << with({{u"mm_in"_s, 1}});
    }
    {
        // The side switch chose ruby for the balls; nothing overrides it.
        const ShownState internal{u"internal"_s, 3, u"Pitch (P)"_s, u"[mm]"_s, 1, 1, true, 0, capD2, m, capD2};
        QTest::newRow("Vid 2: internal") << Stored{{u"Vid"_s, 2}} << internal << with({{u"Vid"_s, 2}, {u"Mat"_s, 1}});
        QTest::newRow("Vid 0: any number but 1 is internal")
            << Stored{{u"Vid"_s, 0}} << internal << with({{u"Vid"_s, 2}, {u"Mat"_s, 1}});
    }
    QTest::newRow("Vid 1: external") << Stored{{u"Vid"_s, 1}} << firstStart << firstStartStored;
    QTest::newRow("internal with steel, inclined, pitch diameter entered")
        << Stored{{u"Vid"_s, 2}, {u"Mat"_s, 0}, {u"Izm"_s, 1}, {u"St"_s, 2}}
        << ShownState{u"internal"_s, 3, u"Pitch (P)"_s, u"[mm]"_s, 2, 0, true, 1, m, capM, capD2}
        << with({{u"Vid"_s, 2}, {u"Mat"_s, 0}, {u"Izm"_s, 1}, {u"St"_s, 2}});
    QTest::newRow("external keeps steel whatever was stored; m entered")
        << Stored{{u"Vid"_s, 1}, {u"Mat"_s, 1}, {u"St"_s, 0}}
        << ShownState{u"external"_s, 3, u"Pitch (P)"_s, u"[mm]"_s, 0, 0, false, 0, d2, capM, d2}
        << with({{u"St"_s, 0}});
    QTest::newRow("all six, German, inches")
        << Stored{{u"Vid"_s, 2}, {u"Mat"_s, 1}, {u"Izm"_s, 1}, {u"St"_s, 0}, {u"Lang"_s, 2}, {u"mm_in"_s, 1}}
        << ShownState{u"internal"_s,
                      2,
                      u"Teilung (P)"_s,
                      u"[in]"_s,
                      0,
                      1,
                      true,
                      1,
                      u"Flankendurchmesser (D2)"_s,
                      u"Prüfmass (M)"_s,
                      u"Flankendurchmesser (D2)"_s}
        << Stored{{u"Vid"_s, 2}, {u"Mat"_s, 1}, {u"Izm"_s, 1}, {u"St"_s, 0}, {u"Lang"_s, 2}, {u"mm_in"_s, 1}};
    QTest::newRow("item numbers the boxes do not have are passed over")
        << Stored{{u"Mat"_s, 2}, {u"Izm"_s, -1}, {u"St"_s, 3}} << firstStart << firstStartStored;
    QTest::newRow("texts that are not numbers are passed over")
        << Stored{{u"Vid"_s, u"two"_s}, {u"St"_s, u""_s}, {u"Lang"_s, u"de"_s}, {u"mm_in"_s, u"yes"_s}} << firstStart
        << firstStartStored;
    QTest::newRow("Bulgarian") << Stored{{u"Lang"_s, 1}} << ShownState{u"external"_s,
                                                                       1,
                                                                       u"Стъпка (P)"_s,
                                                                       u"[mm]"_s,
                                                                       1,
                                                                       0,
                                                                       false,
                                                                       0,
                                                                       u"Ср. диаметър (d2)"_s,
                                                                       u"Размер (m)"_s,
                                                                       u"Ср. диаметър (d2)"_s}
                               << with({{u"Lang"_s, 1}});
}

void TestSrDiamShell::StoredValuesShapeTheShownWindowAndAreStoredAgain()
{
    QFETCH(Stored, stored);
    QFETCH(ShownState, shown);
    QFETCH(Stored, storedAfterClose);

    if (!stored.isEmpty())
        WriteSettings(stored);
    auto w = OpenWindow();

    QCOMPARE(w->ui->rbOut->isChecked(), shown.Side == u"external"_s);
    QCOMPARE(w->ui->rbIn->isChecked(), shown.Side == u"internal"_s);
    QCOMPARE(w->ui->ImageOut->isVisible(), shown.Side == u"external"_s);
    QCOMPARE(w->dsDiam, shown.Side == u"external"_s ? &w->mdDiamOut : &w->mdDiamIn);
    QCOMPARE(w->DiameterSymbol, QChar(shown.Side == u"external"_s ? u'd' : u'D'));
    QCOMPARE(w->SelectedLanguage, shown.Language);
    QCOMPARE(CurrentLanguage(), shown.Language);
    QCOMPARE(w->ui->Label3->text(), shown.PitchLabel);
    for (QLabel* unit : {w->ui->Label6, w->ui->Label7, w->ui->Label8, w->ui->Label9, w->ui->Label23, w->ui->Label25,
                         w->ui->Label27, w->ui->Label26})
        QCOMPARE(unit->text(), shown.Unit);
    QCOMPARE(w->ui->Label21->text(), u"[N]"_s);
    QCOMPARE(w->Units, shown.Unit == u"[in]"_s ? zevko::UnitSystem::Inches : zevko::UnitSystem::Millimetres);
    QCOMPARE(w->ui->cbVidVav->ItemIndex(), shown.Quantity);
    QCOMPARE(w->ui->cbMaterial->ItemIndex(), shown.Material);
    QCOMPARE(w->ui->cbMaterial->isEnabled(), shown.MaterialEnabled);
    QCOMPARE(w->ui->cbIzm->ItemIndex(), shown.Method);
    QCOMPARE(w->ui->lRes4->text(), shown.FirstResult);
    QCOMPARE(w->ui->lVidIzm->text(), shown.SecondResult);
    QCOMPARE(w->ui->cbVidVav->itemText(2), shown.DiameterItem);
    QCOMPARE(w->ui->pcDaten->currentWidget(), w->ui->TabSheet1);
    QVERIFY(w->EventsEnabled);
    QVERIFY(w->Messages.isEmpty());

    // Nothing is written before the window closes.
    QCOMPARE(QFileInfo::exists(SettingsFile()), !stored.isEmpty());

    QVERIFY(w->close());
    QCOMPARE(ReadSettings(), storedAfterClose);
    QVERIFY(QFileInfo::exists(SettingsFile()));
}

void TestSrDiamShell::EveryWayOfClosingStoresTheUsersChoices_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("Exit button") << u"button"_s;
    QTest::newRow("Ctrl+Q") << u"shortcut"_s;
}

void TestSrDiamShell::EveryWayOfClosingStoresTheUsersChoices()
{
    QFETCH(QString, how);
    auto w = OpenWindow();

    // The user's own choices, made as a user makes them.
    QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
    srdiamtest::Choose(w->ui->cbMaterial, 0);
    srdiamtest::Choose(w->ui->cbIzm, 1);
    srdiamtest::Choose(w->ui->cbVidVav, 2);
    QTest::mouseClick(w->ui->btnMM, Qt::LeftButton);
    w->PopupMenu1->findChild<QAction*>(u"Deutsch"_s)->trigger();
    QVERIFY(w->ui->rbIn->isChecked());
    QCOMPARE(w->ui->cbVidVav->ItemIndex(), 2);

    if (how == u"close"_s)
        QVERIFY(w->close());
    else if (how == u"button"_s)
        QTest::mouseClick(w->ui->btnExit, Qt::LeftButton);
    else
        QTest::keySequence(w->ui->edStapka, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QTRY_VERIFY(!w->isVisible());

    const Stored expected{{u"Vid"_s, 2}, {u"Mat"_s, 0}, {u"Izm"_s, 1}, {u"St"_s, 2}, {u"Lang"_s, 2}, {u"mm_in"_s, 1}};
    QCOMPARE(ReadSettings(), expected);
    // 32-bit integers, not booleans or texts of another kind.
    const QByteArray text = ReadFile(SettingsFile());
    QVERIFY2(text.contains("[Default]") && text.contains("mm_in=1") && text.contains("Vid=2"), text.constData());
}

void TestSrDiamShell::SuiteWindowOpenLeavesTheSettingsUntouchedButWritesTheCatalog_data()
{
    QTest::addColumn<bool>("keyExisted");
    QTest::newRow("no key yet: none is created") << false;
    QTest::newRow("key there: left as it was") << true;
}

void TestSrDiamShell::SuiteWindowOpenLeavesTheSettingsUntouchedButWritesTheCatalog()
{
    QFETCH(bool, keyExisted);
    if (keyExisted)
        WriteSettings({{u"Lang"_s, 2}, {u"mm_in"_s, 0}});
    const QByteArray before = ReadFile(SettingsFile());

    int asked = 0;
    SetSuiteWindowDetector([&asked] {
        ++asked;
        return true;
    });
    auto w = OpenWindow();
    // Changes that would all be stored, and a changed wire catalog.
    QTest::mouseClick(w->ui->btnMM, Qt::LeftButton);
    w->PopupMenu1->findChild<QAction*>(u"English"_s)->trigger();
    w->mdDiamOut.AppendLoaded(1.732);
    w->mdDiamOut.SetChanged(true);
    QVERIFY(w->close());

    QVERIFY(asked > 0);
    QCOMPARE(QFileInfo::exists(SettingsFile()), keyExisted);
    QCOMPARE(ReadFile(SettingsFile()), before);
    const QByteArray catalog = ReadFile(CatalogFilePathOverride());
    QVERIFY2(catalog.contains("[DIAM_N]") && catalog.contains("1.732"), catalog.constData());

    // Once the suite's window is gone the next close stores again.
    SetSuiteWindowDetector([] { return false; });
    auto again = OpenWindow();
    QVERIFY(again->close());
    QCOMPARE(ReadSettings().value(u"mm_in"_s).toInt(), 0);
    QCOMPARE(ReadSettings().value(u"Lang"_s).toInt(), keyExisted ? 2 : 3);
}

void TestSrDiamShell::ExitStoresRowsBeingEditedInBothCatalogs()
{
    auto w = OpenWindow();
    // A ball typed into the internal catalog, then back to the wires with a
    // wire being typed: neither row has been left.
    for (zevko::ProbeCatalog* catalog : {&w->mdDiamIn, &w->mdDiamOut}) {
        w->FillCatalog(*catalog, {});
        catalog->Append();
        QVERIFY(catalog->SetField(zevko::CatalogField::DIAMm, catalog == &w->mdDiamIn ? 2.5 : 0.577));
        QCOMPARE(catalog->State(), zevko::ProbeCatalog::EditState::Inserting);
    }
    QTest::mouseClick(w->ui->btnExit, Qt::LeftButton);
    QVERIFY(!w->isVisible());

    const QByteArray catalog = ReadFile(CatalogFilePathOverride());
    QVERIFY2(catalog.contains("[DIAM_N]") && catalog.contains("0.577"), catalog.constData());
    QVERIFY2(catalog.contains("[DIAM_S]") && catalog.contains("2.5"), catalog.constData());
    QVERIFY(QFileInfo::exists(SettingsFile()));
}

void TestSrDiamShell::AboutWindowIsCreatedForEachShowingAndReleased()
{
    auto w = OpenWindow();
    QStringList titles;
    for (int showing = 0; showing < 2; ++showing) {
        QPointer<TfrmSplash> shown;
        bool modal = false;
        QTimer::singleShot(0, w.get(), [&] {
            shown = qobject_cast<TfrmSplash*>(QApplication::activeModalWidget());
            if (!shown)
                return;
            modal = shown->isModal();
            titles << shown->findChild<QLabel*>(u"Label3"_s)->text();
            QTest::keyClick(shown.data(), Qt::Key_Escape);
        });
        // Should the window not come up, the test fails instead of hanging.
        QTimer::singleShot(5000, w.get(), [] {
            if (auto* stuck = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                stuck->reject();
        });
        QTest::mouseClick(w->ui->btnInfo, Qt::LeftButton);
        QVERIFY2(modal, "the about window was not shown modally");
        QVERIFY2(shown.isNull(), "the about window outlived its showing");
        QVERIFY(w->findChildren<TfrmSplash*>().isEmpty());
    }
    QCOMPARE(titles.size(), 2);
    QCOMPARE(titles[0], titles[1]);
    QVERIFY(titles[0].startsWith(u"Zevko Thread and Guages 4.1\n"_s));
}

void TestSrDiamShell::LanguageMenuOpensFromTheKeyboard()
{
    // A shortcut reaches only the active window: a window that does not
    // become active fails here with its reason, not later at the key.
    auto w = std::make_unique<SrDiamTester>();
    w->show();
    w->activateWindow();
    const auto reason = [&w](const char* what) {
        const QWidget* active = QApplication::activeWindow();
        return QStringLiteral("%1 (platform %2, active window %3, window shown %4)")
            .arg(QLatin1String(what), QGuiApplication::platformName(),
                 active != nullptr ? active->objectName() : QStringLiteral("none"),
                 w->isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    };
    QVERIFY2(QTest::qWaitForWindowActive(w.get(), 10000),
             qPrintable(reason("the window did not become active within 10 s")));
    w->ui->edIzmSt->setFocus(Qt::OtherFocusReason);
    QVERIFY2(QTest::qWaitFor([&w] { return w->ui->edIzmSt->hasFocus(); }, 5000),
             qPrintable(reason("the measured-value field did not take the focus")));
    QCOMPARE(w->SelectedLanguage, LanguageEnglish);
    bool opened = false;
    QTimer::singleShot(0, w.get(), [&] {
        QWidget* menu = QApplication::activePopupWidget();
        opened = menu == w->PopupMenu1;
        if (!menu)
            return;
        // The items read English, Deutsch, Български.
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTimer::singleShot(5000, w.get(), [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    QTest::keySequence(w->ui->edIzmSt, QKeySequence(Qt::CTRL | Qt::Key_L));
    QTRY_VERIFY(opened);
    QTRY_COMPARE(w->SelectedLanguage, LanguageGerman);
    QCOMPARE(w->ui->Label3->text(), u"Teilung (P)"_s);
}

namespace {

// Everything of a shown window a user could tell apart: its size and title,
// the focus, and the visibility, enabled state, text and (when shown) place
// of every named element.
QStringList Appearance(SrDiamTester& w)
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList lines{
        u"window %1x%2 %3"_s.arg(w.width()).arg(w.height()).arg(w.windowTitle()),
        u"focus %1"_s.arg(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : u"none"_s)};
    for (const QWidget* widget : w.findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->isWindow())
            continue;
        const QString state = (widget->isEnabled() ? u""_s : u"disabled "_s) + widget->property("text").toString();
        // A hidden element is laid out when it is shown.
        if (!widget->isVisibleTo(&w)) {
            lines << u"%1 hidden %2"_s.arg(widget->objectName(), state);
            continue;
        }
        const QPoint at = widget->mapTo(&w, QPoint(0, 0));
        lines << u"%1 %2,%3 %4x%5 %6"_s.arg(widget->objectName())
                     .arg(at.x())
                     .arg(at.y())
                     .arg(widget->width())
                     .arg(widget->height())
                     .arg(state);
    }
    lines.sort();
    return lines;
}

} // namespace

void TestSrDiamShell::FrameFirstStartBuildsTheSameWindow_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::newRow("first start") << Stored{};
    QTest::newRow("internal, German, inches") << Stored{{u"Vid"_s, 2}, {u"Mat"_s, 1}, {u"Lang"_s, 2}, {u"mm_in"_s, 1}};
    QTest::newRow("Bulgarian, pitch diameter entered") << Stored{{u"Lang"_s, 1}, {u"St"_s, 2}};
}

// The program shows its frame before the content exists; once built, the
// window is the one a complete construction shows, element for element.
void TestSrDiamShell::FrameFirstStartBuildsTheSameWindow()
{
    QFETCH(Stored, stored);

    WriteSettings(stored);
    QStringList complete;
    {
        auto w = OpenWindow();
        complete = Appearance(*w);
        w->hide();
    }
    WriteSettings(stored);
    auto w = srdiamtest::OpenFrameFirstWindow();
    const QStringList frameFirst = Appearance(*w);
    QCOMPARE(frameFirst.size(), complete.size());
    for (qsizetype i = 0; i < complete.size(); ++i)
        QCOMPARE(frameFirst[i], complete[i]);

    // A second call builds nothing more.
    w->CompleteConstruction();
    QCOMPARE(Appearance(*w), complete);
}

void TestSrDiamShell::FrameClosedBeforeItsContentStoresNothing()
{
    const QString catalog = dir->filePath(u"DEZADIRE.INI"_s);
    {
        SrDiamTester w(TfrmSrDiam::Construction::FrameFirst);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), TfrmSrDiam::ApplicationTitle());
        QVERIFY(w.close());
        QVERIFY(w.Messages.isEmpty());
    }
    QVERIFY(!QFileInfo::exists(SettingsFile()));
    QVERIFY(!QFileInfo::exists(catalog));
}

// A catalog fault found while the shown frame is being filled waits for the
// window to be complete: its box never stands over a half-built window.
void TestSrDiamShell::FrameFirstReportsCatalogFaultsOnceComplete()
{
    QFile catalog(dir->filePath(u"DEZADIRE.INI"_s));
    QVERIFY(catalog.open(QIODevice::WriteOnly));
    catalog.write("[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=abc\r\nD3=1.155\r\n");
    catalog.close();

    SrDiamTester w(TfrmSrDiam::Construction::FrameFirst);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.CompleteConstruction();
    QVERIFY(w.Messages.isEmpty());
    QTRY_COMPARE(w.Messages.size(), 1);
    QVERIFY(w.Messages.first().contains(u"abc"_s));
    QCOMPARE(w.mdDiamOut.Count(), std::size_t{2});
}

QTEST_MAIN(TestSrDiamShell)
#include "TestSrDiamShell.moc"
