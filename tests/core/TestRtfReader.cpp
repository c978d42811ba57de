#include "RtfReader.h"

#include <QtTest>

#include <string>

using namespace Qt::StringLiterals;
using zevko::ReadRtf;
using zevko::RtfAlignment;
using zevko::RtfDocument;
using zevko::RtfParagraph;

namespace {

QString Plain(const QByteArray& rtf)
{
    return QString::fromStdString(
        ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size()))).PlainText());
}

RtfDocument Read(const QByteArray& rtf)
{
    return ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
}

// One line per paragraph: its non-default paragraph properties in brackets,
// then each run as <properties>text. Fonts and colours by name/hex.
QString Describe(const RtfDocument& doc)
{
    QStringList lines;
    for (const RtfParagraph& p : doc.Paragraphs) {
        QStringList props;
        switch (p.Format.Alignment) {
        case RtfAlignment::Left: break;
        case RtfAlignment::Center: props << u"qc"_s; break;
        case RtfAlignment::Right: props << u"qr"_s; break;
        case RtfAlignment::Justify: props << u"qj"_s; break;
        }
        if (p.Format.LeftIndent != 0)
            props << u"li%1"_s.arg(p.Format.LeftIndent);
        if (p.Format.RightIndent != 0)
            props << u"ri%1"_s.arg(p.Format.RightIndent);
        if (p.Format.FirstLineIndent != 0)
            props << u"fi%1"_s.arg(p.Format.FirstLineIndent);
        if (p.Format.SpaceBefore != 0)
            props << u"sb%1"_s.arg(p.Format.SpaceBefore);
        if (p.Format.SpaceAfter != 0)
            props << u"sa%1"_s.arg(p.Format.SpaceAfter);
        for (const zevko::RtfTabStop& tab : p.Format.TabStops) {
            static const char* const kinds[] = {"tx", "tqc", "tqr", "tqdec"};
            props << QLatin1StringView(kinds[static_cast<int>(tab.Kind)]) + QString::number(tab.Position);
        }
        QString line = props.isEmpty() ? QString() : u"["_s + props.join(u' ') + u"]"_s;
        for (const zevko::RtfRun& run : p.Runs) {
            QStringList f;
            if (run.Format.Bold)
                f << u"b"_s;
            if (run.Format.Italic)
                f << u"i"_s;
            if (run.Format.Underline)
                f << u"u"_s;
            if (run.Format.FontSizeHalfPoints != 24)
                f << u"fs%1"_s.arg(run.Format.FontSizeHalfPoints);
            if (run.Format.Color)
                f << u"#%1%2%3"_s.arg(run.Format.Color->Red, 2, 16, QChar(u'0'))
                         .arg(run.Format.Color->Green, 2, 16, QChar(u'0'))
                         .arg(run.Format.Color->Blue, 2, 16, QChar(u'0'));
            if (!run.Format.FontName.empty())
                f << QString::fromStdString(run.Format.FontName);
            line += u"<"_s + f.join(u' ') + u">"_s + QString::fromStdString(run.Text);
        }
        lines << line;
    }
    return lines.join(u'\n');
}

