#include "LanguageTableReader.h"
#include "TestFiles.h"

#include <QtTest>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using zevkotest::ReadFile;
using zevkotest::WriteFile;

// The shipped language tables: their stored form, the texts the window reads,
// and that the generator still turns the sources into exactly these bytes.

namespace {

const QString SourceRoot = QStringLiteral(ZEVKO_SOURCE_ROOT);
const QString Generator = SourceRoot + u"/tools/generate_language_tables.py"_s;
const QStringList Languages{u"BG"_s, u"DE"_s, u"EN"_s};
// The supplement of each language: texts from 1001 on.
const QStringList Supplements{u"BG2"_s, u"DE2"_s, u"EN2"_s};
// A supplement source the generator accepts.
const QByteArray GoodSupplement = "#== 1001-1199: Window\n1001=a %1\n";

QByteArray ShippedTable(const QString& language)
{
    return ReadFile(SourceRoot + u"/resources/lang/"_s + language);
}

zevko::LanguageLines ReadShipped(const QString& language)
{
    const QByteArray body = ShippedTable(language);
    return zevko::ReadLanguageTable(std::string_view(body.constData(), static_cast<std::size_t>(body.size())));
}

// The interpreter behind "python3", asked once: launcher shims on the PATH
// (pyenv and the like) cost a second or more per start.
QString Python()
{
    static const QString interpreter = [] {
        const QString onPath = QStandardPaths::findExecutable(u"python3"_s);
        if (onPath.isEmpty())
            return QString();
        QProcess process;
        process.start(onPath, {u"-c"_s, u"import sys; print(sys.executable)"_s});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return onPath;
        const QString resolved = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        return resolved.isEmpty() ? onPath : resolved;
    }();
    return interpreter;
}

struct GeneratorRun {
    int exitCode = -1;
    QString errors;
};

GeneratorRun RunGenerator(const QStringList& arguments)
{
    GeneratorRun run;
    const QString python = Python();
    if (python.isEmpty()) {
        run.errors = u"python3 is not on the PATH"_s;
        return run;
    }
    QProcess process;
    process.start(python, QStringList{Generator} + arguments);
    if (!process.waitForFinished(60000)) {
        run.errors = u"generator did not finish: "_s + process.errorString();
        return run;
    }
    run.errors = QString::fromUtf8(process.readAllStandardError());
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

} // namespace

class TestLanguageResources : public QObject {
    Q_OBJECT

private slots:
    void generatorReproducesShippedTables();
    void generatorRejectsBadSource_data();
    void generatorRejectsBadSource();
    void generatorRejectsBadSupplement_data();
    void generatorRejectsBadSupplement();
    void storedForm_data();
    void storedForm();
    void supplementStoredForm_data();
    void supplementStoredForm();
    void textsTheWindowReads_data();
    void textsTheWindowReads();
    void keyTooltipsNameTheCaption_data();
    void keyTooltipsNameTheCaption();
};

void TestLanguageResources::generatorReproducesShippedTables()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const GeneratorRun run = RunGenerator({u"--output-dir"_s, out.path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    for (const QString& language : Languages + Supplements) {
        const QByteArray shipped = ShippedTable(language);
        QVERIFY2(!shipped.isEmpty(), qPrintable(language));
        QVERIFY2(ReadFile(out.filePath(language)) == shipped,
                 qPrintable(language + u": regenerate with tools/generate_language_tables.py"_s));
    }
}

void TestLanguageResources::generatorRejectsBadSource_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("message");
    QTest::newRow("number twice") << QByteArray("1=a\n2=b\n1=c\n") << u"EN.txt:3: text number 1 appears twice"_s;
    QTest::newRow("number too large") << QByteArray("235=a\n") << u"outside 1 to 234"_s;
    QTest::newRow("number zero") << QByteArray("0=a\n") << u"outside 1 to 234"_s;
    QTest::newRow("leading zero") << QByteArray("01=a\n") << u"without leading zeros"_s;
    QTest::newRow("sign") << QByteArray("-1=a\n") << u"without leading zeros"_s;
    QTest::newRow("blank before equals") << QByteArray("1 =a\n") << u"without leading zeros"_s;
    QTest::newRow("no equals") << QByteArray("# comment\n\n1 External thread\n") << u"EN.txt:3: no '='"_s;
    QTest::newRow("equals in text") << QByteArray("1=a=b\n") << u"contains an equals sign"_s;
    QTest::newRow("CR in text") << QByteArray("1=a\rb\n") << u"contains a CR"_s;
    QTest::newRow("NUL in text") << QByteArray("1=a\0b\n", 6) << u"contains a NUL"_s;
    QTest::newRow("not UTF-8") << QByteArray("1=L\xF6schen\n") << u"utf-8"_s;
}

void TestLanguageResources::generatorRejectsBadSource()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sources = dir.filePath(u"source"_s);
    const QString out = dir.filePath(u"out"_s);
    QVERIFY(QDir().mkpath(sources));
    QVERIFY(WriteFile(sources + u"/BG.txt"_s, "1=a\n"));
    QVERIFY(WriteFile(sources + u"/DE.txt"_s, "1=a\n"));
    QVERIFY(WriteFile(sources + u"/EN.txt"_s, source));
    for (const QString& supplement : Supplements)
        QVERIFY(WriteFile(sources + u'/' + supplement + u".txt"_s, GoodSupplement));

