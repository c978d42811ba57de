#include "BatchRun.h"

#include <QtTest>

using batchrun::AsSemicolonFile;
using batchrun::BatchRun;
using batchrun::RunBatch;

namespace {

// The published M10x1.5 case (pitch diameter 9.02501 from M 10.32496) with
// u_other 0.5 um as the only contribution: U = 2 * 0.5 = 1.000 um.
const QString Header = QStringLiteral("side,P,n,beta,gamma,dD,F,material,method,quantity,X,u_other,d2_min,d2_max,rule");
const QString Measured = QStringLiteral("external,1.5,1,30,30,0.866,1,steel,perpendicular,M,10.32496,0.5");

QStringList Arguments(bool inches, bool comma)
{
    QStringList arguments;
    if (inches) {
        arguments << "--units"
                  << "in";
    }
    if (comma) {
        arguments << "--separator"
                  << ",";
    }
    return arguments;
}

} // namespace

class TestBatchLimits : public QObject {
    Q_OBJECT

private slots:
    // d2 = 9.02501 mm, U = 0.00100 mm. ISO 14253-1: conforms when
    // d2 - U >= lower and d2 + U <= upper, does not conform when
    // d2 + U < lower or d2 - U > upper, else not decided. Simple: lower <= d2 <= upper.
    void verdict_data()
    {
        QTest::addColumn<QString>("limits"); // d2_min,d2_max,rule
        QTest::addColumn<QString>("verdict");
        struct Case {
            const char* name;
            const char* limits;
            const char* verdict;
        };
        const Case cases[] = {
            {"iso well inside", "9.0,9.1,iso14253", "conforms"},
            {"iso exactly U inside both", "9.02401,9.02601,iso14253", "conforms"},
            {"iso default rule", "9.02401,9.02601,", "conforms"},
            {"iso rule in capitals", "9.02401,9.02601, ISO14253 ", "conforms"},
            {"iso just within U of lower", "9.02402,9.1,iso14253", "not decided"},
            {"iso on the lower limit", "9.02501,9.1,iso14253", "not decided"},
            {"iso U reaches the lower limit from below", "9.02601,9.1,iso14253", "not decided"},
            {"iso U short of the lower limit", "9.02602,9.1,iso14253", "does not conform"},
            {"iso just within U of upper", "9.0,9.02600,iso14253", "not decided"},
            {"iso on the upper limit", "9.0,9.02501,iso14253", "not decided"},
            {"iso U reaches the upper limit from above", "9.0,9.02401,iso14253", "not decided"},
            {"iso U beyond the upper limit", "9.0,9.02400,iso14253", "does not conform"},
            {"iso U beyond both limits", "9.02402,9.02600,iso14253", "not decided"},
            {"iso zone of one point", "9.02501,9.02501,iso14253", "not decided"},
            {"simple inside", "9.0,9.1,simple", "conforms"},
            {"simple on the lower limit", "9.02501,9.1,simple", "conforms"},
            {"simple below the lower limit", "9.02502,9.1,Simple", "does not conform"},
            {"simple on the upper limit", "9.0,9.02501,simple", "conforms"},
            {"simple above the upper limit", "9.0,9.02500,simple", "does not conform"},
            {"simple ignores U", "9.02402,9.02600,simple", "conforms"},
            {"no limits", ",,simple", ""},
            {"no limits, blanks", " , ,", ""},
        };
        for (const Case& c : cases) {
            QTest::newRow(c.name) << c.limits << c.verdict;
        }
    }

    void verdict()
    {
        QFETCH(QString, limits);
        QFETCH(QString, verdict);
        const QString input = Header + '\n' + Measured + ',' + limits + '\n';
        for (const bool inches : {false, true}) {
            for (const bool comma : {false, true}) {
                const BatchRun run = RunBatch(comma ? AsSemicolonFile(input) : input, Arguments(inches, comma));
                QCOMPARE(run.Exit, 0);
                QCOMPARE(run.Header.mid(run.Header.size() - 5), (QStringList{"u_c", "U", "M_min", "M_max", "verdict"}));
                QString diameter = inches ? "0.355315" : "9.02501";
                QCOMPARE(run.Cell(0, "diameter"), comma ? diameter.replace('.', ',') : diameter);
                QCOMPARE(run.Cell(0, "U"), QString(comma ? "1,000" : "1.000"));
                // The limits are millimetres whatever the output unit.
                QCOMPARE(run.Cell(0, "verdict"), verdict);
            }
        }
    }

