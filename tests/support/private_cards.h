#pragma once

// Sound cards that exist only in memory: the suite's fake control plugin, loaded from a
// private configuration tree, so no file or variable of the machine is involved.

#include "mixer/alsa_mixer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C" {
typedef struct _snd_config snd_config_t;
}

namespace kfg::test {

class PrivateCards final : public mixer::AlsaCardSource {
public:
    struct Card {
        std::string elements;   // configuration list body: "\"Master Playback Switch:b:2\" ..."
        std::string extra = {}; // further fields of the card
    };

    // Cards numbered 0, 1, ... in the given order. `defaultCard` is the value written as
    // "defaults.ctl.card": a number, "@n" for the name of card n, or empty for none.
    // A copy hands out the same cards, so two mixers can open one card and see each other's
    // writes.
    explicit PrivateCards(const std::vector<Card>& cards, const std::string& defaultCard = {});

    std::vector<mixer::AlsaCard> Cards() override;
    int DefaultCard() override;
    int OpenControl(const std::string& name, snd_ctl_t** control) override;

    // Every element of card `index` with its values, read through a handle of its own.
    std::map<std::string, std::vector<long>> RawValues(int index);

private:
    std::shared_ptr<snd_config_t> config_;
    std::vector<std::string> names_;
};

using SharedCards = PrivateCards;

} // namespace kfg::test
