#include "NumberFormat.h"

#include <QtTest>

#include "Separators.h"

#include <charconv>
#include <cmath>
#include <random>
#include <limits>
#include <optional>
#include <string>

using namespace zevko;
using zevkotest::Separators;
using zevkotest::WithSeparator;

namespace {

constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QByteArray Describe(long double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.21Lg", value);
    return buffer;
}

// Exact comparison that also accepts two zeros and reports the values.
void VerifySame(long double actual, long double expected)
{
    QVERIFY2(actual == expected, "got " + Describe(actual) + ", expected " + Describe(expected));
}

} // namespace

class TestNumberFormat : public QObject {
    Q_OBJECT

private slots:
    void formatResult_data();
    void formatResult();
    void roundingAgreesWithExactConversion_data();
    void roundingAgreesWithExactConversion();
    void formatGeneral_data();
    void formatGeneral();
    void formatFixedDecimals_data();
    void formatFixedDecimals();
    void formatInteger_data();
    void formatInteger();
    void roundToDecimals_data();
    void roundToDecimals();
    void formatCatalogNumber_data();
    void formatCatalogNumber();
    void parseCatalogNumber_data();
    void parseCatalogNumber();
    void catalogNumberRoundTrip_data();
    void catalogNumberRoundTrip();
    void parseFieldValue_data();
    void parseFieldValue();
    void parseFieldValueRejectsUnknownSeparator();
    void readingAgreesWithExactConversion();
    void parseDecimalText_data();
    void parseDecimalText();
    void parseFieldInteger_data();
    void parseFieldInteger();
    void inchTextFromMmText_data();
    void inchTextFromMmText();
};

void TestNumberFormat::formatResult_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected"); // empty: no text at all
    struct Row {
        const char* name;
        long double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        // 8 significant digits first (10.326695), then 5 decimals half to even.
        {"double rounding", 10.32669461L, 5, "10.32670"},
        {"lead", 1.5L, 5, "1.50000"},
        {"optimum", 0.86602540378443864676L, 5, "0.86603"},
        {"thousands keep four decimals", 1234.567891L, 5, "1234.56790"},
        {"decimal tie after 8 digits, odd", 2.000015L, 5, "2.00002"},
        {"decimal tie after 8 digits, even", 2.000025L, 5, "2.00002"},
        {"carry into the integer part", 9.999995L, 5, "10.00000"},
        {"carry at the 8th digit", 0.999999999L, 5, "1.00000"},
        {"negative", -1.5L, 5, "-1.50000"},
        {"negative small keeps its sign", -0.000004999L, 6, "-0.000005"},
        {"negative rounding to zero", -0.000001L, 5, "0.00000"},
        {"negative zero", -0.0L, 5, "0.00000"},
        {"zero", 0.0L, 5, "0.00000"},
        {"tiny", 1e-30L, 6, "0.000000"},
        {"inch correction", 0.00075L / 25.4L, 6, "0.000030"},
        {"inch lead", 1.5L / 25.4L, 6, "0.059055"},
        {"no decimals, half down to even", 2.5L, 0, "2"},
        {"no decimals, half up to even", 3.5L, 0, "4"},
        {"eight integer digits stay fixed", 99999999.4L, 5, "99999999.00000"},
        {"rounding up to nine integer digits", 99999999.5L, 5, "1E8"},
        {"exponent notation", 8.16565879e15L, 5, "8.1656588E15"},
        {"nine integer digits", 123456789.0L, 5, "1.2345679E8"},
        {"exponent of a negative value", -2.5e12L, 6, "-2.5E12"},
        {"exponent single digit", 1e20L, 5, "1E20"},
        {"infinity", Inf, 5, ""},
        {"minus infinity", -Inf, 5, ""},
        {"not a number", NaN, 5, ""},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << row.value << row.decimals << separator << Q(WithSeparator(row.expected, separator));
        }
    }
}

void TestNumberFormat::formatResult()
{
    QFETCH(long double, value);
    QFETCH(int, decimals);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    const auto text = FormatResult(value, decimals, separator);
    if (expected.isEmpty()) {
        QVERIFY2(!text.has_value(), text.value_or("").c_str());
    } else {
        QVERIFY(text.has_value());
        QCOMPARE(Q(*text), expected);
    }
}

void TestNumberFormat::roundingAgreesWithExactConversion_data()
{
    QTest::addColumn<int>("significant");
    QTest::addColumn<char>("separator");
    for (int significant : {8, 15}) {
        for (char separator : Separators) {
            QTest::addRow("%d digits %c", significant, separator) << significant << separator;
        }
    }
}

