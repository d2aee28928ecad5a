#include "mixer/alsa_device.h"

#include <algorithm>
#include <array>
#include <optional>
#include <strings.h>
#include <utility>

namespace kfg::mixer {
namespace {

struct CardInfoFree {
    void operator()(snd_ctl_card_info_t* info) const { snd_ctl_card_info_free(info); }
};

int ElementEvent(snd_mixer_elem_t* element, unsigned int mask) {
    auto* device = static_cast<AlsaMixer::Device*>(snd_mixer_elem_get_callback_private(element));
    if (device != nullptr) {
        device->ElementChanged(element, mask);
    }
    return 0;
}

// The card's own name, or the name it was opened by when the card does not say.
std::string CardName(snd_ctl_t* control, const AlsaCard& card) {
    snd_ctl_card_info_t* rawInfo = nullptr;
    if (snd_ctl_card_info_malloc(&rawInfo) == 0) {
        const std::unique_ptr<snd_ctl_card_info_t, CardInfoFree> info(rawInfo);
        if (snd_ctl_card_info(control, info.get()) == 0) {
            return snd_ctl_card_info_get_name(info.get());
        }
    }
    return card.control;
}

// A mixer over the card's control, with its simple elements loaded; it owns `control` from
// here on, also when it fails.
UniqueMixer AttachMixer(snd_ctl_t* control) {
    snd_hctl_t* hctl = nullptr;
    if (snd_hctl_open_ctl(&hctl, control) < 0) {
        snd_ctl_close(control);
        return nullptr;
    }
    snd_mixer_t* rawMixer = nullptr;
    if (snd_mixer_open(&rawMixer, 0) < 0) {
        snd_hctl_close(hctl);
        return nullptr;
    }
    UniqueMixer mixer(rawMixer);
    // On failure the mixer has closed the hctl itself; from here the mixer owns it.
    if (snd_mixer_attach_hctl(rawMixer, hctl) < 0 ||
        snd_mixer_selem_register(rawMixer, nullptr, nullptr) < 0 || snd_mixer_load(rawMixer) < 0) {
        return nullptr;
    }
    return mixer;
}

// The enumeration item named `wanted`, if the element has one.
std::optional<unsigned int> EnumItem(snd_mixer_elem_t* element, const char* wanted) {
    const int items = snd_mixer_selem_get_enum_items(element);
    for (int item = 0; item < items; ++item) {
        std::array<char, 64> name{};
        if (snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(item), name.size(),
                                               name.data()) == 0 &&
            NameIs(name.data(), wanted)) {
            return static_cast<unsigned int>(item);
        }
    }
    return std::nullopt;
}

// A playback element as a line; nothing for an element without playback switch or volume.
std::optional<AlsaMixer::Device::Line> PlaybackLine(snd_mixer_elem_t* element) {
    const bool hasSwitch = snd_mixer_selem_has_playback_switch(element) > 0;
    if (!hasSwitch && snd_mixer_selem_has_playback_volume(element) <= 0) {
        return std::nullopt;
    }
    AlsaMixer::Device::Line line;
    line.element = element;
    line.name = snd_mixer_selem_get_name(element);
    if (const unsigned index = snd_mixer_selem_get_index(element); index > 0) {
        line.name += " " + std::to_string(index);
    }
    // "Has channel" answers an error code (non-zero) for a missing direction.
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (snd_mixer_selem_has_playback_channel(element, id) > 0) {
            line.channels.push_back(id);
        }
    }
    line.hasSwitch = hasSwitch;
    return line;
}

// The card's playback elements in element order, and its "Loopback Mixing" switch if any.
struct PlaybackElements {
    std::vector<AlsaMixer::Device::Line> lines;
    snd_mixer_elem_t* loopback = nullptr;
    unsigned int loopbackEnabled = 0;
};

PlaybackElements ReadPlaybackElements(snd_mixer_t* mixer) {
    PlaybackElements found;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        if (NameIs(snd_mixer_selem_get_name(element), "Loopback Mixing") &&
            snd_mixer_selem_is_enumerated(element) > 0) {
            if (const std::optional<unsigned int> enabled = EnumItem(element, "Enabled")) {
                found.loopback = element;
                found.loopbackEnabled = *enabled;
            }
            continue;
        }
        if (std::optional<AlsaMixer::Device::Line> line = PlaybackLine(element)) {
            found.lines.push_back(std::move(*line));
        }
    }
    return found;
}

