#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "CatalogFile.h"
#include "Calculation.h"
#include "Conformity.h"
#include "ImageList.h"
#include "LangsExt.h"
#include "MeasurementTypes.h"
#include "ProbeCatalog.h"
#include "UncertaintyBudget.h"

namespace Ui {
class TfrmSrDiam;
}
class CatalogGridModel;
class QAction;
class QMenu;
class QShortcut;
class QShowEvent;
class CatalogCellDelegate;
class QCloseEvent;
class QComboBox;
class QFrame;
class QKeySequence;
class QLabel;
class QLineEdit;
class QModelIndex;
class QSettings;
class QToolButton;
class TXLabel;
class TZFloatEdit;

// The program's one window: inputs and results of a thread measurement, the
// toolbar, the figure, the probe catalog and the manual.
//
// The implementation is split by concern, one file each:
//   SrDiam.cpp             structure, field configuration, event wiring,
//                          message box, catalog link of the grid
//   SrDiamMeasurement.cpp  the measurement inputs, lead and optimum with the
//                          catalog proposal, the calculation
//   SrDiamLanguage.cpp     the language menu, the window's texts, the manual
//   SrDiamUnits.cpp        the mm/inch switch and the rewriting of every
//                          shown length
//   SrDiamCatalogs.cpp     editing the catalogs in the grid, New, Delete,
//                          Select, loading and saving the catalogs, closing
//                          the window (settings stored, catalogs saved)
//   SrDiamShell.cpp        creation, first show, stored settings, Exit,
//                          the about window
//   SrDiamReport.cpp       Copy: the plain-text report on the clipboard
//   SrDiamRangeMarks.cpp   the marks of fields whose value is out of range
//   SrDiamBudget.cpp       the uncertainty budget: its page, U under the
//                          results, Copy budget, its stored entries
//   SrDiamThread.cpp       the thread designation box above the inputs
//   SrDiamConformity.cpp   the limits of the pitch diameter, the decision
//                          rule, the verdict and the turn-to targets
// Every element of the form is reached as ui->name (names as in SrDiam.ui).
// Handlers are private methods named after element and event; they are
// connected with pointer-to-member connects in WireEvents().
class TfrmSrDiam : public QWidget {
    Q_OBJECT

public:
    // How much of the window the constructor builds. The program puts the
    // frame on screen first and fills it in the next moment: laying out the
    // first text field loads the fonts, which a bare frame does not need.
    enum class Construction {
        Complete,  // the whole window, ready when the constructor returns
        FrameFirst // title and size only; CompleteConstruction() builds the rest
    };

    explicit TfrmSrDiam(QWidget* parent = nullptr, Construction construction = Construction::Complete);
    ~TfrmSrDiam() override;

    // Builds what a FrameFirst construction left out and, when the frame is
    // already shown, runs the first show. Does nothing a second time.
    void CompleteConstruction();

    // The title of the window and of its message boxes.
    static QString ApplicationTitle();

private:
    // The window tests' one tester derives from it to reach the state and
    // the handlers.
    friend class SrDiamTester;

    // ---- structure and wiring (SrDiam.cpp)
    void Build();
    void CentreOnScreen();
    bool Built = false;
    bool Constructing = false; // inside CompleteConstruction()
    void BuildToolBars();
    void ConfigureFields();
    void WireEvents();
    // F9, Ctrl+Shift+C, Ctrl+U and Ctrl+Q run their commands at once.
    void WireCommandKeys();
    // A key that runs a toolbar command at once, the button showing the press.
    void AddCommandKey(QToolButton* button, const QKeySequence& keys, void (TfrmSrDiam::*handler)());
    // Creation (SrDiamShell.cpp): change handling on, the stored settings
    // restored, both catalogs open.
    void FormCreate();

    // A modal message box captioned with the application's title and an OK
    // button. Virtual so that tests can record messages instead of blocking.
    virtual void ShowMessage(const QString& text);
    // The failure message of the lead update and of the calculation.
    void ShowError() { ShowMessage(ErrorText); }

    // The program-wide decimal separator, '.' or ','.
    static char DecimalSeparator();

