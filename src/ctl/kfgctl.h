#pragma once

#include "texts/text_language.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace kfg::mixer {
class MixerApi;
}
namespace kfg::platform {
class ProgramStarter;
class SaveHistory;
} // namespace kfg::platform

namespace kfg::ctl {

// What kfgctl takes from the process it runs in, so tests can give it their own.
struct Environment {
    std::filesystem::path workingDirectory; // Telvio's folder unless -C names another
    texts::TextLanguage language = texts::TextLanguage::English;
    platform::ProgramStarter* starter = nullptr; // starts the sound initialisation and Telvio
    // Where saves keep the states they replace; none keeps nothing (and history lists none).
    std::shared_ptr<platform::SaveHistory> history;
    // The sound card's mixer, opened only when "start" is to unmute line-in.
    std::function<std::shared_ptr<mixer::MixerApi>()> mixer;
};

// Runs kfgctl with `arguments` (without the program's name): results on `out`, messages on
// `err`. Returns the exit status (cli::ExitStatus: 0 done, 1 refused or failed with nothing
// written, 2 a usage error); "start" returns only when Telvio could not replace it.
int RunKfgctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              const Environment& environment);

} // namespace kfg::ctl
