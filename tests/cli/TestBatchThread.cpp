#include "BatchRun.h"

#include <QtTest>

using batchrun::AsSemicolonFile;
using batchrun::BatchRun;
using batchrun::RunBatch;

namespace {

const QString Header = QStringLiteral("thread,side,P,n,beta,gamma,dD,F,material,method,quantity,X");
const QStringList Results = {"lead", "optimum", "diameter", "indicated", "correction", "status"};

QStringList ResultsOf(const BatchRun& run, std::size_t row)
{
    QStringList cells;
    for (const QString& column : Results) {
        cells << run.Cell(row, column);
    }
    return cells;
}

} // namespace

class TestBatchThread : public QObject {
    Q_OBJECT

private slots:
    // Each designation against the same row with its pitch, starts, flank
    // angles and side typed in: the results must be the same, and d2_basic
    // the standard's basic pitch diameter (d - 0.649519 P for ISO and
    // unified threads, d - 0.5 P trapezoidal and ACME, d - 0.75 P buttress,
    // d - 0.640327 P Whitworth and pipe; numbered sizes d = 0.060 + 0.013 N
    // in), rounded half to even to 5 decimals in python3's decimal module;
    // in inches that text / 25.4 to 6 decimals.
    void designationGivesTheThread_data()
    {
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("sideCell"); // the side column of the designation row
        QTest::addColumn<QString>("stated");   // side,P,n,beta,gamma as the standard gives them
        QTest::addColumn<QString>("probe");    // dD, X (the basic pitch diameter entered)
        QTest::addColumn<QString>("basicMm");
        QTest::addColumn<QString>("basicIn");
        struct Case {
            const char* name;
            const char* designation;
            const char* sideCell;
            const char* stated;
            const char* probe;
            const char* basicMm;
            const char* basicIn;
        };
        const Case cases[] = {
            {"ISO fine with class", "M10x1.5-6g", "", "external,1.5,1,30,30", "0.866,9.02572", "9.02572", "0.355343"},
            {"ISO coarse from the series", "M10", "external", "external,1.5,1,30,30", "0.866,9.02572", "9.02572",
             "0.355343"},
            {"ISO internal class", "M10-6H", "", "internal,1.5,1,30,30", "0.866,9.02572", "9.02572", "0.355343"},
            {"ISO blanks and sign", "m10 \xC3\x97 1.25", "internal", "internal,1.25,1,30,30", "0.7,9.1881", "9.18810",
             "0.361736"},
            {"UNC", "1/4-20 UNC", "external", "external,1.27,1,30,30", "0.73,5.52511", "5.52511", "0.217524"},
            {"UNF with class", "1/4-28 UNF-2A", "", "external,0.90714285714285714,1,30,30", "0.52,5.76079", "5.76079",
             "0.226803"},
            {"decimal size internal", ".250-20 UNC-3B", "", "internal,1.27,1,30,30", "0.73,5.52511", "5.52511",
             "0.217524"},
            {"numbered size", "#10-32 UNF", "external", "external,0.79375,1,30,30", "0.46,4.31044", "4.31044",
             "0.169702"},
            {"trapezoidal", "Tr40x7", "external", "external,7,1,15,15", "3.6,36.5", "36.50000", "1.437008"},
            {"trapezoidal two starts", "Tr40x14(P7)", "external", "external,7,2,15,15", "3.6,36.5", "36.50000",
             "1.437008"},
            {"trapezoidal P written on", "TR40X14P7", "internal", "internal,7,2,15,15", "3.6,36.5", "36.50000",
             "1.437008"},
            {"buttress", "S40x7", "external", "external,7,1,3,30", "3.5,34.75", "34.75000", "1.368110"},
            {"Whitworth", "BSW 1/2", "external", "external,2.1166666666666667,1,27.5,27.5", "1.2,11.34464", "11.34464",
             "0.446639"},
            {"Whitworth fine", "BSF 1/2", "internal", "internal,1.5875,1,27.5,27.5", "0.9,11.68348", "11.68348",
             "0.459980"},
            {"parallel pipe", "G1/2", "external", "external,1.8142857142857143,1,27.5,27.5", "1.0,19.79326", "19.79326",
             "0.779262"},
            {"ACME", "1-5 ACME", "external", "external,5.08,1,14.5,14.5", "2.6,22.86", "22.86000", "0.900000"},
        };
        for (const Case& c : cases) {
            QTest::newRow(c.name) << QString::fromUtf8(c.designation) << c.sideCell << c.stated << c.probe << c.basicMm
                                  << c.basicIn;
        }
    }

