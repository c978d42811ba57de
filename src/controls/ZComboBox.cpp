#include "ZComboBox.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

TZComboBox::TZComboBox(QWidget* parent) : QComboBox(parent)
{
    setMaxVisibleItems(8);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, &TZComboBox::OnActivated);
}

void TZComboBox::SetBorderColor(quint32 windowsColour)
{
    m_borderColor = windowsColour;
    update();
}

void TZComboBox::SetBorderSelected(quint32 windowsColour)
{
    m_borderSelected = windowsColour;
    update();
}

void TZComboBox::SetItemIndex(int index)
{
    // QComboBox reports code changes through currentIndexChanged only, never
    // through activated, so nothing reaches OnChange.
    setCurrentIndex(index);
}

void TZComboBox::OnActivated(int index)
{
    const bool changed = index != m_indexBeforeChoice;
    m_indexBeforeChoice = index;
    if (changed)
        emit OnChange();
}

void TZComboBox::showPopup()
{
    m_indexBeforeChoice = currentIndex();
    QComboBox::showPopup();
}

void TZComboBox::keyPressEvent(QKeyEvent* event)
{
    m_indexBeforeChoice = currentIndex();
    QComboBox::keyPressEvent(event);
}

void TZComboBox::wheelEvent(QWheelEvent* event)
{
    m_indexBeforeChoice = currentIndex();
    QComboBox::wheelEvent(event);
}

void TZComboBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    QPainter painter(this);
    QColor border;
    if (!isEnabled())
        border = ColorFromWin(wincolor::clBtnShadow);
    else
        border = ColorFromWin(hasFocus() ? m_borderSelected : m_borderColor);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TZComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    update();
}

void TZComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    update();
}
