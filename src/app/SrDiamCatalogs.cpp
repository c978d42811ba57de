// The probe catalogs on the catalog page: editing in the grid, New, Delete
// and Select, and opening (loading) and closing (saving) both catalogs.
//
// The grid types into the catalog's own row being edited; the row is stored
// when the user leaves it (another row, Enter, the grid losing the focus, a
// button of the page) and abandoned with Escape. Cell texts are checked by
// the grid's delegate before a cell is left.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "CatalogCellDelegate.h"
#include "CatalogFile.h"
#include "CatalogGridModel.h"
#include "CatalogLocation.h"
#include "CatalogMessages.h"
#include "LangsExt.h"
#include "NumberFormat.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

using EditState = zevko::ProbeCatalog::EditState;

void TfrmSrDiam::WireCatalogs()
{
    QTableView* grid = ui->dbgrKatDiam;
    dbgrKatDiamCells = new CatalogCellDelegate(grid, [this](const QString& text) { ShowMessage(text); });
    grid->setItemDelegate(dbgrKatDiamCells);
    grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked);

    connect(ui->btnIns, &QToolButton::clicked, this, &TfrmSrDiam::btnInsClick);
    connect(ui->btnDel, &QToolButton::clicked, this, &TfrmSrDiam::btnDelClick);
    connect(ui->btnSel, &QToolButton::clicked, this, &TfrmSrDiam::btnSelClick);

    connect(dbgrKatDiamCells, &CatalogCellDelegate::StoreRequested, this, [this] { SettleRow(*dsDiam); });
    connect(dbgrKatDiamCells, &CatalogCellDelegate::AbandonRequested, this, [this] { AbandonRow(*dsDiam); });
    connect(dbgrKatDiamCells, &CatalogCellDelegate::InsertRequested, this, &TfrmSrDiam::btnInsClick);
    connect(dbgrKatDiamCells, &CatalogCellDelegate::DeleteRequested, this, &TfrmSrDiam::btnDelClick);
    connect(dbgrKatDiamCells, &CatalogCellDelegate::SelectRequested, this, &TfrmSrDiam::btnSelClick);

    // The view commits an open cell on currentChanged, the window moves the
    // catalog's cursor (storing the row left) on currentRowChanged; these
    // two come after both.
    QItemSelectionModel* selection = grid->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this] { RowWasEditing = dsDiam->State() != EditState::Browsing; });
    connect(selection, &QItemSelectionModel::currentRowChanged, this, &TfrmSrDiam::dbgrKatDiamRowLeft);
    connect(grid, &QAbstractItemView::pressed, this, &TfrmSrDiam::dbgrKatDiamCellClick);
    FocusWatch = std::make_unique<QObject>();
    connect(qApp, &QApplication::focusChanged, FocusWatch.get(),
            [this](QWidget* old, QWidget* now) { dbgrKatDiamFocusChanged(old, now); });
}

// ---- opening and closing

void TfrmSrDiam::OpenCatalogs()
{
    NewEntryPending = false;
    // A catalog that could not be written when it was closed is kept as it
    // is: reading the file back would lose the user's changes.
    if (WireCatalogKept)
        mdDiamOut.First();
    else
        mdDiamOutAfterOpen();
    if (BallCatalogKept)
        mdDiamIn.First();
    else
        mdDiamInAfterOpen();
    WireCatalogKept = BallCatalogKept = false;
    dsDiamModel->Refresh();
    SyncGridCursor();
}

bool TfrmSrDiam::CloseCatalogs()
{
    // A cell still being typed goes into its row; a text that is not a
    // number stops the closing, as it stops leaving the cell.
    if (!dbgrKatDiamCells->CommitEditor())
        return false;
    // A row still being edited: stored if something was typed, else abandoned.
    SettleRow(mdDiamOut);
    SettleRow(mdDiamIn);
    WireCatalogKept = !mdDiamOutBeforeClose();
    if (!WireCatalogKept)
        mdDiamOut.Close();
    BallCatalogKept = !mdDiamInBeforeClose();
    if (!BallCatalogKept)
        mdDiamIn.Close();
    return true;
}