    // The M at each limit is the indicated value M of the reverse calculation,
    // a row with that pitch diameter entered and the same side, probe, force,
    // material and method, written the same way.
    void indicatedValueAtTheLimits_data()
    {
        QTest::addColumn<QString>("thread"); // side,P,n,beta,gamma,dD,F,material,method
        QTest::addColumn<QString>("measured");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::newRow("M10x1.5 external gauge limits") << "external,1.5,1,30,30,0.866,1,steel,perpendicular"
                                                       << "M,10.32496"
                                                       << "8.862"
                                                       << "8.994";
        QTest::newRow("internal ruby inclined") << "internal,1.5,1,30,30,0.866,1,ruby,inclined"
                                                << "M,7.7232"
                                                << "9.026"
                                                << "9.206";
        QTest::newRow("buttress m two starts") << "external,6,2,3,30,3.027,0.5,steel,perpendicular"
                                               << "m,36.5"
                                               << "34.9"
                                               << "35.1";
        QTest::newRow("trapezoidal internal no force") << "internal,7,1,15,15,3.5,0,steel,perpendicular"
                                                       << "m,33"
                                                       << "36.5"
                                                       << "36.9";
    }

    void indicatedValueAtTheLimits()
    {
        QFETCH(QString, thread);
        QFETCH(QString, measured);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        const QString limits = ',' + lower + ',' + upper + ",\n";
        const QString input = Header + '\n' + thread + ',' + measured + ",0.5" + limits + thread + ",d2," + lower +
                              ',' + limits + thread + ",d2," + upper + ',' + limits;
        for (const bool inches : {false, true}) {
            for (const bool comma : {false, true}) {
                const BatchRun run = RunBatch(comma ? AsSemicolonFile(input) : input, Arguments(inches, comma));
                QCOMPARE(run.Exit, 0);
                QCOMPARE(run.Cell(0, "status"), QStringLiteral("ok"));
                QVERIFY(!run.Cell(0, "M_min").isEmpty());
                QCOMPARE(run.Cell(0, "M_min"), run.Cell(1, "indicated"));
                QCOMPARE(run.Cell(0, "M_max"), run.Cell(2, "indicated"));
                QVERIFY(!run.Cell(0, "verdict").isEmpty());
                // With the pitch diameter entered the M are the same targets; nothing is decided.
                QCOMPARE(run.Cell(1, "M_min"), run.Cell(0, "M_min"));
                QCOMPARE(run.Cell(2, "M_max"), run.Cell(0, "M_max"));
                QCOMPARE(run.Cell(1, "verdict"), QString());
            }
        }
    }

