// Figures for the profile store: the load and save of a V320 "Telvio.ini" as the settings
// dialog does them, and how reads and writes grow with the file's size.

#include "platform/file_system.h"
#include "platform/save_history.h"
#include "settings/profile_store.h"
#include "support/counting_file_system.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kfg::platform::FileState;
using kfg::platform::PosixFileSystem;
using kfg::settings::ProfileFailure;
using kfg::settings::ProfileStore;

// A fresh folder per benchmark, removed with its files afterwards. The path is empty when the
// folder could not be made.
class TempFolder {
public:
    TempFolder() {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "kfg-bench-XXXXXX").string();
        if (!error && mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        std::error_code error;
        if (!path_.empty()) {
            fs::remove_all(path_, error);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

bool WriteFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Makes the folder and the file, or marks the benchmark as failed.
bool Prepare(benchmark::State& state, const TempFolder& folder, const fs::path& file,
             std::string_view bytes) {
    if (folder.path().empty() || !WriteFile(file, bytes)) {
        state.SkipWithError("cannot create the test file");
        return false;
    }
    return true;
}

// The single keys the dialog reads from [Telvio], in its order; then the 40 memory slots and
// the seven further keys of V320.
constexpr std::array<std::string_view, 27> kSingleKeys = {
    "Debug",         "Testzeilen", "HoeheRand",     "DisplayMode", "Tuner",         "TVKarte",
    "Status",        "Secam",      "PLL",           "Priority",    "Turbo",         "Farbe",
    "Helligkeit",    "Kontrast",   "Loudness",      "Spartial",    "ErsteZeile",    "LetzteZeile",
    "CaptureDevice", "Statistik",  "OptimierungBT", "PALplus",     "SchwarzeZeile", "Austastung",
    "Interpolation", "Line-In",    "Accel"};
constexpr std::array<std::string_view, 7> kFurtherKeys = {
    "Links", "Oben", "Rechts", "Unten", "Vordergrund", "RandAutomatik", "Proportional"};
constexpr int kSlots = 40;
constexpr std::size_t kValueBuffer = 20;
constexpr auto kReadsPerLoad =
    static_cast<std::int64_t>(kSingleKeys.size() + kSlots + kFurtherKeys.size());
// The save writes the first 17 single keys, the slots and the further keys: 64 writes.
constexpr std::size_t kSavedSingleKeys = 17;
constexpr auto kWritesPerSave =
    static_cast<std::int64_t>(kSavedSingleKeys + kSlots + kFurtherKeys.size());
static_assert(kWritesPerSave == 64);

std::vector<std::string> SlotKeys() {
    std::vector<std::string> keys;
    for (int n = 0; n < kSlots; ++n) {
        keys.push_back("Speicher" + std::to_string(n));
    }
    return keys;
}

// The values the V320 file holds; a save in round r writes these plus r.
int SingleValue(std::size_t index) {
    return static_cast<int>(index * 7 % 300);
}
int SlotValue(std::size_t slot) {
    return static_cast<int>(100 + slot);
}
int FurtherValue(std::size_t index) {
    return static_cast<int>(index % 2);
}

// A V320 file as the viewer leaves it: its own keys, all slots and one section of another
// program.
std::string V320File() {
    std::string text = "[Telvio]\r\nVersion=3.20\r\n";
    for (std::size_t i = 0; i < kSingleKeys.size(); ++i) {
        text += std::string(kSingleKeys[i]) + "=" + std::to_string(SingleValue(i)) + "\r\n";
    }
    const std::vector<std::string> slotKeys = SlotKeys();
    for (std::size_t n = 0; n < slotKeys.size(); ++n) {
        text += slotKeys[n] + "=" + std::to_string(SlotValue(n)) + "\r\n";
    }
    for (std::size_t i = 0; i < kFurtherKeys.size(); ++i) {
        text += std::string(kFurtherKeys[i]) + "=" + std::to_string(FurtherValue(i)) + "\r\n";
    }
    text += "\r\n[Kanalliste]\r\n; edited by hand\r\nARD=E05\r\nZDF=E33\r\nWDR=S21\r\n";
    return text;
}

// The reads of one settings load, all through one store.
std::size_t LoadV320(ProfileStore& store, const fs::path& file,
                     const std::vector<std::string>& slotKeys) {
    std::size_t characters = 0;
    for (std::string_view key : kSingleKeys) {
        characters += store.GetString(file, "Telvio", key, "0", kValueBuffer).size();
    }
    for (const std::string& key : slotKeys) {
        characters += store.GetString(file, "Telvio", key, "0", kValueBuffer).size();
    }
    for (std::string_view key : kFurtherKeys) {
        characters += store.GetString(file, "Telvio", key, "0", kValueBuffer).size();
    }
    return characters;
}

// The writes of one settings save, gathered into one replacement at most. Round 0 writes the
// values the file already holds; any other round changes every one of them.
void SaveV320(ProfileStore& store, const fs::path& file, const std::vector<std::string>& slotKeys,
              int round) {
    // Gathered: nothing fails before the scope ends.
    auto scope = store.Gather();
    for (std::size_t i = 0; i < kSavedSingleKeys; ++i) {
        (void)store.WriteString(file, "Telvio", kSingleKeys[i],
                                std::to_string(SingleValue(i) + round));
    }
    for (std::size_t n = 0; n < slotKeys.size(); ++n) {
        (void)store.WriteString(file, "Telvio", slotKeys[n], std::to_string(SlotValue(n) + round));
    }
    for (std::size_t i = 0; i < kFurtherKeys.size(); ++i) {
        (void)store.WriteString(file, "Telvio", kFurtherKeys[i],
                                std::to_string(FurtherValue(i) + round));
    }
}

void SetPerIteration(benchmark::State& state, const char* name, std::int64_t count) {
    state.counters[name] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kAvgIterations);
}

// A settings load with one store kept across loads, as the program does: the file is parsed
// once, later loads only check that it did not change.
void BM_V320Load_CachedStore(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, V320File())) {
        return;
    }
    const std::vector<std::string> slotKeys = SlotKeys();
    auto fileSystem = std::make_shared<kfg::test::CountingFileSystem>();
    ProfileStore store({}, fileSystem);
    // The program's first load parses the file; the figures are for the loads after it.
    LoadV320(store, file, slotKeys);
    const std::int64_t firstParse = fileSystem->reads;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadV320(store, file, slotKeys));
    }
    SetPerIteration(state, "parses/load", fileSystem->reads - firstParse);
    state.SetItemsProcessed(state.iterations() * kReadsPerLoad);
}
BENCHMARK(BM_V320Load_CachedStore);

