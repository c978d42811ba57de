// The language menu, the texts of the window in the chosen language, and the
// manual on the help page.
//
// Every language-dependent text the window shows is looked up by number in
// the current language table; the form's own texts are only what the window
// shows before the first language is applied.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "LangsExt.h"
#include "RtfTextDocument.h"

#include <QAction>

#include <initializer_list>
#include <utility>

namespace {

// The symbols of the flank angles β and γ: the Cyrillic capital VE (U+0412)
// and the Latin capital Y have always stood for them in these captions.
const QString BetaSuffix = QStringLiteral(" (\u0412)");
const QString GammaSuffix = QStringLiteral(" (Y)");

// Replaces the texts of a box's existing items in place. The selection is
// taken again afterwards without a change event, so the handlers of the box
// do not run and nothing the user entered is cleared.
void ReplaceItemTexts(TZComboBox* box, std::initializer_list<QString> texts)
{
    const int selected = box->ItemIndex();
    int index = 0;
    for (const QString& text : texts) {
        if (index >= box->count())
            break;
        box->setItemText(index++, text);
    }
    box->SetItemIndex(selected);
}

} // namespace

void TfrmSrDiam::WireLanguage()
{
    connect(Bul, &QAction::triggered, this, &TfrmSrDiam::BulClick);
    connect(Deutsch, &QAction::triggered, this, &TfrmSrDiam::DeutschClick);
    connect(English, &QAction::triggered, this, &TfrmSrDiam::EnglishClick);
}

void TfrmSrDiam::BulClick()
{
    ChooseLanguage(LanguageBulgarian, 9, QStringLiteral("RTF_BG"));
}

void TfrmSrDiam::DeutschClick()
{
    ChooseLanguage(LanguageGerman, 10, QStringLiteral("RTF_DE"));
}

void TfrmSrDiam::EnglishClick()
{
    ChooseLanguage(LanguageEnglish, 11, QStringLiteral("RTF_EN"));
}

void TfrmSrDiam::ChooseLanguage(LanguageId language, int image, const QString& manual)
{
    ui->btnLang->setIcon(ImageList1.Image(image));
    SelectedLanguage = language;
    ApplyLanguage();
    // The page shows the new manual at once; a page not shown takes it when
    // it is shown first (pcDatenChange).
    PendingManual = manual;
    if (ui->pcDaten->currentWidget() == ui->TabSheet3)
        LoadPendingManual();
}

void TfrmSrDiam::LoadPendingManual()
{
    if (PendingManual.isEmpty())
        return;
    const QString manual = std::exchange(PendingManual, QString());
    // The manuals are built into the program; a missing one is a damaged
    // build, reported once the texts are already in place.
    if (!LoadRtfResource(ui->redHlep, QStringLiteral(":/RCDATA/") + manual))
        ShowMessage(LanguageText(1020).arg(manual));
}

void TfrmSrDiam::ApplyStoredLanguage()
{
    switch (SelectedLanguage) {
    case LanguageBulgarian: BulClick(); break;
    case LanguageGerman: DeutschClick(); break;
    default: EnglishClick(); break;
    }
}

void TfrmSrDiam::ApplyLanguage()
{
    SetLanguage(SelectedLanguage);
    const QString diameterSuffix = QStringLiteral(" (") + DiameterSymbol + QStringLiteral("2)");
    const QString smallM = QStringLiteral(" (m)");
    const QString capitalM = QStringLiteral(" (M)");

    // Tooltips name the keys of their commands (supplement texts 1003-1011).
    ui->btnCalc->setToolTip(LanguageText(1003));
    ui->btnCopy->setToolTip(LanguageText(1004));
    ui->btnLang->setToolTip(LanguageText(1005));
    ui->btnExit->setToolTip(LanguageText(1006));
    ui->btnMM->setToolTip(LanguageText(1007));
    ui->btnInfo->setToolTip(LanguageText(176));

    ui->Label1->setText(LanguageText(33));
    ui->rbOut->setText(LanguageText(1));
    ui->rbIn->setText(LanguageText(2));
    ui->Label3->setText(LanguageText(16) + QStringLiteral(" (P)"));
    ui->Label11->setText(LanguageText(45) + QStringLiteral(" (n)"));
    ui->lHod->setText(LanguageText(15) + QStringLiteral(" (l)"));
    ui->Label4->setText(LanguageText(211) + BetaSuffix);
    ui->Label16->setText(LanguageText(211) + GammaSuffix);
    if (IsExternal()) {
        ui->lODN->setText(LanguageText(212));
        ui->lDN->setText(LanguageText(213) + QStringLiteral(" (dD)"));
    } else {
        ui->lODN->setText(LanguageText(214));
        ui->lDN->setText(LanguageText(215) + QStringLiteral(" (dD)"));
    }
    ui->Label12->setText(LanguageText(202));
    ReplaceItemTexts(ui->cbMaterial, {LanguageText(203), LanguageText(204)});
    ui->Label2->setText(LanguageText(205));
    ReplaceItemTexts(ui->cbIzm, {LanguageText(206), LanguageText(207)});
    ui->Label5->setText(LanguageText(216) + QStringLiteral(" (F)"));
    ReplaceItemTexts(ui->cbVidVav,
                     {LanguageText(217) + smallM, LanguageText(217) + capitalM, LanguageText(218) + diameterSuffix});

    // The result rows name the two quantities that were not entered.
    const int quantity = ui->cbVidVav->ItemIndex();
    ui->lVidIzm->setText(LanguageText(217) + (quantity == 1 ? smallM : capitalM));
    ui->lRes4->setText(quantity == 2 ? LanguageText(217) + smallM : LanguageText(218) + diameterSuffix);
    ui->lRes3->setText(LanguageText(191));

    ui->pcDaten->setTabText(ui->pcDaten->indexOf(ui->TabSheet1), LanguageText(178));
    ui->pcDaten->setTabText(ui->pcDaten->indexOf(ui->TabSheet2), LanguageText(219));
    ui->pcDaten->setTabText(ui->pcDaten->indexOf(ui->TabSheet3), LanguageText(220));
    ui->pcDaten->setTabToolTip(ui->pcDaten->indexOf(ui->TabSheet3), LanguageText(1008));
    ui->btnIns->setToolTip(LanguageText(1009));
    ui->btnDel->setToolTip(LanguageText(1010));
    ui->btnSel->setToolTip(LanguageText(1011));

    ErrorText = LanguageText(196);
    UpdateRangeMarks();
    ApplyBudgetLanguage();
    LabelThreadAndConformity();
}
