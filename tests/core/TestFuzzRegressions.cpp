// Every input that once broke a reader (kept under data/fuzz-regressions/,
// one directory per fuzz target) goes through the same checks as in the fuzz
// target that found it, here in the normal build. The batch calculator's
// inputs are checked by the cli tests (TestCliFuzzRegressions).

#define ZEVKO_FUZZ_CHECK_THROWS
#include "../../fuzz/CalculationChecks.h"
#include "../../fuzz/CatalogFileChecks.h"
#include "../../fuzz/LanguageTableChecks.h"
#include "../../fuzz/NumberFormatChecks.h"
#include "../../fuzz/ProfileFileChecks.h"
#include "../../fuzz/RtfReaderChecks.h"
#include "../../fuzz/ThreadDesignationChecks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace {

const QString RegressionDir = QStringLiteral(ZEVKO_TEST_SOURCE_DIR "/data/fuzz-regressions");

const std::map<QString, std::function<void(std::string_view)>>& CoreTargets()
{
    static const std::map<QString, std::function<void(std::string_view)>> targets = {
        {QStringLiteral("FuzzProfileFile"), zevko::fuzz::CheckProfileFile},
        {QStringLiteral("FuzzCatalogFile"), zevko::fuzz::CheckCatalogFile},
        {QStringLiteral("FuzzLanguageTable"), zevko::fuzz::CheckLanguageTable},
        {QStringLiteral("FuzzRtfReader"), zevko::fuzz::CheckRtfReader},
        {QStringLiteral("FuzzNumberFormat"), zevko::fuzz::CheckNumberFormat},
        {QStringLiteral("FuzzThreadDesignation"), zevko::fuzz::CheckThreadDesignation},
    };
    return targets;
}

// Targets whose inputs another test (or the table below) covers.
const QStringList OtherTargets = {QStringLiteral("FuzzCsvReader"), QStringLiteral("FuzzBatchCsv"),
                                  QStringLiteral("FuzzCalculation")};

QByteArray ReadFixture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestFuzzRegressions : public QObject {
    Q_OBJECT

private slots:
    void everyDirectoryBelongsToATarget()
    {
        const QStringList dirs = QDir(RegressionDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& dir : dirs)
            QVERIFY2(CoreTargets().count(dir) == 1 || OtherTargets.contains(dir),
                     qPrintable("no fuzz target is named " + dir));
    }

    void coreReaders_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        for (const auto& [target, check] : CoreTargets()) {
            const QDir dir(RegressionDir + u'/' + target);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(target + u'/' + name)) << target << dir.filePath(name);
        }
    }

    void coreReaders()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        const QByteArray input = ReadFixture(path);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        try {
            CoreTargets().at(target)(std::string_view(input.constData(), static_cast<std::size_t>(input.size())));
        } catch (const zevko::fuzz::CheckFailure& failure) {
            QFAIL(failure.what());
        }
    }
};

QTEST_APPLESS_MAIN(TestFuzzRegressions)
#include "TestFuzzRegressions.moc"
