#pragma once

#include "ProbeCatalog.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace zevko {

// The catalog file and its sections: the wires and the balls.
inline constexpr std::string_view CatalogFileName = "DEZADIRE.INI";
inline constexpr std::string_view WireCatalogSection = "DIAM_N";
inline constexpr std::string_view BallCatalogSection = "DIAM_S";

// What went wrong with the catalog file; the window says it in its language.
enum class CatalogFileFault {
    CannotRead,  // "Unable to read %1", the full path
    NotANumber,  // "'%1' is not a valid floating point value", the entry's text
    CannotWrite, // "Unable to write to %1", the full path
    Locked,      // another instance kept the file locked for all of the wait; the full path
    // The file's encoding (a UTF-32 byte-order mark, UTF-16 of an odd length,
    // a NUL character) cannot be read and written back unchanged: it is not
    // read and never written; the full path.
    UnknownEncoding,
};

struct CatalogFileError {
    CatalogFileFault Fault = CatalogFileFault::CannotWrite;
    std::string Subject; // the full path of the file, or the text of the entry

    // The message in English.
    std::string Text() const;
    friend bool operator==(const CatalogFileError&, const CatalogFileError&) = default;
};

// How long a save waits for another instance that is saving the same file.
inline constexpr std::chrono::milliseconds CatalogLockWait{5000};

// Both return what went wrong, or nothing when all went well.
// `separator` is the decimal separator of the user's locale ('.' or ',').
// A file with a byte-order mark is read in its encoding (UTF-8, UTF-16 LE or
// BE) and written back in the same one.

// Opens the catalog (emptying it) and fills it from the section's "COUNT" and
// D1..Dn (millimetres; DIAMi derived), sorted, with the first entry current
// and Changed false. A missing file, section or COUNT gives an empty catalog
// without a message; keys missing below COUNT are skipped. A value that is
// not a number is skipped too, the rest loaded, and the first one named
// (NotANumber); the catalog stays unchanged so that nothing is rewritten
// unless the user edits it. A file that exists but cannot be read gives
// CannotRead, one in an encoding that cannot be written back UnknownEncoding;
// both leave the catalog empty.
std::optional<CatalogFileError> LoadCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                            char separator);

// Settles a row still being edited (stored if something was typed, abandoned
// otherwise), then, only when the catalog is Changed, writes COUNT and D1..Dn
// in ascending order into the section, leaving every other line of the file
// as it was (higher D keys of a longer catalog stay, unread). The file is
// replaced at once or not at all; a refused write gives CannotWrite, the file
// unchanged and the catalog still Changed.
//
// Instances save one after the other: the file is read, changed and replaced
// under a lock (a lock file beside it, see FileLock), so that a change another
// instance saved meanwhile to another section stays; of two saves of the same
// section the later one counts. A lock held for all of `lockWait` gives
// Locked. Under the lock, temporary files that a save killed mid-way left
// beside the file are removed. A symbolic link is written through, also to a
// target that is not there yet.
std::optional<CatalogFileError> SaveCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                            char separator, std::chrono::milliseconds lockWait = CatalogLockWait);

} // namespace zevko