void TfrmSrDiam::closeEvent(QCloseEvent* event)
{
    // A frame closed before its content was built has nothing to keep.
    if (!Built) {
        QWidget::closeEvent(event);
        return;
    }
    // The settings first (SrDiamShell.cpp), then the catalogs.
    StoreSettings();
    ClosingWindow = true;
    const bool closed = CloseCatalogs();
    ClosingWindow = false;
    if (!closed) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmSrDiam::mdDiamOutAfterOpen()
{
    LoadCatalogSection(mdDiamOut, zevko::WireCatalogSection);
}

void TfrmSrDiam::mdDiamInAfterOpen()
{
    LoadCatalogSection(mdDiamIn, zevko::BallCatalogSection);
}

bool TfrmSrDiam::mdDiamOutBeforeClose()
{
    return SaveCatalogSection(mdDiamOut, zevko::WireCatalogSection);
}

bool TfrmSrDiam::mdDiamInBeforeClose()
{
    return SaveCatalogSection(mdDiamIn, zevko::BallCatalogSection);
}

void TfrmSrDiam::LoadCatalogSection(zevko::ProbeCatalog& catalog, std::string_view section)
{
    const std::optional<zevko::CatalogFileError> error =
        zevko::LoadCatalog(catalog, CatalogFilePath().toStdString(), section, DecimalSeparator());
    NewEntryPending = false;
    if (error)
        ReportCatalogMessage(*error);
}

bool TfrmSrDiam::SaveCatalogSection(zevko::ProbeCatalog& catalog, std::string_view section)
{
    if (!catalog.IsOpen())
        return true;
    for (;;) {
        const std::optional<zevko::CatalogFileError> error =
            zevko::SaveCatalog(catalog, CatalogFilePath().toStdString(), section, DecimalSeparator());
        if (!error)
            return true;
        if (!ClosingWindow) {
            ReportCatalogMessage(*error);
            return false;
        }
        if (!AskRetrySave(CatalogMessageText(*error)))
            return false;
    }
}

void TfrmSrDiam::ReportCatalogMessage(const zevko::CatalogFileError& error)
{
    // While the window is being created its message boxes wait for the
    // window to be there and complete (a frame shown first is not yet), and
    // are worded then, in the language the window shows.
    if (!isVisible() || Constructing)
        QTimer::singleShot(0, this, [this, error] { ShowMessage(CatalogMessageText(error)); });
    else
        ShowMessage(CatalogMessageText(error));
}

bool TfrmSrDiam::AskRetrySave(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::Retry | QMessageBox::Discard, this);
    box.setInformativeText(
        LanguageTextOr(1013, QStringLiteral("Retry saving the catalog, or close without saving it?")));
    box.button(QMessageBox::Retry)->setText(LanguageTextOr(1014, QStringLiteral("Retry")));
    box.button(QMessageBox::Discard)->setText(LanguageTextOr(1015, QStringLiteral("Discard")));
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}

// ---- rows

void TfrmSrDiam::mdDiamOutAfterInsert()
{
    NewEntryPending = true;
}

std::optional<zevko::CatalogField> TfrmSrDiam::mdDiamOutBeforePost()
{
    return CoupleUnitsColumn(mdDiamOut);
}

std::optional<zevko::CatalogField> TfrmSrDiam::mdDiamInBeforePost()
{
    return CoupleUnitsColumn(mdDiamIn);
}

void TfrmSrDiam::mdDiamOutAfterPost()
{
    RowSettled(mdDiamOut);
}

void TfrmSrDiam::mdDiamInAfterPost()
{
    RowSettled(mdDiamIn);
}

std::optional<zevko::CatalogField> TfrmSrDiam::CoupleUnitsColumn(const zevko::ProbeCatalog& catalog) const
{
    // The column of the grid's cell cursor decides which unit is derived
    // when both cells were typed; the cell typed into decides otherwise.
    const QModelIndex current = ui->dbgrKatDiam->currentIndex();
    if (dsDiam != &catalog || !current.isValid())
        return std::nullopt;
    return CatalogGridModel::Field(current.column());
}

void TfrmSrDiam::RowSettled(zevko::ProbeCatalog& catalog)
{
    NewEntryPending = false;
    if (dsDiam == &catalog)
        SyncGridCursor();
}

