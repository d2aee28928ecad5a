#pragma once

#include "platform/program_starter.h"
#include "telvio/edition.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>

namespace kfg::telvio {

// The capture card's sound initialisation: a Windows system program, as messages name it,
// waited for at most this long; Telvio starts after it either way.
inline constexpr const char* kSoundInitialisationProgram = "rundll32.exe";
inline constexpr std::chrono::seconds kSoundInitialisationLimit{5};
// What the starter runs for it: `wine rundll32.exe bt848dlg.dll,initialize`.
const platform::WaitedProgram& SoundInitialisation();

// The end of every start, once the settings are on disk: the sound initialisation when
// `soundInitialisation` asks for it, then the edition's viewer takes over this process with
// "Quick". `beforeHandOver` runs in between with the sound initialisation's outcome (success
// when it did not run): the last moment to say something or flush a stream. Returns only when
// the viewer could not be started, or from a starter that does not replace the process.
[[nodiscard]] std::error_code
StartViewer(platform::ProgramStarter& starter, const std::filesystem::path& folder, Edition edition,
            bool soundInitialisation,
            const std::function<void(const std::error_code& soundInitialised)>& beforeHandOver);

} // namespace kfg::telvio
