#pragma once

// Whole-file reads and writes for tests that set up or check files on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace zevkotest {

// The path as the operating system's calls take it.
inline QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// Every byte of the file; empty when it cannot be opened (a test that must
// tell a missing file from an empty one checks QFile::exists as well).
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Replaces the file's content with `bytes`; false unless every byte was
// written and flushed.
[[nodiscard]] inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

// Everything in a directory, hidden files included (a temporary file left
// behind by a failed save would show here), by name.
inline QStringList Listing(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace zevkotest
