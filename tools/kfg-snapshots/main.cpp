// Renders KFG's windows to PNG files through the dialog layer's modal hook: the main window
// over each sample Telvio folder, and every message box KFG can show.
//
// Usage: kfg-snapshots [output-folder [examples-folder]]
#include "dialogs/chooser/folder_chooser.h"
#include "dialogs/chooser/history_window.h"
#include "framework/modal_hook.h"
#include "headless/headless_application.h"
#include "headless/main_dialog_parts.h"
#include "places/recent_folders.h"
#include "settings/profile_store.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Scene {
    std::string picture; // file name without folder
    std::string example; // sample folder to start in; empty: a folder without "Telvio.ini"
    bool spanish;        // start with the Spanish captions
    int grab;            // the template id of the dialog to render; 0: the first message box
    // What to do on the main window before grabbing (message boxes come from here).
    std::function<void(kfg::dialogs::CKfgDlg&)> act;
    bool readOnlyFiles = false;    // "Telvio.ini" and "KFG.ini" may not be written
    bool telvioIniChanged = false; // another program changes a value while the window is open
};

std::vector<Scene> Scenes() {
    std::vector<Scene> scenes;
    for (const char* edition : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        for (const bool spanish : {false, true}) {
            scenes.push_back({std::string("main-") + edition + (spanish ? "-es.png" : "-de.png"),
                              edition,
                              spanish,
                              102,
                              {}});
        }
    }
    scenes.push_back({"message-telvio-ini-missing.png", "", false, 0, {}});
    // The side dialogs: the first-run prompts of a 3.x folder without "KFG.ini", and the
    // audio decoder dialog, in both languages where they have two.
    scenes.push_back({"language-dialog.png", "V31", false, 175, {}});
    for (const bool spanish : {false, true}) {
        const std::string suffix = spanish ? "-es.png" : "-de.png";
        scenes.push_back({"display-mode-dialog" + suffix, "V31", spanish, 161, {}});
        scenes.push_back({"audio-decoder-dialog" + suffix, "V320", spanish, 176,
                          [](kfg::dialogs::CKfgDlg& dialog) { dialog.OnAudioDecoder(); }});
    }
    // The range check of a field, as "Beenden" shows it, in the captions' language.
    for (const bool spanish : {false, true}) {
        scenes.push_back({spanish ? "message-range-check-es.png" : "message-range-check.png",
                          "V311", spanish, 0, [](kfg::dialogs::CKfgDlg& dialog) {
                              dialog.SetItemText(1038, QStringLiteral("100"));
                              dialog.Click(kfg::framework::IDOK);
                          }});
    }
    // The configuration commands' messages, each in the language it comes in.
    const std::pair<const char*, const char*> names[] = {
        {"message-configuration-empty", ""},
        {"message-configuration-reserved", "KFG"},
        {"message-configuration-unusable", "A]b"},
    };
    for (const auto& [picture, name] : names) {
        for (const bool spanish : {false, true}) {
            scenes.push_back({std::string(picture) + (spanish ? "-es.png" : "-de.png"), "V320",
                              spanish, 0, [name = QString::fromUtf8(name)](auto& dialog) {
                                  dialog.SetItemText(1114, name);
                                  dialog.OnSaveConfiguration();
                              }});
        }
    }
    // Enter on a stored name asks before replacing it; "Anzeigen" of a name the file does not
    // hold says so.
    for (const bool spanish : {false, true}) {
        const std::string suffix = spanish ? "-es.png" : "-de.png";
        scenes.push_back({"message-configuration-overwrite" + suffix, "V320", spanish, 0,
                          [](kfg::dialogs::CKfgDlg& dialog) {
                              dialog.SetItemText(1114, QStringLiteral("Abend"));
                              dialog.SetFocusTo(1114);
                              QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                              QApplication::sendEvent(dialog.Window(), &enter);
                          }});
        scenes.push_back({"message-configuration-unknown" + suffix, "V320", spanish, 0,
                          [](kfg::dialogs::CKfgDlg& dialog) {
                              dialog.SetItemText(1114, QStringLiteral("Kino"));
                              dialog.OnShowConfiguration();
                          }});
    }
    // Start when Telvio cannot be started (the snapshots start nothing: Telvio is "missing").
    for (const bool spanish : {false, true}) {
        scenes.push_back({std::string("message-start-failed") + (spanish ? "-es.png" : "-de.png"),
                          "V320", spanish, 0,
                          [](kfg::dialogs::CKfgDlg& dialog) { dialog.OnStart(); }});
    }
    // Start when neither settings file can be saved: the message before the hand-over's.
    for (const bool spanish : {false, true}) {
        scenes.push_back({std::string("message-save-failed") + (spanish ? "-es.png" : "-de.png"),
                          "V320", spanish, 0,
                          [](kfg::dialogs::CKfgDlg& dialog) {
                              dialog.SetItemText(1038, QStringLiteral("30"));
                              dialog.Click(1067); // the sound options change too
                              dialog.OnStart();
                          },
                          true});
    }
    // Start over a value another program changed while the window was open; the snapshot's
    // answer is "Nein", so nothing is written.
    for (const bool spanish : {false, true}) {
        Scene scene{std::string("message-telvio-ini-changed") + (spanish ? "-es.png" : "-de.png"),
                    "V320", spanish, 0, [](kfg::dialogs::CKfgDlg& dialog) { dialog.OnStart(); }};
        scene.telvioIniChanged = true;
        scenes.push_back(std::move(scene));
    }
    return scenes;
}

