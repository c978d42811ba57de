#pragma once

#include <QWidget>

// The window that shows a label's whole text over the label: the hint
// colours, a black one-pixel frame, and transparent for the mouse so that
// the label under it keeps the mouse (else it would hide the hint at once).
class TLabelHint : public QWidget {
    Q_OBJECT

public:
    explicit TLabelHint(QWidget* owner);

    // The size the hint needs for `caption` in `font`: the text wrapped to at
    // most the screen width, plus 6 pixels in width and 2 in height.
    static QRect CalcHintRect(const QString& caption, const QFont& font, int maxWidth);

    void ActivateHint(const QRect& screenRect, const QString& caption, const QFont& font);
    QString Caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};
