// Test main for programs whose tests need widgets: one QApplication for the whole run.
#include "platform/runtime/ui/Form.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The forms behave as in the program.
    vb::InstallFormBehaviour();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
