#include "records/Backup.h"

#include "records/FileIo.h"
#include "records/LibArchive.h"

#include "platform/FileSystem.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>

#include <algorithm>
#include <cerrno>

namespace qv {

namespace {

const QString kAnalyses = QStringLiteral("Análises");
const QString kStats = QStringLiteral("Stats.cef");
// The clinic's norms and its own analyses (the shipped ones are in the program).
const QString kNorms = QStringLiteral("Normas.json");
const QString kClinicAnalyses = QStringLiteral("Análises Cefalométricas");
// What the program learned from the clinic's tracings: learning it again takes minutes.
const QString kLandmarkModel = QStringLiteral("Modelo de pontos.dat");
// The clinic's letterhead, and where it names its logo (written by the letterhead window).
const QString kLetterhead = QStringLiteral("Consultório.ini");
const QString kLogoKey = QStringLiteral("consultorio/logotipo");
// The last entry: the SHA-256 of every file, in sha256sum's format. libarchive does not check
// gzip's own CRC, so without it a changed byte could pass for a whole archive.
const QString kManifest = QStringLiteral("Quorvel.sha256");

// Why an archive cannot be restored or verified.
struct Damage {
    QString why;
};

QString archiveError(archive* a) { return ArchiveReason(archive_error_string(a)); }

bool isLeftover(const QString& fileName) { return IsTemporaryFileName(fileName) || fileName.endsWith(QLatin1String(".lock")); }

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(u'/')
           && !isLeftover(name);
}

// A logo beside the letterhead: an image the letterhead window can take.
bool isLogoName(const QString& name)
{
    static const QStringList kinds = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                      QStringLiteral("bmp"), QStringLiteral("gif")};
    return isPlainName(name) && kinds.contains(QFileInfo(name).suffix().toLower());
}

// What a backup may hold: Stats.cef, the norms, the letterhead and its logo, the clinic's own
// analyses, and files under Análises/ whose every step is a plain name.
bool isBackupPath(const QString& rel)
{
    if (rel == kStats || rel == kNorms || rel == kLandmarkModel || rel == kLetterhead || isLogoName(rel))
        return true;
    if (rel.startsWith(kClinicAnalyses + u'/'))
        return isPlainName(rel.mid(kClinicAnalyses.size() + 1));
    if (!rel.startsWith(kAnalyses + u'/'))
        return false;
    const QStringList parts = rel.mid(kAnalyses.size() + 1).split(u'/');
    return std::all_of(parts.cbegin(), parts.cend(), isPlainName);
}

// A file to put in the archive under `rel`.
struct Source {
    QString rel;
    QString path;
};

// Where a stored image path leads: a relative one from `base`. One that is gone (saved on
// another computer, restored here) is looked for by its file name in `base`, where a restore
// puts it. Empty when neither exists.
QString resolvedImage(const QString& stored, const QDir& base)
{
    const QFileInfo direct(base.absoluteFilePath(stored));
    if (direct.isFile())
        return direct.absoluteFilePath();
    const QFileInfo fallback(base.absoluteFilePath(direct.fileName()));
    return fallback.isFile() ? fallback.absoluteFilePath() : QString();
}

bool isInside(const QString& path, const QString& folder)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString dir = QFileInfo(folder).canonicalFilePath();
    return !file.isEmpty() && !dir.isEmpty() && file.startsWith(dir + u'/');
}

// The radiograph a tracing file names, or an empty text when it is not a tracing or names none.
QString tracingImage(const QString& path)
{
    try {
        const QJsonDocument doc = QJsonDocument::fromJson(ReadFileBytes(path));
        return doc.object().value(QStringLiteral("image")).toString();
    } catch (const IoError&) {
        return {};  // unreadable: the archive's own read of it reports that
    }
}

class SourceList {
public:
    void add(const QString& rel, const QString& path)
    {
        m_files.insert(rel, path);
        m_taken.insert(QFileInfo(path).canonicalFilePath());
    }
    bool has(const QString& rel) const { return m_files.contains(rel); }

