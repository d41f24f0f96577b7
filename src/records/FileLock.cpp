#include "records/FileIo.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <utility>

// The lock file is written in QLockFile's layout (pid, application, host name, machine id, boot
// id, one per line), so older versions of the program and this one understand each other's locks.
// It is not a QLockFile because QLockFile keeps its file open while it holds it and deletes a dead
// owner's lock while holding that file open: shares that refuse to delete an open file (SMB) then
// never let the lock go. Here the file is closed as soon as it is written, and removed closed.

namespace qv {

namespace {

const QByteArray& machineId()
{
    static const QByteArray id = QSysInfo::machineUniqueId();
    return id;
}

const QByteArray& bootId()
{
    static const QByteArray id = QSysInfo::bootUniqueId();
    return id;
}

const QByteArray& hostName()
{
    static const QByteArray name = QSysInfo::machineHostName().toUtf8();
    return name;
}

QByteArray ownerLines()
{
    static const QByteArray program = platform::ProgramOf(QCoreApplication::applicationPid());
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + program + '\n' + hostName() + '\n'
           + machineId() + '\n' + bootId() + '\n';
}

// The owner of a lock written on this computer since it started is alive when its process
// exists and, where the lock names its program, runs that program (a number the system gave to
// another program since is no owner). Windows has no boot id: there a lock of this computer is
// judged by its process alone.
bool ownerAlive(qint64 pid, const QByteArray& program)
{
    if (!platform::ProcessAlive(pid))
        return false;
    const QByteArray running = platform::ProgramOf(pid);
    return program.isEmpty() || running.isEmpty() || running == program;
}

// Names of the lock files this process holds, with how deep each thread holds them.
struct HeldLock {
    Qt::HANDLE thread = nullptr;
    int depth = 0;
    bool tookOver = false;
};
QMutex g_heldMutex;
QHash<QString, HeldLock> g_held;
// Locks of this process the share would not let it remove: abandoned, though their owner lives.
QSet<QString> g_leftBehind;

bool leftBehindHere(const QString& key)
{
    QMutexLocker guard(&g_heldMutex);
    return g_leftBehind.contains(key);
}

bool unlinkClosed(const QString& path) { return platform::RemoveFile(path); }

enum class Created { Yes, Exists, Failed };

Created createLock(const QString& lockPath)
{
    // Readable by all: another user's program must be able to tell whose lock it is.
    int fd = -1;
    const platform::Outcome o = platform::CreateNew(lockPath, platform::Readers::Everyone, &fd);
    if (o != platform::Outcome::Done)
        return o == platform::Outcome::Exists ? Created::Exists : Created::Failed;
    bool ok = platform::WriteAll(fd, ownerLines());
    ok = platform::CloseFile(fd) == 0 && ok;
    if (!ok) {
        unlinkClosed(lockPath);
        return Created::Failed;
    }
    return Created::Yes;
}

struct Seen {
    bool exists = false;
    bool abandoned = false;
    QByteArray bytes;
    qint64 modified = 0;  // ms since the epoch
};

// Reads the lock and judges it. A lock is abandoned when
//  - it cannot be read as a whole lock (empty, or cut by a crash of the program or of the
//    computer) and is older than kUnreadableLockMs, whichever computer wrote it: its owner
//    writes it whole at once, right after creating it;
//  - it was written on this computer since it started, by a process that is gone (a live owner
//    on this computer keeps its lock however long it takes);
//  - it was written elsewhere (or before this computer last started) and is older than
//    kStaleLockMs: that owner cannot be asked.
Seen inspect(const QString& lockPath, const QString& key)
{
    Seen s;
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(lockPath);
        s.exists = info.exists() || info.isSymLink();
        return s;
    }
    s.exists = true;
    s.bytes = file.read(4096);
    s.modified = QFileInfo(file).lastModified().toMSecsSinceEpoch();
    file.close();  // never held open while anyone removes it
    const qint64 age = std::abs(QDateTime::currentMSecsSinceEpoch() - s.modified);

