#include "records/Backup.h"

#include "records/FileIo.h"
#include "records/LibArchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QMap>
#include <QScopeGuard>


#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

const QString kAnalyses = QStringLiteral("Análises");
const QString kStats = QStringLiteral("Stats.cef");
// The last entry: the SHA-256 of every file, in sha256sum's format. libarchive does not check
// gzip's own CRC, so without it a changed byte could pass for a whole archive.
const QString kManifest = QStringLiteral("Quorvel.sha256");

// Why an archive cannot be restored or verified.
struct Damage {
    QString why;
};

// libarchive, or IoError when it cannot be opened.
const LibArchive& lib()
{
    QString why;
    if (const LibArchive* la = OpenLibArchive(&why))
        return *la;
    throw IoError(QStringLiteral("Erro de entrada/saída: a biblioteca libarchive, que grava e lê as cópias de "
                                 "segurança, não pôde ser aberta (%1).").arg(why));
}

QString archiveError(archive* a)
{
    const LibArchive& la = lib();
    const char* e = la.archive_error_string(a);
    return e ? QString::fromLocal8Bit(e) : QStringLiteral("erro desconhecido");
}

bool isLeftover(const QString& fileName) { return IsTemporaryFileName(fileName) || fileName.endsWith(QLatin1String(".lock")); }

// What a backup may hold: Stats.cef, and files under Análises/ whose every step is a plain name.
bool isBackupPath(const QString& rel)
{
    if (rel == kStats)
        return true;
    if (!rel.startsWith(kAnalyses + u'/'))
        return false;
    const QStringList parts = rel.mid(kAnalyses.size() + 1).split(u'/');
    for (const QString& p : parts)
        if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String("..") || isLeftover(p))
            return false;
    return true;
}