    void designationGivesTheThread()
    {
        QFETCH(QString, designation);
        QFETCH(QString, sideCell);
        QFETCH(QString, stated);
        QFETCH(QString, probe);
        QFETCH(QString, basicMm);
        QFETCH(QString, basicIn);
        const QString rest = "," + probe.section(',', 0, 0) + ",1,steel,perpendicular,d2," + probe.section(',', 1);
        const QString input =
            Header + '\n' + '"' + designation + "\"," + sideCell + ",,,," + rest + '\n' + "," + stated + rest + '\n';
        for (const bool inches : {false, true}) {
            for (const bool comma : {false, true}) {
                QStringList arguments;
                if (inches) {
                    arguments << "--units"
                              << "in";
                }
                if (comma) {
                    arguments << "--separator"
                              << ",";
                }
                const BatchRun run = RunBatch(comma ? AsSemicolonFile(input) : input, arguments);
                const QString what = designation + (inches ? " in" : " mm") + (comma ? " ;" : " ,");
                QVERIFY2(run.Exit == 0, qPrintable(what + ": " + run.Err));
                QCOMPARE(run.Header.last(), QStringLiteral("d2_basic"));
                QCOMPARE(run.Cell(0, "status"), QStringLiteral("ok"));
                QCOMPARE(ResultsOf(run, 0), ResultsOf(run, 1));
                QString basic = inches ? basicIn : basicMm;
                if (comma) {
                    basic.replace('.', ',');
                }
                QCOMPARE(run.Cell(0, "d2_basic"), basic);
                QCOMPARE(run.Cell(1, "d2_basic"), QString());
            }
        }
    }

    // A cell beside a designation must state the same value; where the
    // designation has no class the side column decides.
    void statedCells_data()
    {
        QTest::addColumn<QString>("row");    // thread,side,P,n,beta,gamma
        QTest::addColumn<QString>("status"); // ok or the reason
        QTest::newRow("all the same") << "M10x1.5-6g,external,1.5,1,30,30"
                                      << "ok";
        QTest::newRow("angles as D:M:S") << "G1/2,external,,,27:30:0,27.5"
                                         << "ok";
        QTest::newRow("UNC pitch to five decimals") << "1/2-13 UNC,external,1.95385,1,,"
                                                    << "ok";
        QTest::newRow("two starts stated") << "Tr40x14(P7),external,7,2,15,15"
                                           << "ok";
        QTest::newRow("side without class") << "M10x1.5,internal,,,,"
                                            << "ok";
        QTest::newRow("pitch") << "M10,external,1.25,,,"
                               << "P: '1.25' is not 1.5, the pitch of the thread 'M10'";
        // 25.4/13 = 1.9538462: 1.95384 is more than half a unit of the fifth decimal away.
        QTest::newRow("UNC pitch off in the fifth decimal")
            << "1/2-13 UNC,external,1.95384,,,"
            << "P: '1.95384' is not 1.95384615384615, the pitch of the thread '1/2-13 UNC'";
        QTest::newRow("lead for pitch") << "Tr40x14(P7),external,14,,,"
                                        << "P: '14' is not 7, the pitch of the thread 'Tr40x14(P7)'";
        QTest::newRow("starts") << "Tr40x14(P7),external,,1,,"
                                << "n: '1' is not 2, the starts of the thread 'Tr40x14(P7)'";
        QTest::newRow("beta") << "S40x7,external,,,30,30"
                              << "beta: '30' is not 3, the flank angle of the thread 'S40x7'";
        QTest::newRow("gamma D:M:S") << "G1/2,external,,,,27:31:0"
                                     << "gamma: '27:31:0' is not 27.5, the flank angle of the thread 'G1/2'";
        QTest::newRow("side against class") << "M10-6H,external,,,,"
                                            << "side: 'external' is not internal, the side of the thread 'M10-6H'";
        QTest::newRow("side against unified class")
            << "1/4-20 UNC-2A,internal,,,,"
            << "side: 'internal' is not external, the side of the thread '1/4-20 UNC-2A'";
        // A cell that is no value at all keeps its own reason.
        QTest::newRow("unreadable pitch cell") << "M10,external,1.5mm,,,"
                                               << "P: '1.5mm' is not a number";
        QTest::newRow("no side anywhere") << "M10x1.5,,,,,"
                                          << "side: '' is not external or internal";
        QTest::newRow("no thread, empty pitch") << ",external,,1,30,30"
                                                << "P: '' is not a number";
    }

