// The window's structure: element names, field configuration, keyboard
// order and shortcuts, toolbar images and menu, figure and catalog grid.

#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using srdiamtest::OpenWindow;

namespace {

QStringList TabWalk(QWidget* start, int steps, Qt::Key key = Qt::Key_Tab)
{
    start->setFocus();
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key);
        // The page control takes the focus through its tab bar.
        QWidget* focused = QApplication::focusWidget();
        if (qobject_cast<QTabWidget*>(focused->parentWidget()))
            focused = focused->parentWidget();
        names << focused->objectName();
    }
    return names;
}

} // namespace

class TestSrDiamWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { SetZDecimalSeparator('.'); }

    void geometry()
    {
        auto w = OpenWindow();
        QCOMPARE(w->objectName(), QString("frmSrDiam"));
        QCOMPARE(w->windowTitle(), QString("Zevko Thread - PD"));
        QCOMPARE(w->size(), QSize(689, 440));
        QCOMPARE(w->minimumSize(), QSize(627, 440));
        // Everything the rows need fits the minimum size.
        QVERIFY(w->minimumSizeHint().width() <= 627);
        QVERIFY(w->minimumSizeHint().height() <= 440);
    }

    void elements_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const std::pair<const char*, const char*> elements[] = {
            {"ToolBar1", "QFrame"},        {"btnCalc", "QToolButton"},  {"btnCopy", "QToolButton"},
            {"btnLang", "QToolButton"},    {"btnMM", "QToolButton"},    {"btnExit", "QToolButton"},
            {"btnInfo", "QToolButton"},    {"PopupMenu1", "QMenu"},     {"English", "QAction"},
            {"Deutsch", "QAction"},        {"Bul", "QAction"},          {"Panel1", "QFrame"},
            {"Label1", "QLabel"},          {"rbOut", "QRadioButton"},   {"rbIn", "QRadioButton"},
            {"Label3", "QLabel"},          {"edStapka", "TZFloatEdit"}, {"Label6", "QLabel"},
            {"Label11", "QLabel"},         {"edBrH", "TZFloatEdit"},    {"lHod", "QLabel"},
            {"lPodem", "TXLabel"},         {"Label7", "QLabel"},        {"Label4", "QLabel"},
            {"edBg", "TZFloatEdit"},       {"edBm", "TZFloatEdit"},     {"edBs", "TZFloatEdit"},
            {"Label16", "QLabel"},         {"edYg", "TZFloatEdit"},     {"edYm", "TZFloatEdit"},
            {"edYs", "TZFloatEdit"},       {"lODN", "QLabel"},          {"lDiamN", "TXLabel"},
            {"Label8", "QLabel"},          {"lDN", "QLabel"},           {"edDiam", "TZFloatEdit"},
            {"lSign", "QLabel"},           {"Label9", "QLabel"},        {"Label12", "QLabel"},
            {"cbMaterial", "TZComboBox"},  {"Label2", "QLabel"},        {"cbIzm", "TZComboBox"},
            {"Label5", "QLabel"},          {"edIzmN", "TZFloatEdit"},   {"Label21", "QLabel"},
            {"cbVidVav", "QComboBox"},     {"edIzmSt", "TZFloatEdit"},  {"Label23", "QLabel"},
            {"lRes4", "QLabel"},           {"lSrDA2", "TXLabel"},       {"Label27", "QLabel"},
            {"lVidIzm", "QLabel"},         {"lRazmM", "TXLabel"},       {"Label25", "QLabel"},
            {"lRes3", "QLabel"},           {"lA2", "TXLabel"},          {"Label26", "QLabel"},
            {"pcDaten", "QTabWidget"},     {"TabSheet1", "QWidget"},    {"ImageOut", "TFigureView"},
            {"ImageIn", "TFigureView"},    {"TabSheet2", "QWidget"},    {"ToolBar2", "QFrame"},
            {"btnIns", "QToolButton"},     {"btnDel", "QToolButton"},   {"btnSel", "QToolButton"},
            {"dbgrKatDiam", "QTableView"}, {"TabSheet3", "QWidget"},    {"redHlep", "QTextEdit"},
        };
        for (const auto& [name, className] : elements)
            QTest::newRow(name) << QString(name) << QString(className);
    }

    void elements()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        auto w = OpenWindow();
        const QList<QObject*> found = w->findChildren<QObject*>(name);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.first()->inherits(className.toLatin1().constData()), found.first()->metaObject()->className());
    }

    void pages()
    {
        auto w = OpenWindow();
        // The uncertainty budget's page follows the three.
        QCOMPARE(w->ui->pcDaten->count(), 4);
        QCOMPARE(w->ui->pcDaten->widget(0), w->ui->TabSheet1);
        QCOMPARE(w->ui->pcDaten->widget(1), w->ui->TabSheet2);
        QCOMPARE(w->ui->pcDaten->widget(2), w->ui->TabSheet3);
        QCOMPARE(w->ui->pcDaten->widget(3)->objectName(), QStringLiteral("TabSheet4"));
        QVERIFY(w->ui->redHlep->isReadOnly());
    }

    void fields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("real");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("initial");
        QTest::newRow("pitch") << "edStapka" << true << 100.0 << "0";
        QTest::newRow("starts") << "edBrH" << false << 100.0 << "1";
        QTest::newRow("beta degrees") << "edBg" << true << 90.0 << "30";
        QTest::newRow("beta minutes") << "edBm" << false << 59.0 << "0";
        QTest::newRow("beta seconds") << "edBs" << false << 59.0 << "0";
        QTest::newRow("gamma degrees") << "edYg" << true << 90.0 << "30";
        QTest::newRow("gamma minutes") << "edYm" << false << 59.0 << "0";
        QTest::newRow("gamma seconds") << "edYs" << false << 59.0 << "0";
        QTest::newRow("probe diameter") << "edDiam" << true << 100.0 << "0";
        QTest::newRow("force") << "edIzmN" << true << 100.0 << "0";
        QTest::newRow("measured value") << "edIzmSt" << true << 4000.0 << "0";
    }

    void fields()
    {
        QFETCH(QString, name);
        QFETCH(bool, real);
        QFETCH(double, maximum);
        QFETCH(QString, initial);
        auto w = OpenWindow();
        auto* field = w->findChild<TZFloatEdit*>(name);
        QVERIFY(field);
        QCOMPARE(field->ValueType(), real ? vt_Float : vt_Integer);
        QCOMPARE(static_cast<double>(field->MaxValue()), maximum);
        QCOMPARE(static_cast<double>(field->MinValue()), 0.0);
        QCOMPARE(field->Decimal(), 0);
        QCOMPARE(field->Text(), initial);
        QCOMPARE(field->BorderColor(), quint32(11242085));
        QCOMPARE(field->BorderSelected(), quint32(4632823));
        QCOMPARE(field->DisabledColor(), wincolor::clNone);

        // The limit holds when the user leaves the field.
        srdiamtest::Type(field, "5000");
        QTest::keyClick(field, Qt::Key_Tab);
        QCOMPARE(static_cast<double>(field->Value()), maximum);
    }

    void selectionBoxes()
    {
        auto w = OpenWindow();
        const auto items = [](const QComboBox* box) {
            QStringList texts;
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
            return texts;
        };
        QCOMPARE(items(w->ui->cbMaterial), (QStringList{"steel", "ruby"}));
        QCOMPARE(items(w->ui->cbIzm), (QStringList{"perpendicular", "inclined"}));
        QCOMPARE(items(w->ui->cbVidVav),
                 (QStringList{"Measurement P.D. (m)", "Measurement P.D. (M)", "Pitch diameter (d2)"}));
        for (TZComboBox* box : {w->ui->cbMaterial, w->ui->cbIzm, w->ui->cbVidVav}) {
            QCOMPARE(box->BorderColor(), quint32(11242085));
            QCOMPARE(box->BorderSelected(), quint32(4632823));
        }
    }

    void resultLabels()
    {
        auto w = OpenWindow();
        for (TXLabel* label : {w->ui->lPodem, w->ui->lDiamN, w->ui->lSrDA2, w->ui->lRazmM, w->ui->lA2}) {
            QCOMPARE(label->Alignment(), taRightJustify);
            QCOMPARE(label->Bevel(), lbLowered);
            QVERIFY(label->HintShow());
            QVERIFY(label->Caption().isEmpty());
            QVERIFY(label->width() >= 105);
        }
        QVERIFY(w->ui->lSign->isHidden());
        QCOMPARE(w->ui->lSign->text(), QString("!"));
    }

    void focusAtStart()
    {
        auto w = OpenWindow();
        QCOMPARE(QApplication::focusWidget(), w->ui->edStapka);
    }

    // Tab runs down the rows as they are read; the disabled material box is
    // skipped on the external side and visited on the internal side.
    void tabOrder_data()
    {
        QTest::addColumn<bool>("internal");
        QTest::addColumn<QStringList>("order");
        const QStringList head{"edBrH", "edBg", "edBm", "edBs", "edYg", "edYm", "edYs", "edDiam"};
        const QStringList tail{"cbIzm", "edIzmN", "cbVidVav", "edIzmSt", "pcDaten"};
        QTest::newRow("external") << false << head + tail;
        QTest::newRow("internal") << true << head + QStringList{"cbMaterial"} + tail;
    }

    void tabOrder()
    {
        QFETCH(bool, internal);
        QFETCH(QStringList, order);
        auto w = OpenWindow();
        if (internal)
            QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(TabWalk(w->ui->edStapka, int(order.size())), order);

        // Backwards from the pitch field: the side's radio button.
        const QString side = internal ? "rbIn" : "rbOut";
        QCOMPARE(TabWalk(w->ui->edStapka, 1, Qt::Key_Backtab), QStringList{side});
        QCOMPARE(TabWalk(w->findChild<QWidget*>(side), 1), QStringList{"edStapka"});
    }

    // The pages' own elements are in the order: the tab bar, then the
    // catalog grid on the catalog page or the manual on the help page, and
    // Shift+Tab goes back the same way.
    void tabOrderThroughThePages_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("element");
        QTest::newRow("catalog") << 1 << "dbgrKatDiam";
        QTest::newRow("manual") << 2 << "redHlep";
    }

    void tabOrderThroughThePages()
    {
        QFETCH(int, page);
        QFETCH(QString, element);
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, {0.577, 0.866, 1.155});
        w->ui->pcDaten->setCurrentIndex(page);
        QCOMPARE(TabWalk(w->ui->edIzmSt, 2), (QStringList{"pcDaten", element}));
        QCOMPARE(TabWalk(w->findChild<QWidget*>(element), 1, Qt::Key_Backtab), QStringList{"pcDaten"});
        // Past the page's element (the grid's last cell) the walk starts
        // over at the top.
        w->ui->dbgrKatDiam->setCurrentIndex(w->dsDiamModel->index(2, 1));
        QCOMPARE(TabWalk(w->findChild<QWidget*>(element), 1), QStringList{"rbOut"});
    }

    void toolbarImagesAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("hint");
        // The hints name the keys (all languages: TestSrDiamLanguage).
        QTest::newRow("btnCalc") << "btnCalc" << 4 << "Calculation (F9)";
        QTest::newRow("btnCopy") << "btnCopy" << 2 << "Copy (Ctrl+Shift+C)";
        QTest::newRow("btnLang") << "btnLang" << 9 << "Language (Ctrl+L)";
        QTest::newRow("btnMM") << "btnMM" << 13 << "Millimetres / inches (Ctrl+U)";
        QTest::newRow("btnExit") << "btnExit" << 5 << "Exit (Ctrl+Q)";
        QTest::newRow("btnInfo") << "btnInfo" << 12 << "About Zevko-Thread";
        QTest::newRow("btnIns") << "btnIns" << 1 << "New (Insert)";
        QTest::newRow("btnDel") << "btnDel" << 3 << "Delete (Delete)";
        QTest::newRow("btnSel") << "btnSel" << 8 << "Select (Ctrl+Enter)";
    }

    void toolbarImagesAndHints()
    {
        QFETCH(QString, name);
        QFETCH(int, image);
        QFETCH(QString, hint);
        auto w = OpenWindow();
        auto* button = w->findChild<QToolButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(button->iconSize(), QSize(22, 22));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
        // The button shows the image of its number; the language button
        // that of the language in use.
        const QImage shown = button->icon().pixmap(22, 22).toImage();
        const auto imageOf = [&](int n) { return w->ImageList1.Image(n).pixmap(22, 22).toImage(); };
        if (name == "btnLang")
            QVERIFY(shown == imageOf(9) || shown == imageOf(10) || shown == imageOf(11));
        else
            QCOMPARE(shown, imageOf(image));
    }

    void imageList()
    {
        ImageList images;
        for (int n : {1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15}) {
            QVERIFY2(!images.Image(n).isNull(), qPrintable(QString::number(n)));
            // Vector drawings: as sharp at twice the size.
            QCOMPARE(images.Image(n).pixmap(44, 44).size(), QSize(44, 44));
        }
        for (int n : {0, 6, 7, 16})
            QVERIFY(images.Image(n).isNull());
    }

    void languageMenu()
    {
        auto w = OpenWindow();
        QCOMPARE(w->ui->btnLang->menu(), w->PopupMenu1);
        const QList<QAction*> actions = w->PopupMenu1->actions();
        QCOMPARE(actions.size(), 3);
        const QStringList names{"English", "Deutsch", "Bul"};
        const QStringList captions{"English", "Deutsch", "Български"};
        const int images[] = {11, 10, 9};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(actions[i]->objectName(), names[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->icon().pixmap(22, 22).toImage(),
                     w->ImageList1.Image(images[i]).pixmap(22, 22).toImage());
        }
    }

    // The commands are reachable from the keyboard wherever the focus is,
    // and each has run when its key has been handled: no later click.
    void shortcuts_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Copy") << "copy" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
        QTest::newRow("mm/in") << "units" << QKeySequence(Qt::CTRL | Qt::Key_U);
        QTest::newRow("Calculation") << "calculation" << QKeySequence(Qt::Key_F9);
        QTest::newRow("Exit") << "exit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
    }

    void shortcuts()
    {
        QFETCH(QString, command);
        QFETCH(QKeySequence, keys);
        auto w = OpenWindow();
        srdiamtest::Type(w->ui->edStapka, "1.5");
        srdiamtest::Type(w->ui->edDiam, "0.866");
        srdiamtest::Type(w->ui->edIzmN, "1");
        srdiamtest::Type(w->ui->edIzmSt, "10.32496");
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        QTest::keySequence(w->ui->edIzmSt, keys);
        if (command == "copy")
            QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral(": \t10.32496 mm\r\n")));
        else if (command == "units")
            QCOMPARE(w->Units, zevko::UnitSystem::Inches);
        else if (command == "calculation")
            QCOMPARE(w->ui->lSrDA2->Caption(), QString("9.02501"));
        else
            QVERIFY(!w->isVisible());
        // The button shows the press for a moment, and nothing runs twice.
        if (command != "exit") {
            QTRY_VERIFY(!w->findChild<QToolButton*>(command == "copy"    ? "btnCopy"
                                                    : command == "units" ? "btnMM"
                                                                         : "btnCalc")
                             ->isDown());
            QCOMPARE(w->Units, command == "units" ? zevko::UnitSystem::Inches : zevko::UnitSystem::Millimetres);
        }
    }

    void exitCloses()
    {
        auto w = OpenWindow();
        QTest::mouseClick(w->ui->btnExit, Qt::LeftButton);
        QVERIFY(!w->isVisible());
    }

    void helpKeyShowsTheManual()
    {
        auto w = OpenWindow();
        QTest::keyClick(w->ui->edStapka, Qt::Key_F1);
        QCOMPARE(w->ui->pcDaten->currentWidget(), w->ui->TabSheet3);
    }

    void figures()
    {
        auto w = OpenWindow();
        QVERIFY(w->ui->ImageOut->IsLoaded());
        QVERIFY(w->ui->ImageIn->IsLoaded());
        QCOMPARE(w->ui->ImageOut->sizeHint(), QSize(340, 300));
        // The visible drawing is painted, not left blank.
        const QImage shot = w->ui->ImageOut->grab().toImage();
        const QRgb background = shot.pixel(0, 0);
        int drawn = 0;
        for (int y = 0; y < shot.height(); y += 4)
            for (int x = 0; x < shot.width(); x += 4)
                drawn += shot.pixel(x, y) != background;
        QVERIFY(drawn > 100);
    }

    void catalogGrid()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, {2.0, 0.866, 0.1 * 25.4});
        const QAbstractItemModel* model = w->ui->dbgrKatDiam->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("mm"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("in"));
        QCOMPARE(model->rowCount(), 3);
        const auto cell = [&](int row, int column) { return model->index(row, column).data().toString(); };
        QCOMPARE(cell(0, 0), QString("0.8660"));
        QCOMPARE(cell(0, 1), QString("0.03409"));
        QCOMPARE(cell(1, 0), QString("2.0000"));
        QCOMPARE(cell(1, 1), QString("0.07874"));
        QCOMPARE(cell(2, 0), QString("2.5400"));
        QCOMPARE(cell(2, 1), QString("0.10000"));
        QCOMPARE(model->index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(w->ui->dbgrKatDiam->columnWidth(0), 107);
        QCOMPARE(w->ui->dbgrKatDiam->columnWidth(1), 109);

        // Clicking a row moves the catalog's cursor there.
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet2);
        const QRect cellRect = w->ui->dbgrKatDiam->visualRect(model->index(2, 1));
        QTest::mouseClick(w->ui->dbgrKatDiam->viewport(), Qt::LeftButton, {}, cellRect.center());
        QCOMPARE(w->mdDiamOut.Position(), std::size_t(2));
    }

    // The catalog page shows the catalog of the side chosen at that moment.
    void catalogPageFollowsTheSide()
    {
        auto w = OpenWindow();
        w->FillCatalog(w->mdDiamOut, {0.866});
        w->mdDiamIn.Open();
        w->mdDiamIn.AppendLoaded(1.0);
        w->mdDiamIn.AppendLoaded(2.0);
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet2);
        QCOMPARE(w->ui->dbgrKatDiam->model()->rowCount(), 2);
        QTest::mouseClick(w->ui->rbOut, Qt::LeftButton);
        QCOMPARE(w->ui->dbgrKatDiam->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestSrDiamWindow)
#include "TestSrDiamWindow.moc"
