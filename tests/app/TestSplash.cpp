// The about window: its outline from the picture's non-yellow pixels, the
// picture painted unchanged, the texts and their places, the title rule, and
// closing by a click or by Escape.

#include "SrDiam.h"
#include "Splash.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb Yellow = qRgb(255, 255, 0);

// The outline by its definition: the whole rectangle less every yellow pixel,
// one pixel at a time.
QRegion PixelByPixel(const QImage& picture)
{
    QRegion region(0, 0, picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFFu) == (Yellow & 0xFFFFFFu))
                region -= QRegion(x, y, 1, 1);
    return region;
}

// A picture from rows of characters: 'Y' pure yellow, '.' white, and a few
// colours next to yellow that belong to the window.
QImage Picture(const QStringList& rows)
{
    QImage image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            switch (rows[y][x].toLatin1()) {
            case 'Y': image.setPixel(x, y, Yellow); break;
            case 'r': // red one short of yellow
                image.setPixel(x, y, qRgb(254, 255, 0));
                break;
            case 'g': // green one short
                image.setPixel(x, y, qRgb(255, 254, 0));
                break;
            case 'b': // blue one over
                image.setPixel(x, y, qRgb(255, 255, 1));
                break;
            default: image.setPixel(x, y, qRgb(255, 255, 255)); break;
            }
        }
    }
    return image;
}

void VerifyRegionIsExactlyNonYellow(const QRegion& region, const QImage& picture)
{
    for (int y = -1; y <= picture.height(); ++y) {
        for (int x = -1; x <= picture.width(); ++x) {
            const bool inside = x >= 0 && y >= 0 && x < picture.width() && y < picture.height();
            const bool expected = inside && (picture.pixel(x, y) & 0xFFFFFFu) != (Yellow & 0xFFFFFFu);
            QVERIFY2(region.contains(QPoint(x, y)) == expected,
                     qPrintable(u"pixel %1,%2 should be %3"_s.arg(x).arg(y).arg(expected ? "in" : "out")));
        }
    }
}

// Opens the about window modally, runs `whileOpen` on it once it is shown,
// and returns the result of the modal loop (-1 when it did not end in time).
int RunModal(const std::function<void(TfrmSplash&)>& whileOpen)
{
    TfrmSplash splash;
    QTimer::singleShot(0, &splash, [&] {
        if (QTest::qWaitForWindowExposed(&splash))
            whileOpen(splash);
    });
    // A watchdog so that a window that ignores the user fails the test
    // instead of hanging it.
    QTimer::singleShot(5000, &splash, [&] { splash.done(-1); });
    return splash.exec();
}

} // namespace

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void ShapeRegionHoldsExactlyTheNonYellowPixels_data();
    void ShapeRegionHoldsExactlyTheNonYellowPixels();
    void WindowIsShapedSizedAndPaintedAsThePicture();
    void TextsAndTheirPlaces();
    void TitleNamesTheSuiteWhileTheMainWindowIsOpen();
    void ClickOrEscapeCloses_data();
    void ClickOrEscapeCloses();
};

void TestSplash::ShapeRegionHoldsExactlyTheNonYellowPixels_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("no yellow") << QStringList{u"...."_s, u"...."_s};
    QTest::newRow("all yellow") << QStringList{u"YYY"_s, u"YYY"_s};
    QTest::newRow("one pixel") << QStringList{u"."_s};
    QTest::newRow("one yellow pixel") << QStringList{u"Y"_s};
    QTest::newRow("checkerboard") << QStringList{u"Y.Y.Y"_s, u".Y.Y."_s, u"Y.Y.Y"_s, u".Y.Y."_s};
    QTest::newRow("corners cut, as the picture's")
        << QStringList{u"YY....YY"_s, u"Y......Y"_s, u"........"_s, u"........"_s, u"Y......Y"_s, u"YY....YY"_s};
    QTest::newRow("hole and equal rows") << QStringList{u"......"_s, u"..YY.."_s, u"..YY.."_s, u"......"_s,
                                                        u"......"_s};
    QTest::newRow("empty rows between") << QStringList{u".Y.."_s, u"YYYY"_s, u"YYYY"_s, u".Y.."_s, u"YYYY"_s};
    QTest::newRow("near-yellow belongs to the window") << QStringList{u"YrY"_s, u"gYb"_s, u"YYY"_s, u"rgb"_s};
    QTest::newRow("runs at both edges") << QStringList{u".YY.Y."_s, u"..Y..."_s, u"Y....Y"_s};
}

