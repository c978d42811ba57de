// The window's layout holds still at the unit switch: nothing in the left
// panel and nothing of the page control moves or changes size between
// millimetres and inches, in any language.

#include "SrDiamTester.h"

#include <QTabWidget>
#include <QtTest>

#include <map>

using srdiamtest::OpenWindow;

namespace {

// Where every element of the left panel and the page control stands, in
// window coordinates, by name.
std::map<QString, QRect> Geometries(SrDiamTester& w)
{
    // Pending layout requests are carried out first, as the next paint would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    std::map<QString, QRect> at;
    QList<QWidget*> widgets{w.ui->Panel1, w.ui->pcDaten};
    widgets += w.ui->Panel1->findChildren<QWidget*>();
    for (const QWidget* widget : widgets) {
        if (widget->objectName().isEmpty() || !widget->isVisibleTo(&w))
            continue;
        at[widget->objectName()] = QRect(widget->mapTo(&w, QPoint(0, 0)), widget->size());
    }
    return at;
}

// The elements whose place differs, with both places.
QString Moved(const std::map<QString, QRect>& before, const std::map<QString, QRect>& after)
{
    QStringList moved;
    for (const auto& [name, rect] : before) {
        const auto found = after.find(name);
        if (found == after.end() || found->second != rect)
            moved << QStringLiteral("%1 %2,%3 %4x%5 -> %6,%7 %8x%9")
                         .arg(name)
                         .arg(rect.x())
                         .arg(rect.y())
                         .arg(rect.width())
                         .arg(rect.height())
                         .arg(found == after.end() ? -1 : found->second.x())
                         .arg(found == after.end() ? -1 : found->second.y())
                         .arg(found == after.end() ? -1 : found->second.width())
                         .arg(found == after.end() ? -1 : found->second.height());
    }
    return moved.join(QStringLiteral("; "));
}

} // namespace

class TestSrDiamLayout : public QObject {
    Q_OBJECT

private slots:
    void unitSwitchMovesNothing_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Bulgarian") << 1;
        QTest::newRow("German") << 2;
        QTest::newRow("English") << 3;
    }

    void unitSwitchMovesNothing()
    {
        QFETCH(int, language);
        auto w = OpenWindow();
        // The language handlers directly: the menu's key would open a popup.
        switch (language) {
        case 1: w->BulClick(); break;
        case 2: w->DeutschClick(); break;
        default: w->EnglishClick(); break;
        }
        srdiamtest::Type(w->ui->edStapka, "1.5");
        const std::map<QString, QRect> millimetres = Geometries(*w);
        QVERIFY(millimetres.count(QStringLiteral("Label6")) == 1);

        w->btnMMClick();
        QCOMPARE(w->Units, zevko::UnitSystem::Inches);
        const QString byButton = Moved(millimetres, Geometries(*w));
        QVERIFY2(byButton.isEmpty(), qPrintable(byButton));

        // The key from a field, back to millimetres and once more to inches.
        QTest::keyClick(w->ui->edStapka, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(w->Units, zevko::UnitSystem::Millimetres);
        const QString byKeyBack = Moved(millimetres, Geometries(*w));
        QVERIFY2(byKeyBack.isEmpty(), qPrintable(byKeyBack));
        QTest::keyClick(w->ui->edStapka, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(w->Units, zevko::UnitSystem::Inches);
        const QString byKey = Moved(millimetres, Geometries(*w));
        QVERIFY2(byKey.isEmpty(), qPrintable(byKey));
    }
};

QTEST_MAIN(TestSrDiamLayout)
#include "TestSrDiamLayout.moc"
