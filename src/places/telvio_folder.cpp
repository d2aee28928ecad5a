#include "places/telvio_folder.h"

#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "settings/edition_detection.h"

namespace kfg::places {

bool HoldsTelvioIni(const std::filesystem::path& folder) {
    return platform::CanReadRegularFile(
        platform::FindIgnoringCase(folder, settings::kViewerSettingsFile).path);
}

} // namespace kfg::places
