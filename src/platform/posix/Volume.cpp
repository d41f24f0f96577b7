#include "platform/Volume.h"

#include "records/FolderSafety.h"

#include <QFile>
#include <QFileInfo>

#include <sys/vfs.h>

namespace qv::platform {

namespace {

// f_type of the file systems whose exclusive create the kernel itself carries out, or whose
// protocol carries it to the server (cifs, smb3, NFS).
bool knownAtomic(unsigned long type)
{
    switch (type) {
    case 0xEF53:      // ext2/3/4
    case 0x58465342:  // xfs
    case 0x9123683E:  // btrfs
    case 0x01021994:  // tmpfs
    case 0x858458F6:  // ramfs
    case 0x794C7630:  // overlayfs
    case 0xF2F52010:  // f2fs
    case 0x2FC12FC1:  // zfs
    case 0xCA451A4E:  // bcachefs
    case 0x3153464A:  // jfs
    case 0x52654973:  // reiserfs
    case 0x4D44:      // vfat
    case 0x2011BAB0:  // exfat
    case 0x7366746E:  // ntfs3
    case 0xFF534D42:  // cifs
    case 0xFE534D42:  // smb2/smb3
    case 0x6969:      // nfs (version 2 excepted below)
        return true;
    default:
        return false;
    }
}

}  // namespace

MountOf FindMount(const QString& canonicalPath)
{
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    return info.open(QIODevice::ReadOnly) ? FindMountIn(info.readAll(), canonicalPath) : MountOf{};
}

bool HasAtomicExclusiveCreate(const QString& folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        return true;
    struct statfs fs {};
    if (::statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return true;  // cannot be asked: the save itself will report what fails
    const auto type = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFul;
    if (!knownAtomic(type))
        return false;
    if (type == 0x6969)
        return !FindMount(path).options.split(u',').contains(QStringLiteral("vers=2"));
    return true;
}

}  // namespace qv::platform
