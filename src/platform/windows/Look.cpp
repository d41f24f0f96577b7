#include "platform/Look.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace qv::platform {

void UseProgramLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    QApplication::setFont(font);
}

}  // namespace qv::platform
