#include "CsvReader.h"
#include "CsvWriter.h"

#include <QtTest>

#include <sstream>
#include <string>

using namespace zevko::cli;

namespace {

// Records as text: fields joined by '|', records by '/', an error as "!error",
// the starting line as "@line". Line breaks inside fields show as '~'.
QString Describe(const std::string& input)
{
    std::istringstream in(input);
    CsvReader reader(in);
    CsvRecord record;
    QStringList records;
    while (reader.ReadRecord(record)) {
        QStringList fields;
        for (std::size_t i = 0; i < record.Count; ++i) {
            fields << QString::fromStdString(record.Fields[i]).replace('\n', '~');
        }
        QString text = QStringLiteral("@%1 ").arg(record.Line) + fields.join('|');
        if (!record.Error.empty()) {
            text += " !" + QString::fromStdString(record.Error);
        }
        records << text;
    }
    return records.join(" / ");
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void delimiterDetection_data();
    void delimiterDetection();
    void writingRoundTrip_data();
    void writingRoundTrip();
};

void TestCsv::reading_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "a,b\n1,2\n" << "@1 a|b / @2 1|2";
    QTest::newRow("no final line break") << "a,b\n1,2" << "@1 a|b / @2 1|2";
    QTest::newRow("CRLF") << "a,b\r\n1,2\r\n" << "@1 a|b / @2 1|2";
    QTest::newRow("empty fields") << "a,b,c\n,,\n" << "@1 a|b|c / @2 ||";
    QTest::newRow("blank lines skipped, numbers kept") << "a,b\n\n  \n1,2\n" << "@1 a|b / @4 1|2";
    QTest::newRow("quoted delimiter") << "a,b\n\"1,5\",2\n" << "@1 a|b / @2 1,5|2";
    QTest::newRow("doubled quote") << "a\n\"say \"\"hi\"\"\"\n" << "@1 a / @2 say \"hi\"";
    QTest::newRow("quoted empty") << "a,b\n\"\",x\n" << "@1 a|b / @2 |x";
    QTest::newRow("line break in quotes") << "a,b\n\"x\ny\",2\n3,4\n" << "@1 a|b / @2 x~y|2 / @4 3|4";
    QTest::newRow("CRLF in quotes") << "a\r\n\"x\r\ny\"\r\n" << "@1 a / @2 x~y";
    QTest::newRow("quote inside unquoted field kept") << "a\n1\"2\n" << "@1 a / @2 1\"2";
    QTest::newRow("blanks kept") << "a,b\n 1 , 2 \n" << "@1 a|b / @2  1 | 2 ";
    QTest::newRow("text after closing quote") << "a,b\n\"1\"x,2\n" << "@1 a|b / @2 1x|2 !text after a closing quote";
    QTest::newRow("unterminated quote") << "a,b\n\"1,2\n3,4\n" << "@1 a|b / @2 1,2~3,4 !unterminated quoted field";
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" "a,b\n1,2\n" << "@1 a|b / @2 1|2";
    QTest::newRow("semicolons") << "a;b\n1,5;2\n" << "@1 a|b / @2 1,5|2";
    QTest::newRow("tabs") << "a\tb\n1,5\t2\n" << "@1 a|b / @2 1,5|2";
    QTest::newRow("empty input") << "" << "";
}

void TestCsv::reading()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(Describe(input.toStdString()), expected);
}

void TestCsv::delimiterDetection_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<char>("expected");
    QTest::newRow("comma") << "side,P,n" << ',';
    QTest::newRow("semicolon") << "side;P;n" << ';';
    QTest::newRow("tab") << "side\tP\tn" << '\t';
    QTest::newRow("quoted comma ignored") << "\"a,b\";c" << ';';
    QTest::newRow("single column") << "side" << ',';
}

void TestCsv::delimiterDetection()
{
    QFETCH(QString, header);
    QFETCH(char, expected);
    QCOMPARE(CsvReader::DetectDelimiter(header.toStdString()), expected);
}

void TestCsv::writingRoundTrip_data()
{
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << ',' << "1.5" << "1.5";
    QTest::newRow("delimiter") << ',' << "1,5" << "\"1,5\"";
    QTest::newRow("other delimiter not quoted") << ';' << "1,5" << "1,5";
    QTest::newRow("semicolon delimiter") << ';' << "a;b" << "\"a;b\"";
    QTest::newRow("quote") << ',' << "say \"hi\"" << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << ',' << "x\ny" << "\"x\ny\"";
    QTest::newRow("blank at the end") << ',' << "x " << "\"x \"";
    QTest::newRow("empty") << ',' << "" << "";
}

void TestCsv::writingRoundTrip()
{
    QFETCH(char, delimiter);
    QFETCH(QString, field);
    QFETCH(QString, written);
    std::ostringstream out;
    CsvWriter writer(out, delimiter);
    writer.Field("h");
    writer.Field(field.toStdString());
    writer.EndRecord();
    const std::string expectedLine = "h" + std::string(1, delimiter) + written.toStdString() + "\n";
    QCOMPARE(QString::fromStdString(out.str()), QString::fromStdString(expectedLine));

    // What was written reads back as the same field.
    std::istringstream in(out.str());
    CsvReader reader(in);
    CsvRecord record;
    QVERIFY(reader.ReadRecord(record));
    QCOMPARE(reader.Delimiter(), delimiter);
    QCOMPARE(record.Count, std::size_t{2});
    QCOMPARE(QString::fromStdString(record.Fields[1]), field);
    QVERIFY(record.Error.empty());
}

QTEST_APPLESS_MAIN(TestCsv)

#include "TestCsv.moc"
