// The catalog file under faults of the disk and of its own text: refused
// writes, things that are no file, odd line endings, a byte-order mark and
// very large files. Each ends with a clear message or a correct load, and the
// file keeps every byte the user did not change.

#include "CatalogFile.h"
#include "FileFaults.h"
#include "NumberFormat.h"
#include "ProbeCatalog.h"
#include "TestFiles.h"

#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using zevko::CatalogField;
using zevko::ProbeCatalog;
using zevkotest::Listing;
using zevkotest::Native;
using zevkotest::ReadFile;
using zevkotest::WriteFile;

namespace {

const std::string N{zevko::WireCatalogSection};
const std::string S{zevko::BallCatalogSection};

QString Message(const std::optional<zevko::CatalogFileError>& m)
{
    return m ? QString::fromStdString(m->Text()) : QString();
}

std::vector<double> Mm(const ProbeCatalog& c)
{
    std::vector<double> v;
    for (const auto& e : c.Entries())
        v.push_back(e.DIAMm);
    return v;
}

void AddWire(ProbeCatalog& c, double mm)
{
    c.Append();
    QVERIFY(c.SetField(CatalogField::DIAMm, mm));
    QVERIFY(c.Post(CatalogField::DIAMm));
}

// A catalog file as users keep it: a comment, another program's section
// with text that is not ASCII, the wires and the balls.

const QList<QByteArray> WiresFirst = {"[DIAM_N]", "COUNT=3",
                                      "D1=0.577", "D2=0.866",
                                      "D3=1.155", "",
                                      "[Owner]",  "Name=\xD0\x9B\xD0\xB0\xD0\xB1 3",
                                      "",         "; balls in stock",
                                      "[DIAM_S]", "COUNT=2",
                                      "D1=1.5",   "D2=2"};
const QList<QByteArray> WiresLast = {"; catalog of lab 3",
                                     "[Owner]",
                                     "Name=\xD0\x9B\xD0\xB0\xD0\xB1 3",
                                     "",
                                     "[DIAM_S]",
                                     "COUNT=2",
                                     "D1=1.5",
                                     "D2=2",
                                     "",
                                     "[DIAM_N]",
                                     "COUNT=3",
                                     "D1=0.577",
                                     "D2=0.866",
                                     "D3=1.155"};

// The lines joined with the endings `ending(i)` gives for line i; the last
// line unterminated when asked.
QByteArray Join(const QList<QByteArray>& lines, const std::function<QByteArray(int)>& ending, bool lastTerminated)
{
    QByteArray text;
    for (int i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || lastTerminated)
            text += ending(i);
    }
    return text;
}

// `before` with the wire section grown by the wire 2 mm: COUNT=4 and the line
// D4=2 after D3, ended with `ending`; nothing else differs.
QByteArray WithFourthWire(const QByteArray& before, const QByteArray& ending)
{
    QByteArray after = before;
    const qsizetype count = after.indexOf("COUNT=3");
    if (count < 0 || after.indexOf("[DIAM_N]") > count)
        return "<no wire COUNT>";
    after.replace(count, 7, "COUNT=4");
    qsizetype end = after.indexOf("D3=1.155") + 8;
    if (end == after.size()) {
        after += ending; // an unterminated last line gets its line break first
        end = after.size();
    } else {
        end += after.mid(end, 2) == "\r\n" ? 2 : 1;
    }
    after.insert(end, "D4=2" + ending);
    return after;
}

} // namespace

class TestCatalogFileFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    zevkotest::FileFaults faults_;

    QString Path(const QString& name = QStringLiteral("DEZADIRE.INI")) const { return dir_->filePath(name); }

