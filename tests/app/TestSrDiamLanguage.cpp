// The language menu: every text of the window, the side- and
// quantity-dependent rows, the combo boxes' selections, the toolbar image,
// the manual and the suite's language key, in Bulgarian, German and English.

#include "CatalogMessages.h"
#include "LangsExt.h"
#include "SrDiamTester.h"
#include "ZStdCtrls.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using srdiamtest::Choose;
using srdiamtest::Type;

namespace {

// A window whose stored language is `storedLanguage` (0: none stored).
std::unique_ptr<SrDiamTester> OpenWindow(int storedLanguage = 0)
{
    return srdiamtest::OpenWindow([storedLanguage](SrDiamTester& w) { w.SelectedLanguage = storedLanguage; });
}

// Chooses a language from the button's menu, as a click on the item does.
void ClickLanguage(SrDiamTester& w, int language)
{
    static const char* const items[] = {"", "Bul", "Deutsch", "English"};
    QAction* item = w.PopupMenu1->findChild<QAction*>(QString::fromLatin1(items[language]));
    QVERIFY2(item, items[language]);
    item->trigger();
}

// The text an element shows: "name" for a label's or button's caption,
// "name.hint" for a tooltip, "name[i]" for a combo box item or a page tab,
// "pcDaten.hint[i]" for the tooltip of a page tab,
// and "ErrorText".
QString ElementText(SrDiamTester& w, const QString& element)
{
    if (element == u"ErrorText"_s)
        return w.ErrorText;
    if (element.startsWith(u"pcDaten.hint["_s))
        return w.findChild<QTabWidget*>(u"pcDaten"_s)->tabToolTip(element.mid(13, element.size() - 14).toInt());
    if (element.endsWith(u".hint"_s))
        return w.findChild<QWidget*>(element.chopped(5))->toolTip();
    if (element.endsWith(u']')) {
        const qsizetype open = element.indexOf(u'[');
        const QString name = element.left(open);
        const int index = element.mid(open + 1, element.size() - open - 2).toInt();
        if (auto* tabs = w.findChild<QTabWidget*>(name))
            return tabs->tabText(index);
        return w.findChild<QComboBox*>(name)->itemText(index);
    }
    QWidget* widget = w.findChild<QWidget*>(element);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    return u"<no element %1>"_s.arg(element);
}

// The width a box needs to show its longest item whole.
int NeededWidth(const QComboBox* box)
{
    QComboBox probe;
    probe.setFont(box->font());
    probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 0; i < box->count(); ++i)
        probe.addItem(box->itemText(i));
    return probe.sizeHint().width();
}

QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(22, 22).toImage();
}

QVariant SuiteLanguageValue()
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"ProgramKey"_s);
    return key.value(u"Settings/Default/Lang"_s);
}

void SetSuiteLanguageValue(int value)
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"ProgramKey"_s);
    key.setValue(u"Settings/Default/Lang"_s, value);
    key.sync();
}

// The first words of each manual's title.
const QString ManualTitles[] = {
    QString(),
    u"Софтуер за определяне на средния диаметър"_s,
    u"Software zur Bestimmung des Flankendurchmessers"_s,
    u"Software for Determining the Pitch Diameter"_s,
};

} // namespace