void TestNumberFormat::roundingAgreesWithExactConversion()
{
    // The significant-digit rounding of FormatResult (8 digits) and
    // FormatGeneral (15 digits) against the standard library's exact
    // conversion, over random values of many magnitudes and over values that
    // lie exactly halfway between two roundings.
    QFETCH(int, significant);
    QFETCH(char, separator);
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<long double> mantissa(1.0L, 10.0L);
    std::uniform_int_distribution<int> exponent(significant == 8 ? -11 : -5, significant == 8 ? 7 : 14);
    std::uniform_int_distribution<long> wholes(1000000, 9999999);
    for (int i = 0; i < 40000; ++i) {
        long double value = mantissa(random) * std::pow(10.0L, static_cast<long double>(exponent(random)));
        if (significant == 8 && i % 4 == 0) {
            // A seven-digit whole number and a quarter: exactly a half at the 8th digit.
            value = static_cast<long double>(wholes(random)) + ((i % 8 == 0) ? 0.25L : 0.75L);
        }
        if (i % 2 == 1) {
            value = -value;
        }
        char buffer[64];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant - 1);
        long double expected = 0.0L;
        std::from_chars(buffer, written.ptr, expected);

        const std::string text =
            significant == 8 ? FormatResult(value, 18, separator).value() : FormatGeneral(value, separator);
        const auto actual = ParseDecimalText(text, separator);
        QVERIFY2(actual.has_value(), text.c_str());
        if (*actual != expected) {
            QFAIL(qPrintable(QString("%1 gave %2, expected %3")
                                 .arg(QString::fromLatin1(Describe(value)), QString::fromStdString(text),
                                      QString::fromLatin1(buffer, static_cast<int>(written.ptr - buffer)))));
        }
    }
}

void TestNumberFormat::formatGeneral_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected");
    struct Row {
        const char* name;
        long double value;
        const char* expected;
    };
    const Row rows[] = {
        {"fraction", 1.5L, "1.5"},
        {"trailing zeros dropped", 1.50L, "1.5"},
        {"whole", 100.0L, "100"},
        {"zero", 0.0L, "0"},
        {"negative zero", -0.0L, "0"},
        {"negative", -2.5L, "-2.5"},
        {"binary noise hidden", 0.1L + 0.2L, "0.3"},
        {"fifteen digits", 1.0L / 3.0L, "0.333333333333333"},
        {"inch pitch", 0.05906L, "0.05906"},
        {"smallest fixed", 0.00001L, "0.00001"},
        {"rounds up to smallest fixed", 0.0000099999999999999999L, "0.00001"},
        {"below fixed range", 0.0000099L, "9.9E-6"},
        {"negative exponent", -1.25e-7L, "-1.25E-7"},
        {"fifteen integer digits", 123456789012345.0L, "123456789012345"},
        {"rounds to sixteen integer digits", 999999999999999.9L, "1E15"},
        {"sixteen integer digits", 1234567890123456.0L, "1.23456789012346E15"},
        {"large", 1e300L, "1E300"},
        {"infinity reads as zero", Inf, "0"},
        {"not a number reads as zero", NaN, "0"},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << row.value << separator << Q(WithSeparator(row.expected, separator));
        }
    }
}

void TestNumberFormat::formatGeneral()
{
    QFETCH(long double, value);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    QCOMPARE(Q(FormatGeneral(value, separator)), expected);
}

void TestNumberFormat::formatFixedDecimals_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected");
    struct Row {
        const char* name;
        long double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {"padded", 1.5L, 2, "1.50"},
        {"exact half down to even", 0.125L, 2, "0.12"},
        {"exact half up to even", 0.375L, 2, "0.38"},
        {"rounds up past zeros", 0.006L, 2, "0.01"},
        {"rounds down to zero", 0.004L, 2, "0.00"},
        {"negative rounding to zero", -0.001L, 2, "0.00"},
        {"negative", -12.345678L, 3, "-12.346"},
        {"no decimals half to even", 1234.5L, 0, "1234"},
        {"no decimals", 1.5L, 0, "2"},
        {"limited to fifteen digits", 1.0L / 3.0L, 18, "0.333333333333333000"},
        {"fifteen digits of a large value", 123456789.123456789L, 10, "123456789.1234570000"},
        {"beyond fifteen integer digits", 1e20L, 2, "1E20"},
        {"not a number reads as zero", NaN, 2, "0.00"},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << row.value << row.decimals << separator << Q(WithSeparator(row.expected, separator));
        }
    }
}

