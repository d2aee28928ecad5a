// Test programs that drive widgets run with the headless application object.
#include "headless/headless_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    kfg::headless::HeadlessApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
