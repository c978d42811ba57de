#pragma once

#include <optional>
#include <string>

namespace zevko {

// Reading a whole file. Missing covers a path that does not exist (also when a
// directory on the way is missing or is a file): a file that is not there yet.
struct FileText {
    enum class Status { Ok, Missing, Failed };
    Status status = Status::Missing;
    std::string text;
};

FileText ReadWholeFile(const std::string& path);

// Replaces the file with `data` all at once: the data goes to a temporary file
// beside it, is flushed to the disk and then renamed over the old file, so that
// a crash or a full disk leaves either the old or the new file, never a mix.
// An existing file keeps its permissions (and owner, where allowed); a
// symbolic link is followed and its target replaced, or made when it does not
// exist yet (a dangling link). Only regular files are replaced. False (and the
// old file untouched, no temporary file left) when the file cannot be written.
bool WriteWholeFileAtomically(const std::string& path, const std::string& data);

// The file `path` stands for: symbolic links followed to the end of their
// chain, also to a target that is not there yet (whose path is then given).
// Nothing for a loop of links or a chain of more than 40.
std::optional<std::string> ResolveSymbolicLinks(const std::string& path);

// Removes what WriteWholeFileAtomically of `path` leaves when it is killed
// mid-way: regular files beside the file named as its temporary files are, and
// nothing else. Only for a caller that holds the file's lock, so that no save
// in progress loses its temporary file.
void RemoveLeftoverTemporaryFiles(const std::string& path);

} // namespace zevko
