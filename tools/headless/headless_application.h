#pragma once

#include <QApplication>

// Runs KFG's windows without a screen, for the tests, the benchmarks and the snapshot tool.
namespace kfg::headless {

enum class Platform {
    OffscreenUnlessChosen, // QT_QPA_PLATFORM=xcb under Xvfb, say, measures a mapped window
    Offscreen,
};

// Sets the offscreen platform for the application object still to come (and child processes).
void UsePlatform(Platform platform);

// The application object on the offscreen platform, named as KFG names itself.
class HeadlessApplication {
public:
    HeadlessApplication(int& argc, char** argv,
                        Platform platform = Platform::OffscreenUnlessChosen);

private:
    QApplication application_;
};

} // namespace kfg::headless
