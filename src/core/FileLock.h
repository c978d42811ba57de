#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace zevko {

// An exclusive lock between processes, held on a lock file of its own (the
// protected file's name with ".lock" added). The lock is the operating
// system's (flock on POSIX, LockFileEx on Windows), so it dies with the
// process that held it: a lock file a crash left behind stops nobody.
//
// On POSIX the holder removes the lock file when it lets go; a waiter that
// then holds the lock of a removed file notices it and locks the new one.
class FileLock {
public:
    enum class Outcome {
        Held,   // the lock is ours until Release or destruction
        Busy,   // another process held it for all of `wait`
        Failed, // no lock file can be made there (the directory refuses, is missing, ...)
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Tries for the lock on `lockPath`, again and again for up to `wait`.
    Outcome Acquire(const std::string& lockPath, std::chrono::milliseconds wait);
    void Release();
    bool Held() const { return handle_ != Invalid; }

private:
    static constexpr std::intptr_t Invalid = -1;
    std::intptr_t handle_ = Invalid;
    std::string path_;
};

// The lock file that guards the file `path`.
std::string LockFilePath(const std::string& path);

} // namespace zevko
