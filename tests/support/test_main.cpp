// Test main: the platform started on Qt's offscreen display, so window tests need no X server.
#include "vintorel_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("VINTOREL_TUNER", "none", 1); // tests register their own filters
    testing::InitGoogleTest(&argc, argv);
    VintorelPlatformStart(&argc, argv);
    return RUN_ALL_TESTS();
}
