#pragma once
// A clinic's backup: every patient file of Análises/ and Stats.cef in one dated, compressed tar
// archive (libarchive), and the restore from one.

#include "records/IoError.h"

#include <QDate>
#include <QString>

#include <functional>

namespace qv {

// "Quorvel-2026-12-09.tar.gz".
QString BackupFileName(const QDate& date);

struct BackupSummary {
    int files = 0;
    qint64 bytes = 0;  // of the files, before compression
};

// Writes Análises/ (with its subfolders; lock and temporary files left out) and Stats.cef of
// the working folder `work` into a gzip-compressed tar at `archivePath`, then reads the archive
// back and compares every file with what was written. Only a verified archive is put in place;
// on any failure nothing is left at `archivePath` beyond what was there. Throws IoError.
BackupSummary WriteBackup(const QString& work, const QString& archivePath);

struct RestoreSummary {
    int restored = 0;  // missing here, written from the archive
    int replaced = 0;  // different here, replaced after a Yes
    int kept = 0;      // different here, kept after a No
    int same = 0;      // already identical
};

// Asked once per file that exists with other content than the archive's ("Análises/ANA.pln"):
// true replaces it.
using ReplaceQuestion = std::function<bool(const QString& relativePath)>;

// Reads the whole archive first: a damaged or cut archive, or one holding anything but
// Stats.cef and files under Análises/, restores nothing and throws IoError saying why. Then
// each missing file is created whole (0600; Análises/ is created 0700 when missing), a file
// that differs is replaced only when `replace` says so, and an identical one is left alone.
RestoreSummary RestoreBackup(const QString& archivePath, const QString& work, const ReplaceQuestion& replace);

}  // namespace qv
