#include "spaceentry/SpaceEntryWindow.h"

namespace qv {

SpaceEntryWindow::SpaceEntryWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Análise Total do Espaço"));
}

}  // namespace qv
