#include "support/private_cards.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <memory>

namespace kfg::test {

PrivateCards::PrivateCards(const std::vector<Card>& cards, const std::string& defaultCard) {
    static int serial = 0;
    std::string text = std::string("ctl_type.kfgfake { lib \"") + KFG_FAKE_CARD_PLUGIN +
                       "\" open \"_snd_ctl_kfgfake_open\" }\n";
    for (const Card& card : cards) {
        const std::string name = "kfgcard" + std::to_string(++serial);
        text += "ctl." + name + " { type kfgfake elements [ " + card.elements + " ] " + card.extra +
                " }\n";
        names_.push_back(name);
    }
    if (!defaultCard.empty() && defaultCard.front() == '@') {
        // A card by its name, as a user's configuration may name it.
        text += "defaults.ctl.card \"" + names_.at(std::stoul(defaultCard.substr(1))) + "\"\n";
    } else if (!defaultCard.empty()) {
        text += "defaults.ctl.card " + defaultCard + "\n";
    }
    snd_input_t* input = nullptr;
    snd_config_t* config = nullptr;
    EXPECT_EQ(snd_input_buffer_open(&input, text.data(), static_cast<ssize_t>(text.size())), 0);
    EXPECT_EQ(snd_config_top(&config), 0);
    config_.reset(config, snd_config_delete);
    EXPECT_EQ(snd_config_load(config, input), 0) << text;
    snd_input_close(input);
}

std::vector<mixer::AlsaCard> PrivateCards::Cards() {
    std::vector<mixer::AlsaCard> cards;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        cards.push_back({static_cast<int>(i), names_[i]});
    }
    return cards;
}

int PrivateCards::DefaultCard() {
    return mixer::ConfiguredDefaultCard(config_.get(), [this](const char* id) {
        const auto found = std::find(names_.begin(), names_.end(), id);
        return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
    });
}

int PrivateCards::OpenControl(const std::string& name, snd_ctl_t** control) {
    return snd_ctl_open_lconf(control, name.c_str(), SND_CTL_NONBLOCK, config_.get());
}

std::map<std::string, std::vector<long>> PrivateCards::RawValues(int index) {
    std::map<std::string, std::vector<long>> values;
    snd_ctl_t* control = nullptr;
    snd_hctl_t* opened = nullptr;
    if (OpenControl(names_.at(static_cast<std::size_t>(index)), &control) < 0) {
        ADD_FAILURE() << "card " << index << " does not open";
        return values;
    }
    if (snd_hctl_open_ctl(&opened, control) < 0) {
        snd_ctl_close(control);
        ADD_FAILURE() << "card " << index << " has no element cache";
        return values;
    }
    // Closing the element cache closes the control too.
    const std::unique_ptr<snd_hctl_t, decltype(&snd_hctl_close)> elements(opened, snd_hctl_close);
    if (snd_hctl_load(elements.get()) < 0) {
        ADD_FAILURE() << "card " << index << " elements do not load";
        return values;
    }
    snd_ctl_elem_info_t* info = nullptr;
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_info_alloca(&info);
    snd_ctl_elem_value_alloca(&value);
    for (snd_hctl_elem_t* element = snd_hctl_first_elem(elements.get()); element != nullptr;
         element = snd_hctl_elem_next(element)) {
        snd_hctl_elem_info(element, info);
        EXPECT_EQ(snd_hctl_elem_read(element, value), 0);
        const bool enumerated = snd_ctl_elem_info_get_type(info) == SND_CTL_ELEM_TYPE_ENUMERATED;
        std::vector<long>& read = values[snd_hctl_elem_get_name(element)];
        for (unsigned channel = 0; channel < snd_ctl_elem_info_get_count(info); ++channel) {
            // A switch's values are kept as integers too.
            read.push_back(enumerated ? snd_ctl_elem_value_get_enumerated(value, channel)
                                      : snd_ctl_elem_value_get_integer(value, channel));
        }
    }
    return values;
}

} // namespace kfg::test
