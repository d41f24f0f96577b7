#include "records/FileIo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

FileIoHooks& FileIoHooksForTesting()
{
    static FileIoHooks hooks;
    return hooks;
}

namespace {

int dataSync(int fd)
{
    const auto& hook = FileIoHooksForTesting().datasync;
    return hook ? hook(fd) : ::fdatasync(fd);
}

int closeFd(int fd)
{
    const auto& hook = FileIoHooksForTesting().close;
    return hook ? hook(fd) : ::close(fd);
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Where a file's content lives: a patient file linked from elsewhere is written where it lives.
QString placeOf(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
}

// The temporary files of a file: ".<name>.<6 letters or digits>.tmp" (".<name>.tmp" before).
QRegularExpression temporaryFilesOf(const QString& fileName)
{
    return QRegularExpression(QStringLiteral("^\\.") + QRegularExpression::escape(fileName)
                              + QStringLiteral("(\\.[A-Za-z0-9]{6})?\\.tmp$"));
}

// Removes the temporary files a crashed save of this file left. Call it holding the file's lock:
// every writer of the file holds it while its temporary file exists, so any found are dead. The
// fixed name of earlier versions costs one unlink; the random names need the folder listed, so
// that is done only when the lock was taken over from a dead program, the only way they stay.
void removeLeftoversOf(const QString& target, bool listFolder)
{
    const QFileInfo info(target);
    ::unlink(native(info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".tmp"))).constData());
    if (!listFolder)
        return;
    const QRegularExpression mine = temporaryFilesOf(info.fileName());
    for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (mine.match(name).hasMatch())
            ::unlink(native(info.dir().filePath(name)).constData());
}

QString randomSuffix()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))]);
    return suffix;
}

void sweepFolderOnce(const QString& folder);

// Writes the bytes to a new temporary file beside `target`, named for this writer alone, synced
// and closed; returns its path. Call it holding the file's lock.
QString writeTemporary(const QString& path, const QString& target, const QByteArray& bytes, const struct stat* keepMode)
{
    const QFileInfo info(target);
    sweepFolderOnce(info.absolutePath());
    QString tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 10; ++attempt) {
        tmp = info.dir().filePath(u'.' + info.fileName() + u'.' + randomSuffix() + QStringLiteral(".tmp"));
        fd = ::open(native(tmp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw IoError::cannotWrite(path);
    bool ok = true;
    if (keepMode) {
        // On a share the server may refuse: its own permissions then govern.
        (void)::fchmod(fd, keepMode->st_mode & 07777);
    }
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else {
            p += n;
            left -= n;
        }
    }
    if (ok && dataSync(fd) != 0)
        ok = false;
    // A network file system reports a lost write at close: it counts as much as the write.
    if (closeFd(fd) != 0)
        ok = false;
    if (!ok) {
        ::unlink(native(tmp).constData());
        throw IoError::cannotWrite(path);
    }
    return tmp;
}

// The save is done only when the file in place is the one just written: its size and its bytes.
void checkPlaced(const QString& path, const QString& target, const QByteArray& bytes)
{
    if (const auto& hook = FileIoHooksForTesting().placed)
        hook(target);
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly) || file.size() != bytes.size() || file.readAll() != bytes)
        throw IoError::cannotWrite(path);
}

QMutex g_sweptMutex;
QSet<QString> g_swept;

// A file named like a lock that holds what a lock holds (a process number first) or nothing.
bool looksLikeLock(const QFileInfo& e)
{
    QFile f(e.filePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    qsizetype digits = 0;
    while (digits < head.size() && head[digits] >= '0' && head[digits] <= '9')
        ++digits;
    return head.isEmpty() || (digits > 0 && (digits == head.size() || head[digits] == '\n'));
}

// What crashes left beside other files, and their abandoned locks, are removed once per folder
// and run: listing a folder of thousands of patients at every save would cost more than the
// save. The file being saved has its own leftovers removed by its save.
void sweepFolderOnce(const QString& folder)
{
    {
        QMutexLocker guard(&g_sweptMutex);
        if (g_swept.contains(folder))
            return;
        g_swept.insert(folder);
    }
    RemoveStaleTemporaryFiles(folder);
    // Locks a dead program left on files nobody saved since: taken over and so removed, with
    // what that program's save left.
    for (const QFileInfo& e : QDir(folder).entryInfoList({QStringLiteral("*.lock")}, QDir::Files)) {
        if (!looksLikeLock(e))
            continue;
        const QString file = e.filePath().chopped(5);
        FileLock dead(file, 0);
        if (dead.takeTookOver())
            removeLeftoversOf(placeOf(file), true);
    }
}

}  // namespace

