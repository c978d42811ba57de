// The measurement inputs, the lead and optimum probe diameter with the
// catalog proposal, and the calculation.
//
// Handlers nest: writing a numeric field from code runs that field's change
// handler before the writer goes on. EventsEnabled is the only guard.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "LangsExt.h"
#include "LeadAndOptimum.h"
#include "NumberFormat.h"
#include "ProbeProposal.h"
#include "ResultTexts.h"

#include <array>
#include <climits>
#include <cmath>

namespace {

QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// A caption ending in the pitch-diameter symbol " (d2)" or " (D2)" gets the
// given letter; any other caption is returned unchanged.
QString WithDiameterLetter(QString caption, QChar letter)
{
    if (caption.endsWith(QLatin1String(" (d2)")) || caption.endsWith(QLatin1String(" (D2)")))
        caption[caption.size() - 3] = letter;
    return caption;
}

// The integer part of the starts field, kept within int for absurd texts.
int TruncatedStarts(long double value)
{
    if (!std::isfinite(value))
        return 0;
    const long double whole = std::trunc(value);
    if (whole > static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (whole < static_cast<long double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(whole);
}

} // namespace

bool TfrmSrDiam::IsExternal() const
{
    return ui->rbOut->isChecked();
}

long double TfrmSrDiam::LengthFactor() const
{
    return Units == zevko::UnitSystem::Inches ? zevko::MmPerInch : 1.0L;
}

double TfrmSrDiam::LengthOf(const TZFloatEdit* field, const WrittenLength& written) const
{
    if (written.Writing || (!field->isModified() && field->Text() == written.Text))
        return written.Mm;
    return static_cast<double>(field->Value() * LengthFactor());
}

void TfrmSrDiam::WriteLength(TZFloatEdit* field, WrittenLength& written, double& stored, double mm, long double shown)
{
    stored = mm;
    written.Mm = mm;
    // The change handlers this write runs take the exact value too.
    written.Writing = true;
    field->SetValue(shown);
    written.Writing = false;
    written.Text = field->Text();
    if (shown > field->MaxValue() || shown < field->MinValue()) {
        written.Mm = static_cast<double>(field->Value() * LengthFactor());
        stored = written.Mm;
        UpdateRangeMarks();
    }
}

void TfrmSrDiam::ClearResults()
{
    ui->lRazmM->SetCaption(QString());
    ui->lA2->SetCaption(QString());
    ui->lSrDA2->SetCaption(QString());
    Results.DiameterText.clear();
    Results.IndicatedValueText.clear();
    Results.ForceCorrectionText.clear();
    ClearBudget();
}

void TfrmSrDiam::rbOutClick()
{
    DiameterSymbol = QLatin1Char('D');
    if (IsExternal()) {
        ui->cbMaterial->SetItemIndex(0);
        ui->cbMaterial->setEnabled(false);
        DiameterSymbol = QLatin1Char('d');
        ui->lRes4->setText(WithDiameterLetter(ui->lRes4->text(), DiameterSymbol));
        ui->ImageOut->show();
        ui->ImageIn->hide();
        ui->lODN->setText(LanguageText(212));
        ui->lDN->setText(LanguageText(213));
        LinkCatalog(&mdDiamOut);
    } else {
        ui->cbMaterial->setEnabled(true);
        ui->cbMaterial->SetItemIndex(1);
        ui->lRes4->setText(WithDiameterLetter(ui->lRes4->text(), DiameterSymbol));
        ui->ImageOut->hide();
        ui->ImageIn->show();
        ui->lODN->setText(LanguageText(214));
        ui->lDN->setText(LanguageText(215));
        LinkCatalog(&mdDiamIn);
    }
    // The entered-quantity item of the pitch diameter names the side's symbol
    // too, so that the box and the result row never disagree.
    ui->cbVidVav->setItemText(2, WithDiameterLetter(ui->cbVidVav->itemText(2), DiameterSymbol));

    ClearResults();
    WriteLength(ui->edIzmSt, MeasuredValueWritten, MeasuredValueMm, 0, 0);
    WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, 0, 0);
    if (dsDiam->IsOpen()) {
        dsDiam->First();
        SyncGridCursor();
    }
    if (!ui->lDiamN->Caption().isEmpty() && dsDiam->Count() > 0)
        ProposeProbeDiameter(zevko::ParseFieldValue(Results.OptimumDiameterText, DecimalSeparator()));
    ShowProposedDiameter();
}

void TfrmSrDiam::cbVidVavChange()
{
    const int quantity = ui->cbVidVav->ItemIndex();
    ui->lVidIzm->setText(LanguageText(217) + (quantity == 1 ? QStringLiteral(" (m)") : QStringLiteral(" (M)")));
    if (quantity == 2)
        ui->lRes4->setText(LanguageText(217) + QStringLiteral(" (m)"));
    else
        ui->lRes4->setText(LanguageText(218) + QStringLiteral(" (") + DiameterSymbol + QStringLiteral("2)"));
    ClearResults();
    WriteLength(ui->edIzmSt, MeasuredValueWritten, MeasuredValueMm, 0, 0);
    ui->edIzmSt->setFocus();
}

void TfrmSrDiam::edIzmStChange()
{
    if (!EventsEnabled)
        return;
    MeasuredValueMm = LengthOf(ui->edIzmSt, MeasuredValueWritten);
    ClearResults();
}

void TfrmSrDiam::edIzmNChange()
{
    if (!EventsEnabled)
        return;
    ui->lA2->SetCaption(QString());
    Results.ForceCorrectionText.clear();
}

void TfrmSrDiam::edIzmStKeyPress(QChar key)
{
    if (key == QChar(13))
        btnCalcClick();
}

void TfrmSrDiam::edStapkaChange()
{
    if (!EventsEnabled)
        return;
    PitchMm = LengthOf(ui->edStapka, PitchWritten);

    for (const TZFloatEdit* field : {ui->edStapka, ui->edBrH, ui->edBg, ui->edBm, ui->edBs, ui->edYg, ui->edYm,
                                     ui->edYs, ui->edDiam, ui->edIzmN, ui->edIzmSt}) {
        if (field->Text().isEmpty())
            return;
    }

    const zevko::LeadOptimumInputs inputs{
        .PitchMm = PitchMm,
        .StartsValue = ui->edBrH->Value(),
        .Beta = {ui->edBg->Value(), ui->edBm->Value(), ui->edBs->Value()},
        .Gamma = {ui->edYg->Value(), ui->edYm->Value(), ui->edYs->Value()},
    };
    const zevko::LeadOptimumUpdate update = zevko::UpdateLeadAndOptimum(inputs, Units, DecimalSeparator());
    using Stage = zevko::LeadOptimumUpdate::Stage;
    switch (update.Outcome) {
    case Stage::Implausible: return;
    case Stage::FailedAtLead: ShowError(); return;
    case Stage::FailedAfterLead:
        Results.LeadText = update.LeadText;
        ui->lPodem->SetCaption(FromStd(update.LeadDisplay));
        ShowError();
        return;
    case Stage::Ok: break;
    }
    Results.LeadText = update.LeadText;
    ui->lPodem->SetCaption(FromStd(update.LeadDisplay));
    Results.OptimumDiameterText = update.OptimumDiameterText;
    ui->lDiamN->SetCaption(FromStd(update.OptimumDisplay));

    // Whatever probe diameter was chosen before no longer fits the thread.
    WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, 0, 0);
    dsDiam->First();
    SyncGridCursor();
    if (dsDiam->Count() > 0)
        ProposeProbeDiameter(update.OptimumMm);
    ShowProposedDiameter();
    edIzmStChange();
}

