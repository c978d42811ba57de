#include "BatchCalculator.h"
#include "BatchRun.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>
#include <string>
#include <vector>

using namespace zevko::cli;

namespace {

const QString Header = QStringLiteral("side,P,n,beta,gamma,dD,F,material,method,quantity,X");
// The thread of most cases: external, P 1.5, one start, 30/30 degrees, wire 0.866, 1 N.
const QString Thread = QStringLiteral("external,1.5,1,30,30,0.866,1,steel,perpendicular");

using Run = batchrun::BatchRun;

Run RunWith(const QStringList& arguments, const QString& input)
{
    return batchrun::RunBatch(input, arguments);
}

QStringList Lines(const QString& text)
{
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// Compares the appended fields of an output line with `expected`, in which
// "*" stands for a field whose value the case does not pin down and "~text"
// for any value but that text.
void VerifyTail(const QString& line, const QString& row, const QString& expected, QChar delimiter)
{
    QVERIFY2(line.startsWith(row + delimiter), qPrintable("the input fields are not repeated: " + line));
    const QStringList actual = line.mid(row.size() + 1).split(delimiter);
    const QStringList wanted = expected.split(delimiter);
    QCOMPARE(actual.size(), wanted.size());
    for (int i = 0; i < wanted.size(); ++i) {
        if (wanted[i].startsWith('~')) {
            QVERIFY2(actual[i] != wanted[i].mid(1), qPrintable(line));
        } else if (wanted[i] != QLatin1String("*")) {
            QCOMPARE(actual[i], wanted[i]);
        }
    }
}

} // namespace

class TestBatchCalculator : public QObject {
    Q_OBJECT

private slots:
    void results_data();
    void results();
    void quotedDecimalComma();
    void headerInAnyOrderAndCase();
    void headerErrors_data();
    void headerErrors();
    void invalidRowIsReportedAndProcessingContinues_data();
    void invalidRowIsReportedAndProcessingContinues();
    void lineNumbersCountPhysicalLines();
    void brokenQuotingIsAnInvalidRow();
    void binaryInputIsRefused();
    void exitStatus_data();
    void exitStatus();
    void commandLine_data();
    void commandLine();
    void readsNamedFile();
    void executable();
};

void TestBatchCalculator::results_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("expected"); // lead,optimum,diameter,indicated,correction,status