QStringList filesToSave(const QString& work)
{
    const QDir root(work);
    QStringList files;
    if (QFileInfo(root.filePath(kStats)).isFile())
        files << kStats;
    QDirIterator it(root.filePath(kAnalyses), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!isLeftover(it.fileName()))
            files << root.relativeFilePath(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Reads every entry of the archive, handing each file to `take`; throws Damage on anything
// libarchive finds wrong, up to the end of the compressed stream.
void readArchive(const QString& path, const std::function<void(const QString&, const QByteArray&)>& take)
{
    const LibArchive& la = lib();
    archive* a = la.archive_read_new();
    const auto guard = qScopeGuard([a, &la] { la.archive_read_free(a); });
    la.archive_read_support_filter_gzip(a);
    la.archive_read_support_format_tar(a);
    if (la.archive_read_open_filename(a, QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK)
        throw Damage{archiveError(a)};
    archive_entry* entry = nullptr;
    for (;;) {
        const int r = la.archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r != ARCHIVE_OK)
            throw Damage{archiveError(a)};
        // Names are stored as their UTF-8 bytes whatever the locale (see WriteBackup).
        const char* name = la.archive_entry_pathname(entry);
        const QString rel = name ? QString::fromUtf8(name) : QString();
        if (la.archive_entry_filetype(entry) == AE_IFDIR) {
            const QString folder = rel.endsWith(u'/') ? rel.chopped(1) : rel;
            if (folder != kAnalyses && !isBackupPath(folder))
                throw Damage{QStringLiteral("contém \"%1\", que não é um arquivo do Quorvel").arg(rel)};
            continue;
        }
        if (la.archive_entry_filetype(entry) != AE_IFREG || !(isBackupPath(rel) || rel == kManifest))
            throw Damage{QStringLiteral("contém \"%1\", que não é um arquivo do Quorvel").arg(rel)};
        QByteArray bytes;
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t n = la.archive_read_data(a, buffer, sizeof buffer);
            if (n < 0)
                throw Damage{archiveError(a)};
            if (n == 0)
                break;
            bytes.append(buffer, qsizetype(n));
        }
        if (la.archive_entry_size_is_set(entry) && bytes.size() != la.archive_entry_size(entry))
            throw Damage{QStringLiteral("o arquivo \"%1\" está incompleto").arg(rel)};
        take(rel, bytes);
    }
}

QByteArray digest(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

QByteArray manifest(const QMap<QString, QByteArray>& digests)
{
    QByteArray out;
    for (auto it = digests.cbegin(); it != digests.cend(); ++it)
        out += it.value().toHex() + "  " + it.key().toUtf8() + '\n';
    return out;
}

// Reads the whole archive and checks every file against the list at its end; gives the
// files' digests. Throws Damage.
QMap<QString, QByteArray> checkedDigests(const QString& path)
{
    QMap<QString, QByteArray> digests;
    QByteArray listed;
    bool haveList = false;
    readArchive(path, [&](const QString& rel, const QByteArray& bytes) {
        if (haveList)
            throw Damage{QStringLiteral("há arquivos depois da lista de conferência")};
        if (rel == kManifest) {
            listed = bytes;
            haveList = true;
        } else
            digests.insert(rel, digest(bytes));
    });
    if (!haveList)
        throw Damage{QStringLiteral("falta a lista de conferência \"%1\"").arg(kManifest)};
    if (listed != manifest(digests))
        throw Damage{QStringLiteral("o conteúdo não confere com a lista de conferência")};
    return digests;
}

// Creates the folders of `rel` below `work` that are missing, private to their owner.
void makeFolders(const QString& work, const QString& rel)
{
    QString path = work;
    const QStringList parts = rel.split(u'/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += u'/' + parts[i];
        if (!QFileInfo(path).isDir() && ::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
            throw IoError::cannotWrite(path);
    }
}

}  // namespace

QString BackupFileName(const QDate& date)
{
    return QStringLiteral("Quorvel-%1.tar.gz").arg(date.toString(QStringLiteral("yyyy-MM-dd")));
}

BackupSummary WriteBackup(const QString& work, const QString& archivePath)
{
    const LibArchive& la = lib();  // before anything is written
    const QStringList files = filesToSave(work);
    const QDir root(work);
    // Written beside the chosen place and renamed there once verified; private, like what it holds.
    const QString part = archivePath + QStringLiteral(".part");
    const QByteArray partName = QFile::encodeName(part);
    ::unlink(partName.constData());
    const int fd = ::open(partName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw IoError(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\".").arg(archivePath));
    bool closed = false;
    const auto dropPart = qScopeGuard([&] {
        if (!closed)
            ::close(fd);
        ::unlink(partName.constData());
    });
    const auto failed = [&](const QString& why) {
        return IoError(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\": %2").arg(archivePath, why));
    };

    BackupSummary summary;
    QMap<QString, QByteArray> written;
    {
        archive* a = la.archive_write_new();
        const auto guard = qScopeGuard([a, &la] { la.archive_write_free(a); });
        la.archive_write_add_filter_gzip(a);
        la.archive_write_set_format_pax_restricted(a);
        // Names go in as UTF-8 bytes, untouched: libarchive's conversions follow the process
        // locale, which may be "C" and cannot hold "Análises".
        la.archive_write_set_format_option(a, "pax", "hdrcharset", "BINARY");
        if (la.archive_write_open_fd(a, fd) != ARCHIVE_OK)
            throw failed(archiveError(a));
        const auto add = [&](const QString& rel, const QByteArray& bytes, qint64 mtime) {
            archive_entry* entry = la.archive_entry_new();
            const auto freeEntry = qScopeGuard([entry, &la] { la.archive_entry_free(entry); });
            la.archive_entry_set_pathname(entry, rel.toUtf8().constData());
            la.archive_entry_set_filetype(entry, AE_IFREG);
            la.archive_entry_set_perm(entry, 0600);
            la.archive_entry_set_size(entry, bytes.size());
            la.archive_entry_set_mtime(entry, time_t(mtime), 0);
            if (la.archive_write_header(a, entry) != ARCHIVE_OK
                || la.archive_write_data(a, bytes.constData(), size_t(bytes.size())) != bytes.size())
                throw failed(archiveError(a));
        };
        for (const QString& rel : files) {
            const QString path = root.filePath(rel);
            const QByteArray bytes = ReadFileBytes(path);
            add(rel, bytes, QFileInfo(path).lastModified().toSecsSinceEpoch());
            written.insert(rel, digest(bytes));
            ++summary.files;
            summary.bytes += bytes.size();
        }
        add(kManifest, manifest(written), QDateTime::currentSecsSinceEpoch());
        if (la.archive_write_close(a) != ARCHIVE_OK)
            throw failed(archiveError(a));
    }
    closed = true;
    const bool synced = ::fdatasync(fd) == 0;
    if (::close(fd) != 0 || !synced)
        throw failed(QStringLiteral("erro ao concluir a gravação"));

    // Read back: the archive must give every file, unchanged, and nothing else.
    QMap<QString, QByteArray> read;
    try {
        read = checkedDigests(part);
    } catch (const Damage& d) {
        throw failed(QStringLiteral("a cópia lida de volta não confere (%1)").arg(d.why));
    }
    if (read != written)
        throw failed(QStringLiteral("a cópia lida de volta não confere com os arquivos"));
    if (::rename(partName.constData(), QFile::encodeName(archivePath).constData()) != 0)
        throw failed(QString::fromLocal8Bit(std::strerror(errno)));
    return summary;
}

RestoreSummary RestoreBackup(const QString& archivePath, const QString& work, const ReplaceQuestion& replace)
{
    const auto damaged = [&](const QString& why) {
        return IoError(QStringLiteral("A cópia de segurança \"%1\" não pode ser restaurada: %2. Nada foi restaurado.")
                           .arg(archivePath, why));
    };
    qsizetype files = 0;
    try {
        files = checkedDigests(archivePath).size();
    } catch (const Damage& d) {
        throw damaged(d.why);
    }
    if (files == 0)
        throw damaged(QStringLiteral("ela não contém nenhum arquivo"));

    RestoreSummary summary;
    const QDir root(work);
    try {
        readArchive(archivePath, [&](const QString& rel, const QByteArray& bytes) {
            if (rel == kManifest)
                return;
            const QString path = root.filePath(rel);
            if (!QFileInfo::exists(path)) {
                makeFolders(work, rel);
                try {
                    WriteNewFileBytes(path, bytes);
                    ++summary.restored;
                    return;
                } catch (const FileExistsError&) {
                    // made a moment ago by another computer: compared below like any other
                }
            }
            // Asked without holding the file's lock: a question may wait for a long time.
            if (ReadFileBytes(path) == bytes)
                ++summary.same;
            else if (replace && replace(rel)) {
                ReplaceFileBytes(path, bytes);
                ++summary.replaced;
            } else
                ++summary.kept;
        });
    } catch (const Damage& d) {
        // The archive changed between the two readings.
        throw IoError(QStringLiteral("A cópia de segurança \"%1\" deixou de ser legível durante a restauração: %2.")
                          .arg(archivePath, d.why));
    }
    return summary;
}

}  // namespace qv
