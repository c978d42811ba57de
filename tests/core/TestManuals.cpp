#include "RtfReader.h"

#include <QtTest>

#include <string>

using namespace Qt::StringLiterals;
using zevko::RtfDocument;

namespace {

QByteArray ManualBytes(const QString& language)
{
    QFile file(QStringLiteral(ZEVKO_SOURCE_ROOT "/resources/manual/RTF_") + language + u".rtf"_s);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open the %s manual", qPrintable(language));
    return file.readAll();
}

RtfDocument Manual(const QString& language)
{
    const QByteArray bytes = ManualBytes(language);
    return zevko::ReadRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QStringList Paragraphs(const RtfDocument& doc)
{
    QStringList list;
    for (const zevko::RtfParagraph& p : doc.Paragraphs)
        list << QString::fromStdString(p.Text());
    return list;
}

// The numbers of the paragraphs that read "<number>.<tab>...", in order.
QList<int> StepNumbers(const QStringList& paragraphs, qsizetype from, qsizetype to)
{
    static const QRegularExpression step(u"^(\\d+)\\.\t\\S"_s);
    QList<int> numbers;
    for (qsizetype i = from; i < to; ++i) {
        const QRegularExpressionMatch m = step.match(paragraphs[i]);
        if (m.hasMatch())
            numbers << m.captured(1).toInt();
    }
    return numbers;
}

} // namespace

class TestManuals : public QObject {
    Q_OBJECT

private slots:
    void manual_data();
    void manual();
    void sameStructureInEveryLanguage();
};

void TestManuals::manual_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("mentions");