    // ---- catalog link of the grid (SrDiam.cpp)
    // Points the data link (and the grid) at one of the two catalogs.
    void LinkCatalog(zevko::ProbeCatalog* catalog);
    // The catalog of the side now selected.
    zevko::ProbeCatalog* SideCatalog();
    // Highlights the grid row of the catalog's cursor (the last entry when
    // the cursor stands past the end).
    void SyncGridCursor();
    void dbgrKatDiamRowChanged(int row);
    void pcDatenChange(int index);

    // ---- measurement (SrDiamMeasurement.cpp)
    void rbOutClick();
    void cbVidVavChange();
    void edIzmStChange();
    void edIzmNChange();
    void edIzmStKeyPress(QChar key);
    void edStapkaChange();
    void edDiamChange();
    void btnCalcClick();
    void ClearResults();
    // Walks the linked catalog from its first entry for the diameter nearest
    // to d0 (mm); sets ProbeDiameterMm, the catalog cursor and lSign.
    void ProposeProbeDiameter(long double d0);
    // edDiam := ProbeDiameterMm, as the lead update and the side switch show it.
    void ShowProposedDiameter();
    // Millimetres per shown length unit: 1 or 25.4.
    long double LengthFactor() const;
    // A length field keeps the exact millimetre value the program wrote into
    // it for as long as it shows the text the program wrote: a shown,
    // rounded number (a unit switch, an inch proposal, Select) never becomes
    // the stored length. Only the user's own edit of the field re-derives it.
    struct WrittenLength {
        QString Text;
        double Mm = 0.0;
        bool Writing = false;
    };
    // The length in mm the field stands for.
    double LengthOf(const TZFloatEdit* field, const WrittenLength& written) const;
    // stored := mm, and the field shows `shown` (in the unit shown). A
    // value beyond the field's limits shows the limit, and the stored length
    // becomes what the field shows.
    void WriteLength(TZFloatEdit* field, WrittenLength& written, double& stored, double mm, long double shown);
    bool IsExternal() const;
    // Shows the five result texts in the labels, converted in inches; false
    // when a text cannot be converted (the labels before it keep their texts).
    bool ShowResults();

    // ---- range marks (SrDiamRangeMarks.cpp)
    // Every change of an input field's text judges the fields again.
    void WireRangeMarks();
    // Marks each input field whose value lies outside its accepted range,
    // with that range in the window's language and unit as the reason, and
    // takes the mark from the others. Also after the unit switch and a
    // change of language.
    void UpdateRangeMarks();

    // ---- window state
    std::unique_ptr<Ui::TfrmSrDiam> ui;

    bool EventsEnabled = false;
    zevko::UnitSystem Units = zevko::UnitSystem::Millimetres;
    QChar DiameterSymbol = QLatin1Char('d');
    QString ErrorText = QStringLiteral("No plausible entries. Please correct!");
    double PitchMm = 0.0;
    double ProbeDiameterMm = 0.0;
    double MeasuredValueMm = 0.0;
    WrittenLength PitchWritten;
    WrittenLength ProbeDiameterWritten;
    WrittenLength MeasuredValueWritten;
    // Millimetre texts: LeadText, OptimumDiameterText, DiameterText,
    // IndicatedValueText, ForceCorrectionText.
    zevko::MeasurementResults Results;

    // The wire catalog (external) and the ball catalog (internal), and the
    // data link: the catalog the grid shows and the proposal walks.
    zevko::ProbeCatalog mdDiamOut;
    zevko::ProbeCatalog mdDiamIn;
    zevko::ProbeCatalog* dsDiam = &mdDiamOut;
    CatalogGridModel* dsDiamModel = nullptr;

    ImageList ImageList1;
    QMenu* PopupMenu1 = nullptr;
    QAction* English = nullptr;
    QAction* Deutsch = nullptr;
    QAction* Bul = nullptr;
    QShortcut* HelpShortcut = nullptr;

    // ---- language (SrDiamLanguage.cpp)
    // Connects the items of the language menu.
    void WireLanguage();
    // The language menu: each sets the button's image and SelectedLanguage,
    // applies the language and reloads the manual, also for the language
    // already in use.
    void BulClick();
    void DeutschClick();
    void EnglishClick();
    // Loads the table of SelectedLanguage and puts its texts into every
    // language-dependent element of the window.
    void ApplyLanguage();
    // The menu handler of SelectedLanguage: 1 Bulgarian, 2 German, English
    // for anything else (0 when nothing was stored).
    void ApplyStoredLanguage();
    void ChooseLanguage(LanguageId language, int image, const QString& manual);

