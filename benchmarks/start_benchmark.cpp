// Time from the click on Start to the hand-over, with the sound initialisation ticked: the real
// program starter runs the suite's stand-in as wine and as Telvio, once with a sound
// initialisation that ends at once, once with one whose helper stays on for 4 s after its end,
// as wine's server does on a cold start. Each round runs KFG in a fresh child process, which
// Telvio's stand-in replaces; the median of the rounds is reported.
#include "framework/dialog.h"
#include "framework/modal_hook.h"
#include "headless/headless_application.h"
#include "headless/main_dialog_parts.h"
#include "platform/program_starter.h"
#include "platform/save_history.h"
#include "res/template_102.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kfg::test::StandInLog;
using kfg::test::WriteBytes;

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct Figures {
    double toInitialisation = -1; // click to the start of the sound initialisation
    double toHandOver = -1;       // click to the start of Telvio
};

// One round in a child process: KFG over `folder`, Start clicked.
Figures Round(const fs::path& folder, const std::string& searchPath) {
    fs::remove(folder / "stand-in.log");
    fs::remove(folder / "clicked");
    const pid_t child = fork();
    if (child == 0) {
        int argc = 1;
        char name[] = "kfg";
        char* argv[] = {name, nullptr};
        kfg::headless::HeadlessApplication application(argc, argv,
                                                       kfg::headless::Platform::Offscreen);
        kfg::framework::ScopedModalHook hook([&](kfg::framework::ModalView& view) {
            if (kfg::framework::Dialog* dialog = view.AsDialog()) {
                WriteBytes(folder / "clicked", std::to_string(MonotonicNanoseconds()));
                dialog->Click(kfg::res::kIdStart);
            }
            view.End(kfg::framework::IDCANCEL); // a message: the hand-over failed
        });
        kfg::platform::SystemProgramStarter starter(searchPath);
        // Start keeps the state it replaces, as kfg's does, in a state folder of the run's own.
        kfg::headless::MainDialogParts(nullptr, nullptr,
                                       std::make_shared<kfg::platform::SaveHistory>(
                                           kfg::platform::StateFolder(folder / "state" / "kfg")))
            .Run(folder, starter);
        _exit(70);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Figures figures;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return figures;
    }
    const long long clicked = std::stoll(kfg::test::ReadBytes(folder / "clicked"));
    for (const kfg::test::StandInRun& run : StandInLog(folder)) {
        const double after = static_cast<double>(run.at - clicked) / 1e6;
        if (run.command.starts_with("wine rundll32.exe")) {
            figures.toInitialisation = after;
        } else if (run.command == "Telvio.exe Quick") {
            figures.toHandOver = after;
        }
    }
    return figures;
}

void Print(const char* what, std::vector<Figures> rounds) {
    const auto median = [&](double Figures::*figure) {
        std::sort(rounds.begin(), rounds.end(),
                  [figure](const Figures& a, const Figures& b) { return a.*figure < b.*figure; });
        return rounds[rounds.size() / 2].*figure;
    };
    const double toInitialisation = median(&Figures::toInitialisation);
    const double toHandOver = median(&Figures::toHandOver);
    std::printf("  %-40s %7.1f ms (min %.1f, max %.1f); of that %.1f ms to the initialisation\n",
                what, toHandOver, rounds.front().toHandOver, rounds.back().toHandOver,
                toInitialisation);
}

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("kfg-start-" + std::to_string(getpid()));
    fs::create_directories(folder / "bin");
    fs::create_directories(folder / "runtime");
    fs::permissions(folder / "runtime", fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
    kfg::test::PlaceStandIn(folder / "bin" / "wine");
    kfg::test::PlaceStandIn(folder / "Telvio.exe");
    WriteBytes(folder / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    WriteBytes(folder / "KFG.ini", "[KFG]\r\nFr=0\r\nSoundInit=1\r\n");

    constexpr int kRounds = 15;
    std::vector<Figures> quick;
    std::vector<Figures> lingering;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(folder / "linger");
        quick.push_back(Round(folder, (folder / "bin").string()));
        WriteBytes(folder / "linger", "4");
        lingering.push_back(Round(folder, (folder / "bin").string()));
        if (quick.back().toHandOver < 0 || lingering.back().toHandOver < 0) {
            std::fprintf(stderr, "a round did not reach the hand-over\n");
            fs::remove_all(folder);
            return 1;
        }
    }
    fs::remove_all(folder);
    std::printf("Click on Start to the hand-over, sound initialisation ticked, median of %d "
                "runs:\n",
                kRounds);
    Print("initialisation ends at once:", quick);
    Print("its helper stays on 4 s after its end:", lingering);
    return 0;
}
