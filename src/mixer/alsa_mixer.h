#pragma once

// The mixer interface on ALSA. Device 0 is the configured default card when it has a playback
// master, else the first card in card order that has one; the other cards follow in card
// order. A device has one destination, the playback master ("Master", else "Headphone", else
// "PCM", as speakers), whose sources are the card's other playback elements, typed by name.
// A line's MUTE control is its element's playback switch, inverted and uniform: muted while
// any channel is off, written to every channel. On cards with "Loopback Mixing" (HD-Audio),
// line-in is also muted while that is not "Enabled", and unmuting enables it. Notifications
// come from alsa-lib's poll descriptors through Qt socket notifiers, so a Qt event loop must
// run on this thread for them to arrive by themselves.

#include "mixer/mixer_api.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C" {
typedef struct _snd_ctl snd_ctl_t;
typedef struct _snd_config snd_config_t;
}

namespace kfg::mixer {

struct AlsaCard {
    int index = 0;       // the card number
    std::string control; // the name it is opened by, e.g. "hw:2"

    bool operator==(const AlsaCard&) const = default;
};

// Where the cards come from: the system's, or a private configuration in tests.
class AlsaCardSource {
public:
    virtual ~AlsaCardSource() = default;
    // The cards, in alsa-lib's card order.
    virtual std::vector<AlsaCard> Cards() = 0;
    // The number of the card the configuration names as the default ("defaults.ctl.card"):
    // 0 when unset, -1 when it names no card.
    virtual int DefaultCard() = 0;
    // Opens card control `name` non-blocking; 0 or a negative alsa-lib error code.
    virtual int OpenControl(const std::string& name, snd_ctl_t** control) = 0;
};

// "defaults.ctl.card" of `config`: a number, or a card id that `indexOfId` turns into a number
// (negative when there is no such card); 0 when unset or not a plain value.
int ConfiguredDefaultCard(snd_config_t* config, const std::function<int(const char*)>& indexOfId);

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
    [[nodiscard]] MmResult Open(MixerHandle& handle, std::uint32_t device,
                                MixerCallback callback) override;
    [[nodiscard]] MmResult Close(MixerHandle handle) override;
    [[nodiscard]] MmResult GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    [[nodiscard]] MmResult GetLineInfo(MixerHandle handle, MixerLine& line,
                                       std::uint32_t flags) override;
    [[nodiscard]] MmResult GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                            std::uint32_t controlType,
                                            MixerControl& control) override;
    [[nodiscard]] MmResult GetControlDetails(MixerHandle handle,
                                             MixerControlDetails& details) override;
    [[nodiscard]] MmResult SetControlDetails(MixerHandle handle,
                                             const MixerControlDetails& details) override;
    void ProcessPendingEvents(MixerHandle handle) override;

    struct Device; // one open card

private:
    // The cards in device order; worked out again only when the cards change.
    const std::vector<AlsaCard>& DeviceOrder();
    Device* Find(MixerHandle handle);
    // Delivers the card's events through Qt socket notifiers on this thread.
    void WatchDescriptors(Device& device, MixerHandle handle);
    // The open device and the line a details request is for, or the error when the request
    // does not fit a control of this backend.
    struct LineRequest;
    LineRequest LineFor(MixerHandle handle, const MixerControlDetails& details);
    void HandleEvents(MixerHandle handle, bool pollFirst);
    void Deliver(MixerHandle handle);

    std::unique_ptr<AlsaCardSource> cards_;
    std::vector<AlsaCard> cardsSeen_;
    std::vector<AlsaCard> deviceOrder_;
    std::map<MixerHandle, std::unique_ptr<Device>> devices_;
    // Devices closed from inside a notification live until the notification returns.
    std::vector<std::unique_ptr<Device>> closing_;
    int dispatching_ = 0;
    MixerHandle nextHandle_ = 1;
};

} // namespace kfg::mixer