    // The language chosen for the window; 0 until one is chosen or restored.
    LanguageId SelectedLanguage = 0;
    // The manual is rendered when its page is shown (or F1 shows it), not at
    // start-up: the resource of the chosen language's manual until then,
    // empty once it is on the page.
    QString PendingManual;
    void LoadPendingManual();

    // ---- units and report (SrDiamUnits.cpp, SrDiamReport.cpp)
    // Connects the unit switch and the Copy command to their buttons.
    void WireUnitsAndReport();
    // Closes both catalogs (a changed one is written), switches Units,
    // redisplays every length and opens both catalogs again.
    void btnMMClick();
    // Relabels the units and rewrites every shown length from its stored
    // millimetre value; change handling is off for exactly its span.
    void ApplyUnitSystem();
    // Gives the unit labels one width, that of the widest unit they can
    // show, so that the unit switch moves nothing in the window.
    void FixUnitLabelWidths();
    // Puts the report on the clipboard, or says that it cannot.
    void btnCopyClick();
    // Fifteen lines "caption: <TAB>value suffix" ending in CR LF, from the
    // captions and values exactly as the window shows them.
    QString BuildReport() const;
    // False when the clipboard cannot take the text. Virtual so that tests
    // can stand in for a clipboard held by another program.
    virtual bool PutOnClipboard(const QString& text);

    // ---- catalogs (SrDiamCatalogs.cpp)
    // Cell editing of the grid and the buttons of the catalog page.
    void WireCatalogs();
    // Opens the wire catalog, then the ball catalog, each loaded from the
    // catalog file with its first entry current. A catalog whose writing
    // failed at the last CloseCatalogs stays as it was in memory.
    void OpenCatalogs();
    // Closes both catalogs: a row still being edited is stored if something
    // was typed into it, abandoned otherwise; a changed catalog is written
    // (a failure is shown). False, with nothing closed, when a cell still
    // being typed holds no number (the refusal is shown): the caller stops.
    bool CloseCatalogs();
    // Every way of closing the window closes the catalogs.
    void closeEvent(QCloseEvent* event) override;
    // Table events: loading after open, saving before close, New, and the
    // steps around storing (after-post also follows an abandon).
    void mdDiamOutAfterOpen();
    void mdDiamInAfterOpen();
    bool mdDiamOutBeforeClose();
    bool mdDiamInBeforeClose();
    void mdDiamOutAfterInsert();
    std::optional<zevko::CatalogField> mdDiamOutBeforePost();
    std::optional<zevko::CatalogField> mdDiamInBeforePost();
    void mdDiamOutAfterPost();
    void mdDiamInAfterPost();
    void btnInsClick();
    void btnDelClick();
    void btnSelClick();
    void LoadCatalogSection(zevko::ProbeCatalog& catalog, std::string_view section);
    // False when the catalog could not be written (the user was told).
    bool SaveCatalogSection(zevko::ProbeCatalog& catalog, std::string_view section);
    // Shown at once, or once the window is there when it is being created.
    void ReportCatalogMessage(const zevko::CatalogFileError& error);
    // A failed write while the window closes: true to try again. Virtual so
    // that tests can answer.
    virtual bool AskRetrySave(const QString& text);
    std::optional<zevko::CatalogField> CoupleUnitsColumn(const zevko::ProbeCatalog& catalog) const;
    void RowSettled(zevko::ProbeCatalog& catalog);
    void StoreRow(zevko::ProbeCatalog& catalog);
    void AbandonRow(zevko::ProbeCatalog& catalog);
    // Stores the row being edited if something was typed, else abandons it.
    void SettleRow(zevko::ProbeCatalog& catalog);
    // Brings the grid's rows in line with the linked catalog.
    void SyncCatalogRows();
    void dbgrKatDiamRowLeft();
    void dbgrKatDiamCellClick(const QModelIndex& index);
    void dbgrKatDiamFocusChanged(QWidget* old, QWidget* now);

    // True while an entry added with New is being typed.
    bool NewEntryPending = false;
    CatalogCellDelegate* dbgrKatDiamCells = nullptr;
    bool WireCatalogKept = false;
    bool BallCatalogKept = false;
    bool ClosingWindow = false;
    bool RowWasEditing = false;
    // Context of the application-wide focus connection: destroyed before
    // ui, so that no focus change during destruction reaches the window.
    std::unique_ptr<QObject> FocusWatch;

