#pragma once

#include <QString>

// Where the probe catalog file DEZADIRE.INI is read and written.
//
// Beside the executable when that directory is writable (a portable copy, the
// build tree). Otherwise (an installed program) in the user's data directory,
// which starts as a copy of the file beside the executable if there is one,
// else of the catalog shipped in the shared data directory; an existing user
// file is never overwritten.

// The rule, with the facts given: `executableDir` the program's directory and
// whether it is writable, `userDataDir` the user's data directory (created
// when it is needed), `sharedCatalog` the path of a shipped catalog to seed
// from (empty when there is none). Returns the full path of the catalog file.
QString ResolveCatalogFilePath(const QString& executableDir, bool executableDirWritable, const QString& userDataDir,
                               const QString& sharedCatalog);

// The catalog file of this program: the override if one is set, else the rule
// above with the platform's directories. Formed anew for each read and write.
QString CatalogFilePath();

// Tests point the window at a catalog file of their own; an empty path goes
// back to the rule.
void SetCatalogFilePathOverride(const QString& path);
QString CatalogFilePathOverride();
