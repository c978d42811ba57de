#include "LanguageTableReader.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using zevko::AnsiCodePage;
using zevko::LanguageLines;

namespace {

QByteArray Utf16Body(const QString& text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low);
        bytes.append(bigEndian ? low : high);
    }
    return bytes;
}

QByteArray Le(const QString& text)
{
    return Utf16Body(text, false);
}
QByteArray Be(const QString& text)
{
    return Utf16Body(text, true);
}
QByteArray Utf8(const QByteArray& bytes)
{
    return QByteArray("\xEF\xBB\xBF") + bytes;
}

QByteArray Bytes(std::initializer_list<unsigned char> list)
{
    QByteArray bytes;
    for (const unsigned char b : list)
        bytes.append(static_cast<char>(b));
    return bytes;
}

QStringList ToStringList(const LanguageLines& lines)
{
    QStringList list;
    for (const std::u16string& line : lines)
        list.append(QString::fromStdU16String(line));
    return list;
}

LanguageLines ToLines(const QStringList& list)
{
    LanguageLines lines;
    for (const QString& s : list)
        lines.push_back(s.toStdU16String());
    return lines;
}

const QString Fffd = QString(QChar(0xFFFD));

} // namespace

class TestLanguageTableReader : public QObject {
    Q_OBJECT

private slots:
    void encodings_data();
    void encodings();
    void textEndsAtFirstNul_data();
    void textEndsAtFirstNul();
    void lineBreaks_data();
    void lineBreaks();
    void malformedInput_data();
    void malformedInput();
    void lookupByKey_data();
    void lookupByKey();
    void lookupByNumber();
};

void TestLanguageTableReader::encodings_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QStringList>("expected");
    const int w1251 = static_cast<int>(AnsiCodePage::Windows1251);
    const int w1252 = static_cast<int>(AnsiCodePage::Windows1252);

    // Spelled out byte by byte so the helpers above are checked too.
    QTest::newRow("utf16le bytes") << Bytes({0xFF, 0xFE, '1', 0, '=', 0, 0x12, 0x04, 0x0D, 0, 0x0A, 0, '2', 0, '=', 0})
                                   << w1252 << QStringList{u"1=В"_s, u"2="_s};
    QTest::newRow("utf16be bytes") << Bytes({0xFE, 0xFF, 0, '1', 0, '=', 0x04, 0x12, 0, 0x0D, 0, 0x0A, 0, '2', 0, '='})
                                   << w1252 << QStringList{u"1=В"_s, u"2="_s};
    QTest::newRow("utf16le cyrillic and umlaut")
        << Le(u"1=Външна резба\r\n200=Löschen"_s) << w1252 << QStringList{u"1=Външна резба"_s, u"200=Löschen"_s};
    QTest::newRow("utf16be cyrillic and umlaut")
        << Be(u"1=Външна резба\r\n200=Löschen"_s) << w1252 << QStringList{u"1=Външна резба"_s, u"200=Löschen"_s};
    QTest::newRow("utf8 bom") << Utf8("1=\xD0\x92\xD1\x8A\xD0\xBD\r\n217=Pr\xC3\xBC"
                                      "fmass")
                              << w1252 << QStringList{u"1=Вън"_s, u"217=Prüfmass"_s};
    QTest::newRow("utf8 outside bmp") << Utf8("9=\xF0\x9F\x98\x80") << w1251 << QStringList{u"9=\U0001F600"_s};
    QTest::newRow("no bom 1251") << QByteArray("1=\xC2\xFA\xED\xF8\xED\xE0 \xA8\xB8\x88") << w1251
                                 << QStringList{u"1=Външна Ёё€"_s};
    QTest::newRow("no bom 1252") << QByteArray("200=L\xF6schen \xC4\xDF\x80\x9F") << w1252
                                 << QStringList{u"200=Löschen Äß€Ÿ"_s};
    QTest::newRow("no bom undefined 1252 byte")
        << QByteArray("1=\x81\x8D") << w1252 << QStringList{u"1=\u0081\u008D"_s};
    QTest::newRow("default code page is 1251")
        << QByteArray("1=\xD1\xF2\xFA\xEF\xEA\xE0") << -1 << QStringList{u"1=Стъпка"_s};
    // A single FF or FE is not a byte-order mark but a character.
    QTest::newRow("lone FF byte") << QByteArray("\xFF") << w1251 << QStringList{u"я"_s};
    QTest::newRow("partial utf8 bom") << QByteArray("\xEF\xBB"
                                                    "1")
                                      << w1252 << QStringList{u"ï»1"_s};
    QTest::newRow("bom only") << Le(QString()) << w1251 << QStringList{};
    QTest::newRow("empty body") << QByteArray() << w1251 << QStringList{};
}

