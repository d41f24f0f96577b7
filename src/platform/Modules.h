#pragma once
// Optional backends are Qt plugins of the program's own, built only when their library is found
// and opened the first time they are used. Each module is one interface (Q_DECLARE_INTERFACE)
// implemented by its plugin, which holds its own code and shared libraries only.

#include <QObject>
#include <QString>
#include <QStringList>

namespace qv::platform {

// The plugin instance of the module `name` ("quorvel-dicom"), opened once and kept; nullptr
// when no module folder holds it or it cannot be opened, with the reason in `error`.
QObject* LoadModule(const QString& name, QString* error = nullptr);

template <class Interface>
Interface* ModuleOf(const QString& name, QString* error = nullptr)
{
    Interface* module = qobject_cast<Interface*>(LoadModule(name, error));
    if (!module && error && error->isEmpty())
        *error = QStringLiteral("%1 não é um módulo deste programa").arg(name);
    return module;
}

// Where modules are looked for, in order: the folders added here (programs run from the build
// tree other than the program itself), the program's own folder (the build tree), then the
// installed layout's module folder relative to the program's.
void AddModuleFolder(const QString& folder);
void ForgetAddedModuleFolders();
QStringList ModuleFolders(const QString& programFolder);

}  // namespace qv::platform
