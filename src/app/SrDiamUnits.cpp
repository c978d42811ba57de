// The unit system: millimetres or inches on the screen. Lengths are stored
// and computed in millimetres whatever the window shows; only the display
// changes here. The input handlers convert typed inch values on entry.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "NumberFormat.h"
#include "ResultTexts.h"

#include <QLabel>
#include <QToolButton>

#include <algorithm>
#include <optional>
#include <string>

namespace {

// Clears a flag for the lifetime of the guard and gives it back its value
// however the scope is left, so no return or exception can leave the
// window's change handling switched off.
class FlagClearedInScope {
public:
    explicit FlagClearedInScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = false; }
    ~FlagClearedInScope() { flag_ = saved_; }
    FlagClearedInScope(const FlagClearedInScope&) = delete;
    FlagClearedInScope& operator=(const FlagClearedInScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

constexpr int MillimetresImage = 13;
constexpr int InchesImage = 14;

} // namespace

void TfrmSrDiam::WireUnitsAndReport()
{
    // Their keys (Ctrl+U, Ctrl+Shift+C) call the handlers directly
    // (WireCommandKeys).
    connect(ui->btnMM, &QToolButton::clicked, this, &TfrmSrDiam::btnMMClick);
    connect(ui->btnCopy, &QToolButton::clicked, this, &TfrmSrDiam::btnCopyClick);
}

void TfrmSrDiam::btnMMClick()
{
    // The catalogs are written (when changed) and read back, so the grid
    // shows what the file holds, each on its first entry. A cell still being
    // typed that holds no number stops the switch (the user was told).
    if (!CloseCatalogs())
        return;
    Units = Units == zevko::UnitSystem::Inches ? zevko::UnitSystem::Millimetres : zevko::UnitSystem::Inches;
    ApplyUnitSystem();
    OpenCatalogs();
}

namespace {

const QString MillimetreLabel = QStringLiteral("[mm]");
const QString InchLabel = QStringLiteral("[in]");
const QString NewtonLabel = QStringLiteral("[N]");

} // namespace

void TfrmSrDiam::FixUnitLabelWidths()
{
    // The labels share the panel's unit column: a narrower unit would
    // narrow the column and with it the panel, and the page control beside
    // it would move. One of them (they are alike) is measured with every
    // text they may show, as its layout would measure it; the units read the
    // same in every language.
    const QList<QLabel*> labels{ui->Label6,  ui->Label7,  ui->Label8,  ui->Label9, ui->Label23,
                                ui->Label25, ui->Label27, ui->Label26, ui->Label21};
    QLabel* measured = labels.front();
    const QString shown = measured->text();
    int widest = 0;
    for (const QString& unit : {MillimetreLabel, InchLabel, NewtonLabel}) {
        measured->setText(unit);
        widest = std::max(widest, measured->sizeHint().width());
    }
    measured->setText(shown);
    for (QLabel* label : labels)
        label->setMinimumWidth(widest);
}

void TfrmSrDiam::ApplyUnitSystem()
{
    // Rewriting the fields must neither take the shown, rounded numbers back
    // into the stored lengths nor clear the results nor propose anew.
    const FlagClearedInScope eventsOff(EventsEnabled);

    const bool inches = Units == zevko::UnitSystem::Inches;
    const char separator = DecimalSeparator();
    const QString unit = inches ? InchLabel : MillimetreLabel;

    ui->btnMM->setIcon(ImageList1.Image(inches ? InchesImage : MillimetresImage));
    for (QLabel* label :
         {ui->Label6, ui->Label7, ui->Label8, ui->Label9, ui->Label23, ui->Label25, ui->Label27, ui->Label26})
        label->setText(unit);
    // A pasted "1.5 mm" may carry the unit the length fields are in.
    for (TZFloatEdit* field : {ui->edStapka, ui->edDiam, ui->edIzmSt})
        field->SetUnit(inches ? QStringLiteral("in") : QStringLiteral("mm"));
    ShowThreadAndConformityInUnit();

    const auto mmText = [](const std::string& text) { return QString::fromStdString(text); };

    if (!inches) {
        WriteLength(ui->edStapka, PitchWritten, PitchMm, PitchMm, zevko::RoundToDecimals(PitchMm, 4));
        ui->lPodem->SetCaption(mmText(Results.LeadText));
        ui->lDiamN->SetCaption(mmText(Results.OptimumDiameterText));
        WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, ProbeDiameterMm,
                    zevko::RoundToDecimals(ProbeDiameterMm, 4));
        WriteLength(ui->edIzmSt, MeasuredValueWritten, MeasuredValueMm, MeasuredValueMm,
                    zevko::RoundToDecimals(MeasuredValueMm, 4));
        ui->lSrDA2->SetCaption(mmText(Results.DiameterText));
        ui->lRazmM->SetCaption(mmText(Results.IndicatedValueText));
        ui->lA2->SetCaption(mmText(Results.ForceCorrectionText));
        UpdateRangeMarks();
        return;
    }

    WriteLength(ui->edStapka, PitchWritten, PitchMm, PitchMm, zevko::RoundToDecimals(PitchMm / zevko::MmPerInch, 5));

    // Lead and optimum: the shortest text of the inch value rounded to 5
    // decimals. An empty text leaves its label as it is; a text that cannot
    // be read back empties the label rather than leave a millimetre number
    // under "[in]".
    const auto showGeneralInches = [separator](const std::string& text, TXLabel* label) {
        if (text.empty())
            return;
        const std::optional<long double> mm = zevko::ParseDecimalText(text, separator);
        label->SetCaption(mm ? QString::fromStdString(
                                   zevko::FormatGeneral(zevko::RoundToDecimals(*mm / zevko::MmPerInch, 5), separator))
                             : QString());
    };
    showGeneralInches(Results.LeadText, ui->lPodem);
    showGeneralInches(Results.OptimumDiameterText, ui->lDiamN);

    WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, ProbeDiameterMm,
                zevko::RoundToDecimals(ProbeDiameterMm / zevko::MmPerInch, 5));

    // A measured value of 0 is left as the field shows it (an empty field
    // stays empty).
    if (MeasuredValueMm > 0)
        WriteLength(ui->edIzmSt, MeasuredValueWritten, MeasuredValueMm, MeasuredValueMm,
                    zevko::RoundToDecimals(MeasuredValueMm / zevko::MmPerInch, 5));

    // Results are converted whenever there are any, also after a calculation
    // from a measured value of 0 (an internal thread with M = 0 has results):
    // leaving them would show millimetre numbers under "[in]". An empty text
    // stays empty.
    const auto showFixedInches = [separator](const std::string& text, TXLabel* label) {
        const std::optional<std::string> in = zevko::ResultTextInUnit(text, zevko::UnitSystem::Inches, separator);
        label->SetCaption(in ? QString::fromStdString(*in) : QString());
    };
    showFixedInches(Results.DiameterText, ui->lSrDA2);
    showFixedInches(Results.IndicatedValueText, ui->lRazmM);
    showFixedInches(Results.ForceCorrectionText, ui->lA2);
    UpdateRangeMarks();
}
