#include "ThreadDesignation.h"
#include "ThreadSeries.h"

#include <QtTest>

#include "Separators.h"

#include <cmath>
#include <string>

using namespace zevko;
using zevkotest::Separators;
using zevkotest::WithSeparator;

namespace {

// A value rounded as a table prints it.
long double RoundedTo(long double value, int decimals)
{
    const long double scale = std::pow(10.0L, decimals);
    return std::round(value * scale) / scale;
}

} // namespace

Q_DECLARE_METATYPE(ThreadForm)
Q_DECLARE_METATYPE(DesignationRefusal)

class TestThreadDesignation : public QObject {
    Q_OBJECT

private slots:
    void forms_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<ThreadForm>("form");
        QTest::addColumn<double>("majorMm");
        QTest::addColumn<double>("pitchMm");
        QTest::addColumn<int>("starts");
        QTest::addColumn<double>("beta");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("side"); // 0 none, 1 external, 2 internal
        QTest::addColumn<QString>("toleranceClass");

        struct Row {
            const char* name;
            const char* text;
            ThreadForm form;
            double major;
            double pitch;
            int starts;
            double beta, gamma;
            int side;
            const char* cls;
        };
        constexpr double In = 25.4;
        const ThreadForm M = ThreadForm::IsoMetric, U = ThreadForm::Unified, T = ThreadForm::Trapezoidal,
                         S = ThreadForm::Buttress, W = ThreadForm::Whitworth, G = ThreadForm::ParallelPipe,
                         A = ThreadForm::Acme;
        const Row rows[] = {
            {"metric coarse", "M10", M, 10, 1.5, 1, 30, 30, 0, ""},
            {"metric coarse small", "M1.6", M, 1.6, 0.35, 1, 30, 30, 0, ""},
            {"metric fine", "M10x1.25", M, 10, 1.25, 1, 30, 30, 0, ""},
            {"metric blanks and sign", "m 10 \xC3\x97 1.25", M, 10, 1.25, 1, 30, 30, 0, ""},
            {"metric external class", "M10x1.5-6g", M, 10, 1.5, 1, 30, 30, 1, "6g"},
            {"metric internal class coarse", "M10-6H", M, 10, 1.5, 1, 30, 30, 2, "6H"},
            {"metric two grades", "M10-4h6h", M, 10, 1.5, 1, 30, 30, 1, "4h6h"},
            {"metric fit names no side", "M10-6H/6g", M, 10, 1.5, 1, 30, 30, 0, "6H/6g"},
            {"metric left hand, engagement", "M20x2-6g-L-LH", M, 20, 2, 1, 30, 30, 1, "6g"},
            {"metric minus sign",
             "M10x1.5\xE2\x88\x92"
             "6g",
             M, 10, 1.5, 1, 30, 30, 1, "6g"},
            {"metric multi-start", "M16xPh3P1.5", M, 16, 1.5, 2, 30, 30, 0, ""},
            {"unified coarse", "1/4-20 UNC", U, 0.25 * In, In / 20, 1, 30, 30, 0, ""},
            {"unified fine external", "1/4-28 UNF-2A", U, 0.25 * In, In / 28, 1, 30, 30, 1, "2A"},
            {"unified decimal internal", ".250-20 UNC-3B", U, 0.25 * In, In / 20, 1, 30, 30, 2, "3B"},
            {"unified numbered", "#10-32 UNF", U, 0.19 * In, In / 32, 1, 30, 30, 0, ""},
            {"unified numbered without sign", "10-24 UNC", U, 0.19 * In, In / 24, 1, 30, 30, 0, ""},
            {"unified whole inch", "1-8 UNC", U, In, In / 8, 1, 30, 30, 0, ""},
            {"unified mixed size", "1 1/4-7 UNC", U, 1.25 * In, In / 7, 1, 30, 30, 0, ""},
            {"unified series pitch", "1/2 UNC", U, 0.5 * In, In / 13, 1, 30, 30, 0, ""},
            {"unified constant pitch", "1/4-32 UNEF", U, 0.25 * In, In / 32, 1, 30, 30, 0, ""},
            {"unified small class letter", "1/4-20 UNC-2a", U, 0.25 * In, In / 20, 1, 30, 30, 1, "2a"},
            {"trapezoidal", "Tr40x7", T, 40, 7, 1, 15, 15, 0, ""},
            {"trapezoidal multi-start", "Tr40x14(P7)", T, 40, 7, 2, 15, 15, 0, ""},
            {"trapezoidal multi-start plain", "Tr40x14P7", T, 40, 7, 2, 15, 15, 0, ""},
            {"trapezoidal blanks and class", "TR 40 x 14 (P 7) - 7e", T, 40, 7, 2, 15, 15, 1, "7e"},
            {"trapezoidal series pitch", "Tr20", T, 20, 4, 1, 15, 15, 0, ""},
            {"buttress", "S40x7", S, 40, 7, 1, 3, 30, 0, ""},
            {"buttress internal", "S40x7-7H", S, 40, 7, 1, 3, 30, 2, "7H"},
            {"whitworth", "BSW 1/2", W, 0.5 * In, In / 12, 1, 27.5, 27.5, 0, ""},
            {"whitworth fine", "BSF 1/2", W, 0.5 * In, In / 16, 1, 27.5, 27.5, 0, ""},
            {"whitworth size first", "1/2\" BSW", W, 0.5 * In, In / 12, 1, 27.5, 27.5, 0, ""},
            {"whitworth with its pitch", "1/2-12 BSW", W, 0.5 * In, In / 12, 1, 27.5, 27.5, 0, ""},
            {"pipe", "G1/2", G, 20.955, In / 14, 1, 27.5, 27.5, 0, ""},
            {"pipe class A", "G1/2A", G, 20.955, In / 14, 1, 27.5, 27.5, 1, "A"},
            {"pipe mixed size class B", "G 1 1/4 B", G, 41.910, In / 11, 1, 27.5, 27.5, 1, "B"},
            {"acme", "1-5 ACME", A, In, In / 5, 1, 14.5, 14.5, 0, ""},
            {"acme class names no side", "1-5 ACME-2G", A, In, In / 5, 1, 14.5, 14.5, 0, "2G"},
            {"acme series pitch", "1/2 ACME", A, 0.5 * In, In / 10, 1, 14.5, 14.5, 0, ""},
        };
        for (char separator : Separators) {
            for (const Row& r : rows) {
                QTest::addRow("%s %c", r.name, separator)
                    << separator << QString::fromStdString(WithSeparator(r.text, separator)) << r.form << r.major
                    << r.pitch << r.starts << r.beta << r.gamma << r.side << QString::fromUtf8(r.cls);
            }
        }
    }

    void forms()
    {
        QFETCH(char, separator);
        QFETCH(QString, text);
        QFETCH(ThreadForm, form);
        QFETCH(double, majorMm);
        QFETCH(double, pitchMm);
        QFETCH(int, starts);
        QFETCH(double, beta);
        QFETCH(double, gamma);
        QFETCH(int, side);
        QFETCH(QString, toleranceClass);

        const DesignationReading reading = ReadThreadDesignation(text.toStdString(), separator);
        QVERIFY2(reading.Thread.has_value(), qPrintable("refused: " + QString::fromStdString(reading.Offending)));
        const ThreadDesignation& t = *reading.Thread;
        QCOMPARE(reading.Refusal, DesignationRefusal::None);
        QCOMPARE(t.Form, form);
        QVERIFY(std::fabs(t.MajorDiameterMm - majorMm) < 1e-9);
        QVERIFY(std::fabs(t.PitchMm - pitchMm) < 1e-9);
        QCOMPARE(t.Starts, starts);
        QCOMPARE(t.BetaDeg, beta);
        QCOMPARE(t.GammaDeg, gamma);
        QCOMPARE(t.Side.has_value() ? (*t.Side == ThreadSide::External ? 1 : 2) : 0, side);
        QCOMPARE(QString::fromStdString(t.ToleranceClass), toleranceClass);
        QVERIFY(std::fabs(t.BasicPitchDiameterMm - BasicPitchDiameter(form, majorMm, pitchMm)) < 1e-9);
    }

    // Basic pitch diameters as the standards print them (mm to 3 decimals,
    // inches to 4): ISO 724, ASME B1.1, DIN 103, DIN 513, ISO 228-1, BS 84,
    // ASME B1.5.
    void publishedPitchDiameters_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("published");
        QTest::addColumn<bool>("inches");
        QTest::addColumn<int>("decimals");
        struct Row {
            const char* text;
            double published;
            bool inches;
        };
        const Row rows[] = {
            {"M1.6", 1.373, false},       {"M3", 2.675, false},         {"M4", 3.545, false},
            {"M5", 4.480, false},         {"M6", 5.350, false},         {"M8", 7.188, false},
            {"M8x1", 7.350, false},       {"M10x1.5", 9.026, false},    {"M10x1.25", 9.188, false},
            {"M10x1", 9.350, false},      {"M12", 10.863, false},       {"M16", 14.701, false},
            {"M20", 18.376, false},       {"M24", 22.051, false},       {"1/4-20 UNC", 0.2175, true},
            {"1/4-28 UNF", 0.2268, true}, {"#10-32 UNF", 0.1697, true}, {"3/8-16 UNC", 0.3344, true},
            {"1/2-13 UNC", 0.4500, true}, {"1-8 UNC", 0.9188, true},    {"Tr20x4", 18.000, false},
            {"Tr40x7", 36.500, false},    {"S40x7", 34.750, false},     {"G1/8", 9.147, false},
            {"G1/4", 12.301, false},      {"G3/8", 15.806, false},      {"G1/2", 19.793, false},
            {"G3/4", 25.279, false},      {"G1", 31.770, false},        {"G2", 58.135, false},
            {"BSW 1/4", 0.2180, true},    {"BSW 1/2", 0.4466, true},    {"BSF 1/2", 0.4600, true},
            {"1-5 ACME", 0.9000, true},
        };
        for (char separator : Separators) {
            for (const Row& r : rows) {
                QTest::addRow("%s %c", r.text, separator)
                    << separator << QString::fromStdString(WithSeparator(r.text, separator)) << r.published << r.inches
                    << (r.inches ? 4 : 3);
            }
        }
    }

    void publishedPitchDiameters()
    {
        QFETCH(char, separator);
        QFETCH(QString, text);
        QFETCH(double, published);
        QFETCH(bool, inches);
        QFETCH(int, decimals);
        const DesignationReading reading = ReadThreadDesignation(text.toStdString(), separator);
        QVERIFY(reading.Thread.has_value());
        const long double d2 = reading.Thread->BasicPitchDiameterMm / (inches ? 25.4L : 1.0L);
        QCOMPARE(static_cast<double>(RoundedTo(d2, decimals)), published);
    }

    void refusals_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<DesignationRefusal>("reason");
        QTest::addColumn<QString>("offending");
        using R = DesignationRefusal;
        struct Row {
            const char* name;
            const char* text;
            R reason;
            const char* offending;
        };
        const Row rows[] = {
            {"empty", "", R::Empty, ""},
            {"blanks only", "   ", R::Empty, ""},
            {"unknown letters", "X10", R::UnknownForm, "X"},
            {"series before the size", "UNC 1/4-20", R::UnknownForm, "UNC"},
            {"unknown series word", "1/4-20 UNX", R::UnknownForm, "UNX"},
            {"size without series", "1/4-20", R::UnknownForm, "1/4"},
            {"no coarse pitch for the size", "M11.5", R::SizeNotInSeries, "11.5"},
            {"no such UNC size", "3/16-24 UNC", R::SizeNotInSeries, "3/16"},
            {"no such pipe size", "G7", R::SizeNotInSeries, "7"},
            {"no such Whitworth size", "BSW 13/16", R::SizeNotInSeries, "13/16"},
            {"pitch not of UNC", "1/4-24 UNC", R::PitchNotInSeries, "24"},
            {"pitch not of UNF", "1/4-20 UNF", R::PitchNotInSeries, "20"},
            {"pitch not of BSW", "BSW 1/2-11", R::PitchNotInSeries, "11"},
            {"constant pitch needs its pitch", "1/4 UN", R::MissingPitch, "1/4"},
            {"lead not a multiple", "Tr40x15(P7)", R::LeadNotMultiple, "15"},
            {"lead below the pitch", "Tr40x5P7", R::LeadNotMultiple, "5"},
            {"unknown class letter", "M10-6z", R::UnknownClass, "6z"},
            {"class of both sides", "M10-6G6h", R::UnknownClass, "6G6h"},
            {"unified class", "1/4-20 UNC-2C", R::UnknownClass, "2C"},
            {"pipe class", "G1/2C", R::UnknownClass, "C"},
            {"words after it", "M10x1.5 foo", R::UnexpectedText, "foo"},
            {"second class", "M10-6g-6g", R::UnexpectedText, "-6g"},
            {"missing pitch after x", "M10x", R::UnreadableNumber, "x"},
            {"zero denominator", "1/0 UNC", R::UnreadableNumber, "1/0"},
            {"two points", "M10x1.2.5", R::UnreadableNumber, "1.2.5"},
            {"pitch over 100 mm", "M300x101", R::Implausible, "M300x101"},
            {"pitch below 0.01 mm", "M10x0.009", R::Implausible, "M10x0.009"},
            {"no positive pitch diameter", "M10x20", R::Implausible, "M10x20"},
            {"more than 100 starts", "Tr40x707(P7)", R::Implausible, "707"},
            {"too long", "M10x1.5-6g                                                                                 x",
             R::TooLong, ""},
        };
        for (char separator : Separators) {
            for (const Row& r : rows) {
                QTest::addRow("%s %c", r.name, separator)
                    << separator << QString::fromUtf8(r.text) << r.reason << QString::fromUtf8(r.offending);
            }
        }
        // The comma is a decimal separator only where the program uses it.
        QTest::newRow("comma with the point")
            << '.' << QStringLiteral("M10x1,25") << R::UnreadableNumber << QStringLiteral("1,25");
        QTest::newRow("unknown sign") << '.'
                                      << QString::fromUtf8("\xD0\x96"
                                                           "10")
                                      << R::UnknownForm << QString::fromUtf8("\xD0\x96");
    }

    void refusals()
    {
        QFETCH(char, separator);
        QFETCH(QString, text);
        QFETCH(DesignationRefusal, reason);
        QFETCH(QString, offending);
        const DesignationReading reading = ReadThreadDesignation(text.toStdString(), separator);
        QVERIFY(!reading.Thread.has_value());
        QCOMPARE(reading.Refusal, reason);
        QCOMPARE(QString::fromStdString(reading.Offending), offending);
    }

    // Every entry of the tables reads back through its own designation, and
    // the common sizes offered in the box are all readable.
    void seriesTables()
    {
        for (const MetricSeriesEntry& e : IsoMetricCoarseSeries()) {
            const auto r = ReadThreadDesignation("M" + std::to_string(e.DiameterMm), '.');
            QVERIFY(r.Thread && std::fabs(r.Thread->PitchMm - e.PitchMm) < 1e-12);
        }
        for (const PipeSeriesEntry& e : ParallelPipeSeries()) {
            std::string size = std::to_string(e.Size.Numerator / e.Size.Denominator);
            const int rest = e.Size.Numerator % e.Size.Denominator;
            if (rest != 0) {
                size = (e.Size.Numerator > e.Size.Denominator ? size + " " : std::string()) + std::to_string(rest) +
                       "/" + std::to_string(e.Size.Denominator);
            }
            const auto r = ReadThreadDesignation("G" + size, '.');
            QVERIFY2(r.Thread && std::fabs(r.Thread->MajorDiameterMm - e.MajorDiameterMm) < 1e-12, size.c_str());
        }
        for (std::string_view common : CommonDesignations()) {
            QVERIFY2(ReadThreadDesignation(common, '.').Thread.has_value(), std::string(common).c_str());
        }
    }
};

QTEST_GUILESS_MAIN(TestThreadDesignation)
#include "TestThreadDesignation.moc"
