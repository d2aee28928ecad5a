// KFG reads no arguments and no environment variables of its own; Qt's QT_* variables are the
// platform's.
#include "app/application_identity.h"
#include "app/kfg_app.h"

#include <QApplication>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kfg::app::IdentifyApplication();

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
