#include "ZCustomEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

TZCustomEdit::TZCustomEdit(QWidget* parent) : QLineEdit(parent)
{
    m_color = palette().color(QPalette::Active, QPalette::Base);
    setFrame(false);
    // One border pixel plus two rings; the text keeps clear of the border.
    setTextMargins(2, 1, 2, 1);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(121, 20);
    ApplyBackground();
    connect(this, &QLineEdit::textChanged, this, &TZCustomEdit::OnTextChanged);
}

void TZCustomEdit::SetBorderColor(quint32 windowsColour)
{
    m_borderColor = windowsColour;
    update();
}

void TZCustomEdit::SetBorderSelected(quint32 windowsColour)
{
    m_borderSelected = windowsColour;
    update();
}

void TZCustomEdit::SetErrorMark(const QString& reason)
{
    if (reason == m_errorMark)
        return;
    // A tooltip showing the old reason must not outlive it.
    if (QToolTip::isVisible() && !m_errorMark.isEmpty() && QToolTip::text() == m_errorMark)
        QToolTip::hideText();
    m_errorMark = reason;
    update();
}

void TZCustomEdit::SetBorderError(quint32 windowsColour)
{
    m_borderError = windowsColour;
    update();
}

void TZCustomEdit::SetDisabledColor(quint32 windowsColour)
{
    m_disabledColor = windowsColour;
    ApplyBackground();
}

void TZCustomEdit::SetColor(const QColor& colour)
{
    m_color = colour;
    ApplyBackground();
}

void TZCustomEdit::SetMaxLength(int length)
{
    // Checked when the user types or pastes. QLineEdit's own limit would
    // cut a longer text at once and also limit what the program writes.
    m_maxLength = length > 0 ? length : 0;
}

QSize TZCustomEdit::sizeHint() const
{
    return {121, qMax(20, fontMetrics().height() + 7)};
}

QSize TZCustomEdit::minimumSizeHint() const
{
    return {20, qMax(20, fontMetrics().height() + 7)};
}

void TZCustomEdit::OnTextChanged()
{
    const bool typed = m_userEdit;
    // What the change handlers write is assigned, even into this very field.
    m_userEdit = false;
    emit OnChange();
    if (!typed)
        TextAssigned();
    m_userEdit = typed;
}

void TZCustomEdit::ApplyBackground()
{
    // The remembered own colour comes back when the field is enabled again.
    QColor background = m_color;
    if (!isEnabled()) {
        const QColor disabled = ColorFromWin(m_disabledColor);
        if (disabled.isValid())
            background = disabled;
    }
    QPalette pal = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, background);
    setPalette(pal);
    update();
}

bool TZCustomEdit::event(QEvent* event)
{
    // The reason of a mark stands in for the field's own tooltip, which
    // comes back when the mark goes.
    if (event->type() == QEvent::ToolTip && Marked()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), m_errorMark, this);
        return true;
    }
    return QLineEdit::event(event);
}

void TZCustomEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    QColor border;
    if (!isEnabled())
        border = ColorFromWin(wincolor::clBtnShadow);
    else if (Marked())
        border = ColorFromWin(m_borderError); // also while the user corrects it
    else
        border = ColorFromWin(hasFocus() ? m_borderSelected : m_borderColor);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer);
    // The two inner rings are the field's colour (the filled background);
    // a disabled field shows the outer one white, a marked one takes the
    // error colour there too, so that the mark is seen at a glance.
    if (!isEnabled()) {
        painter.setPen(Qt::white);
        painter.drawRect(outer.adjusted(1, 1, -1, -1));
    } else if (Marked()) {
        painter.drawRect(outer.adjusted(1, 1, -1, -1));
    }
}

void TZCustomEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        ApplyBackground();
}

namespace {
// A context menu or another application taking the focus for a while does
// not mean the user left the field.
bool IsTemporary(const QFocusEvent* event)
{
    return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}
} // namespace

void TZCustomEdit::focusInEvent(QFocusEvent* event)
{
    const bool returning = m_entered && IsTemporary(event);
    QLineEdit::focusInEvent(event);
    update();
    if (returning)
        return;
    m_entered = true;
    Entering();
    emit OnEnter();
    Entered();
}

void TZCustomEdit::focusOutEvent(QFocusEvent* event)
{
    if (!IsTemporary(event) && m_entered) {
        m_entered = false;
        Leaving();
        emit OnExit();
    }
    QLineEdit::focusOutEvent(event);
    update();
}
