#include "notes/BackupActions.h"

#include "platform/Dialogs.h"
#include "records/Backup.h"
#include "records/IoError.h"

#include <QDir>

namespace qv {

using platform::Answer;
using platform::NoticeKind;

namespace {

const QString kFilter = QStringLiteral("Cópia de Segurança do Quorvel|*.tar.gz");

}  // namespace

void MakeBackup(platform::Dialogs& dialogs, const QDate& today)
{
    const QString caption = QString::fromUtf8(kBackupCaption);
    const QString path = dialogs.SaveFile({caption, BackupFileName(today), kFilter});
    if (path.isEmpty())
        return;
    try {
        const BackupSummary s = WriteBackup(QDir::currentPath(), path);
        dialogs.ShowNotice(NoticeKind::Information,
                           QStringLiteral("Cópia de segurança gravada e conferida com sucesso!\r\r%1 arquivo(s) em \"%2\".")
                               .arg(s.files)
                               .arg(QDir::toNativeSeparators(path)),
                           caption);
    } catch (const IoError& e) {
        dialogs.ShowFailure(e.message());
    }
}

void RestoreFromBackup(platform::Dialogs& dialogs)
{
    const QString caption = QString::fromUtf8(kRestoreCaption);
    const QString path = dialogs.OpenFile({QStringLiteral("gz"), kFilter});
    dialogs.setHideItemEnabled(true);  // the open-file dialog leaves it to its caller
    if (path.isEmpty())
        return;
    try {
        const RestoreSummary s = RestoreBackup(path, QDir::currentPath(), [&](const QString& rel) {
            return dialogs.Confirm(QStringLiteral("O arquivo \"%1\" é diferente do que está na cópia de segurança.\r\r"
                                                  "Substituir pelo da cópia?")
                                       .arg(rel))
                   == Answer::Yes;
        });
        dialogs.ShowNotice(NoticeKind::Information,
                           QStringLiteral("Cópia restaurada.\r\rRestaurados: %1\rSubstituídos: %2\rMantidos: %3\rJá iguais: %4")
                               .arg(s.restored)
                               .arg(s.replaced)
                               .arg(s.kept)
                               .arg(s.same),
                           caption);
    } catch (const IoError& e) {
        dialogs.ShowFailure(e.message());
    }
}

}  // namespace qv