    const GeneratorRun run = RunGenerator({u"--source-dir"_s, sources, u"--output-dir"_s, out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(message, Qt::CaseInsensitive), qPrintable(run.errors));
    // A bad source writes no table at all, not even the good ones.
    QVERIFY(!QFile::exists(out + u"/BG"_s));
    QVERIFY(!QFile::exists(out + u"/EN"_s));
}

void TestLanguageResources::generatorRejectsBadSupplement_data()
{
    QTest::addColumn<QByteArray>("english");
    QTest::addColumn<QByteArray>("german");
    QTest::addColumn<QString>("message");
    const QByteArray header = "#== 1001-1199: Window\n";
    const QByteArray good = GoodSupplement;
    QTest::newRow("before any section") << QByteArray("1001=a %1\n" + header) << good
                                        << u"EN2.txt:1: text number 1001 stands before the first section header"_s;
    QTest::newRow("outside its section") << QByteArray(header + "1001=a %1\n1200=b\n") << good
                                         << u"EN2.txt:3: text number 1200 is outside its section 1001-1199"_s;
    QTest::newRow("main-table number") << QByteArray(header + "1001=a %1\n234=b\n") << good
                                       << u"outside its section 1001-1199"_s;
    QTest::newRow("unreserved range") << QByteArray("#== 1600-1799: Other\n1600=a\n") << good
                                      << u"EN2.txt:1: 1600-1799 is not one of the reserved ranges"_s;
    QTest::newRow("empty text") << QByteArray(header + "1001=\n") << good << u"EN2.txt:2: text 1001 is empty"_s;
    QTest::newRow("number twice") << QByteArray(header + "1001=a %1\n1001=b %1\n") << good
                                  << u"EN2.txt:3: text number 1001 appears twice"_s;
    QTest::newRow("equals in text") << QByteArray(header + "1001=a=%1\n") << good << u"contains an equals sign"_s;
    QTest::newRow("only in English") << QByteArray(header + "1001=a %1\n1002=b\n") << good
                                     << u"EN2.txt:3: text number 1002 has no text in BG2.txt"_s;
    QTest::newRow("only in German") << good << QByteArray(header + "1001=a %1\n1002=b\n")
                                    << u"DE2.txt:3: text number 1002 has no text in BG2.txt"_s;
    QTest::newRow("placeholder lost") << good << QByteArray(header + "1001=a\n")
                                      << u"DE2.txt:2: text 1001 has other placeholders"_s;
    QTest::newRow("placeholder added") << good << QByteArray(header + "1001=a %1 %2\n")
                                       << u"DE2.txt:2: text 1001 has other placeholders"_s;
}

void TestLanguageResources::generatorRejectsBadSupplement()
{
    QFETCH(QByteArray, english);
    QFETCH(QByteArray, german);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sources = dir.filePath(u"source"_s);
    const QString out = dir.filePath(u"out"_s);
    QVERIFY(QDir().mkpath(sources));
    for (const QString& language : Languages)
        QVERIFY(WriteFile(sources + u'/' + language + u".txt"_s, "1=a\n"));
    QVERIFY(WriteFile(sources + u"/BG2.txt"_s, GoodSupplement));
    QVERIFY(WriteFile(sources + u"/DE2.txt"_s, german));
    QVERIFY(WriteFile(sources + u"/EN2.txt"_s, english));

    const GeneratorRun run = RunGenerator({u"--source-dir"_s, sources, u"--output-dir"_s, out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    // Nothing is written, neither the main tables nor any supplement.
    QVERIFY(!QFile::exists(out + u"/EN"_s));
    QVERIFY(!QFile::exists(out + u"/BG2"_s));
}

void TestLanguageResources::storedForm_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("ending");
    QTest::newRow("BG") << u"BG"_s << QString();
    QTest::newRow("DE") << u"DE"_s << u"\r\n"_s + QChar(0);
    QTest::newRow("EN") << u"EN"_s << u"\r\n"_s + QChar(0);
}

void TestLanguageResources::storedForm()
{
    QFETCH(QString, language);
    QFETCH(QString, ending);
    const QByteArray bytes = ShippedTable(language);
    QVERIFY(bytes.size() > 2 && bytes.size() % 2 == 0);
    QCOMPARE(bytes.left(2), QByteArray("\xFF\xFE"));

    // Decoded by hand, independently of the reader under test.
    QString text;
    for (qsizetype i = 2; i < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8)));
    QVERIFY(text.endsWith(ending));
    text.chop(ending.size());
    QVERIFY(!text.endsWith(u"\r\n"_s));
    QCOMPARE(text.count(QChar(0)), 0);

