#include "places/telvio_folder.h"

#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "settings/edition_detection.h"
#include "settings/profile_store.h"

namespace kfg::places {

bool HoldsTelvioIni(const std::filesystem::path& folder) {
    return platform::CanReadRegularFile(
        platform::FindIgnoringCase(folder, settings::kViewerSettingsFile).path);
}

std::optional<settings::Edition> EditionOf(const std::filesystem::path& folder) {
    // A store of its own: detection only reads, and the caller may be any thread.
    settings::ProfileStore store;
    const settings::EditionDetection detection = settings::DetectEdition(folder, store);
    if (!detection.fileFound) {
        return std::nullopt;
    }
    return detection.edition;
}

} // namespace kfg::places