class TestSrDiamLanguage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitializeLangsExt(); }
    void cleanupTestCase() { FinalizeLangsExt(); }

    void init()
    {
        SetZDecimalSeparator('.');
        // Whatever a closed window stored must not become the next window's
        // language.
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s).clear();
    }

    void texts_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("bg");
        QTest::addColumn<QString>("de");
        QTest::addColumn<QString>("en");

        const auto row = [](const char* element, const QString& bg, const QString& de, const QString& en) {
            QTest::newRow(element) << QString::fromLatin1(element) << bg << de << en;
        };
        // The tooltips name the keys of their commands.
        row("btnCalc.hint", u"Изчисляване (F9)"_s, u"Berechnen (F9)"_s, u"Calculation (F9)"_s);
        row("btnCopy.hint", u"Копиране (Ctrl+Shift+C)"_s, u"Kopieren (Strg+Umschalt+C)"_s, u"Copy (Ctrl+Shift+C)"_s);
        row("btnLang.hint", u"Език (Ctrl+L)"_s, u"Sprache (Strg+L)"_s, u"Language (Ctrl+L)"_s);
        row("btnExit.hint", u"Изход (Ctrl+Q)"_s, u"Beenden (Strg+Q)"_s, u"Exit (Ctrl+Q)"_s);
        row("btnMM.hint", u"Милиметри / инчове (Ctrl+U)"_s, u"Millimeter / Zoll (Strg+U)"_s,
            u"Millimetres / inches (Ctrl+U)"_s);
        row("pcDaten.hint[2]", u"Упътване (F1)"_s, u"Anleitung (F1)"_s, u"Manual (F1)"_s);
        row("btnInfo.hint", u"Информация"_s, u"Info über Zevko-Thread"_s, u"About Zevko-Thread"_s);
        row("Label1", u"Тип резба"_s, u"Gewindeart"_s, u"Type of thread"_s);
        row("rbOut", u"Външна резба"_s, u"Aussengewinde"_s, u"External thread"_s);
        row("rbIn", u"Вътрешна резба"_s, u"Innengewinde"_s, u"Internal thread"_s);
        row("Label3", u"Стъпка (P)"_s, u"Teilung (P)"_s, u"Pitch (P)"_s);
        row("Label11", u"Брой ходове (n)"_s, u"Gangzahl (n)"_s, u"Number of starts (n)"_s);
        row("lHod", u"Ход (l)"_s, u"Steigung (l)"_s, u"Lead (l)"_s);
        // β is written with the Cyrillic VE in every language, γ with the Latin Y.
        row("Label4", u"Ъгъл на профила (\u0412)"_s, u"Teilflankenwinkel (\u0412)"_s, u"Flank Angle (\u0412)"_s);
        row("Label16", u"Ъгъл на профила (Y)"_s, u"Teilflankenwinkel (Y)"_s, u"Flank Angle (Y)"_s);
        row("lODN", u"Опт. диаметър на нишките"_s, u"Optimaler Drahtdurchmesser"_s, u"Opt. diameter of the wires"_s);
        row("lDN", u"Диаметър на нишките (dD)"_s, u"Drahtdurchmesser (dD)"_s, u"Diameter of the wires (dD)"_s);
        row("Label12", u"Материал на изм. накрайници"_s, u"Tastenelemente aus"_s,
            u"Material of the probing elements"_s);
        row("cbMaterial[0]", u"стомана"_s, u"Stahl"_s, u"steel"_s);
        row("cbMaterial[1]", u"рубин"_s, u"Rubin"_s, u"ruby"_s);
        row("Label2", u"Измерване спрямо оста"_s, u"Messverfahren"_s, u"Measurement method"_s);
        row("cbIzm[0]", u"перпендикулярно"_s, u"senkrecht"_s, u"perpendicular"_s);
        row("cbIzm[1]", u"наклонено"_s, u"geneigt"_s, u"inclined"_s);
        row("Label5", u"Измервателен натиск (F)"_s, u"Messkraft (F)"_s, u"Measuring force (F)"_s);
        row("cbVidVav[0]", u"Размер (m)"_s, u"Prüfmass (m)"_s, u"Measurement P.D. (m)"_s);
        row("cbVidVav[1]", u"Размер (M)"_s, u"Prüfmass (M)"_s, u"Measurement P.D. (M)"_s);
        row("cbVidVav[2]", u"Ср. диаметър (d2)"_s, u"Flankendurchmesser (d2)"_s, u"Pitch diameter (d2)"_s);
        // M entered: the rows name m and the pitch diameter.
        row("lVidIzm", u"Размер (m)"_s, u"Prüfmass (m)"_s, u"Measurement P.D. (m)"_s);
        row("lRes4", u"Ср. диаметър (d2)"_s, u"Flankendurchmesser (d2)"_s, u"Pitch diameter (d2)"_s);
        row("lRes3", u"Корекция от изм. натиск"_s, u"Abplattungskorrektur"_s, u"Correction for the meas. force"_s);
        row("pcDaten[0]", u"Схема"_s, u"Bild"_s, u"Figure"_s);
        row("pcDaten[1]", u"Каталог"_s, u"Katalog"_s, u"Catalog"_s);
        row("pcDaten[2]", u"Упътване"_s, u"Anleitung"_s, u"Manual"_s);
        row("btnIns.hint", u"Въвеждане (Insert)"_s, u"Einfügen (Einfg)"_s, u"New (Insert)"_s);
        row("btnDel.hint", u"Изтриване (Delete)"_s, u"Löschen (Entf)"_s, u"Delete (Delete)"_s);
        row("btnSel.hint", u"Избор (Ctrl+Enter)"_s, u"Auswahl (Strg+Eingabe)"_s, u"Select (Ctrl+Enter)"_s);
        row("ErrorText", u"Некоректно въведени параметри! Изчисляване е невъзможно!"_s,
            u"Unplausible Einträge. Bitte korrigieren!"_s, u"No plausible entries. Please correct!"_s);
        // Left alone by the language: the window's title and the unit labels.
        row("Label6", u"[mm]"_s, u"[mm]"_s, u"[mm]"_s);
        row("Label13", u"°"_s, u"°"_s, u"°"_s);
    }

    void texts()
    {
        QFETCH(QString, element);
        QFETCH(QString, bg);
        QFETCH(QString, de);
        QFETCH(QString, en);
        auto w = OpenWindow();
        // From the form's English over Bulgarian and German back to English,
        // so that every step has to change the text.
        const QString buttonCaption = w->ui->btnLang->text();
        ClickLanguage(*w, LanguageBulgarian);
        QCOMPARE(ElementText(*w, element), bg);
        ClickLanguage(*w, LanguageGerman);
        QCOMPARE(ElementText(*w, element), de);
        ClickLanguage(*w, LanguageEnglish);
        QCOMPARE(ElementText(*w, element), en);
        QCOMPARE(w->windowTitle(), u"Zevko Thread - PD"_s);
        QCOMPARE(w->ui->btnLang->text(), buttonCaption);
    }

    void sideAndQuantityRows_data()
    {
        QTest::addColumn<bool>("internal");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("odn");
        QTest::addColumn<QString>("dn");
        QTest::addColumn<QString>("item2");
        QTest::addColumn<QString>("vidIzm");
        QTest::addColumn<QString>("res4");

        QTest::newRow("internal, M entered, de")
            << true << 1 << LanguageGerman << u"Optimaler Kugeldurchmesser"_s << u"Kugeldurchmesser (dD)"_s
            << u"Flankendurchmesser (D2)"_s << u"Prüfmass (m)"_s << u"Flankendurchmesser (D2)"_s;
        QTest::newRow("internal, m entered, en")
            << true << 0 << LanguageEnglish << u"Opt. diameter of the balls"_s << u"Diameter of the balls (dD)"_s
            << u"Pitch diameter (D2)"_s << u"Measurement P.D. (M)"_s << u"Pitch diameter (D2)"_s;
        QTest::newRow("internal, pitch diameter entered, bg")
            << true << 2 << LanguageBulgarian << u"Опт. диаметър на сфер. накр."_s << u"Диаметър на сфер. накр. (dD)"_s
            << u"Ср. диаметър (D2)"_s << u"Размер (M)"_s << u"Размер (m)"_s;
        QTest::newRow("external, pitch diameter entered, de")
            << false << 2 << LanguageGerman << u"Optimaler Drahtdurchmesser"_s << u"Drahtdurchmesser (dD)"_s
            << u"Flankendurchmesser (d2)"_s << u"Prüfmass (M)"_s << u"Prüfmass (m)"_s;
        QTest::newRow("external, m entered, bg")
            << false << 0 << LanguageBulgarian << u"Опт. диаметър на нишките"_s << u"Диаметър на нишките (dD)"_s
            << u"Ср. диаметър (d2)"_s << u"Размер (M)"_s << u"Ср. диаметър (d2)"_s;
    }

    void sideAndQuantityRows()
    {
        QFETCH(bool, internal);
        QFETCH(int, quantity);
        QFETCH(int, language);
        QFETCH(QString, odn);
        QFETCH(QString, dn);
        QFETCH(QString, item2);
        QFETCH(QString, vidIzm);
        QFETCH(QString, res4);

        auto w = OpenWindow();
        if (internal)
            QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Choose(w->ui->cbVidVav, quantity);
        QCOMPARE(w->ui->cbVidVav->ItemIndex(), quantity);

        ClickLanguage(*w, language);
        QCOMPARE(w->ui->lODN->text(), odn);
        QCOMPARE(w->ui->lDN->text(), dn);
        QCOMPARE(w->ui->cbVidVav->itemText(2), item2);
        QCOMPARE(w->ui->lVidIzm->text(), vidIzm);
        QCOMPARE(w->ui->lRes4->text(), res4);
    }

    // The side switch and the quantity change write the current language's
    // bare texts; the next language change adds the " (dD)" again.
    void handlersSpeakTheCurrentLanguage()
    {
        auto w = OpenWindow();
        ClickLanguage(*w, LanguageGerman);

        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        QCOMPARE(w->ui->lODN->text(), u"Optimaler Kugeldurchmesser"_s);
        QCOMPARE(w->ui->lDN->text(), u"Kugeldurchmesser"_s);
        QCOMPARE(w->ui->lRes4->text(), u"Flankendurchmesser (D2)"_s);
        QCOMPARE(w->ui->cbVidVav->itemText(2), u"Flankendurchmesser (D2)"_s);

        Choose(w->ui->cbVidVav, 2);
        QCOMPARE(w->ui->lVidIzm->text(), u"Prüfmass (M)"_s);
        QCOMPARE(w->ui->lRes4->text(), u"Prüfmass (m)"_s);
        Choose(w->ui->cbVidVav, 1);
        QCOMPARE(w->ui->lVidIzm->text(), u"Prüfmass (m)"_s);
        QCOMPARE(w->ui->lRes4->text(), u"Flankendurchmesser (D2)"_s);

        ClickLanguage(*w, LanguageBulgarian);
        QCOMPARE(w->ui->lDN->text(), u"Диаметър на сфер. накр. (dD)"_s);
        QTest::mouseClick(w->ui->rbOut, Qt::LeftButton);
        QCOMPARE(w->ui->lODN->text(), u"Опт. диаметър на нишките"_s);
        QCOMPARE(w->ui->lDN->text(), u"Диаметър на нишките"_s);
        QCOMPARE(w->ui->lRes4->text(), u"Ср. диаметър (d2)"_s);
    }

    void selectionsKeptWithoutChangeEvents_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("bg") << LanguageBulgarian;
        QTest::newRow("de") << LanguageGerman;
        QTest::newRow("en") << LanguageEnglish;
    }

    void selectionsKeptWithoutChangeEvents()
    {
        QFETCH(int, language);
        auto w = OpenWindow();
        // The internal side, with items away from the side's defaults.
        QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Choose(w->ui->cbMaterial, 0);
        Choose(w->ui->cbIzm, 1);
        Choose(w->ui->cbVidVav, 0);
        Type(w->ui->edIzmSt, u"12.5"_s);
        // A result on show: any change handler of the boxes would clear it.
        w->ui->lSrDA2->SetCaption(u"9.02501"_s);
        w->ui->lRazmM->SetCaption(u"9.45896"_s);

        QSignalSpy material(w->ui->cbMaterial, &TZComboBox::OnChange);
        QSignalSpy method(w->ui->cbIzm, &TZComboBox::OnChange);
        QSignalSpy quantity(w->ui->cbVidVav, &TZComboBox::OnChange);
        QSignalSpy quantityIndex(w->ui->cbVidVav, &QComboBox::currentIndexChanged);

        ClickLanguage(*w, language);
        QCOMPARE(w->ui->cbMaterial->ItemIndex(), 0);
        QCOMPARE(w->ui->cbIzm->ItemIndex(), 1);
        QCOMPARE(w->ui->cbVidVav->ItemIndex(), 0);
        QCOMPARE(material.count() + method.count() + quantity.count() + quantityIndex.count(), 0);
        QCOMPARE(w->ui->lSrDA2->Caption(), u"9.02501"_s);
        QCOMPARE(w->ui->lRazmM->Caption(), u"9.45896"_s);
        QCOMPARE(w->MeasuredValueMm, 12.5);
        QCOMPARE(w->ui->edIzmSt->Text(), u"12.5"_s);
        QCOMPARE(w->ui->cbMaterial->currentText(), w->ui->cbMaterial->itemText(0));
        QVERIFY(w->ui->cbMaterial->isEnabled());
    }

    // Each click, also on the language in use, sets the button's image,
    // reloads the manual and writes the suite's key.
    void clickReloadsManualImageAndKey_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("image");
        QTest::newRow("bg") << LanguageBulgarian << 9;
        QTest::newRow("de") << LanguageGerman << 10;
        QTest::newRow("en") << LanguageEnglish << 11;
    }

    void clickReloadsManualImageAndKey()
    {
        QFETCH(int, language);
        QFETCH(int, image);
        auto w = OpenWindow();
        QVERIFY(IconImage(w->ImageList1.Image(9)) != IconImage(w->ImageList1.Image(10)));
        QVERIFY(IconImage(w->ImageList1.Image(10)) != IconImage(w->ImageList1.Image(11)));

        for (int pass = 0; pass < 2; ++pass) {
            w->ui->redHlep->setPlainText(u"stale"_s);
            w->ui->btnLang->setIcon(QIcon());
            SetSuiteLanguageValue(99);

            ClickLanguage(*w, language);
            QCOMPARE(w->SelectedLanguage, language);
            QCOMPARE(CurrentLanguage(), language);
            QCOMPARE(SuiteLanguageValue().toInt(), language);
            QCOMPARE(IconImage(w->ui->btnLang->icon()), IconImage(w->ImageList1.Image(image)));

            const QString manual = w->Manual()->toPlainText();
            QVERIFY(!manual.contains(u"stale"_s));
            for (int other = LanguageBulgarian; other <= LanguageEnglish; ++other)
                QCOMPARE(manual.contains(ManualTitles[other]), other == language);
            QVERIFY(w->ui->redHlep->isReadOnly());
            QVERIFY(w->Messages.isEmpty());
        }
        // The menu keeps each language under its own name.
        QStringList items;
        for (const QAction* action : w->PopupMenu1->actions())
            items << action->text();
        QCOMPARE(items, (QStringList{u"English"_s, u"Deutsch"_s, u"Български"_s}));
    }

    void firstShowAppliesStoredLanguage_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("applied");
        QTest::addColumn<QString>("label1");
        QTest::newRow("nothing stored") << 0 << LanguageEnglish << u"Type of thread"_s;
        QTest::newRow("bg") << LanguageBulgarian << LanguageBulgarian << u"Тип резба"_s;
        QTest::newRow("de") << LanguageGerman << LanguageGerman << u"Gewindeart"_s;
        QTest::newRow("en") << LanguageEnglish << LanguageEnglish << u"Type of thread"_s;
        QTest::newRow("out of range") << 7 << LanguageEnglish << u"Type of thread"_s;
    }

    void firstShowAppliesStoredLanguage()
    {
        QFETCH(int, stored);
        QFETCH(int, applied);
        QFETCH(QString, label1);
        SetLanguage(LanguageBulgarian);
        SetSuiteLanguageValue(99);

        auto w = std::make_unique<SrDiamTester>();
        QCOMPARE(w->SelectedLanguage, 0);
        QVERIFY(w->ui->redHlep->toPlainText().isEmpty());
        w->SelectedLanguage = stored;
        w->show();

        QCOMPARE(w->SelectedLanguage, applied);
        QCOMPARE(CurrentLanguage(), applied);
        QCOMPARE(SuiteLanguageValue().toInt(), applied);
        QCOMPARE(w->ui->Label1->text(), label1);
        QVERIFY(w->Manual()->toPlainText().contains(ManualTitles[applied]));
    }

    // The manual is rendered when its page is first shown, by its tab or by
    // F1, not at start-up; the language chosen meanwhile is the one shown.
    // With the page shown a change of language renders the new one at once.
    void manualRenderedWhenItsPageIsShown_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("tab") << false;
        QTest::newRow("F1") << true;
    }

    void manualRenderedWhenItsPageIsShown()
    {
        QFETCH(bool, byKey);
        auto w = OpenWindow(LanguageGerman);
        QVERIFY(w->ui->redHlep->toPlainText().isEmpty());
        ClickLanguage(*w, LanguageBulgarian);
        QVERIFY(w->ui->redHlep->toPlainText().isEmpty());
        if (byKey)
            QTest::keyClick(w->ui->edStapka, Qt::Key_F1);
        else
            w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet3);
        QCOMPARE(w->ui->pcDaten->currentWidget(), w->ui->TabSheet3);
        QVERIFY(w->ui->redHlep->toPlainText().contains(ManualTitles[LanguageBulgarian]));

        ClickLanguage(*w, LanguageEnglish);
        QVERIFY(w->ui->redHlep->toPlainText().contains(ManualTitles[LanguageEnglish]));
        // Back on another page and again on the manual: it is not rendered anew.
        w->ui->redHlep->moveCursor(QTextCursor::End);
        const int position = w->ui->redHlep->textCursor().position();
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet1);
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet3);
        QCOMPARE(w->ui->redHlep->textCursor().position(), position);
        QVERIFY(w->Messages.isEmpty());
    }

    // Only the first show applies the stored language: showing the window
    // again keeps the language the user chose since.
    void laterShowsKeepTheChoice()
    {
        auto w = OpenWindow(LanguageGerman);
        ClickLanguage(*w, LanguageBulgarian);
        w->Manual()->setPlainText(u"page as the user left it"_s);
        SetSuiteLanguageValue(99);
        w->hide();
        w->show();
        QCOMPARE(w->SelectedLanguage, LanguageBulgarian);
        QCOMPARE(w->ui->Label1->text(), u"Тип резба"_s);
        QCOMPARE(w->ui->redHlep->toPlainText(), u"page as the user left it"_s);
        QCOMPARE(SuiteLanguageValue().toInt(), 99);
    }

    // Long captions and items (Bulgarian, German) are shown whole, within
    // the window's width.
    void nothingCutOff_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("internal");
        QTest::addColumn<int>("quantity");
        for (int language = LanguageBulgarian; language <= LanguageEnglish; ++language) {
            for (bool internal : {false, true}) {
                for (int quantity : {1, 2}) {
                    static const char* const names[] = {"", "bg", "de", "en"};
                    const QByteArray name = QByteArray(names[language]) + (internal ? " internal" : " external") +
                                            " quantity " + QByteArray::number(quantity);
                    QTest::newRow(name.constData()) << language << internal << quantity;
                }
            }
        }
    }

    void nothingCutOff()
    {
        QFETCH(int, language);
        QFETCH(bool, internal);
        QFETCH(int, quantity);
        auto w = OpenWindow();
        const int width = w->width();
        if (internal)
            QTest::mouseClick(w->ui->rbIn, Qt::LeftButton);
        Choose(w->ui->cbVidVav, quantity);
        ClickLanguage(*w, language);
        QApplication::processEvents();

        for (QWidget* element : w->ui->Panel1->findChildren<QWidget*>()) {
            if (!element->isVisible())
                continue;
            if (qobject_cast<QLabel*>(element) || qobject_cast<QAbstractButton*>(element))
                QVERIFY2(element->width() >= element->sizeHint().width(), qPrintable(element->objectName()));
            if (auto* box = qobject_cast<QComboBox*>(element))
                QVERIFY2(box->width() >= NeededWidth(box), qPrintable(box->objectName()));
        }
        QCOMPARE(w->width(), width);
    }

    // A missing table leaves empty texts; the window goes on working.
    void emptyTableGivesEmptyTexts()
    {
        auto w = OpenWindow();
        w->SelectedLanguage = 0;
        w->ApplyLanguage();
        QCOMPARE(w->ui->Label1->text(), QString());
        QCOMPARE(w->ui->Label3->text(), u" (P)"_s);
        QCOMPARE(w->ErrorText, QString());
        QCOMPARE(w->ui->cbVidVav->count(), 3);
        QCOMPARE(w->ui->cbVidVav->ItemIndex(), 1);
        ClickLanguage(*w, LanguageEnglish);
        QCOMPARE(w->ui->Label1->text(), u"Type of thread"_s);
    }
    void messagesFollowTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("writeError");
        QTest::addColumn<QString>("readValue");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("retry");
        QTest::addColumn<QString>("discard");
        QTest::newRow("BG") << 1 << u"Не може да се запише във файла /x/50%1/DEZADIRE.INI"_s
                            << u"„abc“ не е валидно число"_s << u"„1,2x“ не е валидно число за полето „DIAMm“"_s
                            << u"Нов опит за запис на каталога или затваряне без запис?"_s << u"Нов опит"_s
                            << u"Без запис"_s;
        QTest::newRow("DE") << 2 << u"Schreiben in /x/50%1/DEZADIRE.INI nicht möglich"_s
                            << u"„abc“ ist kein gültiger Zahlenwert"_s
                            << u"„1,2x“ ist kein gültiger Zahlenwert für das Feld „DIAMm“"_s
                            << u"Katalog erneut speichern oder ohne Speichern schließen?"_s << u"Wiederholen"_s
                            << u"Verwerfen"_s;
        QTest::newRow("EN") << 3 << u"Unable to write to /x/50%1/DEZADIRE.INI"_s
                            << u"'abc' is not a valid floating point value"_s
                            << u"'1,2x' is not a valid floating point value for field 'DIAMm'"_s
                            << u"Retry saving the catalog, or close without saving it?"_s << u"Retry"_s << u"Discard"_s;
    }

    // The catalog's messages, the refused cell and the question at close
    // speak the window's language; a message of another form is kept whole.
    void messagesFollowTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, writeError);
        QFETCH(QString, readValue);
        QFETCH(QString, cell);
        QFETCH(QString, question);
        QFETCH(QString, retry);
        QFETCH(QString, discard);
        auto w = OpenWindow();
        ClickLanguage(*w, language);

        // A "%1" in the file name is part of the name, not a placeholder.
        QCOMPARE(CatalogMessageText("Unable to write to /x/50%1/DEZADIRE.INI"), writeError);
        QCOMPARE(CatalogMessageText("'abc' is not a valid floating point value"), readValue);
        QCOMPARE(CatalogMessageText("The catalog is locked"), u"The catalog is locked"_s);
        QCOMPARE(CatalogGridModel::ReadCellText(u"1,2x"_s, CatalogGridModel::ColumnMm, '.').Refusal, cell);

        QString shownQuestion;
        QStringList buttons;
        QTimer::singleShot(0, w.get(), [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            shownQuestion = box->informativeText();
            buttons << box->button(QMessageBox::Retry)->text() << box->button(QMessageBox::Discard)->text();
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Retry));
            box->button(QMessageBox::Discard)->click();
        });
        QVERIFY(!w->AskRetrySaveAsShown(writeError));
        QCOMPARE(shownQuestion, question);
        QCOMPARE(buttons, (QStringList{retry, discard}));
    }
    void startUpCatalogFaultSpeaksTheStoredLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("frameFirst");
        QTest::addColumn<QString>("message");
        const QString texts[] = {QString(), u"„abc“ не е валидно число"_s, u"„abc“ ist kein gültiger Zahlenwert"_s,
                                 u"'abc' is not a valid floating point value"_s};
        for (int language : {LanguageBulgarian, LanguageGerman, LanguageEnglish}) {
            for (bool frameFirst : {false, true}) {
                QTest::addRow("%d, %s", language, frameFirst ? "frame first" : "complete")
                    << language << frameFirst << texts[language];
            }
        }
    }

    // A bad entry found while the window is created is reported once the
    // window shows its language, in that language (the tables start out
    // Bulgarian).
    void startUpCatalogFaultSpeaksTheStoredLanguage()
    {
        QFETCH(int, language);
        QFETCH(bool, frameFirst);
        QFETCH(QString, message);
        SetLanguage(LanguageBulgarian);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile catalog(dir.filePath(u"DEZADIRE.INI"_s));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write("[DIAM_N]\r\nCOUNT=2\r\nD1=abc\r\nD2=1.155\r\n");
        catalog.close();
        SetCatalogFilePathOverride(catalog.fileName());
        QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"RaradeRI"_s);
        key.setValue(u"Default/Lang"_s, language);
        key.sync();

        auto w = frameFirst ? srdiamtest::OpenFrameFirstWindow() : OpenWindow(language);
        QTRY_VERIFY(!w->Messages.isEmpty());
        QCOMPARE(w->Messages, QStringList{message});
        QCOMPARE(w->mdDiamOut.Count(), std::size_t{1});
        w.reset();
        SetCatalogFilePathOverride(QString());
    }

    void manualKeyTableFitsThePage_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("BG") << 1;
        QTest::newRow("DE") << 2;
        QTest::newRow("EN") << 3;
    }

    // The key table on the help page as the window shows it: every key fits
    // its column, and no text of the second column runs over two lines.
    void manualKeyTableFitsThePage()
    {
        QFETCH(int, language);
        auto w = OpenWindow();
        ClickLanguage(*w, language);
        w->ui->pcDaten->setCurrentWidget(w->ui->TabSheet3);
        QTextEdit* view = w->ui->redHlep;
        QTRY_VERIFY(view->isVisible());
        // The page's polish and relayout are posted: the text is drawn after them.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QTextDocument* document = view->document();
        QCOMPARE(document->textWidth(), qreal(view->viewport()->width()));

        int rows = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            const qsizetype tab = text.indexOf(u'\t');
            const QString key = text.left(tab);
            // Bullets and numbered steps have tabs too.
            if (tab <= 0 || key == u"\u2022"_s || key.endsWith(u'.'))
                continue;
            ++rows;
            // Laid out at the page's width, as it is drawn.
            document->documentLayout()->blockBoundingRect(block);
            const QTextLayout* layout = block.layout();
            QVERIFY2(layout != nullptr && layout->lineCount() > 0, qPrintable(text));
            QStringList lines;
            for (int l = 0; l < layout->lineCount(); ++l)
                lines << text.mid(layout->lineAt(l).textStart(), layout->lineAt(l).textLength());
            QVERIFY2(layout->lineCount() <= 2, qPrintable(lines.join(u" | "_s)));
            // A key wider than its column would push the text to a later tab stop.
            const qreal textStart = layout->lineAt(0).cursorToX(int(tab) + 1);
            QVERIFY2(qAbs(textStart - block.blockFormat().leftMargin()) <= 1,
                     qPrintable(text + u": text at "_s + QString::number(textStart)));
        }
        // Enter, F9, Ctrl+Shift+C, Ctrl+Shift+B, Ctrl+U, Ctrl+L, Ctrl+T, Ctrl+Q,
        // F1, Tab, Shift+Tab, Escape three times, Insert, Delete, Ctrl+Enter.
        QCOMPARE(rows, 17);
    }
};

QTEST_MAIN(TestSrDiamLanguage)
#include "TestSrDiamLanguage.moc"
