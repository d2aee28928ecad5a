#include "settings/edition_detection.h"

#include "platform/name_lookup.h"
#include "settings/edition_facts.h"
#include "settings/profile_store.h"
#include "settings/token_reader.h"

#include <algorithm>
#include <memory>
#include <optional>
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

// The first word holding a marker decides; nothing when none does.
template <typename Reader>
std::optional<Edition> FirstMarkerDecides(Reader& reader, ProfileStore& store,
                                          const std::filesystem::path& file) {
    while (const std::optional<std::string> word = reader.Next()) {
        if (const Marker* marker = FindMarker(*word)) {
            return marker->decide(store, file);
        }
    }
    return std::nullopt;
}

// One file held in memory, for the key reads of the detection; it cannot be written.
class BytesAsFile final : public platform::FileSystem {
public:
    explicit BytesAsFile(std::string_view bytes)
        : bytes_(bytes) {}

    platform::FileState Probe(const std::filesystem::path&) const override {
        platform::FileState state;
        state.exists = state.present = true;
        state.mode = 0400;
        state.size = bytes_.size();
        return state;
    }
    bool MayWrite(const std::filesystem::path&) const override { return false; }
    std::error_code ReadAll(const std::filesystem::path&, std::string& contents) const override {
        contents = bytes_;
        return {};
    }
    std::error_code Save(const std::filesystem::path&, std::string_view,
                         platform::SaveNotes&) override {
        return std::make_error_code(std::errc::read_only_file_system);
    }

private:
    std::string bytes_;
};

} // namespace

std::optional<Edition> DecidedEditionOfBytes(std::string_view bytes) {
    ProfileStore store({}, std::make_shared<BytesAsFile>(bytes), nullptr);
    std::size_t position = 0;
    TokenReader reader([&](char* buffer, std::size_t capacity, std::error_code&) {
        const std::size_t count = std::min(capacity, bytes.size() - position);
        std::copy_n(bytes.data() + position, count, buffer);
        position += count;
        return count;
    });
    return FirstMarkerDecides(reader, store, kViewerSettingsFile);
}

Edition DetectEditionOfBytes(std::string_view bytes) {
    return DecidedEditionOfBytes(bytes).value_or(kUndetectedEdition);
}

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
    if (const std::optional<Edition> edition = FirstMarkerDecides(reader, store, file)) {
        result.edition = *edition;
        result.indexPrefixFlag = FactsOf(result.edition).indexPrefix;
    }
    return result;
}

} // namespace kfg::settings
