#pragma once
// Whole-file reads, whole-file writes and the lock beside a file, shared by every file of the
// program. The analyses folder may be a share that several computers write to at once.
//
// Writing a patient file:
//  - Every write goes through a temporary file in the same folder (".<name>.<random>.tmp",
//    hidden, unique to the writer), written, synced (fdatasync) and closed before it is put in
//    place: a process killed at any moment leaves the old file or the new one, never a cut one.
//    A failed sync or close is an IoError and the old file stays.
//  - Once in place, the file is read back: a save is done only when the file on disk is the one
//    just written (a share that lets two writers through would otherwise report both as saved).
//  - A new file is linked into place and never replaces one that exists (FileExistsError);
//    it is readable and writable by its owner only (0600). A replacement keeps the old file's
//    permissions.
//  - The writers take the lock beside the file ("<name>.lock", see FileLock) themselves. A
//    decision that depends on the file (does it exist? what does it hold?) must be taken under
//    the same lock, so callers wrap the decision and the write in WithFileLock:
//
//        WithFileLock(path, [&] {
//            if (QFileInfo::exists(path)) ... else WriteNewFileBytes(path, bytes);
//        });
//
//    The lock is reentrant within a thread, so the writers called inside take it again at no cost.

#include "records/IoError.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace qv {

// How long a save waits for another computer's save of the same file before giving up.
inline constexpr int kFileLockWaitMs = 2000;
// A lock older than this whose owner cannot be asked (another computer) is taken over. It must
// exceed the longest save and the clock difference between the computers.
inline constexpr int kStaleLockMs = 30000;
// A lock that cannot be read whole (empty, cut by a crash) and is older than this is taken over,
// whoever wrote it: its owner writes it whole right after creating it.
inline constexpr int kUnreadableLockMs = 1000;

// Reads at least `minimum` bytes of the file (all of it when minimum < 0); throws IoError.
QByteArray ReadFileBytes(const QString& path, qsizetype minimum = -1);

// Reads the first `size` bytes of a file of fixed records, leaving the rest unread however
// large the file is; throws IoError, also when the file is shorter.
QByteArray ReadFileHead(const QString& path, qsizetype size);

// Replaces the file's content (creating it, 0600, when missing) through a temporary file
// renamed over it (over the file a link points to, keeping the link). Takes the file's lock. Throws IoError (FileBusyError when the lock is held
// elsewhere); the old content stays on every failure.
void ReplaceFileBytes(const QString& path, const QByteArray& bytes);

// The same for a file the clinician asked for (an exported report): readable and writable by its
// owner only (0600), also when it replaces a file other people could read.
void SavePrivateFile(const QString& path, const QByteArray& bytes);

// Creates the file whole, replacing nothing. Takes the file's lock. Throws FileExistsError when
// the file exists (also when another computer created it a moment ago), IoError otherwise.
void WriteNewFileBytes(const QString& path, const QByteArray& bytes);

// The lock beside a file: "<path>.lock", created exclusively and holding its owner in
// QLockFile's layout. It serialises the writers of the file across processes and, on a shared
// folder, across computers. A lock whose owner died is taken over: at once when the owner ran on
// this computer, after kStaleLockMs when it ran elsewhere, after kUnreadableLockMs when it
// cannot be read whole.
class FileLock {
public:
    explicit FileLock(const QString& path, int waitMs = kFileLockWaitMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_locked; }
    // Why the lock was not taken: FileBusyError's text when another process holds it, the
    // write error's text when the lock cannot be created at all; empty when locked.
    QString failureText() const { return m_failure; }
    // Throws the failure as an IoError (FileBusyError when held elsewhere); nothing when locked.
    void throwIfNotLocked() const;
    // True once (for the outermost lock and any nested in it) after the lock was taken over from a
    // program that died holding it: its save may have left temporary files of this file.
    bool takeTookOver();

private:
    QString m_path;
    QString m_key;
    QString m_heldKey;
    bool m_locked = false;
    bool m_nested = false;
    bool m_busy = false;
    QString m_failure;
};

// Runs `action` holding the lock beside `path` and returns what it returns. Throws
// FileBusyError (an IoError) before running anything when another process keeps the lock
// past the wait; exceptions of `action` pass through after the lock is released.
template <typename Action>
decltype(auto) WithFileLock(const QString& path, Action&& action)
{
    FileLock lock(path);
    lock.throwIfNotLocked();
    return std::forward<Action>(action)();
}

// True for a regular file (through links): what a patient file may be. A device or a folder in
// its place is never read whole or replaced.
bool IsRegularFile(const QString& path);

// Removes from the folder what crashes left, once a minute old: this program's hidden temporary
// files, and an older version's "<name>.XXXXXX" where it is provably one (see below). The
// writers call it once per folder and run; the leftovers of the file being saved are removed by
// that save at once.
void RemoveStaleTemporaryFiles(const QString& folder);
// True for the hidden names this program gives its temporary files (".<name>.<random>.tmp",
// and ".<name>.tmp" of earlier versions); lists of patient files and backups leave them out.
// Any other name is the clinic's.
bool IsTemporaryFileName(const QString& fileName);
// True for what an older version's QSaveFile left when killed: "<name>.XXXXXX" (six letters),
// empty, beside the file <name> it was replacing. Empty, it holds nothing that could be lost;
// with content it may be anything ("ANA.pln.antigo"), so it is left alone.
bool IsOldVersionLeftover(const QString& path);

// Fault injection for tests: when set, called instead of fdatasync(2) / close(2); `placed` runs
// right after a new file is put in place, before it is read back.
struct FileIoHooks {
    std::function<int(int fd)> datasync;
    std::function<int(int fd)> close;
    std::function<void(const QString& path)> placed;
};
FileIoHooks& FileIoHooksForTesting();

}  // namespace qv