    void statedCells()
    {
        QFETCH(QString, row);
        QFETCH(QString, status);
        const QString line = row + ",0.866,1,steel,perpendicular,M,10.3";
        const BatchRun run = RunBatch(Header + '\n' + line + '\n');
        QCOMPARE(run.Exit, status == "ok" ? 0 : 1);
        const QString expected = status == "ok" ? status : "invalid: " + status;
        QCOMPARE(run.Cell(0, "status"), expected);
        if (status != "ok") {
            QCOMPARE(run.Err, QStringLiteral("zevko-pd-calc: line 2: ") + status + '\n');
            QCOMPARE(run.Cell(0, "d2_basic"), QString());
        }
    }

    // What the reader did not understand, in the row's reason.
    void unreadableDesignations_data()
    {
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("reason");
        const char* const prefix = "is not a thread designation: ";
        QTest::newRow("unknown form") << "X10" << prefix + QStringLiteral("'X' is not a thread form");
        QTest::newRow("series missing") << "1/4-20" << prefix + QStringLiteral("'1/4' is not a thread form");
        QTest::newRow("size not in series")
            << "3/16-24 UNC" << prefix + QStringLiteral("'3/16' is not a size of its series");
        QTest::newRow("pitch not in series")
            << "1/4-24 UNC" << prefix + QStringLiteral("'24' is not a number of threads per inch of the series");
        QTest::newRow("no pitch") << "1/4 UN" << prefix + QStringLiteral("no pitch, and '1/4' has none in its series");
        QTest::newRow("lead") << "Tr40x15(P7)"
                              << prefix + QStringLiteral("the lead '15' is not a whole multiple of the pitch");
        QTest::newRow("class") << "M10-6z"
                               << prefix + QStringLiteral("'6z' is not a tolerance class of the thread form");
        QTest::newRow("left over") << "M10x1.5 foo" << prefix + QStringLiteral("'foo' follows a complete designation");
        QTest::newRow("number") << "M10x1.2.5" << prefix + QStringLiteral("'1.2.5' is not a number");
        QTest::newRow("decimal comma in a point file")
            << "M10x1,25" << prefix + QStringLiteral("'1,25' is not a number");
        QTest::newRow("implausible") << "M300x101"
                                     << prefix + QStringLiteral("'M300x101' is outside what the calculation accepts");
        QTest::newRow("too long") << "M10x1.5-6g" + QString(90, ' ') + 'x'
                                  << prefix + QStringLiteral("it is longer than any designation");
    }