void TfrmSrDiam::ProposeProbeDiameter(long double d0)
{
    const zevko::ProbeProposal proposal = zevko::ProposeProbeDiameter(d0, dsDiam->DiametersMm());
    ProbeDiameterMm = proposal.ProbeDiameterMm;
    dsDiam->SetPosition(proposal.Cursor);
    SyncGridCursor();
    ui->lSign->setVisible(proposal.SignShown);
}

void TfrmSrDiam::ShowProposedDiameter()
{
    const double mm = ProbeDiameterMm;
    WriteLength(ui->edDiam, ProbeDiameterWritten, ProbeDiameterMm, mm,
                Units == zevko::UnitSystem::Inches ? zevko::RoundToDecimals(mm / zevko::MmPerInch, 4) : mm);
}

void TfrmSrDiam::edDiamChange()
{
    if (!EventsEnabled || ui->lDiamN->Caption().isEmpty())
        return;
    ProbeDiameterMm = LengthOf(ui->edDiam, ProbeDiameterWritten);
    const long double d0 = zevko::ParseFieldValue(Results.OptimumDiameterText, DecimalSeparator());
    ui->lSign->setVisible(zevko::ProbeSignShown(ProbeDiameterMm, d0));
    edIzmStChange();
}

zevko::MeasurementInputs TfrmSrDiam::CalculationInputs() const
{
    zevko::MeasurementInputs inputs;
    inputs.Side = IsExternal() ? zevko::ThreadSide::External : zevko::ThreadSide::Internal;
    inputs.PitchMm = PitchMm;
    inputs.Starts = TruncatedStarts(ui->edBrH->Value());
    // The calculation takes the angle fields as stored doubles, as it does the lengths.
    const auto stored = [](long double value) -> long double { return static_cast<double>(value); };
    inputs.Beta = {stored(ui->edBg->Value()), stored(ui->edBm->Value()), stored(ui->edBs->Value())};
    inputs.Gamma = {stored(ui->edYg->Value()), stored(ui->edYm->Value()), stored(ui->edYs->Value())};
    inputs.ProbeDiameterMm = ProbeDiameterMm;
    inputs.Material = ui->cbMaterial->ItemIndex() == 1 ? zevko::ProbeMaterial::Ruby : zevko::ProbeMaterial::Steel;
    inputs.Method =
        ui->cbIzm->ItemIndex() == 1 ? zevko::MeasuringMethod::Inclined : zevko::MeasuringMethod::Perpendicular;
    inputs.ForceN = static_cast<double>(ui->edIzmN->Value());
    switch (ui->cbVidVav->ItemIndex()) {
    case 0: inputs.Quantity = zevko::MeasuredQuantity::IndicatedSmallM; break;
    case 2: inputs.Quantity = zevko::MeasuredQuantity::PitchDiameter; break;
    default: inputs.Quantity = zevko::MeasuredQuantity::IndicatedCapitalM; break;
    }
    inputs.MeasuredValueMm = MeasuredValueMm;
    return inputs;
}

void TfrmSrDiam::btnCalcClick()
{
    const zevko::MeasurementInputs inputs = CalculationInputs();
    const zevko::CalculationResult result =
        zevko::Calculate(inputs, !ui->edStapka->Text().isEmpty(), Results, DecimalSeparator());
    switch (result.Outcome) {
    case zevko::CalculationOutcome::Implausible: return;
    case zevko::CalculationOutcome::Failed:
        Results = result.Results;
        ShowError();
        return;
    case zevko::CalculationOutcome::Ok:
        Results = result.Results;
        if (!ShowResults())
            ShowError();
        else
            UpdateBudget();
        return;
    }
}

bool TfrmSrDiam::ShowResults()
{
    // The labels are written in order up to a text that cannot be shown.
    const std::array<TXLabel*, zevko::ResultTextCount> labels = {ui->lPodem, ui->lDiamN, ui->lSrDA2, ui->lRazmM,
                                                                 ui->lA2};
    const auto texts = zevko::ResultTextsInUnit(Results, Units, DecimalSeparator());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!texts[i])
            return false;
        labels[i]->SetCaption(FromStd(*texts[i]));
    }
    return true;
}
