#include "telvio/viewer_start.h"

#include "platform/program_starter.h"
#include "telvio/edition_facts.h"

#include <string>

namespace kfg::telvio {

const platform::WaitedProgram& SoundInitialisation() {
    static const platform::WaitedProgram kProgram{
        "sound initialisation",
        {kSoundInitialisationProgram, "bt848dlg.dll,initialize"},
        kSoundInitialisationLimit};
    return kProgram;
}

std::error_code
StartViewer(platform::ProgramStarter& starter, const std::filesystem::path& folder, Edition edition,
            bool soundInitialisation,
            const std::function<void(const std::error_code& soundInitialised)>& beforeHandOver) {
    std::error_code soundInitialised;
    if (soundInitialisation) {
        // Waits at most kSoundInitialisationLimit; the viewer starts whatever the program gave.
        soundInitialised = starter.RunWaited(folder, SoundInitialisation());
    }
    beforeHandOver(soundInitialised);
    return starter.HandOver(folder, std::string(FactsOf(edition).viewerProgram), {"Quick"});
}

} // namespace kfg::telvio
