#include "shell/Startup.h"

#include "analysis/BoltonTable.h"
#include "entry/RealEntry.h"
#include "platform/Dialogs.h"
#include "printing/PrintActions.h"
#include "records/FileIo.h"
#include "records/FolderSafety.h"
#include "records/IoError.h"
#include "records/StatsFile.h"

#include <QFileInfo>

namespace qv {

using platform::NoticeKind;

QString AlreadyRunningText()
{
    return QStringLiteral("                                Já existe uma instância do software sendo executada!\r\r\r"
                          "Caso o software não esteja em execução, algum arquivo necessário à execução pode estar "
                          "corrompido!\r\r"
                          "                                                     Tente reinstalar o software!");
}

QString ResolutionChangeText(const platform::DisplayMode& found)
{
    return QStringLiteral("                         Sua resolução atual é ") + FormatReal(0, 0, found.width)
           + QStringLiteral("x") + FormatReal(0, 0, found.height) + QStringLiteral(" - ")
           + FormatReal(0, 0, found.bitsPerPixel) + QStringLiteral(" bits.") + QStringLiteral("\r")
           + QStringLiteral("A resolução será alterada para 1024x768 - 32 bits para melhor visualização!")
           + QStringLiteral("\r")
           + QStringLiteral("             Após a execução o monitor retornará à resolução original.");
}

StartupResult RunStartup(platform::Dialogs& dialogs, platform::Display& display)
{
    StartupResult result;
    for (const QString& name : {kStatsFile, kBoltonFile, QStringLiteral("Análises.rav")}) {
        if (!QFileInfo::exists(name)) {
            dialogs.StartupMessage(NoticeKind::Error, MissingComponentsText());
            result.exitCode = 1;
            return result;
        }
    }
    try {
        const StatsRecord stats = ReadStats();
        ReadFileBytes(kBoltonFile);  // must open; its tables are read at each Bolton calculation
        if (stats.instanceFlag == 1) {
            dialogs.StartupMessage(NoticeKind::Error, AlreadyRunningText());
            result.exitCode = 1;
            return result;
        }
        result.found = display.Measure();
        if (result.found.width < kMinimumWidth || result.found.height < kMinimumHeight
            || result.found.bitsPerPixel < kMinimumDepth) {
            dialogs.StartupMessage(NoticeKind::Information, ResolutionChangeText(result.found));
            display.Switch({kMinimumWidth, kMinimumHeight, kMinimumDepth});
            UpdateStats([](StatsRecord& r) { r.instanceFlag = 1; });
        }
    } catch (const IoError& e) {
        dialogs.StartupMessage(NoticeKind::Error, e.message());
        result.exitCode = 1;
        return result;
    }
    // Saves from several computers rest on the folder's file system: say so where it cannot.
    if (const QString shared = UnprotectedFolderWarningOnce(QStringLiteral("Análises")); !shared.isEmpty())
        dialogs.StartupMessage(NoticeKind::Warning, shared);
    result.proceed = true;
    return result;
}

int RunShutdown(platform::Dialogs& dialogs, platform::Display& display, const platform::DisplayMode& found)
{
    display.Switch(found);
    try {
        UpdateStats([](StatsRecord& r) { r.instanceFlag = 0; });
    } catch (const IoError& e) {
        dialogs.StartupMessage(NoticeKind::Error, e.message());
        return 1;
    }
    return 0;
}

}  // namespace qv
