// The thread designation box: "M10x1.5-6g" typed or chosen fills the design's
// own fields, and the basic pitch diameter is shown for reference.
//
// The fields are written one after the other as a user would type them, so
// that their change handlers (lead, optimum, proposal, cleared results) run
// exactly as for typed values. The designation itself is read by the core.

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "GridRows.h"
#include "LangsExt.h"
#include "NumberFormat.h"
#include "ResultTexts.h"
#include "ThreadDesignation.h"
#include "ThreadSeries.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QShortcut>

#include <functional>
#include <string>

namespace {

// How many designations the box remembers.
constexpr int RecentThreadCount = 10;

const QString RecentThreadsKey = QStringLiteral("Threads");

// Takes Enter in the box before the box does: the box would only act on a
// text that is one of its items, and quietly ignore any other. (The box
// hands its keys to its text field itself, past any filter of the field.)
class EnterInBox : public QObject {
public:
    EnterInBox(QComboBox* box, std::function<void()> entered) : QObject(box), entered_(std::move(entered))
    {
        box->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        entered_();
        return true;
    }

private:
    std::function<void()> entered_;
};

QString ReasonText(const zevko::DesignationReading& reading, const QString& typed)
{
    const QString part = QString::fromStdString(reading.Offending);
    using zevko::DesignationRefusal;
    switch (reading.Refusal) {
    case DesignationRefusal::None:
    case DesignationRefusal::Empty: return LanguageText(1404);
    case DesignationRefusal::TooLong: return LanguageText(1405).arg(typed.left(40) + QStringLiteral("..."));
    case DesignationRefusal::UnknownForm: return LanguageText(1406).arg(typed, part);
    case DesignationRefusal::UnreadableNumber: return LanguageText(1407).arg(typed, part);
    case DesignationRefusal::MissingPitch: return LanguageText(1408).arg(typed, part);
    case DesignationRefusal::SizeNotInSeries: return LanguageText(1409).arg(typed, part);
    case DesignationRefusal::PitchNotInSeries: return LanguageText(1410).arg(typed, part);
    case DesignationRefusal::LeadNotMultiple: return LanguageText(1411).arg(typed, part);
    case DesignationRefusal::UnknownClass: return LanguageText(1412).arg(typed, part);
    case DesignationRefusal::UnexpectedText: return LanguageText(1413).arg(typed, part);
    case DesignationRefusal::Implausible: return LanguageText(1414).arg(typed, part);
    }
    return LanguageText(1413).arg(typed, part);
}

} // namespace

void TfrmSrDiam::BuildThreadBox()
{
    lThread = new QLabel(ui->Panel1);
    lThread->setObjectName(QStringLiteral("lThread"));
    lThread->setAlignment(ui->Label3->alignment());
    cbThread = new QComboBox(ui->Panel1);
    cbThread->setObjectName(QStringLiteral("cbThread"));
    cbThread->setEditable(true);
    // The box reads what is typed; it neither completes nor collects it.
    cbThread->setCompleter(nullptr);
    cbThread->setInsertPolicy(QComboBox::NoInsert);
    cbThread->setMaxVisibleItems(12);
    cbThread->setMinimumContentsLength(12);
    cbThread->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lThread->setBuddy(cbThread);

    lBasicD2Caption = new QLabel(ui->Panel1);
    lBasicD2Caption->setObjectName(QStringLiteral("lBasicD2Caption"));
    lBasicD2Caption->setAlignment(ui->Label3->alignment());
    lBasicD2 = new TXLabel(ui->Panel1);
    lBasicD2->setObjectName(QStringLiteral("lBasicD2"));
    lBasicD2->setMinimumSize(ui->lPodem->minimumSize());
    lBasicD2->setMaximumSize(ui->lPodem->maximumSize());
    lBasicD2->setSizePolicy(ui->lPodem->sizePolicy());
    lBasicD2->SetAlignment(taRightJustify);
    lBasicD2->SetBevel(lbLowered);
    lBasicD2->SetBorderStyle(bsNone);
    lBasicD2->SetColor(ColorFromWin(wincolor::clBtnFace));
    lBasicD2->SetHintShow(true);
    lBasicD2Unit = new QLabel(ui->Panel1);
    lBasicD2Unit->setObjectName(QStringLiteral("lBasicD2Unit"));

    // Two rows of their own above the side switch.
    InsertGridRows(ui->layPanel1, 0, 2);
    ui->layPanel1->addWidget(lThread, 0, 0);
    ui->layPanel1->addWidget(cbThread, 0, 1, 1, 3);
    ui->layPanel1->addWidget(lBasicD2Caption, 1, 0);
    ui->layPanel1->addWidget(lBasicD2, 1, 1);
    ui->layPanel1->addWidget(lBasicD2Unit, 1, 3);

    // First in the chain: Shift+Tab from the side switch reaches it.
    QWidget::setTabOrder(cbThread, ui->rbOut);

    new EnterInBox(cbThread, [this] { ApplyDesignation(cbThread->currentText()); });
    connect(cbThread, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            ApplyDesignation(cbThread->itemText(index));
    });
    auto* threadKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    threadKey->setObjectName(QStringLiteral("cbThreadShortcut"));
    connect(threadKey, &QShortcut::activated, this, [this] {
        cbThread->setFocus(Qt::ShortcutFocusReason);
        cbThread->lineEdit()->selectAll();
    });

    FillThreadItems();
}

