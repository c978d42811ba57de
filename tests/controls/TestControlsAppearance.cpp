#include <QDir>
#include <QPainter>
#include <QtTest>

#include "LabelHint.h"
#include "XLabel.h"
#include "ZStdCtrls.h"

// The widgets as a person sees them: a field with the focus, one without,
// a disabled one, result labels (one with a cut text and its hint) and a
// combo box. The picture is saved (ZEVKO_SCREENSHOT_DIR, else the temporary
// directory) for a look; the colours that matter are checked pixel by pixel.
class TestControlsAppearance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fieldBorders();
    void fieldTextIsRightAligned();
    void resultLabelEdges();
    void saveScreenshot();

private:
    QWidget* m_window = nullptr;
    TZFloatEdit* m_focused = nullptr;
    TZFloatEdit* m_plain = nullptr;
    TZFloatEdit* m_disabled = nullptr;
    TXLabel* m_cut = nullptr;
    TXLabel* m_empty = nullptr;
    TXLabel* m_disabledLabel = nullptr;
    TZComboBox* m_combo = nullptr;
};

void TestControlsAppearance::initTestCase()
{
    SetZDecimalSeparator(',');
    m_window = new QWidget;
    m_window->resize(300, 135);
    m_window->setAutoFillBackground(true);
    QPalette face = m_window->palette();
    face.setColor(QPalette::Window, ColorFromWin(wincolor::clBtnFace));
    m_window->setPalette(face);

    const auto makeField = [this](int y, const QString& text) {
        auto* field = new TZFloatEdit(m_window);
        field->SetValueType(vt_Float);
        field->SetDecimal(0);
        field->SetMaxValue(100);
        field->SetText(text);
        field->SetDisabledColor(wincolor::clWindow);
        field->move(10, y);
        return field;
    };
    m_focused = makeField(10, "1,5");
    m_plain = makeField(40, "30");
    m_disabled = makeField(70, "0,86603");
    m_disabled->setEnabled(false);

    const auto makeLabel = [this](int y, const QString& caption) {
        auto* label = new TXLabel(m_window);
        label->setGeometry(150, y, 105, 17);
        label->SetAlignment(taRightJustify);
        label->SetBevel(lbLowered);
        label->SetColor(ColorFromWin(wincolor::clBtnFace));
        label->SetCaption(caption);
        return label;
    };
    m_cut = makeLabel(10, "8165658812345,12345678 mm");
    m_empty = makeLabel(40, QString());
    m_disabledLabel = makeLabel(70, "9,02501");
    m_disabledLabel->setEnabled(false);

    m_combo = new TZComboBox(m_window);
    m_combo->addItems({"Steel", "Ruby"});
    m_combo->setGeometry(10, 100, 121, 21);

    m_window->show();
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_focused->setFocus();
    QVERIFY(m_focused->hasFocus());
}

void TestControlsAppearance::cleanupTestCase()
{
    delete m_window;
}

void TestControlsAppearance::fieldBorders()
{
    const QImage focused = m_focused->grab().toImage();
    const QImage plain = m_plain->grab().toImage();
    const QImage disabled = m_disabled->grab().toImage();
    const QColor window = ColorFromWin(wincolor::clWindow);
    for (const QPoint corner : {QPoint(0, 0), QPoint(120, 19), QPoint(60, 0), QPoint(0, 10)}) {
        QCOMPARE(focused.pixelColor(corner), QColor(247, 176, 70));
        QCOMPARE(plain.pixelColor(corner), QColor(101, 138, 171));
        QCOMPARE(disabled.pixelColor(corner), ColorFromWin(wincolor::clBtnShadow));
    }
    // Two rings inside the border: the field's colour, the outer one white
    // while disabled; a disabled field keeps the window colour given to it.
    QCOMPARE(focused.pixelColor(1, 1), window);
    QCOMPARE(focused.pixelColor(2, 2), window);
    QCOMPARE(disabled.pixelColor(1, 1), QColor(Qt::white));
    QCOMPARE(disabled.pixelColor(2, 2), window);
    QCOMPARE(disabled.pixelColor(10, 10), window);
}

