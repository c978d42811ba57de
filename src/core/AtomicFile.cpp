#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

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

namespace {

constexpr int MaxLinks = 40;

// Paths are UTF-8 on Windows (as Qt gives them) and the bytes as they are elsewhere.
fs::path PathOf(const std::string& path)
{
#ifdef _WIN32
    return fs::u8path(path);
#else
    return fs::path(path);
#endif
}

// Temporary files are ".NAME.tmp-PID-N" beside the file NAME (hidden where
// a leading dot hides); a leftover of the Windows build is "NAME.tmp".
std::string TemporaryPrefix(const fs::path& target)
{
    return "." + target.filename().string() + ".tmp-";
}

bool IsTemporaryName(const std::string& name, const fs::path& target)
{
#ifdef _WIN32
    if (name == target.filename().string() + ".tmp")
        return true;
#endif
    const std::string prefix = TemporaryPrefix(target);
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 20 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    return dash != std::string::npos && digits(rest.substr(0, dash)) && digits(rest.substr(dash + 1));
}

} // namespace

void RemoveLeftoverTemporaryFiles(const std::string& path)
{
    std::error_code ec;
    const std::optional<std::string> resolved = ResolveSymbolicLinks(path);
    if (!resolved)
        return;
    const fs::path target = PathOf(*resolved);
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::directory_iterator it(directory, ec);
    if (ec)
        return;
    std::vector<fs::path> leftovers;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        const fs::path& entry = it->path();
        // Only regular files: a link of that name is not ours to follow.
        if (IsTemporaryName(entry.filename().string(), target) && fs::is_regular_file(fs::symlink_status(entry, ec)))
            leftovers.push_back(entry);
    }
    for (const fs::path& leftover : leftovers)
        fs::remove(leftover, ec);
}

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

std::optional<std::string> ResolveSymbolicLinks(const std::string& path)
{
    fs::path current = fs::u8path(path);
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current.u8string();
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return std::nullopt;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::nullopt;
}

bool WriteWholeFileAtomically(const std::string& path, const std::string& data)
{
    const std::optional<std::string> resolved = ResolveSymbolicLinks(path);
    if (!resolved)
        return false;
    const fs::path target = fs::u8path(*resolved);
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

std::optional<std::string> ResolveSymbolicLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        struct stat st {};
        // Not there (or not reachable): the path itself, for the write to try.
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string next(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), next.data(), next.size());
        if (n < 0 || static_cast<std::size_t>(n) >= next.size())
            return std::nullopt;
        next.resize(static_cast<std::size_t>(n));
        const fs::path link(current);
        current =
            (fs::path(next).is_absolute() || !link.has_parent_path()) ? next : (link.parent_path() / next).string();
    }
    return std::nullopt;
}

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
    struct stat st {};
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
    // Replacing a symbolic link would cut the user's link: write its target,
    // also one that is not there yet.
    const std::optional<std::string> resolved = ResolveSymbolicLinks(path);
    if (!resolved)
        return false;
    const fs::path target = fs::path(*resolved);

    struct stat old {};
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
        temp = directory /
               (TemporaryPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)));
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
