#include <QEnterEvent>
#include <QLineEdit>
#include <QWindow>
#include <QSignalSpy>
#include <QtTest>

#include "LabelHint.h"
#include "XLabel.h"
#include "ZStdCtrls.h"

Q_DECLARE_METATYPE(TShowEllipsis)

namespace {
const QChar kEllipsis(0x2026);

// A window holding one result label as the program shows them:
// 105 x 17, right-aligned, lowered, hints on.
struct LabelWindow {
    QWidget window;
    TXLabel* label;

    LabelWindow()
    {
        window.resize(300, 100);
        label = new TXLabel(&window);
        label->setGeometry(20, 30, 105, 17);
        label->SetAlignment(taRightJustify);
        label->SetBevel(lbLowered);
        label->SetHintShow(true);
    }

    bool Show()
    {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    void Enter()
    {
        const QPointF local(label->width() / 2.0, label->height() / 2.0);
        QEnterEvent enter(local, local, label->mapToGlobal(local));
        QApplication::sendEvent(label, &enter);
    }

    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
    }
};

// Width of a text as the label lays it out (one line).
int TextWidth(const TXLabel* label, const QString& text)
{
    return QFontMetrics(label->font()).boundingRect(QRect(0, 0, 10000, 1000), Qt::AlignLeft, text).width();
}

// Digits until the text is as wide as `pixels` or just wider.
QString TextOfWidth(const TXLabel* label, int pixels)
{
    QString text;
    while (TextWidth(label, text) < pixels)
        text += QChar(char16_t(u'0' + text.size() % 10));
    return text;
}
} // namespace

class TestXLabel : public QObject {
    Q_OBJECT

private slots:
    void cutTextShowsWholeTextInHint_data();
    void cutTextShowsWholeTextInHint();
    void hintAppearsExactlyWhenTheTextIsCut();
    void hintFollowsTheMouseAndTheText();
    void hintStaysUpAndNeverTakesThePointerOrTheFocus();
    void pathEllipsisKeepsTheFileName();
    void coupledSettings();
    void autoSizeKeepsTheAlignedEdge_data();
    void autoSizeKeepsTheAlignedEdge();
    void autoHeightKeepsTheLayoutEdge();
    void drawTextHandlerGetsTheLaidOutRectangle_data();
    void drawTextHandlerGetsTheLaidOutRectangle();
    void drawTextHandlerDecidesOnDefaultDrawing();
    void acceleratorFocusesTheControl();
};

void TestXLabel::cutTextShowsWholeTextInHint_data()
{
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<TShowEllipsis>("ellipsis");
    QTest::addColumn<bool>("hintShow");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("hint");

    QTest::newRow("wide text") << 140 << teAuto << true << true << true;
    QTest::newRow("wide text, teYes") << 140 << teYes << true << true << true;
    QTest::newRow("fitting text") << 80 << teAuto << true << false << false;
    QTest::newRow("wide, teNone clips") << 140 << teNone << true << false << false;
    QTest::newRow("wide, hints off") << 140 << teAuto << false << true << false;
    QTest::newRow("empty caption") << 0 << teAuto << true << false << false;
}