// Copies the sample folder, so that rendering never changes the bundled files.
fs::path PrepareFolder(const fs::path& examples, const std::string& example, bool spanish,
                       bool readOnlyFiles) {
    const fs::path folder =
        fs::temp_directory_path() / ("kfg-snapshot-" + std::to_string(::getpid()) + "-" +
                                     (example.empty() ? "empty" : example));
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (!example.empty()) {
        fs::copy(examples / example, folder, fs::copy_options::recursive);
    }
    // The language comes from "KFG.ini"; a folder without one keeps its first-run state and
    // the language prompt answers instead.
    if (fs::exists(folder / "KFG.ini")) {
        // The copies go when the pictures are made: nothing of them is worth keeping.
        kfg::settings::ProfileStore store({}, {}, nullptr);
        if (store.WriteString(folder / "KFG.ini", "KFG", "Fr", spanish ? "1" : "0")) {
            std::fprintf(stderr, "kfg-snapshots: cannot set the language in %s\n", folder.c_str());
        }
    }
    if (readOnlyFiles) {
        for (const char* name : {"Telvio.ini", "KFG.ini"}) {
            fs::permissions(folder / name, fs::perms::owner_write | fs::perms::group_write,
                            fs::perm_options::remove);
        }
    }
    return folder;
}

bool Render(const Scene& scene, const fs::path& examples, const fs::path& output) {
    const fs::path folder =
        PrepareFolder(examples, scene.example, scene.spanish, scene.readOnlyFiles);
    bool saved = false;
    kfg::framework::ScopedModalHook hook([&](kfg::framework::ModalView& view) {
        kfg::framework::Dialog* dialog = view.AsDialog();
        kfg::dialogs::CKfgDlg* main = kfg::headless::MainDialogOf(view);
        const int shown = dialog != nullptr ? dialog->Template().id : 0;
        if (shown == scene.grab && !saved) {
            saved = view.Widget()->grab().save(
                QString::fromStdString((output / scene.picture).string()));
        }
        if (main != nullptr && scene.telvioIniChanged) {
            kfg::settings::ProfileStore other({}, {}, nullptr); // as kfgctl set would
            if (other.WriteString(folder / "Telvio.ini", "Telvio", "Farbe", "111")) {
                std::fprintf(stderr, "kfg-snapshots: cannot change %s\n", folder.c_str());
            }
        }
        if (main != nullptr && scene.act) {
            scene.act(*main);
        }
        if (shown == 175 && scene.grab != 175) {
            // The first-run language prompt answers with the scene's language.
            dialog->SetCheck(scene.spanish ? 1154 : 1155, 1);
            dialog->SetCheck(scene.spanish ? 1155 : 1154, 0);
            dialog->Click(kfg::framework::IDOK);
            return;
        }
        view.End(dialog != nullptr ? kfg::framework::IDCANCEL : kfg::framework::IDOK);
    });
    kfg::headless::MainDialogParts().Run(folder); // a store without a history keeps nothing
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return saved;
}

// The folder chooser of the menu entry over a made-up home: one folder KFG ran in before and
// two Telvio folders in the wine prefix.
bool RenderChooser(const fs::path& examples, const fs::path& output, const std::string& picture,
                   kfg::texts::TextLanguage language) {
    const fs::path home =
        fs::temp_directory_path() / ("kfg-snapshot-" + std::to_string(::getpid()) + "-home");
    fs::remove_all(home);
    const std::pair<const char*, const char*> folders[] = {
        {"Telvio 2.83", "V283"},
        {".wine/drive_c/Program Files/Telvio", "V320"},
        {".wine/drive_c/Program Files (x86)/Telvio 3.11", "V311"},
    };
    for (const auto& [folder, edition] : folders) {
        fs::create_directories(home / folder);
        fs::copy_file(examples / edition / "Telvio.ini", home / folder / "Telvio.ini");
    }
    const kfg::platform::StateFolder recent(home / ".local" / "state" / "kfg");
    bool saved = !kfg::places::RecordRecentFolder(recent, home / folders[0].first);
    if (saved) {
        kfg::dialogs::FolderChooser chooser({recent, {std::nullopt, home}, {"~/.wine"}, home},
                                            language);
        // As in kfg: the button "Earlier states…" is shown (it opens nothing here).
        chooser.SetHistoryOpener([](const fs::path&, kfg::texts::TextLanguage, QWidget*) {});
        QEventLoop loop;
        chooser.SetSearchFinished([&loop] { loop.quit(); });
        chooser.show();
        loop.exec();
        saved = chooser.grab().save(QString::fromStdString((output / picture).string()));
    }
    std::error_code ignored;
    fs::remove_all(home, ignored);
    return saved;
}

