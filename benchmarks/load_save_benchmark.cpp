// LoadSettings + SaveSettings of the main dialog over each sample edition, offscreen: the
// time per round and the file replacements per save, once with nothing changed and once with
// one field changed before each save.
#include "dialogs/main/kfg_dlg.h"
#include "framework/modal_hook.h"
#include "mixer/simulated_mixer.h"
#include "platform/file_system.h"
#include "platform/program_starter.h"
#include "res/template_102.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/counting_file_system.h"

#include <QApplication>
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
    kfg::settings::ProcessState state;
    kfg::settings::ProfileStore store({}, counter);
    kfg::framework::ScopedModalHook hook([&](kfg::framework::ModalView& view) {
        // The first-run prompts of a folder without "KFG.ini" come first: cancelled.
        auto* main = dynamic_cast<kfg::dialogs::CKfgDlg*>(view.AsDialog());
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
    kfg::platform::NoProgramStarter starter;
    kfg::dialogs::CKfgDlg dialog(state, store, starter,
                                 std::make_shared<kfg::mixer::SimulatedMixer>(), folder);
    dialog.DoModal();
    fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    for (const char* edition : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        Measure(edition, KFG_EXAMPLES_DIR);
    }
    return 0;
}
