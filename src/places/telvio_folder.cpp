#include "places/telvio_folder.h"

#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "telvio/edition_detection.h"

namespace kfg::places {

std::optional<telvio::Edition> EditionOf(const std::filesystem::path& folder) {
    // One read of the file: the caller may be any thread, and lists many folders.
    const std::filesystem::path file =
        platform::FindIgnoringCase(folder, telvio::kViewerSettingsFile).path;
    std::string bytes;
    if (platform::PosixFileSystem().ReadAll(file, bytes)) { // also refuses what is no regular file
        return std::nullopt;
    }
    return telvio::DetectEditionOfBytes(bytes);
}

} // namespace kfg::places
