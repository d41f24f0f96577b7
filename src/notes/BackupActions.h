#pragma once
// The File menu's "Cópia de Segurança..." and "Restaurar Cópia...": the clinician picks the
// archive, the boxes report what happened. Both work on the working folder.

#include <QDate>

namespace qv::platform {
class Dialogs;
}

namespace qv {

inline constexpr char kBackupCaption[] = "Cópia de Segurança";
inline constexpr char kRestoreCaption[] = "Restaurar Cópia";

// Asks where to write today's archive (offering BackupFileName(today)), writes and verifies it.
void MakeBackup(platform::Dialogs& dialogs, const QDate& today = QDate::currentDate());

// Asks for an archive and restores it; a file that differs from the archive's is replaced only
// after a Yes to the question naming it.
void RestoreFromBackup(platform::Dialogs& dialogs);

}  // namespace qv
