// The window over a catalog file that is broken, huge, or cannot be written:
// at creation, at a unit switch and at close it shows a clear message and
// goes on, and the file keeps every byte the user did not change.

#include "CatalogFile.h"
#include "FileFaults.h"
#include "SrDiamTester.h"
#include "TestFiles.h"
#include "ZStdCtrls.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using srdiamtest::OpenWindow;
using zevkotest::Listing;
using zevkotest::Native;
using zevkotest::ReadFile;
using zevkotest::WriteFile;

namespace {

std::size_t CountInFile(const QString& path, std::string_view section)
{
    zevko::ProbeCatalog c;
    zevko::LoadCatalog(c, path.toStdString(), section, '.');
    return c.Count();
}

void ShowCatalogPage(SrDiamTester& w)
{
    w.ui->pcDaten->setCurrentWidget(w.ui->TabSheet2);
    w.ui->dbgrKatDiam->setFocus();
}

int GridRows(SrDiamTester& w)
{
    return w.ui->dbgrKatDiam->model()->rowCount();
}

// The wires, then a note of the user's own and the balls.
const QByteArray Catalog = "[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n\r\n"
                           "; balls kept in drawer 2\r\n[DIAM_S]\r\nCOUNT=2\r\nD1=1.5\r\nD2=2\r\n";
// The same after the smallest wire was deleted: the stale D3 stays unread.
const QByteArray CatalogWithoutFirstWire = "[DIAM_N]\r\nCOUNT=2\r\nD1=0.866\r\nD2=1.155\r\nD3=1.155\r\n\r\n"
                                           "; balls kept in drawer 2\r\n[DIAM_S]\r\nCOUNT=2\r\nD1=1.5\r\nD2=2\r\n";

} // namespace

class TestSrDiamCatalogFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    zevkotest::FileFaults faults_;

    QString Path(const QString& name = QStringLiteral("DEZADIRE.INI")) const { return dir_->filePath(name); }

    // Sets up `fault` on the catalog file `file` in `directory`; the reason
    // when it cannot be made here.
    QString Inject(const QString& fault, const QString& file, const QString& directory)
    {
        if (fault == "read-only file")
            return faults_.MakeReadOnly(file);
        if (fault == "read-only directory") {
            const QString why = faults_.MakeReadOnly(directory);
            if (!why.isEmpty() || faults_.KeepWritable(file))
                return why;
            return QStringLiteral("cannot keep the file writable in a read-only directory");
        }
        if (fault == "read-only file system") {
            if (!faults_.RemountReadOnly(directory))
                return QStringLiteral("cannot remount read-only");
            return {};
        }
        // Full disk: every block that is left goes to a filler file.
        return faults_.FillDisk(directory);
    }