    const QStringList lines = text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 234);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString prefix = QString::number(i + 1) + u'=';
        QVERIFY2(lines[i].startsWith(prefix), qPrintable(lines[i]));
        const QString textPart = lines[i].mid(prefix.size());
        QVERIFY2(!textPart.contains(u'=') && !textPart.contains(u'\r') && !textPart.contains(u'\n'),
                 qPrintable(lines[i]));
    }

    // And the reader sees exactly these lines, whichever ending the table has.
    const zevko::LanguageLines read = ReadShipped(language);
    QCOMPARE(read.size(), std::size_t(234));
    for (std::size_t i = 0; i < read.size(); ++i)
        QCOMPARE(QString::fromStdU16String(read[i]), lines[static_cast<qsizetype>(i)]);
}

void TestLanguageResources::supplementStoredForm_data()
{
    QTest::addColumn<QString>("table");
    for (const QString& table : Supplements)
        QTest::newRow(qPrintable(table)) << table;
}

// The same stored form as the main tables: UTF-16 LE with its mark, "N=text"
// lines ending in CR LF, numbers ascending within the reserved ranges; and
// every language has a text under the same numbers.
void TestLanguageResources::supplementStoredForm()
{
    QFETCH(QString, table);
    const QByteArray bytes = ShippedTable(table);
    QVERIFY(bytes.size() > 2 && bytes.size() % 2 == 0);
    QCOMPARE(bytes.left(2), QByteArray("\xFF\xFE"));
    QString text;
    for (qsizetype i = 2; i < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8)));
    QVERIFY(text.endsWith(u"\r\n"_s));
    QCOMPARE(text.count(QChar(0)), 0);
    QCOMPARE(text.count(u'\n'), text.count(u"\r\n"_s));
    QCOMPARE(text.count(u'\r'), text.count(u"\r\n"_s));
    text.chop(2);
    const QStringList lines = text.split(u"\r\n"_s);

    static const QRegularExpression form(u"^([1-9][0-9]*)=([^=]+)$"_s);
    QList<int> numbers;
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = form.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        const int n = m.captured(1).toInt();
        QVERIFY2((n >= 1001 && n <= 1599), qPrintable(line));
        QVERIFY2(numbers.isEmpty() || n > numbers.last(), qPrintable(line));
        numbers << n;
    }

    QList<int> english;
    for (const std::u16string& line : ReadShipped(u"EN2"_s))
        english << QString::fromStdU16String(line).section(u'=', 0, 0).toInt();
    QCOMPARE(numbers, english);
    QCOMPARE(ReadShipped(table).size(), std::size_t(lines.size()));
}