QByteArray ReadFileBytes(const QString& path, qsizetype minimum)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotOpen(path);
    if (minimum >= 0 && bytes.size() < minimum)
        throw IoError::tooShort(path);
    return bytes;
}

QByteArray ReadFileHead(const QString& path, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotOpen(path);
    const QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotOpen(path);
    if (bytes.size() < size)
        throw IoError::tooShort(path);
    return bytes;
}

bool IsTemporaryFileName(const QString& fileName)
{
    static const QRegularExpression own(QStringLiteral("^\\..+\\.tmp$"));
    return own.match(fileName).hasMatch();
}

bool IsOldVersionLeftover(const QString& path)
{
    // QSaveFile's temporary name: the file's name, a dot and six letters.
    static const QRegularExpression old(QStringLiteral("^([^.].*\\.[A-Za-z]{3})\\.[A-Za-z]{6}$"));
    const QFileInfo info(path);
    const QRegularExpressionMatch m = old.match(info.fileName());
    if (!m.hasMatch() || info.isSymLink() || !info.isFile() || info.size() != 0)
        return false;
    const QFileInfo replaced(info.dir().filePath(m.captured(1)));
    return replaced.isFile();
}

void RemoveStaleTemporaryFiles(const QString& folder)
{
    const QDir dir(folder);
    const QDateTime aMinuteAgo = QDateTime::currentDateTime().addSecs(-60);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries)
        if (e.lastModified() < aMinuteAgo && (IsTemporaryFileName(e.fileName()) || IsOldVersionLeftover(e.filePath())))
            QFile::remove(e.filePath());
}

void ReplaceFileBytes(const QString& path, const QByteArray& bytes)
{
    FileLock lock(path);
    lock.throwIfNotLocked();
    const QString target = placeOf(path);
    struct stat old {};
    const bool exists = ::stat(native(target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        throw IoError::cannotWrite(path);
    // Renaming over a file would succeed where writing it is not allowed: keep the file's own
    // say. Asked without opening it: some share clients fail opens for appending.
    if (exists && ::faccessat(AT_FDCWD, native(target).constData(), W_OK, AT_EACCESS) != 0)
        throw IoError::cannotWrite(path);
    removeLeftoversOf(target, lock.takeTookOver());
    const QString tmp = writeTemporary(path, target, bytes, exists ? &old : nullptr);
    if (::rename(native(tmp).constData(), native(target).constData()) != 0) {
        ::unlink(native(tmp).constData());
        throw IoError::cannotWrite(path);
    }
    checkPlaced(path, target, bytes);
}

void SavePrivateFile(const QString& path, const QByteArray& bytes)
{
    // A health record: readable by its owner only, also when it replaces a file other people
    // could read (a replacement would otherwise keep the old file's permissions).
    constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
    if (QFileInfo::exists(path) && !QFile::setPermissions(path, kPrivate))
        throw IoError::cannotWrite(path);
    ReplaceFileBytes(path, bytes);
    if (!QFile::setPermissions(path, kPrivate))
        throw IoError::cannotWrite(path);
}

bool IsRegularFile(const QString& path)
{
    struct stat st {};
    return ::stat(native(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void WriteNewFileBytes(const QString& path, const QByteArray& bytes)
{
    FileLock lock(path);
    lock.throwIfNotLocked();
    if (QFileInfo::exists(path))
        throw FileExistsError(path);
    removeLeftoversOf(path, lock.takeTookOver());
    const QString tmp = writeTemporary(path, path, bytes, nullptr);
    const QByteArray from = native(tmp);
    const QByteArray to = native(path);
    const auto refuse = [&](const IoError& error) {
        ::unlink(from.constData());
        throw error;
    };
    // link(2) puts the finished file in place and fails when one exists, whoever made it.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        checkPlaced(path, path, bytes);
        return;
    }
    int error = errno;
    if (error == EEXIST)
        refuse(FileExistsError(path));
    if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS)
        refuse(IoError::cannotWrite(path));
    // Some shares have no hard links: a rename that refuses to replace does the same.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        checkPlaced(path, path, bytes);
        return;
    }
    error = errno;
    if (error == EEXIST)
        refuse(FileExistsError(path));
    // Without either, a plain rename under the lock, the file missing a moment ago: as safe among
    // this program's saves as the lock is on that share (see FolderSafety.h).
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP && error != EOPNOTSUPP)
        refuse(IoError::cannotWrite(path));
    if (QFileInfo::exists(path))
        refuse(FileExistsError(path));
    if (::rename(from.constData(), to.constData()) != 0)
        refuse(IoError::cannotWrite(path));
    checkPlaced(path, path, bytes);
}

}  // namespace qv
