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

// A list in a box stays readable: the first names, then how many more.
QString listed(const QStringList& lines)
{
    constexpr qsizetype kShown = 15;
    QString text = lines.mid(0, kShown).join(u'\r');
    if (lines.size() > kShown)
        text += QStringLiteral("\r... e mais %1.").arg(lines.size() - kShown);
    return text;
}

QString counts(const RestoreSummary& s)
{
    return QStringLiteral("Restaurados: %1\rSubstituídos: %2\rMantidos: %3\rJá iguais: %4")
        .arg(s.restored)
        .arg(s.replaced)
        .arg(s.kept)
        .arg(s.same);
}

}  // namespace

QString RestoreReport(const RestoreSummary& s, const QString& archive, platform::NoticeKind* kind)
{
    *kind = NoticeKind::Information;
    if (s.interrupted.isEmpty() && s.skipped.isEmpty())
        return QStringLiteral("Cópia restaurada.\r\r") + counts(s);
    *kind = NoticeKind::Warning;
    QString text;
    if (!s.interrupted.isEmpty())
        text = QStringLiteral("A restauração parou antes do fim: a cópia de segurança \"%1\" deixou de ser legível (%2). "
                              "Os arquivos seguintes dela não foram restaurados.\r\rAté ali:\r")
                   .arg(QDir::toNativeSeparators(archive), s.interrupted);
    else
        text = QStringLiteral("Cópia restaurada, exceto %1 arquivo(s).\r\r").arg(s.skipped.size());
    text += counts(s);
    if (!s.skipped.isEmpty()) {
        QStringList lines;
        bool busy = false;
        for (const SkippedFile& f : s.skipped) {
            lines << QStringLiteral("%1: %2").arg(f.path, f.why);
            busy = busy || f.busy;
        }
        text += QStringLiteral("\r\rNão restaurados (%1):\r").arg(s.skipped.size()) + listed(lines);
        if (busy)
            text += QStringLiteral("\r\rRestaure a cópia de novo quando o outro computador terminar: "
                                   "os arquivos já restaurados serão reconhecidos como iguais.");
    }
    return text;
}

void MakeBackup(platform::Dialogs& dialogs, const QDate& today)
{
    const QString caption = QString::fromUtf8(kBackupCaption);
    const QString path = dialogs.SaveFile({caption, BackupFileName(today), kFilter});
    if (path.isEmpty())
        return;
    try {
        const BackupSummary s = WriteBackup(QDir::currentPath(), path);
        QString text = QStringLiteral("Cópia de segurança gravada e conferida com sucesso!\r\r%1 arquivo(s) em \"%2\".")
                           .arg(s.files)
                           .arg(QDir::toNativeSeparators(path));
        if (!s.leftOut.isEmpty())
            text += QStringLiteral("\r\rFicaram de fora (%1), e uma restauração não os terá:\r").arg(s.leftOut.size())
                    + listed(s.leftOut);
        dialogs.ShowNotice(s.leftOut.isEmpty() ? NoticeKind::Information : NoticeKind::Warning, text, caption);
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
        NoticeKind kind = NoticeKind::Information;
        const QString text = RestoreReport(s, path, &kind);
        dialogs.ShowNotice(kind, text, caption);
    } catch (const IoError& e) {
        dialogs.ShowFailure(e.message());
    }
}

}  // namespace qv
