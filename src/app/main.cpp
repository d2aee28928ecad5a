// KFG reads no arguments and no environment variables of its own; Qt's QT_* variables are the
// platform's.
#include "app/kfg_app.h"
#include "kfg_version.h"

#include <QApplication>
#include <QIcon>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kfg::kApplicationName));
    QApplication::setApplicationVersion(QString::fromUtf8(kfg::kVersion));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128.svg")));
    // Lets the desktop match the window to KFG's desktop file (its name and icon).
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kfg::kApplicationId));

    // Every file KFG touches lies in the folder it was started in.
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        folder = ".";
    }
    kfg::app::CKfgApp app(folder);
    app.InitInstance();
    return 0;
}
