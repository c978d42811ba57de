// The batch calculator's and the CSV reader's inputs that once broke them
// (kept under tests/core/data/fuzz-regressions/) go through the same checks
// as in the fuzz targets that found them, here in the normal build.

#define ZEVKO_FUZZ_CHECK_THROWS
#include "../../fuzz/BatchCsvChecks.h"
#include "../../fuzz/CsvReaderChecks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const QString RegressionDir = QStringLiteral(ZEVKO_SOURCE_ROOT "/tests/core/data/fuzz-regressions");
const QString CsvSeedDir = QStringLiteral(ZEVKO_SOURCE_ROOT "/fuzz/seeds/csv");

const std::map<QString, std::function<void(std::string_view)>>& CliTargets()
{
    static const std::map<QString, std::function<void(std::string_view)>> targets = {
        {QStringLiteral("FuzzCsvReader"), zevko::fuzz::CheckCsvReader},
        {QStringLiteral("FuzzBatchCsv"), zevko::fuzz::CheckBatchCsv},
    };
    return targets;
}

} // namespace

class TestCliFuzzRegressions : public QObject {
    Q_OBJECT

private slots:
    void csvInputs_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        for (const auto& [target, check] : CliTargets()) {
            const QDir dir(RegressionDir + u'/' + target);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(target + u'/' + name)) << target << dir.filePath(name);
        }
    }

    void csvInputs()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray input = file.readAll();
        try {
            CliTargets().at(target)(std::string_view(input.constData(), static_cast<std::size_t>(input.size())));
        } catch (const zevko::fuzz::CheckFailure& failure) {
            QFAIL(failure.what());
        }
    }

    // The batch target's seeds (every optional column group among them) meet
    // its checks with each of the four option bytes: the checks know every
    // column the program writes.
    void batchSeedsMeetTheChecks_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("options");
        const QDir dir(CsvSeedDir);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            for (int options = 0; options < 4; ++options)
                QTest::addRow("%s %d", qPrintable(name), options) << dir.filePath(name) << options;
        }
    }

    void batchSeedsMeetTheChecks()
    {
        QFETCH(QString, path);
        QFETCH(int, options);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray input = static_cast<char>(options) + file.readAll();
        try {
            zevko::fuzz::CheckBatchCsv(std::string_view(input.constData(), static_cast<std::size_t>(input.size())));
        } catch (const zevko::fuzz::CheckFailure& failure) {
            QFAIL(failure.what());
        }
    }

    // The output's first line decides the delimiter its reader detects: a
    // header field holding another delimiter is quoted, numbers with a
    // decimal comma in the rows of a ';' file are not.
    void outputDelimiterIsDetectedAgain()
    {
        const char* const argv[] = {"zevko-pd-calc", "--separator", ",", nullptr};
        std::istringstream in("\"Thread, note\";side;P;n;beta;gamma;dD;F;material;method;quantity;X\n"
                              "M6;external;1;1;30;30;0,577;1;steel;perpendicular;M;6,2\n");
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(zevko::cli::RunBatchCalculator(3, argv, in, out, err), 0);
        const QString text = QString::fromStdString(out.str());
        QVERIFY2(text.startsWith(QStringLiteral("\"Thread, note\";side;")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\nM6;external;1;1;30;30;0,577;1;")), qPrintable(text));

        std::istringstream back(out.str());
        zevko::cli::CsvReader reader(back);
        zevko::cli::CsvRecord record;
        QVERIFY(reader.ReadRecord(record));
        QCOMPARE(reader.Delimiter(), ';');
        QCOMPARE(QString::fromStdString(record.Fields[0]), QStringLiteral("Thread, note"));
    }
};

QTEST_APPLESS_MAIN(TestCliFuzzRegressions)
#include "TestCliFuzzRegressions.moc"