    // A file kept outside the places the archive copies, put in under `rel` unless that name is
    // another file's; then `takenText` goes to the list of what was left out.
    void addOutside(const QString& rel, const QString& path, const QString& takenText)
    {
        if (m_taken.contains(QFileInfo(path).canonicalFilePath()))
            return;
        if (has(rel) || !isBackupPath(rel))
            m_leftOut << takenText;
        else
            add(rel, path);
    }
    void leaveOut(const QString& text) { m_leftOut << text; }

    QList<Source> sources() const
    {
        QList<Source> out;
        for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
            out.append({it.key(), it.value()});
        return out;  // in the order of their names
    }
    const QStringList& leftOut() const { return m_leftOut; }

private:
    QMap<QString, QString> m_files;
    QSet<QString> m_taken;
    QStringList m_leftOut;
};

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

SourceList filesToSave(const QString& work)
{
    const QDir root(work);
    SourceList list;
    for (const QString& rel : {kStats, kNorms, kLandmarkModel, kLetterhead})
        if (QFileInfo(root.filePath(rel)).isFile())
            list.add(rel, root.filePath(rel));
    for (const QFileInfo& own : QDir(root.filePath(kClinicAnalyses)).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!isLeftover(own.fileName()))
            list.add(kClinicAnalyses + u'/' + own.fileName(), own.filePath());
    const QString analyses = root.filePath(kAnalyses);
    QDirIterator it(analyses, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    QStringList tracings;
    while (it.hasNext()) {
        const QString path = it.next();
        if (isLeftover(it.fileName()))
            continue;
        list.add(root.relativeFilePath(path), path);
        if (it.fileName().endsWith(QLatin1String(".tra"), Qt::CaseInsensitive))
            tracings << path;
    }

    // The logo goes in beside the letterhead, under its own name, wherever it is kept.
    if (list.has(kLetterhead)) {
        const QSettings letterhead(root.filePath(kLetterhead), QSettings::IniFormat);
        const QString stored = letterhead.value(kLogoKey).toString().trimmed();
        const QString path = stored.isEmpty() ? QString() : resolvedImage(stored, root);
        if (!stored.isEmpty() && path.isEmpty())
            list.leaveOut(QStringLiteral("O logotipo \"%1\" não foi encontrado.").arg(shown(stored)));
        else if (!path.isEmpty() && !isInside(path, analyses)) {
            const QString rel = QFileInfo(path).fileName();
            list.addOutside(rel, path,
                            QStringLiteral("O logotipo \"%1\" ficou de fora: o nome \"%2\" não é o de uma imagem.")
                                .arg(shown(path), rel));
        }
    }
    // Radiographs outside Análises/ go in beside the tracings, where opening one looks for them.
    std::sort(tracings.begin(), tracings.end());
    for (const QString& tracing : tracings) {
        const QString stored = tracingImage(tracing);
        if (stored.isEmpty())
            continue;
        const QString tra = root.relativeFilePath(tracing);
        const QString path = resolvedImage(stored, QDir(analyses));
        if (path.isEmpty())
            list.leaveOut(
                QStringLiteral("A radiografia \"%1\" do traçado \"%2\" não foi encontrada.").arg(shown(stored), tra));
        else if (!isInside(path, analyses)) {
            const QString rel = kAnalyses + u'/' + QFileInfo(path).fileName();
            list.addOutside(rel, path,
                            QStringLiteral("A radiografia \"%1\" do traçado \"%2\" ficou de fora: já há outro arquivo "
                                           "\"%3\".")
                                .arg(shown(path), tra, rel));
        }
    }
    return list;
}

// Reads every entry of the archive, handing each file to `take` and each folder's name to
// `folder`; throws Damage on anything libarchive finds wrong, up to the end of the compressed
// stream.
void readArchive(const QString& path, const std::function<void(const QString&, const QByteArray&)>& take,
                 const std::function<void(const QString&)>& folder = {})
{
    archive* a = archive_read_new();
    const auto guard = qScopeGuard([a] { archive_read_free(a); });
    archive_read_support_filter_gzip(a);
    archive_read_support_format_tar(a);
    // Opened by the program (a Unicode name on Windows too) and read by libarchive.
    const int fd = platform::OpenForReading(path);
    const auto closeFd = qScopeGuard([fd] {
        if (fd >= 0)
            platform::CloseFile(fd);
    });
    if (fd < 0)
        archive_set_error(a, EIO, "Failed to open '%s'", QFile::encodeName(path).constData());
    if (fd < 0 || archive_read_open_fd(a, fd, 64 * 1024) != ARCHIVE_OK)
        throw Damage{archiveError(a)};
    archive_entry* entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r != ARCHIVE_OK)
            throw Damage{archiveError(a)};
        // Names are stored as their UTF-8 bytes whatever the locale (see WriteBackup).
        const char* name = archive_entry_pathname(entry);
        const QString rel = name ? QString::fromUtf8(name) : QString();
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            const QString name = rel.endsWith(u'/') ? rel.chopped(1) : rel;
            if (name != kAnalyses && name != kClinicAnalyses && !(name.startsWith(kAnalyses + u'/') && isBackupPath(name)))
                throw Damage{QStringLiteral("contém \"%1\", que não é um arquivo do Quorvel").arg(rel)};
            if (folder)
                folder(name);
            continue;
        }
        if (archive_entry_filetype(entry) != AE_IFREG || !(isBackupPath(rel) || rel == kManifest))
            throw Damage{QStringLiteral("contém \"%1\", que não é um arquivo do Quorvel").arg(rel)};
        QByteArray bytes;
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
            if (n < 0)
                throw Damage{archiveError(a)};
            if (n == 0)
                break;
            bytes.append(buffer, qsizetype(n));
        }
        if (archive_entry_size_is_set(entry) && bytes.size() != archive_entry_size(entry))
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