void TestXLabel::cutTextShowsWholeTextInHint()
{
    QFETCH(int, textWidth);
    QFETCH(TShowEllipsis, ellipsis);
    QFETCH(bool, hintShow);
    QFETCH(bool, cut);
    QFETCH(bool, hint);

    LabelWindow w;
    const QString caption = textWidth > 0 ? TextOfWidth(w.label, textWidth) : QString();
    w.label->SetCaption(caption);
    w.label->SetShowTextEllipsis(ellipsis);
    w.label->SetHintShow(hintShow);
    QVERIFY(w.Show());

    const QString visible = w.label->VisibleCaption();
    QCOMPARE(visible != caption, cut);
    if (cut) {
        QVERIFY(visible.endsWith(kEllipsis));
        QVERIFY(caption.startsWith(visible.chopped(1)));
        QVERIFY(TextWidth(w.label, visible) <= 99);
    }

    QSignalSpy entered(w.label, &TXLabel::OnMouseEnter);
    w.Enter();
    QCOMPARE(entered.count(), 1);
    QCOMPARE(w.label->HintVisible(), hint);
    if (hint) {
        TLabelHint* window = w.label->Hint();
        QCOMPARE(window->Caption(), caption);
        QCOMPARE(window->geometry().topLeft(), w.label->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(window->width(), TextWidth(w.label, caption) + 6);
        QCOMPARE(window->height(), QFontMetrics(w.label->font()).height() + 2);
    }
}

void TestXLabel::hintAppearsExactlyWhenTheTextIsCut()
{
    // Around the 99 pixels between the margins, the hint and the ellipsis
    // must agree on every width.
    LabelWindow w;
    QVERIFY(w.Show());
    QString caption = TextOfWidth(w.label, 90);
    int cutSeen = 0;
    int wholeSeen = 0;
    while (TextWidth(w.label, caption) <= 110) {
        w.label->SetCaption(caption);
        w.Enter();
        const bool cut = w.label->VisibleCaption() != caption;
        QCOMPARE(w.label->HintVisible(), cut);
        QCOMPARE(cut, TextWidth(w.label, caption) > 99);
        (cut ? cutSeen : wholeSeen)++;
        w.Leave();
        caption += u'1';
    }
    QVERIFY(cutSeen > 0 && wholeSeen > 0);
}

void TestXLabel::hintFollowsTheMouseAndTheText()
{
    LabelWindow w;
    w.label->SetCaption(TextOfWidth(w.label, 150));
    QVERIFY(w.Show());
    QSignalSpy left(w.label, &TXLabel::OnMouseLeave);
    w.Enter();
    QVERIFY(w.label->HintVisible());
    TLabelHint* first = w.label->Hint();
    QVERIFY(first->testAttribute(Qt::WA_TransparentForMouseEvents));
    w.Leave();
    QCOMPARE(left.count(), 1);
    QVERIFY(!w.label->HintVisible());

    // One hint window per label, used again.
    w.Enter();
    QCOMPARE(w.label->Hint(), first);
    QVERIFY(w.label->HintVisible());
    // A new text takes the old one's hint away.
    w.label->SetCaption("1.5");
    QVERIFY(!w.label->HintVisible());

    w.Enter();
    QVERIFY(!w.label->HintVisible());
    w.label->SetCaption(TextOfWidth(w.label, 150));
    w.Enter();
    w.label->hide();
    QVERIFY(!w.label->HintVisible());
}

namespace {
// Counts the show and hide events a widget receives.
struct ShowCounter : QObject {
    int shows = 0;
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        shows += event->type() == QEvent::Show ? 1 : 0;
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};
} // namespace

void TestXLabel::hintStaysUpAndNeverTakesThePointerOrTheFocus()
{
    LabelWindow w;
    auto* field = new QLineEdit(&w.window);
    field->move(20, 60);
    w.label->SetCaption(TextOfWidth(w.label, 150));
    QVERIFY(w.Show());
    field->setFocus();
    QVERIFY(field->hasFocus());

    w.Enter();
    TLabelHint* hint = w.label->Hint();
    QVERIFY(hint != nullptr && hint->isVisible());
    // The pointer passes through to the label and the hint is never
    // activated, on every platform: the flags the platform window gets.
    const Qt::WindowFlags flags = hint->windowHandle()->flags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::ToolTip);
    QVERIFY(flags.testFlag(Qt::WindowTransparentForInput));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    // The X11 platform recreates a tooltip window without these two, and
    // the recreated one takes the pointer.
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::X11BypassWindowManagerHint));
    QVERIFY(hint->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(hint->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(hint->focusPolicy(), Qt::NoFocus);
    QCOMPARE(QApplication::activeWindow(), &w.window);
    QVERIFY(field->hasFocus());

    // Moving over the label, and another Enter, leave the hint as it is.
    ShowCounter counter;
    hint->installEventFilter(&counter);
    for (int x = 2; x < w.label->width(); x += 7)
        QTest::mouseMove(w.label, QPoint(x, 8));
    w.Enter();
    QCoreApplication::processEvents();
    QCOMPARE(counter.shows, 0);
    QCOMPARE(counter.hides, 0);
    QVERIFY(hint->isVisible());

    w.Leave();
    QCOMPARE(counter.hides, 1);
    QVERIFY(!hint->isVisible());
    QCOMPARE(QApplication::activeWindow(), &w.window);
    QVERIFY(field->hasFocus());
}

void TestXLabel::pathEllipsisKeepsTheFileName()
{
    LabelWindow w;
    w.label->resize(160, 17);
    w.label->SetAlignment(taLeftJustify);
    w.label->SetShowTypeEllipsis(etPath);
    const QString path = "C:\\Program Files\\A rather long directory name\\Zevko\\DEZADIRE.INI";
    w.label->SetCaption(path);
    const QString shown = w.label->VisibleCaption();
    QVERIFY2(shown.endsWith("\\DEZADIRE.INI"), qPrintable(shown));
    QVERIFY(shown.startsWith("C:\\"));
    QVERIFY(shown.contains(kEllipsis));
    QVERIFY(TextWidth(w.label, shown) <= 154);

    w.label->SetShowTypeEllipsis(etEnd);
    QVERIFY(w.label->VisibleCaption().endsWith(kEllipsis));
}

void TestXLabel::coupledSettings()
{
    {
        TXLabel label;
        QCOMPARE(label.ShowTextEllipsis(), teAuto);
        label.SetWordWrap(true);
        QVERIFY(label.WordWrap());
        QCOMPARE(label.ShowTextEllipsis(), teNone);
        label.SetShowTextEllipsis(teYes);
        QVERIFY(label.WordWrap());
        label.SetShowTextEllipsis(teNone); // switches word wrap off
        QVERIFY(!label.WordWrap());
    }
    {
        TXLabel label;
        label.SetShowTextEllipsis(teYes);
        label.SetAutoWidth(true); // no maximum width: teAuto
        QCOMPARE(label.ShowTextEllipsis(), teAuto);
        label.SetShowTextEllipsis(teNone); // and back: AutoWidth off
        QVERIFY(!label.AutoWidth());
    }
    {
        TXLabel label;
        label.setMaximumWidth(200); // a maximum width uncouples AutoWidth
        label.SetShowTextEllipsis(teYes);
        label.SetAutoWidth(true);
        QCOMPARE(label.ShowTextEllipsis(), teYes);
        label.SetShowTextEllipsis(teNone);
        QVERIFY(label.AutoWidth());
    }
}

void TestXLabel::autoSizeKeepsTheAlignedEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("fixedX"); // the x that must stay: left, centre * 2 or right + 1
    QTest::newRow("left") << int(taLeftJustify) << 20;
    QTest::newRow("centre") << int(taCenter) << 2 * 20 + 105;
    QTest::newRow("right") << int(taRightJustify) << 20 + 105;
}

