#pragma once
// The File menu's "Cópia de Segurança..." and "Restaurar Cópia...": the clinician picks the
// archive, the boxes report what happened. Both work on the working folder.

#include "platform/Dialogs.h"

#include <QDate>
#include <QString>

namespace qv {

struct RestoreSummary;

inline constexpr char kBackupCaption[] = "Cópia de Segurança";
inline constexpr char kRestoreCaption[] = "Restaurar Cópia";

// Asks where to write today's archive (offering BackupFileName(today)), writes and verifies it.
void MakeBackup(platform::Dialogs& dialogs, const QDate& today = QDate::currentDate());

// Asks for an archive and restores it; a file that differs from the archive's is replaced only
// after a Yes to the question naming it.
void RestoreFromBackup(platform::Dialogs& dialogs);

// What the box after a restore of `archive` says, and its kind: the counts, every file that
// could not be written and why, and where the restore stopped when it did not reach the end.
QString RestoreReport(const RestoreSummary& summary, const QString& archive, platform::NoticeKind* kind);

}  // namespace qv
