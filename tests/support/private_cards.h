#pragma once

// Sound cards that exist only in memory: the suite's fake control plugin, loaded from a
// private configuration tree, so no file or variable of the machine is involved.

#include "mixer/alsa_mixer.h"

#include <map>
#include <string>
#include <vector>

extern "C" {
typedef struct _snd_config snd_config_t;
}

namespace kfg::test {

class PrivateCards final : public mixer::AlsaCardSource {
public:
    struct Card {
        std::string elements; // configuration list body: "\"Master Playback Switch:b:2\" ..."
        std::string extra;    // further fields of the card
    };

    // Cards numbered 0, 1, ... in the given order. `defaultCard` is the value written as
    // "defaults.ctl.card": a number, "@n" for the name of card n, or empty for none.
    explicit PrivateCards(const std::vector<Card>& cards, const std::string& defaultCard = {});
    ~PrivateCards() override;
    PrivateCards(const PrivateCards&) = delete;
    PrivateCards& operator=(const PrivateCards&) = delete;

    std::vector<mixer::AlsaCard> Cards() override;
    int DefaultCard() override;
    int OpenControl(const std::string& name, snd_ctl_t** control) override;

    // Every element of card `index` with its values, read through a handle of its own.
    std::map<std::string, std::vector<long>> RawValues(int index);

private:
    snd_config_t* config_ = nullptr;
    std::vector<std::string> names_;
};

// Hands out the cards of a PrivateCards it does not own, so two mixers can open the same card
// and see each other's writes.
class SharedCards final : public mixer::AlsaCardSource {
public:
    explicit SharedCards(PrivateCards& cards)
        : cards_(cards) {}
    std::vector<mixer::AlsaCard> Cards() override { return cards_.Cards(); }
    int DefaultCard() override { return cards_.DefaultCard(); }
    int OpenControl(const std::string& name, snd_ctl_t** control) override {
        return cards_.OpenControl(name, control);
    }

private:
    PrivateCards& cards_;
};

} // namespace kfg::test
