#pragma once

#include "mixer/mixer_api.h"

#include <memory>

namespace kfg::mixer {

// The mixer of this machine's sound cards (ALSA); a build without alsa-lib gets a mixer
// with no devices. Never null.
std::shared_ptr<MixerApi> MakeSystemMixer();

} // namespace kfg::mixer