void TfrmSrDiam::FillThreadItems()
{
    const QString typed = cbThread->currentText();
    cbThread->blockSignals(true);
    cbThread->clear();
    for (const QString& recent : RecentThreads)
        cbThread->addItem(recent);
    if (!RecentThreads.isEmpty())
        cbThread->insertSeparator(cbThread->count());
    for (const std::string_view common : zevko::CommonDesignations()) {
        const QString item = QString::fromUtf8(common.data(), static_cast<qsizetype>(common.size()));
        if (!RecentThreads.contains(item))
            cbThread->addItem(item);
    }
    cbThread->setCurrentIndex(-1);
    cbThread->setEditText(typed);
    cbThread->blockSignals(false);
}

void TfrmSrDiam::ApplyDesignation(const QString& text)
{
    const QString typed = text.trimmed();
    const QByteArray utf8 = typed.toUtf8();
    const zevko::DesignationReading reading = zevko::ReadThreadDesignation(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), DecimalSeparator());
    if (!reading.Thread) {
        cbThread->setEditText(text);
        ShowMessage(ReasonText(reading, typed));
        cbThread->setFocus();
        // The part not understood is selected, ready to be typed over.
        const QString part = QString::fromStdString(reading.Offending);
        const qsizetype at = part.isEmpty() ? -1 : text.indexOf(part, 0, Qt::CaseInsensitive);
        if (at >= 0)
            cbThread->lineEdit()->setSelection(static_cast<int>(at), static_cast<int>(part.size()));
        else
            cbThread->lineEdit()->selectAll();
        return;
    }
    const zevko::ThreadDesignation& thread = *reading.Thread;

    // The side first: its switch links the catalog from which the pitch
    // change below proposes the probe.
    if (thread.Side)
        (*thread.Side == zevko::ThreadSide::External ? ui->rbOut : ui->rbIn)->setChecked(true);
    const double pitchMm = static_cast<double>(thread.PitchMm);
    WriteLength(ui->edStapka, PitchWritten, PitchMm, pitchMm,
                Units == zevko::UnitSystem::Inches ? zevko::RoundToDecimals(pitchMm / zevko::MmPerInch, 5)
                                                   : zevko::RoundToDecimals(pitchMm, 4));
    ui->edBrH->SetValue(thread.Starts);
    ui->edBg->SetValue(thread.BetaDeg);
    ui->edBm->SetValue(0);
    ui->edBs->SetValue(0);
    ui->edYg->SetValue(thread.GammaDeg);
    ui->edYm->SetValue(0);
    ui->edYs->SetValue(0);

    BasicPitchDiameterMm = thread.BasicPitchDiameterMm;
    ShowBasicPitchDiameter();

    RecentThreads.removeAll(typed);
    RecentThreads.prepend(typed);
    while (RecentThreads.size() > RecentThreadCount)
        RecentThreads.removeLast();
    cbThread->setEditText(typed);
    FillThreadItems();
    // The measured value is what comes next, ready to be typed over.
    ui->edIzmSt->setFocus();
    ui->edIzmSt->selectAll();
}

void TfrmSrDiam::ShowBasicPitchDiameter()
{
    if (!lBasicD2)
        return;
    lBasicD2Unit->setText(Units == zevko::UnitSystem::Inches ? QStringLiteral("[in]") : QStringLiteral("[mm]"));
    if (!BasicPitchDiameterMm) {
        lBasicD2->SetCaption(QString());
        return;
    }
    const char separator = DecimalSeparator();
    const std::optional<std::string> mm = zevko::FormatResult(*BasicPitchDiameterMm, 5, separator);
    const std::optional<std::string> shown = mm ? zevko::ResultTextInUnit(*mm, Units, separator) : mm;
    lBasicD2->SetCaption(shown ? QString::fromStdString(*shown) : QString());
}

void TfrmSrDiam::LabelThreadBox()
{
    if (!cbThread)
        return;
    lThread->setText(LanguageText(1401));
    cbThread->setToolTip(LanguageText(1403));
    lBasicD2Caption->setText(LanguageText(1402));
}

void TfrmSrDiam::RestoreThreadSettings(const QSettings& key)
{
    if (!key.contains(RecentThreadsKey))
        return;
    RecentThreads.clear();
    // Only what still reads as a designation comes back, each once.
    for (const QString& stored : key.value(RecentThreadsKey).toStringList()) {
        const QString text = stored.trimmed();
        const QByteArray utf8 = text.toUtf8();
        if (RecentThreads.contains(text) ||
            !zevko::ReadThreadDesignation(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                                          DecimalSeparator())
                 .Thread)
            continue;
        RecentThreads << text;
        if (RecentThreads.size() == RecentThreadCount)
            break;
    }
    FillThreadItems();
}

void TfrmSrDiam::StoreThreadSettings(QSettings& key) const
{
    key.setValue(RecentThreadsKey, RecentThreads);
}
