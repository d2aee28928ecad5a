// kill -9 at random moments of a save loop: a child saves "Telvio.ini" over and over through
// the profile store, the parent kills it after a random delay and then looks at the folder.
// Prints how many files were whole (the old or the new contents) or torn, and how many kills
// left a temporary file behind. Run once with replacements and once with in-place writes (a
// second hard link forces them), which shows what an in-place write risks.
//
//   kfg_save_kill_benchmark [--kills=N] [--mode=replace|in-place|both] [--seed=N]
//
// Other arguments (those scripts/bench.sh passes to every benchmark) are ignored.
#include "platform/save_history.h"
#include "settings/profile_store.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kfg::settings::ProfileStore;

constexpr int kKeys = 64;
constexpr std::string_view kLeftoverPrefix = ".Telvio.ini.kfg-";

// The two contents the loop switches between; their values differ in length, so a file that
// is part one and part the other shows.
std::string Contents(int round) {
    std::string text = "[Telvio]\r\n";
    for (int key = 0; key < kKeys; ++key) {
        text += "Key" + std::to_string(key) + "=" + (round % 2 == 0 ? "1" : "12345") + "\r\n";
    }
    return text;
}

void SaveRound(ProfileStore& store, const fs::path& file, int round) {
    auto gathered = store.Gather();
    const std::string value = round % 2 == 0 ? "1" : "12345";
    for (int key = 0; key < kKeys; ++key) {
        // Gathered: nothing fails before the scope ends.
        (void)store.WriteString(file, "Telvio", "Key" + std::to_string(key), value);
    }
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Leftovers(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        count += entry.path().filename().string().starts_with(kLeftoverPrefix) ? 1 : 0;
    }
    return count;
}

// Each save keeps the state it replaces, as kfg's do, in a state folder beside the file's.
std::shared_ptr<kfg::platform::SaveHistory> HistoryBeside(const fs::path& file) {
    return std::make_shared<kfg::platform::SaveHistory>(
        kfg::platform::StateFolder(file.parent_path() / "state" / "kfg"));
}

double MeanSaveMicroseconds(const fs::path& file) {
    ProfileStore store({}, {}, HistoryBeside(file));
    constexpr int kRounds = 100;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 1; round <= kRounds; ++round) {
        SaveRound(store, file, round);
    }
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
               .count() /
           kRounds;
}

// The child saves until it is killed; it tells the parent through `ready` once it runs.
[[noreturn]] void SaveLoop(const fs::path& file, int ready) {
    ProfileStore store({}, {}, HistoryBeside(file));
    store.GetInt(file, "Telvio", "Key0", 0); // the first parse is not part of the loop
    const char byte = 1;
    (void)::write(ready, &byte, 1);
    for (int round = 0;; ++round) {
        SaveRound(store, file, round);
    }
}

bool Run(const char* mode, bool inPlace, int kills, std::mt19937& random) {
    const fs::path folder =
        fs::temp_directory_path() / ("kfg-save-kill-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "Telvio.ini";
    std::ofstream(file, std::ios::binary) << Contents(0);
    if (inPlace) {
        fs::create_hard_link(file, folder / "Telvio-link.ini");
    }
    const double mean = MeanSaveMicroseconds(file);
    if (ReadFile(file) != Contents(0)) { // 100 rounds end on an even one
        std::fprintf(stderr, "the save loop does not produce the expected contents\n");
        return false;
    }
    // Up to three saves' time after the loop has started: every moment of a save is hit.
    std::uniform_real_distribution<double> delay(0.0, 3.0 * mean);

    int whole = 0;
    int torn = 0;
    int leftBehind = 0;
    int mostAtOnce = 0;
    for (int kill = 0; kill < kills; ++kill) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) {
            return false;
        }
        const pid_t child = ::fork();
        if (child < 0) {
            return false;
        }
        if (child == 0) {
            ::close(pipeEnds[0]);
            SaveLoop(file, pipeEnds[1]);
        }
        ::close(pipeEnds[1]);
        char byte = 0;
        (void)::read(pipeEnds[0], &byte, 1);
        ::close(pipeEnds[0]);
        const auto wait = std::chrono::duration<double, std::micro>(delay(random));
        const auto until = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < until) {
            ::usleep(0);
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string bytes = ReadFile(file);
        if (bytes == Contents(0) || bytes == Contents(1)) {
            ++whole;
        } else {
            ++torn;
            // Whole again (same inode, so a hard link stays), or every later save would edit
            // the torn file and count again.
            std::ofstream(file, std::ios::binary | std::ios::trunc) << Contents(0);
        }
        const int leftovers = Leftovers(folder);
        leftBehind += leftovers > 0 ? 1 : 0;
        mostAtOnce = std::max(mostAtOnce, leftovers);
    }
    std::printf("%-9s %5d kills (mean save %.0f us, kills 0..%.0f us into the loop): whole %d, "
                "torn %d, left a temporary file %d, most temporary files at once %d, "
                "afterwards %d\n",
                mode, kills, mean, 3.0 * mean, whole, torn, leftBehind, mostAtOnce,
                Leftovers(folder));
    fs::remove_all(folder);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int kills = 1000;
    std::string mode = "both";
    unsigned seed = std::random_device{}();
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with("--kills=")) {
            kills = std::max(1, std::atoi(argv[i] + 8));
        } else if (argument.starts_with("--mode=")) {
            mode = argument.substr(7);
        } else if (argument.starts_with("--seed=")) {
            seed = static_cast<unsigned>(std::strtoul(argv[i] + 7, nullptr, 10));
        }
    }
    std::mt19937 random(seed);
    std::printf("kill -9 during a save loop (seed %u)\n", seed);
    bool ok = true;
    if (mode == "both" || mode == "replace") {
        ok = Run("replace", false, kills, random) && ok;
    }
    if (mode == "both" || mode == "in-place") {
        ok = Run("in-place", true, kills, random) && ok;
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
