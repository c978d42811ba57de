// Start-up, stored settings and shutdown of the window, and the about window.
//
// Six choices survive from one run to the next: the side ("Vid", 1 external,
// 2 internal), the material ("Mat"), the method ("Izm"), the entered quantity
// ("St"), the language ("Lang") and the unit system ("mm_in", 1 inches), all
// 32-bit integers in the user's settings of "Brantel" / "RaradeRI", group
// "Default" (the registry key HKCU\Software\Brantel\RaradeRI\Default on
// Windows, ~/.config/Brantel/RaradeRI.conf elsewhere). They are read at
// creation and written at close, and not written at all while the suite's
// main window is open: the suite owns them then.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "CatalogCellDelegate.h"
#include "Splash.h"
#include "SuiteWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>

#include <cstdint>
#include <limits>
#include <utility>

namespace {

const QString Organisation = QStringLiteral("Brantel");
const QString Application = QStringLiteral("RaradeRI");
const QString Group = QStringLiteral("Default");

constexpr int ExternalSide = 1;
constexpr int InternalSide = 2;

// A stored value as a 32-bit integer, or nothing when it is absent or not a
// number. A registry DWORD may come back unsigned; it keeps its bits.
std::optional<std::int32_t> ReadInt32(const QSettings& key, const QString& name)
{
    if (!key.contains(name))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = key.value(name).toLongLong(&ok);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > static_cast<qlonglong>(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// An item number that names an item of a box with `count` items.
std::optional<int> ItemNumber(std::optional<std::int32_t> value, int count)
{
    if (value && *value >= 0 && *value < count)
        return *value;
    return std::nullopt;
}

// Keeps the window's command keys for its commands while a text field has
// the focus. Line edits claim some of them for themselves on Linux desktops
// (Ctrl+U empties the field there, and puts its text on the clipboard), which
// would turn the documented unit switch into a loss of the typed value.
class CommandKeysFirst : public QObject {
public:
    CommandKeysFirst(QWidget* window, QList<QKeySequence> keys)
        : QObject(window), window_(window), keys_(std::move(keys))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget*>(watched)->window() != window_)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        if (!keys_.contains(pressed))
            return false;
        // Not claimed by the field: the window's shortcut runs.
        event->ignore();
        return true;
    }

private:
    QWidget* window_;
    QList<QKeySequence> keys_;
};

} // namespace

void TfrmSrDiam::WireShell()
{
    connect(ui->btnExit, &QToolButton::clicked, this, &TfrmSrDiam::btnExitClick);
    connect(ui->btnInfo, &QToolButton::clicked, this, &TfrmSrDiam::btnInfoClick);

    // The language menu from the keyboard: its button takes no focus.
    auto* languageMenu = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    languageMenu->setObjectName(QStringLiteral("LanguageMenuShortcut"));
    connect(languageMenu, &QShortcut::activated, ui->btnLang, &QToolButton::showMenu);

    QList<QKeySequence> commandKeys;
    for (const QShortcut* shortcut : findChildren<QShortcut*>())
        commandKeys << shortcut->key();
    new CommandKeysFirst(this, std::move(commandKeys));
}

// ---- creation

void TfrmSrDiam::FormCreate()
{
    EventsEnabled = true;
    RestoreSettings();
    // A first start presents the external side, through the side switch, so
    // that texts, figure, catalog and calculation agree from the start.
    if (!ui->rbOut->isChecked() && !ui->rbIn->isChecked())
        ui->rbOut->setChecked(true);
    NewEntryPending = false;
    OpenCatalogs();
    ui->edStapka->setFocus();
}