void TestControlsAppearance::fieldTextIsRightAligned()
{
    const QImage image = m_plain->grab().toImage();
    const QColor background = ColorFromWin(wincolor::clWindow);
    int leftmost = image.width();
    int rightmost = -1;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            if (image.pixelColor(x, y) != background) {
                leftmost = qMin(leftmost, x);
                rightmost = qMax(rightmost, x);
            }
        }
    }
    QVERIFY(rightmost >= 0);
    QVERIFY2(rightmost >= image.width() - 10, qPrintable(QString::number(rightmost)));
    QVERIFY(leftmost > image.width() / 2);
}

void TestControlsAppearance::resultLabelEdges()
{
    const QColor shadow = ColorFromWin(wincolor::clBtnShadow);
    const QColor light = ColorFromWin(wincolor::clBtnHighlight);
    const QColor face = ColorFromWin(wincolor::clBtnFace);
    QVERIFY(shadow != light);
    for (TXLabel* label : {m_cut, m_empty}) {
        const QImage image = label->grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), shadow);
        QCOMPARE(image.pixelColor(50, 0), shadow);
        QCOMPARE(image.pixelColor(0, 10), shadow);
        QCOMPARE(image.pixelColor(104, 10), light);
        QCOMPARE(image.pixelColor(50, 16), light);
        QCOMPARE(image.pixelColor(104, 16), light);
    }
    // An empty caption shows only the edge.
    const QImage empty = m_empty->grab().toImage();
    for (int y = 1; y < 16; ++y)
        for (int x = 1; x < 104; ++x)
            QCOMPARE(empty.pixelColor(x, y), face);
    // A disabled label draws its text in the shadow colour over a light copy.
    const QImage disabled = m_disabledLabel->grab().toImage();
    bool shadowText = false;
    bool lightText = false;
    for (int y = 1; y < 16; ++y) {
        for (int x = 1; x < 104; ++x) {
            shadowText = shadowText || disabled.pixelColor(x, y) == shadow;
            lightText = lightText || disabled.pixelColor(x, y) == light;
        }
    }
    QVERIFY(shadowText && lightText);
    QVERIFY(m_cut->VisibleCaption() != m_cut->Caption());
}

void TestControlsAppearance::saveScreenshot()
{
    const QImage plain = m_window->grab().toImage();
    // The hint over the cut label, as the mouse would bring it.
    const QPointF local(50, 8);
    QEnterEvent enter(local, local, m_cut->mapToGlobal(local));
    QApplication::sendEvent(m_cut, &enter);
    QVERIFY(m_cut->HintVisible());
    const QImage hint = m_cut->Hint()->grab().toImage();
    QCOMPARE(hint.pixelColor(0, 0), QColor(Qt::black));

    const QImage window = m_window->grab().toImage();
    // Left the window as it is, right with the hint over the label.
    const QPoint overLabel = m_cut->Hint()->geometry().topLeft() - m_window->mapToGlobal(QPoint(0, 0));
    const int right = qMax(window.width(), overLabel.x() + hint.width());
    QImage shot(window.width() + 4 + right, window.height(), QImage::Format_RGB32);
    shot.fill(Qt::darkGray);
    QPainter painter(&shot);
    painter.drawImage(0, 0, plain);
    painter.drawImage(window.width() + 4, 0, window);
    painter.drawImage(overLabel + QPoint(window.width() + 4, 0), hint);
    painter.end();

    QString dir = qEnvironmentVariable("ZEVKO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QString path = QDir(dir).filePath("zevko-controls.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot: %s", qPrintable(path));
}

QTEST_MAIN(TestControlsAppearance)
#include "TestControlsAppearance.moc"
