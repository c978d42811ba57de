// The catalog file shared and met in odd forms: instances that save at the
// same moment, a lock left by a crash, temporary files left by a killed save,
// a dangling symbolic link and files of other encodings. Nothing the user
// changed is lost, and no file is ever written in two encodings.

#include "CatalogFile.h"
#include "FileLock.h"
#include "ProbeCatalog.h"

#include <QtTest>

#include <csignal>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using zevko::CatalogFileFault;
using zevko::ProbeCatalog;

namespace {

const std::string N{zevko::WireCatalogSection};
const std::string S{zevko::BallCatalogSection};

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

std::vector<double> Mm(const ProbeCatalog& c)
{
    std::vector<double> v;
    for (const auto& e : c.Entries())
        v.push_back(e.DIAMm);
    return v;
}

std::vector<double> Loaded(const QString& path, const std::string& section)
{
    ProbeCatalog c;
    zevko::LoadCatalog(c, path.toStdString(), section, '.');
    return Mm(c);
}

QStringList Listing(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// A catalog as the user left it: loaded from the file, then `mm` added.
bool Edited(ProbeCatalog& c, const QString& path, const std::string& section, double mm)
{
    zevko::LoadCatalog(c, path.toStdString(), section, '.');
    c.AppendLoaded(mm);
    c.Sort();
    c.SetChanged(true);
    return true;
}

// Forks a child that runs `work` once the parent writes to its pipe, and
// exits with 0 when `work` returned true.
struct Child {
    pid_t pid = -1;
    int go = -1;
};

template <typename Work>
Child Fork(Work work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[1]);
        char c = 0;
        const bool started = ::read(fds[0], &c, 1) == 1;
        ::_exit(started && work() ? 0 : 1);
    }
    ::close(fds[0]);
    return {pid, fds[1]};
}

void Start(const Child& child)
{
    const char c = 'g';
    QCOMPARE(::write(child.go, &c, 1), ssize_t{1});
    ::close(child.go);
}

