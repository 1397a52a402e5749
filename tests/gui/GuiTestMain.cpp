// Runs the window tests inside one QApplication, as the program itself runs.
#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/WebEngineSetup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();  // listing needs no display
    }
    // A virtual screen has no GPU to share.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    tavelo::PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