private slots:
    void initTestCase()
    {
        SetZDecimalSeparator('.');
        faults_.EnterMountNamespace();
    }

    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        SetCatalogFilePathOverride(Path());
    }

    void cleanup()
    {
        faults_.UndoAll();
        SetCatalogFilePathOverride(QString());
        dir_.reset();
    }

    // Something in the file's place that cannot be read: the window opens
    // with empty catalogs and the message, switches units and closes, and the
    // thing in the file's place is left as it was.
    void unreadableAtCreation_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory") << "directory";
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("link to /dev/full") << "full";
    }

    void unreadableAtCreation()
    {
        QFETCH(QString, kind);
        const QByteArray native = Native(Path());
        if (kind == "directory")
            QVERIFY(QDir(dir_->path()).mkdir("DEZADIRE.INI"));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        else
            QCOMPARE(::symlink("/dev/full", native.constData()), 0);
        struct stat st {};
        QCOMPARE(::lstat(native.constData(), &st), 0);
        const mode_t type = st.st_mode & S_IFMT;
        const QString unreadable = "Unable to read " + Path();

        auto w = OpenWindow();
        QTRY_VERIFY(!w->Messages.isEmpty());
        QTest::qWait(20);
        // One text for both catalogs of the one file.
        QStringList shown = w->Messages;
        shown.removeDuplicates();
        QCOMPARE(shown, QStringList{unreadable});
        QCOMPARE(w->mdDiamOut.Count(), std::size_t{0});
        QCOMPARE(w->mdDiamIn.Count(), std::size_t{0});

        // The unit switch reads the file again: the same message, no more.
        w->Messages.clear();
        const zevko::UnitSystem units = w->Units;
        QTest::mouseClick(w->ui->btnMM, Qt::LeftButton);
        QVERIFY(w->Units != units);
        shown = w->Messages;
        shown.removeDuplicates();
        QCOMPARE(shown, QStringList{unreadable});

        // An unchanged catalog is not written: closing asks nothing.
        w->Messages.clear();
        QVERIFY(w->close());
        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(::lstat(native.constData(), &st), 0);
        QCOMPARE(st.st_mode & S_IFMT, type);
        QCOMPARE(Listing(dir_->path()), QStringList{"DEZADIRE.INI"});
    }

    // A file that loads, however it is written: all its entries appear and
    // an unchanged close leaves it alone; after a delete it holds one fewer.
    void loadAtCreation_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("wires");

        QByteArray big = "[DIAM_N]\nCOUNT=100000\n";
        for (int k = 1; k <= 100000; ++k)
            big += "D" + QByteArray::number(k) + "=" + QByteArray::number((100001 - k) * 0.001, 'f', 3) + "\n";
        big += "[DIAM_S]\nCOUNT=2\nD1=1.5\nD2=2\n";
        QTest::newRow("100,000 entries") << big << 100000;

        QByteArray crOnly = Catalog;
        crOnly.replace("\r\n", "\r");
        QTest::newRow("UTF-8 BOM, CR only") << "\xEF\xBB\xBF" + crOnly << 3;
        QByteArray mixed = Catalog;
        mixed.replace("D2=0.866\r\n", "D2=0.866\n").replace("COUNT=2\r\n", "COUNT=2\r");
        QTest::newRow("mixed line endings") << mixed << 3;
    }

    void loadAtCreation()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, wires);
        QVERIFY(WriteFile(Path(), text));

        auto w = OpenWindow();
        QTest::qWait(20);
        QVERIFY(w->Messages.isEmpty());
        QCOMPARE(w->mdDiamOut.Count(), static_cast<std::size_t>(wires));
        QCOMPARE(w->mdDiamIn.Count(), std::size_t{2});
        ShowCatalogPage(*w);
        QCOMPARE(GridRows(*w), wires);
        QVERIFY(w->close());
        QCOMPARE(ReadFile(Path()), text);

        // The user deletes the smallest wire.
        auto again = OpenWindow();
        ShowCatalogPage(*again);
        const double second = again->mdDiamOut.Entries()[1].DIAMm;
        again->mdDiamOut.First();
        QTest::mouseClick(again->ui->btnDel, Qt::LeftButton);
        QCOMPARE(GridRows(*again), wires - 1);
        QVERIFY(again->close());
        QVERIFY(again->Messages.isEmpty());
        QCOMPARE(CountInFile(Path(), zevko::WireCatalogSection), static_cast<std::size_t>(wires - 1));
        QCOMPARE(CountInFile(Path(), zevko::BallCatalogSection), std::size_t{2});
        zevko::ProbeCatalog back;
        zevko::LoadCatalog(back, Path().toStdString(), zevko::WireCatalogSection, '.');
        QCOMPARE(back.Entries().front().DIAMm, second);
    }

    // A write the disk refuses, at the unit switch and then at close: the
    // message names the file, the window goes on with the user's change in
    // memory, and the file stays byte for byte. Retried once the fault is
    // gone, the change reaches the file; declined, the window closes without.
    void refusedSave_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("retry");
        for (const char* fault : {"read-only file", "read-only directory", "read-only file system", "full disk"}) {
            QTest::addRow("%s, close declined", fault) << QString::fromLatin1(fault) << false;
            QTest::addRow("%s, close retried", fault) << QString::fromLatin1(fault) << true;
        }
    }

    void refusedSave()
    {
        QFETCH(QString, fault);
        QFETCH(bool, retry);

        QString directory = dir_->path();
        if (fault == "read-only file system" || fault == "full disk") {
            directory = faults_.MountTmpfs(Path(QStringLiteral("disk")), 64);
            if (directory.isEmpty())
                QSKIP("needs a tmpfs mount in a private mount namespace (root or CAP_SYS_ADMIN)");
        }
        const QString file = directory + "/DEZADIRE.INI";
        SetCatalogFilePathOverride(file);
        QVERIFY(WriteFile(file, Catalog));

        auto w = OpenWindow();
        ShowCatalogPage(*w);
        QCOMPARE(GridRows(*w), 3);
        w->mdDiamOut.First();
        QTest::mouseClick(w->ui->btnDel, Qt::LeftButton);
        QCOMPARE(GridRows(*w), 2);

        const QString why = Inject(fault, file, directory);
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        const QStringList listing = Listing(directory);
        const QString refused = "Unable to write to " + file;

        const zevko::UnitSystem units = w->Units;
        QTest::mouseClick(w->ui->btnMM, Qt::LeftButton);
        QCOMPARE(w->Messages, QStringList{refused});
        QVERIFY(w->Units != units);
        QCOMPARE(ReadFile(file), Catalog);
        QCOMPARE(Listing(directory), listing);
        // The wires keep the deletion, the balls were read back.
        QCOMPARE(GridRows(*w), 2);
        QVERIFY(w->mdDiamOut.Changed());
        QCOMPARE(w->mdDiamIn.Count(), std::size_t{2});

        int asked = 0;
        w->RetrySave = [&](const QString&) {
            ++asked;
            if (!retry)
                return false;
            faults_.UndoFaults();
            return true;
        };
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QCOMPARE(asked, 1);
        QCOMPARE(w->Messages, (QStringList{refused, refused}));
        faults_.UndoFaults();
        QCOMPARE(ReadFile(file), retry ? CatalogWithoutFirstWire : Catalog);
        QCOMPARE(Listing(directory), QStringList{"DEZADIRE.INI"});
    }
};

QTEST_MAIN(TestSrDiamCatalogFaults)
#include "TestSrDiamCatalogFaults.moc"
