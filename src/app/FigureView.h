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

    // False (and an empty view) when there is no such drawing. The drawing
    // is read when it is first drawn or asked about, so a page or a side
    // not shown costs nothing.
    bool Load(const QString& fileName);
    // Whether the drawing could be read (reads it now if it is still waiting).
    bool IsLoaded() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Reads the drawing if it is still waiting.
    QSvgRenderer& Renderer() const;

    QString m_fileName;
    mutable bool m_read = true;
    mutable QSvgRenderer m_renderer;
};
