#include "FileLock.h"

#include <thread>

#ifdef _WIN32
#include <filesystem>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zevko {

namespace {

// Short enough that a waiter follows soon after the holder is done, long
// enough to cost nothing while it waits.
constexpr std::chrono::milliseconds PollInterval{10};

} // namespace

std::string LockFilePath(const std::string& path)
{
    return path + ".lock";
}

FileLock::~FileLock()
{
    Release();
}

#ifdef _WIN32

namespace {

HANDLE OpenLockFile(const std::string& lockPath)
{
    const std::wstring wide = std::filesystem::u8path(lockPath).wstring();
    return ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool TryLock(HANDLE file)
{
    OVERLAPPED at{};
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

} // namespace

FileLock::Outcome FileLock::Acquire(const std::string& lockPath, std::chrono::milliseconds wait)
{
    Release();
    // The lock file stays: Windows cannot remove a file another process has open.
    const HANDLE file = OpenLockFile(lockPath);
    if (file == INVALID_HANDLE_VALUE)
        return Outcome::Failed;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (TryLock(file)) {
            handle_ = reinterpret_cast<std::intptr_t>(file);
            path_ = lockPath;
            return Outcome::Held;
        }
        if (::GetLastError() != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) {
            const bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
            ::CloseHandle(file);
            return busy ? Outcome::Busy : Outcome::Failed;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

void FileLock::Release()
{
    if (handle_ == Invalid)
        return;
    const HANDLE file = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at{};
    ::UnlockFileEx(file, 0, 1, 0, &at);
    ::CloseHandle(file);
    handle_ = Invalid;
    path_.clear();
}

#else

namespace {

// The lock file, made if it is not there; read-only where the user may not
// write it (flock needs no write access). -1 when it cannot be opened.
int OpenLockFile(const std::string& lockPath)
{
    // 0666 lets the umask decide, as for any new file of the user; a link in
    // the lock file's place is not followed.
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno == EACCES)
        fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd;
}

// Whether `fd` is still the file at `lockPath`: not removed or replaced by a
// holder that let go while we waited.
bool StillThere(int fd, const std::string& lockPath)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(lockPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

FileLock::Outcome FileLock::Acquire(const std::string& lockPath, std::chrono::milliseconds wait)
{
    Release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = OpenLockFile(lockPath);
        if (fd < 0)
            return Outcome::Failed;
        bool busy = false;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
                busy = errno == EWOULDBLOCK;
                ::close(fd);
                return busy ? Outcome::Busy : Outcome::Failed;
            }
            std::this_thread::sleep_for(PollInterval);
        }
        if (StillThere(fd, lockPath)) {
            handle_ = fd;
            path_ = lockPath;
            return Outcome::Held;
        }
        // The holder removed the file as we got its lock: lock the new one.
        ::close(fd);
        if (std::chrono::steady_clock::now() >= deadline)
            return Outcome::Busy;
    }
}

void FileLock::Release()
{
    if (handle_ == Invalid)
        return;
    const int fd = static_cast<int>(handle_);
    // Removed while still held, so that nobody locks it in between; a
    // directory that refuses the removal leaves it, which stops nobody.
    ::unlink(path_.c_str());
    ::close(fd);
    handle_ = Invalid;
    path_.clear();
}

#endif

} // namespace zevko