    const QStringList none;
    const QStringList inches{"--units", "in"};
    QTest::newRow("M entered") << none << Thread + ",M,10.32496"
                               << "1.50000,0.86603,9.02501,9.45896,0.00075,ok";
    QTest::newRow("m entered") << none << Thread + ",m,9.45896"
                               << "1.50000,0.86603,9.02501,10.32496,0.00075,ok";
    QTest::newRow("pitch diameter entered") << none << Thread + ",d2,9.026"
                                            << "1.50000,0.86603,9.45995,10.32595,0.00075,ok";
    QTest::newRow("pitch diameter as D2") << none << Thread + ",D2,9.026"
                                          << "1.50000,0.86603,9.45995,10.32595,0.00075,ok";
    QTest::newRow("pitch diameter, no force") << none << "external,1.5,1,30,30,0.866,0,steel,perpendicular,d2,9.026"
                                              << "1.50000,0.86603,9.46069,10.32670,0.00000,ok";
    QTest::newRow("reverse direction") << none << Thread + ",M,10.32595"
                                       << "*,*,9.02600,*,*,ok";
    QTest::newRow("no lead") << none << "external,1.5,0,30,30,0.866,0,steel,perpendicular,M,10.32496"
                             << "0.00000,*,9.02600,*,*,ok";
    QTest::newRow("four starts") << none << "external,1.5,4,30,30,0.866,1,steel,perpendicular,M,10.32496"
                                 << "6.00000,*,8.99923,*,*,ok";
    QTest::newRow("asymmetric, D:M:S") << none
                                       << "external,1.5,1,27:30:0,32:30:0,0.866,1,steel,perpendicular,M,10.32496"
                                       << "*,0.86465,9.02337,*,*,ok";
    QTest::newRow("asymmetric, decimal degrees")
        << none << "external,1.5,1,27.5,32.5,0.866,1,steel,perpendicular,M,10.32496"
        << "*,0.86465,9.02337,*,*,ok";
    QTest::newRow("inclined, M entered") << none << "external,1.5,1,30,30,0.866,1,steel,inclined,M,10.32496"
                                         << "*,*,8.99522,9.42918,*,ok";
    QTest::newRow("inclined, pitch diameter entered") << none << "external,1.5,1,30,30,0.866,1,steel,inclined,d2,9.026"
                                                      << "*,*,9.48963,10.35563,*,ok";
    QTest::newRow("internal steel") << none << "internal,1.5,1,30,30,0.866,1,steel,perpendicular,d2,9.026"
                                    << "*,*,8.58921,7.72321,0.00192,ok";
    QTest::newRow("internal ruby") << none << "internal,1.5,1,30,30,0.866,1,ruby,perpendicular,d2,9.026"
                                   << "*,*,8.58954,7.72354,0.00159,ok";
    QTest::newRow("internal, M entered") << none << "internal,1.5,1,30,30,0.866,1,steel,perpendicular,M,7.7232"
                                         << "*,*,9.02599,8.58920,*,ok";
    QTest::newRow("words in any case") << none
                                       << R"(" External ",1.5,1,30,30,0.866,1," STEEL ",Perpendicular,M,10.32496)"
                                       << "1.50000,0.86603,9.02501,9.45896,0.00075,ok";
    QTest::newRow("non-settling angle iteration") << none << "external,20,5,45,10,20,1,steel,perpendicular,d2,10"
                                                  << "100.00000,10.46237,42.40753,62.40753,0.00061,ok";
    QTest::newRow("inches") << inches << Thread + ",M,10.32496"
                            << "0.059055,0.034096,0.355315,0.372400,0.000030,ok";
    QTest::newRow("inches, option with =") << QStringList{"--units=in"} << Thread + ",M,10.32496"
                                           << "0.059055,0.034096,0.355315,0.372400,0.000030,ok";
    QTest::newRow("millimetres named") << QStringList{"--units", "mm"} << Thread + ",M,10.32496"
                                       << "1.50000,0.86603,9.02501,9.45896,0.00075,ok";
    QTest::newRow("limits pass") << none << "external,100,1,90:59:59,0,100,100,steel,perpendicular,M,4000"
                                 << "*,*,*,*,*,~implausible";
    QTest::newRow("pitch beyond limit") << none << "external,100.0001,1,30,30,0.866,1,steel,perpendicular,M,10.32496"
                                        << ",,,,,implausible";
    QTest::newRow("negative force") << none << "external,1.5,1,30,30,0.866,-1,steel,perpendicular,M,10.32496"
                                    << ",,,,,implausible";
    QTest::newRow("minutes beyond limit") << none << "external,1.5,1,30:60:0,30,0.866,1,steel,perpendicular,M,10.32496"
                                          << ",,,,,implausible";
    QTest::newRow("entered value beyond limit") << none << Thread + ",M,4000.001"
                                                << ",,,,,implausible";
    QTest::newRow("m of zero fails") << none << Thread + ",m,0"
                                     << ",,,,,failed";
    QTest::newRow("flank angles zero fail") << none << "external,1.5,1,0,0,0.866,1,steel,perpendicular,M,10.32496"
                                            << ",,,,,failed";
    QTest::newRow("inclined m below half the pitch fails")
        << none << "external,1.5,1,30,30,0.866,1,steel,inclined,m,0.5"
        << ",,,,,failed";
    QTest::newRow("failed in inches") << inches << Thread + ",m,0"
                                      << ",,,,,failed";
}

void TestBatchCalculator::results()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, row);
    QFETCH(QString, expected);
    const Run run = RunWith(arguments, Header + '\n' + row + '\n');
    QCOMPARE(run.Err, QString());
    QCOMPARE(run.Exit, 0);
    const QStringList lines = Lines(run.Out);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], Header + ",lead,optimum,diameter,indicated,correction,status");
    VerifyTail(lines[1], row, expected, ',');
}