void TestLanguageResources::textsTheWindowReads_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("de");
    QTest::addColumn<QString>("bg");
    auto row = [](int number, const QString& en, const QString& de, const QString& bg) {
        QTest::addRow("%d", number) << number << en << de << bg;
    };
    row(1, u"External thread"_s, u"Aussengewinde"_s, u"Външна резба"_s);
    row(2, u"Internal thread"_s, u"Innengewinde"_s, u"Вътрешна резба"_s);
    row(15, u"Lead"_s, u"Steigung"_s, u"Ход"_s);
    row(16, u"Pitch"_s, u"Teilung"_s, u"Стъпка"_s);
    row(23, u"Gauges for Major Diameter "_s, u"Lehren für den Aussendurchmesser "_s, u"Калибри за външния диаметър "_s);
    row(24, u"Gauges for Minor Diameter "_s, u"Lehren für den Kerndurchmesser "_s, u"Калибри за вътрешния диаметър "_s);
    row(32, u"Software for Screw Thread Calculation"_s, u"Software zur Gewindeberechnung"_s,
        u"Софтуер за изчисляване на резби"_s);
    row(33, u"Type of thread"_s, u"Gewindeart"_s, u"Тип резба"_s);
    row(45, u"Number of starts"_s, u"Gangzahl"_s, u"Брой ходове"_s);
    row(51, u"Tolerances"_s, u"Toleranzen"_s, u"Допуски"_s);
    row(171, u"Copy"_s, u"Kopieren"_s, u"Копиране"_s);
    row(173, u"Exit"_s, u"Beenden"_s, u"Изход"_s);
    row(174, u"Calculation"_s, u"Berechnen"_s, u"Изчисляване"_s);
    row(176, u"About Zevko-Thread"_s, u"Info über Zevko-Thread"_s, u"Информация"_s);
    row(177, u"Language"_s, u"Sprache"_s, u"Език"_s);
    row(178, u"Figure"_s, u"Bild"_s, u"Схема"_s);
    row(191, u"Correction for the meas. force"_s, u"Abplattungskorrektur"_s, u"Корекция от изм. натиск"_s);
    row(196, u"No plausible entries. Please correct!"_s, u"Unplausible Einträge. Bitte korrigieren!"_s,
        u"Некоректно въведени параметри! Изчисляване е невъзможно!"_s);
    row(199, u"New"_s, u"Einfügen"_s, u"Въвеждане"_s);
    row(200, u"Delete"_s, u"Löschen"_s, u"Изтриване"_s);
    row(202, u"Material of the probing elements"_s, u"Tastenelemente aus"_s, u"Материал на изм. накрайници"_s);
    row(203, u"steel"_s, u"Stahl"_s, u"стомана"_s);
    row(204, u"ruby"_s, u"Rubin"_s, u"рубин"_s);
    row(205, u"Measurement method"_s, u"Messverfahren"_s, u"Измерване спрямо оста"_s);
    row(206, u"perpendicular"_s, u"senkrecht"_s, u"перпендикулярно"_s);
    row(207, u"inclined"_s, u"geneigt"_s, u"наклонено"_s);
    row(211, u"Flank Angle"_s, u"Teilflankenwinkel"_s, u"Ъгъл на профила"_s);
    row(212, u"Opt. diameter of the wires"_s, u"Optimaler Drahtdurchmesser"_s, u"Опт. диаметър на нишките"_s);
    row(213, u"Diameter of the wires"_s, u"Drahtdurchmesser"_s, u"Диаметър на нишките"_s);
    row(214, u"Opt. diameter of the balls"_s, u"Optimaler Kugeldurchmesser"_s, u"Опт. диаметър на сфер. накр."_s);
    row(215, u"Diameter of the balls"_s, u"Kugeldurchmesser"_s, u"Диаметър на сфер. накр."_s);
    row(216, u"Measuring force"_s, u"Messkraft"_s, u"Измервателен натиск"_s);
    row(217, u"Measurement P.D."_s, u"Prüfmass"_s, u"Размер"_s);
    row(218, u"Pitch diameter"_s, u"Flankendurchmesser"_s, u"Ср. диаметър"_s);
    row(219, u"Catalog"_s, u"Katalog"_s, u"Каталог"_s);
    row(220, u"Manual"_s, u"Anleitung"_s, u"Упътване"_s);
    row(221, u"Select"_s, u"Auswahl"_s, u"Избор"_s);
    row(234, u"Tolerance of the plating is too large! Correct please!"_s,
        u"Die Toleranz der Beschichtung ist zu gross! Bitte korrigieren!"_s,
        u"Допускът на покритието е твърде голям! Моля, коригирайте!"_s);
    // The supplement: the range tooltip and the keys of the catalog grid.
    row(1001, u"Accepted range: %1 to %2 %3"_s, u"Zulässiger Bereich: %1 bis %2 %3"_s,
        u"Допустим диапазон: от %1 до %2 %3"_s);
    row(1007, u"Millimetres / inches (Ctrl+U)"_s, u"Millimeter / Zoll (Strg+U)"_s, u"Милиметри / инчове (Ctrl+U)"_s);
    row(1009, u"New (Insert)"_s, u"Einfügen (Einfg)"_s, u"Въвеждане (Insert)"_s);
    row(1010, u"Delete (Delete)"_s, u"Löschen (Entf)"_s, u"Изтриване (Delete)"_s);
    row(1011, u"Select (Ctrl+Enter)"_s, u"Auswahl (Strg+Eingabe)"_s, u"Избор (Ctrl+Enter)"_s);
    row(1012, u"Unable to write to %1"_s, u"Schreiben in %1 nicht möglich"_s, u"Не може да се запише във файла %1"_s);
    // Numbers the program never reads stay empty rather than carry filler.
    for (const int unused : {3, 14, 17, 22, 25, 31, 34, 50, 52, 170, 172, 175, 195, 201, 208, 210, 222, 233})
        row(unused, QString(), QString(), QString());
}

