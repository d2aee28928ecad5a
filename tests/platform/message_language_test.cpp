#include "platform/message_language.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace kfg::platform {
namespace {

using enum TextLanguage;

TEST(MessageLanguage, ChosenFromTheVariablesAsGettextUsersExpect) {
    // The language for a terminal, which is also the window's unless `window` says otherwise.
    struct Row {
        LocaleEnvironment environment;
        TextLanguage terminal;
        std::optional<TextLanguage> window = std::nullopt;
    };
    const Row rows[] = {
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
        // No character set named: the language's legacy one on a standard system, so plain
        // English on a terminal; a window draws its own text.
        {{nullptr, nullptr, nullptr, "de_DE"}, English, German},
        {{nullptr, nullptr, nullptr, "es_ES"}, English, Spanish},
        {{"es", nullptr, nullptr, "de"}, English, Spanish},
    };
    for (const Row& row : rows) {
        const auto show = [](const char* value) { return value == nullptr ? "(unset)" : value; };
        const LocaleEnvironment& environment = row.environment;
        SCOPED_TRACE("LANGUAGE=" + std::string(show(environment.language)) + " LC_ALL=" +
                     show(environment.lcAll) + " LC_MESSAGES=" + show(environment.lcMessages) +
                     " LANG=" + show(environment.lang));
        EXPECT_EQ(MessageLanguage(environment, MessageOutput::Terminal), row.terminal);
        EXPECT_EQ(MessageLanguage(environment, MessageOutput::Window),
                  row.window.value_or(row.terminal));
    }
}

} // namespace
} // namespace kfg::platform
