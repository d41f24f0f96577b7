#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::platform {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

FileStatus StatusOf(const QString& path)
{
    FileStatus s;
    struct stat st {};
    const QByteArray name = native(path);
    if (::stat(name.constData(), &st) != 0)
        return s;
    s.exists = true;
    s.regular = S_ISREG(st.st_mode);
    s.mode = unsigned(st.st_mode & 07777);
    // Renaming over a file would succeed where writing it is not allowed: the file has its say.
    // Asked without opening it: some share clients fail opens for appending.
    s.writable = ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) == 0;
    return s;
}

Outcome CreateNew(const QString& path, Readers readers, int* fd)
{
    const mode_t mode = readers == Readers::Owner ? 0600 : 0644;
    *fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (*fd >= 0)
        return Outcome::Done;
    return errno == EEXIST ? Outcome::Exists : Outcome::Failed;
}

int OpenForReading(const QString& path) { return ::open(native(path).constData(), O_RDONLY | O_CLOEXEC); }

void CopyPermissions(int fd, const FileStatus& like)
{
    // On a share the server may refuse: its own permissions then govern.
    (void)::fchmod(fd, mode_t(like.mode));
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

int FlushData(int fd) { return ::fdatasync(fd); }

int CloseFile(int fd) { return ::close(fd); }

bool RemoveFile(const QString& path)
{
    // A share may refuse for a moment while another computer reads the file (EBUSY).
    const QByteArray name = native(path);
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::unlink(name.constData()) == 0 || errno == ENOENT)
            return true;
        if (errno != EBUSY && errno != EAGAIN && errno != EINTR)
            return false;
        QThread::msleep(10);
    }
    return false;
}

Outcome ReplaceWith(const QString& from, const QString& to)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0 ? Outcome::Done : Outcome::Failed;
}

Outcome PlaceNew(const QString& from, const QString& to)
{
    const QByteArray source = native(from);
    const QByteArray target = native(to);
    // link(2) puts the finished file in place and fails when one exists, whoever made it.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return Outcome::Done;
    }
    int error = errno;
    if (error == EEXIST)
        return Outcome::Exists;
    if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS)
        return Outcome::Failed;
    // Some shares have no hard links: a rename that refuses to replace does the same.
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Outcome::Done;
    error = errno;
    if (error == EEXIST)
        return Outcome::Exists;
    // Without either, a plain rename under the file's lock, the file missing a moment ago: as
    // safe among this program's saves as the lock is on that share (see FolderSafety.h).
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP && error != EOPNOTSUPP)
        return Outcome::Failed;
    if (QFileInfo::exists(to))
        return Outcome::Exists;
    return ::rename(source.constData(), target.constData()) == 0 ? Outcome::Done : Outcome::Failed;
}

bool MakePrivateFolder(const QString& path)
{
    return ::mkdir(native(path).constData(), 0700) == 0 || (errno == EEXIST && QFileInfo(path).isDir());
}

QString LastErrorText() { return QString::fromLocal8Bit(std::strerror(errno)); }

QString FileNameProblem(const QString& fileName)
{
    if (fileName.isEmpty() || fileName == u'.' || fileName == QLatin1String("..") || fileName.contains(u'/')
        || fileName.contains(QChar(0)))
        return QStringLiteral("não é um nome de arquivo");
    return QString();
}

QString PathKey(const QString& absolutePath) { return absolutePath; }

QByteArray ProgramOf(qint64 pid)
{
    QString name = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget().section(u'/', -1);
    // A program updated while it runs still runs the program it started with.
    if (name.endsWith(QLatin1String(" (deleted)")))
        name.chop(10);
    return name.toUtf8();
}

QString OwnWorkingFolder() { return QString(); }

bool ProcessAlive(qint64 pid) { return !(::kill(pid_t(pid), 0) != 0 && errno == ESRCH); }

}  // namespace qv::platform
