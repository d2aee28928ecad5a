#pragma once

#include "telvio/edition.h"
#include "telvio/telvio_ini.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace kfg::settings {
class ProfileStore;
}

namespace kfg::telvio {

struct EditionDetection {
    // False when "Telvio.ini" is missing, unreadable or not a regular file; the caller shows
    // the message. Edition and prefix then keep their initial values.
    bool fileFound = false;
    Edition edition = kUndetectedEdition;
    IndexFilePrefix indexPrefixFlag = kIndexPrefixTelvioUnderscore;
};

// Decides which edition wrote "Telvio.ini" in `workingDirectory`: the first word that contains
// "OptimierungBT=", "Line-In=" or "Status=" (tested in that order) decides, then at most two
// keys of [Telvio] settle the edition. A stored value equal to a read's default counts as
// missing, as it does for the viewer.
EditionDetection DetectEdition(const std::filesystem::path& workingDirectory,
                               settings::ProfileStore& store);

// The edition that wrote `bytes`, the contents of a "Telvio.ini", by the same rules; nothing
// when no marker decides.
std::optional<Edition> DecidedEditionOfBytes(std::string_view bytes);

// DecidedEditionOfBytes, kUndetectedEdition when no marker decides, as a run would take it.
Edition DetectEditionOfBytes(std::string_view bytes);

} // namespace kfg::telvio
