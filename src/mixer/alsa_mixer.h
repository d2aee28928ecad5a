#pragma once

// The mixer interface on ALSA. Device n is the n-th card of the card source; it has one
// destination, the playback master ("Master", else "Headphone", else "PCM", as speakers),
// whose sources are the card's other playback elements, typed by name. A line's MUTE control
// is its element's playback switch, inverted: switch on = not muted. Notifications come from
// alsa-lib's poll descriptors through Qt socket notifiers, so a Qt event loop must run on
// this thread for them to arrive by themselves.

#include "mixer/mixer_api.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C" {
typedef struct _snd_ctl snd_ctl_t;
}

namespace kfg::mixer {

// Where the cards come from: the system's, or a private configuration in tests.
class AlsaCardSource {
public:
    virtual ~AlsaCardSource() = default;
    // Control names of the cards, in alsa-lib's card order (e.g. "hw:0", "hw:2").
    virtual std::vector<std::string> Cards() = 0;
    // Opens card `name` non-blocking; 0 or a negative alsa-lib error code.
    virtual int OpenControl(const std::string& name, snd_ctl_t** control) = 0;
};

// The machine's cards, each opened as "hw:<card number>" (never "default", which on sound
// servers shows only their own few controls).
std::unique_ptr<AlsaCardSource> MakeSystemCardSource();

// The component type ALSA element `name` stands for as a source line.
std::uint32_t SourceTypeForElement(const std::string& name);

class AlsaMixer final : public MixerApi {
public:
    explicit AlsaMixer(std::unique_ptr<AlsaCardSource> cards);
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    std::uint32_t GetNumDevs() override;
    MmResult Open(MixerHandle& handle, std::uint32_t device, MixerCallback callback) override;
    MmResult Close(MixerHandle handle) override;
    MmResult GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    MmResult GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) override;
    MmResult GetControlByType(MixerHandle handle, std::uint32_t lineId, std::uint32_t controlType,
                              MixerControl& control) override;
    MmResult GetControlDetails(MixerHandle handle, MixerControlDetails& details) override;
    MmResult SetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    void ProcessPendingEvents(MixerHandle handle) override;

    struct Device; // one open card

private:
    Device* Find(MixerHandle handle);
    void HandleEvents(MixerHandle handle, bool pollFirst);
    void Deliver(MixerHandle handle);

    std::unique_ptr<AlsaCardSource> cards_;
    std::map<MixerHandle, std::unique_ptr<Device>> devices_;
    // Devices closed from inside a notification live until the notification returns.
    std::vector<std::unique_ptr<Device>> closing_;
    int dispatching_ = 0;
    MixerHandle nextHandle_ = 1;
};

} // namespace kfg::mixer
