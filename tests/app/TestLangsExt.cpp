#include "LangsExt.h"

#include <QtTest>

#include <QFile>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

// The suite's key exactly as the rest of the suite opens it.
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

QByteArray ShippedTable(const QString& name)
{
    QFile file(QStringLiteral(ZEVKO_SOURCE_ROOT) + u"/resources/lang/"_s + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The module's unregister/register pair for the embedded tables, to make them
// go missing the way a broken build would.
static void RemoveLanguageResources()
{
    Q_CLEANUP_RESOURCE(lang);
}
static void RestoreLanguageResources()
{
    Q_INIT_RESOURCE(lang);
}

class TestLangsExt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startLoadsBulgarianAndWritesKey();
    void languageText_data();
    void languageText();
    void everyTableHas234Entries_data();
    void everyTableHas234Entries();
    void unknownLanguageEmptiesTable_data();
    void unknownLanguageEmptiesTable();
    void keyWrittenOnEveryCall();
    void missingResourceIsSilent();
    void loadLanguageResource();
    void finaliseAndStartAgain();
    void cleanupTestCase();
};

void TestLangsExt::initTestCase()
{
    // What the program held from an earlier run must not survive the start.
    SetSuiteLanguageValue(3);
    QCOMPARE(CurrentLanguage(), LanguageBulgarian);
    QCOMPARE(LanguageText(1), QString());
    InitializeLangsExt();
}

void TestLangsExt::startLoadsBulgarianAndWritesKey()
{
    QCOMPARE(CurrentLanguage(), 1);
    QCOMPARE(LanguageText(1), u"Външна резба"_s);
    const QVariant stored = SuiteLanguageValue();
    QVERIFY(stored.isValid());
    QCOMPARE(stored.toInt(), 1);
}

void TestLangsExt::languageText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    struct Row {
        int number;
        QString en, de, bg;
    };
    const Row rows[] = {
        {1, u"External thread"_s, u"Aussengewinde"_s, u"Външна резба"_s},
        {196, u"No plausible entries. Please correct!"_s, u"Unplausible Einträge. Bitte korrigieren!"_s,
         u"Некоректно въведени параметри! Изчисляване е невъзможно!"_s},
        {217, u"Measurement P.D."_s, u"Prüfmass"_s, u"Размер"_s},
        {218, u"Pitch diameter"_s, u"Flankendurchmesser"_s, u"Ср. диаметър"_s},
        {23, u"Gauges for Major Diameter "_s, u"Lehren für den Aussendurchmesser "_s,
         u"Калибри за външния диаметър "_s},
        {234, u"Tolerance of the plating is too large! Correct please!"_s,
         u"Die Toleranz der Beschichtung ist zu gross! Bitte korrigieren!"_s,
         u"Допускът на покритието е твърде голям! Моля, коригирайте!"_s},
        // Texts of the supplement, looked up the same way.
        {1001, u"Accepted range: %1 to %2 %3"_s, u"Zulässiger Bereich: %1 bis %2 %3"_s,
         u"Допустим диапазон: от %1 до %2 %3"_s},
        {1011, u"Select (Ctrl+Enter)"_s, u"Auswahl (Strg+Eingabe)"_s, u"Избор (Ctrl+Enter)"_s},
        {3, QString(), QString(), QString()},
        {0, QString(), QString(), QString()},
        {1000, QString(), QString(), QString()},
        {1199, QString(), QString(), QString()},
        {235, QString(), QString(), QString()},
        {-1, QString(), QString(), QString()},
    };
    for (const Row& row : rows) {
        QTest::addRow("EN %d", row.number) << 3 << row.number << row.en;
        QTest::addRow("DE %d", row.number) << 2 << row.number << row.de;
        QTest::addRow("BG %d", row.number) << 1 << row.number << row.bg;
    }
}

void TestLangsExt::languageText()
{
    QFETCH(int, language);
    QFETCH(int, number);
    QFETCH(QString, expected);
    SetLanguage(language);
    QCOMPARE(CurrentLanguage(), language);
    QCOMPARE(LanguageText(number), expected);
}

void TestLangsExt::everyTableHas234Entries_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("BG, no final break") << 1;
    QTest::newRow("DE, final CR LF NUL") << 2;
    QTest::newRow("EN, final CR LF NUL") << 3;
}

void TestLangsExt::everyTableHas234Entries()
{
    QFETCH(int, language);
    SetLanguage(language);
    const QStringList table = LanguageTable();
    QCOMPARE(table.size(), 234);
    QCOMPARE(table.first(), u"1="_s + LanguageText(1));
    QVERIFY(!LanguageText(234).isEmpty());
    QCOMPARE(table.last(), u"234="_s + LanguageText(234));
    // The supplement beside it, from 1001 on.
    const QStringList supplement = LanguageSupplementTable();
    QVERIFY(!supplement.isEmpty());
    QCOMPARE(supplement.first(), u"1001="_s + LanguageText(1001));
}

