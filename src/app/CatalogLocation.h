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
// whether it is writable, `userDataDir` the user's data directory. Returns the
// full path of the catalog file; no file or directory is touched.
QString CatalogFileLocation(const QString& executableDir, bool executableDirWritable, const QString& userDataDir);

// The first start of an installed program: when `catalogFile` does not exist,
// creates its directory and copies `besideProgram` into it, or else
// `sharedCatalog` (empty when none is shipped). An existing file is never
// overwritten; with nothing to copy only the directory is made, so that the
// first save can create the file.
void SeedCatalogFile(const QString& catalogFile, const QString& besideProgram, const QString& sharedCatalog);

// The catalog file of this program: the override if one is set, else the rule
// above with the platform's directories. Formed anew for each read and write.
QString CatalogFilePath();

// Seeds the user's catalog file (see SeedCatalogFile) with the platform's
// directories, once at start-up; nothing when the override is set or the
// file lies beside the program.
void PrepareCatalogFile();

// Tests point the window at a catalog file of their own; an empty path goes
// back to the rule.
void SetCatalogFilePathOverride(const QString& path);
QString CatalogFilePathOverride();
