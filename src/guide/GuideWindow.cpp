#include "guide/GuideWindow.h"

namespace qv {

GuideWindow::GuideWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Guia Diagnóstico"));
}

}  // namespace qv
