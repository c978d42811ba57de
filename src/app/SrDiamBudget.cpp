// The uncertainty budget of the shown pitch diameter after the GUM (JCGM 100,
// EURAMET cg-10 for this method): the budget page, the expanded uncertainty
// under the results, the Copy budget command and the lab's stored entries.
// Every rule of the budget (divisors, probe weights, sensitivities, the
// critical thread) is the core's (UncertaintyBudget.h); this file enters,
// shows and copies.
//
// Units of the page. Lengths are micrometres whatever the window's unit
// system: the budget's entries are the lab's constants, taken from
// calibration certificates and instrument data sheets that state them in
// micrometres, and a switch of the display must never round them. Micrometres
// also keep the budget's figures in the range a technician reads at a glance
// (0.30, not 0.00030 mm or 0.0000118 in). Flank angles are in arcminutes (the
// unit of the flank-angle corrections), the force in newtons (as the force
// field), temperature differences in kelvin and expansion coefficients in
// 10^-6/K (steel 11.5, as handbooks list them; 1/K would need exponents).
// The page holds its entries in these units (BudgetValues); CoreInputs()
// turns them into the core's.
//
// The page's widgets are built the first time the page is shown: the window
// starts without them. The expanded uncertainty under the results and the
// entries themselves need no page.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "LangsExt.h"
#include "NumberFormat.h"
#include "UncertaintyBudget.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeySequence>
#include <QAbstractItemView>
#include <QLabel>
#include <QScrollArea>
#include <QSettings>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <cstddef>
#include <string>

