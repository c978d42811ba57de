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
    void boundedRecords_data();
    void boundedRecords();
    void nulByteEndsTheReading();
};

void TestCsv::reading_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "a,b\n1,2\n"
                           << "@1 a|b / @2 1|2";
    QTest::newRow("no final line break") << "a,b\n1,2"
                                         << "@1 a|b / @2 1|2";
    QTest::newRow("CRLF") << "a,b\r\n1,2\r\n"
                          << "@1 a|b / @2 1|2";
    QTest::newRow("empty fields") << "a,b,c\n,,\n"
                                  << "@1 a|b|c / @2 ||";
    QTest::newRow("blank lines skipped, numbers kept") << "a,b\n\n  \n1,2\n"
                                                       << "@1 a|b / @4 1|2";
    QTest::newRow("quoted delimiter") << "a,b\n\"1,5\",2\n"
                                      << "@1 a|b / @2 1,5|2";
    QTest::newRow("doubled quote") << "a\n\"say \"\"hi\"\"\"\n"
                                   << "@1 a / @2 say \"hi\"";
    QTest::newRow("quoted empty") << "a,b\n\"\",x\n"
                                  << "@1 a|b / @2 |x";
    QTest::newRow("line break in quotes") << "a,b\n\"x\ny\",2\n3,4\n"
                                          << "@1 a|b / @2 x~y|2 / @4 3|4";
    QTest::newRow("CRLF in quotes") << "a\r\n\"x\r\ny\"\r\n"
                                    << "@1 a / @2 x~y";
    QTest::newRow("quote inside unquoted field kept") << "a\n1\"2\n"
                                                      << "@1 a / @2 1\"2";
    QTest::newRow("blanks kept") << "a,b\n 1 , 2 \n"
                                 << "@1 a|b / @2  1 | 2 ";
    QTest::newRow("text after closing quote") << "a,b\n\"1\"x,2\n"
                                              << "@1 a|b / @2 1x|2 !text after a closing quote";
    QTest::newRow("unterminated quote") << "a,b\n\"1,2\n3,4\n"
                                        << "@1 a|b / @2 1,2~3,4 !unterminated quoted field";
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF"
                                        "a,b\n1,2\n"
                                     << "@1 a|b / @2 1|2";
    QTest::newRow("semicolons") << "a;b\n1,5;2\n"
                                << "@1 a|b / @2 1,5|2";
    QTest::newRow("tabs") << "a\tb\n1,5\t2\n"
                          << "@1 a|b / @2 1,5|2";
    QTest::newRow("empty input") << ""
                                 << "";
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
    QTest::newRow("plain") << ',' << "1.5"
                           << "1.5";
    QTest::newRow("delimiter") << ',' << "1,5"
                               << "\"1,5\"";
    QTest::newRow("other delimiter not quoted") << ';' << "1,5"
                                                << "1,5";
    QTest::newRow("semicolon delimiter") << ';' << "a;b"
                                         << "\"a;b\"";
    QTest::newRow("quote") << ',' << "say \"hi\""
                           << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << ',' << "x\ny"
                                << "\"x\ny\"";
    QTest::newRow("blank at the end") << ',' << "x "
                                      << "\"x \"";
    QTest::newRow("empty") << ',' << ""
                           << "";
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

namespace {

constexpr std::size_t MiB = std::size_t{1} << 20;

// "a,b" then a line of `length` bytes made of `unit` repeated (cut to length),
// then "1,2": the record in between is read or refused, the last one always
// follows with its own line number.
std::string Sandwich(const std::string& middle)
{
    return "a,b\n" + middle + "\n1,2\n";
}

std::string Repeated(const std::string& unit, std::size_t length)
{
    std::string text;
    text.reserve(length + unit.size());
    while (text.size() < length) {
        text += unit;
    }
    text.resize(length);
    return text;
}

} // namespace

