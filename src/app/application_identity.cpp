#include "app/application_identity.h"

#include "framework/application_icon.h"
#include "framework/svg_icon.h"
#include "kfg_version.h"
#include "res/template_102.h"

#include <QApplication>

namespace kfg::app {

void IdentifyApplication() {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationName));
    QApplication::setApplicationVersion(QString::fromUtf8(kVersion));
    // KFG's own SVG icon, not Qt's icon plugin: the plugin's search and load sit on the way to
    // the first paint. Every window, the main one included, shows it.
    framework::SetApplicationIcon(framework::ResourceIcon(res::kIconWindow));
    // Lets the desktop match the window to KFG's desktop file (its name and icon).
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kApplicationId));
}

} // namespace kfg::app
