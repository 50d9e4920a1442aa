// The browser tests run real Chromium, which needs a QApplication (offscreen) made after the
// process has been prepared for it.
#include "app/browser/WebEngineSetup.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    newsbell::prepareWebEngineProcess(false);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