    const QList<QByteArray> lines = s.bytes.split('\n');
    bool pidOk = false;
    const qint64 pid = lines.value(0).toLongLong(&pidOk);
    const bool whole = s.bytes.endsWith('\n') && lines.size() >= 6 && pidOk && pid > 0 && !lines[2].isEmpty()
                       && !s.bytes.contains('\0');
    if (!whole) {
        s.abandoned = age > kUnreadableLockMs;
        return s;
    }
    // A copied disk gives two computers one name and machine id; only the boot tells them apart.
    if (lines[2] == hostName() && lines[3] == machineId() && lines[4] == bootId())
        s.abandoned = !ownerAlive(pid, lines[1]) || (pid == QCoreApplication::applicationPid() && leftBehindHere(key));
    else
        s.abandoned = age > kStaleLockMs;
    return s;
}

// Removes an abandoned lock unless it changed since it was judged. Those who remove one first
// claim the removal (".<name>.lock.tmp", created exclusively), so a remover never deletes the
// new lock another remover has just made.
bool removeAbandoned(const QString& lockPath, const Seen& judged)
{
    const QFileInfo info(lockPath);
    const QString claim = info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".tmp"));
    int fd = -1;
    const platform::Outcome o = platform::CreateNew(claim, platform::Readers::Everyone, &fd);
    if (o != platform::Outcome::Done) {
        // A claim is held for microseconds; one a few seconds old belongs to a dead remover.
        const QFileInfo old(claim);
        if (o == platform::Outcome::Exists && old.lastModified().msecsTo(QDateTime::currentDateTime()) > 5000)
            unlinkClosed(claim);
        return false;
    }
    platform::CloseFile(fd);
    bool removed = false;
    QFile again(lockPath);
    if (again.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = again.read(4096);
        const qint64 modified = QFileInfo(again).lastModified().toMSecsSinceEpoch();
        again.close();
        if (bytes == judged.bytes && modified == judged.modified)
            removed = unlinkClosed(lockPath);
    }
    unlinkClosed(claim);
    return removed;
}

}  // namespace

FileLock::FileLock(const QString& path, int waitMs)
{
    m_path = path;
    m_key = QFileInfo(path).absoluteFilePath() + QStringLiteral(".lock");
    // Two names of one file (another case on Windows) share one lock within this process too.
    m_heldKey = platform::PathKey(m_key);
    {
        QMutexLocker guard(&g_heldMutex);
        auto it = g_held.find(m_heldKey);
        if (it != g_held.end() && it->thread == QThread::currentThreadId()) {
            ++it->depth;
            m_locked = m_nested = true;
            return;
        }
    }
    // Saves hold the lock for a few milliseconds: poll in short, growing steps.
    QDeadlineTimer deadline(waitMs);
    int pause = 1;
    bool tookOver = false;
    for (;;) {
        const Created c = createLock(m_key);
        if (c == Created::Yes)
            break;
        if (c == Created::Failed) {
            m_failure = IoError::cannotWrite(path).message();
            return;
        }
        const Seen seen = inspect(m_key, m_heldKey);
        if (!seen.exists && !deadline.hasExpired())
            continue;  // released a moment ago
        if (seen.abandoned && removeAbandoned(m_key, seen)) {
            tookOver = true;
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
    m_locked = true;
    QMutexLocker guard(&g_heldMutex);
    g_leftBehind.remove(m_heldKey);
    g_held.insert(m_heldKey, HeldLock{QThread::currentThreadId(), 1, tookOver});
}

FileLock::~FileLock()
{
    if (!m_locked)
        return;
    {
        QMutexLocker guard(&g_heldMutex);
        auto it = g_held.find(m_heldKey);
        if (m_nested) {
            if (it != g_held.end())
                --it->depth;
            return;
        }
        if (it != g_held.end())
            g_held.erase(it);
    }
    // Left behind only when the share keeps refusing: this process's next save of the file then
    // takes it over at once, other computers' once it is stale.
    if (!unlinkClosed(m_key)) {
        QMutexLocker guard(&g_heldMutex);
        g_leftBehind.insert(m_heldKey);
    }
}

bool FileLock::takeTookOver()
{
    if (!m_locked)
        return false;
    QMutexLocker guard(&g_heldMutex);
    auto it = g_held.find(m_heldKey);
    return it != g_held.end() && std::exchange(it->tookOver, false);
}

void FileLock::throwIfNotLocked() const
{
    if (m_locked)
        return;
    if (m_busy)
        throw FileBusyError(m_path);
    throw IoError(m_failure);
}

}  // namespace qv