    // The window's own captions, the shortcuts, and the published methods.
    QTest::newRow("English")
        << u"EN"_s << u"Software for Determining the Pitch Diameter of Threads When Measuring with Wires or Balls"_s
        << QStringList{u"Introduction"_s, u"Description"_s, u"Sequence of operations"_s, u"Additional functions"_s}
        << QStringList{u"Calculation"_s,
                       u"Copy"_s,
                       u"Language"_s,
                       u"Exit"_s,
                       u"About Zevko-Thread"_s,
                       u"New"_s,
                       u"Delete"_s,
                       u"Select"_s,
                       u"Figure"_s,
                       u"Catalog"_s,
                       u"Manual"_s,
                       u"External thread"_s,
                       u"Internal thread"_s,
                       u"Pitch (P)"_s,
                       u"Number of starts (n)"_s,
                       u"Lead (l)"_s,
                       u"Flank Angle (В)"_s,
                       u"Flank Angle (Y)"_s,
                       u"Diameter of the wires (dD)"_s,
                       u"Measuring force (F)"_s,
                       u"Measurement P.D. (m)"_s,
                       u"Pitch diameter (d2)"_s,
                       u"Correction for the meas. force"_s,
                       u"β and γ"_s,
                       u"Berndt"_s,
                       u"EA-10/10"_s,
                       u"Lechowski"_s,
                       u"Hertz"_s,
                       u"DEZADIRE.INI"_s,
                       u"F9"_s,
                       u"Ctrl+Shift+C"_s,
                       u"Ctrl+U"_s,
                       u"Ctrl+Q"_s,
                       u"F1"_s,
                       u"Shift+Tab"_s,
                       u"Escape"_s,
                       u"±25 %"_s,
                       u"No plausible entries. Please correct!"_s,
                       u"Ctrl+L"_s,
                       u"Insert"_s,
                       u"Ctrl+Enter"_s,
                       u"a mouse click or Escape closes it"_s,
                       u"~/.local/share/Zevko Thread - PD/"_s,
                       u"when that folder is writable"_s,
                       u"the type of thread, the material of the probing elements, the measurement method, "
                       u"the entered quantity, the language and the unit system"_s};
    QTest::newRow("German")
        << u"DE"_s
        << u"Software zur Bestimmung des Flankendurchmessers von Gewinden bei der Messung mit Drähten oder Kugeln"_s
        << QStringList{u"Einleitung"_s, u"Beschreibung"_s, u"Arbeitsablauf"_s, u"Zusatzfunktionen"_s}
        << QStringList{u"Berechnen"_s,
                       u"Kopieren"_s,
                       u"Sprache"_s,
                       u"Beenden"_s,
                       u"Info über Zevko-Thread"_s,
                       u"Einfügen"_s,
                       u"Löschen"_s,
                       u"Auswahl"_s,
                       u"Bild"_s,
                       u"Katalog"_s,
                       u"Anleitung"_s,
                       u"Aussengewinde"_s,
                       u"Innengewinde"_s,
                       u"Teilung (P)"_s,
                       u"Gangzahl (n)"_s,
                       u"Steigung (l)"_s,
                       u"Teilflankenwinkel (В)"_s,
                       u"Teilflankenwinkel (Y)"_s,
                       u"Drahtdurchmesser (dD)"_s,
                       u"Messkraft (F)"_s,
                       u"Prüfmass (m)"_s,
                       u"Flankendurchmesser (d2)"_s,
                       u"Abplattungskorrektur"_s,
                       u"β und γ"_s,
                       u"Berndt"_s,
                       u"EA-10/10"_s,
                       u"Lechowski"_s,
                       u"Hertz"_s,
                       u"DEZADIRE.INI"_s,
                       u"F9"_s,
                       u"Strg+Umschalt+C"_s,
                       u"Strg+U"_s,
                       u"Strg+Q"_s,
                       u"F1"_s,
                       u"Umschalt+Tab"_s,
                       u"Escape"_s,
                       u"±25 %"_s,
                       u"Unplausible Einträge. Bitte korrigieren!"_s,
                       u"Strg+L"_s,
                       u"Einfg"_s,
                       u"Entf"_s,
                       u"Strg+Eingabe"_s,
                       u"ein Mausklick oder Escape"_s,
                       u"~/.local/share/Zevko Thread - PD/"_s,
                       u"wenn dieser beschreibbar ist"_s,
                       u"Gewindeart, Werkstoff der Tastelemente, Messverfahren, eingegebene Messgröße, Sprache und "
                       u"Einheitensystem"_s};
    QTest::newRow("Bulgarian")
        << u"BG"_s << u"Софтуер за определяне на средния диаметър на резби при измерване с нишки или сфери"_s
        << QStringList{u"Въведение"_s, u"Описание"_s, u"Последователност на работа"_s, u"Допълнителни функции"_s}
        << QStringList{u"Изчисляване"_s,
                       u"Копиране"_s,
                       u"Език"_s,
                       u"Изход"_s,
                       u"Информация"_s,
                       u"Въвеждане"_s,
                       u"Изтриване"_s,
                       u"Избор"_s,
                       u"Схема"_s,
                       u"Каталог"_s,
                       u"Упътване"_s,
                       u"Външна резба"_s,
                       u"Вътрешна резба"_s,
                       u"Стъпка (P)"_s,
                       u"Брой ходове (n)"_s,
                       u"Ход (l)"_s,
                       u"Ъгъл на профила (В)"_s,
                       u"Ъгъл на профила (Y)"_s,
                       u"Диаметър на нишките (dD)"_s,
                       u"Измервателен натиск (F)"_s,
                       u"Размер (m)"_s,
                       u"Ср. диаметър (d2)"_s,
                       u"Корекция от изм. натиск"_s,
                       u"β и γ"_s,
                       u"Berndt"_s,
                       u"EA-10/10"_s,
                       u"Lechowski"_s,
                       u"Херц"_s,
                       u"DEZADIRE.INI"_s,
                       u"F9"_s,
                       u"Ctrl+Shift+C"_s,
                       u"Ctrl+U"_s,
                       u"Ctrl+Q"_s,
                       u"F1"_s,
                       u"Shift+Tab"_s,
                       u"Escape"_s,
                       u"±25 %"_s,
                       u"Некоректно въведени параметри! Изчисляване е невъзможно!"_s,
                       u"Ctrl+L"_s,
                       u"Insert"_s,
                       u"Ctrl+Enter"_s,
                       u"щракване с мишката или Escape"_s,
                       u"~/.local/share/Zevko Thread - PD/"_s,
                       u"когато в нея може да се записва"_s,
                       u"типът резба, материалът на измервателните накрайници, методът на измерване, "
                       u"въвежданата величина, езикът и мерните единици"_s};
}

