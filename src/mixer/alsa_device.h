#pragma once

// One open card of the ALSA backend: the lines it offers and the notifications waiting for
// delivery. Shared by the files of the backend only.

#include "mixer/alsa_mixer.h"

#include <QObject>
#include <QSocketNotifier>
#include <alsa/asoundlib.h>
#include <memory>
#include <string>
#include <vector>

namespace kfg::mixer {

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using UniqueMixer = std::unique_ptr<snd_mixer_t, MixerCloser>;

struct AlsaMixer::Device {
    struct Line {
        snd_mixer_elem_t* element = nullptr; // null once the card removed it
        std::string name;
        std::uint32_t componentType = 0;
        std::vector<snd_mixer_selem_channel_id_t> channels;
        bool hasSwitch = false;
        // Line-in on HD-Audio: heard only while "Loopback Mixing" shows `loopbackEnabled`.
        snd_mixer_elem_t* loopback = nullptr;
        unsigned int loopbackEnabled = 0;
    };
    struct Pending {
        std::uint32_t message;
        std::uint32_t id;
    };

    // An element of the card changed or went: queues the notifications of the lines it
    // belongs to.
    void ElementChanged(snd_mixer_elem_t* element, unsigned int mask);

    std::string cardName;
    UniqueMixer mixer;
    // [0] is the destination; empty when the card has no playback master.
    std::vector<Line> lines;
    MixerCallback callback;
    std::vector<Pending> pending;
    // Declared after `mixer`, so they stop watching before its descriptors close.
    std::unique_ptr<QObject> context; // cancels queued deliveries when the device goes
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers;

    // Closing the mixer tells the element callbacks that every element goes; they must still
    // find the lines they look at.
    ~Device() {
        notifiers.clear();
        mixer.reset();
    }
};

// Opens `card` and reads its playback lines: the master as the destination, the other
// playback elements as its sources. Null when the card cannot be opened or read.
std::unique_ptr<AlsaMixer::Device> LoadAlsaDevice(AlsaCardSource& cards, const AlsaCard& card);

// Case-insensitive, as ALSA's element names are compared.
bool NameIs(const std::string& name, const char* wanted);

} // namespace kfg::mixer
