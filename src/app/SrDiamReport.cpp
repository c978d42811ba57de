// The Copy command: a plain-text record of the measurement as the window
// shows it, fifteen lines of caption and value, for pasting into a
// certificate or a spreadsheet. Nothing is recomputed or reformatted.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "LangsExt.h"
#include "PlatformClipboard.h"

namespace {

// One line: caption, ": ", TAB, value, suffix, CR LF.
void AppendLine(QString& report, const QString& caption, const QString& value, const QString& suffix = {})
{
    report += caption;
    report += QStringLiteral(": \t");
    report += value;
    report += suffix;
    report += QStringLiteral("\r\n");
}

// A flank angle as degrees, minutes and seconds: 30° 0' 0"
QString AngleText(const TZFloatEdit* degrees, const TZFloatEdit* minutes, const TZFloatEdit* seconds)
{
    return degrees->Text() + QStringLiteral("\u00B0 ") + minutes->Text() + QStringLiteral("' ") + seconds->Text() +
           QLatin1Char('"');
}

} // namespace

QString TfrmSrDiam::BuildReport() const
{
    const QString length = Units == zevko::UnitSystem::Inches ? QStringLiteral(" in") : QStringLiteral(" mm");

    QString report;
    AppendLine(report, ui->Label1->text(), IsExternal() ? ui->rbOut->text() : ui->rbIn->text());
    AppendLine(report, ui->Label3->text(), ui->edStapka->Text(), length);
    AppendLine(report, ui->Label11->text(), ui->edBrH->Text());
    AppendLine(report, ui->lHod->text(), ui->lPodem->Caption(), length);
    AppendLine(report, ui->Label4->text(), AngleText(ui->edBg, ui->edBm, ui->edBs));
    AppendLine(report, ui->Label16->text(), AngleText(ui->edYg, ui->edYm, ui->edYs));
    AppendLine(report, ui->lODN->text(), ui->lDiamN->Caption(), length);
    AppendLine(report, ui->lDN->text(), ui->edDiam->Text(), length);
    AppendLine(report, ui->Label12->text(), ui->cbMaterial->currentText());
    AppendLine(report, ui->Label2->text(), ui->cbIzm->currentText());
    AppendLine(report, ui->Label5->text(), ui->edIzmN->Text(), QStringLiteral(" N"));
    AppendLine(report, ui->cbVidVav->currentText(), ui->edIzmSt->Text(), length);
    AppendLine(report, ui->lRes4->text(), ui->lSrDA2->Caption(), length);
    AppendLine(report, ui->lVidIzm->text(), ui->lRazmM->Caption(), length);
    AppendLine(report, ui->lRes3->text(), ui->lA2->Caption(), length);
    return report;
}

bool TfrmSrDiam::PutOnClipboard(const QString& text)
{
    return PutClipboardText(text);
}

void TfrmSrDiam::btnCopyClick()
{
    if (!PutOnClipboard(BuildReport()))
        ShowMessage(LanguageText(1019));
}
