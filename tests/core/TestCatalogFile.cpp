#include "CatalogFile.h"
#include "NumberFormat.h"
#include "ProbeProposal.h"
#include "ProfileFile.h"
#include "TestFiles.h"

#include <QtTest>

#include <cmath>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using zevko::CatalogEntry;
using zevko::CatalogField;
using zevko::ProbeCatalog;
using zevkotest::ReadFile;
using zevkotest::WriteFile;

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

#define COMPARE_EXACT(actual, expected) \
    QVERIFY2((actual) == (expected),    \
             qPrintable(QStringLiteral("%1 != %2").arg((actual), 0, 'g', 17).arg((expected), 0, 'g', 17)))

const std::string N{zevko::WireCatalogSection};
const std::string S{zevko::BallCatalogSection};

std::vector<double> Mm(const ProbeCatalog& c)
{
    std::vector<double> v;
    for (const CatalogEntry& e : c.Entries())
        v.push_back(e.DIAMm);
    return v;
}

QString Message(const std::optional<zevko::CatalogFileError>& m)
{
    return m ? QString::fromStdString(m->Text()) : QString();
}

// Every separator the program can run with.
const char Separators[] = {'.', ','};

} // namespace

class TestCatalogFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString Path(const QString& name = QStringLiteral("DEZADIRE.INI")) const { return dir_->filePath(name); }

