#include "mixer/alsa_mixer.h"
#include "mixer/system_mixer.h"

#include <alsa/asoundlib.h>

namespace kfg::mixer {
namespace {

class SystemCardSource final : public AlsaCardSource {
public:
    std::vector<AlsaCard> Cards() override {
        std::vector<AlsaCard> cards;
        int card = -1;
        while (snd_card_next(&card) == 0 && card >= 0) {
            cards.push_back({card, "hw:" + std::to_string(card)});
        }
        return cards;
    }
    int DefaultCard() override {
        if (snd_config_update() < 0) {
            return 0;
        }
        return ConfiguredDefaultCard(snd_config,
                                     [](const char* id) { return snd_card_get_index(id); });
    }
    int OpenControl(const std::string& name, snd_ctl_t** control) override {
        return snd_ctl_open(control, name.c_str(), SND_CTL_NONBLOCK);
    }
};

} // namespace

int ConfiguredDefaultCard(snd_config_t* config, const std::function<int(const char*)>& indexOfId) {
    snd_config_t* node = nullptr;
    if (config == nullptr || snd_config_search(config, "defaults.ctl.card", &node) < 0) {
        return 0;
    }
    long number = 0;
    if (snd_config_get_integer(node, &number) == 0) {
        return static_cast<int>(number);
    }
    const char* text = nullptr;
    if (snd_config_get_string(node, &text) < 0 || text == nullptr) {
        return 0;
    }
    const std::string value = text;
    if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
        return std::stoi(value.substr(0, 9));
    }
    const int index = indexOfId(text);
    return index >= 0 ? index : -1;
}

std::unique_ptr<AlsaCardSource> MakeSystemCardSource() {
    return std::make_unique<SystemCardSource>();
}

std::shared_ptr<MixerApi> MakeSystemMixer() {
    return std::make_shared<AlsaMixer>(MakeSystemCardSource());
}

} // namespace kfg::mixer
