#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kfg::texts {

// The languages KFG's texts exist in: the dialog speaks German or Spanish, kfgctl also English.
enum class TextLanguage { English, German, Spanish };

// A text in each language; the dialog uses the German and Spanish columns only.
struct Texts {
    const char* english;
    const char* german;
    const char* spanish;

    constexpr const char* In(TextLanguage language) const {
        switch (language) {
        case TextLanguage::German:
            return german;
        case TextLanguage::Spanish:
            return spanish;
        case TextLanguage::English:
            break;
        }
        return english;
    }
};

// `sentence` with %1, %2, ... %9 replaced by the values in order; a "%" before anything else
// stays as it is.
std::string FillIn(std::string_view sentence, std::span<const std::string_view> values);
inline std::string FillIn(std::string_view sentence,
                          std::initializer_list<std::string_view> values) {
    return FillIn(sentence, std::span<const std::string_view>(values.begin(), values.size()));
}

} // namespace kfg::texts