void TestLanguageTableReader::encodings()
{
    QFETCH(QByteArray, body);
    QFETCH(int, codePage);
    QFETCH(QStringList, expected);
    const std::string_view view(body.constData(), static_cast<std::size_t>(body.size()));
    const LanguageLines lines = codePage < 0 ? zevko::ReadLanguageTable(view)
                                             : zevko::ReadLanguageTable(view, static_cast<AnsiCodePage>(codePage));
    QCOMPARE(ToStringList(lines), expected);
}

void TestLanguageTableReader::textEndsAtFirstNul_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");
    const QString ending = u"1=a\r\n2=b\r\n"_s + QChar(0);
    QTest::newRow("le table ending in CR LF NUL") << Le(ending) << QStringList{u"1=a"_s, u"2=b"_s};
    QTest::newRow("be table ending in CR LF NUL") << Be(ending) << QStringList{u"1=a"_s, u"2=b"_s};
    QTest::newRow("le nul inside a line") << Le(u"1=ab"_s + QChar(0) + u"cd\r\n3=x"_s) << QStringList{u"1=ab"_s};
    QTest::newRow("le nul right after bom") << Le(QString(QChar(0)) + u"1=a"_s) << QStringList{};
    // 00 00 is NUL only on a code-unit boundary: here it straddles two units.
    QTest::newRow("le zero bytes across units")
        << Bytes({0xFF, 0xFE, 'a', 0x01, 0x00, 'b', 0x00, 0x00}) << QStringList{u"\u0161\u6200"_s};
    QTest::newRow("utf8 nul") << Utf8(QByteArray("1=a\r\n2=b\0"
                                                 "3=c",
                                                 13))
                              << QStringList{u"1=a"_s, u"2=b"_s};
    QTest::newRow("code page nul") << QByteArray("1=a\0\r\n2=b", 9) << QStringList{u"1=a"_s};
}

void TestLanguageTableReader::textEndsAtFirstNul()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QCOMPARE(ToStringList(
                 zevko::ReadLanguageTable(std::string_view(body.constData(), static_cast<std::size_t>(body.size())))),
             expected);
}

void TestLanguageTableReader::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("every kind of break") << u"a\rb\nc\r\nd\u2028e"_s << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF is two breaks") << u"a\r\r\nb"_s << QStringList{"a", "", "b"};
    QTest::newRow("final CR LF adds nothing") << u"a\r\nb\r\n"_s << QStringList{"a", "b"};
    QTest::newRow("final CR adds nothing") << u"a\r"_s << QStringList{"a"};
    QTest::newRow("final LF adds nothing") << u"a\n"_s << QStringList{"a"};
    QTest::newRow("final U+2028 adds nothing") << u"a\u2028"_s << QStringList{"a"};
    QTest::newRow("no final break") << u"a\r\nb"_s << QStringList{"a", "b"};
    QTest::newRow("two final breaks keep one empty line") << u"a\r\n\r\n"_s << QStringList{"a", ""};
    QTest::newRow("empty lines are entries") << u"\r\n\r\na\r\n\r\nb"_s << QStringList{"", "", "a", "", "b"};
    QTest::newRow("only a break") << u"\r\n"_s << QStringList{""};
    QTest::newRow("other separators are text")
        << u"a\u2029b\u0085c\u000Bd\u000Ce"_s << QStringList{u"a\u2029b\u0085c\u000Bd\u000Ce"_s};
    QTest::newRow("blanks kept") << u" 23=Gauges \r\n"_s << QStringList{" 23=Gauges "};
}

void TestLanguageTableReader::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    for (const bool bigEndian : {false, true}) {
        const QByteArray body = Utf16Body(text, bigEndian);
        QCOMPARE(ToStringList(zevko::ReadLanguageTable(
                     std::string_view(body.constData(), static_cast<std::size_t>(body.size())))),
                 expected);
    }
    const QByteArray body = Utf8(text.toUtf8());
    QCOMPARE(ToStringList(
                 zevko::ReadLanguageTable(std::string_view(body.constData(), static_cast<std::size_t>(body.size())))),
             expected);
}

