#include "records/LibArchive.h"

#include <QLibrary>

namespace qv {

const LibArchive* OpenLibArchive(QString* error)
{
    struct Opened {
        LibArchive api;
        QString error;
        bool ok = false;
    };
    static const Opened opened = [] {
        Opened o;
        // The versioned name the build was linked against: never a development symlink.
        QLibrary library(QStringLiteral(QUORVEL_LIBARCHIVE_SONAME));
        if (!library.load()) {
            o.error = library.errorString();
            return o;
        }
        bool all = true;
#define QV_LIBARCHIVE_RESOLVE(name)                                                  \
    o.api.name = reinterpret_cast<decltype(&::name)>(library.resolve(#name));        \
    if (!o.api.name && all) {                                                        \
        all = false;                                                                 \
        o.error = QStringLiteral("falta a função %1").arg(QLatin1String(#name));     \
    }
        QV_LIBARCHIVE_FUNCTIONS(QV_LIBARCHIVE_RESOLVE)
#undef QV_LIBARCHIVE_RESOLVE
        o.ok = all;  // the library stays loaded: QLibrary does not unload on destruction
        return o;
    }();
    if (!opened.ok && error)
        *error = opened.error;
    return opened.ok ? &opened.api : nullptr;
}

}  // namespace qv