// The same load with a new store each time: one parse per load, never one per key.
void BM_V320Load_FreshStore(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, V320File())) {
        return;
    }
    const std::vector<std::string> slotKeys = SlotKeys();
    auto fileSystem = std::make_shared<kfg::test::CountingFileSystem>();
    for (auto _ : state) {
        ProfileStore store({}, fileSystem);
        benchmark::DoNotOptimize(LoadV320(store, file, slotKeys));
    }
    SetPerIteration(state, "parses/load", fileSystem->reads);
    state.SetItemsProcessed(state.iterations() * kReadsPerLoad);
}
BENCHMARK(BM_V320Load_FreshStore);

// A save that writes the values the file already holds: no replacement at all.
void BM_V320Save_Unchanged(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, V320File())) {
        return;
    }
    const std::vector<std::string> slotKeys = SlotKeys();
    auto fileSystem = std::make_shared<kfg::test::CountingFileSystem>();
    std::int64_t failures = 0;
    ProfileStore store([&failures](const ProfileFailure&) { ++failures; }, fileSystem);

    const FileState before = PosixFileSystem().Probe(file);
    SaveV320(store, file, slotKeys, 0);
    const FileState after = PosixFileSystem().Probe(file);
    if (after.inode != before.inode || after.modifiedNanoseconds != before.modifiedNanoseconds ||
        fileSystem->replacements != 0) {
        state.SkipWithError("a save of unchanged values replaced the file");
        return;
    }
    for (auto _ : state) {
        SaveV320(store, file, slotKeys, 0);
    }
    if (failures != 0) {
        state.SkipWithError("a write failed");
    }
    SetPerIteration(state, "saves/save", fileSystem->replacements);
    state.SetItemsProcessed(state.iterations() * kWritesPerSave);
}
BENCHMARK(BM_V320Save_Unchanged);