void TestXLabel::autoSizeKeepsTheAlignedEdge()
{
    QFETCH(int, alignment);
    QFETCH(int, fixedX);
    LabelWindow w;
    w.label->SetAlignment(TAlignment(alignment));
    w.label->SetCaption("12.34567");
    w.label->SetAutoWidth(true);
    const auto check = [&](const QString& caption) {
        w.label->SetCaption(caption);
        const QRect g = w.label->geometry();
        QCOMPARE(g.width(), TextWidth(w.label, caption) + 8);
        const int x = alignment == taLeftJustify ? g.left()
                      : alignment == taCenter    ? 2 * g.left() + g.width()
                                                 : g.right() + 1;
        QVERIFY2(qAbs(x - fixedX) <= 1, qPrintable(QString("edge %1, expected %2").arg(x).arg(fixedX)));
        QCOMPARE(g.top(), 30);
        QCOMPARE(g.height(), 17);
    };
    check("12.34567");
    check(TextOfWidth(w.label, 200)); // wider than before: measured whole, no ellipsis
    QCOMPARE(w.label->VisibleCaption(), w.label->Caption());
    check("1");
    QFont bigger = w.label->font();
    bigger.setPointSize(bigger.pointSize() * 2);
    w.label->setFont(bigger);
    QCOMPARE(w.label->width(), TextWidth(w.label, "1") + 8);
}

