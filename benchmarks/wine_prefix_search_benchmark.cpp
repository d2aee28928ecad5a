// The search for Telvio folders in a made-up wine prefix of 100,000 files, with a warm cache
// (the first iteration warms it): how long the chooser's list takes to fill, and how many
// folders it reached within the entry budget.
#include "places/wine_prefix_search.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// A prefix shaped like a used one: the system's files in drive_c/windows, programs in
// "Program Files" (Telvio among them, with most programs' files a level deeper), and a
// user's files deeper down. 100,000 files in all.
class MadeUpPrefix {
public:
    MadeUpPrefix() {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "kfg-bench-XXXXXX").string();
        if (error || ::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        root_ = pattern;
        const fs::path driveC = root_ / "drive_c";
        Fill(driveC / "windows" / "system32", 50000);
        for (int app = 0; app < 100; ++app) {
            const fs::path program = driveC / "Program Files" / ("App " + std::to_string(app));
            Fill(program, 4);
            Fill(program / "data", 196);
        }
        for (int folder = 0; folder < 29; ++folder) {
            Fill(driveC / "users" / "me" / ("Documents " + std::to_string(folder)), 1000);
        }
        fs::create_directories(driveC / "Program Files" / "Telvio");
        std::ofstream(driveC / "Program Files" / "Telvio" / "Telvio.ini") << "[Telvio]\n";
        Fill(driveC / "Program Files" / "Telvio", 999);
    }
    ~MadeUpPrefix() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    MadeUpPrefix(const MadeUpPrefix&) = delete;
    MadeUpPrefix& operator=(const MadeUpPrefix&) = delete;

    const fs::path& root() const { return root_; }

private:
    static void Fill(const fs::path& folder, int files) {
        fs::create_directories(folder);
        for (int i = 0; i < files; ++i) {
            std::ofstream(folder / ("file" + std::to_string(i) + ".dat"));
        }
    }

    fs::path root_;
};

void BM_SearchPrefixOf100000Files(benchmark::State& state) {
    static const MadeUpPrefix prefix;
    if (prefix.root().empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        found = kfg::places::FindTelvioFolders(prefix.root()).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchPrefixOf100000Files)->Unit(benchmark::kMillisecond);

} // namespace