namespace {

using zevko::BudgetContribution;
using zevko::UncertaintyKind;

constexpr std::size_t RowCount = zevko::BudgetContributionCount;
constexpr int CopyBudgetImage = 15;

constexpr long double MicroPerUnit = 1.0e-6L;

// What a row of the page is: its key (object names, settings), the text of
// its name, its unit, the factor from the page's unit to the core's and the
// largest value its field accepts.
enum class RowUnit { Micrometre, Arcminute, Newton, Kelvin, PerKelvin };

struct RowSpec {
    BudgetContribution Contribution;
    const char* Key;
    RowUnit Unit;
    long double MaxValue;
    UncertaintyKind DefaultKind;
};

// The defaults' kinds are how such values usually come: certificates with
// their k for the instrument, the probes and the pitch, limits for the rest.
constexpr std::array<RowSpec, RowCount> Rows{{
    {BudgetContribution::Indicated, "Indicated", RowUnit::Micrometre, 1000, UncertaintyKind::Expanded},
    {BudgetContribution::Repeatability, "Repeatability", RowUnit::Micrometre, 1000, UncertaintyKind::Standard},
    {BudgetContribution::Probes, "Probes", RowUnit::Micrometre, 1000, UncertaintyKind::Expanded},
    {BudgetContribution::Pitch, "Pitch", RowUnit::Micrometre, 1000, UncertaintyKind::Expanded},
    {BudgetContribution::BetaFlank, "Beta", RowUnit::Arcminute, 600, UncertaintyKind::Rectangular},
    {BudgetContribution::GammaFlank, "Gamma", RowUnit::Arcminute, 600, UncertaintyKind::Rectangular},
    {BudgetContribution::Force, "Force", RowUnit::Newton, 100, UncertaintyKind::Rectangular},
    {BudgetContribution::ForceModel, "ForceModel", RowUnit::Micrometre, 1000, UncertaintyKind::Rectangular},
    {BudgetContribution::TemperatureDifference, "TemperatureDifference", RowUnit::Kelvin, 100,
     UncertaintyKind::Rectangular},
    {BudgetContribution::ExpansionDifference, "ExpansionDifference", RowUnit::PerKelvin, 100,
     UncertaintyKind::Rectangular},
    {BudgetContribution::Other, "Other", RowUnit::Micrometre, 1000, UncertaintyKind::Rectangular},
}};

constexpr std::size_t RepeatabilityRow = static_cast<std::size_t>(BudgetContribution::Repeatability);
constexpr std::size_t ProbesRow = static_cast<std::size_t>(BudgetContribution::Probes);

// Ranges of the other entries.
constexpr long double MinCoverageFactor = 1;
constexpr long double MaxCoverageFactor = 10;
constexpr int MaxReadings = 1000;
constexpr long double MinExpansion = -100; // 10^-6/K
constexpr long double MaxExpansion = 100;
constexpr long double MinTemperature = -50; // deg C
constexpr long double MaxTemperature = 100;

QString UnitText(RowUnit unit)
{
    switch (unit) {
    case RowUnit::Micrometre: return QStringLiteral("\u00B5m");
    case RowUnit::Arcminute: return QStringLiteral("\u2032");
    case RowUnit::Newton: return QStringLiteral("N");
    case RowUnit::Kelvin: return QStringLiteral("K");
    case RowUnit::PerKelvin: return QStringLiteral("10\u207B\u2076/K");
    }
    return {};
}

// The unit after a number: the arcminute mark closes up, the others stand apart.
QString UnitSuffix(RowUnit unit)
{
    return unit == RowUnit::Arcminute ? UnitText(unit) : QLatin1Char(' ') + UnitText(unit);
}

long double ToCore(RowUnit unit)
{
    return unit == RowUnit::PerKelvin ? MicroPerUnit : 1.0L;
}

const QString Micrometres = QStringLiteral(" \u00B5m");

// The symbols of the flank angles as the window's captions write them.
const QString BetaSuffix = QStringLiteral(" (\u0412)");
const QString GammaSuffix = QStringLiteral(" (Y)");

QString RowName(std::size_t row)
{
    switch (Rows[row].Contribution) {
    case BudgetContribution::Indicated: return LanguageText(1207);
    case BudgetContribution::Repeatability: return LanguageText(1208);
    case BudgetContribution::Probes: return LanguageText(1209);
    case BudgetContribution::Pitch: return LanguageText(1210) + QStringLiteral(" (P)");
    case BudgetContribution::BetaFlank: return LanguageText(211) + BetaSuffix;
    case BudgetContribution::GammaFlank: return LanguageText(211) + GammaSuffix;
    case BudgetContribution::Force: return LanguageText(216) + QStringLiteral(" (F)");
    case BudgetContribution::ForceModel: return LanguageText(1211);
    case BudgetContribution::TemperatureDifference: return LanguageText(1212);
    case BudgetContribution::ExpansionDifference: return LanguageText(1213);
    case BudgetContribution::Other: return LanguageText(1214);
    }
    return {};
}

QString KindText(UncertaintyKind kind)
{
    switch (kind) {
    case UncertaintyKind::Standard: return LanguageText(1215);
    case UncertaintyKind::Expanded: return LanguageText(1216);
    case UncertaintyKind::Rectangular: return LanguageText(1217);
    }
    return {};
}

QString Text(const std::optional<std::string>& text)
{
    return text ? QString::fromStdString(*text) : QString();
}

QString General(long double value)
{
    return QString::fromStdString(zevko::FormatGeneral(value, ZDecimalSeparator()));
}

QString Coefficient(long double value)
{
    return Text(zevko::FormatCoefficient(value, ZDecimalSeparator()));
}

QString MicrometreText(long double value)
{
    return Text(zevko::FormatMicrometres(value, ZDecimalSeparator()));
}

QString PercentText(long double share)
{
    return Text(zevko::FormatResult(share * 100.0L, 1, ZDecimalSeparator()));
}

// The entries in the core's units.
zevko::BudgetInputs CoreInputs(const zevko::BudgetInputs& page)
{
    zevko::BudgetInputs core = page;
    for (std::size_t i = 0; i < RowCount; ++i)
        core.Entries[i].Value *= ToCore(Rows[i].Unit);
    core.ExpansionCoefficient *= MicroPerUnit;
    return core;
}

// The standard uncertainty and the coefficient in the page's units.
long double ShownUncertainty(const zevko::BudgetRow& row, std::size_t i)
{
    return row.StandardUncertainty / ToCore(Rows[i].Unit);
}

long double ShownSensitivity(const zevko::BudgetRow& row, std::size_t i)
{
    return row.Sensitivity * ToCore(Rows[i].Unit);
}

// ---- settings: group "UncertaintyBudget" beside the group of the six, in
// the page's units; numbers as text with a decimal point.
const QString BudgetGroup = QStringLiteral("UncertaintyBudget");

// The budget's group for the lifetime of the switch, in the key of the six
// settings (whatever group it stands in); the key's group comes back after.
class GroupSwitch {
public:
    explicit GroupSwitch(QSettings& key) : key_(key), outer_(key.group())
    {
        while (!key_.group().isEmpty())
            key_.endGroup();
        key_.beginGroup(BudgetGroup);
    }
    ~GroupSwitch()
    {
        key_.endGroup();
        if (!outer_.isEmpty())
            key_.beginGroup(outer_);
    }
    GroupSwitch(const GroupSwitch&) = delete;
    GroupSwitch& operator=(const GroupSwitch&) = delete;

private:
    QSettings& key_;
    QString outer_;
};

QString NumberText(long double value)
{
    return QString::number(static_cast<double>(value), 'g', QLocale::FloatingPointShortest);
}

// A stored number within [low, high]; nothing when absent, unreadable or
// outside.
std::optional<long double> ReadNumber(const QSettings& key, const QString& name, long double low, long double high)
{
    if (!key.contains(name))
        return std::nullopt;
    bool ok = false;
    const double value = key.value(name).toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> ReadWhole(const QSettings& key, const QString& name, int low, int high)
{
    if (!key.contains(name))
        return std::nullopt;
    bool ok = false;
    const int value = key.value(name).toString().trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

void ConfigureField(TZFloatEdit* field, const TZFloatEdit* model, TZValueType type, long double low, long double high,
                    long double value, const QString& unit)
{
    field->SetValueType(type);
    field->SetDecimal(0);
    field->SetMinValue(low);
    field->SetMaxValue(high);
    field->SetValue(value);
    field->SetUnit(unit);
    field->SetBorderColor(model->BorderColor());
    field->SetBorderSelected(model->BorderSelected());
    field->setMinimumWidth(48);
    field->setMaximumWidth(62);
    field->setFixedHeight(20);
}

QLabel* FigureLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

// ---- the page's widgets

struct TfrmSrDiam::BudgetPageWidgets {
    QScrollArea* Scroll = nullptr;
    QLabel* NameHeader = nullptr;
    QLabel* ValueHeader = nullptr;
    QLabel* KindHeader = nullptr;
    QLabel* KHeader = nullptr;
    QLabel* UnitHeader = nullptr;
    QLabel* UHeader = nullptr;
    QLabel* CHeader = nullptr;
    QLabel* ContributionHeader = nullptr;
    QLabel* ShareHeader = nullptr;
    QLabel* FiguresNameHeader = nullptr;
    std::array<QLabel*, RowCount> Name{};
    std::array<QLabel*, RowCount> FigureName{}; // the row's name in the figures' block
    std::array<TZFloatEdit*, RowCount> Value{};
    std::array<TZComboBox*, RowCount> Kind{}; // none for the repeatability row
    std::array<TZFloatEdit*, RowCount> K{};   // none for the repeatability row
    std::array<QLabel*, RowCount> Unit{};
    std::array<QLabel*, RowCount> U{};
    std::array<QLabel*, RowCount> C{};
    std::array<QLabel*, RowCount> Contribution{};
    std::array<QLabel*, RowCount> Share{};
    QLabel* ReadingsLabel = nullptr;
    TZFloatEdit* Readings = nullptr;
    QLabel* ProbesLabel = nullptr;
    TZComboBox* Probes = nullptr;
    QLabel* AlphaLabel = nullptr;
    TZFloatEdit* Alpha = nullptr;
    QLabel* TemperatureLabel = nullptr;
    TZFloatEdit* Temperature = nullptr;
    QLabel* CoverageLabel = nullptr;
    TZFloatEdit* Coverage = nullptr;
    QLabel* CombinedLabel = nullptr;
    QLabel* Combined = nullptr;
    QLabel* ExpandedLabel = nullptr;
    QLabel* Expanded = nullptr;
    QLabel* Status = nullptr;
    QLabel* Warning = nullptr;
};

zevko::BudgetInputs TfrmSrDiam::DefaultBudgetValues()
{
    zevko::BudgetInputs values;
    for (std::size_t i = 0; i < RowCount; ++i)
        values.Entries[i].Kind = Rows[i].DefaultKind;
    // Page units: 10^-6/K.
    values.ExpansionCoefficient = zevko::DefaultExpansionCoefficient / MicroPerUnit;
    return values;
}

// ---- wiring

void TfrmSrDiam::WireBudget()
{
    // The page: an empty tab after the manual, filled when first shown.
    TabSheet4 = new QWidget();
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    auto* pageLayout = new QVBoxLayout(TabSheet4);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    ui->pcDaten->addTab(TabSheet4, QStringLiteral("Uncertainty"));
    connect(ui->pcDaten, &QTabWidget::currentChanged, this, [this](int index) {
        if (ui->pcDaten->widget(index) == TabSheet4)
            EnsureBudgetPage();
    });

    // Copy budget beside Copy, with its own key.
    btnCopyBudget = new QToolButton(ui->ToolBar1);
    btnCopyBudget->setObjectName(QStringLiteral("btnCopyBudget"));
    btnCopyBudget->setFixedSize(ui->btnCopy->size());
    btnCopyBudget->setMinimumSize(ui->btnCopy->minimumSize());
    btnCopyBudget->setMaximumSize(ui->btnCopy->maximumSize());
    btnCopyBudget->setFocusPolicy(Qt::NoFocus);
    btnCopyBudget->setIconSize(ui->btnCopy->iconSize());
    btnCopyBudget->setAutoRaise(true);
    btnCopyBudget->setIcon(ImageList1.Image(CopyBudgetImage));
    ui->layToolBar1->insertWidget(ui->layToolBar1->indexOf(ui->btnCopy) + 1, btnCopyBudget);
    connect(btnCopyBudget, &QToolButton::clicked, this, &TfrmSrDiam::btnCopyBudgetClick);
    AddCommandKey(btnCopyBudget, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), &TfrmSrDiam::btnCopyBudgetClick);

    // U in the row under the results, where the user reads the pitch
    // diameter; the spacer that closes the panel moves one row down.
    lUncertainty = new QLabel(ui->Panel1);
    lUncertainty->setObjectName(QStringLiteral("lUncertainty"));
    lUncertainty->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lU = new TXLabel(ui->Panel1);
    lU->setObjectName(QStringLiteral("lU"));
    lU->setMinimumSize(ui->lSrDA2->minimumSize());
    lU->setMaximumSize(ui->lSrDA2->maximumSize());
    lU->SetAlignment(taRightJustify);
    lU->SetBevel(lbLowered);
    lU->SetBorderStyle(bsNone);
    lU->SetColor(ui->lSrDA2->Color());
    // Its tooltip explains an empty or "not applicable" U.
    lU->SetHintShow(false);
    lUUnit = new QLabel(QStringLiteral("[\u00B5m]"), ui->Panel1);
    lUUnit->setObjectName(QStringLiteral("lUUnit"));
    lUUnit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QGridLayout* grid = ui->layPanel1;
    int row = grid->rowCount();
    if (const int spacer = grid->indexOf(ui->spcPanel1); spacer >= 0) {
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        grid->getItemPosition(spacer, &row, &column, &rowSpan, &columnSpan);
        grid->removeItem(ui->spcPanel1);
        grid->addItem(ui->spcPanel1, row + 1, 0, 1, columnSpan);
    }
    grid->addWidget(lUncertainty, row, 0);
    grid->addWidget(lU, row, 1);
    grid->addWidget(lUUnit, row, 3);
}

// ---- the page

void TfrmSrDiam::EnsureBudgetPage()
{
    if (BudgetPage)
        return;
    auto page = std::make_shared<BudgetPageWidgets>();
    auto* content = new QWidget();
    content->setObjectName(QStringLiteral("BudgetContent"));
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // The page is narrow: the entries and the figures share the five
    // columns of one grid, in two blocks, under the summary (u_c, U, the
    // warning), which is seen first without scrolling.
    enum Column { NameColumn, ValueColumn, KindColumn, KColumn, UnitColumn };
    enum FigureColumn { UColumn = 1, CColumn, ContributionColumn, ShareColumn };
    enum Block { SummaryRow = 0, EntriesHeaderRow = 5, FirstEntryRow = 6 };
    const auto header = [&](QLabel*& label, const char* name, int row, int column) {
        label = new QLabel(content);
        label->setObjectName(QLatin1String(name));
        label->setAlignment((column == NameColumn ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignBottom);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        grid->addWidget(label, row, column);
    };
    header(page->NameHeader, "lBudgetNameHeader", EntriesHeaderRow, NameColumn);
    header(page->ValueHeader, "lBudgetValueHeader", EntriesHeaderRow, ValueColumn);
    header(page->KindHeader, "lBudgetKindHeader", EntriesHeaderRow, KindColumn);
    header(page->KHeader, "lBudgetKHeader", EntriesHeaderRow, KColumn);
    header(page->UnitHeader, "lBudgetUnitHeader", EntriesHeaderRow, UnitColumn);
    const auto nameLabel = [&](const QString& name) {
        auto* label = new QLabel(content);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setMinimumWidth(100);
        label->setMaximumWidth(180);
        return label;
    };
    // The figures' block: under the entries and their settings.
    const int figuresHeaderRow = FirstEntryRow + static_cast<int>(RowCount) + 7;
    header(page->FiguresNameHeader, "lBudgetFiguresNameHeader", figuresHeaderRow, NameColumn);
    header(page->UHeader, "lBudgetUHeader", figuresHeaderRow, UColumn);
    header(page->CHeader, "lBudgetCHeader", figuresHeaderRow, CColumn);
    header(page->ContributionHeader, "lBudgetContributionHeader", figuresHeaderRow, ContributionColumn);
    header(page->ShareHeader, "lBudgetShareHeader", figuresHeaderRow, ShareColumn);
    grid->setRowMinimumHeight(figuresHeaderRow - 1, 8);

    // The order Tab takes: each row's value, its kind, its k (the
    // repeatability row: s, then n), then the settings below the rows.
    QList<QWidget*> chain;
    for (std::size_t i = 0; i < RowCount; ++i) {
        const int gridRow = FirstEntryRow + static_cast<int>(i);
        const int figureRow = figuresHeaderRow + 1 + static_cast<int>(i);
        const QString key = QLatin1String(Rows[i].Key);
        const zevko::UncertaintyEntry& entry = BudgetValues.Entries[i];

        page->Name[i] = nameLabel(QStringLiteral("lBudgetName") + key);
        grid->addWidget(page->Name[i], gridRow, NameColumn);
        page->FigureName[i] = nameLabel(QStringLiteral("lBudgetFigureName") + key);
        grid->addWidget(page->FigureName[i], figureRow, NameColumn);

        auto* value = new TZFloatEdit(content);
        value->setObjectName(QStringLiteral("edBudget") + key);
        ConfigureField(value, ui->edStapka, vt_Float, 0, Rows[i].MaxValue, entry.Value, UnitText(Rows[i].Unit));
        page->Name[i]->setBuddy(value);
        page->Value[i] = value;
        grid->addWidget(value, gridRow, ValueColumn);
        chain << value;
        connect(value, &TZFloatEdit::OnChange, this, [this, i, value] {
            BudgetValues.Entries[i].Value = value->Value();
            BudgetEntryChanged();
        });

        if (i == RepeatabilityRow) {
            page->ReadingsLabel = new QLabel(content);
            page->ReadingsLabel->setObjectName(QStringLiteral("lBudgetReadings"));
            page->ReadingsLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            page->ReadingsLabel->setWordWrap(true);
            grid->addWidget(page->ReadingsLabel, gridRow, KindColumn);
            auto* readings = new TZFloatEdit(content);
            readings->setObjectName(QStringLiteral("edBudgetReadings"));
            ConfigureField(readings, ui->edStapka, vt_Integer, 1, MaxReadings, BudgetValues.Readings, {});
            page->ReadingsLabel->setBuddy(readings);
            page->Readings = readings;
            grid->addWidget(readings, gridRow, KColumn);
            chain << readings;
            connect(readings, &TZFloatEdit::OnChange, this, [this, readings] {
                BudgetValues.Readings = readings->IntegerValue();
                BudgetEntryChanged();
            });
        } else {
            auto* kind = new TZComboBox(content);
            kind->setObjectName(QStringLiteral("cbBudget") + key + QStringLiteral("Kind"));
            kind->SetBorderColor(ui->cbIzm->BorderColor());
            kind->SetBorderSelected(ui->cbIzm->BorderSelected());
            for (int k = 0; k < 3; ++k)
                kind->addItem(QString());
            kind->SetItemIndex(static_cast<int>(entry.Kind));
            kind->setFixedHeight(20);
            // Narrow in the grid; the list shows the whole texts.
            kind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            kind->setMinimumContentsLength(9);
            page->Kind[i] = kind;
            grid->addWidget(kind, gridRow, KindColumn);
            chain << kind;

            auto* k = new TZFloatEdit(content);
            k->setObjectName(QStringLiteral("edBudget") + key + QStringLiteral("K"));
            ConfigureField(k, ui->edStapka, vt_Float, MinCoverageFactor, MaxCoverageFactor, entry.CoverageFactor, {});
            k->setEnabled(entry.Kind == UncertaintyKind::Expanded);
            page->K[i] = k;
            grid->addWidget(k, gridRow, KColumn);
            chain << k;

            connect(kind, &QComboBox::currentIndexChanged, this, [this, i, kind, k] {
                const int index = kind->ItemIndex();
                if (index < 0)
                    return;
                BudgetValues.Entries[i].Kind = static_cast<UncertaintyKind>(index);
                k->setEnabled(BudgetValues.Entries[i].Kind == UncertaintyKind::Expanded);
                BudgetEntryChanged();
            });
            connect(k, &TZFloatEdit::OnChange, this, [this, i, k] {
                BudgetValues.Entries[i].CoverageFactor = k->Value();
                BudgetEntryChanged();
            });
        }

        page->Unit[i] = new QLabel(UnitText(Rows[i].Unit), content);
        page->Unit[i]->setObjectName(QStringLiteral("lBudgetUnit") + key);
        grid->addWidget(page->Unit[i], gridRow, UnitColumn);
        page->U[i] = FigureLabel(content, QStringLiteral("lBudgetU") + key);
        grid->addWidget(page->U[i], figureRow, UColumn);
        page->C[i] = FigureLabel(content, QStringLiteral("lBudgetC") + key);
        grid->addWidget(page->C[i], figureRow, CColumn);
        page->Contribution[i] = FigureLabel(content, QStringLiteral("lBudgetContribution") + key);
        grid->addWidget(page->Contribution[i], figureRow, ContributionColumn);
        page->Share[i] = FigureLabel(content, QStringLiteral("lBudgetShare") + key);
        grid->addWidget(page->Share[i], figureRow, ShareColumn);
    }

    // The settings of the whole budget, under the rows.
    int gridRow = FirstEntryRow + static_cast<int>(RowCount);
    const auto settingRow = [&](QLabel*& label, const char* name, QWidget* field, const QString& unit) {
        label = new QLabel(content);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setMaximumWidth(180);
        label->setBuddy(field);
        grid->addWidget(label, gridRow, NameColumn, 1, 1);
        grid->addWidget(field, gridRow, ValueColumn, 1, field->inherits("QComboBox") ? 3 : 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, content), gridRow, UnitColumn);
        chain << field;
        ++gridRow;
    };
    grid->setRowMinimumHeight(gridRow++, 6);

    page->Probes = new TZComboBox(content);
    page->Probes->setObjectName(QStringLiteral("cbBudgetProbes"));
    page->Probes->SetBorderColor(ui->cbIzm->BorderColor());
    page->Probes->SetBorderSelected(ui->cbIzm->BorderSelected());
    page->Probes->addItem(QString());
    page->Probes->addItem(QString());
    page->Probes->SetItemIndex(BudgetValues.Probes == zevko::ProbeCorrelation::Independent ? 1 : 0);
    page->Probes->setFixedHeight(20);
    settingRow(page->ProbesLabel, "lBudgetProbes", page->Probes, {});
    connect(page->Probes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        BudgetValues.Probes = index == 1 ? zevko::ProbeCorrelation::Independent : zevko::ProbeCorrelation::Correlated;
        BudgetEntryChanged();
    });

    page->Alpha = new TZFloatEdit(content);
    page->Alpha->setObjectName(QStringLiteral("edBudgetAlpha"));
    ConfigureField(page->Alpha, ui->edStapka, vt_Float, MinExpansion, MaxExpansion, BudgetValues.ExpansionCoefficient,
                   UnitText(RowUnit::PerKelvin));
    settingRow(page->AlphaLabel, "lBudgetAlpha", page->Alpha, UnitText(RowUnit::PerKelvin));
    connect(page->Alpha, &TZFloatEdit::OnChange, this, [this] {
        BudgetValues.ExpansionCoefficient = BudgetPage->Alpha->Value();
        BudgetEntryChanged();
    });

    page->Temperature = new TZFloatEdit(content);
    page->Temperature->setObjectName(QStringLiteral("edBudgetMeanTemperature"));
    ConfigureField(page->Temperature, ui->edStapka, vt_Float, MinTemperature, MaxTemperature,
                   BudgetValues.MeanTemperature, QStringLiteral("\u00B0C"));
    settingRow(page->TemperatureLabel, "lBudgetMeanTemperature", page->Temperature, QStringLiteral("\u00B0C"));
    connect(page->Temperature, &TZFloatEdit::OnChange, this, [this] {
        BudgetValues.MeanTemperature = BudgetPage->Temperature->Value();
        BudgetEntryChanged();
    });

    page->Coverage = new TZFloatEdit(content);
    page->Coverage->setObjectName(QStringLiteral("edBudgetCoverage"));
    ConfigureField(page->Coverage, ui->edStapka, vt_Float, MinCoverageFactor, MaxCoverageFactor,
                   BudgetValues.CoverageFactor, {});
    settingRow(page->CoverageLabel, "lBudgetCoverage", page->Coverage, {});
    connect(page->Coverage, &TZFloatEdit::OnChange, this, [this] {
        BudgetValues.CoverageFactor = BudgetPage->Coverage->Value();
        BudgetEntryChanged();
    });

    // The summary at the top: u_c, U, why there is none, the warning.
    gridRow = SummaryRow;
    const auto resultRow = [&](QLabel*& label, const char* name, QLabel*& figure, const char* figureName) {
        label = new QLabel(content);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setMaximumWidth(180);
        grid->addWidget(label, gridRow, NameColumn);
        figure = FigureLabel(content, QLatin1String(figureName));
        QFont bold = figure->font();
        bold.setBold(true);
        figure->setFont(bold);
        grid->addWidget(figure, gridRow, ValueColumn);
        grid->addWidget(new QLabel(QStringLiteral("\u00B5m"), content), gridRow, KindColumn);
        ++gridRow;
    };
    resultRow(page->CombinedLabel, "lBudgetCombinedLabel", page->Combined, "lBudgetCombined");
    resultRow(page->ExpandedLabel, "lBudgetExpandedLabel", page->Expanded, "lBudgetExpanded");

    page->Status = new QLabel(content);
    page->Status->setObjectName(QStringLiteral("lBudgetStatus"));
    page->Status->setWordWrap(true);
    grid->addWidget(page->Status, gridRow++, NameColumn, 1, UnitColumn + 1);
    page->Warning = new QLabel(content);
    page->Warning->setObjectName(QStringLiteral("lBudgetWarning"));
    page->Warning->setWordWrap(true);
    page->Warning->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    page->Warning->hide();
    grid->addWidget(page->Warning, gridRow++, NameColumn, 1, UnitColumn + 1);
    grid->setRowMinimumHeight(EntriesHeaderRow - 1, 8);
    grid->setRowStretch(figuresHeaderRow + 1 + static_cast<int>(RowCount), 1);
    grid->setColumnStretch(NameColumn, 1);

    // The page is narrower than the table: it scrolls rather than squeeze.
    page->Scroll = new QScrollArea(TabSheet4);
    page->Scroll->setObjectName(QStringLiteral("BudgetScroll"));
    page->Scroll->setFrameShape(QFrame::NoFrame);
    page->Scroll->setWidgetResizable(true);
    page->Scroll->setFocusPolicy(Qt::NoFocus);
    page->Scroll->setWidget(content);
    TabSheet4->layout()->addWidget(page->Scroll);
    page->Scroll->show();

    // The page's fields follow the other pages' elements in the chain, so
    // that Tab from the tab bar reaches them on this page (the other pages'
    // elements are hidden then and skipped).
    QWidget* previous = ui->redHlep;
    for (QWidget* field : chain) {
        QWidget::setTabOrder(previous, field);
        previous = field;
    }
    // A field that takes the focus comes into view.
    connect(qApp, &QApplication::focusChanged, page->Scroll, [scroll = page->Scroll](QWidget*, QWidget* now) {
        if (now && scroll->widget()->isAncestorOf(now))
            scroll->ensureWidgetVisible(now);
    });

    BudgetPage = std::move(page);
    ApplyBudgetLanguage();
}

// ---- computing and showing

zevko::BudgetInputs TfrmSrDiam::CoreBudgetInputs() const
{
    return CoreInputs(BudgetValues);
}

void TfrmSrDiam::UpdateBudget()
{
    BudgetMeasurement = CalculationInputs();
    BudgetEntryChanged();
}

void TfrmSrDiam::BudgetEntryChanged()
{
    if (!BudgetMeasurement) {
        ShowBudget(nullptr);
        return;
    }
    const zevko::UncertaintyBudget budget = zevko::ComputeUncertaintyBudget(*BudgetMeasurement, CoreBudgetInputs());
    BudgetState = budget.Outcome;
    BudgetInvalidRow = budget.InvalidContribution;
    if (budget.Outcome == zevko::BudgetOutcome::Ok)
        ShownBudget = budget;
    else
        ShownBudget.reset();
    ShowBudget(&budget);
}

void TfrmSrDiam::ClearBudget()
{
    ShownBudget.reset();
    BudgetMeasurement.reset();
    BudgetState.reset();
    BudgetInvalidRow.reset();
    ShowBudget(nullptr);
}

QString TfrmSrDiam::BudgetStatusText() const
{
    if (!BudgetState)
        return LanguageText(1230);
    switch (*BudgetState) {
    case zevko::BudgetOutcome::Ok: return {};
    case zevko::BudgetOutcome::NotApplicable: return LanguageText(1229);
    case zevko::BudgetOutcome::InvalidEntry:
        if (BudgetInvalidRow)
            return LanguageText(1231).arg(RowName(static_cast<std::size_t>(*BudgetInvalidRow)));
        return LanguageText(1232);
    case zevko::BudgetOutcome::Implausible:
    case zevko::BudgetOutcome::Failed: return LanguageText(1233);
    }
    return {};
}

void TfrmSrDiam::ShowBudget(const zevko::UncertaintyBudget* budget)
{
    if (!lU)
        return;
    const bool ok = budget && budget->Outcome == zevko::BudgetOutcome::Ok;

    // The visible U: the figure, "not applicable", or nothing with the
    // reason in the tooltip.
    lUncertainty->setText(LanguageText(1227) + QStringLiteral(" (k = ") + General(BudgetValues.CoverageFactor) +
                          QLatin1Char(')'));
    if (ok && budget->CombinedUm > 0) {
        lU->SetCaption(MicrometreText(budget->ExpandedUm));
        QString tip = LanguageText(1225) + QStringLiteral(" = ") + MicrometreText(budget->CombinedUm) + Micrometres;
        if (budget->CriticalThread)
            tip += QStringLiteral("\n") + LanguageText(1234);
        lU->setToolTip(tip);
    } else if (ok) {
        lU->SetCaption(QString());
        lU->setToolTip(LanguageText(1239));
    } else if (BudgetState == zevko::BudgetOutcome::NotApplicable) {
        lU->SetCaption(LanguageText(1228));
        lU->setToolTip(LanguageText(1229));
    } else {
        lU->SetCaption(QString());
        lU->setToolTip(BudgetState ? BudgetStatusText() : QString());
    }
    btnCopyBudget->setEnabled(ShownBudget.has_value());

    if (!BudgetPage)
        return;
    BudgetPageWidgets& page = *BudgetPage;
    for (std::size_t i = 0; i < RowCount; ++i) {
        if (!ok) {
            for (QLabel* label : {page.U[i], page.C[i], page.Contribution[i], page.Share[i]})
                label->clear();
            continue;
        }
        const zevko::BudgetRow& row = budget->Rows[i];
        page.U[i]->setText(Coefficient(ShownUncertainty(row, i)) + UnitSuffix(Rows[i].Unit));
        QString c = Coefficient(ShownSensitivity(row, i));
        if (i == ProbesRow && row.Weight != 1.0L)
            c += QStringLiteral(" \u00D7 ") + Coefficient(row.Weight);
        page.C[i]->setText(c);
        page.Contribution[i]->setText(MicrometreText(row.Contribution));
        page.Share[i]->setText(PercentText(row.Share));
    }
    page.Combined->setText(ok ? MicrometreText(budget->CombinedUm) : QString());
    page.Expanded->setText(ok ? MicrometreText(budget->ExpandedUm) : QString());
    page.ExpandedLabel->setText(LanguageText(1226) + QStringLiteral(", k = ") + General(BudgetValues.CoverageFactor));
    const QString status = BudgetStatusText();
    page.Status->setText(status);
    page.Status->setVisible(!status.isEmpty());
    page.Warning->setText(LanguageText(1234));
    page.Warning->setVisible(ok && budget->CriticalThread);
}

void TfrmSrDiam::ApplyBudgetLanguage()
{
    if (!TabSheet4)
        return;
    const int index = ui->pcDaten->indexOf(TabSheet4);
    ui->pcDaten->setTabText(index, LanguageText(1200));
    ui->pcDaten->setTabToolTip(index, LanguageText(1201));
    btnCopyBudget->setToolTip(LanguageText(1235));

    if (BudgetPage) {
        BudgetPageWidgets& page = *BudgetPage;
        page.NameHeader->setText(LanguageText(1202));
        page.FiguresNameHeader->setText(LanguageText(1202));
        page.ValueHeader->setText(LanguageText(1203));
        page.ValueHeader->setToolTip(LanguageText(1240));
        page.KindHeader->setText(LanguageText(1204));
        page.KindHeader->setToolTip(LanguageText(1241));
        page.KHeader->setText(QStringLiteral("k"));
        page.KHeader->setToolTip(LanguageText(1242));
        page.UnitHeader->setText(LanguageText(1205));
        page.UHeader->setText(QStringLiteral("u"));
        page.UHeader->setToolTip(LanguageText(1245));
        page.CHeader->setText(QStringLiteral("c"));
        page.CHeader->setToolTip(LanguageText(1246));
        page.ContributionHeader->setText(QStringLiteral("|c|\u00B7u [\u00B5m]"));
        page.ContributionHeader->setToolTip(LanguageText(1247));
        page.ShareHeader->setText(LanguageText(1206));
        page.ShareHeader->setToolTip(LanguageText(1248));
        for (std::size_t i = 0; i < RowCount; ++i) {
            page.Name[i]->setText(RowName(i));
            page.FigureName[i]->setText(RowName(i));
            page.Value[i]->setToolTip(i == RepeatabilityRow ? LanguageText(1243) : LanguageText(1240));
            page.U[i]->setToolTip(LanguageText(1245));
            page.C[i]->setToolTip(LanguageText(1246));
            page.Contribution[i]->setToolTip(LanguageText(1247));
            page.Share[i]->setToolTip(LanguageText(1248));
            if (page.Kind[i]) {
                const int selected = page.Kind[i]->ItemIndex();
                for (int k = 0; k < 3; ++k)
                    page.Kind[i]->setItemText(k, KindText(static_cast<UncertaintyKind>(k)));
                page.Kind[i]->SetItemIndex(selected);
                page.Kind[i]->view()->setMinimumWidth(page.Kind[i]->view()->sizeHintForColumn(0) + 8);
                page.Kind[i]->setToolTip(LanguageText(1241));
                page.K[i]->setToolTip(LanguageText(1242));
            }
        }
        page.ReadingsLabel->setText(LanguageText(1218));
        page.Readings->setToolTip(LanguageText(1244));
        page.ProbesLabel->setText(LanguageText(1219));
        const int probes = page.Probes->ItemIndex();
        page.Probes->setItemText(0, LanguageText(1220));
        page.Probes->setItemText(1, LanguageText(1221));
        page.Probes->SetItemIndex(probes);
        page.Probes->setToolTip(LanguageText(1249));
        page.AlphaLabel->setText(LanguageText(1222));
        page.Alpha->setToolTip(LanguageText(1250));
        page.TemperatureLabel->setText(LanguageText(1223));
        page.Temperature->setToolTip(LanguageText(1251));
        page.CoverageLabel->setText(LanguageText(1224));
        page.Coverage->setToolTip(LanguageText(1252));
        page.CombinedLabel->setText(LanguageText(1225));
    }
    // The figures' texts (and the visible U's caption) follow.
    if (BudgetMeasurement)
        BudgetEntryChanged();
    else
        ShowBudget(nullptr);
}

// ---- Copy budget

QString TfrmSrDiam::BuildBudgetReport() const
{
    if (!ShownBudget)
        return {};
    const zevko::UncertaintyBudget& budget = *ShownBudget;
    const QString tab = QStringLiteral("\t");
    const QString end = QStringLiteral("\r\n");
    QString report;

    // The pitch-diameter line of the fifteen-line report, as Copy writes it.
    const QStringList lines = BuildReport().split(end);
    constexpr int PitchDiameterLine = 12;
    if (lines.size() > PitchDiameterLine)
        report += lines[PitchDiameterLine] + end;

    const QStringList header{LanguageText(1202),  LanguageText(1203), LanguageText(1205),
                             LanguageText(1204),  LanguageText(1237), QStringLiteral("u"),
                             QStringLiteral("c"), LanguageText(1238), QStringLiteral("|c|\u00B7u [\u00B5m]"),
                             LanguageText(1206)};
    report += header.join(tab) + end;

    for (std::size_t i = 0; i < RowCount; ++i) {
        const zevko::BudgetRow& row = budget.Rows[i];
        const zevko::UncertaintyEntry& entry = BudgetValues.Entries[i];
        const QString kind = i == RepeatabilityRow
                                 ? LanguageText(1218) + QStringLiteral(" = ") + QString::number(BudgetValues.Readings)
                                 : KindText(entry.Kind);
        const QStringList cells{RowName(i),
                                General(entry.Value),
                                UnitText(Rows[i].Unit),
                                kind,
                                Coefficient(row.Divisor),
                                Coefficient(ShownUncertainty(row, i)),
                                Coefficient(ShownSensitivity(row, i)),
                                Coefficient(row.Weight),
                                MicrometreText(row.Contribution),
                                PercentText(row.Share)};
        report += cells.join(tab) + end;
    }

    // u_c and U, in the form of the report's lines.
    report += LanguageText(1225) + QStringLiteral(": \t") + MicrometreText(budget.CombinedUm) + Micrometres + end;
    report += LanguageText(1226) + QStringLiteral(", k = ") + General(budget.CoverageFactor) + QStringLiteral(": \t") +
              MicrometreText(budget.ExpandedUm) + Micrometres + end;
    return report;
}

void TfrmSrDiam::btnCopyBudgetClick()
{
    if (!ShownBudget) {
        ShowMessage(LanguageText(1236));
        return;
    }
    if (!PutOnClipboard(BuildBudgetReport()))
        ShowMessage(LanguageText(1019));
}

// ---- stored entries

void TfrmSrDiam::RestoreBudgetSettings(QSettings& key)
{
    const GroupSwitch inBudget(key);
    for (std::size_t i = 0; i < RowCount; ++i) {
        const QString name = QLatin1String(Rows[i].Key);
        zevko::UncertaintyEntry& entry = BudgetValues.Entries[i];
        if (const auto value = ReadNumber(key, name, 0, Rows[i].MaxValue))
            entry.Value = *value;
        if (i == RepeatabilityRow)
            continue;
        if (const auto kind = ReadWhole(key, name + QStringLiteral("Kind"), 0, 2))
            entry.Kind = static_cast<UncertaintyKind>(*kind);
        if (const auto k = ReadNumber(key, name + QStringLiteral("K"), MinCoverageFactor, MaxCoverageFactor))
            entry.CoverageFactor = *k;
    }
    if (const auto readings = ReadWhole(key, QStringLiteral("Readings"), 1, MaxReadings))
        BudgetValues.Readings = *readings;
    if (const auto probes = ReadWhole(key, QStringLiteral("ProbesIndependent"), 0, 1))
        BudgetValues.Probes = *probes == 1 ? zevko::ProbeCorrelation::Independent : zevko::ProbeCorrelation::Correlated;
    if (const auto alpha = ReadNumber(key, QStringLiteral("Alpha"), MinExpansion, MaxExpansion))
        BudgetValues.ExpansionCoefficient = *alpha;
    if (const auto theta = ReadNumber(key, QStringLiteral("MeanTemperature"), MinTemperature, MaxTemperature))
        BudgetValues.MeanTemperature = *theta;
    if (const auto k = ReadNumber(key, QStringLiteral("k"), MinCoverageFactor, MaxCoverageFactor))
        BudgetValues.CoverageFactor = *k;
}

void TfrmSrDiam::StoreBudgetSettings(QSettings& key)
{
    const GroupSwitch inBudget(key);
    for (std::size_t i = 0; i < RowCount; ++i) {
        const QString name = QLatin1String(Rows[i].Key);
        const zevko::UncertaintyEntry& entry = BudgetValues.Entries[i];
        key.setValue(name, NumberText(entry.Value));
        if (i == RepeatabilityRow)
            continue;
        key.setValue(name + QStringLiteral("Kind"), static_cast<int>(entry.Kind));
        key.setValue(name + QStringLiteral("K"), NumberText(entry.CoverageFactor));
    }
    key.setValue(QStringLiteral("Readings"), BudgetValues.Readings);
    key.setValue(QStringLiteral("ProbesIndependent"),
                 BudgetValues.Probes == zevko::ProbeCorrelation::Independent ? 1 : 0);
    key.setValue(QStringLiteral("Alpha"), NumberText(BudgetValues.ExpansionCoefficient));
    key.setValue(QStringLiteral("MeanTemperature"), NumberText(BudgetValues.MeanTemperature));
    key.setValue(QStringLiteral("k"), NumberText(BudgetValues.CoverageFactor));
}