QByteArray ReadFixture(const char* name)
{
    QFile file(QStringLiteral(ZEVKO_TEST_SOURCE_DIR "/data/rtf/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open fixture %s", name);
    return file.readAll();
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void skippedContent_data();
    void skippedContent();
    void formatting_data();
    void formatting();
    void malformedInput_data();
    void malformedInput();
    void deepNestingIsBounded();
    void emptyParagraphKeepsMarkFormat();
    void wordProcessorOutput();
    void wordProcessorCyrillic();
};

// What the reader makes of characters: escapes, code pages, Unicode, breaks.
void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain words, line ends ignored") << QByteArray("{\\rtf1\\ansi Hello\r\n world}") << u"Hello world"_s;
    QTest::newRow("space after a control word is its delimiter")
        << QByteArray("{\\rtf1\\b bold\\b0  two spaces}") << u"bold two spaces"_s;
    QTest::newRow("escaped braces and backslash") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << u"a{b}c\\d"_s;
    QTest::newRow("special spaces and hyphens")
        << QByteArray("{\\rtf1 1\\~mm co\\-op M\\_16}") << u"1\u00A0mm co\u00ADop M\u201116"_s;
    QTest::newRow("symbol words")
        << QByteArray("{\\rtf1 a\\emdash b\\endash c\\bullet d\\lquote e\\rquote f\\ldblquote g\\rdblquote}")
        << u"a\u2014b\u2013c\u2022d\u2018e\u2019f\u201Cg\u201D"_s;
    QTest::newRow("tab and line break") << QByteArray("{\\rtf1 a\\tab b\\line c}") << u"a\tb\u2028c"_s;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par\\par four}") << u"one\ntwo\n\nfour"_s;
    QTest::newRow("backslash before a line end is a paragraph") << QByteArray("{\\rtf1 one\\\r\ntwo}") << u"one\ntwo"_s;
    QTest::newRow("hex escapes, Western code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 L\\'f6schen \\'df \\'80 \\'b0}") << u"Löschen ß € °"_s;
    QTest::newRow("hex escapes, no code page given reads as Western")
        << QByteArray("{\\rtf1 Einf\\'fcgen}") << u"Einfügen"_s;
    QTest::newRow("hex escapes, Cyrillic code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c8\\'e7\\'f7\\'e8\\'f1\\'eb\\'ff\\'e2\\'e0\\'ed\\'e5}")
        << u"Изчисляване"_s;
    QTest::newRow("hex escapes, Central European code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8}") << u"šč"_s;
    QTest::newRow("hex escapes, upper-case digits") << QByteArray("{\\rtf1\\ansicpg1251 \\'C8}") << u"И"_s;
    QTest::newRow("Cyrillic font charset in a Western document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial;}}"
                      "\\f0 \\'e4 \\f1 \\'e4}")
        << u"ä д"_s;
    QTest::newRow("font code page beats its charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset0\\cpg1251 Arial;}}\\f1 \\'e4}") << u"д"_s;
    QTest::newRow("Symbol font mapped to Unicode")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}\\f1 b\\'b1\\'b0\\'b7}") << u"β±°•"_s;
    QTest::newRow("other symbol fonts keep their private-use codes")
        << QByteArray("{\\rtf1{\\fonttbl{\\f2\\fcharset2 Wingdings;}}\\f2 \\'a7}") << u"\uF0A7"_s;
    QTest::newRow("Unicode with one fallback character") << QByteArray("{\\rtf1 \\u1048?\\u1079?}") << u"Из"_s;
    QTest::newRow("Unicode with escaped fallback")
        << QByteArray("{\\rtf1\\ansicpg1252 \\u946\\'e2 \\u947\\'3f}") << u"β γ"_s;
    QTest::newRow("Unicode without fallback") << QByteArray("{\\rtf1\\uc0 \\u946 b}") << u"βb"_s;
    QTest::newRow("Unicode with two fallback characters")
        << QByteArray("{\\rtf1\\uc2 \\u1044\\'c4\\'c4 x}") << u"Д x"_s;
    QTest::newRow("fallback skipping counts a control word as one character")
        << QByteArray("{\\rtf1\\uc1 \\u8364\\emdash x}") << u"€x"_s;
    QTest::newRow("fallback skipping stops at a brace") << QByteArray("{\\rtf1\\uc3 {\\u1044?}ab}") << u"Дab"_s;
    QTest::newRow("\\uc is scoped to its group") << QByteArray("{\\rtf1 {\\uc0 \\u1044}\\u1044?x}") << u"ДДx"_s;
    QTest::newRow("negative Unicode value") << QByteArray("{\\rtf1 \\u-4064?}") << u"\uF020"_s;
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << u"\U0001F600"_s;
    QTest::newRow("lone surrogate") << QByteArray("{\\rtf1 \\u-10179?x}") << u"\uFFFDx"_s;
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 shown{\\v hidden}\\v also hidden\\v0  shown}")
                                 << u"shown shown"_s;
    QTest::newRow("unknown control words are ignored, their text kept")
        << QByteArray("{\\rtf1\\nouicompat\\viewkind4\\lang1033\\insrsid1234567 text}") << u"text"_s;
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(Plain(rtf), expected);
}