void TestSplash::ShapeRegionHoldsExactlyTheNonYellowPixels()
{
    QFETCH(QStringList, rows);
    const QImage picture = Picture(rows);
    const QRegion region = TfrmSplash::ShapeRegion(picture);
    VerifyRegionIsExactlyNonYellow(region, picture);
    QCOMPARE(region, PixelByPixel(picture));
}

void TestSplash::WindowIsShapedSizedAndPaintedAsThePicture()
{
    const QImage picture = QImage(TfrmSplash::PictureFile()).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(433, 223));
    // The real picture has cut-outs, or the outline would prove nothing.
    const QRegion outline = TfrmSplash::ShapeRegion(picture);
    QVERIFY(outline != QRegion(picture.rect()));
    VerifyRegionIsExactlyNonYellow(outline, picture);
    QCOMPARE(outline, PixelByPixel(picture));

    TfrmSplash splash;
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.size(), picture.size());
    QCOMPARE(splash.mask(), outline);

    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage shown = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), picture.size());
    // Outside the two labels every pixel of the window is the picture's.
    QRegion pictureOnly = outline;
    for (const char* name : {"Label3", "Label2"})
        pictureOnly -= splash.findChild<QLabel*>(QString::fromLatin1(name))->geometry();
    int compared = 0;
    for (const QRect& rect : pictureOnly)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x, ++compared)
                if (shown.pixel(x, y) != picture.pixel(x, y))
                    QFAIL(qPrintable(u"pixel %1,%2 differs from the picture"_s.arg(x).arg(y)));
    QVERIFY(compared > 433 * 223 / 2);
}

void TestSplash::TextsAndTheirPlaces()
{
    TfrmSplash splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));

    const auto* label3 = splash.findChild<QLabel*>(u"Label3"_s);
    const auto* label2 = splash.findChild<QLabel*>(u"Label2"_s);
    QVERIFY(label3 && label2);
    QCOMPARE(label3->geometry(), QRect(211, 54, 218, 48));
    QCOMPARE(label2->geometry(), QRect(212, 142, 210, 52));
    QVERIFY(label3->font().bold());
    QVERIFY(!label2->font().bold());

    const QStringList title = label3->text().split(u'\n');
    QCOMPARE(title.size(), 3);
    QCOMPARE(title.mid(1).join(u'\n'), TfrmSplash::RightsLines());
    QVERIFY(title[1].contains(u"Zevko"_s));
    const QStringList contact = label2->text().split(u'\n');
    QCOMPARE(contact.size(), 4);
    QVERIFY(contact[2].contains(u'@'));

    // Every line fits its label: nothing is cut off.
    for (const QLabel* label : {label3, label2}) {
        const QFontMetrics metrics(label->font());
        const QStringList lines = label->text().split(u'\n');
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
        QVERIFY(metrics.lineSpacing() * lines.size() <= label->height());
    }
}

void TestSplash::TitleNamesTheSuiteWhileTheMainWindowIsOpen()
{
    const auto titleShown = [] {
        TfrmSplash splash;
        splash.show();
        if (!QTest::qWaitForWindowExposed(&splash))
            return u"<not shown>"_s;
        return splash.findChild<QLabel*>(u"Label3"_s)->text().section(u'\n', 0, 0);
    };
    QCOMPARE(titleShown(), u"Zevko Thread - PD 1.1"_s);
    {
        // Opened from the program's window, as the Info command does.
        TfrmSrDiam window;
        QCOMPARE(titleShown(), u"Zevko Thread and Guages 4.1"_s);
    }
    QCOMPARE(titleShown(), u"Zevko Thread - PD 1.1"_s);
}

void TestSplash::ClickOrEscapeCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click on the picture") << u"picture"_s;
    QTest::newRow("click on the title") << u"Label3"_s;
    QTest::newRow("click on the contacts") << u"Label2"_s;
    QTest::newRow("Escape") << u"escape"_s;
}

void TestSplash::ClickOrEscapeCloses()
{
    QFETCH(QString, how);
    const int result = RunModal([&](TfrmSplash& splash) {
        if (how == u"escape"_s) {
            QTest::keyClick(&splash, Qt::Key_Escape);
            return;
        }
        // Through the window, as the system delivers a click: it reaches the
        // label under the pointer, which lets it through to the window.
        QPoint at(100, 180); // on the bolt, left of the card
        if (how != u"picture"_s)
            at = splash.findChild<QLabel*>(how)->geometry().center();
        QVERIFY(splash.mask().contains(at));
        QTest::mouseClick(splash.windowHandle(), Qt::LeftButton, {}, at);
    });
    QVERIFY2(result != -1, "the window did not close");
}

QTEST_MAIN(TestSplash)
#include "TestSplash.moc"
