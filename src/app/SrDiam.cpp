#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "CatalogGridModel.h"
#include "PlausibilityLimits.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace {

// Windows colour values (blue in the high byte) of the fields' borders.
constexpr quint32 FieldBorderColor = 11242085;
constexpr quint32 FieldBorderSelected = 4632823;

constexpr int CatalogPageIndex = 1;

// The built window's size with the usual desktop fonts (DejaVu Sans 9 pt
// at 96 dpi): the frame shown before the content is built.
constexpr QSize FrameSize(903, 624);

} // namespace

TfrmSrDiam::TfrmSrDiam(QWidget* parent, Construction construction)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmSrDiam>())
{
    if (construction == Construction::FrameFirst) {
        // The frame has the size the built window has with the usual fonts,
        // so that it rarely changes when the content arrives.
        setObjectName(QStringLiteral("frmSrDiam"));
        setWindowTitle(ApplicationTitle());
        resize(FrameSize);
        CentreOnScreen();
        return;
    }
    Build();
    CentreOnScreen();
}

void TfrmSrDiam::Build()
{
    Built = true;
    // Change handling is on before anything else happens to the fields.
    EventsEnabled = true;
    ui->setupUi(this);
    BuildToolBars();
    ConfigureFields();
    WireEvents();
    BuildThreadAndConformity();
    FormCreate();
}

void TfrmSrDiam::CompleteConstruction()
{
    if (Built)
        return;
    const QSize frame = size();
    Constructing = true;
    Build();
    if (isVisible()) {
        // The frame's show event came before there was anything to show.
        if (!FirstShowDone) {
            FirstShowDone = true;
            FormShow();
        }
        // Widgets put into a window already shown stay hidden until shown,
        // and a layout leaves hidden widgets out of the window's size: show
        // them as the window's own show does (after the texts of the first
        // show, which the boxes take their widths from), then size the
        // window with them.
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                child->show();
        }
        FitWindowToContent();
    }
    if (size() != frame)
        CentreOnScreen();
    Constructing = false;
}

void TfrmSrDiam::CentreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmSrDiam::~TfrmSrDiam()
{
    // A window deleted while shown is taken down here, while the catalogs and
    // the handlers still exist: ~QWidget would hide it only after them, and an
    // open catalog cell would then be committed into a destroyed catalog.
    hide();
    // QApplication still reports focus changes to the window's handlers
    // while ~QWidget runs, when this object is no longer a TfrmSrDiam.
    disconnect(QCoreApplication::instance(), nullptr, this, nullptr);
}

QString TfrmSrDiam::ApplicationTitle()
{
    return QStringLiteral("Zevko Thread - PD");
}

char TfrmSrDiam::DecimalSeparator()
{
    return ZDecimalSeparator();
}

void TfrmSrDiam::BuildToolBars()
{
    ui->btnCalc->setIcon(ImageList1.Image(4));
    ui->btnCopy->setIcon(ImageList1.Image(2));
    ui->btnLang->setIcon(ImageList1.Image(9));
    ui->btnMM->setIcon(ImageList1.Image(13));
    ui->btnExit->setIcon(ImageList1.Image(5));
    ui->btnInfo->setIcon(ImageList1.Image(12));
    ui->btnIns->setIcon(ImageList1.Image(1));
    ui->btnDel->setIcon(ImageList1.Image(3));
    ui->btnSel->setIcon(ImageList1.Image(8));

    // The language menu: each language under its own name, whatever the
    // language of the window.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    English = PopupMenu1->addAction(ImageList1.Image(11), QStringLiteral("English"));
    English->setObjectName(QStringLiteral("English"));
    Deutsch = PopupMenu1->addAction(ImageList1.Image(10), QStringLiteral("Deutsch"));
    Deutsch->setObjectName(QStringLiteral("Deutsch"));
    Bul = PopupMenu1->addAction(ImageList1.Image(9), QStringLiteral("Български"));
    Bul->setObjectName(QStringLiteral("Bul"));
    ui->btnLang->setMenu(PopupMenu1);
    ui->btnLang->setPopupMode(QToolButton::InstantPopup);

    HelpShortcut = new QShortcut(QKeySequence(Qt::Key_F1), this);
    HelpShortcut->setObjectName(QStringLiteral("HelpShortcut"));
}

void TfrmSrDiam::WireCommandKeys()
{
    // Each command key runs its handler the moment it is pressed. A tool
    // button's own shortcut clicks it only after its pressed look (about
    // 0.1 s later), and keys typed meanwhile would be handled before the
    // command: Ctrl+U followed by digits would type them into the field of
    // the old unit and then convert them.
    struct CommandKey {
        QToolButton* Button;
        QKeySequence Keys;
        void (TfrmSrDiam::*Handler)();
    };
    const std::array<CommandKey, 4> commands{{
        {ui->btnCalc, QKeySequence(Qt::Key_F9), &TfrmSrDiam::btnCalcClick},
        {ui->btnCopy, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TfrmSrDiam::btnCopyClick},
        {ui->btnMM, QKeySequence(Qt::CTRL | Qt::Key_U), &TfrmSrDiam::btnMMClick},
        {ui->btnExit, QKeySequence(Qt::CTRL | Qt::Key_Q), &TfrmSrDiam::btnExitClick},
    }};
    for (const CommandKey& command : commands)
        AddCommandKey(command.Button, command.Keys, command.Handler);
}