// Reads the whole archive and checks every file against the list at its end, and that no path
// is given twice or both as a file and as a folder; gives the files' digests. Throws Damage.
QMap<QString, QByteArray> checkedDigests(const QString& path)
{
    QMap<QString, QByteArray> digests;
    QSet<QString> folders;
    QByteArray listed;
    bool haveList = false;
    readArchive(
        path,
        [&](const QString& rel, const QByteArray& bytes) {
            if (haveList)
                throw Damage{QStringLiteral("há arquivos depois da lista de conferência")};
            if (digests.contains(rel))
                throw Damage{QStringLiteral("o arquivo \"%1\" aparece duas vezes").arg(rel)};
            if (rel == kManifest) {
                listed = bytes;
                haveList = true;
            } else
                digests.insert(rel, digest(bytes));
        },
        [&](const QString& name) { folders.insert(name); });
    for (auto it = digests.cbegin(); it != digests.cend(); ++it)
        for (qsizetype slash = it.key().indexOf(u'/'); slash >= 0; slash = it.key().indexOf(u'/', slash + 1))
            folders.insert(it.key().left(slash));
    for (const QString& name : std::as_const(folders))
        if (digests.contains(name))
            throw Damage{QStringLiteral("\"%1\" aparece como arquivo e como pasta").arg(name)};
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
        if (!QFileInfo(path).isDir() && !platform::MakePrivateFolder(path))
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
    const SourceList files = filesToSave(work);
    // Written beside the chosen place and renamed there once verified; private, like what it holds.
    const QString part = archivePath + QStringLiteral(".part");
    platform::RemoveFile(part);
    int fd = -1;
    if (platform::CreateNew(part, platform::Readers::Owner, &fd) != platform::Outcome::Done)
        throw IoError(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\".").arg(archivePath));
    bool closed = false;
    const auto dropPart = qScopeGuard([&] {
        if (!closed)
            platform::CloseFile(fd);
        platform::RemoveFile(part);
    });
    const auto failed = [&](const QString& why) {
        return IoError(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\": %2").arg(archivePath, why));
    };

    BackupSummary summary;
    summary.leftOut = files.leftOut();
    QMap<QString, QByteArray> written;
    {
        archive* a = archive_write_new();
        const auto guard = qScopeGuard([a] { archive_write_free(a); });
        archive_write_add_filter_gzip(a);
        archive_write_set_format_pax_restricted(a);
        // Names go in as UTF-8 bytes, untouched: libarchive's conversions follow the process
        // locale, which may be "C" and cannot hold "Análises".
        archive_write_set_format_option(a, "pax", "hdrcharset", "BINARY");
        if (archive_write_open_fd(a, fd) != ARCHIVE_OK)
            throw failed(archiveError(a));
        const auto add = [&](const QString& rel, const QByteArray& bytes, qint64 mtime) {
            archive_entry* entry = archive_entry_new();
            const auto freeEntry = qScopeGuard([entry] { archive_entry_free(entry); });
            archive_entry_set_pathname(entry, rel.toUtf8().constData());
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0600);
            archive_entry_set_size(entry, bytes.size());
            archive_entry_set_mtime(entry, time_t(mtime), 0);
            if (archive_write_header(a, entry) != ARCHIVE_OK
                || archive_write_data(a, bytes.constData(), size_t(bytes.size())) != bytes.size())
                throw failed(archiveError(a));
        };
        for (const auto& [rel, path] : files.sources()) {
            const QByteArray bytes = ReadFileBytes(path);
            add(rel, bytes, QFileInfo(path).lastModified().toSecsSinceEpoch());
            written.insert(rel, digest(bytes));
            ++summary.files;
            summary.bytes += bytes.size();
        }
        add(kManifest, manifest(written), QDateTime::currentSecsSinceEpoch());
        if (archive_write_close(a) != ARCHIVE_OK)
            throw failed(archiveError(a));
    }
    closed = true;
    const bool synced = platform::FlushData(fd) == 0;
    if (platform::CloseFile(fd) != 0 || !synced)
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
    if (platform::ReplaceWith(part, archivePath) != platform::Outcome::Done)
        throw failed(platform::LastErrorText());
    return summary;
}

