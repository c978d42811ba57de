#include "RtfTextDocument.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// The character format of the text at position pos (the character after it).
QTextCharFormat FormatAt(QTextDocument& doc, int pos)
{
    QTextCursor cursor(&doc);
    cursor.setPosition(pos + 1);
    return cursor.charFormat();
}

Qt::Alignment Horizontal(const QTextBlock& block)
{
    return block.blockFormat().alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
}

int Find(const QTextDocument& doc, const QString& text)
{
    const QTextCursor found = doc.find(text);
    return found.isNull() ? -1 : found.selectionStart();
}

} // namespace

class TestRtfTextDocument : public QObject {
    Q_OBJECT

private slots:
    void characterFormats();
    void paragraphFormats();
    void cyrillic_data();
    void cyrillic();
    void lineBreakStaysInItsParagraph();
    void textAfterNumberAlignsWithHangingIndent_data();
    void textAfterNumberAlignsWithHangingIndent();
    void tabStopsFromTheTextAreaEdge();
    void loadingReplacesContent();
    void damagedInputGivesWhatItCould();
    void resourceIntoEdit();
    void missingResourceEmptiesEdit();
};

void TestRtfTextDocument::characterFormats()
{
    QTextDocument doc;
    LoadRtfIntoDocument(
        "{\\rtf1{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red192\\green0\\blue0;}"
        "plain \\b bold\\b0  \\i italic\\i0  \\ul under\\ulnone  \\fs40 big\\fs24  \\cf1 red\\cf0  \\f0 mono}",
        &doc);
    QCOMPARE(doc.toPlainText(), u"plain bold italic under big red mono"_s);

    QVERIFY(FormatAt(doc, Find(doc, u"bold"_s)).fontWeight() == QFont::Bold);
    QVERIFY(FormatAt(doc, Find(doc, u"plain"_s)).fontWeight() == QFont::Normal);
    QVERIFY(FormatAt(doc, Find(doc, u"italic"_s)).fontItalic());
    QVERIFY(!FormatAt(doc, Find(doc, u"bold"_s)).fontItalic());
    QVERIFY(FormatAt(doc, Find(doc, u"under"_s)).fontUnderline());
    QCOMPARE(FormatAt(doc, Find(doc, u"big"_s)).fontPointSize(), 20.0);
    QCOMPARE(FormatAt(doc, Find(doc, u"plain"_s)).fontPointSize(), 12.0);
    QCOMPARE(FormatAt(doc, Find(doc, u"red"_s)).foreground().color(), QColor(192, 0, 0));
    QVERIFY(!FormatAt(doc, Find(doc, u"plain"_s)).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(FormatAt(doc, Find(doc, u"mono"_s)).fontFamilies().toStringList(), QStringList{u"Courier New"_s});
}

void TestRtfTextDocument::paragraphFormats()
{
    QTextDocument doc;
    LoadRtfIntoDocument("{\\rtf1\\pard\\qc centre\\par\\pard\\qr right\\par\\pard\\qj justified\\par"
                        "\\pard\\li720\\ri360\\fi-360\\sb120\\sa240 indented\\par\\pard left}",
                        &doc);
    QCOMPARE(doc.blockCount(), 5);
    QTextBlock block = doc.begin();
    QCOMPARE(block.text(), u"centre"_s);
    QCOMPARE(Horizontal(block), Qt::AlignHCenter);
    block = block.next();
    QCOMPARE(Horizontal(block), Qt::AlignRight);
    block = block.next();
    QCOMPARE(Horizontal(block), Qt::AlignJustify);
    block = block.next();
    QCOMPARE(block.text(), u"indented"_s);
    const QTextBlockFormat indented = block.blockFormat();
    QCOMPARE(Horizontal(block), Qt::AlignLeft);
    QCOMPARE(indented.leftMargin(), 48.0); // 720 twips = half an inch = 48 px at 96 dpi
    QCOMPARE(indented.rightMargin(), 24.0);
    QCOMPARE(indented.textIndent(), -24.0);
    QCOMPARE(indented.topMargin(), 8.0);
    QCOMPARE(indented.bottomMargin(), 16.0);
    block = block.next();
    QCOMPARE(block.text(), u"left"_s);
    QCOMPARE(block.blockFormat().leftMargin(), 0.0);
}

void TestRtfTextDocument::cyrillic_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("code page 1251") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1251 \\'c8\\'e7\\'e1\\'ee\\'f0 \\'ed\\'e0 \\'f1\\'f2\\'fa\\'ef\\'ea\\'e0}");
    QTest::newRow("Cyrillic font in a Western document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 "
                      "\\'c8\\'e7\\'e1\\'ee\\'f0 \\'ed\\'e0 \\'f1\\'f2\\'fa\\'ef\\'ea\\'e0}");
    QTest::newRow("Unicode escapes") << QByteArray(
        "{\\rtf1\\ansi\\uc1 \\u1048?\\u1079?\\u1073?\\u1086?\\u1088? \\u1085?\\u1072? "
        "\\u1089?\\u1090?\\u1098?\\u1087?\\u1082?\\u1072?}");
}

void TestRtfTextDocument::cyrillic()
{
    QFETCH(QByteArray, rtf);
    QTextDocument doc;
    LoadRtfIntoDocument(rtf, &doc);
    QCOMPARE(doc.toPlainText(), u"Избор на стъпка"_s);
}