void TestBatchCalculator::quotedDecimalComma()
{
    // With the decimal comma, a semicolon file needs no quotes and a comma file
    // quotes its numbers; the output keeps the input's delimiter either way.
    const QString semicolonHeader = QString(Header).replace(',', ';');
    const QString semicolonRow = "external;1,5;1;30;30;0,866;1;steel;perpendicular;M;10,32496";
    Run run = RunWith({"--separator", ","}, semicolonHeader + '\n' + semicolonRow + '\n');
    QCOMPARE(run.Exit, 0);
    QStringList lines = Lines(run.Out);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], semicolonHeader + ";lead;optimum;diameter;indicated;correction;status");
    QCOMPARE(lines[1], semicolonRow + ";1,50000;0,86603;9,02501;9,45896;0,00075;ok");

    const QString commaRow = R"(external,"1,5",1,"27,5","32,5","0,866",1,steel,perpendicular,M,"10,32496")";
    run = RunWith({"--separator", ",", "--units", "in"}, Header + '\n' + commaRow + '\n');
    QCOMPARE(run.Exit, 0);
    lines = Lines(run.Out);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].startsWith(commaRow + ",\"0,059055\",\"0,034041\","), qPrintable(lines[1]));
    QVERIFY2(lines[1].endsWith(",ok"), qPrintable(lines[1]));

    // Without the option the comma is no decimal separator.
    run = RunWith({}, Header + '\n' + commaRow + '\n');
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("line 2: P: '1,5' is not a number"), qPrintable(run.Err));
}

