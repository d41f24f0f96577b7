#pragma once
// The file-system calls the safe writes, the locks, the backups and the patient index rest on,
// with one promise on Linux and on Windows. Each platform has its own implementation
// (posix/FileSystem.cpp, windows/FileSystem.cpp), chosen by the build.
//
//  - CreateNew creates a file only where nothing is, never through a link (O_EXCL|O_NOFOLLOW;
//    CREATE_NEW), and hands back a descriptor of the C library that the writes, the flush
//    (fdatasync; FlushFileBuffers) and the close take.
//  - ReplaceWith puts a finished file over another in one step (rename; MoveFileExW with
//    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). PlaceNew puts it where nothing is and
//    never replaces a file, whoever made it a moment ago (link, renameat2 RENAME_NOREPLACE;
//    MoveFileExW without MOVEFILE_REPLACE_EXISTING).
//  - On Windows another program (an antivirus, a backup agent, a second computer reading the
//    file) may hold a file for a moment: moves and removals are tried again for a while before
//    they fail, and fail as errors, never silently.

#include <QByteArray>
#include <QString>

#include <functional>

namespace qv::platform {

// Busy: another program holds the file open and would not let it go in time (Windows).
enum class Outcome { Done, Exists, Busy, Failed };

// Who may read a file this program creates: its owner only (patient files, exports), or every
// user of the computer (a lock, which another user's program must be able to read).
enum class Readers { Owner, Everyone };

// The permissions of an existing file, to give a replacement the same ones.
struct FileStatus {
    bool exists = false;
    bool regular = false;   // a plain file, through links; not a folder or a device
    bool writable = false;  // this user may write it (POSIX access; not read-only on Windows)
    unsigned mode = 0;      // permission bits where the system has them
};
FileStatus StatusOf(const QString& path);

// Creates the file exclusively; `fd` receives a descriptor open for writing.
Outcome CreateNew(const QString& path, Readers readers, int* fd);
// Opens an existing file for reading; -1 when it cannot be.
int OpenForReading(const QString& path);
// Gives the open file the permissions of `like` (where the system has permission bits).
void CopyPermissions(int fd, const FileStatus& like);
bool WriteAll(int fd, const QByteArray& bytes);
// Puts the file's data on the disk (fdatasync; FlushFileBuffers).
int FlushData(int fd);
int CloseFile(int fd);

// Removes a file this process does not hold open, trying again while the system (or a share)
// refuses for a moment; true when it is gone.
bool RemoveFile(const QString& path);
Outcome ReplaceWith(const QString& from, const QString& to);
Outcome PlaceNew(const QString& from, const QString& to);
// A folder readable by its owner only, as the working folder's "Análises" is; true when it
// exists afterwards.
bool MakePrivateFolder(const QString& path);

// The system's words for why the last of these calls failed.
QString LastErrorText();

// Why a file name cannot be used on this system ("" when it can): Windows refuses device names
// (CON, NUL, COM1 ...) with any extension and silently drops a final dot or space, so a patient
// named so would be saved under another name, or not at all.
QString FileNameProblem(const QString& fileName);
// A key under which two paths naming the same file are equal: as given on Linux, without
// regard to case on Windows.
QString PathKey(const QString& absolutePath);

// The name of the program a process of this computer runs ("" when it cannot be told), and
// whether that process is still alive.
QByteArray ProgramOf(qint64 pid);
bool ProcessAlive(qint64 pid);

// The working folder the program prepares and enters by itself, "" where something else does.
// On Linux the launcher (packaging/quorvel-launcher.in) prepares ~/Quorvel and starts the program
// there. On Windows the program starts from the Start menu in its own folder and works in the
// user's documents, "Documentos\Quorvel" whatever the language of Windows (or QUORVEL_HOME, a
// folder the clinic shares among its computers).
QString OwnWorkingFolder();

}  // namespace qv::platform
