#pragma once

#include "settings/edition.h"

#include <filesystem>
#include <functional>
#include <system_error>

namespace kfg::platform {
class ProgramStarter;
}

namespace kfg::settings {

// The end of every start, once the settings are on disk: the sound initialisation when
// `soundInitialisation` asks for it, then the edition's viewer takes over this process with
// "Quick". `beforeHandOver` runs in between with the sound initialisation's outcome (success
// when it did not run): the last moment to say something or flush a stream. Returns only when
// the viewer could not be started, or from a starter that does not replace the process.
[[nodiscard]] std::error_code
StartViewer(platform::ProgramStarter& starter, const std::filesystem::path& folder, Edition edition,
            bool soundInitialisation,
            const std::function<void(const std::error_code& soundInitialised)>& beforeHandOver);

} // namespace kfg::settings
