#include "platform/message_language.h"

#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

using enum TextLanguage;

TEST(MessageLanguage, ChosenFromTheVariablesAsGettextUsersExpect) {
    const std::pair<LocaleEnvironment, TextLanguage> rows[] = {
        {{}, English}, // nothing set: the C locale
        // The locale in force: LC_ALL before LC_MESSAGES before LANG, by its language part.
        {{nullptr, nullptr, nullptr, "de_DE.UTF-8"}, German},
        {{nullptr, nullptr, "es_ES.UTF-8", "de_DE.UTF-8"}, Spanish},
        {{nullptr, "de_AT.UTF-8", "es_ES.UTF-8", "en_US.UTF-8"}, German},
        {{nullptr, "", "", "es_MX.utf8"}, Spanish},
        {{nullptr, nullptr, nullptr, "fr_FR.UTF-8"}, English},
        {{nullptr, nullptr, nullptr, "desert"}, English},
        // LANGUAGE comes first, its entries matched by their language part, unknown ones skipped.
        {{"de", nullptr, nullptr, "en_US.UTF-8"}, German},
        {{"fr:es_AR:de", nullptr, nullptr, "en_US.UTF-8"}, Spanish},
        {{"fr:nl", nullptr, nullptr, "de_DE.UTF-8"}, German},
        {{"en_GB:de", nullptr, nullptr, "de_DE.UTF-8"}, English},
        {{"::es", nullptr, nullptr, "de_DE.UTF-8"}, Spanish},
        // ... but not while the locale in force is C or POSIX.
        {{"de", nullptr, nullptr, nullptr}, English},
        {{"de", "C", nullptr, "es_ES.UTF-8"}, English},
        {{"es", nullptr, nullptr, "C.UTF-8"}, English},
        {{"es", nullptr, "POSIX", nullptr}, English},
        // A character set other than UTF-8: plain English, whatever asks for another language.
        {{nullptr, nullptr, nullptr, "de_DE.ISO-8859-1"}, English},
        {{nullptr, nullptr, nullptr, "de_DE@euro"}, English},
        {{"de", nullptr, nullptr, "es_ES.ISO-8859-15@euro"}, English},
        {{nullptr, nullptr, nullptr, "de_DE.UTF-8@euro"}, German},
        {{nullptr, nullptr, nullptr, "de_DE"}, German},
    };
    for (const auto& [environment, expected] : rows) {
        const auto show = [](const char* value) { return value == nullptr ? "(unset)" : value; };
        EXPECT_EQ(MessageLanguage(environment), expected)
            << "LANGUAGE=" << show(environment.language) << " LC_ALL=" << show(environment.lcAll)
            << " LC_MESSAGES=" << show(environment.lcMessages)
            << " LANG=" << show(environment.lang);
    }
}

} // namespace
} // namespace kfg::platform