void TfrmSrDiam::AddCommandKey(QToolButton* button, const QKeySequence& keys, void (TfrmSrDiam::*handler)())
{
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setObjectName(button->objectName() + QStringLiteral("Shortcut"));
    // A held key runs a toggle such as the unit switch once.
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, [this, button, handler] {
        // The button shows the press while the command runs.
        button->setDown(true);
        QTimer::singleShot(100, button, [button] { button->setDown(false); });
        (this->*handler)();
    });
}

void TfrmSrDiam::ConfigureFields()
{
    // Each field keeps its value within the accepted range of its input (the
    // millimetre limits hold for the inch display as well).
    using zevko::InputField;
    struct FieldSetup {
        TZFloatEdit* Field;
        TZValueType Type;
        InputField Input;
        long double Initial;
    };
    const std::array<FieldSetup, 11> fields{{
        {ui->edStapka, vt_Float, InputField::Pitch, 0},
        {ui->edBrH, vt_Integer, InputField::Starts, 1},
        {ui->edBg, vt_Float, InputField::FlankDegrees, 30},
        {ui->edBm, vt_Integer, InputField::FlankMinutes, 0},
        {ui->edBs, vt_Integer, InputField::FlankSeconds, 0},
        {ui->edYg, vt_Float, InputField::FlankDegrees, 30},
        {ui->edYm, vt_Integer, InputField::FlankMinutes, 0},
        {ui->edYs, vt_Integer, InputField::FlankSeconds, 0},
        {ui->edDiam, vt_Float, InputField::ProbeDiameter, 0},
        {ui->edIzmN, vt_Float, InputField::Force, 0},
        {ui->edIzmSt, vt_Float, InputField::MeasuredValue, 0},
    }};
    for (const FieldSetup& setup : fields) {
        const zevko::AcceptedRange range = zevko::RangeOf(setup.Input);
        setup.Field->SetValueType(setup.Type);
        setup.Field->SetDecimal(0);
        setup.Field->SetMinValue(range.Low);
        setup.Field->SetMaxValue(range.High);
        setup.Field->SetValue(setup.Initial);
        setup.Field->SetBorderColor(FieldBorderColor);
        setup.Field->SetBorderSelected(FieldBorderSelected);
    }

    // Units a pasted number may carry; the length units follow the unit system.
    ui->edIzmN->SetUnit(QStringLiteral("N"));
    for (TZFloatEdit* degrees : {ui->edBg, ui->edYg})
        degrees->SetUnit(QStringLiteral("\u00B0"));

    for (TZComboBox* box : {ui->cbMaterial, ui->cbIzm, ui->cbVidVav}) {
        box->SetBorderColor(FieldBorderColor);
        box->SetBorderSelected(FieldBorderSelected);
    }

    for (TXLabel* label : {ui->lPodem, ui->lDiamN, ui->lSrDA2, ui->lRazmM, ui->lA2}) {
        label->SetAlignment(taRightJustify);
        label->SetBevel(lbLowered);
        label->SetBorderStyle(bsNone);
        label->SetColor(ColorFromWin(wincolor::clBtnFace));
        label->SetHintShow(true);
    }

    FixUnitLabelWidths();

    // The sign is red and bold through palette and font: a style sheet would
    // put the whole style sheet machinery into the start-up for one label.
    QPalette signPalette = ui->lSign->palette();
    signPalette.setColor(QPalette::WindowText, QColor(0xff, 0, 0));
    ui->lSign->setPalette(signPalette);
    QFont signFont = ui->lSign->font();
    signFont.setBold(true);
    ui->lSign->setFont(signFont);
    // It keeps its place while hidden, so the unit labels never move.
    QSizePolicy signPolicy = ui->lSign->sizePolicy();
    signPolicy.setRetainSizeWhenHidden(true);
    ui->lSign->setSizePolicy(signPolicy);
    ui->lSign->hide();

    ui->ImageOut->Load(QStringLiteral(":/images/thread-external.svg"));
    ui->ImageIn->Load(QStringLiteral(":/images/thread-internal.svg"));

    // The pages' elements follow the tab bar in the chain (the form's order
    // names the page control, whose focus goes to its tab bar, and the pages
    // after it would otherwise be left out): Tab reaches the catalog grid or
    // the manual of the page shown, Shift+Tab comes back to the tab bar.
    if (auto* tabBar = ui->pcDaten->findChild<QTabBar*>()) {
        QWidget::setTabOrder(tabBar, ui->dbgrKatDiam);
        QWidget::setTabOrder(ui->dbgrKatDiam, ui->redHlep);
    }
    // The manual is read from the keyboard too: arrows and page keys scroll it.
    ui->redHlep->setFocusPolicy(Qt::StrongFocus);

    dsDiamModel = new CatalogGridModel(DecimalSeparator(), this);
    dsDiamModel->SetCatalog(dsDiam);
    ui->dbgrKatDiam->setModel(dsDiamModel);
    ui->dbgrKatDiam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->dbgrKatDiam->setColumnWidth(CatalogGridModel::ColumnMm, 107);
    ui->dbgrKatDiam->setColumnWidth(CatalogGridModel::ColumnIn, 109);
    ui->dbgrKatDiam->verticalHeader()->setDefaultSectionSize(ui->dbgrKatDiam->fontMetrics().height() + 4);
    ui->dbgrKatDiam->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void TfrmSrDiam::WireEvents()
{
    connect(ui->btnCalc, &QToolButton::clicked, this, &TfrmSrDiam::btnCalcClick);
    WireCommandKeys();
    connect(HelpShortcut, &QShortcut::activated, this, [this] { ui->pcDaten->setCurrentWidget(ui->TabSheet3); });

    // One handler for both radio buttons, once per change of side. Tab
    // enters the side group at the checked button only, as in a dialog.
    const auto sideChanged = [this](bool checked) {
        if (!checked)
            return;
        for (QRadioButton* button : {ui->rbOut, ui->rbIn})
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        rbOutClick();
    };
    connect(ui->rbOut, &QRadioButton::toggled, this, sideChanged);
    connect(ui->rbIn, &QRadioButton::toggled, this, sideChanged);

    for (TZFloatEdit* field : {ui->edStapka, ui->edBrH, ui->edBg, ui->edBm, ui->edBs, ui->edYg, ui->edYm, ui->edYs})
        connect(field, &TZFloatEdit::OnChange, this, &TfrmSrDiam::edStapkaChange);
    connect(ui->edDiam, &TZFloatEdit::OnChange, this, &TfrmSrDiam::edDiamChange);
    connect(ui->cbMaterial, &TZComboBox::OnChange, this, &TfrmSrDiam::edIzmStChange);
    connect(ui->edIzmN, &TZFloatEdit::OnChange, this, &TfrmSrDiam::edIzmNChange);
    connect(ui->edIzmN, &TZFloatEdit::OnKeyPress, this, &TfrmSrDiam::edIzmStKeyPress);
    connect(ui->edIzmSt, &TZFloatEdit::OnChange, this, &TfrmSrDiam::edIzmStChange);
    connect(ui->edIzmSt, &TZFloatEdit::OnKeyPress, this, &TfrmSrDiam::edIzmStKeyPress);
    connect(ui->cbVidVav, &TZComboBox::OnChange, this, &TfrmSrDiam::cbVidVavChange);

    connect(ui->pcDaten, &QTabWidget::currentChanged, this, &TfrmSrDiam::pcDatenChange);
    connect(ui->dbgrKatDiam->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { dbgrKatDiamRowChanged(current.row()); });

    WireLanguage();
    WireUnitsAndReport();
    WireCatalogs();
    WireBudget();
    WireShell();
    WireRangeMarks();
}

void TfrmSrDiam::ShowMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

// ---- catalog link of the grid

zevko::ProbeCatalog* TfrmSrDiam::SideCatalog()
{
    return IsExternal() ? &mdDiamOut : &mdDiamIn;
}

void TfrmSrDiam::LinkCatalog(zevko::ProbeCatalog* catalog)
{
    dsDiam = catalog;
    dsDiamModel->SetCatalog(catalog);
    SyncGridCursor();
}

void TfrmSrDiam::SyncGridCursor()
{
    SyncCatalogRows();
    const std::size_t count = dsDiam->Count();
    if (count == 0) {
        ui->dbgrKatDiam->selectionModel()->clearCurrentIndex();
        return;
    }
    const int row = static_cast<int>(std::min(dsDiam->Position(), count - 1));
    const int column = std::max(ui->dbgrKatDiam->currentIndex().column(), 0);
    ui->dbgrKatDiam->selectionModel()->setCurrentIndex(dsDiamModel->index(row, column),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TfrmSrDiam::dbgrKatDiamRowChanged(int row)
{
    if (row < 0 || dsDiam->Count() == 0)
        return;
    // Past the end the last row is highlighted; highlighting it again must
    // not move the cursor back onto the entry.
    const std::size_t shown = std::min(dsDiam->Position(), dsDiam->Count() - 1);
    if (static_cast<std::size_t>(row) != shown)
        dsDiam->SetPosition(static_cast<std::size_t>(row));
}

void TfrmSrDiam::pcDatenChange(int index)
{
    if (index == CatalogPageIndex)
        LinkCatalog(SideCatalog());
    if (ui->pcDaten->widget(index) == ui->TabSheet3)
        LoadPendingManual();
}
