#include "settings/edition_detection.h"

#include "platform/name_lookup.h"
#include "settings/edition_facts.h"
#include "settings/profile_store.h"
#include "settings/token_reader.h"

#include <string_view>
#include <system_error>

namespace kfg::settings {

namespace {

// The viewer reads its keys from [Telvio] whatever section the marker stood in, so the
// checks below use kViewerSection for every edition.

// The key reads' defaults double as "missing": a stored value equal to one reads the same.
constexpr int kAccelMissing = 30;
constexpr int kProportionalMissing = 2;
constexpr int kTurboMissing = 2;

bool KeyPresent(ProfileStore& store, const std::filesystem::path& file, std::string_view key,
                int missing) {
    return store.GetInt(file, kViewerSection, key, missing) != static_cast<std::uint32_t>(missing);
}

Edition DecideOptimierung(ProfileStore& store, const std::filesystem::path& file) {
    return KeyPresent(store, file, "Accel", kAccelMissing) ? Edition::V283Quik : Edition::V283;
}

Edition DecideLineIn(ProfileStore& /*store*/, const std::filesystem::path& /*file*/) {
    return Edition::Erazor;
}

Edition DecideStatus(ProfileStore& store, const std::filesystem::path& file) {
    if (KeyPresent(store, file, "Proportional", kProportionalMissing)) {
        return Edition::V320;
    }
    return KeyPresent(store, file, "Turbo", kTurboMissing) ? Edition::V311 : Edition::V31;
}

struct Marker {
    std::string_view text;
    Edition (*decide)(ProfileStore&, const std::filesystem::path&);
};

// Tested in this order on every word; the first word holding any of them decides.
constexpr Marker kMarkers[] = {
    {"OptimierungBT=", DecideOptimierung},
    {"Line-In=", DecideLineIn},
    {"Status=", DecideStatus},
};

const Marker* FindMarker(std::string_view word) {
    for (const Marker& marker : kMarkers) {
        if (word.find(marker.text) != std::string_view::npos) {
            return &marker;
        }
    }
    return nullptr;
}

} // namespace

EditionDetection DetectEdition(const std::filesystem::path& workingDirectory, ProfileStore& store) {
    EditionDetection result;
    const std::filesystem::path file = workingDirectory / kViewerSettingsFile;

    // The store finds "TELVIO.INI" for the same name on its own.
    std::error_code error;
    FileTokenReader reader(platform::FindIgnoringCase(workingDirectory, kViewerSettingsFile).path,
                           error);
    if (!reader.IsOpen()) {
        return result;
    }
    result.fileFound = true;

    // A read error ends the scan like the end of the file: what was seen so far decides.
    while (const std::optional<std::string> word = reader.Next()) {
        if (const Marker* marker = FindMarker(*word)) {
            result.edition = marker->decide(store, file);
            result.indexPrefixFlag = FactsOf(result.edition).indexPrefix;
            break;
        }
    }
    return result;
}

} // namespace kfg::settings