void TestNumberFormat::formatFixedDecimals()
{
    QFETCH(long double, value);
    QFETCH(int, decimals);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    QCOMPARE(Q(FormatFixedDecimals(value, decimals, separator)), expected);
}

void TestNumberFormat::formatInteger_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half down to even") << 2.5L << "2";
    QTest::newRow("half up to even") << 3.5L << "4";
    QTest::newRow("negative half to even") << -2.5L << "-2";
    QTest::newRow("negative half up") << -3.5L << "-4";
    QTest::newRow("nearest") << 2.7L << "3";
    QTest::newRow("small negative") << -0.4L << "0";
    QTest::newRow("zero") << 0.0L << "0";
    QTest::newRow("beyond 32 bits") << 2147483648.0L << "2147483648";
    QTest::newRow("large") << 1e20L << "100000000000000000000";
    QTest::newRow("not a number") << NaN << "0";
}

void TestNumberFormat::formatInteger()
{
    QFETCH(long double, value);
    QFETCH(QString, expected);
    QCOMPARE(Q(FormatInteger(value)), expected);
}

void TestNumberFormat::roundToDecimals_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("k");
    QTest::addColumn<long double>("expected");
    QTest::newRow("inch pitch") << 1.5L / 25.4L << 5 << 5906.0L / 100000.0L;
    QTest::newRow("four decimals") << 1.500124L << 4 << 15001.0L / 10000.0L;
    QTest::newRow("half down to even") << 0.125L << 2 << 12.0L / 100.0L;
    QTest::newRow("half up to even") << 0.375L << 2 << 38.0L / 100.0L;
    QTest::newRow("whole, half to even") << 2.5L << 0 << 2.0L;
    QTest::newRow("negative half to even") << -3.5L << 0 << -4.0L;
    QTest::newRow("already round") << 100.0L << 4 << 100.0L;
}

void TestNumberFormat::roundToDecimals()
{
    QFETCH(long double, value);
    QFETCH(int, k);
    QFETCH(long double, expected);
    VerifySame(RoundToDecimals(value, k), expected);
}

void TestNumberFormat::formatCatalogNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected");
    struct Row {
        const char* name;
        double value;
        const char* expected;
    };
    const Row rows[] = {
        {"wire", 0.577, "0.577"},
        {"from inches", 0.1 * 25.4, "2.54"},
        {"whole", 100.0, "100"},
        {"zero", 0.0, "0"},
        {"binary noise hidden", 0.1 * 3.0, "0.3"},
        {"smallest fixed", 0.0001, "0.0001"},
        {"below fixed range", 0.00005, "5E-5"},
        {"below fixed range with digits", 0.0000125, "1.25E-5"},
        {"fifteen integer digits", 123456789012345.0, "123456789012345"},
        {"sixteen integer digits", 1e15, "1E15"},
        {"negative", -1.732, "-1.732"},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << row.value << separator << Q(WithSeparator(row.expected, separator));
        }
    }
}

void TestNumberFormat::formatCatalogNumber()
{
    QFETCH(double, value);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    QCOMPARE(Q(FormatCatalogNumber(value, separator)), expected);
}

void TestNumberFormat::parseCatalogNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<long double>("expected");
    struct Row {
        const char* name;
        const char* text;
        bool readable;
        long double expected;
    };
    // The texts are the file's own: they are not adapted to the separator.
    const Row rows[] = {
        {"point", "0.577", true, 0.577L},
        {"comma", "0,577", true, 0.577L},
        {"whole", "2", true, 2.0L},
        {"scientific", "5E-5", true, 0.00005L},
        {"scientific with comma", "1,25E-5", true, 0.0000125L},
        {"blanks around", " 1.5 ", true, 1.5L},
        {"comma and point", "1,234.5", false, 0.0L},
        {"two points", "1.2.3", false, 0.0L},
        {"empty", "", false, 0.0L},
        {"word", "abc", false, 0.0L},
        {"infinity", "inf", false, 0.0L},
        {"hexadecimal", "0x1p3", false, 0.0L},
        {"overflow", "1e99999", false, 0.0L},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << QString::fromLatin1(row.text) << separator << row.readable << row.expected;
        }
    }
}

void TestNumberFormat::parseCatalogNumber()
{
    QFETCH(QString, text);
    QFETCH(char, separator);
    QFETCH(bool, readable);
    QFETCH(long double, expected);
    const auto value = ParseCatalogNumber(text.toStdString(), separator);
    QCOMPARE(value.has_value(), readable);
    if (readable) {
        VerifySame(*value, expected);
    }
}