// Destinations whose contents must never reach the page.
void TestRtfReader::skippedContent_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("font and colour tables")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}\\f1 Times;}{\\colortbl;\\red255\\green0\\blue0;}text}")
        << u"text"_s;
    QTest::newRow("unknown starred destination")
        << QByteArray("{\\rtf1 a{\\*\\unknowndest secret {\\b nested} words}b}") << u"ab"_s;
    QTest::newRow("starred destination known by name")
        << QByteArray("{\\rtf1{\\*\\generator Riched20 10.0;}text}") << u"text"_s;
    QTest::newRow("style sheet") << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1\\b heading 1;}}text}")
                                 << u"text"_s;
    QTest::newRow("document information")
        << QByteArray("{\\rtf1{\\info{\\title Secret}{\\author Someone}{\\creatim\\yr2024\\mo1}}text}") << u"text"_s;
    QTest::newRow("picture with hex data")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a}b}") << u"ab"_s;
    QTest::newRow("picture with binary data holding braces")
        << QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\bin6 }}{\\{x}b}") << u"ab"_s;
    QTest::newRow("header and footer")
        << QByteArray("{\\rtf1{\\header\\pard Page head\\par}{\\footer\\pard Page foot\\par}body}") << u"body"_s;
    QTest::newRow("field: instruction hidden, result shown")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}} end}")
        << u"link end"_s;
    QTest::newRow("skipping ends with its group")
        << QByteArray("{\\rtf1{\\*\\x {\\y {\\z deep}}}{\\b shown}}") << u"shown"_s;
    QTest::newRow("paragraph marks inside a skipped group")
        << QByteArray("{\\rtf1 a{\\*\\x b\\par c\\par}d}") << u"ad"_s;
}

void TestRtfReader::skippedContent()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(Plain(rtf), expected);
}

void TestRtfReader::formatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bold, italic, underline on and off")
        << QByteArray("{\\rtf1 n\\b b\\i bi\\b0 i\\i0\\ul u\\ul0 n\\ul u\\ulnone n\\uldb d\\ul0 n}")
        << u"<>n<b>b<b i>bi<i>i<u>u<>n<u>u<>n<u>d<>n"_s;
    QTest::newRow("explicit 1 switches on") << QByteArray("{\\rtf1\\b1 x\\b0 y}") << u"<b>x<>y"_s;
    QTest::newRow("groups restore the outer state")
        << QByteArray("{\\rtf1 a{\\b b{\\i c}d}e}") << u"<>a<b>b<b i>c<b>d<>e"_s;
    QTest::newRow("plain resets character formatting")
        << QByteArray("{\\rtf1\\b\\i\\ul\\fs40 a\\plain b}") << u"<b i u fs40>a<>b"_s;
    QTest::newRow("font size, bare fs means 12 pt") << QByteArray("{\\rtf1\\fs20 a\\fs b}") << u"<fs20>a<>b"_s;
    QTest::newRow("colour from the table, index 0 automatic")
        << QByteArray("{\\rtf1{\\colortbl;\\red192\\green0\\blue0;\\red0\\green51\\blue102;}"
                      "\\cf1 r\\cf2 b\\cf0 a\\cf9 out}")
        << u"<#c00000>r<#003366>b<>aout"_s;
    QTest::newRow("colour table without the automatic entry")
        << QByteArray("{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\\cf0 k\\cf1 b}")
        << u"<#000000>k<#0000ff>b"_s;
    QTest::newRow("fonts by number, default font applies")
        << QByteArray(
               "{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman{\\*\\panose 02020603050405020304}"
               "Times New Roman{\\*\\falt Times};}}a\\f1 b\\plain c}")
        << u"<Arial>a<Times New Roman>b<Arial>c"_s;
    QTest::newRow("alignment") << QByteArray("{\\rtf1\\ql l\\par\\qc c\\par\\qr r\\par\\qj j\\par}")
                               << u"<>l\n[qc]<>c\n[qr]<>r\n[qj]<>j"_s;
    QTest::newRow("indents and spacing, pard resets")
        << QByteArray("{\\rtf1\\li720\\ri360\\fi-360\\sb120\\sa60 x\\par\\pard y\\par}")
        << u"[li720 ri360 fi-360 sb120 sa60]<>x\n<>y"_s;
    QTest::newRow("tab stops sorted, kinds apply to the next stop, pard clears")
        << QByteArray("{\\rtf1\\tqr\\tx4000\\tx720\\tqc\\tx2000\\tx720 a\\tab b\\par c\\par\\pard d}")
        << u"[tx720 tqc2000 tqr4000]<>a\tb\n[tx720 tqc2000 tqr4000]<>c\n<>d"_s;
    QTest::newRow("paragraph properties are those at the paragraph mark")
        << QByteArray("{\\rtf1 a\\qc b\\par c\\par}") << u"[qc]<>ab\n[qc]<>c"_s;
    QTest::newRow("paragraph wholly inside a group")
        << QByteArray("{\\rtf1{\\pard\\qc\\b Title\\par}\\pard body\\par}") << u"[qc]<b>Title\n<>body"_s;
    QTest::newRow("unterminated last paragraph keeps its formatting")
        << QByteArray("{\\rtf1{\\qr tail}}") << u"[qr]<>tail"_s;
    QTest::newRow("adjacent runs of equal format merge") << QByteArray("{\\rtf1 a{b}\\b0 c\\i\\i0 d}") << u"<>abcd"_s;
}

