// From the pitch diameter to a decision: the limits of the pitch diameter,
// the decision rule, the verdict beside the result and the turn-to targets
// (the m and M a thread exactly at each limit shows).
//
// The limits are the user's, typed in the window's length unit. They are
// kept as typed (text and unit) together with their exact millimetre values:
// another unit shows them converted, and switching back shows the typed text
// again, so that no rounding of the display ever becomes a limit. The rules
// (reading the limits, the verdict, the reverse calculation at a limit) are
// the core's.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "GridRows.h"
#include "LangsExt.h"
#include "LanguageTableReader.h"
#include "NumberFormat.h"
#include "ResultTexts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QSettings>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

const QString ConformityGroup = QStringLiteral("Conformity");
const QString LimitsKey = QStringLiteral("Limits");
const QString LimitsUnitKey = QStringLiteral("LimitsUnit");
const QString RuleKey = QStringLiteral("Rule");

// Puts the settings into the group of the designation and the limits, at
// the top level, for its lifetime; the group it was in comes back after.
class ConformityGroupScope {
public:
    explicit ConformityGroupScope(QSettings& key) : key_(key), outer_(key.group())
    {
        while (!key_.group().isEmpty())
            key_.endGroup();
        key_.beginGroup(ConformityGroup);
    }
    ~ConformityGroupScope()
    {
        key_.endGroup();
        if (!outer_.isEmpty())
            key_.beginGroup(outer_);
    }
    ConformityGroupScope(const ConformityGroupScope&) = delete;
    ConformityGroupScope& operator=(const ConformityGroupScope&) = delete;

private:
    QSettings& key_;
    QString outer_;
};

// The rows of the turn-to table.
enum TurnRow { RowPitchDiameter = 0, RowSmallM = 1, RowCapitalM = 2, RowGuard = 3 };

// Verdict colours: background and text.
const QColor ConformsColour(0x1E, 0x7B, 0x34);
const QColor DoesNotConformColour(0xB0, 0x1C, 0x1C);
const QColor NotDecidedColour(0xF2, 0xA9, 0x00);

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

zevko::DecisionRule RuleOf(const QComboBox* box)
{
    return box->currentIndex() == static_cast<int>(zevko::DecisionRule::Simple) ? zevko::DecisionRule::Simple
                                                                                : zevko::DecisionRule::Iso14253;
}

} // namespace