void TestNumberFormat::catalogNumberRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("writtenWith");
    QTest::addColumn<char>("readWith");
    const double values[] = {0.577, 1.732, 2.54, 0.00005, 0.0001, 12.7, 0.0};
    for (double value : values) {
        for (char written : Separators) {
            for (char read : Separators) {
                QTest::addRow("%g %c %c", value, written, read) << value << written << read;
            }
        }
    }
}

void TestNumberFormat::catalogNumberRoundTrip()
{
    // A file written under one separator reads back alike under either.
    QFETCH(double, value);
    QFETCH(char, writtenWith);
    QFETCH(char, readWith);
    const auto read = ParseCatalogNumber(FormatCatalogNumber(value, writtenWith), readWith);
    QVERIFY(read.has_value());
    QCOMPARE(static_cast<double>(*read), value);
}

void TestNumberFormat::parseFieldValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<long double>("expected");
    struct Row {
        const char* name;
        const char* text;
        bool readable;
        long double expected;
    };
    // The typed texts are the user's own: they are not adapted to the separator.
    const Row rows[] = {
        {"point", "1.5", true, 1.5L},
        {"comma", "1,5", true, 1.5L},
        {"exact long double", "10.32669461", true, 10.32669461L},
        {"empty", "", true, 0.0L},
        {"minus alone", "-", true, 0.0L},
        {"blanks around", " \t2.5 ", true, 2.5L},
        {"exponent", "1E3", true, 1000.0L},
        {"negative exponent", "1e-3", true, 0.001L},
        {"signed mantissa and exponent", "-1.5e+2", true, -150.0L},
        {"plus sign", "+4", true, 4.0L},
        {"no integer digits", ".5", true, 0.5L},
        {"no fraction digits", "5.", true, 5.0L},
        {"leading zeros", "007", true, 7.0L},
        {"underflow reads as zero", "1e-99999", true, 0.0L},
        {"word", "abc", false, 0.0L},
        {"infinity", "inf", false, 0.0L},
        {"negative infinity", "-infinity", false, 0.0L},
        {"not a number", "nan", false, 0.0L},
        {"hexadecimal float", "0x1p3", false, 0.0L},
        {"hexadecimal", "0x10", false, 0.0L},
        {"overflow", "1e99999", false, 0.0L},
        {"overflow of long double", "1.2e4932", false, 0.0L},
        {"thousands with point", "1,234.5", false, 0.0L},
        {"thousands with comma", "1.234,5", false, 0.0L},
        {"thousands with blank", "1 234", false, 0.0L},
        {"two separators", "1.5.3", false, 0.0L},
        {"exponent without digits", "1e", false, 0.0L},
        {"exponent sign without digits", "1e+", false, 0.0L},
        {"exponent alone", "e5", false, 0.0L},
        {"two signs", "--1", false, 0.0L},
        {"trailing letter", "1.5x", false, 0.0L},
        {"blanks only", "  ", false, 0.0L},
        {"separator alone", ".", false, 0.0L},
        {"digit group underscore", "1_000", false, 0.0L},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << QString::fromLatin1(row.text) << separator << row.readable << row.expected;
        }
    }
}

void TestNumberFormat::parseFieldValue()
{
    QFETCH(QString, text);
    QFETCH(char, separator);
    QFETCH(bool, readable);
    QFETCH(long double, expected);
    const std::string input = text.toStdString();
    const auto strict = TryParseFieldValue(input, separator);
    QCOMPARE(strict.has_value(), readable);
    if (readable) {
        VerifySame(*strict, expected);
    }
    // The lenient reading is 0 wherever the strict one fails.
    VerifySame(ParseFieldValue(input, separator), expected);
}

void TestNumberFormat::parseFieldValueRejectsUnknownSeparator()
{
    QVERIFY(!TryParseFieldValue("1.5", ';').has_value());
    VerifySame(ParseFieldValue("1.5", ';'), 0.0L);
    QVERIFY(!ParseCatalogNumber("1.5", ';').has_value());
}

