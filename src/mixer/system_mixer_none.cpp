// The mixer with no device: every binding ends at "No mixer device present" and the switch
// stays disabled. A build without alsa-lib uses it as the system mixer too.
#include "mixer/system_mixer.h"

namespace kfg::mixer {

namespace {

class NoMixer final : public MixerApi {
public:
    std::uint32_t GetNumDevs() override { return 0; }
    [[nodiscard]] MmResult Open(MixerHandle&, std::uint32_t, MixerCallback) override {
        return MMSYSERR_BADDEVICEID;
    }
    [[nodiscard]] MmResult Close(MixerHandle) override { return MMSYSERR_INVALHANDLE; }
    [[nodiscard]] MmResult GetDevCaps(MixerHandle, MixerCaps&) override {
        return MMSYSERR_INVALHANDLE;
    }
    [[nodiscard]] MmResult GetLineInfo(MixerHandle, MixerLine&, std::uint32_t) override {
        return MMSYSERR_INVALHANDLE;
    }
    [[nodiscard]] MmResult GetControlByType(MixerHandle, std::uint32_t, std::uint32_t,
                                            MixerControl&) override {
        return MMSYSERR_INVALHANDLE;
    }
    [[nodiscard]] MmResult GetControlDetails(MixerHandle, MixerControlDetails&) override {
        return MMSYSERR_INVALHANDLE;
    }
    [[nodiscard]] MmResult SetControlDetails(MixerHandle, const MixerControlDetails&) override {
        return MMSYSERR_INVALHANDLE;
    }
    void ProcessPendingEvents(MixerHandle) override {}
};

} // namespace

std::shared_ptr<MixerApi> MakeNoMixer() {
    return std::make_shared<NoMixer>();
}

} // namespace kfg::mixer
