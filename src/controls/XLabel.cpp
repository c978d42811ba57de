#include "XLabel.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QPainter>
#include <QScreen>
#include <QShortcutEvent>

#include "LabelHint.h"
#include "WinColor.h"

namespace {

constexpr int kSideMargin = 3;
constexpr int kAutoWidthExtra = 8;
constexpr int kUnbounded = 1 << 20;
const QChar kEllipsis(0x2026);

bool HasMaxWidth(const QWidget* widget)
{
    return widget->maximumWidth() < QWIDGETSIZE_MAX;
}

// Width of one line as drawText lays it out with `flags` (no wrapping).
int LineWidth(const QFontMetrics& metrics, const QString& line, int flags)
{
    return metrics.boundingRect(QRect(0, 0, kUnbounded, kUnbounded), flags & ~Qt::TextWordWrap, line).width();
}

// An ellipsis in the middle that keeps as much as possible of the last path
// component (after the last "\" or "/").
QString ElidePath(const QFontMetrics& metrics, const QString& line, int width, int flags)
{
    const int cut = int(qMax(line.lastIndexOf(u'\\'), line.lastIndexOf(u'/')));
    if (cut <= 0)
        return metrics.elidedText(line, Qt::ElideMiddle, width, flags);
    const QString tail = line.mid(cut);
    const int room = width - LineWidth(metrics, QString(kEllipsis) + tail, flags);
    if (room < 0)
        return metrics.elidedText(QString(kEllipsis) + tail, Qt::ElideRight, width, flags);
    QString head = line.left(cut);
    while (!head.isEmpty() && LineWidth(metrics, head, flags) > room)
        head.chop(1);
    return head + kEllipsis + tail;
}

} // namespace

TXLabel::TXLabel(QWidget* parent) : QWidget(parent)
{
    m_color = palette().color(QPalette::Active, QPalette::Base);
    resize(65, 18);
    setFocusPolicy(Qt::NoFocus);
}

TXLabel::~TXLabel() = default;

void TXLabel::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    // A hint showing the old text would now be wrong.
    HideHint();
    UpdateShortcut();
    AdjustSize();
    update();
}

void TXLabel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void TXLabel::SetLayout(TTextLayout layout)
{
    m_layout = layout;
    update();
}

void TXLabel::SetWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    if (on)
        m_showTextEllipsis = teNone;
    AdjustSize();
    update();
}

void TXLabel::SetShowAccelChar(bool on)
{
    m_showAccelChar = on;
    UpdateShortcut();
    AdjustSize();
    update();
}

void TXLabel::SetTransparent(bool on)
{
    m_transparent = on;
    update();
}

void TXLabel::SetBevel(TLblBevel bevel)
{
    m_bevel = bevel;
    update();
}

void TXLabel::SetBorderStyle(TLblBorderStyle style)
{
    m_borderStyle = style;
    update();
}

void TXLabel::SetBorderColor(quint32 windowsColour)
{
    m_borderColor = windowsColour;
    update();
}

void TXLabel::SetShowTextEllipsis(TShowEllipsis mode)
{
    if (mode == m_showTextEllipsis)
        return;
    m_showTextEllipsis = mode;
    if (mode == teNone) {
        m_wordWrap = false;
        if (!HasMaxWidth(this))
            m_autoWidth = false;
        HideHint();
    }
    update();
}

void TXLabel::SetShowTypeEllipsis(TTypeEllipsis type)
{
    m_showTypeEllipsis = type;
    update();
}

void TXLabel::SetHintShow(bool on)
{
    m_hintShow = on;
    if (!on)
        HideHint();
}

void TXLabel::SetAutoWidth(bool on)
{
    m_autoWidth = on;
    if (on && !HasMaxWidth(this))
        m_showTextEllipsis = teAuto;
    AdjustSize();
}

void TXLabel::SetAutoHeight(bool on)
{
    m_autoHeight = on;
    AdjustSize();
}

void TXLabel::SetFocusControl(QWidget* control)
{
    m_focusControl = control;
    UpdateShortcut();
}

void TXLabel::SetColor(const QColor& colour)
{
    m_color = colour;
    update();
}

void TXLabel::SetOnDrawText(TDrawTextNotify handler)
{
    m_onDrawText = std::move(handler);
    update();
}

bool TXLabel::HintVisible() const
{
    return m_hint != nullptr && m_hint->isVisible();
}

QSize TXLabel::sizeHint() const
{
    return size();
}

int TXLabel::DrawFlags() const
{
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (m_alignment) {
    case taLeftJustify: flags |= Qt::AlignLeft; break;
    case taRightJustify: flags |= Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    }
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QString TXLabel::DisplayText(const QRect& rect, int flags) const
{
    if (m_showTextEllipsis == teNone || m_wordWrap)
        return m_caption;
    const QFontMetrics metrics(font());
    const int width = rect.width();
    QStringList lines = m_caption.split(u'\n');
    for (QString& line : lines) {
        if (LineWidth(metrics, line, flags) <= width)
            continue;
        line = m_showTypeEllipsis == etPath ? ElidePath(metrics, line, width, flags)
                                            : metrics.elidedText(line, Qt::ElideRight, width, flags);
    }
    return lines.join(u'\n');
}

void TXLabel::DrawCaption(QPainter& painter, QRect rect, int flags)
{
    if (m_onDrawText) {
        bool drawDefault = false;
        QString caption = m_caption;
        m_onDrawText(this, painter, caption, rect, flags, drawDefault);
        if (!drawDefault)
            return;
    }
    const QString shown = DisplayText(rect, flags);
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(rect, flags, shown);
    } else {
        painter.setPen(ColorFromWin(wincolor::clBtnHighlight));
        painter.drawText(rect.translated(1, 1), flags, shown);
        painter.setPen(ColorFromWin(wincolor::clBtnShadow));
        painter.drawText(rect, flags, shown);
    }
}