void TestLanguageTableReader::malformedInput_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("le odd byte count") << Bytes({0xFF, 0xFE, 'A', 0, 'B'}) << QStringList{"A" + Fffd};
    QTest::newRow("be odd byte count") << Bytes({0xFE, 0xFF, 0, 'A', 0}) << QStringList{"A" + Fffd};
    QTest::newRow("bom and one byte") << Bytes({0xFF, 0xFE, 'A'}) << QStringList{Fffd};
    QTest::newRow("le pair kept") << Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}) << QStringList{u"\U0001F600"_s};
    QTest::newRow("be pair kept") << Bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}) << QStringList{u"\U0001F600"_s};
    QTest::newRow("le high surrogate at end") << Bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8}) << QStringList{"a" + Fffd};
    QTest::newRow("le high surrogate before text")
        << Bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0}) << QStringList{Fffd + "a"};
    QTest::newRow("le high surrogate before break")
        << Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x0D, 0, 0x0A, 0, 'b', 0}) << QStringList{Fffd, "b"};
    QTest::newRow("le two high surrogates")
        << Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x3D, 0xD8, 0x00, 0xDE}) << QStringList{Fffd + u"\U0001F600"_s};
    QTest::newRow("le lone low surrogate") << Bytes({0xFF, 0xFE, 0x00, 0xDE, 'a', 0}) << QStringList{Fffd + "a"};
    QTest::newRow("be lone low surrogate") << Bytes({0xFE, 0xFF, 0xDE, 0x00}) << QStringList{Fffd};
    QTest::newRow("le high surrogate before nul")
        << Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0, 0, 0x00, 0xDE}) << QStringList{Fffd};
    QTest::newRow("utf8 stray continuation") << Utf8("a\x80z") << QStringList{"a" + Fffd + "z"};
    QTest::newRow("utf8 overlong slash") << Utf8("\xC0\xAF") << QStringList{Fffd + Fffd};
    QTest::newRow("utf8 overlong three bytes") << Utf8("\xE0\x80\xAF") << QStringList{Fffd + Fffd + Fffd};
    QTest::newRow("utf8 encoded surrogate") << Utf8("\xED\xA0\x80") << QStringList{Fffd + Fffd + Fffd};
    QTest::newRow("utf8 beyond U+10FFFF") << Utf8("\xF4\x90\x80\x80") << QStringList{Fffd + Fffd + Fffd + Fffd};
    QTest::newRow("utf8 invalid lead bytes") << Utf8("\xF5\xFE\xFF") << QStringList{Fffd + Fffd + Fffd};
    QTest::newRow("utf8 truncated at end") << Utf8("a\xE2\x82") << QStringList{"a" + Fffd};
    QTest::newRow("utf8 truncated four bytes") << Utf8("\xF0\x9F\x98z") << QStringList{Fffd + "z"};
    QTest::newRow("utf8 truncated before break") << Utf8("a\xE2\x82\r\nb") << QStringList{"a" + Fffd, "b"};
    QTest::newRow("utf8 truncated before nul") << Utf8(QByteArray("a\xC3\0b", 4)) << QStringList{"a" + Fffd};
}

void TestLanguageTableReader::malformedInput()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QCOMPARE(ToStringList(
                 zevko::ReadLanguageTable(std::string_view(body.constData(), static_cast<std::size_t>(body.size())))),
             expected);
}

void TestLanguageTableReader::lookupByKey_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("found") << QStringList{"1=External thread", "2=Internal thread"} << "2"
                           << "Internal thread";
    QTest::newRow("trailing blank kept") << QStringList{"23=Gauges for Major Diameter "} << "23"
                                         << "Gauges for Major Diameter ";
    QTest::newRow("first match wins") << QStringList{"5=first", "5=second"} << "5"
                                      << "first";
    QTest::newRow("split at first equals") << QStringList{"7=a=b"} << "7"
                                           << "a=b";
    QTest::newRow("empty text") << QStringList{"3=", "3=later"} << "3"
                                << "";
    QTest::newRow("prefix of a key is no match") << QStringList{"12=twelve", "123=x"} << "1"
                                                 << "";
    QTest::newRow("key longer than entry name") << QStringList{"1=one"} << "12"
                                                << "";
    QTest::newRow("entries without equals passed over") << QStringList{"4", "", "4 x", "4=four"} << "4"
                                                        << "four";
    QTest::newRow("blank in the name is significant") << QStringList{"8 =x", " 8=y"} << "8"
                                                      << "";
    QTest::newRow("letters compared without case") << QStringList{"Lang=bg"} << "lANG"
                                                   << "bg";
    QTest::newRow("case does not reach beyond ascii") << QStringList{u"Ä=x"_s} << u"ä"_s << "";
    QTest::newRow("empty name") << QStringList{"=x"} << "1"
                                << "";
    QTest::newRow("empty table") << QStringList{} << "1"
                                 << "";
}

void TestLanguageTableReader::lookupByKey()
{
    QFETCH(QStringList, table);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const std::u16string found = zevko::FindLanguageText(ToLines(table), key.toStdU16String());
    QCOMPARE(QString::fromStdU16String(found), expected);
}

void TestLanguageTableReader::lookupByNumber()
{
    const LanguageLines table = ToLines({"1=one", "-1=minus one", "234=last", "2345=longer"});
    auto find = [&](int number) { return QString::fromStdU16String(zevko::FindLanguageText(table, number)); };
    QCOMPARE(find(1), u"one"_s);
    QCOMPARE(find(-1), u"minus one"_s);
    QCOMPARE(find(234), u"last"_s);
    QCOMPARE(find(0), QString());
    QCOMPARE(find(235), QString());
    QCOMPARE(find(23), QString());
}

QTEST_APPLESS_MAIN(TestLanguageTableReader)
#include "TestLanguageTableReader.moc"
