#pragma once
// A clinic's backup: every patient file of Análises/, Stats.cef, the letterhead Consultório.ini
// with its logo, and the radiographs the tracings point to, in one dated, compressed tar archive
// (libarchive); and the restore from one.

#include "records/IoError.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace qv {

// "Quorvel-2026-12-09.tar.gz".
QString BackupFileName(const QDate& date);

struct BackupSummary {
    int files = 0;
    qint64 bytes = 0;  // of the files, before compression
    // What a restore would need but the archive could not take, one sentence each: a radiograph
    // or logo that is missing, or whose name another file of Análises/ already has.
    QStringList leftOut;
};

// Writes Análises/ (with its subfolders; lock and temporary files left out), Stats.cef,
// Consultório.ini and the logo it names, of the working folder `work`, into a gzip-compressed
// tar at `archivePath`, then reads the archive back and compares every file with what was
// written. A logo kept outside the working folder goes in under its file name; a radiograph a
// tracing (.tra) points to outside Análises/ goes in as "Análises/<its file name>", where a
// tracing whose stored path is gone looks for it. Only a verified archive is put in place; on
// any failure nothing is left at `archivePath` beyond what was there. Throws IoError.
BackupSummary WriteBackup(const QString& work, const QString& archivePath);

// A file of the archive that could not be written here; the restore went on with the others.
struct SkippedFile {
    QString path;  // as in the archive: "Análises/ANA.pln"
    QString why;
    bool busy = false;  // another computer was saving it
};

struct RestoreSummary {
    int restored = 0;  // missing here, written from the archive
    int replaced = 0;  // different here, replaced after a Yes
    int kept = 0;      // different here, kept after a No
    int same = 0;      // already identical
    QList<SkippedFile> skipped;
    // Why the restore stopped before the end (the archive changed or became unreadable while
    // it was being restored); the counts say what was done before. Empty when it went through.
    QString interrupted;
};

// Asked once per file that exists with other content than the archive's ("Análises/ANA.pln"):
// true replaces it.
using ReplaceQuestion = std::function<bool(const QString& relativePath)>;

// Reads and checks the whole archive first: a damaged or cut archive, one holding anything but
// what a backup holds, a path given twice or both as a file and as a folder, restores nothing
// and throws IoError saying why. Then each missing file is created whole (0600; folders are
// created 0700 when missing), a file that differs is replaced only when `replace` says so, and
// an identical one is left alone. A file that cannot be written here (busy on another computer,
// a folder in its place, a failed write) is skipped and named in the summary, and the others
// are restored.
RestoreSummary RestoreBackup(const QString& archivePath, const QString& work, const ReplaceQuestion& replace);

}  // namespace qv