void TestLangsExt::unknownLanguageEmptiesTable_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("0, nothing stored") << 0;
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
}

void TestLangsExt::unknownLanguageEmptiesTable()
{
    QFETCH(int, language);
    SetLanguage(3);
    QCOMPARE(LanguageText(1), u"External thread"_s);

    SetLanguage(language);
    QCOMPARE(CurrentLanguage(), language);
    QVERIFY(LanguageTable().isEmpty());
    QVERIFY(LanguageSupplementTable().isEmpty());
    for (const int number : {1, 23, 196, 234, 0, -1, 1001})
        QCOMPARE(LanguageText(number), QString());
    QCOMPARE(SuiteLanguageValue().toInt(), language);
}

void TestLangsExt::keyWrittenOnEveryCall()
{
    for (const int language : {2, 3, 1, 2}) {
        SetLanguage(language);
        QCOMPARE(SuiteLanguageValue().toInt(), language);
    }
    // The same language again is written again: nothing reads the key back.
    SetSuiteLanguageValue(77);
    SetLanguage(2);
    QCOMPARE(SuiteLanguageValue().toInt(), 2);
    // Only "Lang" is written, and only under Settings/Default.
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, u"Brantel"_s, u"ProgramKey"_s);
    QCOMPARE(key.allKeys(), QStringList{u"Settings/Default/Lang"_s});
}

void TestLangsExt::missingResourceIsSilent()
{
    SetLanguage(3);
    RemoveLanguageResources();
    SetLanguage(2);
    const QStringList tableWhileMissing = LanguageTable();
    const QStringList supplementWhileMissing = LanguageSupplementTable();
    const QString textWhileMissing = LanguageText(1);
    const QString supplementTextWhileMissing = LanguageText(1001);
    RestoreLanguageResources();

    QVERIFY(tableWhileMissing.isEmpty());
    QVERIFY(supplementWhileMissing.isEmpty());
    QCOMPARE(textWhileMissing, QString());
    QCOMPARE(supplementTextWhileMissing, QString());
    QCOMPARE(CurrentLanguage(), 2);
    QCOMPARE(SuiteLanguageValue().toInt(), 2);

    SetLanguage(2);
    QCOMPARE(LanguageText(1), u"Aussengewinde"_s);
    QCOMPARE(LanguageText(1006), u"Beenden (Strg+Q)"_s);
}

void TestLangsExt::loadLanguageResource()
{
    // The embedded tables are the checked-in bytes, unchanged.
    for (const QString& name : {u"BG"_s, u"DE"_s, u"EN"_s, u"BG2"_s, u"DE2"_s, u"EN2"_s}) {
        QByteArray stream("earlier content");
        QVERIFY(LoadLanguageResource(name, u"any"_s, stream));
        QCOMPARE(stream, ShippedTable(name));
    }

    QByteArray stream("earlier content");
    QString message;
    QVERIFY(!LoadLanguageResource(u"XX"_s, u"Emglish"_s, stream, &message));
    QCOMPARE(message, u"Can't load lang: Emglish"_s);
    QCOMPARE(stream, QByteArray("earlier content"));

    QVERIFY(!LoadLanguageResource(QString(), u"German"_s, stream, &message));
    QCOMPARE(message, u"Can't load lang: German"_s);
    QVERIFY(!LoadLanguageResource(u"../LANG/BG"_s, u"Bulgarian"_s, stream));
    QCOMPARE(stream, QByteArray("earlier content"));
}

void TestLangsExt::finaliseAndStartAgain()
{
    SetLanguage(3);
    FinalizeLangsExt();
    QVERIFY(LanguageTable().isEmpty());
    QVERIFY(LanguageSupplementTable().isEmpty());
    QCOMPARE(LanguageText(1), QString());
    QCOMPARE(LanguageText(1001), QString());

    // A new start loads the current language again and records it.
    SetSuiteLanguageValue(1);
    InitializeLangsExt();
    QCOMPARE(CurrentLanguage(), 3);
    QCOMPARE(LanguageText(1), u"External thread"_s);
    QCOMPARE(SuiteLanguageValue().toInt(), 3);
}

void TestLangsExt::cleanupTestCase()
{
    FinalizeLangsExt();
}

QTEST_GUILESS_MAIN(TestLangsExt)
#include "TestLangsExt.moc"