QRect TXLabel::TextRect() const
{
    QRect textRect = rect();
    if (m_layout != tlTop && !m_caption.isEmpty()) {
        const QFontMetrics metrics(font());
        const int textHeight = metrics.boundingRect(textRect, DrawFlags(), m_caption).height();
        int shift = height() - textHeight;
        if (m_layout == tlCenter)
            shift /= 2; // toward zero, also for a text taller than the label
        textRect.translate(0, shift);
    }
    return textRect.adjusted(kSideMargin, 0, -kSideMargin, 0);
}

QString TXLabel::VisibleCaption() const
{
    return DisplayText(TextRect(), DrawFlags());
}

void TXLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_color);

    DrawCaption(painter, TextRect(), DrawFlags());

    const QColor shadow = ColorFromWin(wincolor::clBtnShadow);
    const QColor light = ColorFromWin(wincolor::clBtnHighlight);
    const int right = width() - 1;
    const int bottom = height() - 1;
    if (m_bevel != lbNone) {
        const bool lowered = m_bevel == lbLowered;
        painter.setPen(lowered ? shadow : light);
        painter.drawLine(0, 0, right, 0);
        painter.drawLine(0, 0, 0, bottom);
        painter.setPen(lowered ? light : shadow);
        painter.drawLine(right, 0, right, bottom);
        painter.drawLine(0, bottom, right, bottom);
    } else if (m_borderStyle == bsSingle) {
        painter.setPen(ColorFromWin(m_borderColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, right, bottom);
    }
}

void TXLabel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit OnMouseEnter();
    if (m_showTextEllipsis == teNone || !m_hintShow)
        return;
    const QScreen* where = screen();
    const int screenWidth = where != nullptr ? where->geometry().width() : 1024;
    // The hint uses the label's font, so that it appears exactly when the
    // label has to cut its text.
    QRect hintRect = TLabelHint::CalcHintRect(m_caption, font(), screenWidth);
    if (hintRect.width() <= width())
        return;
    hintRect.moveTopLeft(mapToGlobal(QPoint(0, 0)));
    if (m_hint == nullptr)
        m_hint = new TLabelHint(this);
    m_hint->ActivateHint(hintRect, m_caption, font());
}

void TXLabel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit OnMouseLeave();
    HideHint();
}

void TXLabel::hideEvent(QHideEvent* event)
{
    HideHint();
    QWidget::hideEvent(event);
}

void TXLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        AdjustSize();
        update();
    } else if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

bool TXLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && m_shortcutId != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == m_shortcutId) {
        QWidget* control = m_focusControl;
        if (isEnabled() && m_showAccelChar && control != nullptr && control->isEnabled() && control->isVisible() &&
            control->focusPolicy() != Qt::NoFocus)
            control->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(event);
}

void TXLabel::UpdateShortcut()
{
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (m_focusControl == nullptr || !m_showAccelChar)
        return;
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    if (!mnemonic.isEmpty())
        m_shortcutId = grabShortcut(mnemonic);
}

void TXLabel::AdjustSize()
{
    if (m_adjusting || (!m_autoWidth && !m_autoHeight))
        return;
    m_adjusting = true;
    const QFontMetrics metrics(font());
    const int flags = DrawFlags();
    QRect target = geometry();

    if (m_autoWidth) {
        // Measured without ellipsis: the label grows to the whole text.
        int textWidth = 0;
        for (const QString& line : m_caption.split(u'\n'))
            textWidth = qMax(textWidth, LineWidth(metrics, line, flags));
        const int newWidth = qBound(minimumWidth(), textWidth + kAutoWidthExtra, maximumWidth());
        // The edge the text is aligned to stays where it is.
        switch (m_alignment) {
        case taLeftJustify: target.setWidth(newWidth); break;
        case taRightJustify: target.setLeft(target.right() + 1 - newWidth); break;
        case taCenter: {
            const int centreTimesTwo = 2 * target.left() + target.width();
            target.setWidth(newWidth);
            target.moveLeft((centreTimesTwo - newWidth) / 2);
            break;
        }
        }
    }
    if (m_autoHeight) {
        const QString measured = m_caption.isEmpty() ? QStringLiteral(" ") : m_caption;
        const int wrapWidth = m_wordWrap ? qMax(1, target.width() - 2 * kSideMargin) : kUnbounded;
        const int textHeight = metrics.boundingRect(QRect(0, 0, wrapWidth, kUnbounded), flags, measured).height();
        const int newHeight = qBound(minimumHeight(), textHeight, maximumHeight());
        switch (m_layout) {
        case tlTop: target.setHeight(newHeight); break;
        case tlBottom: target.setTop(target.bottom() + 1 - newHeight); break;
        case tlCenter: {
            const int middleTimesTwo = 2 * target.top() + target.height();
            target.setHeight(newHeight);
            target.moveTop((middleTimesTwo - newHeight) / 2);
            break;
        }
        }
    }
    setGeometry(target);
    updateGeometry();
    m_adjusting = false;
}

void TXLabel::HideHint()
{
    if (m_hint != nullptr)
        m_hint->hide();
}
