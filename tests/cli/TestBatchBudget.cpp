#include "BatchCalculator.h"

#include <QtTest>

#include <sstream>
#include <string>

using namespace zevko::cli;

namespace {

const QString Header = QStringLiteral("side,P,n,beta,gamma,dD,F,material,method,quantity,X");
const QString BudgetHeader = QStringLiteral("u_X,u_dD,probes,u_P,u_beta,u_gamma,u_F,u_A2,u_other,k");
// Standard uncertainties of most cases: u_X 0.2, u_dD 0.1, u_P 0.5 um,
// u_beta 3', u_gamma 4', u_F 0.1 N, u_A2 0.05, u_other 0.1 um, k 2.5.
const QString Uncertainties = QStringLiteral("0.2,0.1,%1,0.5,3,4,0.1,0.05,0.1,2.5");
const QString Thread = QStringLiteral("external,1.5,1,30,30,0.866,1,steel,perpendicular");

struct Run {
    int Exit = -1;
    QStringList Lines;
    QString Err;
};

Run RunWith(const QString& input, const char* separator = ".")
{
    const char* argv[] = {"zevko-pd-calc", "--separator", separator, nullptr};
    std::istringstream in(input.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    Run run;
    run.Exit = RunBatchCalculator(3, argv, in, out, err);
    run.Lines = QString::fromStdString(out.str()).split('\n');
    if (!run.Lines.isEmpty() && run.Lines.last().isEmpty()) {
        run.Lines.removeLast();
    }
    run.Err = QString::fromStdString(err.str());
    return run;
}

} // namespace

class TestBatchBudget : public QObject {
    Q_OBJECT

private slots:
    // Expected coefficients, u_c and U from an independent evaluation of
    // the same model in python3 (mpmath, 40 digits, its own differentiation).
    void coefficientsAndUncertainty_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("probes");
        QTest::addColumn<QString>("expected");
        struct Case {
            const char* name;
            const char* row;
            const char* probes;
            const char* expected;
        };
        const Case cases[] = {
            {"ext M perp steel", "external,1.5,1,30,30,0.866,1,steel,perpendicular,M,10.32496", "correlated",
             "1.0004,-3.0025,0.8637,0.0005,0.0005,0.4971,0.576,1.440"},
            {"ext m perp 3/30", "external,6,1,3,30,3.027,0.5,steel,perpendicular,m,36.9", "independent",
             "1.0006,-3.4276,1.5841,0.3180,-0.4087,0.7256,2.077,5.192"},
            {"int M perp steel", "internal,1.5,1,30,30,0.866,1,steel,perpendicular,M,7.7232", "independent",
             "0.9996,3.0009,-0.8635,-0.0016,-0.0016,1.2790,0.538,1.344"},
            {"int m perp ruby", "internal,2,2,30,30,1.1,2,ruby,perpendicular,m,18.5", "correlated",
             "0.9996,2.0026,-0.8622,0.0250,0.0250,0.7767,0.548,1.369"},
            {"ext M incl", "external,1.5,1,30,30,0.866,1,steel,inclined,M,10.32496", "independent",
             "1.0035,-3.0057,0.8239,0.0005,0.0005,0.4975,0.520,1.299"},
            {"ext m incl 3/30", "external,6,2,3,30,3.027,0.5,steel,inclined,m,36.5", "correlated",
             "1.0060,-3.4397,1.5308,0.3320,-0.3813,0.7285,2.020,5.050"},
            {"int M incl ruby Tr", "internal,7,1,15,15,3.5,1.5,ruby,inclined,M,33", "INDEPENDENT",
             "1.0034,4.8731,-1.9075,0.2407,0.2407,1.7417,1.600,4.000"},
            {"int m incl steel", "internal,3,1,30,30,1.8,0.8,steel,inclined,m,20.2", "correlated",
             "1.0025,2.0013,-0.9013,-0.0360,-0.0360,1.0796,0.583,1.458"},
        };
        for (const Case& c : cases) {
            QTest::newRow(c.name) << c.row << c.probes << c.expected;
        }
    }

    void coefficientsAndUncertainty()
    {
        QFETCH(QString, row);
        QFETCH(QString, probes);
        QFETCH(QString, expected);
        const QString input = row + ',' + Uncertainties.arg(probes);
        const Run comma = RunWith(QString(Header + ',' + BudgetHeader + '\n' + input + '\n'));
        QCOMPARE(comma.Exit, 0);
        QCOMPARE(comma.Lines.size(), 2);
        QCOMPARE(comma.Lines[0],
                 Header + ',' + BudgetHeader +
                     ",lead,optimum,diameter,indicated,correction,status,c_X,c_dD,c_P,c_beta,c_gamma,c_F,u_c,U");
        const QStringList fields = comma.Lines[1].split(',');
        QCOMPARE(fields.size(), 21 + 6 + 8);
        QCOMPARE(fields[26], QStringLiteral("ok"));
        QCOMPARE(fields.mid(27).join(','), expected);

        // The same rows with semicolons and decimal commas.
        QString semicolonRow = input;
        semicolonRow.replace(',', ';').replace('.', ',');
        QString semicolonExpected = expected;
        semicolonExpected.replace(',', ';').replace('.', ',');
        const Run semicolon =
            RunWith(QString(Header + ',' + BudgetHeader).replace(',', ';') + '\n' + semicolonRow + '\n', ",");
        QCOMPARE(semicolon.Exit, 0);
        QCOMPARE(semicolon.Lines[1].split(';').mid(27).join(';'), semicolonExpected);
    }