private slots:
    void initTestCase() { faults_.EnterMountNamespace(); }

    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void cleanup()
    {
        faults_.UndoAll();
        dir_.reset();
    }

    // A save the disk refuses: the message names the file, the file keeps
    // every byte, no temporary file is left, the catalog keeps the change and
    // the other catalog still loads. Once the fault is gone, the same save
    // goes through.
    void refusedSave_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("read-only file") << "read-only file";
        QTest::newRow("read-only directory") << "read-only directory";
        QTest::newRow("read-only file system") << "read-only file system";
        QTest::newRow("full disk") << "full disk";
        QTest::newRow("directory gone") << "directory gone";
    }

    void refusedSave()
    {
        QFETCH(QString, fault);

        QString directory = dir_->path();
        if (fault == "read-only file system" || fault == "full disk") {
            directory = faults_.MountTmpfs(Path(QStringLiteral("disk")), 64);
            if (directory.isEmpty())
                QSKIP("needs a tmpfs mount in a private mount namespace (root or CAP_SYS_ADMIN)");
        }
        const QString file = directory + "/DEZADIRE.INI";
        const std::string path = file.toStdString();
        const QByteArray before = Join(
            WiresLast, [](int) { return QByteArray("\n"); }, true);
        QVERIFY(WriteFile(file, before));

        ProbeCatalog wires;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        AddWire(wires, 2.0);

        QByteArray filler;
        if (fault == "read-only file") {
            const QString why = faults_.MakeReadOnly(file);
            if (!why.isEmpty())
                QSKIP(qPrintable(why));
        } else if (fault == "read-only directory") {
            const QString why = faults_.MakeReadOnly(directory);
            if (!why.isEmpty())
                QSKIP(qPrintable(why));
            QVERIFY(faults_.KeepWritable(file));
        } else if (fault == "read-only file system") {
            QVERIFY(faults_.RemountReadOnly(directory));
        } else if (fault == "full disk") {
            QCOMPARE(faults_.FillDisk(directory), QString());
            filler = ReadFile(directory + "/filler");
        } else {
            // The file was moved away with its directory (an unplugged disk).
            QVERIFY(QDir(directory).rename(directory, directory + "-moved"));
            faults_.OnUndo([directory] { QDir().rename(directory + "-moved", directory); });
        }
        const QStringList listing = Listing(directory);

        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), "Unable to write to " + file);
        QVERIFY(wires.Changed());
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866, 1.155, 2.0}));
        QCOMPARE(Listing(directory), listing);
        if (fault == "directory gone") {
            QVERIFY(!QFileInfo::exists(directory));
            QCOMPARE(ReadFile(directory + "-moved/DEZADIRE.INI"), before);
            // The next start finds no file: empty catalogs, no message.
            ProbeCatalog balls;
            QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
            QCOMPARE(balls.Count(), std::size_t{0});
        } else {
            QCOMPARE(ReadFile(file), before);
            if (fault == "full disk")
                QCOMPARE(ReadFile(directory + "/filler"), filler);
            ProbeCatalog balls;
            QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
            QCOMPARE(Mm(balls), (std::vector<double>{1.5, 2.0}));
        }

        faults_.UndoFaults();
        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), QString());
        QCOMPARE(ReadFile(file), WithFourthWire(before, "\n"));
        ProbeCatalog back;
        QCOMPARE(Message(zevko::LoadCatalog(back, path, N, '.')), QString());
        QCOMPARE(Mm(back), (std::vector<double>{0.577, 0.866, 1.155, 2.0}));
        QCOMPARE(Listing(directory), QStringList{"DEZADIRE.INI"});
    }

    // A read-only file still loads.
    void readOnlyFileLoads()
    {
        const QByteArray before = Join(
            WiresFirst, [](int) { return QByteArray("\r\n"); }, true);
        QVERIFY(WriteFile(Path(), before));
        const QString why = faults_.MakeReadOnly(Path());
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        ProbeCatalog wires;
        QCOMPARE(Message(zevko::LoadCatalog(wires, Path().toStdString(), N, ',')), QString());
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866, 1.155}));
        // Unchanged: nothing is written, so nothing is refused.
        QCOMPARE(Message(zevko::SaveCatalog(wires, Path().toStdString(), N, ',')), QString());
    }

    // Something in the file's place that is not a file: reading it must
    // neither block nor read a device, writing must not replace it.
    void notAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("socket") << "socket";
        QTest::newRow("link to /dev/full") << "full";
        QTest::newRow("link to /dev/zero") << "zero";
        QTest::newRow("link to itself") << "loop";
    }

    void notAFile()
    {
        QFETCH(QString, kind);
        const QString file = Path();
        const QByteArray native = Native(file);
        int socketFd = -1;
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        } else if (kind == "socket") {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            QVERIFY(socketFd >= 0);
            faults_.OnUndo([socketFd] { ::close(socketFd); });
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            if (native.size() >= static_cast<qsizetype>(sizeof address.sun_path))
                QSKIP("temporary directory path too long for a socket");
            std::copy(native.begin(), native.end(), address.sun_path);
            QCOMPARE(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        } else if (kind == "loop") {
            QCOMPARE(::symlink("DEZADIRE.INI", native.constData()), 0);
        } else {
            const QByteArray device = "/dev/" + kind.toLatin1();
            if (!QFileInfo::exists(QString::fromLatin1(device)))
                QSKIP("no such device here");
            QCOMPARE(::symlink(device.constData(), native.constData()), 0);
        }
        struct stat st {};
        QCOMPARE(::lstat(native.constData(), &st), 0);
        const mode_t type = st.st_mode & S_IFMT;

        const std::string path = file.toStdString();
        ProbeCatalog wires;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), "Unable to read " + file);
        QVERIFY(wires.IsOpen());
        QCOMPARE(wires.Count(), std::size_t{0});

        AddWire(wires, 1.0);
        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), "Unable to write to " + file);
        QVERIFY(wires.Changed());
        QCOMPARE(::lstat(native.constData(), &st), 0);
        QCOMPARE(st.st_mode & S_IFMT, type);
        QCOMPARE(Listing(dir_->path()), QStringList{"DEZADIRE.INI"});
    }

    // Line endings of every kind and a UTF-8 byte-order mark: both catalogs
    // load, and a save changes the wire values only; a new line takes the
    // file's own line break.
    void lineEndingsAndByteOrderMark_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("newLine"); // empty: any of the file's

        const auto lf = [](int) { return QByteArray("\n"); };
        const auto crlf = [](int) { return QByteArray("\r\n"); };
        const auto cr = [](int) { return QByteArray("\r"); };
        // No CR is followed by an empty line ended by LF, which would read
        // as one CRLF.
        const auto mixed = [](int i) { return QList<QByteArray>{"\r\n", "\n", "\r"}[i % 3]; };
        const QByteArray bom = "\xEF\xBB\xBF";

        QTest::newRow("LF") << Join(WiresFirst, lf, true) << QByteArray("\n");
        QTest::newRow("CRLF") << Join(WiresFirst, crlf, true) << QByteArray("\r\n");
        QTest::newRow("CR only") << Join(WiresFirst, cr, true) << QByteArray("\r");
        QTest::newRow("mixed") << Join(WiresFirst, mixed, true) << QByteArray();
        QTest::newRow("mixed, wires last") << Join(WiresLast, mixed, true) << QByteArray();
        QTest::newRow("CR only, wires last, no final line break") << Join(WiresLast, cr, false) << QByteArray("\r");
        QTest::newRow("CRLF, wires last, no final line break") << Join(WiresLast, crlf, false) << QByteArray("\r\n");
        QTest::newRow("BOM before the wire section, LF") << bom + Join(WiresFirst, lf, true) << QByteArray("\n");
        QTest::newRow("BOM before the wire section, CR only") << bom + Join(WiresFirst, cr, true) << QByteArray("\r");
        QTest::newRow("BOM before a comment, CRLF") << bom + Join(WiresLast, crlf, true) << QByteArray("\r\n");
    }

    void lineEndingsAndByteOrderMark()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, newLine);
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();

        ProbeCatalog wires;
        ProbeCatalog balls;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
        QCOMPARE(Mm(wires), (std::vector<double>{0.577, 0.866, 1.155}));
        QCOMPARE(Mm(balls), (std::vector<double>{1.5, 2.0}));

        AddWire(wires, 2.0);
        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Message(zevko::SaveCatalog(balls, path, S, '.')), QString());
        const QByteArray after = ReadFile(Path());
        if (newLine.isEmpty()) {
            const QList<QByteArray> any = {"\r\n", "\n", "\r"};
            QVERIFY2(std::any_of(any.begin(), any.end(),
                                 [&](const QByteArray& e) { return after == WithFourthWire(before, e); }),
                     after.toPercentEncoding(" =[];").constData());
        } else {
            QCOMPARE(after, WithFourthWire(before, newLine));
        }

        ProbeCatalog back;
        QCOMPARE(Message(zevko::LoadCatalog(back, path, N, '.')), QString());
        QCOMPARE(Mm(back), (std::vector<double>{0.577, 0.866, 1.155, 2.0}));
        QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
        QCOMPARE(Mm(balls), (std::vector<double>{1.5, 2.0}));
    }

    // A file with nothing of the catalogs in it gets the section added after
    // what is there.
    void sectionAddedToAFileWithoutIt_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty") << QByteArray() << QByteArray("[DIAM_N]\nCOUNT=1\nD1=2\n");
        QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << QByteArray("\xEF\xBB\xBF[DIAM_N]\nCOUNT=1\nD1=2\n");
        QTest::newRow("blank CR lines") << QByteArray("\r\r") << QByteArray("\r\r[DIAM_N]\rCOUNT=1\rD1=2\r");
        QTest::newRow("comment without line break, BOM")
            << QByteArray("\xEF\xBB\xBF; x") << QByteArray("\xEF\xBB\xBF; x\n\n[DIAM_N]\nCOUNT=1\nD1=2\n");
    }

    void sectionAddedToAFileWithoutIt()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();
        ProbeCatalog wires;
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        QCOMPARE(wires.Count(), std::size_t{0});
        AddWire(wires, 2.0);
        QCOMPARE(Message(zevko::SaveCatalog(wires, path, N, '.')), QString());
        QCOMPARE(ReadFile(Path()), after);
        QCOMPARE(Message(zevko::LoadCatalog(wires, path, N, '.')), QString());
        QCOMPARE(Mm(wires), std::vector<double>{2.0});
    }

    // Large files: ten megabytes of other text, and a catalog of 100,000
    // entries. The user deletes the smallest wire; the file then holds one
    // entry fewer and every other byte as before.
    void largeFiles_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("wires");

        const QByteArray balls = "[DIAM_S]\r\nCOUNT=2\r\nD1=1.5\r\nD2=2\r\n";
        {
            QByteArray text = "[Notes]\r\n";
            for (int i = 0; text.size() < 10 * 1024 * 1024; ++i)
                text += "Line" + QByteArray::number(i) + "=measured on bench " + QByteArray::number(i % 7) +
                        ", wire set " + QByteArray::number(i % 13) + "\r\n";
            text += "[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n" + balls;
            QTest::newRow("10 MB in many lines") << text << 3;
        }
        {
            QByteArray text = "; " + QByteArray(10 * 1024 * 1024, 'n') + "\r\n";
            text += "[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n" + balls;
            QTest::newRow("10 MB in one line") << text << 3;
        }
        {
            // Written largest first: the load sorts them.
            constexpr int Count = 100000;
            QByteArray text = balls + "[DIAM_N]\r\nCOUNT=" + QByteArray::number(Count) + "\r\n";
            for (int k = 1; k <= Count; ++k)
                text +=
                    "D" + QByteArray::number(k) + "=" + QByteArray::number((Count + 1 - k) * 0.001, 'f', 3) + "\r\n";
            text += "[Tail]\r\nkept=yes\r\n";
            QTest::newRow("100,000 entries") << text << Count;
        }
    }

    void largeFiles()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, wires);
        QVERIFY(WriteFile(Path(), before));
        const std::string path = Path().toStdString();

        ProbeCatalog c;
        QCOMPARE(Message(zevko::LoadCatalog(c, path, N, '.')), QString());
        QCOMPARE(c.Count(), static_cast<std::size_t>(wires));
        const std::vector<double> loaded = Mm(c);
        QVERIFY(std::is_sorted(loaded.begin(), loaded.end()));
        ProbeCatalog balls;
        QCOMPARE(Message(zevko::LoadCatalog(balls, path, S, '.')), QString());
        QCOMPARE(Mm(balls), (std::vector<double>{1.5, 2.0}));

        c.First();
        QVERIFY(c.Delete());
        QCOMPARE(Message(zevko::SaveCatalog(c, path, N, '.')), QString());

        ProbeCatalog back;
        QCOMPARE(Message(zevko::LoadCatalog(back, path, N, '.')), QString());
        QCOMPARE(back.Count(), static_cast<std::size_t>(wires - 1));
        QCOMPARE(Mm(back), std::vector<double>(loaded.begin() + 1, loaded.end()));

        // Outside the wire section's values not a byte has changed: the
        // section now lists the entries ascending, the last one stays unread.
        const QByteArray after = ReadFile(Path());
        const qsizetype sectionAt = before.indexOf("[DIAM_N]");
        QCOMPARE(after.left(sectionAt), before.left(sectionAt));
        QByteArray section = "[DIAM_N]\r\nCOUNT=" + QByteArray::number(wires - 1) + "\r\n";
        for (int k = 1; k < wires; ++k)
            section += "D" + QByteArray::number(k) + "=" +
                       QByteArray::fromStdString(zevko::FormatCatalogNumber(loaded[static_cast<std::size_t>(k)], '.')) +
                       "\r\n";
        const QByteArray staleKey = "D" + QByteArray::number(wires) + "=";
        const qsizetype staleAt = before.indexOf(staleKey, sectionAt);
        QVERIFY(staleAt > sectionAt);
        QCOMPARE(after.mid(sectionAt), section + before.mid(staleAt));
    }
};

QTEST_APPLESS_MAIN(TestCatalogFileFaults)
#include "TestCatalogFileFaults.moc"
