// Built instead of the ALSA backend when alsa-lib is missing: the machine's mixer has no device.
#include "mixer/system_mixer.h"

namespace kfg::mixer {

std::shared_ptr<MixerApi> MakeSystemMixer() {
    return MakeNoMixer();
}

} // namespace kfg::mixer