void TfrmSrDiam::StoreRow(zevko::ProbeCatalog& catalog)
{
    if (catalog.State() == EditState::Browsing)
        return;
    const bool wires = &catalog == &mdDiamOut;
    const std::optional<zevko::CatalogField> column = wires ? mdDiamOutBeforePost() : mdDiamInBeforePost();
    // Cell texts are checked when typed, so a row always stores; should the
    // derived unit still be out of range, the row is abandoned, not kept
    // half stored.
    if (!catalog.Post(column))
        catalog.Cancel();
    wires ? mdDiamOutAfterPost() : mdDiamInAfterPost();
}

void TfrmSrDiam::AbandonRow(zevko::ProbeCatalog& catalog)
{
    if (catalog.State() == EditState::Browsing)
        return;
    dbgrKatDiamCells->DiscardEditor();
    catalog.Cancel();
    &catalog == &mdDiamOut ? mdDiamOutAfterPost() : mdDiamInAfterPost();
}

void TfrmSrDiam::SettleRow(zevko::ProbeCatalog& catalog)
{
    if (catalog.RowModified())
        StoreRow(catalog);
    else
        AbandonRow(catalog);
}

void TfrmSrDiam::SyncCatalogRows()
{
    // Rows the catalog added or dropped are announced to the view; should the
    // view move its cursor meanwhile, the catalog's cursor is put back.
    const std::size_t position = dsDiam->Position();
    dsDiamModel->Sync();
    if (dsDiam->State() == EditState::Browsing && dsDiam->Position() != position)
        dsDiam->SetPosition(position);
}

// ---- grid events

void TfrmSrDiam::dbgrKatDiamRowLeft()
{
    // The window's row handler has moved the catalog's cursor, which stored
    // or abandoned the row left.
    if (!RowWasEditing || dsDiam->State() != EditState::Browsing)
        return;
    RowWasEditing = false;
    RowSettled(*dsDiam);
    // A click goes on to select the row under the mouse; after the re-sort
    // that may be another entry than the one clicked.
    QTimer::singleShot(0, this, [this] { SyncGridCursor(); });
}

void TfrmSrDiam::dbgrKatDiamCellClick(const QModelIndex& index)
{
    // A click on the row already highlighted (after a proposal walk past the
    // end, the last row) makes that entry current too.
    if (index.isValid() && dsDiam->State() == EditState::Browsing)
        dsDiam->SetPosition(static_cast<std::size_t>(index.row()));
}

void TfrmSrDiam::dbgrKatDiamFocusChanged(QWidget* old, QWidget* now)
{
    QTableView* grid = ui->dbgrKatDiam;
    const auto inGrid = [grid](const QWidget* widget) {
        return widget != nullptr && (widget == grid || grid->isAncestorOf(widget));
    };
    // Only a move to another element of this window stores the row: a
    // message box or another program taking the focus does not.
    if (!inGrid(old) || now == nullptr || inGrid(now) || !isAncestorOf(now))
        return;
    if (dbgrKatDiamCells->EditorOpen())
        return; // a refused cell text keeps its row in editing
    SettleRow(*dsDiam);
}

// ---- buttons of the catalog page

void TfrmSrDiam::btnInsClick()
{
    if (!dsDiam->IsOpen() || !dbgrKatDiamCells->CommitEditor())
        return;
    SettleRow(*dsDiam);
    dsDiamModel->AppendRow();
    mdDiamOutAfterInsert();
    SyncGridCursor();
    ui->dbgrKatDiam->setFocus();
}

void TfrmSrDiam::btnDelClick()
{
    // Nothing to delete in an empty catalog, past the last entry or while a
    // new entry is being typed; an edit of the entry goes with it.
    if (!dsDiam->HasEntryToDelete())
        return;
    dbgrKatDiamCells->DiscardEditor();
    dsDiam->Delete();
    SyncGridCursor();
}

void TfrmSrDiam::btnSelClick()
{
    if (!dbgrKatDiamCells->CommitEditor())
        return;
    const zevko::CatalogEntry entry = dsDiam->Current();
    // The field shows the entry rounded; the probe diameter is the entry's
    // own value for as long as the field shows that text.
    WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, entry.DIAMm,
                Units == zevko::UnitSystem::Inches ? zevko::RoundToDecimals(entry.DIAMi, 5)
                                                   : zevko::RoundToDecimals(entry.DIAMm, 4));
}