void TestRtfReader::formatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(Describe(Read(rtf)), expected);
}

// Damaged documents give whatever text they hold, and the reader returns.
void TestRtfReader::malformedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("not RTF at all") << QByteArray("just text") << u"just text"_s;
    QTest::newRow("missing closing braces") << QByteArray("{\\rtf1 one\\par{\\b two{\\i three") << u"one\ntwothree"_s;
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}b}") << u"ab"_s;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << u"a"_s;
    QTest::newRow("hex escape cut off at the end") << QByteArray("{\\rtf1 a\\'4") << u"a"_s;
    QTest::newRow("hex escape with bad digits") << QByteArray("{\\rtf1 a\\'zzb\\'4xc}") << u"azzbxc"_s;
    QTest::newRow("huge numbers") << QByteArray(
                                         "{\\rtf1\\fs99999999999999999999 a\\li-99999999999999999999 b\\u99999999999 ?c"
                                         "\\cf99999999999 d\\ansicpg99999999999 e\\uc99999999999 \\u1044 fghijk}")
                                  << u"abcdeД"_s;
    QTest::newRow("huge binary length") << QByteArray("{\\rtf1 a\\bin99999999999999 bbbb}") << u"a"_s;
    QTest::newRow("control word at the very end") << QByteArray("{\\rtf1 a\\b") << u"a"_s;
    QTest::newRow("minus without digits is text") << QByteArray("{\\rtf1\\b- x}") << u"- x"_s;
    QTest::newRow("destination outside every group is ignored") << QByteArray("{\\rtf1 a}\\*\\x b\\pict c") << u"abc"_s;
    QTest::newRow("Unicode value out of range is dropped") << QByteArray("{\\rtf1 a\\u70000?b\\u0?c}") << u"abc"_s;
    QTest::newRow("raw control bytes ignored") << QByteArray("{\\rtf1 a\x01\x02 b}") << u"a b"_s;
}

void TestRtfReader::malformedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(Plain(rtf), expected);
}

void TestRtfReader::deepNestingIsBounded()
{
    constexpr int depth = 100000;
    QByteArray rtf = "{\\rtf1 start ";
    rtf += QByteArray(depth, '{');
    rtf += "\\b deep";
    rtf += QByteArray(depth, '}');
    rtf += " after}";
    const RtfDocument doc = Read(rtf);
    QCOMPARE(QString::fromStdString(doc.PlainText()), u"start deep after"_s);
    // Formatting set far below the bound is undone once the bounded levels close.
    QCOMPARE(Describe(doc), u"<>start <b>deep<> after"_s);

    // Nesting at the bound still restores state exactly.
    QByteArray bounded = "{\\rtf1 ";
    bounded += QByteArray(zevko::RtfMaxGroupDepth - 1, '{');
    bounded += "\\i x";
    bounded += QByteArray(zevko::RtfMaxGroupDepth - 1, '}');
    bounded += "y}";
    QCOMPARE(Describe(Read(bounded)), u"<i>x<>y"_s);
}

