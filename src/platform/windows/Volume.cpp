#include "platform/Volume.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <windows.h>

namespace qv::platform {

namespace {

// File systems whose exclusive create (CREATE_NEW) the system carries out on the volume itself,
// or, on a network drive, that an SMB server reports: the redirector sends the create to the
// server, which decides it atomically. Anything else (a WebDAV or cloud drive) is not trusted.
bool knownAtomic(const QString& type)
{
    static const QStringList known{QStringLiteral("NTFS"), QStringLiteral("REFS"), QStringLiteral("FAT"),
                                   QStringLiteral("FAT32"), QStringLiteral("EXFAT"), QStringLiteral("SAMBA")};
    return known.contains(type.toUpper());
}

}  // namespace

MountOf FindMount(const QString& canonicalPath)
{
    MountOf m;
    const QStorageInfo volume(canonicalPath);
    if (!volume.isValid())
        return m;
    m.mountPoint = volume.rootPath();
    m.type = QString::fromUtf8(volume.fileSystemType());
    const QString native = QDir::toNativeSeparators(canonicalPath);
    // A share named by its path shows that path; a drive shows the volume.
    m.source = native.startsWith(QLatin1String("\\\\")) ? native.section(u'\\', 0, 3) : QString::fromUtf8(volume.device());
    return m;
}

bool HasAtomicExclusiveCreate(const QString& folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        return true;
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return true;  // cannot be asked: the save itself will report what fails
    const std::wstring root = QDir::toNativeSeparators(volume.rootPath()).toStdWString();
    const UINT kind = ::GetDriveTypeW(root.c_str());
    if (kind == DRIVE_FIXED || kind == DRIVE_REMOVABLE || kind == DRIVE_RAMDISK)
        return true;
    return knownAtomic(QString::fromUtf8(volume.fileSystemType()));
}

}  // namespace qv::platform
