#pragma once

#include "ProbeCatalog.h"

#include <optional>
#include <string>
#include <string_view>

namespace zevko {

// The catalog file and its sections: the wires and the balls.
inline constexpr std::string_view CatalogFileName = "DEZADIRE.INI";
inline constexpr std::string_view WireCatalogSection = "DIAM_N";
inline constexpr std::string_view BallCatalogSection = "DIAM_S";

// Both return the message to show the user, or nothing when all went well.
// `separator` is the decimal separator of the user's locale ('.' or ',').

// Opens the catalog (emptying it) and fills it from the section's "COUNT" and
// D1..Dn (millimetres; DIAMi derived), sorted, with the first entry current
// and Changed false. A missing file, section or COUNT gives an empty catalog
// without a message; keys missing below COUNT are skipped. A value that is
// not a number is skipped too, the rest loaded, and the first one named in
// the message "'%s' is not a valid floating point value"; the catalog stays
// unchanged so that nothing is rewritten unless the user edits it. A file
// that exists but cannot be read gives "Unable to read %s".
std::optional<std::string> LoadCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                       char separator);

// Settles a row still being edited (stored if something was typed, abandoned
// otherwise), then, only when the catalog is Changed, writes COUNT and D1..Dn
// in ascending order into the section, leaving every other line of the file
// as it was (higher D keys of a longer catalog stay, unread). The file is
// replaced at once or not at all; a refused write gives "Unable to write to
// %s" with the full path, the file unchanged and the catalog still Changed.
std::optional<std::string> SaveCatalog(ProbeCatalog& catalog, const std::string& path, std::string_view section,
                                       char separator);

} // namespace zevko