    void unreadableDesignations()
    {
        QFETCH(QString, designation);
        QFETCH(QString, reason);
        const QString rest = QStringLiteral(",external,1.5,1,30,30,0.866,1,steel,perpendicular,M,10.3\n");
        // The row after the refused one is still calculated.
        const BatchRun run = RunBatch(Header + "\n\"" + designation + '"' + rest + "M10x1.5" + rest);
        QCOMPARE(run.Exit, 1);
        const QString full = "thread: '" + designation + "' " + reason;
        QCOMPARE(run.Cell(0, "status"), "invalid: " + full);
        QCOMPARE(run.Err, "zevko-pd-calc: line 2: " + full + '\n');
        QCOMPARE(run.Cell(1, "status"), QStringLiteral("ok"));
    }

    // With a thread column the columns a designation gives may be left out;
    // a row that then has no value for one of them says which.
    void columnsLeftOut()
    {
        const BatchRun run = RunBatch(QStringLiteral("thread,dD,F,material,method,quantity,X\n"
                                                     "M10x1.5-6g,0.866,1,steel,perpendicular,M,10.32496\n"
                                                     "M10x1.5,0.866,1,steel,perpendicular,M,10.32496\n"
                                                     ",0.866,1,steel,perpendicular,M,10.32496\n"
                                                     "  ,0.866,1,steel,perpendicular,M,10.32496\n"));
        QCOMPARE(run.Exit, 1);
        QCOMPARE(run.Header.mid(7), Results + QStringList{"d2_basic"});
        // The published example: pitch diameter 9.02501 for M 10.32496.
        QCOMPARE(run.Cell(0, "diameter"), QStringLiteral("9.02501"));
        QCOMPARE(run.Cell(0, "d2_basic"), QStringLiteral("9.02572"));
        QCOMPARE(run.Cell(1, "status"),
                 QStringLiteral(
                     "invalid: no side: the thread 'M10x1.5' names no tolerance class and there is no column 'side'"));
        QCOMPARE(run.Cell(2, "status"),
                 QStringLiteral("invalid: no side: the thread is empty and there is no column 'side'"));
        QCOMPARE(run.Cell(3, "status"), run.Cell(2, "status"));
    }

    // d2_basic belongs to the designation: also given when the calculation
    // is implausible or fails, empty for an invalid row and an empty cell.
    void basicPitchDiameterBesideEveryOutcome()
    {
        const QString tail = QStringLiteral(",1,steel,perpendicular,M,");
        const BatchRun run =
            RunBatch(Header + "\nM10-6H,,,,,,0.866" + tail + "4001\nM10x1.5-6g,,,,,,0" + tail +
                     "10.3\nM10x1.5-6g,,,,,,0.866" + tail + "ten\n,external,1.5,1,30,30,0.866" + tail + "10.32496\n");
        QCOMPARE(run.Cell(0, "status"), QStringLiteral("implausible"));
        QCOMPARE(run.Cell(0, "d2_basic"), QStringLiteral("9.02572"));
        QCOMPARE(run.Cell(1, "status"), QStringLiteral("failed"));
        QCOMPARE(run.Cell(1, "d2_basic"), QStringLiteral("9.02572"));
        QCOMPARE(run.Cell(2, "status"), QStringLiteral("invalid: X: 'ten' is not a number"));
        QCOMPARE(run.Cell(2, "d2_basic"), QString());
        QCOMPARE(run.Cell(3, "status"), QStringLiteral("ok"));
        QCOMPARE(run.Cell(3, "d2_basic"), QString());
    }

    void headerErrors_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("message");
        QTest::newRow("thread twice") << "thread,side,P,n,beta,gamma,dD,F,material,method,quantity,X,Thread"
                                      << "column 'thread' appears more than once";
        QTest::newRow("columns a thread cannot give") << "thread,dD,F,method,quantity,X"
                                                      << "missing column 'material'";
    }

    void headerErrors()
    {
        QFETCH(QString, header);
        QFETCH(QString, message);
        const BatchRun run = RunBatch(header + '\n');
        QCOMPARE(run.Exit, 2);
        QCOMPARE(run.Err, "zevko-pd-calc: " + message + '\n');
        QCOMPARE(run.Out, QString());
    }
};

QTEST_APPLESS_MAIN(TestBatchThread)

#include "TestBatchThread.moc"