void TfrmSrDiam::BuildThreadAndConformity()
{
    DesignWidth = width();
    DesignMinimumWidth = minimumWidth();
    ui->layPanel1->activate();
    const int designPanelWidth = ui->Panel1->sizeHint().width();
    BuildThreadBox();

    // The verdict: in the row of the pitch diameter result, after its unit.
    lVerdict = new QLabel(ui->Panel1);
    lVerdict->setObjectName(QStringLiteral("lVerdict"));
    lVerdict->setAutoFillBackground(true);
    lVerdict->setMargin(2);
    QFont bold = lVerdict->font();
    bold.setBold(true);
    lVerdict->setFont(bold);
    // Its room is kept while no verdict is shown: the window does not change
    // its size after a calculation.
    QSizePolicy verdictPolicy = lVerdict->sizePolicy();
    verdictPolicy.setRetainSizeWhenHidden(true);
    lVerdict->setSizePolicy(verdictPolicy);
    lVerdict->hide();
    const int resultRow = GridRowOf(ui->layPanel1, ui->lSrDA2);
    ui->layPanel1->addWidget(lVerdict, resultRow, ui->layPanel1->columnCount());
    // Its column holds the longest verdict of every language, so that the
    // window keeps its width whichever language is chosen.
    int verdictWidth = 0;
    const QFontMetrics metrics(bold);
    for (const char* table : {"BG2", "DE2", "EN2"}) {
        QByteArray stream;
        if (!LoadLanguageResource(QString::fromLatin1(table), QString::fromLatin1(table), stream))
            continue;
        const zevko::LanguageLines lines =
            zevko::ReadLanguageTable(std::string_view(stream.constData(), static_cast<std::size_t>(stream.size())));
        for (int text = 1426; text <= 1430; ++text)
            verdictWidth =
                std::max(verdictWidth,
                         metrics.horizontalAdvance(QString::fromStdU16String(zevko::FindLanguageText(lines, text))));
    }
    lVerdict->setMinimumWidth(verdictWidth + 2 * lVerdict->margin() + 4);
    ui->layPanel1->activate();
    VerdictColumnWidth = std::max(0, ui->Panel1->sizeHint().width() - designPanelWidth);

    // The limits and the turn-to targets: a panel of their own below the results.
    pnlLimits = new QFrame(ui->Panel1);
    pnlLimits->setObjectName(QStringLiteral("pnlLimits"));
    pnlLimits->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(pnlLimits);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const auto caption = [this](const char* name) {
        auto* label = new QLabel(pnlLimits);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    const auto unitLabel = [this](const char* name) {
        auto* label = new QLabel(pnlLimits);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };

    lLimits = caption("lLimits");
    edLimits = new QLineEdit(pnlLimits);
    edLimits->setObjectName(QStringLiteral("edLimits"));
    edLimits->setMaxLength(80);
    lLimits->setBuddy(edLimits);
    lLimitsUnit = unitLabel("lLimitsUnit");
    grid->addWidget(lLimits, 0, 0);
    grid->addWidget(edLimits, 0, 1, 1, 2);
    grid->addWidget(lLimitsUnit, 0, 3);

    lLimitsMessage = new QLabel(pnlLimits);
    lLimitsMessage->setObjectName(QStringLiteral("lLimitsMessage"));
    lLimitsMessage->setWordWrap(true);
    QPalette messagePalette = lLimitsMessage->palette();
    messagePalette.setColor(QPalette::WindowText, DoesNotConformColour);
    lLimitsMessage->setPalette(messagePalette);
    lLimitsMessage->hide();
    grid->addWidget(lLimitsMessage, 1, 0, 1, 4);

    lRule = caption("lRule");
    cbRule = new QComboBox(pnlLimits);
    cbRule->setObjectName(QStringLiteral("cbRule"));
    cbRule->addItem(QStringLiteral("ISO 14253-1"));
    cbRule->addItem(QStringLiteral("simple"));
    lRule->setBuddy(cbRule);
    grid->addWidget(lRule, 2, 0);
    grid->addWidget(cbRule, 2, 1, 1, 3);

    lAtLower = new QLabel(pnlLimits);
    lAtLower->setObjectName(QStringLiteral("lAtLower"));
    lAtLower->setAlignment(Qt::AlignCenter);
    lAtUpper = new QLabel(pnlLimits);
    lAtUpper->setObjectName(QStringLiteral("lAtUpper"));
    lAtUpper->setAlignment(Qt::AlignCenter);
    grid->addWidget(lAtLower, 3, 1);
    grid->addWidget(lAtUpper, 3, 2);

    lTurnD2Caption = caption("lTurnD2Caption");
    lTurnSmallCaption = caption("lTurnSmallCaption");
    lTurnCapitalCaption = caption("lTurnCapitalCaption");
    lGuardCaption = caption("lGuardCaption");
    const std::array<QLabel*, 4> captions{lTurnD2Caption, lTurnSmallCaption, lTurnCapitalCaption, lGuardCaption};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(captions[static_cast<std::size_t>(row)], 4 + row, 0);
        for (int column = 0; column < 2; ++column) {
            auto* value = new TXLabel(pnlLimits);
            value->setObjectName(QStringLiteral("lTurn%1%2").arg(row).arg(column));
            value->setMinimumSize(70, ui->lSrDA2->minimumHeight());
            value->setMaximumHeight(ui->lSrDA2->maximumHeight());
            value->SetAlignment(taRightJustify);
            value->SetBevel(lbLowered);
            value->SetBorderStyle(bsNone);
            value->SetColor(ColorFromWin(wincolor::clBtnFace));
            value->SetHintShow(true);
            TurnValues[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = value;
            grid->addWidget(value, 4 + row, 1 + column);
        }
        auto* unit = unitLabel("lTurnUnit");
        unit->setObjectName(QStringLiteral("lTurnUnit%1").arg(row));
        TurnUnits[static_cast<std::size_t>(row)] = unit;
        grid->addWidget(unit, 4 + row, 3);
    }
    grid->setColumnStretch(0, 1);
    // The unit labels take the width of the form's, which hold every unit:
    // the unit switch moves nothing.
    for (QLabel* unit : {lLimitsUnit, lBasicD2Unit})
        unit->setMinimumWidth(ui->Label6->minimumWidth());
    for (QLabel* unit : TurnUnits)
        unit->setMinimumWidth(ui->Label6->minimumWidth());

    // Below everything the results show (the form's spacer stays last).
    int panelRow = ui->layPanel1->rowCount();
    if (const int spacer = ui->layPanel1->indexOf(ui->spcPanel1); spacer >= 0) {
        int column = 0, rowSpan = 0, columnSpan = 0;
        ui->layPanel1->getItemPosition(spacer, &panelRow, &column, &rowSpan, &columnSpan);
    }
    InsertGridRows(ui->layPanel1, panelRow, 1);
    ui->layPanel1->addWidget(pnlLimits, panelRow, 0, 1, ui->layPanel1->columnCount());

    // After the measured value: the limits, then the rule.
    QWidget::setTabOrder(ui->edIzmSt, edLimits);
    QWidget::setTabOrder(edLimits, cbRule);

    connect(edLimits, &QLineEdit::textEdited, this, &TfrmSrDiam::edLimitsEdited);
    connect(cbRule, &QComboBox::currentIndexChanged, this, &TfrmSrDiam::UpdateConformity);

    // Every input of the reverse calculation: after its own handler has run,
    // the targets follow the inputs.
    for (TZFloatEdit* field : {ui->edStapka, ui->edBrH, ui->edBg, ui->edBm, ui->edBs, ui->edYg, ui->edYm, ui->edYs,
                               ui->edDiam, ui->edIzmN, ui->edIzmSt})
        connect(field, &TZFloatEdit::OnChange, this, &TfrmSrDiam::UpdateTurnTo);
    for (TZComboBox* box : {ui->cbMaterial, ui->cbIzm, ui->cbVidVav})
        connect(box, &TZComboBox::OnChange, this, &TfrmSrDiam::UpdateTurnTo);
    connect(ui->rbOut, &QRadioButton::toggled, this, &TfrmSrDiam::UpdateTurnTo);
}

void TfrmSrDiam::LabelThreadAndConformity()
{
    LabelThreadBox();
    if (!pnlLimits)
        return;
    lLimits->setText(LanguageText(1415));
    edLimits->setPlaceholderText(QStringLiteral("8.862 8.994"));
    lRule->setText(LanguageText(1417));
    cbRule->setItemText(0, LanguageText(1418));
    cbRule->setItemText(1, LanguageText(1419));
    lAtLower->setText(LanguageText(1420));
    lAtUpper->setText(LanguageText(1421));
    lTurnD2Caption->setText(LanguageText(218));
    lTurnSmallCaption->setText(LanguageText(217) + QStringLiteral(" (m)"));
    lTurnCapitalCaption->setText(LanguageText(217) + QStringLiteral(" (M)"));
    lGuardCaption->setText(LanguageText(1422));
    for (TXLabel* value : TurnValues[RowSmallM])
        value->setToolTip(LanguageText(1432));
    for (TXLabel* value : TurnValues[RowCapitalM])
        value->setToolTip(LanguageText(1432));
    for (TXLabel* value : TurnValues[RowGuard])
        value->setToolTip(LanguageText(1433));
    lGuardCaption->setToolTip(LanguageText(1433));
    // The limits' message and the verdict are worded anew.
    ShowLimitsMessage();
    UpdateConformity();
    FitWindowToContent();
}

void TfrmSrDiam::FitWindowToContent()
{
    // The window grows by the verdict's column, so that the pages keep the
    // width the form gives them, and by the rows added, never shrinking.
    if (QLayout* windowLayout = layout()) {
        windowLayout->activate();
        const int extraWidth = VerdictColumnWidth;
        const QSize needed(DesignMinimumWidth + extraWidth,
                           std::max(minimumHeight(), windowLayout->minimumSize().height()));
        setMinimumSize(needed);
        const QSize wanted(std::max(width(), DesignWidth + extraWidth), std::max(height(), needed.height()));
        if (wanted != size())
            resize(wanted);
    }
}

void TfrmSrDiam::ShowThreadAndConformityInUnit()
{
    ShowBasicPitchDiameter();
    if (!pnlLimits)
        return;
    const bool inches = Units == zevko::UnitSystem::Inches;
    const QString unit = inches ? QStringLiteral("[in]") : QStringLiteral("[mm]");
    lLimitsUnit->setText(unit);
    for (QLabel* label : TurnUnits)
        label->setText(unit);

    // The typed text in the unit it was typed in; in the other unit the
    // limits converted from their exact millimetre values.
    if (Units == Limits.Unit || !Limits.Mm) {
        edLimits->setText(Limits.Text);
    } else {
        const char separator = DecimalSeparator();
        const auto shown = [&](long double mm) {
            const long double value = inches ? zevko::RoundToDecimals(mm / zevko::MmPerInch, 6) : mm;
            return QString::fromStdString(zevko::FormatGeneral(value, separator));
        };
        edLimits->setText(shown(Limits.Mm->Lower) + QLatin1Char(' ') + shown(Limits.Mm->Upper));
    }
    UpdateConformity();
}

void TfrmSrDiam::edLimitsEdited(const QString& text)
{
    ReadLimits(text, Units);
}

void TfrmSrDiam::ReadLimits(const QString& text, zevko::UnitSystem unit)
{
    Limits.Text = text;
    Limits.Unit = unit;
    Limits.Reading = zevko::ReadPitchDiameterLimits(Utf8(text), DecimalSeparator());
    Limits.Mm.reset();
    if (Limits.Reading.Limits) {
        const long double factor = unit == zevko::UnitSystem::Inches ? zevko::MmPerInch : 1.0L;
        Limits.Mm =
            zevko::PitchDiameterLimits{Limits.Reading.Limits->Lower * factor, Limits.Reading.Limits->Upper * factor};
    }
    ShowLimitsMessage();
    UpdateConformity();
}

void TfrmSrDiam::ShowLimitsMessage()
{
    const QString part = QString::fromStdString(Limits.Reading.Offending);
    QString message;
    switch (Limits.Reading.Refusal) {
    case zevko::LimitsRefusal::None:
    case zevko::LimitsRefusal::Empty: break;
    case zevko::LimitsRefusal::UnreadableNumber: message = LanguageText(1423).arg(part); break;
    case zevko::LimitsRefusal::WrongCount: message = LanguageText(1424).arg(part); break;
    case zevko::LimitsRefusal::WrongOrder: message = LanguageText(1425).arg(part); break;
    }
    lLimitsMessage->setText(message);
    lLimitsMessage->setVisible(!message.isEmpty());
    edLimits->setToolTip(message.isEmpty() ? LanguageText(1416) : message + QLatin1Char('\n') + LanguageText(1416));
}

std::optional<long double> TfrmSrDiam::ShownExpandedUncertaintyMm() const
{
    // Every entry 0 means no uncertainty was entered, and the window shows no
    // U: a decision under ISO 14253-1 must not rest on a U the user cannot see.
    if (!ShownBudget || !(ShownBudget->CombinedUm > 0.0L))
        return std::nullopt;
    return ShownBudget->ExpandedUm / 1000.0L;
}

void TfrmSrDiam::UpdateTurnTo()
{
    if (!pnlLimits)
        return;
    for (auto& row : TurnValues)
        for (TXLabel* value : row)
            value->SetCaption(QString());
    const bool iso = RuleOf(cbRule) == zevko::DecisionRule::Iso14253;
    lGuardCaption->setVisible(iso);
    for (TXLabel* value : TurnValues[RowGuard])
        value->setVisible(iso);
    TurnUnits[RowGuard]->setVisible(iso);
    if (!Limits.Mm)
        return;

    const char separator = DecimalSeparator();
    const bool inches = Units == zevko::UnitSystem::Inches;
    // As the window shows its results: the millimetre text, or the inch
    // text formed from it.
    const auto shown = [&](long double mm) -> QString {
        const std::optional<std::string> mmText = zevko::FormatResult(mm, 5, separator);
        const std::optional<std::string> text = mmText ? zevko::ResultTextInUnit(*mmText, Units, separator) : mmText;
        return text ? QString::fromStdString(*text) : QString();
    };
    // The limits as read, to be compared with what was typed.
    const auto limitShown = [&](long double mm) -> QString {
        const std::optional<std::string> text =
            inches ? zevko::FormatResult(mm / zevko::MmPerInch, 6, separator) : zevko::FormatResult(mm, 5, separator);
        return text ? QString::fromStdString(*text) : QString();
    };
    TurnValues[RowPitchDiameter][0]->SetCaption(limitShown(Limits.Mm->Lower));
    TurnValues[RowPitchDiameter][1]->SetCaption(limitShown(Limits.Mm->Upper));

    const zevko::TurnToTargets targets =
        zevko::ComputeTurnToTargets(CalculationInputs(), *Limits.Mm, ShownExpandedUncertaintyMm());
    const auto showPair = [&](const std::optional<zevko::IndicatedValues>& at, int column) {
        if (!at)
            return;
        TurnValues[RowSmallM][static_cast<std::size_t>(column)]->SetCaption(shown(at->SmallMMm));
        TurnValues[RowCapitalM][static_cast<std::size_t>(column)]->SetCaption(shown(at->CapitalMMm));
    };
    showPair(targets.AtLower, 0);
    showPair(targets.AtUpper, 1);
    if (iso && targets.GuardLower && targets.GuardUpper) {
        TurnValues[RowGuard][0]->SetCaption(shown(targets.GuardLower->CapitalMMm));
        TurnValues[RowGuard][1]->SetCaption(shown(targets.GuardUpper->CapitalMMm));
    }
}

void TfrmSrDiam::ClearVerdict()
{
    ShownVerdict = zevko::Verdict::None;
    if (lVerdict) {
        lVerdict->clear();
        lVerdict->setToolTip(QString());
        lVerdict->hide();
    }
}

void TfrmSrDiam::UpdateConformity()
{
    // The guard-banded window depends on U as the verdict does.
    UpdateTurnTo();
    ClearVerdict();
    if (!lVerdict || !Limits.Mm || Results.DiameterText.empty() ||
        ui->cbVidVav->ItemIndex() == static_cast<int>(zevko::MeasuredQuantity::PitchDiameter))
        return;
    const char separator = DecimalSeparator();
    const std::optional<long double> d2 = zevko::ParseDecimalText(Results.DiameterText, separator);
    if (!d2)
        return;
    const std::optional<long double> u = ShownExpandedUncertaintyMm();
    const zevko::DecisionRule rule = RuleOf(cbRule);
    const zevko::Verdict verdict = zevko::DecideConformity(*d2, u, *Limits.Mm, rule);

    QString text;
    QColor colour;
    switch (verdict) {
    case zevko::Verdict::None: return;
    case zevko::Verdict::Conforms:
        text = LanguageText(1426);
        colour = ConformsColour;
        break;
    case zevko::Verdict::DoesNotConform:
        text = LanguageText(1427);
        colour = DoesNotConformColour;
        break;
    case zevko::Verdict::NotDecidedLower:
        text = LanguageText(1428);
        colour = NotDecidedColour;
        break;
    case zevko::Verdict::NotDecidedUpper:
        text = LanguageText(1429);
        colour = NotDecidedColour;
        break;
    case zevko::Verdict::NotDecidedBoth:
        text = LanguageText(1430);
        colour = NotDecidedColour;
        break;
    }
    ShownVerdict = verdict;
    QPalette palette = lVerdict->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, colour == NotDecidedColour ? QColor(Qt::black) : QColor(Qt::white));
    lVerdict->setPalette(palette);
    lVerdict->setText(text);

    const bool inches = Units == zevko::UnitSystem::Inches;
    const auto inUnit = [&](long double mm) {
        const std::optional<std::string> shown =
            inches ? zevko::FormatResult(mm / zevko::MmPerInch, 6, separator) : zevko::FormatResult(mm, 5, separator);
        return shown ? QString::fromStdString(*shown) : QString();
    };
    const int reason = verdict == zevko::Verdict::NotDecidedLower   ? 1436
                       : verdict == zevko::Verdict::NotDecidedUpper ? 1437
                       : verdict == zevko::Verdict::NotDecidedBoth  ? 1438
                                                                    : 0;
    lVerdict->setToolTip((reason != 0 ? LanguageText(reason) + QLatin1Char('\n') : QString()) +
                         LanguageText(1431).arg(cbRule->currentText(), inUnit(Limits.Mm->Lower),
                                                inUnit(Limits.Mm->Upper),
                                                inches ? QStringLiteral("in") : QStringLiteral("mm"),
                                                u ? inUnit(*u) : LanguageText(1435)));
    lVerdict->show();
}

