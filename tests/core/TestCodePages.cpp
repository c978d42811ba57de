// The Windows code pages: every byte the charts leave undefined under both
// rules, characters checked against the published charts, and each upper half
// as a whole against sums worked out from an independent decoder.

#include "CodePages.h"

#include <QtTest>

using zevko::DecodeWindowsByte;
using zevko::UndefinedByte;
using zevko::WindowsCodePage;

Q_DECLARE_METATYPE(WindowsCodePage)
Q_DECLARE_METATYPE(UndefinedByte)

namespace {

struct Page {
    const char* Name;
    WindowsCodePage CodePage;
    std::vector<int> Undefined; // bytes the chart leaves empty
};

const Page Pages[] = {
    {"1250", WindowsCodePage::Windows1250, {0x81, 0x83, 0x88, 0x90, 0x98}},
    {"1251", WindowsCodePage::Windows1251, {0x98}},
    {"1252", WindowsCodePage::Windows1252, {0x81, 0x8D, 0x8F, 0x90, 0x9D}},
};

} // namespace

class TestCodePages : public QObject {
    Q_OBJECT

private slots:
    // An undefined byte is the code point of its value or U+FFFD, as asked.
    void undefinedBytes_data()
    {
        QTest::addColumn<WindowsCodePage>("codePage");
        QTest::addColumn<int>("byte");
        QTest::addColumn<UndefinedByte>("rule");
        QTest::addColumn<int>("expected");
        for (const Page& page : Pages) {
            for (const int byte : page.Undefined) {
                QTest::addRow("%s %02X same code point", page.Name, byte)
                    << page.CodePage << byte << UndefinedByte::SameCodePoint << byte;
                QTest::addRow("%s %02X replacement", page.Name, byte)
                    << page.CodePage << byte << UndefinedByte::Replacement << 0xFFFD;
            }
        }
    }

    void undefinedBytes()
    {
        QFETCH(WindowsCodePage, codePage);
        QFETCH(int, byte);
        QFETCH(UndefinedByte, rule);
        QFETCH(int, expected);
        QCOMPARE(int(DecodeWindowsByte(static_cast<unsigned char>(byte), codePage, rule)), expected);
    }

    // Characters as the code page charts give them; the rule changes none.
    void definedBytes_data()
    {
        QTest::addColumn<WindowsCodePage>("codePage");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("expected");
        struct Row {
            const char* Name;
            WindowsCodePage CodePage;
            int Byte;
            int Expected;
        };
        const Row rows[] = {
            {"ASCII NUL 1252", WindowsCodePage::Windows1252, 0x00, 0x0000},
            {"ASCII A 1251", WindowsCodePage::Windows1251, 0x41, 0x0041},
            {"ASCII DEL 1250", WindowsCodePage::Windows1250, 0x7F, 0x007F},
            {"1250 S caron", WindowsCodePage::Windows1250, 0x8A, 0x0160},
            {"1250 s caron", WindowsCodePage::Windows1250, 0x9A, 0x0161},
            {"1250 L stroke", WindowsCodePage::Windows1250, 0xA3, 0x0141},
            {"1250 c caron", WindowsCodePage::Windows1250, 0xE8, 0x010D},
            {"1250 dot above", WindowsCodePage::Windows1250, 0xFF, 0x02D9},
            {"1251 DJE", WindowsCodePage::Windows1251, 0x80, 0x0402},
            {"1251 euro", WindowsCodePage::Windows1251, 0x88, 0x20AC},
            {"1251 IO", WindowsCodePage::Windows1251, 0xA8, 0x0401},
            {"1251 numero", WindowsCodePage::Windows1251, 0xB9, 0x2116},
            {"1251 A", WindowsCodePage::Windows1251, 0xC0, 0x0410},
            {"1251 ya", WindowsCodePage::Windows1251, 0xFF, 0x044F},
            {"1252 euro", WindowsCodePage::Windows1252, 0x80, 0x20AC},
            {"1252 S caron", WindowsCodePage::Windows1252, 0x8A, 0x0160},
            {"1252 Y diaeresis", WindowsCodePage::Windows1252, 0x9F, 0x0178},
            {"1252 no-break space", WindowsCodePage::Windows1252, 0xA0, 0x00A0},
            {"1252 sharp s", WindowsCodePage::Windows1252, 0xDF, 0x00DF},
            {"1252 a diaeresis", WindowsCodePage::Windows1252, 0xE4, 0x00E4},
        };
        for (const Row& row : rows)
            QTest::newRow(row.Name) << row.CodePage << row.Byte << row.Expected;
    }

    void definedBytes()
    {
        QFETCH(WindowsCodePage, codePage);
        QFETCH(int, byte);
        QFETCH(int, expected);
        const auto b = static_cast<unsigned char>(byte);
        QCOMPARE(int(DecodeWindowsByte(b, codePage, UndefinedByte::SameCodePoint)), expected);
        QCOMPARE(int(DecodeWindowsByte(b, codePage, UndefinedByte::Replacement)), expected);
    }

    // The whole upper half: U+FFFD exactly at the undefined bytes, and the
    // sum and the position-weighted sum (byte - 0x7F) of its code points with
    // U+FFFD for the undefined ones, as Python's strict cp125x decoders give
    // them. A wrong or swapped entry changes at least one sum.
    void upperHalves_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<qint64>("sum");
        QTest::addColumn<qint64>("weighted");
        QTest::newRow("1250") << 0 << qint64{498407} << qint64{8083383};
        QTest::newRow("1251") << 1 << qint64{317751} << qint64{12174226};
        QTest::newRow("1252") << 2 << qint64{492177} << qint64{9025663};
    }

    void upperHalves()
    {
        QFETCH(int, page);
        QFETCH(qint64, sum);
        QFETCH(qint64, weighted);
        const Page& p = Pages[page];
        qint64 s = 0;
        qint64 w = 0;
        std::vector<int> replaced;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const int c = DecodeWindowsByte(static_cast<unsigned char>(byte), p.CodePage, UndefinedByte::Replacement);
            if (c == 0xFFFD)
                replaced.push_back(byte);
            s += c;
            w += qint64{byte - 0x7F} * c;
        }
        QCOMPARE(replaced, p.Undefined);
        QCOMPARE(s, sum);
        QCOMPARE(w, weighted);
    }
};

QTEST_APPLESS_MAIN(TestCodePages)
#include "TestCodePages.moc"
