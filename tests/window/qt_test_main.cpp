// GoogleTest's main with the one QApplication the widget tests share.
#include <QApplication>
#include <gtest/gtest.h>

#include "application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (at build time, by CTest's discovery) needs no display.
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication application(argc, argv);
    window::configureApplication(application);
    return RUN_ALL_TESTS();
}
