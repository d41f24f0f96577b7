#pragma once
// Whole-file reads, whole-file writes and the lock beside a file, shared by every file of the
// program. The analyses folder may be a share that several computers write to at once.
//
// Writing a patient file:
//  - Every write goes through a temporary file in the same folder (".<name>.tmp", hidden),
//    written, synced (fdatasync) and closed before it is put in place: a process killed at any
//    moment leaves the old file or the new one, never a cut one. A failed sync or close is an
//    IoError and the old file stays.
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
#include <memory>

class QLockFile;

namespace qv {

// How long a save waits for another computer's save of the same file before giving up.
inline constexpr int kFileLockWaitMs = 2000;
// A lock older than this whose owner cannot be asked (another computer) is taken over. It must
// exceed the longest save and the clock difference between the computers.
inline constexpr int kStaleLockMs = 30000;

// Reads at least `minimum` bytes of the file (all of it when minimum < 0); throws IoError.
QByteArray ReadFileBytes(const QString& path, qsizetype minimum = -1);

// Reads the first `size` bytes of a file of fixed records, leaving the rest unread however
// large the file is; throws IoError, also when the file is shorter.
QByteArray ReadFileHead(const QString& path, qsizetype size);

// Replaces the file's content (creating it, 0600, when missing) through a temporary file
// renamed over it (over the file a link points to, keeping the link). Takes the file's lock. Throws IoError (FileBusyError when the lock is held
// elsewhere); the old content stays on every failure.
void ReplaceFileBytes(const QString& path, const QByteArray& bytes);

// Creates the file whole, replacing nothing. Takes the file's lock. Throws FileExistsError when
// the file exists (also when another computer created it a moment ago), IoError otherwise.
void WriteNewFileBytes(const QString& path, const QByteArray& bytes);

// The lock beside a file: "<path>.lock", a QLockFile. It serialises the writers of the file
// across processes and, on a shared folder, across computers. A lock whose owner died is taken
// over: at once when the owner ran on this computer, after kStaleLockMs when it ran elsewhere.
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

private:
    QString m_path;
    QString m_key;
    std::unique_ptr<QLockFile> m_file;
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

// Removes from the folder the temporary files crashes left, once they are a minute old: this
// program's own and those of older versions. The writers call it once per folder and run; a
// leftover of the file being saved is replaced by that save at once.
void RemoveStaleTemporaryFiles(const QString& folder);
// True for a name this program (or an older version of it) gives its temporary files; lists
// of patient files leave them out.
bool IsTemporaryFileName(const QString& fileName);

// Fault injection for tests: when set, called instead of fdatasync(2) / close(2).
struct FileIoHooks {
    std::function<int(int fd)> datasync;
    std::function<int(int fd)> close;
};
FileIoHooks& FileIoHooksForTesting();

}  // namespace qv