private slots:
    void init()
    {
        // A fresh directory for each test function and row.
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void noFileGivesEmptyCatalogsAndCreatesNone()
    {
        const std::string path = Path().toStdString();
        ProbeCatalog wires;
        ProbeCatalog balls;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
        QVERIFY(wires.IsOpen());
        QCOMPARE(wires.Count(), std::size_t{0});
        QCOMPARE(balls.Count(), std::size_t{0});
        QVERIFY(!wires.Changed());

        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Message(zevko::SaveCatalog(balls, path, S, '.')), QString());
        QVERIFY(!QFile::exists(Path()));

        // The first change creates the file.
        wires.Append();
        wires.SetField(CatalogField::DIAMm, 2.0);
        wires.Post(CatalogField::DIAMm);
        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), QString());
        QCOMPARE(ReadFile(Path()), QByteArray("[DIAM_N]\nCOUNT=1\nD1=2\n"));
    }

    void loads_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<std::vector<double>>("expected");
        QTest::addColumn<QString>("message");

        struct Case {
            const char* name;
            const char* file;
            std::vector<double> expected;
            const char* message;
        };
        const Case cases[] = {
            {"COUNT=2 with D1..D5", "[DIAM_N]\nCOUNT=2\nD1=1\nD2=2\nD3=3\nD4=4\nD5=5\n", {1, 2}, ""},
            {"decimal comma", "[DIAM_N]\nCOUNT=2\nD1=0,577\nD2=1,155\n", {0.577, 1.155}, ""},
            {"decimal point", "[DIAM_N]\nCOUNT=2\nD1=0.577\nD2=1.155\n", {0.577, 1.155}, ""},
            {"out of order", "[DIAM_N]\nCOUNT=3\nD1=1.732\nD2=0.577\nD3=1.155\n", {0.577, 1.155, 1.732}, ""},
            {"keys out of order", "[DIAM_N]\nD2=2\nCOUNT=2\nD1=1\n", {1, 2}, ""},
            {"exponent", "[DIAM_N]\nCOUNT=2\nD1=5E-5\nD2=1e1\n", {5e-5, 10}, ""},
            {"0x count", "[DIAM_N]\nCOUNT=0x2\nD1=1\nD2=2\nD3=3\n", {1, 2}, ""},
            {"$ count", "[DIAM_N]\nCOUNT=$3\nD1=1\nD2=2\nD3=3\nD4=4\n", {1, 2, 3}, ""},
            {"count missing", "[DIAM_N]\nD1=1\n", {}, ""},
            {"count not a number", "[DIAM_N]\nCOUNT=two\nD1=1\n", {}, ""},
            {"negative count", "[DIAM_N]\nCOUNT=-1\nD1=1\n", {}, ""},
            {"section missing", "[DIAM_S]\nCOUNT=1\nD1=1\n", {}, ""},
            {"count beyond the keys", "[DIAM_N]\nCOUNT=5\nD1=1\nD2=2\nD4=4\n", {1, 2, 4}, ""},
            {"leading-zero key is no entry key", "[DIAM_N]\nCOUNT=2\nD01=7\nD2=2\n", {2}, ""},
            {"names in any case", "[diam_n]\ncount=2\nd1=1\nD2=2\n", {1, 2}, ""},
            {"zero and negative kept", "[DIAM_N]\nCOUNT=2\nD1=0\nD2=-1\n", {-1, 0}, ""},
            {"bad value skipped",
             "[DIAM_N]\nCOUNT=3\nD1=1\nD2=abc\nD3=3\n",
             {1, 3},
             "'abc' is not a valid floating point value"},
            {"first bad value named once",
             "[DIAM_N]\nCOUNT=3\nD1=x\nD2=2\nD3=y\n",
             {2},
             "'x' is not a valid floating point value"},
            {"empty value", "[DIAM_N]\nCOUNT=2\nD1=\nD2=2\n", {2}, "'' is not a valid floating point value"},
            {"value beyond a double",
             "[DIAM_N]\nCOUNT=2\nD1=1E999\nD2=2\n",
             {2},
             "'1E999' is not a valid floating point value"},
            {"thousands separators",
             "[DIAM_N]\nCOUNT=1\nD1=1.000,5\n",
             {},
             "'1.000,5' is not a valid floating point value"},
        };
        for (char separator : Separators)
            for (const Case& c : cases)
                QTest::addRow("%s, separator %c", c.name, separator)
                    << separator << QByteArray(c.file) << c.expected << QString::fromUtf8(c.message);
    }

    void loads()
    {
        QFETCH(char, separator);
        QFETCH(QByteArray, file);
        QFETCH(std::vector<double>, expected);
        QFETCH(QString, message);

        QVERIFY(WriteFile(Path(), file));
        ProbeCatalog c;
        c.Open();
        c.AppendLoaded(99); // loading starts from an empty catalog
        c.SetChanged(true);
        QCOMPARE(Message(zevko::LoadCatalog(c, Path().toStdString(), N, separator)), message);
        QCOMPARE(Mm(c), expected);
        for (const CatalogEntry& e : c.Entries())
            COMPARE_EXACT(e.DIAMi, static_cast<double>(static_cast<long double>(e.DIAMm) / 25.4L));
        QCOMPARE(c.Position(), std::size_t{0});
        QCOMPARE(c.State(), ProbeCatalog::EditState::Browsing);
        QVERIFY(!c.Changed());
    }

    void numbersRoundTrip_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("written");

        struct Case {
            double value;
            const char* point;
            const char* comma;
        };
        const Case cases[] = {
            {2.54, "2.54", "2,54"}, {0.577, "0.577", "0,577"},
            {5e-5, "5E-5", "5E-5"}, {0.0001, "0.0001", "0,0001"},
            {1732, "1732", "1732"}, {0, "0", "0"},
            {-1.5, "-1.5", "-1,5"}, {1.0 / 3, "0.333333333333333", "0,333333333333333"},
        };
        for (const Case& c : cases) {
            QTest::addRow("%s, point", c.point) << '.' << c.value << QString::fromUtf8(c.point);
            QTest::addRow("%s, comma", c.point) << ',' << c.value << QString::fromUtf8(c.comma);
        }
    }

    void numbersRoundTrip()
    {
        QFETCH(char, separator);
        QFETCH(double, value);
        QFETCH(QString, written);

        ProbeCatalog c;
        c.Open();
        c.AppendLoaded(value);
        c.SetChanged(true);
        const std::string path = Path().toStdString();
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, separator)), QString());
        QCOMPARE(QString::fromUtf8(ReadFile(Path())), QStringLiteral("[DIAM_N]\nCOUNT=1\nD1=%1\n").arg(written));

        // Read back on a system with either separator.
        for (char readWith : Separators) {
            ProbeCatalog back;
            QCOMPARE(Message(zevko::LoadCatalog(back, path, N, readWith)), QString());
            QCOMPARE(back.Count(), std::size_t{1});
            if (value == 1.0 / 3)
                QCOMPARE(back.Current().DIAMm, value); // 15 digits: close, not bit-equal
            else
                COMPARE_EXACT(back.Current().DIAMm, value);
        }
    }

    void inchValuesSurviveAReload()
    {
        const std::string path = Path().toStdString();
        ProbeCatalog c;
        zevko::LoadCatalog(c, path, N, '.');
        // A new wire typed in inches.
        c.Append();
        c.SetField(CatalogField::DIAMi, 0.1);
        QVERIFY(c.Post(CatalogField::DIAMi));
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        QCOMPARE(zevko::ProfileFile(ReadFile(Path()).toStdString()).Value(N, "D1").value_or(""), std::string("2.54"));

        zevko::LoadCatalog(c, path, N, '.');
        QCOMPARE(zevko::FormatFixedDecimals(c.Current().DIAMm, 4, '.'), std::string("2.5400"));
        QCOMPARE(zevko::FormatFixedDecimals(c.Current().DIAMi, 5, '.'), std::string("0.10000"));

        // An existing wire overwritten in its inch cell keeps the typed value.
        c.SetField(CatalogField::DIAMi, 0.2);
        QVERIFY(c.Post(CatalogField::DIAMm));
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        zevko::LoadCatalog(c, path, N, '.');
        COMPARE_EXACT(c.Current().DIAMm, 5.08);
        QCOMPARE(zevko::FormatFixedDecimals(c.Current().DIAMi, 5, '.'), std::string("0.20000"));
    }

    void saveKeepsEveryOtherLine()
    {
        // BOM, CRLF, comments, another program's section and the ball section
        // in lower case: only the wire section's values may change.
        const QByteArray before = "\xEF\xBB\xBF; workshop catalog\r\n"
                                  "[Owner]\r\n"
                                  "Name=Lab 3\r\n"
                                  "\r\n"
                                  "[diam_n]\r\n"
                                  "; wires on the shelf\r\n"
                                  "count=5\r\n"
                                  "D1=0.5\r\n"
                                  "D2=0.577\r\n"
                                  "D3=0.866\r\n"
                                  "D4=1.155\r\n"
                                  "D5=1.732\r\n"
                                  "\r\n"
                                  "[diam_s]\r\n"
                                  "COUNT=1\r\n"
                                  "D1=1,5\r\n";
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog wires;
        ProbeCatalog balls;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, ',')), QString());
        QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, ',')), QString());
        QCOMPARE(Mm(balls), (std::vector<double>{1.5}));

        // Shrink the wires from five to three.
        wires.SetPosition(0);
        QVERIFY(wires.Delete());
        wires.SetPosition(wires.Count() - 1);
        QVERIFY(wires.Delete());
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866, 1.155}));

        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, ',')), QString());
        QCOMPARE(Message(zevko::SaveCatalog(balls, path, S, ',')), QString()); // unchanged: not written
        const QByteArray after = "\xEF\xBB\xBF; workshop catalog\r\n"
                                 "[Owner]\r\n"
                                 "Name=Lab 3\r\n"
                                 "\r\n"
                                 "[diam_n]\r\n"
                                 "; wires on the shelf\r\n"
                                 "count=3\r\n"
                                 "D1=0,577\r\n"
                                 "D2=0,866\r\n"
                                 "D3=1,155\r\n"
                                 "D4=1.155\r\n"
                                 "D5=1.732\r\n"
                                 "\r\n"
                                 "[diam_s]\r\n"
                                 "COUNT=1\r\n"
                                 "D1=1,5\r\n";
        QCOMPARE(ReadFile(Path()), after);

        // The stale D4 and D5 stay unread.
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866, 1.155}));
    }

    void outOfOrderEntriesAreWrittenAscending()
    {
        QVERIFY(WriteFile(Path(), "[DIAM_N]\nCOUNT=2\nD1=1.732\nD2=0.577\n"));
        ProbeCatalog c;
        zevko::LoadCatalog(c, Path().toStdString(), N, '.');
        c.Append();
        c.SetField(CatalogField::DIAMm, 1.0);
        c.Post(CatalogField::DIAMm);
        QCOMPARE(Message(zevko::SaveCatalog(c, Path().toStdString(), N, '.')), QString());
        QCOMPARE(ReadFile(Path()), QByteArray("[DIAM_N]\nCOUNT=3\nD1=0.577\nD2=1\nD3=1.732\n"));
    }

    void badValueIsNotWrittenOverUnlessEdited()
    {
        const QByteArray before = "[DIAM_N]\nCOUNT=3\nD1=1\nD2=1.2.3\nD3=3\n";
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog c;
        QCOMPARE(Message(zevko::LoadCatalog(c, path, N, '.')),
                 QStringLiteral("'1.2.3' is not a valid floating point value"));
        QCOMPARE(Mm(c), (std::vector<double>{1, 3}));
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        QCOMPARE(ReadFile(Path()), before);

        // Once the user edits the catalog, what it shows is what is written.
        c.SetPosition(1);
        QVERIFY(c.Delete());
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        QCOMPARE(ReadFile(Path()), QByteArray("[DIAM_N]\nCOUNT=1\nD1=1\nD2=1.2.3\nD3=3\n"));
    }

    void rowBeingEditedIsSettledOnSave()
    {
        const QByteArray before = "[DIAM_N]\nCOUNT=1\nD1=1\n";
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog c;
        zevko::LoadCatalog(c, path, N, '.');

        // A new row left untouched is dropped: no zero entry appears.
        c.Append();
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        QCOMPARE(c.State(), ProbeCatalog::EditState::Browsing);
        QCOMPARE(ReadFile(Path()), before);

        // A typed one is kept, even in a catalog not changed before.
        zevko::LoadCatalog(c, path, N, '.');
        c.Append();
        c.SetField(CatalogField::DIAMm, 0.5);
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        QCOMPARE(ReadFile(Path()), QByteArray("[DIAM_N]\nCOUNT=2\nD1=0.5\nD2=1\n"));
    }

    void refusedWrite_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory is a file") << "under-file";
        QTest::newRow("file is a directory") << "directory";
        QTest::newRow("device") << "device";
        QTest::newRow("relative path under a file") << "relative";
    }

    void refusedWrite()
    {
        QFETCH(QString, kind);

        QString path;
        QString fullPath;
        const QString oldCurrent = QDir::currentPath();
        if (kind == "under-file") {
            QVERIFY(WriteFile(Path("blocker"), "x"));
            path = fullPath = Path("blocker") + "/DEZADIRE.INI";
        } else if (kind == "directory") {
            QVERIFY(QDir(dir_->path()).mkdir("DEZADIRE.INI"));
            path = fullPath = Path();
        } else if (kind == "device") {
            if (!QFileInfo::exists("/dev/full"))
                QSKIP("no /dev/full");
            path = fullPath = "/dev/full";
        } else {
            QVERIFY(WriteFile(Path("blocker"), "x"));
            QVERIFY(QDir::setCurrent(dir_->path()));
            path = "blocker/DEZADIRE.INI";
            fullPath = QDir::currentPath() + "/blocker/DEZADIRE.INI";
        }

        ProbeCatalog c;
        c.Open();
        c.AppendLoaded(1.0);
        c.SetChanged(true);
        const QString message = Message(zevko::SaveCatalog(c, path.toStdString(), N, '.'));
        QDir::setCurrent(oldCurrent);
        QCOMPARE(message, "Unable to write to " + fullPath);
        QVERIFY(c.Changed()); // still to be written

        struct stat st {};
        if (kind == "directory") {
            QVERIFY(QFileInfo(Path()).isDir());
            QVERIFY(QDir(Path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        } else if (kind == "device") {
            QCOMPARE(::stat("/dev/full", &st), 0);
            QVERIFY(S_ISCHR(st.st_mode));
            QVERIFY(!QFileInfo::exists("/dev/.full.tmp"));
        } else {
            QCOMPARE(ReadFile(Path("blocker")), QByteArray("x"));
        }
        // No temporary file is left behind.
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
                 kind == "device" ? 0 : 1);
    }

    void fullDiskLeavesTheFileAsItWas()
    {
        // A file size limit makes the write fail part way, as a full disk would.
        const QByteArray before = "[DIAM_S]\nCOUNT=1\nD1=2\n";
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog c;
        zevko::LoadCatalog(c, path, N, '.');
        for (int i = 1; i <= 50; ++i) {
            c.Append();
            c.SetField(CatalogField::DIAMm, i * 0.125);
            c.Post(CatalogField::DIAMm);
        }

        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        limited.rlim_cur = 64;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const QString message = Message(zevko::SaveCatalog(c, path, N, '.'));
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(message, "Unable to write to " + Path());
        QCOMPARE(ReadFile(Path()), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"DEZADIRE.INI"});

        // With room again the same save goes through.
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());
        ProbeCatalog back;
        zevko::LoadCatalog(back, path, N, '.');
        QCOMPARE(back.Count(), std::size_t{50});
    }

    void permissionsAndLinksAreKept()
    {
        QVERIFY(WriteFile(Path("real.ini"), "[DIAM_N]\nCOUNT=0\n"));
        QCOMPARE(::chmod(Path("real.ini").toLocal8Bit().constData(), 0640), 0);
        QVERIFY(QFile::link(Path("real.ini"), Path("link.ini")));

        ProbeCatalog c;
        c.Open();
        c.AppendLoaded(1.0);
        c.SetChanged(true);
        QCOMPARE(Message(zevko::SaveCatalog(c, Path("link.ini").toStdString(), N, '.')), QString());

        QVERIFY(QFileInfo(Path("link.ini")).isSymLink());
        QCOMPARE(ReadFile(Path("real.ini")), QByteArray("[DIAM_N]\nCOUNT=1\nD1=1\n"));
        struct stat st {};
        QCOMPARE(::stat(Path("real.ini").toLocal8Bit().constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0640u);
    }

    void unreadableFileIsReported()
    {
        QVERIFY(QDir(dir_->path()).mkdir("DEZADIRE.INI"));
        ProbeCatalog c;
        QCOMPARE(Message(zevko::LoadCatalog(c, Path().toStdString(), N, '.')), "Unable to read " + Path());
        QVERIFY(c.IsOpen());
        QCOMPARE(c.Count(), std::size_t{0});
    }

    void sampleCatalogServesAtOnce_data()
    {
        QTest::addColumn<char>("separator");
        for (char separator : Separators)
            QTest::addRow("separator %c", separator) << separator;
    }

    void sampleCatalogServesAtOnce()
    {
        QFETCH(char, separator);
        const QString sample = QStringLiteral(ZEVKO_SOURCE_ROOT "/resources/catalog/DEZADIRE.INI");
        const QByteArray text = ReadFile(sample);
        QVERIFY(text.startsWith(';'));
        const zevko::ProfileFile profile(text.toStdString());

        for (const std::string& section : {N, S}) {
            ProbeCatalog c;
            QCOMPARE(Message(zevko::LoadCatalog(c, sample.toStdString(), section, separator)), QString());
            QVERIFY(c.Count() > 10);
            // COUNT covers every key, the file is in ascending order already.
            QCOMPARE(static_cast<std::size_t>(zevko::ParseProfileInteger(*profile.Value(section, "COUNT"))), c.Count());
            QCOMPARE(profile.Keys(section).size(), c.Count() + 1);
            for (std::size_t k = 1; k <= c.Count(); ++k)
                COMPARE_EXACT(
                    static_cast<double>(
                        zevko::ParseCatalogNumber(*profile.Value(section, "D" + std::to_string(k)), '.').value_or(-1)),
                    c.Entries()[k - 1].DIAMm);
        }

        ProbeCatalog wires;
        zevko::LoadCatalog(wires, sample.toStdString(), N, separator);
        // P = 1.5 mm, 60 degrees: the optimum 0.8660254 proposes the 0.866 wire.
        const auto proposal = zevko::ProposeProbeDiameter(0.8660254037844386L, wires.DiametersMm());
        COMPARE_EXACT(proposal.ProbeDiameterMm, 0.866);
        QVERIFY(!proposal.SignShown);
        // The metric coarse pitches from 0.2 to 6 mm all find their best wire.
        for (double pitch : {0.2, 0.25, 0.3, 0.35, 0.4, 0.45, 0.5, 0.6, 0.7, 0.8, 1.0, 1.25,
                             1.5, 1.75, 2.0, 2.5,  3.0, 3.5,  4.0, 4.5, 5.0, 5.5, 6.0}) {
            const long double d0 = pitch / std::sqrt(3.0L);
            const double proposed = zevko::ProposeProbeDiameter(d0, wires.DiametersMm()).ProbeDiameterMm;
            QVERIFY2(std::fabs(proposed - d0) < 0.0006L, qPrintable(QString::number(pitch)));
        }
    }
};

QTEST_APPLESS_MAIN(TestCatalogFile)
#include "TestCatalogFile.moc"