RestoreSummary RestoreBackup(const QString& archivePath, const QString& work, const ReplaceQuestion& replace)
{
    const auto damaged = [&](const QString& why) {
        return IoError(QStringLiteral("A cópia de segurança \"%1\" não pode ser restaurada: %2. Nada foi restaurado.")
                           .arg(archivePath, why));
    };
    QMap<QString, QByteArray> digests;
    try {
        digests = checkedDigests(archivePath);
    } catch (const Damage& d) {
        throw damaged(d.why);
    }
    if (digests.isEmpty())
        throw damaged(QStringLiteral("ela não contém nenhum arquivo"));

    RestoreSummary summary;
    const QDir root(work);
    const auto restoreOne = [&](const QString& rel, const QByteArray& bytes) {
        const QString path = root.filePath(rel);
        const QFileInfo here(path);
        if (here.isDir())
            throw IoError(QStringLiteral("aqui há uma pasta com esse nome"));
        if (!here.exists() && !here.isSymLink()) {
            makeFolders(work, rel);
            try {
                WriteNewFileBytes(path, bytes);
                ++summary.restored;
                return;
            } catch (const FileExistsError&) {
                // made a moment ago by another computer: compared below like any other
            }
        }
        if (!IsRegularFile(path))
            throw IoError(QStringLiteral("aqui há, com esse nome, algo que não é um arquivo comum"));
        // Asked without holding the file's lock: a question may wait for a long time.
        if (ReadFileBytes(path) == bytes)
            ++summary.same;
        else if (replace && replace(rel)) {
            ReplaceFileBytes(path, bytes);
            ++summary.replaced;
        } else
            ++summary.kept;
    };
    try {
        readArchive(archivePath, [&](const QString& rel, const QByteArray& bytes) {
            if (rel == kManifest)
                return;
            if (digests.value(rel) != digest(bytes))
                throw Damage{QStringLiteral("o arquivo \"%1\" mudou desde a conferência").arg(rel)};
            try {
                restoreOne(rel, bytes);
            } catch (const FileBusyError&) {
                summary.skipped.append({rel, QStringLiteral("está sendo salvo em outro computador"), true});
            } catch (const IoError& e) {
                summary.skipped.append({rel, e.message(), false});
            }
        });
    } catch (const Damage& d) {
        // The archive changed or became unreadable between the check and the restore.
        summary.interrupted = d.why;
    }
    return summary;
}

}  // namespace qv
