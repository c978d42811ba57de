#include "LabelHint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
}

// Transparent for input: the pointer stays in the label under the hint, so
// the label keeps it and the hint stays up. The stays-on-top and bypass
// hints are the ones the X11 platform gives a tooltip by itself; named here,
// the platform needs no second window for them, which would lose the
// input transparency of the first (the label would then get Leave at once,
// hide the hint, get Enter again, without end).
TLabelHint::TLabelHint(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                         Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
}

QRect TLabelHint::CalcHintRect(const QString& caption, const QFont& font, int maxWidth)
{
    const QFontMetrics metrics(font);
    QRect rect = metrics.boundingRect(QRect(0, 0, qMax(1, maxWidth), 0), kTextFlags, caption);
    rect.moveTopLeft(QPoint(0, 0));
    rect.setWidth(rect.width() + 6);
    rect.setHeight(rect.height() + 2);
    return rect;
}

void TLabelHint::ActivateHint(const QRect& screenRect, const QString& caption, const QFont& font)
{
    m_caption = caption;
    setFont(font);
    setGeometry(screenRect);
    show();
    update();
}

void TLabelHint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ToolTipText));
    // Left at 3 pixels like the label's own text, so the two line up.
    painter.drawText(rect().adjusted(3, 1, -1, -1), kTextFlags, m_caption);
}