    // ---- uncertainty budget (SrDiamBudget.cpp)
    // The budget page (the fourth page of pcDaten, built on first need), the
    // expanded uncertainty under the results and the Copy budget command.
    void WireBudget();
    // Builds the page's contents the first time they are needed; the empty
    // tab exists from the start.
    void EnsureBudgetPage();
    // The budget of the results just shown, from the budget's entries:
    // ShownBudget (an Ok budget only), the visible U and the page's figures.
    void UpdateBudget();
    // The budget goes with the results (ClearResults).
    void ClearBudget();
    // The measurement as the fields hold it, as the calculation takes it.
    zevko::MeasurementInputs CalculationInputs() const;
    // The page's texts and the visible U in the window's language (ApplyLanguage).
    void ApplyBudgetLanguage();
    // The budget's entries are the lab's constants: kept in the settings
    // beside the six (RestoreSettings, StoreSettings). Invalid stored values
    // are ignored.
    // `key` is the open settings key of the six, in any group; it is left
    // in that group.
    void RestoreBudgetSettings(QSettings& key);
    void StoreBudgetSettings(QSettings& key);
    // Puts BuildBudgetReport() on the clipboard, or says why it cannot.
    void btnCopyBudgetClick();
    // The budget as TAB-separated lines ending in CR LF: the report's
    // pitch-diameter line, a header row, one row per contribution, then u_c
    // and U. Empty when no budget is shown.
    QString BuildBudgetReport() const;
    // Recomputes the budget of the shown results after an entry changed.
    void BudgetEntryChanged();
    // Shows ShownBudget (or why there is none) in the visible U and the page.
    void ShowBudget(const zevko::UncertaintyBudget* budget);
    // Why no budget is shown, in the window's language; empty for a budget.
    QString BudgetStatusText() const;
    // The entries in the core's units.
    zevko::BudgetInputs CoreBudgetInputs() const;

    // The shown results' budget, when it could be formed (Ok) with the
    // entries on the page; std::nullopt without results or budget.
    std::optional<zevko::UncertaintyBudget> ShownBudget;
    // The entries in the page's units (see SrDiamBudget.cpp).
    zevko::BudgetInputs BudgetValues = DefaultBudgetValues();
    static zevko::BudgetInputs DefaultBudgetValues();
    // The measurement of the shown results, while they are shown.
    std::optional<zevko::MeasurementInputs> BudgetMeasurement;
    // The outcome for the shown results (also when not Ok), for the texts.
    std::optional<zevko::BudgetOutcome> BudgetState;
    std::optional<zevko::BudgetContribution> BudgetInvalidRow;
    QWidget* TabSheet4 = nullptr;
    QToolButton* btnCopyBudget = nullptr;
    QLabel* lUncertainty = nullptr;
    TXLabel* lU = nullptr;
    QLabel* lUUnit = nullptr;
    // The page's widgets, once built.
    struct BudgetPageWidgets;
    std::shared_ptr<BudgetPageWidgets> BudgetPage;

    // ---- shell (SrDiamShell.cpp)
    // Connects the Exit and Info commands.
    void WireShell();
    // The six stored settings: "Vid", "Mat", "Izm", "St", "Lang", "mm_in".
    // Each is read only if it is there; nothing is written while the suite's
    // main window is open.
    void RestoreSettings();
    void StoreSettings();
    // The first show: the figure page, the selections (restored ones kept),
    // the language and the unit system.
    void FormShow();
    void showEvent(QShowEvent* event) override;
    // Stores a row being edited in either catalog, then closes the window.
    void btnExitClick();
    // The about window, modal, created for this showing only.
    void btnInfoClick();

