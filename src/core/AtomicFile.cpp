#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#include <iterator>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zevko {

namespace fs = std::filesystem;

#ifdef _WIN32

FileText ReadWholeFile(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(fs::u8path(path), ec))
        return {FileText::Status::Missing, {}};
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in)
        return {FileText::Status::Failed, {}};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return {FileText::Status::Failed, {}};
    return {FileText::Status::Ok, std::move(text)};
}

bool WriteWholeFileAtomically(const std::string& path, const std::string& data)
{
    const fs::path target = fs::u8path(path);
    std::error_code ec;
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec))
        return false;
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(data.data(), static_cast<std::streamsize>(data.size())) || !out.flush()) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

#else

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closing reports the last write errors of some file systems.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileText ReadWholeFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a named pipe in the file's place would wait
    // for a writer for ever; regular files read the same either way.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {FileText::Status::Missing, {}};
        return {FileText::Status::Failed, {}};
    }
    struct stat st{};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {FileText::Status::Failed, {}};
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {FileText::Status::Failed, {}};
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return {FileText::Status::Ok, std::move(text)};
}

bool WriteWholeFileAtomically(const std::string& path, const std::string& data)
{
    std::error_code ec;
    fs::path target = fs::path(path);
    // Replacing a symbolic link would cut the user's link: write its target.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec)
            return false;
    }

    struct stat old{};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !S_ISREG(old.st_mode))
        return false; // never rename over a device, a directory or a pipe
    // A file its owner made read-only is not to be replaced behind their back.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;

    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    static std::atomic<unsigned> counter{0};
    fs::path temp;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temp = directory / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-"
                            + std::to_string(counter.fetch_add(1)));
        // 0666 lets the umask decide, as for any new file of the user.
        rawFd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (rawFd < 0 && errno != EEXIST)
            return false;
    }
    if (rawFd < 0)
        return false;
    Descriptor fd(rawFd);

    bool ok = WriteAll(fd.get(), data);
    if (ok && exists) {
        ok = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
        if (ok && ::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
            // Only root may give a file away; the user's own file stays theirs.
        }
    }
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; the data is already safe either way.
    Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return true;
}

#endif

} // namespace zevko