// A record is bounded to 1 MiB of text and 10,000 fields; beyond either it is
// an error record with the header's number of empty fields, the rest of its
// line skipped, and the reading goes on at the next line.
void TestCsv::boundedRecords_data()
{
    QTest::addColumn<QByteArray>("middle"); // the record between header and "1,2"
    QTest::addColumn<int>("lines");         // physical lines of the middle part; -1: not followed
    QTest::addColumn<int>("fields");        // fields read; 0: refused
    QTest::addColumn<QString>("error");

    const std::string limit = Repeated("x", MiB);
    QTest::newRow("exactly 1 MiB") << QByteArray::fromStdString(limit) << 1 << 1 << QString();
    QTest::newRow("exactly 1 MiB before CR LF") << QByteArray::fromStdString(limit + "\r") << 1 << 1 << QString();
    QTest::newRow("1 MiB and one byte") << QByteArray::fromStdString(limit + "x") << 1 << 0
                                        << "the row is longer than 1 MiB";
    QTest::newRow("a line of 5 MiB of delimiters")
        << QByteArray::fromStdString(Repeated(",", 5 * MiB)) << 1 << 0 << "the row is longer than 1 MiB";
    QTest::newRow("a blank line longer than 1 MiB")
        << QByteArray::fromStdString(Repeated(" ", MiB + 1)) << 1 << 0 << "the row is longer than 1 MiB";
    // Inner line breaks count as one byte each.
    QTest::newRow("quoted over lines, exactly 1 MiB")
        << QByteArray::fromStdString("\"" + Repeated("y", MiB / 2 - 1) + "\n" + Repeated("y", MiB / 2 - 4) + "\",z")
        << 2 << 2 << QString();
    QTest::newRow("quoted over lines, one byte more")
        << QByteArray::fromStdString("\"" + Repeated("y", MiB / 2 - 1) + "\n" + Repeated("y", MiB / 2 - 3) + "\",z")
        << 2 << 0 << "the row is longer than 1 MiB";
    // Skipped to the line break where the bound is crossed: the lines after
    // it are read as records of their own (here an unterminated one).
    QTest::newRow("quoted over many short lines")
        << QByteArray::fromStdString("\"" + Repeated("12345678\n", MiB + 50) + "\"") << -1 << 0
        << "the row is longer than 1 MiB";
    QTest::newRow("10,000 fields") << QByteArray::fromStdString(Repeated("7,", 2 * 10000 - 1)) << 1 << 10000
                                   << QString();
    QTest::newRow("10,001 fields") << QByteArray::fromStdString(Repeated("7,", 2 * 10001 - 1)) << 1 << 0
                                   << "the row has more than 10000 fields";
    QTest::newRow("10,001 empty fields") << QByteArray::fromStdString(std::string(10000, ',')) << 1 << 0
                                         << "the row has more than 10000 fields";
}

void TestCsv::boundedRecords()
{
    QFETCH(QByteArray, middle);
    QFETCH(int, lines);
    QFETCH(int, fields);
    QFETCH(QString, error);

    std::istringstream in(Sandwich(middle.toStdString()));
    CsvReader reader(in);
    CsvRecord record;
    QVERIFY(reader.ReadRecord(record));
    QCOMPARE(record.Count, std::size_t{2});

    QVERIFY(reader.ReadRecord(record));
    QCOMPARE(record.Line, 2L);
    QCOMPARE(QString::fromStdString(record.Error), error);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < record.Count; ++i) {
        bytes += record.Fields[i].size();
    }
    QVERIFY(bytes <= MiB);
    if (fields == 0) {
        // Refused: as many empty fields as the header, for the output columns.
        QCOMPARE(record.Count, std::size_t{2});
        QCOMPARE(bytes, std::size_t{0});
    } else {
        QCOMPARE(record.Count, static_cast<std::size_t>(fields));
    }

    // The line after the record is read as the record it is.
    if (lines < 0) {
        return;
    }
    CsvRecord last;
    while (reader.ReadRecord(record)) {
        last.Line = record.Line;
        last.Count = record.Count;
        last.Fields.assign(record.Fields.begin(), record.Fields.begin() + static_cast<std::ptrdiff_t>(record.Count));
        last.Error = record.Error;
    }
    QVERIFY(!reader.ReadFailed());
    QVERIFY(!reader.NotText());
    QCOMPARE(last.Count, std::size_t{2});
    QCOMPARE(QString::fromStdString(last.Fields[0] + "|" + last.Fields[1]), QStringLiteral("1|2"));
    QCOMPARE(last.Line, 2L + lines);
}

// A NUL byte (a binary or UTF-16 file) ends the reading; the records before
// it were read as usual.
void TestCsv::nulByteEndsTheReading()
{
    std::istringstream in(std::string("a,b\n1,2\n3,\0\n5,6\n", 16));
    CsvReader reader(in);
    CsvRecord record;
    QVERIFY(reader.ReadRecord(record));
    QVERIFY(reader.ReadRecord(record));
    QCOMPARE(record.Line, 2L);
    QVERIFY(!reader.ReadRecord(record));
    QVERIFY(reader.NotText());
    QCOMPARE(reader.NotTextLine(), 3L);
    QVERIFY(!reader.ReadFailed());

    std::istringstream utf16(std::string("\xFF\xFE"
                                         "a\0,\0b\0",
                                         8));
    CsvReader wide(utf16);
    QVERIFY(!wide.ReadRecord(record));
    QVERIFY(wide.NotText());
    QCOMPARE(wide.NotTextLine(), 1L);
}

QTEST_APPLESS_MAIN(TestCsv)

#include "TestCsv.moc"