    // Where the columns stay empty.
    void emptyCells_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("expected"); // M_min|M_max|verdict, "*" any non-empty text
        const QString plain = QStringLiteral("side,P,n,beta,gamma,dD,F,material,method,quantity,X,d2_min,d2_max,rule");
        QTest::newRow("iso without budget columns") << plain << Measured.chopped(4) + ",9.0,9.1,"
                                                    << "ok"
                                                    << "*|*|";
        QTest::newRow("simple without budget columns") << plain << Measured.chopped(4) + ",9.0,9.1,simple"
                                                       << "ok"
                                                       << "*|*|conforms";
        QTest::newRow("implausible row") << Header
                                         << "external,1.5,1,30,30,0.866,1,steel,perpendicular,M,4001,0.5,9,9.1,"
                                         << "implausible"
                                         << "||";
        QTest::newRow("failed row") << Header << "external,1.5,1,30,30,0,1,steel,perpendicular,M,10.3,0.5,9,9.1,simple"
                                    << "failed"
                                    << "||";
        QTest::newRow("invalid row") << Header << "external,1.5,1,30,30,0.866,1,steel,perpendicular,Q,10.3,0.5,9,9.1,"
                                     << "invalid: quantity: 'Q' is not m, M or d2"
                                     << "||";
        // Beyond the calculation's range (a length from 0 to 4000 mm) a limit has no M.
        QTest::newRow("limits beyond the range") << Header << Measured + ",-1,4001,"
                                                 << "ok"
                                                 << "||conforms";
    }

    void emptyCells()
    {
        QFETCH(QString, header);
        QFETCH(QString, row);
        QFETCH(QString, status);
        QFETCH(QString, expected);
        const BatchRun run = RunBatch(header + '\n' + row + '\n');
        QCOMPARE(run.Cell(0, "status"), status);
        const QStringList parts = expected.split('|');
        const QStringList columns = {"M_min", "M_max", "verdict"};
        for (int i = 0; i < 3; ++i) {
            const QString cell = run.Cell(0, columns[i]);
            if (parts[i] == "*") {
                QVERIFY2(!cell.isEmpty() && cell != "<no column>", qPrintable(columns[i]));
            } else {
                QCOMPARE(cell, parts[i]);
            }
        }
    }

    void invalidLimits_data()
    {
        QTest::addColumn<QString>("limits");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("reason");
        QTest::newRow("wrong order") << "8.994,8.862," << false << "d2_min: '8.994' is above d2_max '8.862'";
        QTest::newRow("unreadable lower") << "8.8x,8.994," << false << "d2_min: '8.8x' is not a number";
        QTest::newRow("unreadable upper") << "8.862,abc," << false << "d2_max: 'abc' is not a number";
        QTest::newRow("upper only") << ",8.994," << false << "d2_min: '' is not a number (give both limits or neither)";
        QTest::newRow("lower only") << "8.862, ," << false
                                    << "d2_max: ' ' is not a number (give both limits or neither)";
        QTest::newRow("infinite") << "8.862,inf," << false << "d2_max: 'inf' is not a number";
        QTest::newRow("point in a comma file")
            << "8.862;8.994;" << true << "d2_min: '8.862' is not a number with a decimal comma";
        QTest::newRow("wrong order, comma") << "9,1;9,0;" << true << "d2_min: '9,1' is above d2_max '9,0'";
        QTest::newRow("unknown rule") << "8.862,8.994,guard" << false << "rule: 'guard' is not iso14253 or simple";
    }

    void invalidLimits()
    {
        QFETCH(QString, limits);
        QFETCH(bool, comma);
        QFETCH(QString, reason);
        const QString measured = comma ? AsSemicolonFile(Measured) : Measured;
        const QString header = comma ? AsSemicolonFile(Header) : Header;
        const QChar delimiter = comma ? ';' : ',';
        const QString good = measured + delimiter + (comma ? "9;9,1;" : "9,9.1,");
        const BatchRun run =
            RunBatch(header + '\n' + measured + delimiter + limits + '\n' + good + '\n', Arguments(false, comma));
        QCOMPARE(run.Exit, 1);
        QCOMPARE(run.Cell(0, "status"), "invalid: " + reason);
        QCOMPARE(run.Cell(0, "M_min"), QString());
        QCOMPARE(run.Cell(0, "verdict"), QString());
        QCOMPARE(run.Err, "zevko-pd-calc: line 2: " + reason + '\n');
        QCOMPARE(run.Cell(1, "verdict"), QStringLiteral("conforms"));
    }

    void headerErrors_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("message");
        QTest::newRow("lower alone") << "d2_min"
                                     << "column 'd2_min' needs the column 'd2_max'";
        QTest::newRow("upper with rule") << "D2_MAX,rule"
                                         << "column 'd2_max' needs the column 'd2_min'";
        QTest::newRow("rule alone") << "rule"
                                    << "column 'rule' needs the columns 'd2_min' and 'd2_max'";
        QTest::newRow("lower twice") << "d2_min,d2_max,d2_min"
                                     << "column 'd2_min' appears more than once";
        QTest::newRow("rule twice") << "d2_min,d2_max,rule, Rule "
                                    << "column 'rule' appears more than once";
    }

    void headerErrors()
    {
        QFETCH(QString, columns);
        QFETCH(QString, message);
        const BatchRun run = RunBatch("side,P,n,beta,gamma,dD,F,material,method,quantity,X," + columns + '\n');
        QCOMPARE(run.Exit, 2);
        QCOMPARE(run.Err, "zevko-pd-calc: " + message + '\n');
    }

    // Every optional group at once: d2_basic after status, then the budget,
    // then the limits, each group in its own order whatever the input's order.
    void columnOrder()
    {
        const BatchRun run =
            RunBatch(QStringLiteral("rule,d2_max,u_other,thread,d2_min,dD,F,material,method,quantity,X\n"
                                    "simple,8.994,0.5,M10x1.5-6g,8.862,0.866,1,steel,perpendicular,M,"
                                    "10.32496\n"));
        QCOMPARE(run.Exit, 0);
        QCOMPARE(run.Header.mid(11),
                 (QStringList{"lead", "optimum", "diameter", "indicated", "correction", "status", "d2_basic", "c_X",
                              "c_dD", "c_P", "c_beta", "c_gamma", "c_F", "u_c", "U", "M_min", "M_max", "verdict"}));
        QCOMPARE(run.Cell(0, "d2_basic"), QStringLiteral("9.02572"));
        QCOMPARE(run.Cell(0, "U"), QStringLiteral("1.000"));
        // 9.02501 is above 8.994.
        QCOMPARE(run.Cell(0, "verdict"), QStringLiteral("does not conform"));
    }
};

QTEST_APPLESS_MAIN(TestBatchLimits)

#include "TestBatchLimits.moc"
