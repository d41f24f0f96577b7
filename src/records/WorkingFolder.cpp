#include "records/WorkingFolder.h"

#include "platform/FileSystem.h"
#include "records/FileIo.h"
#include "records/IoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qv {

namespace {

QDateTime modified(const QString& path) { return QFileInfo(path).lastModified(); }

}  // namespace

QString PrepareWorkingFolder(const QString& dataFolder, const QString& workFolder)
{
    QStringList problems;
    const QDir data(dataFolder);
    const QDir work(workFolder);
    // Private to its owner: it holds health data.
    if (!QFileInfo(workFolder).isDir()
        && !(QDir().mkpath(QFileInfo(workFolder).absolutePath()) && platform::MakePrivateFolder(workFolder)))
        return QStringLiteral("Não foi possível criar a pasta de trabalho \"%1\".").arg(workFolder);
    const auto attempt = [&](auto&& step) {
        try {
            step();
        } catch (const IoError& e) {
            problems << e.message();
        }
    };
    // A copy keeps the installed file's time; any other time (an upgrade, a copy changed since)
    // means it is out of date.
    for (const QString name : {QStringLiteral("Bolton.cef"), QStringLiteral("Análises.rav")}) {
        const QString from = data.filePath(name);
        const QString to = work.filePath(name);
        if (QFileInfo::exists(to) && modified(from) == modified(to))
            continue;
        attempt([&] {
            ReplaceFileBytes(to, ReadFileBytes(from));
            QFile copy(to);
            if (!copy.open(QIODevice::ReadWrite) || !copy.setFileTime(modified(from), QFileDevice::FileModificationTime))
                throw IoError::cannotWrite(to);
        });
    }
    for (const QString name : {QStringLiteral("Stats.cef"), QStringLiteral("Normas.json")}) {
        if (!QFileInfo::exists(work.filePath(name)))
            attempt([&] {
                try {
                    WriteNewFileBytes(work.filePath(name), ReadFileBytes(data.filePath(name)));
                } catch (const FileExistsError&) {
                    // made a moment ago by another start of the program
                }
            });
    }
    const QString analyses = work.filePath(QStringLiteral("Análises"));
    if (!QFileInfo(analyses).isDir() && !platform::MakePrivateFolder(analyses))
        problems << IoError::cannotWrite(analyses).message();
    return problems.join(u'\n');
}

}  // namespace qv
