#include "records/FileIo.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cerrno>
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

// ".<name>.tmp" beside the file: hidden, and named after the file it will become. Only the
// holder of the file's lock writes it, so one name is enough, and a crash's leftover is simply
// replaced by the next save of the same file.
QString temporaryName(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".tmp"));
}

void sweepFolderOnce(const QString& folder);

// Writes the bytes to the temporary file beside `path`, synced and closed; returns its path.
// Call it holding the file's lock.
QString writeTemporary(const QString& path, const QByteArray& bytes, const struct stat* keepMode)
{
    sweepFolderOnce(QFileInfo(path).absolutePath());
    const QString tmp = temporaryName(path);
    ::unlink(native(tmp).constData());
    const int fd = ::open(native(tmp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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

// Names of the lock files this process holds, with how deep each thread holds them.
struct HeldLock {
    Qt::HANDLE thread = nullptr;
    int depth = 0;
};
QMutex g_heldMutex;
QHash<QString, HeldLock> g_held;

// A lock file left empty: its maker died between creating it and writing its owner in, so no
// process can ever be asked about it. A live maker fills it within microseconds.
bool isOrphanedEmptyLock(const QString& lockPath)
{
    const QFileInfo info(lockPath);
    return info.exists() && info.size() == 0
           && info.lastModified().msecsTo(QDateTime::currentDateTime()) > 1000;
}

QMutex g_sweptMutex;
QSet<QString> g_swept;

// Leftovers of other files' crashed saves (and of older versions, which named their temporary
// files "<name>.XXXXXX"), and their abandoned locks, are removed once per folder and run, when a minute old: a save in
// progress elsewhere is never that old. Listing a folder of thousands of patients at every
// save would cost more than the save.
void sweepFolderOnce(const QString& folder)
{
    {
        QMutexLocker guard(&g_sweptMutex);
        if (g_swept.contains(folder))
            return;
        g_swept.insert(folder);
    }
    RemoveStaleTemporaryFiles(folder);
    // Locks a dead program left on files nobody saved since: taken over and so removed.
    const QDateTime aMinuteAgo = QDateTime::currentDateTime().addSecs(-60);
    for (const QFileInfo& e : QDir(folder).entryInfoList({QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden)) {
        if (e.lastModified() >= aMinuteAgo)
            continue;
        QLockFile dead(e.filePath());
        dead.setStaleLockTime(kStaleLockMs);
        if (dead.tryLock(0))
            dead.unlock();
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

FileLock::FileLock(const QString& path, int waitMs)
{
    m_path = path;
    m_key = QFileInfo(path).absoluteFilePath() + QStringLiteral(".lock");
    {
        QMutexLocker guard(&g_heldMutex);
        auto it = g_held.find(m_key);
        if (it != g_held.end() && it->thread == QThread::currentThreadId()) {
            ++it->depth;
            m_locked = m_nested = true;
            return;
        }
    }
    m_file = std::make_unique<QLockFile>(m_key);
    m_file->setStaleLockTime(kStaleLockMs);
    // QLockFile's own wait sleeps 100 ms and more between tries; saves hold the lock for a few
    // milliseconds, so poll in short, growing steps instead.
    QDeadlineTimer deadline(waitMs);
    int pause = 1;
    for (;;) {
        if (m_file->tryLock(0)) {
            m_locked = true;
            break;
        }
        if (m_file->error() != QLockFile::LockFailedError) {
            m_failure = IoError::cannotWrite(path).message();
            return;
        }
        if (isOrphanedEmptyLock(m_key)) {
            QFile::remove(m_key);
            continue;
        }
        if (deadline.hasExpired()) {
            m_busy = true;
            m_failure = FileBusyError(path).message();
            return;
        }
        QThread::msleep(ulong(std::min<qint64>(pause + QRandomGenerator::global()->bounded(pause + 1), deadline.remainingTime())));
        pause = std::min(pause * 2, 20);
    }
    QMutexLocker guard(&g_heldMutex);
    g_held.insert(m_key, HeldLock{QThread::currentThreadId(), 1});
}

FileLock::~FileLock()
{
    if (!m_locked)
        return;
    QMutexLocker guard(&g_heldMutex);
    auto it = g_held.find(m_key);
    if (m_nested) {
        if (it != g_held.end())
            --it->depth;
        return;
    }
    if (it != g_held.end())
        g_held.erase(it);
    m_file->unlock();
}

void FileLock::throwIfNotLocked() const
{
    if (m_locked)
        return;
    if (m_busy)
        throw FileBusyError(m_path);
    throw IoError(m_failure);
}

bool IsTemporaryFileName(const QString& fileName)
{
    static const QRegularExpression own(QStringLiteral("^\\..+\\.tmp$"));
    // Older versions replaced files through "<name>.XXXXXX"; patient files end in a 3-letter
    // extension, Stats.cef likewise.
    static const QRegularExpression old(QStringLiteral("^[^.].*\\.[a-z]{3}\\.[A-Za-z0-9]{6}$"));
    return own.match(fileName).hasMatch() || old.match(fileName).hasMatch();
}

void RemoveStaleTemporaryFiles(const QString& folder)
{
    const QDir dir(folder);
    const QDateTime aMinuteAgo = QDateTime::currentDateTime().addSecs(-60);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries)
        if (IsTemporaryFileName(e.fileName()) && e.lastModified() < aMinuteAgo)
            QFile::remove(e.filePath());
}

void ReplaceFileBytes(const QString& path, const QByteArray& bytes)
{
    FileLock lock(path);
    lock.throwIfNotLocked();
    // A patient file linked from elsewhere is replaced where it lives; the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    struct stat old {};
    const bool exists = ::stat(native(target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        throw IoError::cannotWrite(path);
    // Renaming over a file would succeed where writing it is not allowed: keep the file's own say.
    if (exists) {
        const int probe = ::open(native(target).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (probe < 0)
            throw IoError::cannotWrite(path);
        ::close(probe);
    }
    const QString tmp = writeTemporary(target, bytes, exists ? &old : nullptr);
    if (::rename(native(tmp).constData(), native(target).constData()) != 0) {
        ::unlink(native(tmp).constData());
        throw IoError::cannotWrite(path);
    }
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
    const QString tmp = writeTemporary(path, bytes, nullptr);
    const QByteArray from = native(tmp);
    const QByteArray to = native(path);
    // link(2) puts the finished file in place and fails when one exists, whoever made it.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return;
    }
    const int linkError = errno;
    if (linkError == EEXIST) {
        ::unlink(from.constData());
        throw FileExistsError(path);
    }
    // Some shares have no hard links. Every writer of the file holds its lock, and the file was
    // missing a moment ago under it: a rename is as safe there.
    if ((linkError == EPERM || linkError == ENOTSUP || linkError == EOPNOTSUPP || linkError == ENOSYS)
        && !QFileInfo::exists(path) && ::rename(from.constData(), to.constData()) == 0)
        return;
    ::unlink(from.constData());
    throw IoError::cannotWrite(path);
}

}  // namespace qv
