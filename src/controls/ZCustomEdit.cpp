#include "ZCustomEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>

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

void TZCustomEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    QColor border;
    if (!isEnabled())
        border = ColorFromWin(wincolor::clBtnShadow);
    else
        border = ColorFromWin(hasFocus() ? m_borderSelected : m_borderColor);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer);
    // The two inner rings are the field's colour (the filled background);
    // a disabled field shows the outer one white.
    if (!isEnabled()) {
        painter.setPen(Qt::white);
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
