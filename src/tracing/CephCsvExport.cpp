#include "tracing/CephCsvExport.h"

#include "platform/Dialogs.h"
#include "records/FileIo.h"
#include "analysis/TracingFile.h"
#include "tracing/CephCsvFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace qv {

using platform::NoticeKind;

QString CephCsvFileName(const QString& patient)
{
    return patient.isEmpty() ? QStringLiteral("cefalometria-todos.csv") : patient + QStringLiteral("-cefalometria.csv");
}

QString WithCsvSuffix(const QString& path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".csv");
}

QString ExportCephCsv(platform::Dialogs& dialogs, const QString& folder, const QString& patient, const QString& caption,
                      bool enableAfter, const std::optional<CephCsvRow>& onScreen)
{
    // Every analysis offered, the clinic's own included, in the columns.
    const auto catalogue = CurrentAnalyses();
    CephCsvFiles files;
    {
        // Every patient's tracings take a moment on a large folder.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        files = ReadCephCsvRows(*catalogue, folder, patient);
        QGuiApplication::restoreOverrideCursor();
    }
    if (onScreen) {
        // What the clinician sees, not what was last saved: in place of that stage's row, in stage order.
        const auto stageOf = [](const CephCsvRow& r) { return CephStageWords().indexOf(r.stage); };
        std::erase_if(files.rows, [&](const CephCsvRow& r) { return r.patient == onScreen->patient && r.stage == onScreen->stage; });
        files.skipped.removeAll(QFileInfo(TracingFileName(onScreen->patient, onScreen->stage)).fileName());
        const auto at = std::find_if(files.rows.begin(), files.rows.end(), [&](const CephCsvRow& r) {
            return r.patient == onScreen->patient && stageOf(r) > stageOf(*onScreen);
        });
        files.rows.insert(at, *onScreen);
    }
    const QString skipped = files.skipped.join(QStringLiteral(", "));
    if (files.rows.empty()) {
        QString text = patient.isEmpty() ? QStringLiteral("Nenhum traçado foi encontrado na pasta das análises!")
                                         : QStringLiteral("Nenhum traçado de %1 foi encontrado na pasta das análises!").arg(patient);
        if (!files.skipped.isEmpty())
            text = QStringLiteral("Nenhum traçado pôde ser lido: %1.").arg(skipped);
        dialogs.ShowNotice(NoticeKind::Warning, text, caption, enableAfter);
        return {};
    }
    QString path = dialogs.SaveFile({QStringLiteral("Exportar medidas cefalométricas"), CephCsvFileName(patient),
                                     QStringLiteral("Planilha CSV|*.csv")});
    if (path.isEmpty()) {
        dialogs.setHideItemEnabled(enableAfter);
        return {};
    }
    path = WithCsvSuffix(path);
    try {
        // Patients' measures: readable by their owner only, also when this replaces a file others
        // could read (a replacement would otherwise keep the old file's permissions).
        constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
        if (QFileInfo::exists(path) && !QFile::setPermissions(path, kPrivate))
            throw IoError::cannotWrite(path);
        ReplaceFileBytes(path, CephCsv(files.rows, *catalogue));
        if (!QFile::setPermissions(path, kPrivate))
            throw IoError::cannotWrite(path);
    } catch (const IoError& e) {
        dialogs.ShowFailure(e.message());
        dialogs.setHideItemEnabled(enableAfter);
        return {};
    }
    QString text = QStringLiteral("Medidas de %1 %2 exportadas em \"%3\".")
                       .arg(files.rows.size())
                       .arg(files.rows.size() == 1 ? QStringLiteral("fase") : QStringLiteral("fases"))
                       .arg(QDir::toNativeSeparators(path));
    if (!files.skipped.isEmpty())
        text += QStringLiteral("\rNão puderam ser lidos e ficaram de fora: %1.").arg(skipped);
    dialogs.ShowNotice(NoticeKind::Information, text, caption, enableAfter);
    return path;
}

}  // namespace qv
