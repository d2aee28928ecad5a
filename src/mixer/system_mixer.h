#pragma once

#include "mixer/mixer_api.h"

#include <memory>

namespace kfg::mixer {

// The mixer of this machine's sound cards (ALSA); a build without alsa-lib gets a mixer
// with no devices. Never null.
std::shared_ptr<MixerApi> MakeSystemMixer();
// A mixer with no devices: every binding ends at "No mixer device present". For the programs
// that run the dialog without touching the machine's sound cards. Never null.
std::shared_ptr<MixerApi> MakeNoMixer();

} // namespace kfg::mixer
