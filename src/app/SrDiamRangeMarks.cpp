// The marks of input fields whose value lies outside its accepted range.
//
// The lead update and the calculation do nothing, without a message, for
// such a value; the mark (the field's error border and the accepted range as
// its tooltip) says why, for as long as the value stays outside. The ranges
// themselves are the core's (PlausibilityLimits.h).

#include "SrDiam.h"

#include "ui_SrDiam.h"

#include "LangsExt.h"
#include "NumberFormat.h"
#include "PlausibilityLimits.h"

#include <array>
#include <cmath>

namespace {

// The accepted range in inches, as the tooltip shows it: rounded inwards to
// five decimals, so that every number the tooltip promises is accepted when
// typed (100 mm is 3.937007... in; "3.93701" would be 100.00005 mm).
zevko::AcceptedRange InchRange(zevko::AcceptedRange mm)
{
    constexpr long double scale = 100000.0L;
    return {std::ceil(mm.Low / zevko::MmPerInch * scale) / scale,
            std::floor(mm.High / zevko::MmPerInch * scale) / scale};
}

// The marks an angle part carries after its number; none for the others.
QString PartMark(zevko::InputField input)
{
    switch (input) {
    case zevko::InputField::FlankDegrees: return QStringLiteral("\u00B0");
    case zevko::InputField::FlankMinutes: return QStringLiteral("\u2032");
    case zevko::InputField::FlankSeconds: return QStringLiteral("\u2033");
    default: return {};
    }
}

} // namespace

void TfrmSrDiam::WireRangeMarks()
{
    for (TZFloatEdit* field : {ui->edStapka, ui->edBrH, ui->edBg, ui->edBm, ui->edBs, ui->edYg, ui->edYm, ui->edYs,
                               ui->edDiam, ui->edIzmN, ui->edIzmSt})
        connect(field, &TZFloatEdit::OnChange, this, &TfrmSrDiam::UpdateRangeMarks);
}

void TfrmSrDiam::UpdateRangeMarks()
{
    using zevko::InputField;
    struct MarkedField {
        TZFloatEdit* Field;
        InputField Input;
        // The length a length field stands for; null for the others.
        const WrittenLength* Written;
    };
    const std::array<MarkedField, 11> fields{{
        {ui->edStapka, InputField::Pitch, &PitchWritten},
        {ui->edBrH, InputField::Starts, nullptr},
        {ui->edBg, InputField::FlankDegrees, nullptr},
        {ui->edBm, InputField::FlankMinutes, nullptr},
        {ui->edBs, InputField::FlankSeconds, nullptr},
        {ui->edYg, InputField::FlankDegrees, nullptr},
        {ui->edYm, InputField::FlankMinutes, nullptr},
        {ui->edYs, InputField::FlankSeconds, nullptr},
        {ui->edDiam, InputField::ProbeDiameter, &ProbeDiameterWritten},
        {ui->edIzmN, InputField::Force, nullptr},
        {ui->edIzmSt, InputField::MeasuredValue, &MeasuredValueWritten},
    }};
    const bool inches = Units == zevko::UnitSystem::Inches;
    const char separator = DecimalSeparator();
    const auto number = [separator](long double value) {
        return QString::fromStdString(zevko::FormatGeneral(value, separator));
    };

    for (const MarkedField& marked : fields) {
        // A length is judged as the millimetres the lead update and the
        // calculation take: the exact value the program wrote while the
        // field still shows its text, else the shown number converted.
        const long double value =
            zevko::IsLength(marked.Input) ? LengthOf(marked.Field, *marked.Written) : marked.Field->Value();
        const zevko::FieldJudgement judgement = zevko::JudgeField(marked.Input, value);
        if (judgement.InRange) {
            marked.Field->SetErrorMark(QString());
            continue;
        }
        QString reason;
        if (zevko::IsLength(marked.Input) || marked.Input == InputField::Force) {
            const bool converted = inches && zevko::IsLength(marked.Input);
            const zevko::AcceptedRange shown = converted ? InchRange(judgement.Range) : judgement.Range;
            const QString unit = marked.Input == InputField::Force ? QStringLiteral("N")
                                 : converted                       ? QStringLiteral("in")
                                                                   : QStringLiteral("mm");
            reason =
                LanguageTextOr(1001, QStringLiteral("%1 - %2 %3")).arg(number(shown.Low), number(shown.High), unit);
        } else {
            const QString mark = PartMark(marked.Input);
            reason = LanguageTextOr(1002, QStringLiteral("%1 - %2"))
                         .arg(number(judgement.Range.Low) + mark, number(judgement.Range.High) + mark);
        }
        marked.Field->SetErrorMark(reason);
    }
}
