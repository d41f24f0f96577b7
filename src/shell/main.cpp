#include "shell/Application.h"

#include "platform/FileSystem.h"
#include "platform/Look.h"
#include "records/WorkingFolder.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Qt's own windows (file, print and preview dialogs) speak the program's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || qtTexts.load(QStringLiteral("qtbase_pt_BR"), QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
        QApplication::installTranslator(&qtTexts);
    // Where no launcher prepares the working folder (Windows), the program does, from the data
    // files installed beside it; what is missing is then told by the start-up's own checks.
    if (const QString work = qv::platform::OwnWorkingFolder(); !work.isEmpty()) {
        qv::PrepareWorkingFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/data"), work);
        QDir::setCurrent(work);
    }
    // The reports are laid out in DejaVu Sans: where the system has no DejaVu (Windows), the
    // copy installed beside the program keeps every page as it is on Linux.
    for (const QFileInfo& font : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"))
                                     .entryInfoList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(font.filePath());
    qv::platform::UseProgramLook();
    return qv::RunQuorvel(app);
}
