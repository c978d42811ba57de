#pragma once

// The window as the tests drive it: the real TfrmSrDiam with its state and
// handlers made reachable, and message boxes recorded instead of shown.
//
// One tester for every window test (it is the window's only friend):
//   auto w = srdiamtest::OpenWindow();             // shown, active, focused
//   auto w = srdiamtest::OpenWindow([](SrDiamTester& w) { w.SelectedLanguage = 2; });
//                                                  // state set before the show
//   auto w = srdiamtest::OpenWindow<MyWindow>();   // a subclass of SrDiamTester,
//                                                  // e.g. one overriding a virtual
// A test that needs another member of the window adds its using-declaration
// here, in the group of the file that implements it.

#include "CatalogGridModel.h"
#include "CatalogLocation.h"
#include "SrDiam.h"
#include "ui_SrDiam.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <initializer_list>
#include <memory>
#include <type_traits>

namespace srdiamtest {

// Keeps test windows away from the catalog file beside the test program:
// unless a test chose a catalog file of its own, every window reads and
// writes one in a temporary directory of the test process. A base class of
// the tester, so that it is in place before the window opens its catalogs.
struct CatalogFileIsolation {
    CatalogFileIsolation()
    {
        if (!CatalogFilePathOverride().isEmpty())
            return;
        static QTemporaryDir directory;
        SetCatalogFilePathOverride(directory.filePath(QStringLiteral("DEZADIRE.INI")));
    }
};

} // namespace srdiamtest

class SrDiamTester : private srdiamtest::CatalogFileIsolation, public TfrmSrDiam {
public:
    explicit SrDiamTester(Construction construction = Construction::Complete) : TfrmSrDiam(nullptr, construction) {}

    using TfrmSrDiam::ui;

    using TfrmSrDiam::DiameterSymbol;
    using TfrmSrDiam::ErrorText;
    using TfrmSrDiam::EventsEnabled;
    using TfrmSrDiam::MeasuredValueMm;
    using TfrmSrDiam::PitchMm;
    using TfrmSrDiam::ProbeDiameterMm;
    using TfrmSrDiam::Results;
    using TfrmSrDiam::Units;

    using TfrmSrDiam::dsDiam;
    using TfrmSrDiam::dsDiamModel;
    using TfrmSrDiam::ImageList1;
    using TfrmSrDiam::mdDiamIn;
    using TfrmSrDiam::mdDiamOut;
    using TfrmSrDiam::PopupMenu1;

    using TfrmSrDiam::btnCalcClick;
    using TfrmSrDiam::ClearResults;
    using TfrmSrDiam::edStapkaChange;
    using TfrmSrDiam::SyncGridCursor;

    // ---- language
    using TfrmSrDiam::ApplyLanguage;
    using TfrmSrDiam::BulClick;
    using TfrmSrDiam::DeutschClick;
    using TfrmSrDiam::EnglishClick;
    using TfrmSrDiam::SelectedLanguage;
    // The manual page's viewer with the manual of the chosen language in it:
    // rendered now if it waits for its page to be shown, as showing it does.
    QTextEdit* Manual()
    {
        LoadPendingManual();
        return ui->redHlep;
    }

    // ---- units and report
    using TfrmSrDiam::ApplyUnitSystem;
    using TfrmSrDiam::btnMMClick;
    using TfrmSrDiam::BuildReport;

    // ---- uncertainty budget
    using TfrmSrDiam::btnCopyBudget;
    using TfrmSrDiam::btnCopyBudgetClick;
    using TfrmSrDiam::BudgetPage;
    using TfrmSrDiam::BudgetValues;
    using TfrmSrDiam::BuildBudgetReport;
    using TfrmSrDiam::lU;
    using TfrmSrDiam::lUncertainty;
    using TfrmSrDiam::ShownBudget;
    using TfrmSrDiam::TabSheet4;
    using TfrmSrDiam::UpdateBudget;

    // ---- shell
    using TfrmSrDiam::btnInfoClick;
    using TfrmSrDiam::RestoreSettings;
    using TfrmSrDiam::StoreSettings;