void TestXLabel::autoHeightKeepsTheLayoutEdge()
{
    LabelWindow w;
    w.label->setGeometry(20, 30, 105, 60);
    w.label->SetLayout(tlBottom);
    w.label->SetCaption("12.5");
    w.label->SetAutoHeight(true);
    const int lineHeight = QFontMetrics(w.label->font()).height();
    QCOMPARE(w.label->height(), lineHeight);
    QCOMPARE(w.label->geometry().bottom(), 89);
    w.label->SetCaption("12.5\n13.5");
    QCOMPARE(w.label->geometry().bottom(), 89);
    QVERIFY(w.label->height() > lineHeight);

    w.label->SetLayout(tlTop);
    w.label->SetCaption("1");
    const int top = w.label->geometry().top();
    w.label->SetCaption("1\n2\n3");
    QCOMPARE(w.label->geometry().top(), top);
}

void TestXLabel::drawTextHandlerGetsTheLaidOutRectangle_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("shift"); // in units of (height - text height), halved for centre
    QTest::newRow("top") << int(tlTop) << 0;
    QTest::newRow("centre") << int(tlCenter) << 1;
    QTest::newRow("bottom") << int(tlBottom) << 2;
}

void TestXLabel::drawTextHandlerGetsTheLaidOutRectangle()
{
    QFETCH(int, layout);
    QFETCH(int, shift);
    LabelWindow w;
    w.label->resize(105, 40);
    w.label->SetLayout(TTextLayout(layout));
    w.label->SetCaption("9.02501");
    int calls = 0;
    QRect seen;
    QString caption;
    w.label->SetOnDrawText([&](TXLabel*, QPainter&, const QString& text, QRect& rect, int&, bool&) {
        ++calls;
        seen = rect;
        caption = text;
    });
    w.label->grab();
    QCOMPARE(calls, 1);
    QCOMPARE(caption, QString("9.02501"));
    const int free = 40 - QFontMetrics(w.label->font()).height();
    const int top = shift == 0 ? 0 : shift == 1 ? free / 2 : free;
    QCOMPARE(seen, QRect(3, top, 99, 40));
}

void TestXLabel::drawTextHandlerDecidesOnDefaultDrawing()
{
    LabelWindow w;
    w.label->SetCaption("9.02501");
    const QImage withText = w.label->grab().toImage();
    w.label->SetCaption(QString());
    const QImage empty = w.label->grab().toImage();
    QVERIFY(withText != empty);

    w.label->SetCaption("9.02501");
    bool drawDefault = false;
    w.label->SetOnDrawText([&](TXLabel*, QPainter&, const QString&, QRect&, int&, bool& flag) { flag = drawDefault; });
    QCOMPARE(w.label->grab().toImage(), empty);
    drawDefault = true;
    QCOMPARE(w.label->grab().toImage(), withText);
}

void TestXLabel::acceleratorFocusesTheControl()
{
    QWidget window;
    window.resize(300, 100);
    auto* other = new TZFloatEdit(&window);
    other->move(150, 50);
    auto* field = new TZFloatEdit(&window);
    field->move(150, 10);
    auto* label = new TXLabel(&window);
    label->setGeometry(10, 10, 100, 17);
    label->SetCaption("&Pitch");
    label->SetFocusControl(field);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(label->VisibleCaption(), QString("&Pitch"));

    const auto pressAltP = [&] {
        other->setFocus();
        QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
        return field->hasFocus();
    };
    QVERIFY(pressAltP());
    label->setEnabled(false);
    QVERIFY(!pressAltP());
    label->setEnabled(true);
    label->SetShowAccelChar(false);
    QVERIFY(!pressAltP());
    label->SetShowAccelChar(true);
    field->setEnabled(false);
    QVERIFY(!pressAltP());
}

QTEST_MAIN(TestXLabel)
#include "TestXLabel.moc"