void TestRtfReader::emptyParagraphKeepsMarkFormat()
{
    const RtfDocument doc = Read("{\\rtf1\\fs40 big\\par\\fs16\\par\\qc\\fs24 end\\par}");
    QCOMPARE(doc.Paragraphs.size(), std::size_t{3});
    QVERIFY(doc.Paragraphs[1].Runs.empty());
    QCOMPARE(doc.Paragraphs[1].MarkFormat.FontSizeHalfPoints, 16);
    QCOMPARE(doc.Paragraphs[0].MarkFormat.FontSizeHalfPoints, 40);
}

// A document as a word processor saves it: style sheet, document information,
// generator, revision-save ids, theme data, list text, pictures, a field.
void TestRtfReader::wordProcessorOutput()
{
    const RtfDocument doc = Read(ReadFixture("wordprocessor.rtf"));
    const QString text = QString::fromStdString(doc.PlainText());

    QCOMPARE(text, u"Thread Gauge Report\n"
                   "The pitch diameter d2 was measured over three wires.\n"
                   "\u2022\tWire diameter: 0.866\u00A0mm\n"
                   "\u2022\tResult \u201Cwithin tolerance\u201D \u2013 see the EA-10/10 guideline.\n"
                   "\n"
                   "Signed: J\u00FCrgen M\u00FCller\n"
                   "Centred"_s);

    for (const QString& leak :
         {u"Normal"_s, u"heading 1"_s, u"Microsoft Word"_s, u"Riched20"_s, u"89504e47"_s, u"ffd8ff"_s, u"Calibri"_s,
          u"HYPERLINK"_s, u"Page"_s, u"Secret"_s, u"Author"_s, u"Symbol"_s, u"\u00B7"_s, u"\uFFFD"_s})
        QVERIFY2(!text.contains(leak), qPrintable(u"leaked: "_s + leak));

    QVERIFY(doc.Paragraphs.size() == 7);
    const RtfParagraph& title = doc.Paragraphs[0];
    QCOMPARE(title.Format.Alignment, RtfAlignment::Center);
    QCOMPARE(title.Format.SpaceAfter, 240);
    QCOMPARE(title.Runs.size(), std::size_t{1});
    QVERIFY(title.Runs[0].Format.Bold);
    QCOMPARE(title.Runs[0].Format.FontSizeHalfPoints, 32);
    QCOMPARE(title.Runs[0].Format.FontName, std::string("Arial"));
    QVERIFY(title.Runs[0].Format.Color.has_value());
    QCOMPARE(title.Runs[0].Format.Color->Red, std::uint8_t{0x1F});
    QCOMPARE(title.Runs[0].Format.Color->Blue, std::uint8_t{0x79});

    const RtfParagraph& body = doc.Paragraphs[1];
    QCOMPARE(body.Format.Alignment, RtfAlignment::Justify);
    QCOMPARE(Describe(RtfDocument{{body}}),
             u"[qj sa160]<Calibri Light>The pitch diameter <i Calibri Light>d<i fs14 Calibri Light>2"
             "<Calibri Light> was measured over <b u Calibri Light>three<Calibri Light> wires."_s);

    const RtfParagraph& bullet = doc.Paragraphs[2];
    QCOMPARE(bullet.Format.LeftIndent, 720);
    QCOMPARE(bullet.Format.FirstLineIndent, -360);
    QCOMPARE(doc.Paragraphs[6].Format.Alignment, RtfAlignment::Center);
}

void TestRtfReader::wordProcessorCyrillic()
{
    const RtfDocument doc = Read(ReadFixture("cyrillic.rtf"));
    QCOMPARE(QString::fromStdString(doc.PlainText()), u"Външна резба\n"
                                                      "Вътрешна резба\n"
                                                      "Ср. диаметър d2 – 9,02501 mm"_s);
    QVERIFY(doc.Paragraphs[0].Runs[0].Format.Bold);
}

QTEST_APPLESS_MAIN(TestRtfReader)
#include "TestRtfReader.moc"