    // ---- thread designation, limits, verdict and turn-to targets
    using TfrmSrDiam::ApplyDesignation;
    using TfrmSrDiam::cbRule;
    using TfrmSrDiam::cbThread;
    using TfrmSrDiam::edLimits;
    using TfrmSrDiam::lBasicD2;
    using TfrmSrDiam::Limits;
    using TfrmSrDiam::lLimitsMessage;
    using TfrmSrDiam::lVerdict;
    using TfrmSrDiam::RecentThreads;
    using TfrmSrDiam::ShownVerdict;
    using TfrmSrDiam::TurnValues;
    using TfrmSrDiam::UpdateConformity;

    // Every message the window would have shown, in order.
    QStringList Messages;

    // Fills a catalog in memory (ascending order is restored) with its cursor
    // on the first entry, and refreshes the grid.
    void FillCatalog(zevko::ProbeCatalog& catalog, std::initializer_list<double> diametersMm)
    {
        catalog.Open();
        for (double d : diametersMm)
            catalog.AppendLoaded(d);
        catalog.Sort();
        catalog.First();
        dsDiamModel->Refresh();
        SyncGridCursor();
    }

    // ---- catalogs
    using TfrmSrDiam::btnDelClick;
    using TfrmSrDiam::btnInsClick;
    using TfrmSrDiam::btnSelClick;
    using TfrmSrDiam::CloseCatalogs;
    using TfrmSrDiam::NewEntryPending;
    using TfrmSrDiam::OpenCatalogs;

    // Answers a failed write at close: true tries again. Unset: close
    // without writing. The message is recorded either way.
    std::function<bool(const QString&)> RetrySave;
    // The question a failed write at close really asks, box and all.
    bool AskRetrySaveAsShown(const QString& text) { return TfrmSrDiam::AskRetrySave(text); }

private:
    void ShowMessage(const QString& text) override { Messages << text; }
    bool AskRetrySave(const QString& text) override
    {
        Messages << text;
        return RetrySave ? RetrySave(text) : false;
    }
};

namespace srdiamtest {

// A shown, active window with the focus where the window put it. `Window` is
// SrDiamTester or a subclass of it; `beforeShow`, when given, runs on the
// created window before its first show (where stored state takes effect).
template <class Window = SrDiamTester>
std::unique_ptr<Window> OpenWindow(const std::type_identity_t<std::function<void(Window&)>>& beforeShow = {})
{
    static_assert(std::is_base_of_v<SrDiamTester, Window>, "a window test drives a SrDiamTester");
    auto window = std::make_unique<Window>();
    if (beforeShow)
        beforeShow(*window);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("window did not become active");
    return window;
}

// The window as the program starts it: the frame shown first, the content
// built once the frame is on screen; then active, as OpenWindow's.
inline std::unique_ptr<SrDiamTester> OpenFrameFirstWindow()
{
    auto window = std::make_unique<SrDiamTester>(TfrmSrDiam::Construction::FrameFirst);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("frame was not exposed");
    window->CompleteConstruction();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("window did not become active");
    return window;
}

// Replaces the text of a field as a user does: focus it, empty it, type.
inline void Type(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_End);
    while (!field->property("text").toString().isEmpty()) {
        const QString before = field->property("text").toString();
        QTest::keyClick(field, Qt::Key_Backspace);
        if (field->property("text").toString() == before)
            break;
    }
    QTest::keyClicks(field, text);
}

// Types into a field and presses Enter in it.
inline void TypeAndEnter(QWidget* field, const QString& text)
{
    Type(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Chooses an item of a selection box the way a user does (keyboard), so
// that the box reports a user choice.
inline void Choose(QWidget* box, int index)
{
    box->setFocus();
    const int current = box->property("currentIndex").toInt();
    for (int i = current; i < index; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    for (int i = current; i > index; --i)
        QTest::keyClick(box, Qt::Key_Up);
}

// Forgets every setting the window stored (the tests' own user scope).
inline void RemoveStoredSettings()
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantel"), QStringLiteral("RaradeRI"));
    key.clear();
    key.sync();
}

// Types a designation into the Thread box and presses Enter, as a user does.
inline void EnterDesignation(SrDiamTester& w, const QString& text)
{
    w.cbThread->setFocus();
    w.cbThread->lineEdit()->selectAll();
    QTest::keyClick(w.cbThread, Qt::Key_Backspace);
    QTest::keyClicks(w.cbThread, text);
    QTest::keyClick(w.cbThread, Qt::Key_Return);
}

} // namespace srdiamtest
