#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

#include "FieldFixture.h"

// A marked field: its border in the error colour with or without the focus,
// its reason as the tooltip in place of its own; both come back unmarked.
class TestFieldErrorMark : public QObject {
    Q_OBJECT

private slots:
    void borderAndTooltip_data();
    void borderAndTooltip();
    void disabledFieldShowsNoMark();
};

namespace {

// The tooltip the field shows when the pointer rests on it.
QString TooltipShown(TZFloatEdit* field)
{
    const QPoint at(5, 5);
    QHelpEvent help(QEvent::ToolTip, at, field->mapToGlobal(at));
    QApplication::sendEvent(field, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

void TestFieldErrorMark::borderAndTooltip_data()
{
    QTest::addColumn<bool>("focused");
    QTest::newRow("without focus") << false;
    QTest::newRow("with focus") << true;
}

void TestFieldErrorMark::borderAndTooltip()
{
    QFETCH(bool, focused);
    FieldWindow w;
    w.field->setToolTip(QStringLiteral("own tip"));
    w.field->SetBorderError(0x00008000u); // green 128: none of the other borders
    QVERIFY(w.Show());
    (focused ? w.field : w.next)->setFocus();
    const QImage unmarked = w.field->grab().toImage();
    const QColor normal = focused ? QColor(247, 176, 70) : QColor(101, 138, 171);
    QCOMPARE(unmarked.pixelColor(0, 0), normal);

    w.field->SetErrorMark(QStringLiteral("Accepted range: 0 to 100 mm"));
    QVERIFY(w.field->Marked());
    const QImage marked = w.field->grab().toImage();
    const QColor error(0, 128, 0);
    const int right = marked.width() - 1;
    const int bottom = marked.height() - 1;
    for (const QPoint p : {QPoint(0, 0), QPoint(right, bottom), QPoint(60, 0), QPoint(0, 10), QPoint(1, 1),
                           QPoint(right - 1, bottom - 1), QPoint(60, 1)})
        QVERIFY2(marked.pixelColor(p) == error, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The ring inside stays the field's colour.
    QCOMPARE(marked.pixelColor(2, 2), unmarked.pixelColor(2, 2));
    QCOMPARE(TooltipShown(w.field), QStringLiteral("Accepted range: 0 to 100 mm"));
    // The other field is not touched.
    QVERIFY(!w.next->Marked());

    w.field->SetErrorMark(QString());
    QVERIFY(!w.field->Marked());
    QCOMPARE(w.field->grab().toImage(), unmarked);
    QCOMPARE(TooltipShown(w.field), QStringLiteral("own tip"));
    QToolTip::hideText();
}

void TestFieldErrorMark::disabledFieldShowsNoMark()
{
    FieldWindow w;
    QVERIFY(w.Show());
    w.field->setEnabled(false);
    const QImage plain = w.field->grab().toImage();
    w.field->SetErrorMark(QStringLiteral("reason"));
    // A disabled field takes no input to correct; it looks as it always does.
    QCOMPARE(w.field->grab().toImage(), plain);
}

QTEST_MAIN(TestFieldErrorMark)
#include "TestFieldErrorMark.moc"
