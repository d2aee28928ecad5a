// LoadSettings + SaveSettings of the main dialog over each sample edition, offscreen: the
// time per round and the file replacements per save, once with nothing changed and once with
// one field changed before each save.
#include "framework/modal_hook.h"
#include "headless/headless_application.h"
#include "headless/main_dialog_parts.h"
#include "platform/save_history.h"
#include "res/template_102.h"
#include "support/counting_file_system.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 200;

void Measure(const char* edition, const fs::path& examples) {
    const fs::path folder = fs::temp_directory_path() / ("kfg-load-save-" + std::string(edition));
    fs::remove_all(folder);
    fs::copy(examples / edition, folder, fs::copy_options::recursive);
    auto counter = std::make_shared<kfg::test::CountingFileSystem>();
    kfg::framework::ScopedModalHook hook([&](kfg::framework::ModalView& view) {
        // The first-run prompts of a folder without "KFG.ini" come first: cancelled.
        kfg::dialogs::CKfgDlg* main = kfg::headless::MainDialogOf(view);
        if (main == nullptr) {
            view.End(kfg::framework::IDCANCEL);
            return;
        }
        auto& dialog = *main;
        for (const bool change : {false, true}) {
            counter->replacements = 0;
            const auto start = std::chrono::steady_clock::now();
            for (int round = 0; round < kRounds; ++round) {
                dialog.LoadSettings(kfg::dialogs::SettingsSource::Telvio);
                if (change) {
                    dialog.SetItemText(kfg::res::kIdTestLines, QString::number(10 + round % 2));
                }
                // The sample folders save; a failure would show in the figures.
                (void)dialog.SaveSettings(kfg::dialogs::SettingsSource::Telvio);
            }
            const double perRound =
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count() /
                kRounds;
            std::printf("%-9s %-9s %9.1f us per load+save, %.2f replacements per save\n", edition,
                        change ? "changed" : "unchanged", perRound,
                        static_cast<double>(counter->replacements) / kRounds);
        }
        view.End(kfg::framework::IDCANCEL);
    });
    // Each save keeps the state it replaces, as kfg's do, in a state folder of the run's own.
    const fs::path state = folder.string() + "-state";
    kfg::headless::MainDialogParts(
        nullptr, counter,
        std::make_shared<kfg::platform::SaveHistory>(kfg::platform::StateFolder(state / "kfg")))
        .Run(folder);
    fs::remove_all(folder);
    fs::remove_all(state);
}

} // namespace

int main(int argc, char** argv) {
    kfg::headless::HeadlessApplication application(argc, argv, kfg::headless::Platform::Offscreen);
    for (const char* edition : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        Measure(edition, KFG_EXAMPLES_DIR);
    }
    return 0;
}