void TestNumberFormat::readingAgreesWithExactConversion()
{
    // Random decimal texts (short and long digit strings, the point anywhere,
    // with and without exponent) read alike by ParseDecimalText and by the
    // standard library's exact conversion.
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 40000; ++i) {
        std::string digits;
        const int count = length(random);
        for (int k = 0; k < count; ++k) {
            digits.push_back(static_cast<char>('0' + digit(random)));
        }
        const auto point = static_cast<std::size_t>(std::uniform_int_distribution<int>(0, count)(random));
        std::string text = digits.substr(0, point) + "." + digits.substr(point);
        if (text == ".") {
            continue;
        }
        if (i % 3 == 0) {
            text += "e" + std::to_string(exponent(random));
        }
        if (i % 2 == 1) {
            text.insert(text.begin(), '-');
        }
        long double expected = 0.0L;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        for (char separator : Separators) {
            const auto actual = ParseDecimalText(WithSeparator(text, separator), separator);
            QVERIFY2(actual.has_value(), text.c_str());
            QVERIFY2(*actual == expected, qPrintable(QString::fromStdString(text) + " read as " + Describe(*actual)));
        }
    }
}

void TestNumberFormat::parseDecimalText_data()
{
    QTest::addColumn<QString>("text"); // written with the point, run with either separator
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<long double>("expected");
    struct Row {
        const char* name;
        const char* text;
        bool readable;
        long double expected;
    };
    const Row rows[] = {
        {"fraction", "1.5", true, 1.5L},      {"blanks and exponent", " -2.5E-1 ", true, -0.25L},
        {"whole", "42", true, 42.0L},         {"empty", "", false, 0.0L},
        {"minus alone", "-", false, 0.0L},    {"word", "inf", false, 0.0L},
        {"overflow", "1e99999", false, 0.0L},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator)
                << Q(WithSeparator(row.text, separator)) << separator << row.readable << row.expected;
        }
    }
    // Only the given separator is a decimal separator: nothing is swapped.
    QTest::newRow("comma under point") << "1,5" << '.' << false << 0.0L;
    QTest::newRow("point under comma") << "1.5" << ',' << false << 0.0L;
    QTest::newRow("unknown separator") << "1;5" << ';' << false << 0.0L;
}

void TestNumberFormat::parseDecimalText()
{
    QFETCH(QString, text);
    QFETCH(char, separator);
    QFETCH(bool, readable);
    QFETCH(long double, expected);
    const auto value = ParseDecimalText(text.toStdString(), separator);
    QCOMPARE(value.has_value(), readable);
    if (readable) {
        VerifySame(*value, expected);
    }
}

void TestNumberFormat::parseFieldInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "7" << 7;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("negative") << "-12" << -12;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("blanks around") << " 42 " << 42;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("minus alone") << "-" << 0;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << (-2147483647 - 1);
    QTest::newRow("overflow") << "2147483648" << 0;
    QTest::newRow("negative overflow") << "-2147483649" << 0;
    QTest::newRow("far overflow") << "99999999999999999999" << 0;
    QTest::newRow("decimal point") << "1.5" << 0;
    QTest::newRow("decimal comma") << "1,5" << 0;
    QTest::newRow("exponent") << "1e3" << 0;
    QTest::newRow("hexadecimal") << "0x10" << 0;
    QTest::newRow("word") << "abc" << 0;
}

void TestNumberFormat::parseFieldInteger()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(ParseFieldInteger(text.toStdString()), expected);
}

void TestNumberFormat::inchTextFromMmText_data()
{
    QTest::addColumn<QString>("mmText");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected"); // empty: no text
    struct Row {
        const char* name;
        const char* mmText;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {"lead", "1.50000", 6, "0.059055"},
        {"pitch diameter", "9.02501", 6, "0.355315"},
        {"indicated value", "9.45896", 6, "0.372400"},
        // From the rounded text 0.00075, not from the unrounded correction.
        {"correction", "0.00075", 6, "0.000030"},
        {"optimum five decimals", "0.86603", 5, "0.03410"},
        {"negative rounding to zero", "-0.00001", 6, "0.000000"},
        {"empty", "", 6, ""},
        {"unreadable", "abc", 6, ""},
    };
    for (const Row& row : rows) {
        for (char separator : Separators) {
            QTest::addRow("%s %c", row.name, separator) << Q(WithSeparator(row.mmText, separator)) << row.decimals
                                                        << separator << Q(WithSeparator(row.expected, separator));
        }
    }
}

void TestNumberFormat::inchTextFromMmText()
{
    QFETCH(QString, mmText);
    QFETCH(int, decimals);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    const auto text = InchTextFromMmText(mmText.toStdString(), decimals, separator);
    if (expected.isEmpty()) {
        QVERIFY2(!text.has_value(), text.value_or("").c_str());
    } else {
        QVERIFY(text.has_value());
        QCOMPARE(Q(*text), expected);
    }
}

QTEST_APPLESS_MAIN(TestNumberFormat)

#include "TestNumberFormat.moc"
