// Shared main of the test programs: a QApplication on a platform that needs no screen, created before
// the tests are listed so test discovery needs no display.

#include "platform/Accessibility.h"
#include "platform/Modules.h"
#include "support/WorkFolder.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QUORVEL_TEST_PLATFORM);
    qv::test::KeepSettingsApart();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    qv::platform::InstallAccessibility();  // as the program does
    qv::test::UseProgramFontsAndLook();
    qv::platform::AddModuleFolder(QStringLiteral(QUORVEL_MODULE_DIR));  // built beside the program
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