void TestManuals::manual()
{
    QFETCH(QString, language);
    QFETCH(QString, title);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, mentions);

    // Seven-bit RTF travels through any tool unharmed.
    const QByteArray bytes = ManualBytes(language);
    for (const char c : bytes)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the manual holds a byte beyond ASCII");

    const RtfDocument doc = Manual(language);
    const QStringList paragraphs = Paragraphs(doc);
    QVERIFY(!paragraphs.isEmpty());
    QCOMPARE(paragraphs.first(), title);

    // The four sections, in order, each a paragraph of its own.
    QList<qsizetype> at;
    for (const QString& section : sections) {
        const qsizetype index = paragraphs.indexOf(section);
        QVERIFY2(index > 0, qPrintable(u"missing section "_s + section));
        if (!at.isEmpty())
            QVERIFY2(index > at.last(), qPrintable(u"out of order: "_s + section));
        at << index;
    }

    // The eleven steps, all in their section and nowhere else.
    QList<int> expected;
    for (int n = 1; n <= 11; ++n)
        expected << n;
    QCOMPARE(StepNumbers(paragraphs, at[2], at[3]), expected);
    QCOMPARE(StepNumbers(paragraphs, 0, paragraphs.size()), expected);

    const QString text = paragraphs.join(u'\n');
    for (const QString& mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(u"does not mention "_s + mention));

    // Nothing of the font or colour tables, no markup, no undecodable byte.
    for (const QString& leak : {u"Arial"_s, u"\\"_s, u"{"_s, u"}"_s, u"\uFFFD"_s, u"?"_s})
        QVERIFY2(!text.contains(leak), qPrintable(u"leaked: "_s + leak));
}

// The three manuals say the same things: paragraph for paragraph the same
// layout, the same emphasis count and the same numbers.
void TestManuals::sameStructureInEveryLanguage()
{
    const RtfDocument en = Manual(u"EN"_s);
    for (const QString& language : {u"DE"_s, u"BG"_s}) {
        const RtfDocument other = Manual(language);
        QCOMPARE(other.Paragraphs.size(), en.Paragraphs.size());
        for (std::size_t i = 0; i < en.Paragraphs.size(); ++i) {
            const auto& a = en.Paragraphs[i];
            const auto& b = other.Paragraphs[i];
            QVERIFY2(a.Format == b.Format, qPrintable(u"%1 paragraph %2 laid out differently"_s.arg(language).arg(i)));
            const auto bold = [](const zevko::RtfParagraph& p) {
                return std::count_if(p.Runs.begin(), p.Runs.end(),
                                     [](const zevko::RtfRun& r) { return r.Format.Bold; });
            };
            QVERIFY2(bold(a) == bold(b), qPrintable(u"%1 paragraph %2 emphasises differently"_s.arg(language).arg(i)));
            static const QRegularExpression numbers(u"\\d+(?:[.,]\\d+)?"_s);
            const auto numbersOf = [](const zevko::RtfParagraph& p) {
                QStringList found;
                auto it = numbers.globalMatch(QString::fromStdString(p.Text()));
                while (it.hasNext())
                    found << it.next().captured().replace(u',', u'.');
                return found;
            };
            QCOMPARE(numbersOf(b), numbersOf(a));
        }
    }
}

QTEST_APPLESS_MAIN(TestManuals)
#include "TestManuals.moc"