void TestRtfTextDocument::lineBreakStaysInItsParagraph()
{
    QTextDocument doc;
    LoadRtfIntoDocument("{\\rtf1 first\\line second\\tab third\\par next}", &doc);
    QCOMPARE(doc.blockCount(), 2);
    QCOMPARE(doc.begin().text(), u"first\u2028second\tthird"_s);
}

// A numbered or bulleted paragraph: number, tab, then text that wraps. The
// text after the tab must start where the wrapped lines start.
void TestRtfTextDocument::textAfterNumberAlignsWithHangingIndent_data()
{
    QTest::addColumn<QByteArray>("paragraph");
    QTest::newRow("explicit tab stop at the indent") << QByteArray("\\pard\\fi-400\\li400\\tx400 1.\\tab ");
    QTest::newRow("hanging indent alone") << QByteArray("\\pard\\fi-360\\li720 \\bullet\\tab ");
    QTest::newRow("tab stop beyond a nested indent") << QByteArray("\\pard\\fi-2160\\li2400\\tx2400 F9\\tab ");
}

void TestRtfTextDocument::textAfterNumberAlignsWithHangingIndent()
{
    QFETCH(QByteArray, paragraph);
    QByteArray rtf = "{\\rtf1 " + paragraph;
    for (int i = 0; i < 40; ++i)
        rtf += "word ";
    rtf += "}";
    QTextDocument doc;
    doc.setTextWidth(300);
    LoadRtfIntoDocument(rtf, &doc);
    doc.size(); // lays the document out
    const QTextBlock block = doc.begin();
    const QTextLayout* layout = block.layout();
    QVERIFY(layout->lineCount() > 1);
    const int afterTab = static_cast<int>(block.text().indexOf(u'\t')) + 1;
    QCOMPARE(layout->lineAt(0).cursorToX(afterTab), layout->lineAt(1).x());
}

void TestRtfTextDocument::tabStopsFromTheTextAreaEdge()
{
    QTextDocument doc;
    LoadRtfIntoDocument("{\\rtf1\\li300\\tqr\\tx4800\\tx1500\\tx150 a\\tab b}", &doc);
    const QList<QTextOption::Tab> tabs = doc.begin().blockFormat().tabPositions();
    // The stop before the paragraph's start is unreachable; the others are
    // measured from the indent, in pixels.
    QCOMPARE(tabs.size(), 2);
    QCOMPARE(tabs[0].position, 80.0);
    QCOMPARE(tabs[0].type, QTextOption::LeftTab);
    QCOMPARE(tabs[1].position, 300.0);
    QCOMPARE(tabs[1].type, QTextOption::RightTab);
}

void TestRtfTextDocument::loadingReplacesContent()
{
    QTextDocument doc;
    LoadRtfIntoDocument("{\\rtf1\\qc\\b old one\\par old two\\par old three}", &doc);
    LoadRtfIntoDocument("{\\rtf1 new}", &doc);
    QCOMPARE(doc.toPlainText(), u"new"_s);
    QCOMPARE(doc.blockCount(), 1);
    // Nothing of the earlier document's formatting survives.
    QCOMPARE(Horizontal(doc.begin()), Qt::AlignLeft);
    QVERIFY(FormatAt(doc, 0).fontWeight() == QFont::Normal);
    QVERIFY(!doc.isUndoAvailable());
}

void TestRtfTextDocument::damagedInputGivesWhatItCould()
{
    QTextDocument doc;
    LoadRtfIntoDocument("{\\rtf1 kept\\par{\\b also kept{\\'4", &doc);
    QCOMPARE(doc.toPlainText(), u"kept\nalso kept"_s);
    LoadRtfIntoDocument(QByteArray(), &doc);
    QVERIFY(doc.isEmpty());
}

void TestRtfTextDocument::resourceIntoEdit()
{
    QTextEdit edit;
    edit.setReadOnly(true);
    edit.setPlainText(u"previous manual"_s);
    QVERIFY(LoadRtfResource(&edit, u":/RCDATA/RTF_EN"_s));
    const QString text = edit.toPlainText();
    QVERIFY(!text.contains(u"previous manual"_s));
    QVERIFY2(
        text.startsWith(u"Software for Determining the Pitch Diameter of Threads When Measuring with Wires or Balls"_s),
        qPrintable(text.left(200)));
    QCOMPARE(edit.textCursor().position(), 0);

    QVERIFY(LoadRtfResource(&edit, u":/RCDATA/RTF_BG"_s));
    QVERIFY(edit.toPlainText().contains(u"Изчисляване"_s));
    QVERIFY(LoadRtfResource(&edit, u":/RCDATA/RTF_DE"_s));
    QVERIFY(edit.toPlainText().contains(u"Berechnen"_s));
}

void TestRtfTextDocument::missingResourceEmptiesEdit()
{
    QTextEdit edit;
    edit.setPlainText(u"stale"_s);
    QVERIFY(!LoadRtfResource(&edit, u":/RCDATA/RTF_XX"_s));
    QVERIFY(edit.toPlainText().isEmpty());
}

QTEST_MAIN(TestRtfTextDocument)
#include "TestRtfTextDocument.moc"
