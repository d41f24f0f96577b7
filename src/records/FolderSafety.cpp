#include "records/FolderSafety.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <sys/vfs.h>

namespace qv {

namespace {

// mountinfo writes space, tab, newline and backslash as \ooo.
QString unescape(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int c = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(c);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

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

MountOf FindMountIn(const QByteArray& mountinfo, const QString& canonicalPath)
{
    MountOf best;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    for (const QByteArray& line : mountinfo.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 5 || dash < 6 || dash + 3 > f.size())
            continue;
        const QString point = unescape(f[4]);
        const bool contains = canonicalPath == point || point == QLatin1String("/")
                              || canonicalPath.startsWith(point + u'/');
        // The last of equal mount points is the one on top.
        if (contains && point.size() >= best.mountPoint.size()) {
            best.mountPoint = point;
            best.type = unescape(f[dash + 1]);
            best.source = unescape(f[dash + 2]);
            best.options = dash + 3 < f.size() ? unescape(f[dash + 3]) : QString();
        }
    }
    return best;
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

QString UnprotectedFolderWarning(const QString& folder)
{
    if (HasAtomicExclusiveCreate(folder))
        return QString();
    const MountOf m = FindMount(QFileInfo(folder).canonicalFilePath());
    const QString shown = QFileInfo(folder).fileName().isEmpty() ? folder : QFileInfo(folder).fileName();
    return QStringLiteral("A pasta \"%1\" está em \"%2\" (%3, tipo %4), um sistema de arquivos que não garante a "
                          "criação exclusiva de arquivos. Nessa pasta, salvamentos feitos de vários computadores não "
                          "estão protegidos: dois computadores salvando o mesmo paciente ao mesmo tempo podem perder "
                          "um dos registros. Salve de um computador por vez, ou monte o compartilhamento pelo cliente "
                          "\"cifs\" do sistema ou por NFS.")
        .arg(shown, m.mountPoint, m.source, m.type);
}

QString UnprotectedFolderWarningOnce(const QString& folder)
{
    static QMutex mutex;
    static QSet<QString> warned;
    const QString text = UnprotectedFolderWarning(folder);
    if (text.isEmpty())
        return text;
    const QString mount = FindMount(QFileInfo(folder).canonicalFilePath()).mountPoint;
    QMutexLocker guard(&mutex);
    if (warned.contains(mount))
        return QString();
    warned.insert(mount);
    return text;
}

}  // namespace qv