void TfrmSrDiam::RestoreThreadAndConformity(QSettings& key)
{
    const ConformityGroupScope inGroup(key);
    RestoreThreadSettings(key);
    if (key.contains(RuleKey)) {
        bool ok = false;
        const int rule = key.value(RuleKey).toInt(&ok);
        if (ok && rule >= 0 && rule < cbRule->count())
            cbRule->setCurrentIndex(rule);
    }
    if (key.contains(LimitsKey)) {
        bool ok = false;
        const int unit = key.value(LimitsUnitKey).toInt(&ok);
        const QString text = key.value(LimitsKey).toString().left(edLimits->maxLength());
        edLimits->setText(text);
        ReadLimits(text, ok && unit == 1 ? zevko::UnitSystem::Inches : zevko::UnitSystem::Millimetres);
    }
}

void TfrmSrDiam::StoreThreadAndConformity(QSettings& key) const
{
    const ConformityGroupScope inGroup(key);
    StoreThreadSettings(key);
    key.setValue(RuleKey, cbRule->currentIndex());
    key.setValue(LimitsKey, Limits.Text);
    key.setValue(LimitsUnitKey, Limits.Unit == zevko::UnitSystem::Inches ? 1 : 0);
}

QString TfrmSrDiam::ConformityReportLines() const
{
    if (!Limits.Mm)
        return {};
    // In the form of the report's lines: "caption: <TAB>value", a pair of
    // values TAB-separated, the texts as the window shows them.
    const QString separator = QStringLiteral(": \t");
    const QString end = QStringLiteral("\r\n");
    const QString unit = Units == zevko::UnitSystem::Inches ? QStringLiteral(" in") : QStringLiteral(" mm");
    const auto pair = [&](std::size_t row) {
        return TurnValues[row][0]->Caption() + QLatin1Char('\t') + TurnValues[row][1]->Caption() + unit;
    };
    QString lines = lLimits->text() + separator + pair(RowPitchDiameter) + end;
    lines += lRule->text() + separator + cbRule->currentText() + end;
    lines += LanguageText(1434) + separator +
             (ShownVerdict == zevko::Verdict::None ? LanguageText(1435) : lVerdict->text()) + end;
    if (RuleOf(cbRule) == zevko::DecisionRule::Iso14253)
        lines += lGuardCaption->text() + separator + pair(RowGuard) + end;
    else
        lines += lTurnCapitalCaption->text() + separator + pair(RowCapitalM) + end;
    return lines;
}