// The window of earlier states over a copy of the V 3.20 sample after three saves: one of
// Telvio.ini, two of KFG.ini (a configuration deleted, one changed). The states lie in a
// throw-away state folder.
bool RenderHistory(const fs::path& examples, const fs::path& output, const std::string& picture,
                   kfg::texts::TextLanguage language) {
    const fs::path scratch =
        fs::temp_directory_path() / ("kfg-snapshot-" + std::to_string(::getpid()) + "-history");
    fs::remove_all(scratch);
    const fs::path folder = scratch / "Telvio";
    fs::create_directories(folder);
    fs::copy(examples / "V320", folder, fs::copy_options::recursive);
    auto history = std::make_shared<kfg::platform::SaveHistory>(
        kfg::platform::StateFolder(scratch / "state" / "kfg"));
    kfg::settings::ProfileStore store({}, {}, history);
    const bool saved = !store.WriteString(folder / "Telvio.ini", "Telvio", "Helligkeit", "200") &&
                       !store.DeleteSection(folder / "KFG.ini", "Sport") &&
                       !store.WriteString(folder / "KFG.ini", "Abend", "Helligkeit", "128");
    bool rendered = false;
    if (saved) {
        kfg::dialogs::HistoryWindow window(store, folder, kfg::dialogs::ShownPaths(scratch),
                                           language, language);
        window.show();
        QApplication::processEvents();
        rendered = window.grab().save(QString::fromStdString((output / picture).string()));
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return rendered;
}

constexpr const char* kUsage =
    "Usage: kfg-snapshots [output-folder [examples-folder]]\n"
    "Renders KFG's windows and messages over the sample Telvio folders to PNG files in\n"
    "output-folder (default: snapshots), offscreen unless QT_QPA_PLATFORM names a platform.\n";

} // namespace

int main(int argc, char** argv) {
    // Qt takes its own options (-platform, -style) out of the arguments here.
    kfg::headless::HeadlessApplication application(argc, argv);
    // Folders are taken as given; anything else that looks like an option is not one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "kfg-snapshots: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (argc > 3) {
        std::fprintf(stderr, "kfg-snapshots: too many arguments\n%s", kUsage);
        return 2;
    }
    const fs::path output = argc > 1 ? fs::path(argv[1]) : fs::path("snapshots");
    const fs::path examples = argc > 2 ? fs::path(argv[2]) : fs::path(KFG_EXAMPLES_DIR);
    std::error_code error;
    fs::create_directories(output, error);
    if (error) {
        std::fprintf(stderr, "kfg-snapshots: cannot create %s: %s\n", output.c_str(),
                     error.message().c_str());
        return EXIT_FAILURE;
    }
    int failures = 0;
    for (const Scene& scene : Scenes()) {
        if (Render(scene, examples, output)) {
            std::printf("%s\n", (output / scene.picture).c_str());
        } else {
            std::fprintf(stderr, "kfg-snapshots: nothing to render for %s\n",
                         scene.picture.c_str());
            ++failures;
        }
    }
    const std::pair<const char*, kfg::texts::TextLanguage> choosers[] = {
        {"folder-chooser-en.png", kfg::texts::TextLanguage::English},
        {"folder-chooser-de.png", kfg::texts::TextLanguage::German},
        {"folder-chooser-es.png", kfg::texts::TextLanguage::Spanish},
    };
    for (const auto& [picture, language] : choosers) {
        if (RenderChooser(examples, output, picture, language)) {
            std::printf("%s\n", (output / picture).c_str());
        } else {
            std::fprintf(stderr, "kfg-snapshots: nothing to render for %s\n", picture);
            ++failures;
        }
    }
    const std::pair<const char*, kfg::texts::TextLanguage> histories[] = {
        {"earlier-states-de.png", kfg::texts::TextLanguage::German},
        {"earlier-states-es.png", kfg::texts::TextLanguage::Spanish},
    };
    for (const auto& [picture, language] : histories) {
        if (RenderHistory(examples, output, picture, language)) {
            std::printf("%s\n", (output / picture).c_str());
        } else {
            std::fprintf(stderr, "kfg-snapshots: nothing to render for %s\n", picture);
            ++failures;
        }
    }
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