// The first master by preference becomes the destination and the other elements its sources;
// a card without a master has no lines.
std::vector<AlsaMixer::Device::Line> ArrangeLines(PlaybackElements playback) {
    std::vector<AlsaMixer::Device::Line> lines;
    for (const char* master : {"Master", "Headphone", "PCM"}) {
        const auto found = std::find_if(
            playback.lines.begin(), playback.lines.end(),
            [master](const AlsaMixer::Device::Line& line) { return NameIs(line.name, master); });
        if (found == playback.lines.end()) {
            continue;
        }
        found->componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        lines.push_back(std::move(*found));
        playback.lines.erase(found);
        for (AlsaMixer::Device::Line& source : playback.lines) {
            source.componentType = SourceTypeForElement(source.name);
            if (source.componentType == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
                source.loopback = playback.loopback;
                source.loopbackEnabled = playback.loopbackEnabled;
            }
            lines.push_back(std::move(source));
        }
        break;
    }
    return lines;
}

// Lets the elements of the device's lines report their changes to it.
void WatchElements(AlsaMixer::Device& device) {
    for (const AlsaMixer::Device::Line& line : device.lines) {
        for (snd_mixer_elem_t* element : {line.element, line.loopback}) {
            if (element != nullptr) {
                snd_mixer_elem_set_callback(element, &ElementEvent);
                snd_mixer_elem_set_callback_private(element, &device);
            }
        }
    }
}

} // namespace

bool NameIs(const std::string& name, const char* wanted) {
    return ::strcasecmp(name.c_str(), wanted) == 0;
}

void AlsaMixer::Device::ElementChanged(snd_mixer_elem_t* element, unsigned int mask) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Line& line = lines[i];
        const auto id = static_cast<std::uint32_t>(i);
        if (line.element == element && mask == SND_CTL_EVENT_MASK_REMOVE) {
            line.element = nullptr;
            pending.push_back({MM_MIXM_LINE_CHANGE, id});
        } else if (line.loopback == element && mask == SND_CTL_EVENT_MASK_REMOVE) {
            line.loopback = nullptr;
            pending.push_back({MM_MIXM_CONTROL_CHANGE, id + 1});
        } else if ((line.element == element || line.loopback == element) &&
                   (mask & SND_CTL_EVENT_MASK_VALUE) != 0 && line.hasSwitch) {
            pending.push_back({MM_MIXM_CONTROL_CHANGE, id + 1});
        }
    }
}

std::uint32_t SourceTypeForElement(const std::string& name) {
    static constexpr std::pair<const char*, std::uint32_t> kTypes[] = {
        {"Line", MIXERLINE_COMPONENTTYPE_SRC_LINE},
        {"CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
        {"Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
        {"PCM", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
        {"Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
        {"Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY},
        {"Phone", MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE},
        {"PC Speaker", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
        {"Beep", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
        {"Video", MIXERLINE_COMPONENTTYPE_SRC_ANALOG},
        {"IEC958", MIXERLINE_COMPONENTTYPE_SRC_DIGITAL},
    };
    for (const auto& [element, type] : kTypes) {
        if (NameIs(name, element)) {
            return type;
        }
    }
    return MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED;
}

std::unique_ptr<AlsaMixer::Device> LoadAlsaDevice(AlsaCardSource& cards, const AlsaCard& card) {
    snd_ctl_t* control = nullptr;
    if (cards.OpenControl(card.control, &control) < 0 || control == nullptr) {
        return nullptr; // no such card, or not ours to open (audio group)
    }
    auto loaded = std::make_unique<AlsaMixer::Device>();
    loaded->cardName = CardName(control, card);
    loaded->mixer = AttachMixer(control);
    if (loaded->mixer == nullptr) {
        return nullptr;
    }
    loaded->lines = ArrangeLines(ReadPlaybackElements(loaded->mixer.get()));
    WatchElements(*loaded);
    return loaded;
}

} // namespace kfg::mixer