// A save where every value changed: the 64 writes end in one save of the file. `inPlace`
// gives the file a second hard link, which a replacement would cut off, so the save writes
// it in place (grown, written, truncated, flushed) instead of replacing it. With `keeping`,
// each save first keeps the bytes it replaces in a history that is full (the oldest state
// goes each time), as after fifty saves; without, nothing is kept.
void V320SaveChanged(benchmark::State& state, bool inPlace, bool keeping = false) {
    TempFolder folder;
    auto history = keeping ? std::make_shared<kfg::platform::SaveHistory>(
                                 kfg::platform::StateFolder(folder.path() / "state"))
                           : nullptr;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, V320File())) {
        return;
    }
    std::error_code linkError;
    if (inPlace) {
        fs::create_hard_link(file, folder.path() / "Telvio-link.ini", linkError);
    }
    const std::vector<std::string> slotKeys = SlotKeys();
    auto fileSystem = std::make_shared<kfg::test::CountingFileSystem>();
    std::int64_t failures = 0;
    ProfileStore store([&failures](const ProfileFailure&) { ++failures; }, fileSystem, history);

    const FileState before = PosixFileSystem().Probe(file);
    SaveV320(store, file, slotKeys, 1);
    if (linkError || fileSystem->replacements != 1 ||
        (PosixFileSystem().Probe(file).inode == before.inode) != inPlace) {
        state.SkipWithError("the first save did not end in exactly one save of the kind wanted");
        return;
    }
    int round = 1;
    for (std::size_t kept = 1; keeping && kept < kfg::platform::kKeptStatesPerFile; ++kept) {
        round = 3 - round;
        SaveV320(store, file, slotKeys, round);
    }
    const std::int64_t replacementsBefore = fileSystem->replacements;
    for (auto _ : state) {
        round = 3 - round; // 2, 1, 2, ...: every save changes every value
        SaveV320(store, file, slotKeys, round);
    }
    if (failures != 0) {
        state.SkipWithError("a write failed");
    }
    if (keeping && history->States(file).size() != kfg::platform::kKeptStatesPerFile) {
        state.SkipWithError("the history does not hold its limit of states");
    }
    SetPerIteration(state, "saves/save", fileSystem->replacements - replacementsBefore);
    state.SetItemsProcessed(state.iterations() * kWritesPerSave);
}

void BM_V320Save_Changed_Replaced(benchmark::State& state) {
    V320SaveChanged(state, false);
}
BENCHMARK(BM_V320Save_Changed_Replaced);

void BM_V320Save_Changed_InPlace(benchmark::State& state) {
    V320SaveChanged(state, true);
}
BENCHMARK(BM_V320Save_Changed_InPlace);

void BM_V320Save_Changed_Replaced_Kept(benchmark::State& state) {
    V320SaveChanged(state, false, true);
}
BENCHMARK(BM_V320Save_Changed_Replaced_Kept);

void BM_V320Save_Changed_InPlace_Kept(benchmark::State& state) {
    V320SaveChanged(state, true, true);
}
BENCHMARK(BM_V320Save_Changed_InPlace_Kept);

// A file of `lines` lines: one header and numbered keys; the last key is the one read and
// written, the worst case for a scan.
std::string LargeFile(std::int64_t lines) {
    std::string text = "[Telvio]\r\n";
    for (std::int64_t i = 1; i < lines; ++i) {
        text += "Key" + std::to_string(i) + "=Value " + std::to_string(i) + "\r\n";
    }
    return text;
}

std::string LastKey(std::int64_t lines) {
    return "Key" + std::to_string(lines - 1);
}

// Parse and one read: a new store for each read.
void BM_ReadLastKey_FreshStore(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, LargeFile(state.range(0)))) {
        return;
    }
    const std::string key = LastKey(state.range(0));
    for (auto _ : state) {
        ProfileStore store;
        benchmark::DoNotOptimize(store.GetString(file, "Telvio", key, "", 256));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadLastKey_FreshStore)
    ->RangeMultiplier(10)
    ->Range(1'000, 100'000)
    ->Complexity(benchmark::oN);

// A read from a store that has the file already: only the check for changes and the lookup.
void BM_ReadLastKey_CachedStore(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, LargeFile(state.range(0)))) {
        return;
    }
    const std::string key = LastKey(state.range(0));
    ProfileStore store;
    store.GetString(file, "Telvio", key, "", 256); // the parse is not part of this figure
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetString(file, "Telvio", key, "", 256));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadLastKey_CachedStore)
    ->RangeMultiplier(10)
    ->Range(1'000, 100'000)
    ->Complexity(benchmark::oN);

// A write that changes the last key: the whole file is written to a temporary file, flushed
// and renamed over the old one.
void BM_WriteLastKey(benchmark::State& state) {
    TempFolder folder;
    const fs::path file = folder.path() / "Telvio.ini";
    if (!Prepare(state, folder, file, LargeFile(state.range(0)))) {
        return;
    }
    const std::string key = LastKey(state.range(0));
    ProfileStore store;
    int round = 0;
    for (auto _ : state) {
        if (store.WriteString(file, "Telvio", key, round == 0 ? "first" : "second")) {
            state.SkipWithError("a write failed");
            break;
        }
        round = 1 - round;
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteLastKey)->RangeMultiplier(10)->Range(1'000, 100'000)->Complexity(benchmark::oN);

} // namespace
