#include "ResultTexts.h"

#include <QtTest>

#include "Separators.h"

#include <optional>
#include <string>

using namespace zevko;
using zevkotest::Separators;
using zevkotest::WithSeparator;

namespace {

} // namespace

class TestResultTexts : public QObject {
    Q_OBJECT

private slots:
    // Expected inch texts: the millimetre text as a decimal divided by 25.4,
    // rounded half to even to 8 significant digits, then to 6 decimals
    // (python3 decimal module).
    void oneText_data()
    {
        QTest::addColumn<QString>("mmText");
        QTest::addColumn<bool>("inches");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("formed");
        struct Row {
            const char* name;
            const char* mmText;
            bool inches;
            const char* expected; // nullptr: no text can be formed
        };
        const Row rows[] = {
            {"mm unchanged", "9.02501", false, "9.02501"},
            {"mm empty stays empty", "", false, ""},
            {"mm not read back", "abc", false, "abc"},
            {"inch lead", "1.50000", true, "0.059055"},
            {"inch optimum", "0.86603", true, "0.034096"},
            {"inch pitch diameter", "9.02501", true, "0.355315"},
            {"inch indicated padded", "9.45896", true, "0.372400"},
            // Derived from the rounded text: the unrounded correction of the
            // M10x1.5 example would give 0.000029 in.
            {"inch correction from rounded text", "0.00075", true, "0.000030"},
            {"inch negative", "-0.00075", true, "-0.000030"},
            {"inch rounds to zero without sign", "-0.00001", true, "0.000000"},
            {"inch large", "1234.56785", true, "48.605033"},
            {"inch empty", "", true, nullptr},
            {"inch unreadable", "abc", true, nullptr},
        };
        for (const Row& row : rows) {
            for (const char separator : {'.', ','}) {
                QTest::addRow("%s %c", row.name, separator)
                    << QString::fromStdString(WithSeparator(row.mmText, separator)) << row.inches << separator
                    << QString::fromStdString(WithSeparator(row.expected ? row.expected : "", separator))
                    << (row.expected != nullptr);
            }
        }
    }

    void oneText()
    {
        QFETCH(QString, mmText);
        QFETCH(bool, inches);
        QFETCH(char, separator);
        QFETCH(QString, expected);
        QFETCH(bool, formed);
        const auto text =
            ResultTextInUnit(mmText.toStdString(), inches ? UnitSystem::Inches : UnitSystem::Millimetres, separator);
        QCOMPARE(text.has_value(), formed);
        if (formed) {
            QCOMPARE(QString::fromStdString(*text), expected);
        }
    }

    // The five texts keep the order of the result labels, and one text that
    // cannot be shown leaves the others as they are.
    void fiveTextsInLabelOrder()
    {
        const MeasurementResults results{"1.50000", "0.86603", "9.02501", "9.45896", ""};
        const auto mm = ResultTextsInUnit(results, UnitSystem::Millimetres, '.');
        const auto in = ResultTextsInUnit(results, UnitSystem::Inches, '.');
        const char* const expectedMm[] = {"1.50000", "0.86603", "9.02501", "9.45896", ""};
        const char* const expectedIn[] = {"0.059055", "0.034096", "0.355315", "0.372400"};
        for (std::size_t i = 0; i < ResultTextCount; ++i) {
            QVERIFY(mm[i].has_value());
            QCOMPARE(*mm[i], std::string(expectedMm[i]));
        }
        for (std::size_t i = 0; i + 1 < ResultTextCount; ++i) {
            QVERIFY(in[i].has_value());
            QCOMPARE(*in[i], std::string(expectedIn[i]));
        }
        QVERIFY(!in[4].has_value());
    }
};

QTEST_APPLESS_MAIN(TestResultTexts)

#include "TestResultTexts.moc"
