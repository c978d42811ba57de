#include "CatalogLocation.h"

#include "CatalogFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& PathOverride()
{
    static QString path;
    return path;
}

QString FileName()
{
    return QString::fromLatin1(zevko::CatalogFileName.data(), zevko::CatalogFileName.size());
}

bool DirectoryWritable(const QString& directory)
{
    const QFileInfo info(directory);
    return info.isDir() && info.isWritable();
}

// Copies `source` to `target` when `target` does not exist yet. QFile::copy
// writes a temporary file and renames it, and refuses an existing target, so
// neither a half copy nor a lost user file can come of it.
bool SeedFrom(const QString& source, const QString& target)
{
    if (source.isEmpty() || !QFileInfo(source).isFile())
        return false;
    if (!QFile::copy(source, target))
        return false;
    // A shipped file may be read-only; the user's copy is the user's to change.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

} // namespace

QString CatalogFileLocation(const QString& executableDir, bool executableDirWritable, const QString& userDataDir)
{
    if (executableDirWritable)
        return QDir::cleanPath(QDir(executableDir).absoluteFilePath(FileName()));
    return QDir::cleanPath(QDir(userDataDir).absoluteFilePath(FileName()));
}

void SeedCatalogFile(const QString& catalogFile, const QString& besideProgram, const QString& sharedCatalog)
{
    if (QFileInfo::exists(catalogFile))
        return;
    // Without the directory the first save could not create the file; should
    // it fail here, that save reports the path it could not write.
    QDir().mkpath(QFileInfo(catalogFile).absolutePath());
    if (!SeedFrom(besideProgram, catalogFile))
        SeedFrom(sharedCatalog, catalogFile);
}

namespace {

QString ExecutableDir()
{
    return QCoreApplication::applicationDirPath();
}

QString UserDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

QString CatalogFilePath()
{
    if (!PathOverride().isEmpty())
        return PathOverride();
    const QString executableDir = ExecutableDir();
    return CatalogFileLocation(executableDir, DirectoryWritable(executableDir), UserDataDir());
}

void PrepareCatalogFile()
{
    if (!PathOverride().isEmpty())
        return;
    const QString executableDir = ExecutableDir();
    if (DirectoryWritable(executableDir))
        return;
    SeedCatalogFile(
        CatalogFileLocation(executableDir, false, UserDataDir()), QDir(executableDir).absoluteFilePath(FileName()),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("zevko-pd/") + FileName()));
}

void SetCatalogFilePathOverride(const QString& path)
{
    PathOverride() = path;
}

QString CatalogFilePathOverride()
{
    return PathOverride();
}
