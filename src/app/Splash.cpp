#include "Splash.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr QRgb CutOutColor = 0xFFFF00; // pure yellow: not part of the window

bool IsCutOut(QRgb pixel)
{
    return (pixel & 0xFFFFFFu) == CutOutColor;
}

// The runs [begin, end) of one row's window pixels, left to right.
void RowRuns(const QRgb* row, int width, std::vector<std::pair<int, int>>& runs)
{
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && IsCutOut(row[x]))
            ++x;
        if (x == width)
            break;
        const int begin = x;
        while (x < width && !IsCutOut(row[x]))
            ++x;
        runs.emplace_back(begin, x);
    }
}

// Shrinks a label's font until every line fits the label, so that no line is
// cut off on a system whose fonts run wider than the picture was drawn for.
void FitFont(QLabel* label)
{
    QFont font = label->font();
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    while (font.pointSizeF() > 6.0) {
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= label->width() && metrics.lineSpacing() * lines.size() <= label->height())
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    // Transparent over the picture, and a click on it is a click on the
    // window, which closes it.
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = label->font();
    font.setPointSize(bold ? 10 : 8);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    // Never shown in a frame, but named for task lists and screen readers.
    setWindowTitle(QStringLiteral("About Zevko Thread - PD"));
    setModal(true);
    QFont formFont(QStringLiteral("DejaVu Sans"));
    formFont.setPointSize(8);
    setFont(formFont);
    Label3 = MakeLabel(this, "Label3", QRect(211, 54, 218, 48), true);
    Label2 = MakeLabel(this, "Label2", QRect(212, 142, 210, 52), false);
    FormCreate();
}

TfrmSplash::~TfrmSplash() = default;

QString TfrmSplash::PictureFile()
{
    return QStringLiteral(":/images/splash.png");
}

QString TfrmSplash::RightsLines()
{
    return QStringLiteral("Copyright \u00A9 Zevko Ltd.\nAll rights reserved.");
}

QString TfrmSplash::ContactLines()
{
    return QStringLiteral("Zevko Ltd., 1000 Sofia, Bulgaria\n"
                          "Tel. +359 2 963 45 10, fax +359 2 963 45 11\n"
                          "E-mail: office@zevko.bg\n"
                          "Web: www.zevko.bg");
}

void TfrmSplash::FormCreate()
{
    const QImage picture(PictureFile());
    Bitmap = QPixmap::fromImage(picture);
    // The picture is painted pixel for pixel, so the window is exactly its size.
    setFixedSize(picture.size());
    setMask(ShapeRegion(picture));

    Label2->setText(ContactLines());
    FitFont(Label2);

    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    update();
}

QRegion TfrmSplash::ShapeRegion(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();

    // One rectangle per run of window pixels in a row, with the rows of equal
    // runs joined into one band: the banded form a region keeps internally,
    // so the region is built in one step rather than one operation per pixel.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> bandRuns;
    std::vector<std::pair<int, int>> runs;
    int bandTop = 0;
    const auto closeBand = [&](int bottom) {
        for (const auto& [begin, end] : bandRuns)
            rects.emplace_back(begin, bandTop, end - begin, bottom - bandTop);
    };
    for (int y = 0; y < height; ++y) {
        RowRuns(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, runs);
        if (y > 0 && runs == bandRuns)
            continue;
        closeBand(y);
        bandRuns.swap(runs);
        bandTop = y;
    }
    closeBand(height);

    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

void TfrmSplash::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmSplash::FormShow()
{
    // The title names the suite when the program's main window is open.
    bool mainWindowOpen = false;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        mainWindowOpen = mainWindowOpen || widget->inherits("TfrmSrDiam");
    Label3->setText((mainWindowOpen ? SuiteTitle() : ModuleTitle()) + QLatin1Char('\n') + RightsLines());
    FitFont(Label3);
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.drawPixmap(0, 0, Bitmap);
}

void TfrmSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    FormClick();
}

void TfrmSplash::FormClick()
{
    accept();
}
