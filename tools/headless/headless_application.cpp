#include "headless/headless_application.h"

#include <cstdlib>

namespace kfg::headless {
namespace {

// The platform is read when the application object is made: it must be set first.
int& WithPlatform(int& argc, Platform platform) {
    UsePlatform(platform);
    return argc;
}

} // namespace

void UsePlatform(Platform platform) {
    setenv("QT_QPA_PLATFORM", "offscreen", platform == Platform::Offscreen ? 1 : 0);
}

HeadlessApplication::HeadlessApplication(int& argc, char** argv, Platform platform)
    : application_(WithPlatform(argc, platform), argv) {
    QApplication::setApplicationName(QStringLiteral("KFG"));
}

} // namespace kfg::headless
