#include "FigureView.h"

#include <QFile>
#include <QPainter>

namespace {
// The drawings are made for this size.
constexpr int DrawingWidth = 340;
constexpr int DrawingHeight = 300;
} // namespace

TFigureView::TFigureView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

bool TFigureView::Load(const QString& fileName)
{
    // QSvgRenderer warns on a missing file; a drawing not yet there is normal.
    const bool there = QFile::exists(fileName);
    m_fileName = there ? fileName : QString();
    m_read = !there;
    if (!there)
        m_renderer.load(QByteArray());
    update();
    return there;
}

QSvgRenderer& TFigureView::Renderer() const
{
    if (!m_read) {
        m_read = true;
        if (!m_renderer.load(m_fileName))
            m_renderer.load(QByteArray());
    }
    return m_renderer;
}

bool TFigureView::IsLoaded() const
{
    return Renderer().isValid();
}

QSize TFigureView::sizeHint() const
{
    return {DrawingWidth, DrawingHeight};
}

QSize TFigureView::minimumSizeHint() const
{
    return {DrawingWidth / 4, DrawingHeight / 4};
}

void TFigureView::paintEvent(QPaintEvent*)
{
    QSvgRenderer& renderer = Renderer();
    if (!renderer.isValid())
        return;
    QSizeF drawing = renderer.viewBoxF().size();
    if (drawing.isEmpty())
        drawing = QSizeF(DrawingWidth, DrawingHeight);
    const QSizeF target = drawing.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF area((width() - target.width()) / 2.0, (height() - target.height()) / 2.0, target.width(),
                      target.height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, area);
}
