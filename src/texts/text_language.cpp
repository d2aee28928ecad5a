#include "texts/text_language.h"

namespace kfg::texts {

std::string FillIn(std::string_view sentence, std::span<const std::string_view> values) {
    std::string text;
    for (std::size_t i = 0; i < sentence.size(); ++i) {
        const bool marker = sentence[i] == '%' && i + 1 < sentence.size() &&
                            sentence[i + 1] >= '1' && sentence[i + 1] <= '9';
        const auto index = marker ? static_cast<std::size_t>(sentence[i + 1] - '1') : 0;
        if (marker && index < values.size()) {
            text += values[index];
            ++i;
        } else {
            text += sentence[i];
        }
    }
    return text;
}

} // namespace kfg::texts
