#include <QAbstractItemView>
#include <QSignalSpy>
#include <QtTest>

#include "ZStdCtrls.h"

class TestZComboBox : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void offersItemsInOrder();
    void indexFromCodeRaisesNoChange();
    void keyboardChoiceRaisesChange();
    void popupChoiceRaisesChange();

private:
    void ChooseInPopup(int row);

    QWidget* m_window = nullptr;
    TZComboBox* m_combo = nullptr;
};

void TestZComboBox::init()
{
    m_window = new QWidget;
    m_window->resize(200, 60);
    m_combo = new TZComboBox(m_window);
    m_combo->setGeometry(10, 10, 150, 21);
    m_combo->addItems({"steel", "ruby"});
    m_window->show();
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_combo->setFocus();
}

void TestZComboBox::cleanup()
{
    delete m_window;
}

void TestZComboBox::ChooseInPopup(int row)
{
    m_combo->showPopup();
    QAbstractItemView* view = m_combo->view();
    QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
    QTest::qWait(QApplication::doubleClickInterval()); // a release at once only ends the opening click
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
}

void TestZComboBox::offersItemsInOrder()
{
    QCOMPARE(m_combo->count(), 2);
    QCOMPARE(m_combo->itemText(0), QString("steel"));
    QCOMPARE(m_combo->itemText(1), QString("ruby"));
    QCOMPARE(m_combo->ItemIndex(), 0);
    QCOMPARE(m_combo->maxVisibleItems(), 8);
    QCOMPARE(m_combo->BorderColor(), quint32(11242085));
    QCOMPARE(m_combo->BorderSelected(), quint32(4632823));
}

void TestZComboBox::indexFromCodeRaisesNoChange()
{
    QSignalSpy changes(m_combo, &TZComboBox::OnChange);
    m_combo->SetItemIndex(1);
    QCOMPARE(m_combo->ItemIndex(), 1);
    m_combo->SetItemIndex(0);
    m_combo->addItem("third");
    m_combo->clear();
    QCOMPARE(changes.count(), 0);
}

void TestZComboBox::keyboardChoiceRaisesChange()
{
    QSignalSpy changes(m_combo, &TZComboBox::OnChange);
    QTest::keyClick(m_combo, Qt::Key_Down);
    QCOMPARE(m_combo->ItemIndex(), 1);
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(m_combo, Qt::Key_Down); // already the last: nothing changes
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(m_combo, Qt::Key_Up);
    QCOMPARE(m_combo->ItemIndex(), 0);
    QCOMPARE(changes.count(), 2);
}

void TestZComboBox::popupChoiceRaisesChange()
{
    QSignalSpy changes(m_combo, &TZComboBox::OnChange);
    ChooseInPopup(1);
    QCOMPARE(m_combo->ItemIndex(), 1);
    QCOMPARE(changes.count(), 1);
    // Choosing the item that is already chosen changes nothing.
    ChooseInPopup(1);
    QCOMPARE(changes.count(), 1);
    // A change from code in between is not mistaken for the user's.
    m_combo->SetItemIndex(0);
    ChooseInPopup(0);
    QCOMPARE(changes.count(), 1);
    ChooseInPopup(1);
    QCOMPARE(changes.count(), 2);
}

QTEST_MAIN(TestZComboBox)
#include "TestZComboBox.moc"