    // The published M10x1.5 example as a script writes it: the standard
    // uncertainties of instrument and repeatability combined in u_X.
    void publishedExample()
    {
        // u_X = sqrt(0.15^2 + (0.2/sqrt 3)^2), u_dD = 0.19, u_beta = u_gamma = 10/sqrt 3,
        // u_A2 = 0.15/sqrt 3, u_other = 0.2/sqrt 3.
        const QString budget = QStringLiteral("0.18929694,0.19,%1,0,5.77350269,5.77350269,0,0.08660254,0.11547005,2");
        const QString row = Thread + QStringLiteral(",M,10.32496,");
        const Run run = RunWith(Header + ',' + BudgetHeader + '\n' + row + budget.arg("correlated") + '\n' + row +
                                budget.arg("independent") + '\n');
        QCOMPARE(run.Exit, 0);
        QVERIFY(run.Lines[1].endsWith(",0.618,1.236"));
        QVERIFY(run.Lines[2].endsWith(",0.423,0.846"));
    }

    // Rows without a budget keep their columns, empty.
    void emptyBudgetColumns_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("status");
        QTest::newRow("pitch diameter entered") << Thread + ",d2,9.026"
                                                << "ok";
        QTest::newRow("implausible") << Thread + ",M,4001"
                                     << "implausible";
        QTest::newRow("failed") << QStringLiteral("external,1.5,1,30,30,0,1,steel,perpendicular,M,10.3") << "failed";
        QTest::newRow("invalid main column") << Thread + ",Q,10.3"
                                             << "\"invalid: quantity: 'Q' is not m, M or d2\"";
    }

    void emptyBudgetColumns()
    {
        QFETCH(QString, row);
        QFETCH(QString, status);
        const Run run = RunWith(Header + ",u_X\n" + row + ",0.2\n");
        QCOMPARE(run.Lines.size(), 2);
        QVERIFY2(run.Lines[1].endsWith(',' + status + ",,,,,,,,"), qPrintable(run.Lines[1]));
    }

    void invalidBudgetValues_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("negative u_X") << "u_X"
                                      << "-0.1"
                                      << "u_X: '-0.1' is not a standard uncertainty of 0 or more";
        QTest::newRow("unreadable u_dD") << "u_dD"
                                         << "0.1um"
                                         << "u_dD: '0.1um' is not a number";
        QTest::newRow("negative u_beta") << "u_beta"
                                         << "-3"
                                         << "u_beta: '-3' is not a standard uncertainty of 0 or more";
        QTest::newRow("nan u_F") << "u_F"
                                 << "nan"
                                 << "u_F: 'nan' is not a number";
        QTest::newRow("inf u_other") << "u_other"
                                     << "inf"
                                     << "u_other: 'inf' is not a number";
        QTest::newRow("other separator u_A2") << "U_A2"
                                              << "0,05"
                                              << "u_A2: '0,05' is not a number";
        QTest::newRow("k zero") << "k"
                                << "0"
                                << "k: '0' is not a coverage factor above 0";
        QTest::newRow("k negative") << "K"
                                    << "-2"
                                    << "k: '-2' is not a coverage factor above 0";
        QTest::newRow("probes word") << "probes"
                                     << "paired"
                                     << "probes: 'paired' is not correlated or independent";
    }

    void invalidBudgetValues()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        const Run run = RunWith(Header + ",u_P," + column + '\n' + Thread + ",M,10.32496,0.2,\"" + value + "\"\n" +
                                Thread + ",M,10.32496,0.2,\n");
        QCOMPARE(run.Exit, 1);
        QCOMPARE(run.Lines.size(), 3);
        // The reason holds the field's text, quoted when that has the delimiter.
        const QString status = "invalid: " + reason;
        QVERIFY2(run.Lines[1].endsWith(",,,,,," + (status.contains(',') ? '"' + status + '"' : status) + ",,,,,,,,"),
                 qPrintable(run.Lines[1]));
        QVERIFY(run.Err.contains("line 2: " + reason));
        // The next row goes on, its empty cell read as no contribution.
        QVERIFY2(run.Lines[2].contains(",ok,1.0004,"), qPrintable(run.Lines[2]));
    }

    void repeatedBudgetColumnIsAHeaderError()
    {
        const Run run = RunWith(Header + ",u_X,U_x\n" + Thread + ",M,10.3,0.1,0.1\n");
        QCOMPARE(run.Exit, 2);
        QVERIFY(run.Err.contains("column 'u_X' appears more than once"));
        QVERIFY(run.Lines.isEmpty());
    }

    // Only k given: the coefficients with u_c = U = 0; no budget column at
    // all: the output of the calculation alone.
    void budgetColumnsOnlyWhenAsked()
    {
        const Run withK = RunWith(Header + ",k\n" + Thread + ",M,10.32496,3\n");
        QVERIFY(withK.Lines[1].endsWith(",ok,1.0004,-3.0025,0.8637,0.0005,0.0005,0.4971,0.000,0.000"));
        const Run without = RunWith(Header + ",note\n" + Thread + ",M,10.32496,k\n");
        QCOMPARE(without.Lines[0], Header + ",note,lead,optimum,diameter,indicated,correction,status");
        QCOMPARE(without.Lines[1], Thread + ",M,10.32496,k,1.50000,0.86603,9.02501,9.45896,0.00075,ok");
    }
};

QTEST_APPLESS_MAIN(TestBatchBudget)
#include "TestBatchBudget.moc"
