#include "ImageList.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <array>
#include <memory>

namespace {

struct NumberedImage {
    int Index;
    const char* File;
};

constexpr std::array<NumberedImage, 13> Images{{
    {1, "img01-new.svg"},
    {2, "img02-copy.svg"},
    {3, "img03-delete.svg"},
    {4, "img04-calculation.svg"},
    {5, "img05-exit.svg"},
    {8, "img08-select.svg"},
    {9, "img09-bulgarian.svg"},
    {10, "img10-german.svg"},
    {11, "img11-english.svg"},
    {12, "img12-info.svg"},
    {13, "img13-millimetres.svg"},
    {14, "img14-inches.svg"},
    {15, "img15-copy-budget.svg"},
}};

// An icon drawn from an SVG file, read on the first request for a picture and
// rendered once per size and mode. Qt's own SVG icon engine reads and parses
// the file as soon as the icon is made.
class DeferredSvgIconEngine : public QIconEngine {
public:
    explicit DeferredSvgIconEngine(QString file) : m_file(std::move(file)) {}

    DeferredSvgIconEngine(const DeferredSvgIconEngine& other) : QIconEngine(other), m_file(other.m_file) {}

    QIconEngine* clone() const override { return new DeferredSvgIconEngine(*this); }

    QString key() const override { return QStringLiteral("DeferredSvgIconEngine"); }

    // The file is there (Image checked it); asking must not read it.
    bool isNull() override { return false; }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = scaledPixmap(rect.size(), mode, state, ratio);
        painter->drawPixmap(rect, picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize pixels = (QSizeF(size) * scale).toSize();
        if (pixels.isEmpty())
            return {};
        const QString cacheKey =
            QStringLiteral("%1x%2/%3").arg(pixels.width()).arg(pixels.height()).arg(static_cast<int>(mode));
        if (const auto found = m_pictures.constFind(cacheKey); found != m_pictures.constEnd())
            return *found;

        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (Renderer().isValid()) {
            QPainter painter(&image);
            Renderer().render(&painter);
        }
        QPixmap picture = QPixmap::fromImage(std::move(image));
        // Disabled and selected looks as the style makes them of any image.
        if (mode != QIcon::Normal && QApplication::style() != nullptr) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, picture, &option);
            if (!styled.isNull())
                picture = styled;
        }
        picture.setDevicePixelRatio(scale);
        m_pictures.insert(cacheKey, picture);
        return picture;
    }

private:
    QSvgRenderer& Renderer()
    {
        if (!m_renderer)
            m_renderer = std::make_unique<QSvgRenderer>(m_file);
        return *m_renderer;
    }

    QString m_file;
    std::unique_ptr<QSvgRenderer> m_renderer;
    QHash<QString, QPixmap> m_pictures;
};

} // namespace

QString ImageList::FileName(int index)
{
    for (const auto& image : Images) {
        if (image.Index == index)
            return QStringLiteral(":/images/") + QLatin1String(image.File);
    }
    return {};
}

QIcon ImageList::Image(int index) const
{
    return Drawing(FileName(index));
}

QIcon ImageList::Drawing(const QString& fileName)
{
    if (fileName.isEmpty() || !QFile::exists(fileName))
        return {};
    return QIcon(new DeferredSvgIconEngine(fileName));
}