void TfrmSrDiam::RestoreSettings()
{
    // Reading never creates the key.
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    if (key.status() != QSettings::NoError)
        return;
    key.beginGroup(Group);

    // The side first: its switch sets the material, which "Mat" then
    // overrides. The catalogs are still closed, so nothing is proposed.
    if (const std::optional<std::int32_t> side = ReadInt32(key, QStringLiteral("Vid")))
        (*side == ExternalSide ? ui->rbOut : ui->rbIn)->setChecked(true);

    // An item number the box does not have is taken as absent: a box with
    // no item selected would leave the calculation without its choice.
    RestoredMaterial = ItemNumber(ReadInt32(key, QStringLiteral("Mat")), ui->cbMaterial->count());
    if (RestoredMaterial)
        ui->cbMaterial->SetItemIndex(*RestoredMaterial);
    RestoredMethod = ItemNumber(ReadInt32(key, QStringLiteral("Izm")), ui->cbIzm->count());
    if (RestoredMethod)
        ui->cbIzm->SetItemIndex(*RestoredMethod);
    RestoredQuantity = ItemNumber(ReadInt32(key, QStringLiteral("St")), ui->cbVidVav->count());
    if (RestoredQuantity)
        ui->cbVidVav->SetItemIndex(*RestoredQuantity);

    if (const std::optional<std::int32_t> language = ReadInt32(key, QStringLiteral("Lang")))
        SelectedLanguage = *language;
    if (const std::optional<std::int32_t> inches = ReadInt32(key, QStringLiteral("mm_in")))
        Units = *inches != 0 ? zevko::UnitSystem::Inches : zevko::UnitSystem::Millimetres;
    RestoreBudgetSettings(key);
    RestoreThreadAndConformity(key);
}

// ---- first show

void TfrmSrDiam::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A frame shown before its content runs the first show once built.
    if (FirstShowDone || !Built)
        return;
    FirstShowDone = true;
    FormShow();
}

void TfrmSrDiam::FormShow()
{
    ui->pcDaten->setCurrentWidget(ui->TabSheet1);

    // The selections agree with the side that is shown: restored items are
    // kept, the others take their first-show defaults. An external thread is
    // always measured with steel wires.
    const bool external = IsExternal();
    DiameterSymbol = QLatin1Char(external ? 'd' : 'D');
    ui->cbVidVav->SetItemIndex(RestoredQuantity.value_or(1));
    if (external) {
        ui->cbMaterial->SetItemIndex(0);
        ui->cbMaterial->setEnabled(false);
    } else {
        ui->cbMaterial->setEnabled(true);
        if (RestoredMaterial)
            ui->cbMaterial->SetItemIndex(*RestoredMaterial);
    }
    ui->cbIzm->SetItemIndex(RestoredMethod.value_or(0));

    // The language rewrites every caption, the result rows after the
    // entered quantity and the diameter symbol included.
    ApplyStoredLanguage();
    ApplyUnitSystem();
}

// ---- commands

void TfrmSrDiam::btnExitClick()
{
    // A cell still being typed goes into its row first; a text that is not
    // a number keeps the window open (the refusal was shown).
    if (!dbgrKatDiamCells->CommitEditor())
        return;
    SettleRow(mdDiamOut);
    SettleRow(mdDiamIn);
    close();
}

void TfrmSrDiam::btnInfoClick()
{
    // A new window for each showing, released when it closes, also when
    // showing it fails.
    const auto frmSplash = std::make_unique<TfrmSplash>(this);
    frmSplash->exec();
}

// ---- close

void TfrmSrDiam::StoreSettings()
{
    // While the suite's main window is open the key is not even created.
    if (SuiteMainWindowExists())
        return;
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    if (key.status() != QSettings::NoError)
        return;
    key.beginGroup(Group);
    key.setValue(QStringLiteral("Vid"), IsExternal() ? ExternalSide : InternalSide);
    key.setValue(QStringLiteral("Mat"), ui->cbMaterial->ItemIndex());
    key.setValue(QStringLiteral("Izm"), ui->cbIzm->ItemIndex());
    key.setValue(QStringLiteral("St"), ui->cbVidVav->ItemIndex());
    key.setValue(QStringLiteral("Lang"), static_cast<int>(SelectedLanguage));
    key.setValue(QStringLiteral("mm_in"), Units == zevko::UnitSystem::Inches ? 1 : 0);
    StoreBudgetSettings(key);
    StoreThreadAndConformity(key);
    key.endGroup();
    // A key that cannot be written leaves the stored settings as they were;
    // the catalogs are closed all the same.
    key.sync();
}