    // Items restored from "St", "Mat" and "Izm", which the first show keeps.
    std::optional<int> RestoredQuantity;
    std::optional<int> RestoredMaterial;
    std::optional<int> RestoredMethod;
    bool FirstShowDone = false;
    // ---- thread designation (SrDiamThread.cpp)
    // The editable box "Thread" and the basic pitch diameter, each in a row
    // of its own above the inputs (Ctrl+T reaches the box).
    void BuildThreadBox();
    // Enter in the box, or an item chosen: reads the designation and fills
    // pitch, starts, both flank angles and (with a tolerance class) the
    // side through their fields, so that their change handlers run as if
    // typed. An unreadable one is refused with its reason, nothing changed.
    void ApplyDesignation(const QString& text);
    // The recent designations, most recent first, then the common sizes.
    void FillThreadItems();
    // The basic pitch diameter of the designation last entered, shown unit.
    void ShowBasicPitchDiameter();
    void LabelThreadBox();
    void RestoreThreadSettings(const QSettings& key);
    void StoreThreadSettings(QSettings& key) const;

    QComboBox* cbThread = nullptr;
    QLabel* lThread = nullptr;
    QLabel* lBasicD2Caption = nullptr;
    TXLabel* lBasicD2 = nullptr;
    QLabel* lBasicD2Unit = nullptr;
    QStringList RecentThreads;
    std::optional<long double> BasicPitchDiameterMm;

    // ---- limits, verdict and turn-to targets (SrDiamConformity.cpp)
    // The verdict beside the pitch diameter result and, below the results,
    // the limits, the decision rule and the turn-to targets; the designation
    // box with them. Called once, after the design's events are wired.
    void BuildThreadAndConformity();
    // The texts of both in the window's language (from ApplyLanguage).
    void LabelThreadAndConformity();
    // The window's minimum and size after the panels and texts changed.
    void FitWindowToContent();
    // Both rewritten in the shown unit (from ApplyUnitSystem).
    void ShowThreadAndConformityInUnit();
    // Their stored settings, in a group of their own beside the design's
    // group of six keys (`key` is left in the group it was in).
    void RestoreThreadAndConformity(QSettings& key);
    void StoreThreadAndConformity(QSettings& key) const;
    // The limits field was edited: read it in the shown unit.
    void edLimitsEdited(const QString& text);
    // Reads limits typed in `unit`; the verdict and the targets follow.
    void ReadLimits(const QString& text, zevko::UnitSystem unit);
    // What was not understood in the limits, in the window's language.
    void ShowLimitsMessage();
    // The M and m at the limits (and the guard-banded M window) for the
    // inputs as they are now; empty when they cannot be computed.
    void UpdateTurnTo();
    // The verdict for the results shown (after a calculation, and when the
    // limits or the rule change), with the targets.
    void UpdateConformity();
    // The verdict goes with the results.
    void ClearVerdict();
    // The limits, the rule, the verdict and the M window as TAB-separated
    // lines ending in CR LF, for the budget's copy; empty without limits.
    QString ConformityReportLines() const;
    // The expanded uncertainty of the shown result, mm; none without one.
    std::optional<long double> ShownExpandedUncertaintyMm() const;

    // The limits as typed: the text, the unit it was typed in and its
    // reading in mm. Another unit shows them converted, from the exact mm.
    struct TypedLimits {
        QString Text;
        zevko::UnitSystem Unit = zevko::UnitSystem::Millimetres;
        zevko::LimitsReading Reading;
        std::optional<zevko::PitchDiameterLimits> Mm;
    };
    TypedLimits Limits;
    QLineEdit* edLimits = nullptr;
    QLabel* lLimits = nullptr;
    QLabel* lLimitsUnit = nullptr;
    QLabel* lRule = nullptr;
    QComboBox* cbRule = nullptr;
    QLabel* lLimitsMessage = nullptr;
    QFrame* pnlLimits = nullptr;
    QLabel* lAtLower = nullptr;
    QLabel* lAtUpper = nullptr;
    QLabel* lTurnD2Caption = nullptr;
    QLabel* lTurnSmallCaption = nullptr;
    QLabel* lTurnCapitalCaption = nullptr;
    QLabel* lGuardCaption = nullptr;
    // [row][0 lower, 1 upper]: d2, m, M, guard-banded M.
    std::array<std::array<TXLabel*, 2>, 4> TurnValues{};
    std::array<QLabel*, 4> TurnUnits{};
    QLabel* lVerdict = nullptr;
    // The form's width and minimum width, before the verdict's column.
    int DesignWidth = 0;
    int DesignMinimumWidth = 0;
    // What the verdict's column adds to the width of the input panel.
    int VerdictColumnWidth = 0;
    zevko::Verdict ShownVerdict = zevko::Verdict::None;
};