int Wait(const Child& child)
{
    int status = 0;
    if (::waitpid(child.pid, &status, 0) != child.pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The text in UTF-16 with its byte-order mark, encoded here without the code
// under test.
QByteArray Utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

class TestCatalogFileSharing : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString Path(const QString& name = QStringLiteral("DEZADIRE.INI")) const { return dir_->filePath(name); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void cleanup() { dir_.reset(); }

    // Two instances close at the same moment, many times over. Each changed
    // a section of its own: both changes are kept. Both changed the same
    // section: the file holds one of the two catalogs whole.
    void instancesSavingAtOnce_data()
    {
        QTest::addColumn<bool>("sameSection");
        QTest::newRow("different sections") << false;
        QTest::newRow("the same section") << true;
    }

    void instancesSavingAtOnce()
    {
        QFETCH(bool, sameSection);
        const QString file = Path();
        for (int round = 1; round <= 40; ++round) {
            QVERIFY(WriteFile(file, "[DIAM_N]\nCOUNT=1\nD1=0.577\n[DIAM_S]\nCOUNT=1\nD1=1.5\n"));
            const double first = 2.0 + round * 0.001;
            const double second = 3.0 + round * 0.001;
            const std::string secondSection = sameSection ? N : S;
            ProbeCatalog a;
            ProbeCatalog b;
            Edited(a, file, N, first);
            Edited(b, file, secondSection, second);
            const std::string path = file.toStdString();
            const Child one = Fork([&] { return !zevko::SaveCatalog(a, path, N, '.'); });
            const Child two = Fork([&] { return !zevko::SaveCatalog(b, path, secondSection, '.'); });
            QVERIFY(one.pid > 0 && two.pid > 0);
            Start(one);
            Start(two);
            QCOMPARE(Wait(one), 0);
            QCOMPARE(Wait(two), 0);
            if (sameSection) {
                const std::vector<double> wires = Loaded(file, N);
                QVERIFY2(wires == (std::vector<double>{0.577, first}) || wires == (std::vector<double>{0.577, second}),
                         qPrintable(QStringLiteral("round %1").arg(round)));
                QCOMPARE(Loaded(file, S), std::vector<double>{1.5});
            } else {
                QCOMPARE(Loaded(file, N), (std::vector<double>{0.577, first}));
                QCOMPARE(Loaded(file, S), (std::vector<double>{1.5, second}));
            }
            QCOMPARE(Listing(dir_->path()), QStringList{"DEZADIRE.INI"});
        }
    }

    // Another instance holds the lock: the save waits, then says so and
    // leaves the file as it was. The holder dies (a crash): its lock goes
    // with it and the next save goes through, leaving no lock file.
    void lockHeldByAnotherInstance()
    {
        const QString file = Path();
        const QByteArray before = "[DIAM_N]\nCOUNT=1\nD1=0.577\n";
        QVERIFY(WriteFile(file, before));
        ProbeCatalog wires;
        Edited(wires, file, N, 2.0);

        int locked[2];
        QCOMPARE(::pipe(locked), 0);
        const std::string lockPath = zevko::LockFilePath(file.toStdString());
        const Child holder = Fork([&] {
            zevko::FileLock lock;
            if (lock.Acquire(lockPath, std::chrono::milliseconds(0)) != zevko::FileLock::Outcome::Held)
                return false;
            const char c = 'l';
            (void)::write(locked[1], &c, 1);
            ::pause(); // until killed, lock held
            return true;
        });
        QVERIFY(holder.pid > 0);
        Start(holder);
        char c = 0;
        QCOMPARE(::read(locked[0], &c, 1), ssize_t{1});

        const auto refused = zevko::SaveCatalog(wires, file.toStdString(), N, '.', std::chrono::milliseconds(300));
        QVERIFY(refused);
        QCOMPARE(refused->Fault, CatalogFileFault::Locked);
        QCOMPARE(QString::fromStdString(refused->Text()),
                 "The catalog file " + file + " is locked by another instance of the program");
        QCOMPARE(ReadFile(file), before);
        QVERIFY(wires.Changed());

        ::kill(holder.pid, SIGKILL);
        QCOMPARE(Wait(holder), 128 + SIGKILL);
        ::close(locked[0]);
        ::close(locked[1]);
        QVERIFY(QFileInfo::exists(QString::fromStdString(lockPath))); // left by the crash
        QVERIFY(!zevko::SaveCatalog(wires, file.toStdString(), N, '.', std::chrono::milliseconds(300)));
        QCOMPARE(Loaded(file, N), (std::vector<double>{0.577, 2.0}));
        QCOMPARE(Listing(dir_->path()), QStringList{"DEZADIRE.INI"});
    }

    // Temporary files of saves killed mid-way go at the next save; files of
    // other names, and a link of the same name, stay.
    void leftoverTemporaryFilesRemoved()
    {
        const QString file = Path();
        QVERIFY(WriteFile(file, "[DIAM_N]\nCOUNT=0\n"));
        for (const char* name : {".DEZADIRE.INI.tmp-4242-0", ".DEZADIRE.INI.tmp-1-17"})
            QVERIFY(WriteFile(Path(QString::fromLatin1(name)), "[DIAM_N]\nCOUNT=1\nD1=half"));
        const QStringList kept = {".DEZADIRE.INI.tmp-", ".DEZADIRE.INI.tmp-12", ".DEZADIRE.INI.tmp-1-2x",
                                  ".OTHER.INI.tmp-1-2", "DEZADIRE.INI.tmp-1-2", "notes.txt"};
        for (const QString& name : kept)
            QVERIFY(WriteFile(Path(name), "theirs"));
        QCOMPARE(::symlink("notes.txt", Path(".DEZADIRE.INI.tmp-9-9").toLocal8Bit().constData()), 0);

        ProbeCatalog wires;
        Edited(wires, file, N, 1.0);
        QVERIFY(!zevko::SaveCatalog(wires, file.toStdString(), N, '.'));
        QStringList expected = kept;
        expected << ".DEZADIRE.INI.tmp-9-9"
                 << "DEZADIRE.INI";
        expected.sort();
        QCOMPARE(Listing(dir_->path()), expected);
        QCOMPARE(ReadFile(Path("notes.txt")), QByteArray("theirs"));
        QCOMPARE(Loaded(file, N), std::vector<double>{1.0});
    }

    // A symbolic link whose target is not there: the save makes the target
    // and the link stays a link. A target in a missing directory is refused.
    void danglingSymbolicLink_data()
    {
        QTest::addColumn<QStringList>("links"); // each links to the next; the last to the target
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("written");
        QTest::newRow("relative") << QStringList{"DEZADIRE.INI"} << "catalogs.ini" << true;
        QTest::newRow("chain of two") << QStringList{"DEZADIRE.INI", "second.lnk"} << "sub/catalogs.ini" << true;
        QTest::newRow("absolute") << QStringList{"DEZADIRE.INI"} << "<absolute>" << true;
        QTest::newRow("missing directory") << QStringList{"DEZADIRE.INI"} << "gone/catalogs.ini" << false;
    }

    void danglingSymbolicLink()
    {
        QFETCH(QStringList, links);
        QFETCH(QString, target);
        QFETCH(bool, written);
        QVERIFY(QDir(dir_->path()).mkpath("sub"));
        if (target == "<absolute>")
            target = Path("abs.ini");
        for (int i = 0; i < links.size(); ++i) {
            const QString to = i + 1 < links.size() ? links[i + 1] : target;
            QCOMPARE(::symlink(to.toLocal8Bit().constData(), Path(links[i]).toLocal8Bit().constData()), 0);
        }
        const QString file = Path();
        const QString targetPath = QFileInfo(target).isAbsolute() ? target : Path(target);
        ProbeCatalog wires;
        QVERIFY(!zevko::LoadCatalog(wires, file.toStdString(), N, '.')); // a file not there yet
        Edited(wires, file, N, 1.0);
        const auto error = zevko::SaveCatalog(wires, file.toStdString(), N, '.');
        QCOMPARE(QFileInfo(file).isSymLink(), true);
        if (written) {
            QVERIFY(!error);
            QCOMPARE(ReadFile(targetPath), QByteArray("[DIAM_N]\nCOUNT=1\nD1=1\n"));
            QCOMPARE(Loaded(file, N), std::vector<double>{1.0});
        } else {
            QVERIFY(error);
            QCOMPARE(QString::fromStdString(error->Text()), "Unable to write to " + file);
            QVERIFY(!QFileInfo::exists(targetPath));
        }
    }

    // A file with a UTF-16 byte-order mark is read in its encoding and
    // written back in it: a changed value, a new key and a new section, all
    // in UTF-16, and every other character as it was (Cyrillic, a character
    // beyond the BMP, a surrogate without its partner).
    void utf16FileKeepsItsEncoding_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("UTF-16 LE") << false;
        QTest::newRow("UTF-16 BE") << true;
    }

    void utf16FileKeepsItsEncoding()
    {
        QFETCH(bool, bigEndian);
        const QString other =
            QStringLiteral("[Owner]\r\nName=Лаб 3 ") + QString::fromUcs4(U"\U0001D5D4") + QChar(0xDC00) + "\r\n";
        const QString before = "; каталог\r\n[DIAM_N]\r\nCOUNT=2\r\nD1=0,577\r\nD2=0.866\r\n" + other;
        QVERIFY(WriteFile(Path(), Utf16(before, bigEndian)));
        const std::string path = Path().toStdString();

        ProbeCatalog wires;
        QVERIFY(!zevko::LoadCatalog(wires, path, N, '.'));
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866}));
        ProbeCatalog balls;
        QVERIFY(!zevko::LoadCatalog(balls, path, S, '.'));
        QCOMPARE(balls.Count(), std::size_t{0});

        wires.AppendLoaded(1.155);
        wires.SetChanged(true);
        balls.AppendLoaded(2.0);
        balls.SetChanged(true);
        QVERIFY(!zevko::SaveCatalog(wires, path, N, '.'));
        QVERIFY(!zevko::SaveCatalog(balls, path, S, '.'));
        const QString after = "; каталог\r\n[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n" + other +
                              "\r\n[DIAM_S]\r\nCOUNT=1\r\nD1=2\r\n";
        QCOMPARE(ReadFile(Path()), Utf16(after, bigEndian));
        QCOMPARE(Loaded(Path(), N), (std::vector<double>{0.577, 0.866, 1.155}));
        QCOMPARE(Loaded(Path(), S), std::vector<double>{2.0});
    }

    // Encodings that cannot be written back unchanged: refused on loading
    // with a message, and never written into.
    void unknownEncodingIsNeverWritten_data()
    {
        QTest::addColumn<QByteArray>("before");
        const QByteArray section = "[DIAM_N]\r\nCOUNT=1\r\nD1=1\r\n";
        QByteArray utf32("\xFF\xFE\0\0", 4);
        for (const char c : section)
            utf32 += QByteArray(1, c) + QByteArray(3, '\0');
        QTest::newRow("UTF-32 LE") << utf32;
        QTest::newRow("UTF-16 of an odd length") << Utf16(QString::fromLatin1(section), false) + 'x';
        QByteArray bare;
        for (const char c : section)
            bare += QByteArray(1, c) + QByteArray(1, '\0');
        QTest::newRow("UTF-16 without byte-order mark") << bare;
        QTest::newRow("8-bit with a NUL") << QByteArray("; x\0y\r\n", 7) + section;
    }

    void unknownEncodingIsNeverWritten()
    {
        QFETCH(QByteArray, before);
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog wires;
        const auto loaded = zevko::LoadCatalog(wires, path, N, '.');
        QVERIFY(loaded);
        QCOMPARE(loaded->Fault, CatalogFileFault::UnknownEncoding);
        QCOMPARE(QString::fromStdString(loaded->Text()),
                 "The catalog file " + Path() +
                     " has an encoding that cannot be read or written; it is left unchanged");
        QCOMPARE(wires.Count(), std::size_t{0});
        QVERIFY(!wires.Changed());

        wires.AppendLoaded(2.0);
        wires.SetChanged(true);
        const auto saved = zevko::SaveCatalog(wires, path, N, '.');
        QVERIFY(saved);
        QCOMPARE(saved->Fault, CatalogFileFault::UnknownEncoding);
        QCOMPARE(ReadFile(Path()), before);
        QCOMPARE(Listing(dir_->path()), QStringList{"DEZADIRE.INI"});
    }
};

QTEST_APPLESS_MAIN(TestCatalogFileSharing)
#include "TestCatalogFileSharing.moc"