void TestBatchCalculator::headerInAnyOrderAndCase()
{
    const QString header = " x ,Quantity,METHOD,Material,f,DD,Gamma,BETA,N,p,Side,comment";
    const QString row = R"(10.32496,M,perpendicular,steel,1,0.866,30,30,1,1.5,external,"lot 7, gauge ""A""")";
    const Run run = RunWith({}, header + '\n' + row + '\n');
    QCOMPARE(run.Exit, 0);
    const QStringList lines = Lines(run.Out);
    QCOMPARE(lines.size(), 2);
    // The header names are repeated as written, blanks included (hence quoted).
    QCOMPARE(lines[0], "\" x "
                       "\",Quantity,METHOD,Material,f,DD,Gamma,BETA,N,p,Side,comment,lead,optimum,diameter,indicated,"
                       "correction,status");
    QCOMPARE(lines[1], row + ",1.50000,0.86603,9.02501,9.45896,0.00075,ok");
}

void TestBatchCalculator::headerErrors_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing column") << "side,P,n,beta,dD,F,material,method,quantity,X\n"
                                    << "missing column 'gamma'";
    QTest::newRow("two missing columns") << "side,P,n,dD,F,material,method,quantity,X\n"
                                         << "missing columns 'beta', 'gamma'";
    QTest::newRow("missing column, data follows")
        << "side,P,n,beta,gamma,dD,F,material,method,quantity\nexternal,1.5,1,30,30,0.866,1,steel,perpendicular,M\n"
        << "missing column 'X'";
    QTest::newRow("repeated column") << Header + ",p\n"
                                     << "column 'P' appears more than once";
    QTest::newRow("empty input") << ""
                                 << "the input has no header row";
    QTest::newRow("blank lines only") << "\n \n"
                                      << "the input has no header row";
    QTest::newRow("broken header quoting") << Header + ",\"comment\n"
                                           << "header row: unterminated quoted field";
}

void TestBatchCalculator::headerErrors()
{
    QFETCH(QString, input);
    QFETCH(QString, message);
    const Run run = RunWith({}, input);
    QCOMPARE(run.Exit, 2);
    QCOMPARE(run.Out, QString());
    QCOMPARE(run.Err, "zevko-pd-calc: " + message + '\n');
}

void TestBatchCalculator::invalidRowIsReportedAndProcessingContinues_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("reason");
    QTest::newRow("word for a number") << Thread + ",M,abc"
                                       << "X: 'abc' is not a number";
    QTest::newRow("empty number") << Thread + ",M,"
                                  << "X: '' is not a number";
    QTest::newRow("decimal comma") << Thread + ",M,\"10,32496\""
                                   << "X: '10,32496' is not a number";
    QTest::newRow("thousands separator") << Thread + ",M,\"1,000.5\""
                                         << "X: '1,000.5' is not a number";
    QTest::newRow("infinity") << "external,inf,1,30,30,0.866,1,steel,perpendicular,M,10"
                              << "P: 'inf' is not a number";
    QTest::newRow("not a number") << "external,1.5,1,30,30,nan,1,steel,perpendicular,M,10"
                                  << "dD: 'nan' is not a number";
    QTest::newRow("hexadecimal") << "external,1.5,1,30,30,0.866,0x1p3,steel,perpendicular,M,10"
                                 << "F: '0x1p3' is not a number";
    QTest::newRow("overflow") << Thread + ",M,1e99999"
                              << "X: '1e99999' is not a number";
    QTest::newRow("beyond a double") << Thread + ",M,1e400"
                                     << "X: '1e400' is not a number";
    QTest::newRow("unknown side") << "left,1.5,1,30,30,0.866,1,steel,perpendicular,M,10"
                                  << "side: 'left' is not external or internal";
    QTest::newRow("unknown material") << "internal,1.5,1,30,30,0.866,1,gold,perpendicular,M,10"
                                      << "material: 'gold' is not steel or ruby";
    QTest::newRow("unknown method") << "external,1.5,1,30,30,0.866,1,steel,oblique,M,10"
                                    << "method: 'oblique' is not perpendicular or inclined";
    QTest::newRow("unknown quantity") << Thread + ",d,10"
                                      << "quantity: 'd' is not m, M or d2";
    QTest::newRow("quantity is case-sensitive") << Thread + ",mm,10"
                                                << "quantity: 'mm' is not m, M or d2";
    QTest::newRow("fractional starts") << "external,1.5,1.5,30,30,0.866,1,steel,perpendicular,M,10"
                                       << "n: '1.5' is not a whole number from 0 to 100";
    QTest::newRow("negative starts") << "external,1.5,-1,30,30,0.866,1,steel,perpendicular,M,10"
                                     << "n: '-1' is not a whole number from 0 to 100";
    QTest::newRow("too many starts") << "external,1.5,101,30,30,0.866,1,steel,perpendicular,M,10"
                                     << "n: '101' is not a whole number from 0 to 100";
    QTest::newRow("angle with two parts") << "external,1.5,1,27:30,30,0.866,1,steel,perpendicular,M,10"
                                          << "beta: '27:30' is not an angle in degrees or D:M:S";
    QTest::newRow("angle with four parts") << "external,1.5,1,30,27:30:0:0,0.866,1,steel,perpendicular,M,10"
                                           << "gamma: '27:30:0:0' is not an angle in degrees or D:M:S";
    QTest::newRow("fractional seconds") << "external,1.5,1,27:30:0.5,30,0.866,1,steel,perpendicular,M,10"
                                        << "beta: '27:30:0.5' is not an angle in degrees or D:M:S";
    QTest::newRow("too few fields") << "external,1.5,1,30,30,0.866,1,steel,perpendicular,M"
                                    << "the row has 10 fields, the header 11";
    QTest::newRow("too many fields") << Thread + ",M,10,extra"
                                     << "the row has 12 fields, the header 11";
    QTest::newRow("longer than 1 MiB") << Thread + ",M,10." + QString(1 << 20, '3') << "the row is longer than 1 MiB";
    QTest::newRow("more than 10000 fields")
        << Thread + ",M,10" + QString(10000, ',') << "the row has more than 10000 fields";
}

void TestBatchCalculator::invalidRowIsReportedAndProcessingContinues()
{
    QFETCH(QString, row);
    QFETCH(QString, reason);
    const QString good = Thread + ",M,10.32496";
    const Run run = RunWith({}, Header + '\n' + good + '\n' + row + '\n' + good + '\n');
    QCOMPARE(run.Exit, 1);
    QCOMPARE(run.Err, "zevko-pd-calc: line 3: " + reason + '\n');
    const QStringList lines = Lines(run.Out);
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines[2].endsWith(",,,,,,invalid: " + reason) || lines[2].endsWith(",,,,,,\"invalid: " + reason + '"'),
             qPrintable(lines[2]));
    QCOMPARE(lines[1], good + ",1.50000,0.86603,9.02501,9.45896,0.00075,ok");
    QCOMPARE(lines[3], lines[1]);
    if (reason.startsWith("the row is longer") || reason.startsWith("the row has more")) {
        // Not repeated, but its columns kept: one empty field per input column.
        QCOMPARE(lines[2], QString(16, ',') + "invalid: " + reason);
    }
}

void TestBatchCalculator::lineNumbersCountPhysicalLines()
{
    // Blank lines are skipped but counted, and a quoted line break moves the
    // line number on.
    const QString header = Header + ",comment";
    const QString input =
        header + "\n\n" + Thread + ",M,10.32496,\"two\nlines\"\n" + Thread + ",M,x,\n\n" + Thread + ",Q,1,\n";
    const Run run = RunWith({}, input);
    QCOMPARE(run.Exit, 1);
    QCOMPARE(run.Err, "zevko-pd-calc: line 5: X: 'x' is not a number\n"
                      "zevko-pd-calc: line 7: quantity: 'Q' is not m, M or d2\n");
    const QStringList lines = Lines(run.Out);
    QCOMPARE(lines.size(), 5); // header, a row over two lines, two invalid rows
    QCOMPARE(lines[2], "lines\",1.50000,0.86603,9.02501,9.45896,0.00075,ok");
}

void TestBatchCalculator::brokenQuotingIsAnInvalidRow()
{
    const QString good = Thread + ",M,10.32496";
    Run run = RunWith({}, Header + '\n' + Thread + ",\"M\"x,10.32496\n" + good + '\n');
    QCOMPARE(run.Exit, 1);
    QCOMPARE(run.Err, "zevko-pd-calc: line 2: text after a closing quote\n");
    QVERIFY(Lines(run.Out).value(2).endsWith(",ok"));

    // An opening quote that never closes swallows the rest of the input into
    // one invalid row; nothing of it is calculated.
    run = RunWith({}, Header + '\n' + good + '\n' + Thread + ",M,\"10.3\n" + good + '\n');
    QCOMPARE(run.Exit, 1);
    QCOMPARE(run.Err, "zevko-pd-calc: line 3: unterminated quoted field\n");
    const QStringList lines = Lines(run.Out);
    QVERIFY2(lines.last().endsWith(",,,,,,invalid: unterminated quoted field"), qPrintable(run.Out));
}

void TestBatchCalculator::binaryInputIsRefused()
{
    // A NUL byte: a binary file, or UTF-16 text as some programs save CSV.
    const QString good = Thread + ",M,10.32496";
    Run run = RunWith({}, Header + '\n' + good + '\n' + Thread + ",M," + QChar(0) + '\n' + good + '\n');
    QCOMPARE(run.Exit, 2);
    QCOMPARE(run.Err,
             "zevko-pd-calc: line 3: the input holds a NUL byte and is no CSV text (save UTF-16 text as UTF-8)\n");
    QCOMPARE(Lines(run.Out).size(), 2);

    QByteArray utf16("\xFF\xFE");
    for (const QChar c : Header + '\n') {
        utf16 += static_cast<char>(c.unicode());
        utf16 += '\0';
    }
    std::istringstream in(utf16.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    const char* argv[] = {"zevko-pd-calc", nullptr};
    QCOMPARE(RunBatchCalculator(1, argv, in, out, err), 2);
    QCOMPARE(QString::fromStdString(out.str()), QString());
    QVERIFY2(err.str().starts_with("zevko-pd-calc: line 1: the input holds a NUL byte"), err.str().c_str());
}

void TestBatchCalculator::exitStatus_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("exit");
    QTest::newRow("header only") << QString() << 0;
    QTest::newRow("all ok") << Thread + ",M,10.32496\n" + Thread + ",m,9.45896\n" << 0;
    QTest::newRow("implausible and failed are read rows") << Thread + ",M,5000\n" + Thread + ",m,0\n" << 0;
    QTest::newRow("one invalid row") << Thread + ",M,10.32496\n" + Thread + ",M,?\n" << 1;
}

void TestBatchCalculator::exitStatus()
{
    QFETCH(QString, rows);
    QFETCH(int, exit);
    const Run run = RunWith({}, Header + '\n' + rows);
    QCOMPARE(run.Exit, exit);
    QCOMPARE(run.Err.isEmpty(), exit == 0);
}

void TestBatchCalculator::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("errorText"); // part of standard error; empty: none at all
    QTest::newRow("help") << QStringList{"--help"} << 0 << QString();
    QTest::newRow("short help") << QStringList{"-h"} << 0 << QString();
    QTest::newRow("unknown units") << QStringList{"--units", "cm"} << 2 << "--units takes mm or in, not 'cm'";
    QTest::newRow("units without value") << QStringList{"--units"} << 2 << "--units needs a value";
    QTest::newRow("unknown separator") << QStringList{"--separator", ";"} << 2 << "--separator takes . or , not ';'";
    QTest::newRow("unknown option") << QStringList{"--verbose"} << 2 << "unknown option '--verbose'";
    QTest::newRow("two files") << QStringList{"a.csv", "b.csv"} << 2 << "only one input file may be given";
    QTest::newRow("missing file") << QStringList{"/nonexistent/input.csv"} << 2
                                  << "/nonexistent/input.csv: No such file or directory";
    QTest::newRow("directory") << QStringList{"/"} << 2 << "/: is a directory";
    QTest::newRow("standard input named") << QStringList{"-"} << 0 << QString();
}

void TestBatchCalculator::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exit);
    QFETCH(QString, errorText);
    const Run run = RunWith(arguments, Header + '\n' + Thread + ",M,10.32496\n");
    QCOMPARE(run.Exit, exit);
    if (errorText.isEmpty()) {
        QCOMPARE(run.Err, QString());
    } else {
        QVERIFY2(run.Err.startsWith("zevko-pd-calc: " + errorText + '\n'), qPrintable(run.Err));
    }
    if (arguments.contains("--help") || arguments.contains("-h")) {
        QVERIFY(run.Out.startsWith("Usage: zevko-pd-calc [--units mm|in] [--separator .|,] [FILE]\n"));
    } else if (exit == 2) {
        QCOMPARE(run.Out, QString()); // nothing half-written
    }
}

void TestBatchCalculator::readsNamedFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("in.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((Header + "\r\n" + Thread + ",M,10.32496\r\n").toUtf8());
    file.close();
    const Run run = RunWith({path}, "this standard input is not read");
    QCOMPARE(run.Exit, 0);
    QCOMPARE(Lines(run.Out).value(1), Thread + ",M,10.32496,1.50000,0.86603,9.02501,9.45896,0.00075,ok");
}

void TestBatchCalculator::executable()
{
    QProcess process;
    process.start(QStringLiteral(ZEVKO_BINARY_ROOT "/src/cli/zevko-pd-calc"), {"--units", "in"});
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    process.write((Header + '\n' + Thread + ",M,10.32496\n" + Thread + ",M,?\n").toUtf8());
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QStringList lines = Lines(QString::fromUtf8(process.readAllStandardOutput()));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], Thread + ",M,10.32496,0.059055,0.034096,0.355315,0.372400,0.000030,ok");
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), "zevko-pd-calc: line 3: X: '?' is not a number\n");
}

QTEST_APPLESS_MAIN(TestBatchCalculator)

#include "TestBatchCalculator.moc"
