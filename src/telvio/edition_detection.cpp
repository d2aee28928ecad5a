#include "telvio/edition_detection.h"

#include "settings/profile_document.h"
#include "settings/profile_reads.h"
#include "settings/profile_store.h"
#include "settings/token_reader.h"
#include "telvio/edition_facts.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kfg::telvio {

namespace {

// The viewer reads its keys from [Telvio] whatever section the marker stood in, so the
// checks below use kViewerSection for every edition.

// The key reads' defaults double as "missing": a stored value equal to one reads the same.
constexpr int kAccelMissing = 30;
constexpr int kProportionalMissing = 2;
constexpr int kTurboMissing = 2;

bool KeyPresent(const settings::ProfileDocument& file, std::string_view key, int missing) {
    return settings::ReadProfileInt(file, kViewerSection, key, missing) !=
           static_cast<std::uint32_t>(missing);
}

Edition DecideOptimierung(const settings::ProfileDocument& file) {
    return KeyPresent(file, "Accel", kAccelMissing) ? Edition::V283Quik : Edition::V283;
}

Edition DecideLineIn(const settings::ProfileDocument& /*file*/) {
    return Edition::Erazor;
}

Edition DecideStatus(const settings::ProfileDocument& file) {
    if (KeyPresent(file, "Proportional", kProportionalMissing)) {
        return Edition::V320;
    }
    return KeyPresent(file, "Turbo", kTurboMissing) ? Edition::V311 : Edition::V31;
}

struct Marker {
    std::string_view text;
    Edition (*decide)(const settings::ProfileDocument&);
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

std::optional<Edition> DecidedEditionOfBytes(std::string_view bytes) {
    std::size_t position = 0;
    settings::TokenReader reader([&](char* buffer, std::size_t capacity, std::error_code&) {
        const std::size_t count = std::min(capacity, bytes.size() - position);
        std::copy_n(bytes.data() + position, count, buffer);
        position += count;
        return count;
    });
    // The first word holding a marker decides, from the keys the file holds.
    while (const std::optional<std::string> word = reader.Next()) {
        if (const Marker* marker = FindMarker(*word)) {
            return marker->decide(settings::ProfileDocument::Parse(bytes));
        }
    }
    return std::nullopt;
}

Edition DetectEditionOfBytes(std::string_view bytes) {
    return DecidedEditionOfBytes(bytes).value_or(kUndetectedEdition);
}

EditionDetection DetectEdition(const std::filesystem::path& workingDirectory,
                               settings::ProfileStore& store) {
    EditionDetection result;
    if (!HoldsTelvioIni(workingDirectory)) {
        return result;
    }
    result.fileFound = true;
    // One read, the store's, which the load that follows finds in its cache. A read that
    // fails after the file was found tells no edition, as an empty file.
    std::string bytes;
    (void)store.ReadBytes(workingDirectory / kViewerSettingsFile, bytes);
    if (const std::optional<Edition> edition = DecidedEditionOfBytes(bytes)) {
        result.edition = *edition;
        result.indexPrefixFlag = FactsOf(result.edition).indexPrefix;
    }
    return result;
}

} // namespace kfg::telvio
