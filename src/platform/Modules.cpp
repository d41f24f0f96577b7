#include "platform/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPluginLoader>

namespace qv::platform {

namespace {

QStringList& addedFolders()
{
    static QStringList folders;
    return folders;
}

}  // namespace

void AddModuleFolder(const QString& folder)
{
    if (!addedFolders().contains(folder))
        addedFolders() << folder;
}

void ForgetAddedModuleFolders() { addedFolders().clear(); }

QStringList ModuleFolders(const QString& programFolder)
{
    QStringList folders = addedFolders();
    folders << programFolder << QDir::cleanPath(programFolder + QStringLiteral("/" QUORVEL_MODULE_RELDIR));
    return folders;
}

QObject* LoadModule(const QString& name, QString* error)
{
    // Modules stay loaded for the life of the program: their objects may outlive any caller.
    static QHash<QString, QObject*> loaded;
    if (QObject* module = loaded.value(name))
        return module;
    const QString file = name + QStringLiteral(QUORVEL_MODULE_SUFFIX);
    for (const QString& folder : ModuleFolders(QCoreApplication::applicationDirPath())) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        QObject* module = loader.instance();
        if (!module) {
            if (error)
                *error = loader.errorString();
            return nullptr;
        }
        loaded.insert(name, module);
        return module;
    }
    if (error)
        *error = QStringLiteral("%1 não foi encontrado").arg(file);
    return nullptr;
}

}  // namespace qv::platform
