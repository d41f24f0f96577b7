#include "shell/Art.h"

#include <QtCore/qresource.h>

static void initArtResource() { Q_INIT_RESOURCE(art); }

namespace qv {

void InitArt()
{
    static const bool done = (initArtResource(), true);
    (void)done;
}

}  // namespace qv
