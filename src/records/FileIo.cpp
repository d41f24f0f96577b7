#include "records/FileIo.h"

#include "platform/FileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QRegularExpression>

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
    return hook ? hook(fd) : platform::FlushData(fd);
}

int closeFd(int fd)
{
    const auto& hook = FileIoHooksForTesting().close;
    return hook ? hook(fd) : platform::CloseFile(fd);
}

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
// every writer of the file holds it while its temporary file exists, so any found are dead: all
// of them when the lock was just taken over from a dead program, those a minute old otherwise (a
// crash may leave no lock behind, and on a share that keeps no exclusive create a minute is far
// beyond any save in progress). The folder is asked for this file's names only.
void removeLeftoversOf(const QString& target, bool tookOver)
{
    const QFileInfo info(target);
    platform::RemoveFile(info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".tmp")));
    const QRegularExpression mine = temporaryFilesOf(info.fileName());
    const QDateTime aMinuteAgo = QDateTime::currentDateTime().addSecs(-60);
    const QFileInfoList candidates = info.dir().entryInfoList({u'.' + info.fileName() + QStringLiteral(".*.tmp")},
                                                              QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : candidates)
        if (mine.match(e.fileName()).hasMatch() && (tookOver || e.lastModified() < aMinuteAgo))
            platform::RemoveFile(e.filePath());
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
QString writeTemporary(const QString& path, const QString& target, const QByteArray& bytes,
                       const platform::FileStatus* keep)
{
    const QFileInfo info(target);
    sweepFolderOnce(info.absolutePath());
    QString tmp;
    int fd = -1;
    platform::Outcome created = platform::Outcome::Failed;
    for (int attempt = 0; attempt < 10; ++attempt) {
        tmp = info.dir().filePath(u'.' + info.fileName() + u'.' + randomSuffix() + QStringLiteral(".tmp"));
        created = platform::CreateNew(tmp, platform::Readers::Owner, &fd);
        if (created != platform::Outcome::Exists)
            break;
    }
    if (created != platform::Outcome::Done)
        throw IoError::cannotWrite(path);
    if (keep)
        platform::CopyPermissions(fd, *keep);
    bool ok = platform::WriteAll(fd, bytes);
    if (ok && dataSync(fd) != 0)
        ok = false;
    // A network file system reports a lost write at close: it counts as much as the write.
    if (closeFd(fd) != 0)
        ok = false;
    if (!ok) {
        platform::RemoveFile(tmp);
        throw IoError::cannotWrite(path);
    }
    return tmp;
}

// Refuses a file name the system cannot hold before anything is written.
void checkName(const QString& path)
{
    const QString problem = platform::FileNameProblem(QFileInfo(path).fileName());
    if (!problem.isEmpty())
        throw IoError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2. Nada foi gravado.").arg(path, problem));
}

// What a failed move tells the clinician: a file another program keeps open is named as such.
[[noreturn]] void throwMoveFailure(platform::Outcome o, const QString& path)
{
    if (o == platform::Outcome::Busy)
        throw FileInUseError(path);
    throw IoError::cannotWrite(path);
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
    checkName(path);
    FileLock lock(path);
    lock.throwIfNotLocked();
    const QString target = placeOf(path);
    const platform::FileStatus old = platform::StatusOf(target);
    if (old.exists && (!old.regular || !old.writable))
        throw IoError::cannotWrite(path);
    removeLeftoversOf(target, lock.takeTookOver());
    const QString tmp = writeTemporary(path, target, bytes, old.exists ? &old : nullptr);
    const platform::Outcome moved = platform::ReplaceWith(tmp, target);
    if (moved != platform::Outcome::Done) {
        platform::RemoveFile(tmp);
        throwMoveFailure(moved, path);
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
    const platform::FileStatus s = platform::StatusOf(path);
    return s.exists && s.regular;
}

void WriteNewFileBytes(const QString& path, const QByteArray& bytes)
{
    checkName(path);
    FileLock lock(path);
    lock.throwIfNotLocked();
    if (QFileInfo::exists(path))
        throw FileExistsError(path);
    removeLeftoversOf(path, lock.takeTookOver());
    const QString tmp = writeTemporary(path, path, bytes, nullptr);
    switch (const platform::Outcome placed = platform::PlaceNew(tmp, path)) {
    case platform::Outcome::Done:
        checkPlaced(path, path, bytes);
        return;
    case platform::Outcome::Exists:
        platform::RemoveFile(tmp);
        throw FileExistsError(path);
    default:
        platform::RemoveFile(tmp);
        throwMoveFailure(placed, path);
    }
}

}  // namespace qv
