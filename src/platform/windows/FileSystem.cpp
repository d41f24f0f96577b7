#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// Paths go to the wide-character calls with the "\\?\" prefix: any Unicode name ("Análises",
// "Consultório.ini", accented patients) and paths longer than MAX_PATH (260) work alike, and
// Windows takes the name literally (no device names, no dots or spaces dropped).

namespace qv::platform {

namespace {

std::wstring longPath(const QString& path)
{
    QString p = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (p.startsWith(QLatin1String("\\\\?\\")))
        return p.toStdWString();
    if (p.startsWith(QLatin1String("\\\\")))
        p = QStringLiteral("\\\\?\\UNC\\") + p.mid(2);
    else
        p = QStringLiteral("\\\\?\\") + p;
    return p.toStdWString();
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// Errors that mean another program (an antivirus scanning a new file, a backup agent, another
// computer reading it over the network) holds the file for now.
bool heldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED
           || error == ERROR_USER_MAPPED_FILE || error == ERROR_DELETE_PENDING;
}

// Tries `call` while the file is held, for about two seconds: such holds last milliseconds,
// a file open in another program for good is reported as busy.
template <typename Call>
Outcome retried(Call call, bool denyIsFinal)
{
    DWORD error = 0;
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (call())
            return Outcome::Done;
        error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return Outcome::Exists;
        if (!heldByAnother(error) || (denyIsFinal && error == ERROR_ACCESS_DENIED && attempt > 4))
            return Outcome::Failed;
        QThread::msleep(attempt < 10 ? 10 : 60);
    }
    return Outcome::Busy;
}

}  // namespace

FileStatus StatusOf(const QString& path)
{
    FileStatus s;
    // Opened for its attributes only (which no sharing mode refuses), following links.
    const HANDLE h = ::CreateFileW(longPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        s.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
        return s;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = ::GetFileInformationByHandle(h, &info) && ::GetFileType(h) == FILE_TYPE_DISK;
    ::CloseHandle(h);
    s.exists = true;
    if (!known)
        return s;
    s.regular = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    s.writable = !(info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    s.mode = s.writable ? 0666 : 0444;
    return s;
}

Outcome CreateNew(const QString& path, Readers readers, int* fd)
{
    // Who may read it is the folder's access list: the working folder lies in the user's own
    // documents, and on a server the share's permissions govern.
    Q_UNUSED(readers);
    *fd = -1;
    const HANDLE h = ::CreateFileW(longPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Outcome::Exists : Outcome::Failed;
    }
    *fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (*fd < 0) {
        ::CloseHandle(h);
        ::DeleteFileW(longPath(path).c_str());
        return Outcome::Failed;
    }
    return Outcome::Done;
}

int OpenForReading(const QString& path)
{
    const HANDLE h = ::CreateFileW(longPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0)
        ::CloseHandle(h);
    return fd;
}

void CopyPermissions(int, const FileStatus&)
{
    // A replacement inherits the folder's access list, as the file it replaces did.
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 24));
        if (!::WriteFile(handleOf(fd), p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        left -= written;
    }
    return true;
}

int FlushData(int fd)
{
    if (::FlushFileBuffers(handleOf(fd)))
        return 0;
    errno = EIO;
    return -1;
}

int CloseFile(int fd) { return ::_close(fd); }

bool RemoveFile(const QString& path)
{
    const std::wstring name = longPath(path);
    const Outcome o = retried([&] {
        if (::DeleteFileW(name.c_str()))
            return true;
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }, true);
    return o == Outcome::Done;
}

Outcome ReplaceWith(const QString& from, const QString& to)
{
    const std::wstring source = longPath(from);
    const std::wstring target = longPath(to);
    return retried([&] {
        return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }, false);
}

Outcome PlaceNew(const QString& from, const QString& to)
{
    const std::wstring source = longPath(from);
    const std::wstring target = longPath(to);
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists, on a local disk
    // and over SMB alike (the server carries out the check).
    const Outcome o = retried([&] { return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0; },
                              false);
    return o;
}

bool MakePrivateFolder(const QString& path)
{
    return ::CreateDirectoryW(longPath(path).c_str(), nullptr) != 0
           || (::GetLastError() == ERROR_ALREADY_EXISTS && QFileInfo(path).isDir());
}

QString LastErrorText() { return qt_error_string(int(::GetLastError())); }

QString FileNameProblem(const QString& fileName)
{
    if (fileName.isEmpty() || fileName == u'.' || fileName == QLatin1String(".."))
        return QStringLiteral("não é um nome de arquivo");
    for (const QChar c : fileName)
        if (c.unicode() < 32 || QStringLiteral("<>:\"/\\|?*").contains(c))
            return QStringLiteral("o Windows não aceita o caractere \"%1\" em nomes de arquivo").arg(c);
    if (fileName.endsWith(u'.') || fileName.endsWith(u' '))
        return QStringLiteral("o Windows não aceita nomes de arquivo terminados em ponto ou espaço");
    // A device name is reserved with any extension: "CON.bol" is the console, not a file.
    const QString base = fileName.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i)
            names << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        return names;
    }();
    if (devices.contains(base))
        return QStringLiteral("\"%1\" é um nome reservado do Windows").arg(base);
    return QString();
}

QString PathKey(const QString& absolutePath) { return QDir::cleanPath(absolutePath).toCaseFolded(); }

QByteArray ProgramOf(qint64 pid)
{
    const HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return QByteArray();
    wchar_t buffer[32768];
    DWORD size = DWORD(std::size(buffer));
    QByteArray name;
    if (::QueryFullProcessImageNameW(h, 0, buffer, &size))
        name = QString::fromWCharArray(buffer, int(size)).section(u'\\', -1).toUtf8();
    ::CloseHandle(h);
    return name;
}

QString OwnWorkingFolder()
{
    const QString home = qEnvironmentVariable("QUORVEL_HOME");
    if (!home.isEmpty())
        return home;
    // The folder the clinic's computers share, as the installer was told.
    const QSettings installed(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Quorvel"), QSettings::Registry64Format);
    const QString shared = installed.value(QStringLiteral("PastaDeTrabalho")).toString();
    if (!shared.isEmpty())
        return shared;
    // The Documents known folder, wherever and however named it is.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("Quorvel"));
}

bool ProcessAlive(qint64 pid)
{
    const HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return ::GetLastError() == ERROR_ACCESS_DENIED;  // exists, but is another user's
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    ::CloseHandle(h);
    return running;
}

}  // namespace qv::platform
