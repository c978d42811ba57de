#pragma once

#include <QSvgRenderer>
#include <QWidget>

// Shows one vector drawing of the figure page, scaled to the widget and
// centred with its own aspect ratio, so that the lettering stays legible at
// any window size.
class TFigureView : public QWidget {
    Q_OBJECT

public:
    explicit TFigureView(QWidget* parent = nullptr);

    // False (and an empty view) when the drawing cannot be read.
    bool Load(const QString& fileName);
    bool IsLoaded() const { return m_renderer.isValid(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer m_renderer;
};
