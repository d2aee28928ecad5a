// kfg [OPTION...] [FOLDER]: the command line is decided before the application object exists,
// so that --help, --version and a refusal need no display. Without FOLDER, KFG runs in the
// folder it was started in, exactly as it always did; --choose-folder asks for the folder in a
// window first (the menu entry's way) and then runs there as with FOLDER; --history shows the
// folder's earlier states instead. Qt's own options and its QT_* variables are the platform's;
// of its own, KFG reads the locale's choice of message language, and HOME, WINEPREFIX and
// XDG_STATE_HOME for the chooser, the recent-folder list and the history of saves.
#include "app/application_identity.h"
#include "app/command_line.h"
#include "app/folder_places.h"
#include "app/history_run.h"
#include "app/kfg_app.h"
#include "cli/exit_status.h"
#include "framework/qt_translations.h"
#include "texts/message_language.h"

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    std::error_code error;
    std::filesystem::path workingFolder = std::filesystem::current_path(error);
    if (error) {
        workingFolder = ".";
    }
    const kfg::texts::LocaleEnvironment locale = kfg::texts::LocaleEnvironmentOfProcess();
    // The terminal's bytes follow the locale's character set; the chooser draws its own text.
    const kfg::texts::TextLanguage language =
        kfg::texts::MessageLanguage(locale, kfg::texts::MessageOutput::Terminal);
    const kfg::texts::TextLanguage windowLanguage =
        kfg::texts::MessageLanguage(locale, kfg::texts::MessageOutput::Window);
    const kfg::app::CommandLine commandLine =
        kfg::app::ParseCommandLine({argv + 1, argv + argc}, workingFolder, language);
    if (const std::optional<int> status = kfg::app::Answer(commandLine, std::cout, std::cerr)) {
        return *status;
    }

    // Worked out once, here: the history of saves and the list of folders KFG ran in.
    const kfg::platform::StateFolder stateFolder = kfg::app::StateFolderOfProcess();
    kfg::app::QtArgv qtArgv(argv[0], commandLine.qtArguments);
    QApplication application(qtArgv.Count(), qtArgv.Values());
    kfg::app::IdentifyApplication();

    // Every file KFG touches lies in its folder. A FOLDER becomes the working folder only now,
    // so that relative paths in Qt's options still mean what they meant in the shell.
    std::filesystem::path folder = workingFolder;
    std::filesystem::path chosen = commandLine.folder;
    if (commandLine.action == kfg::app::StartAction::ChooseFolder) {
        kfg::framework::QtTranslations translations; // the file dialog speaks the window's words
        translations.Use(windowLanguage);
        kfg::dialogs::FolderChooser chooser(kfg::app::ChooserSourcesOfProcess(stateFolder),
                                            windowLanguage);
        chooser.SetHistoryOpener([&stateFolder](const std::filesystem::path& shown,
                                                kfg::texts::TextLanguage shownIn, QWidget* parent) {
            kfg::app::ShowEarlierStatesOf(shown, shownIn, parent, stateFolder);
        });
        if (chooser.exec() != QDialog::Accepted || !chooser.ChosenFolder()) {
            return 0; // Escape or the close box: nothing chosen, nothing wrong
        }
        chosen = *chooser.ChosenFolder();
    }
    if (!chosen.empty()) {
        folder = chosen;
        std::filesystem::current_path(folder, error);
        if (error) { // it could be entered a moment ago
            std::cerr << kfg::app::FolderNotEntered(folder, language);
            return kfg::cli::ExitCode(kfg::cli::ExitStatus::Usage);
        }
    }
    if (commandLine.history) {
        // Its own window only, also for a folder whose Telvio.ini is gone: it may come back.
        kfg::app::ShowEarlierStatesOf(folder, windowLanguage, nullptr, stateFolder);
        return 0;
    }
    kfg::app::CKfgApp app(folder, stateFolder);
    app.InitInstance();
    return 0;
}
