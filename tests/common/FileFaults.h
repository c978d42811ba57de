#pragma once

// Faults of the disk for tests of code that reads and writes files: a file or
// directory that refuses writes, a read-only file system, a full disk.
//
// The tests run as root in CI, where permission bits stop nothing: read-only
// is then made with a read-only bind mount or the immutable attribute, which
// refuse root too. Mounts are made in a mount namespace of this process only,
// so none outlives a crashed test.
//
// Use, in a QtTest class:
//   zevkotest::FileFaults faults_;
//   void initTestCase() { faults_.EnterMountNamespace(); }
//   void cleanup()      { faults_.UndoAll(); }   // before the directory goes
//   ... in a test:
//   const QString why = faults_.MakeReadOnly(file);
//   if (!why.isEmpty()) QSKIP(qPrintable(why));
// UndoFaults() takes the faults back, last first, and keeps the tmpfs mounts
// (to show that the same save goes through once the fault is gone); UndoAll()
// then removes the mounts too. A fault that cannot be made here says why (a text to skip with)
// or returns false / an empty path.

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zevkotest {

// Sets or clears the immutable attribute of `path`; false when the file
// system or the caller's rights do not allow it.
inline bool SetImmutable(const QString& path, bool on)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

class FileFaults {
public:
    FileFaults() = default;
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;
    ~FileFaults() { UndoAll(); }

    // Moves this process into a mount namespace of its own (once, in
    // initTestCase). Only root or a holder of CAP_SYS_ADMIN gets one; without
    // it the faults that need mounts are not available.
    void EnterMountNamespace()
    {
        canMount_ = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

    bool CanMount() const { return canMount_; }

    // Adds a step that UndoFaults() runs (before the steps added earlier).
    void OnUndo(std::function<void()> step) { undo_.push_back(std::move(step)); }

    // Undoes every fault, last first; the tmpfs mounts stay.
    void UndoFaults()
    {
        while (!undo_.empty()) {
            const auto step = std::move(undo_.back());
            undo_.pop_back();
            step();
        }
    }

    // Undoes every fault, then removes the tmpfs mounts.
    void UndoAll()
    {
        UndoFaults();
        for (auto at = mounts_.rbegin(); at != mounts_.rend(); ++at)
            ::umount2(Native(*at).constData(), MNT_DETACH);
        mounts_.clear();
    }

    // A tmpfs of `kib` KiB at the directory `at` (created); `at`, or an empty
    // text when mounts are not possible here.
    QString MountTmpfs(const QString& at, int kib)
    {
        if (!canMount_)
            return {};
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
        if (!QDir().mkpath(at) || ::mount("tmpfs", Native(at).constData(), "tmpfs", 0, options.constData()) != 0)
            return {};
        mounts_.push_back(at);
        return at;
    }

    // Remounts the tmpfs at `at` read-only until UndoFaults(); false when it cannot.
    bool RemountReadOnly(const QString& at)
    {
        if (::mount(nullptr, Native(at).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return false;
        OnUndo([at] { ::mount(nullptr, Native(at).constData(), nullptr, MS_REMOUNT, nullptr); });
        return true;
    }

    // Makes `path` (a file or a directory) refuse writes, to root as well.
    // Returns why it could not, or an empty text.
    QString MakeReadOnly(const QString& path)
    {
        struct stat st {};
        if (::stat(Native(path).constData(), &st) != 0)
            return QStringLiteral("cannot stat ") + path;
        const mode_t mode = st.st_mode & 07777;
        if (::chmod(Native(path).constData(), mode & ~mode_t{0222}) != 0)
            return QStringLiteral("cannot chmod ") + path;
        OnUndo([path, mode] { ::chmod(Native(path).constData(), mode); });
        if (::geteuid() != 0)
            return {};
        // A read-only bind mount of the path itself dies with the process; an
        // immutable file left by a crash would resist even root's rm -rf.
        if (canMount_ && ::mount(Native(path).constData(), Native(path).constData(), nullptr, MS_BIND, nullptr) == 0) {
            OnUndo([path] { ::umount2(Native(path).constData(), MNT_DETACH); });
            if (::mount(nullptr, Native(path).constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0)
                return {};
        }
        if (SetImmutable(path, true)) {
            OnUndo([path] { SetImmutable(path, false); });
            return {};
        }
        return QStringLiteral("running as root where neither the immutable attribute nor a read-only mount is "
                              "available: nothing here refuses root a write");
    }

    // Keeps `file` writable in a directory made read-only, so that only the
    // directory refuses: a rewritable bind mount of the file over itself.
    bool KeepWritable(const QString& file)
    {
        if (::access(Native(file).constData(), W_OK) == 0)
            return true;
        if (!canMount_ || ::mount(Native(file).constData(), Native(file).constData(), nullptr, MS_BIND, nullptr) != 0)
            return false;
        OnUndo([file] { ::umount2(Native(file).constData(), MNT_DETACH); });
        return ::mount(nullptr, Native(file).constData(), nullptr, MS_REMOUNT | MS_BIND, nullptr) == 0 &&
               ::access(Native(file).constData(), W_OK) == 0;
    }

    // Fills every block left on the file system of `directory` with the file
    // `directory`/filler (removed by UndoFaults()). Returns why it could not, or an
    // empty text.
    QString FillDisk(const QString& directory)
    {
        const QString filler = directory + QStringLiteral("/filler");
        const int fd = ::open(Native(filler).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return QStringLiteral("cannot create the filler");
        OnUndo([filler] { QFile::remove(filler); });
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), static_cast<std::size_t>(block.size())) > 0) {}
        ::close(fd);
        return {};
    }

private:
    // Undo steps of the faults set up by the running test, last first.
    std::vector<std::function<void()>> undo_;
    // Tmpfs mounts of the running test, removed after its faults are undone.
    std::vector<QString> mounts_;
    bool canMount_ = false;
};

} // namespace zevkotest