void TestLanguageResources::textsTheWindowReads()
{
    QFETCH(int, number);
    QFETCH(QString, en);
    QFETCH(QString, de);
    QFETCH(QString, bg);
    const std::pair<QString, QString> expected[] = {{u"EN"_s, en}, {u"DE"_s, de}, {u"BG"_s, bg}};
    for (const auto& [language, text] : expected) {
        const QString table = number >= 1001 ? language + u'2' : language;
        const QString found = QString::fromStdU16String(zevko::FindLanguageText(ReadShipped(table), number));
        QVERIFY2(found == text, qPrintable(language + u": \""_s + found + u"\" instead of \""_s + text + u'"'));
    }
}

void TestLanguageResources::keyTooltipsNameTheCaption_data()
{
    QTest::addColumn<int>("tooltip");
    QTest::addColumn<int>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("germanKey");
    QTest::newRow("calculation") << 1003 << 174 << u"F9"_s << u"F9"_s;
    QTest::newRow("copy") << 1004 << 171 << u"Ctrl+Shift+C"_s << u"Strg+Umschalt+C"_s;
    QTest::newRow("language") << 1005 << 177 << u"Ctrl+L"_s << u"Strg+L"_s;
    QTest::newRow("exit") << 1006 << 173 << u"Ctrl+Q"_s << u"Strg+Q"_s;
    QTest::newRow("manual") << 1008 << 220 << u"F1"_s << u"F1"_s;
    QTest::newRow("new") << 1009 << 199 << u"Insert"_s << u"Einfg"_s;
    QTest::newRow("delete") << 1010 << 200 << u"Delete"_s << u"Entf"_s;
    QTest::newRow("select") << 1011 << 221 << u"Ctrl+Enter"_s << u"Strg+Eingabe"_s;
}

// A tooltip naming a key is the element's own caption and the key, in every
// language: a caption changed in one table and not in the other shows.
void TestLanguageResources::keyTooltipsNameTheCaption()
{
    QFETCH(int, tooltip);
    QFETCH(int, caption);
    QFETCH(QString, key);
    QFETCH(QString, germanKey);
    for (const QString& language : Languages) {
        const QString name = QString::fromStdU16String(zevko::FindLanguageText(ReadShipped(language), caption));
        const QString found = QString::fromStdU16String(zevko::FindLanguageText(ReadShipped(language + u'2'), tooltip));
        const QString wanted = name + u" ("_s + (language == u"DE"_s ? germanKey : key) + u')';
        QVERIFY2(!name.isEmpty(), qPrintable(language));
        QVERIFY2(found == wanted, qPrintable(language + u": \""_s + found + u"\" instead of \""_s + wanted + u'"'));
    }
}

QTEST_GUILESS_MAIN(TestLanguageResources)
#include "TestLanguageResources.moc"
