#include "texts/message_language.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace kfg::texts {
namespace {

using enum TextLanguage;

TEST(MessageLanguage, ChosenFromTheVariablesAsGettextUsersExpect) {
    struct Row {
        LocaleEnvironment environment;
        TextLanguage terminal;
        std::optional<TextLanguage> window = std::nullopt; // none: the terminal's
    };
    const Row rows[] = {
        {.environment = {}, .terminal = English}, // nothing set: the C locale
        // The locale in force: LC_ALL before LC_MESSAGES before LANG, by its language part.
        {.environment = {.lang = "de_DE.UTF-8"}, .terminal = German},
        {.environment = {.lcMessages = "es_ES.UTF-8", .lang = "de_DE.UTF-8"}, .terminal = Spanish},
        {.environment = {.lcAll = "de_AT.UTF-8",
                         .lcMessages = "es_ES.UTF-8",
                         .lang = "en_US.UTF-8"},
         .terminal = German},
        {.environment = {.lcAll = "", .lcMessages = "", .lang = "es_MX.utf8"}, .terminal = Spanish},
        {.environment = {.lang = "fr_FR.UTF-8"}, .terminal = English},
        {.environment = {.lang = "desert"}, .terminal = English},
        // LANGUAGE comes first, its entries matched by their language part, unknown ones skipped.
        {.environment = {.language = "de", .lang = "en_US.UTF-8"}, .terminal = German},
        {.environment = {.language = "fr:es_AR:de", .lang = "en_US.UTF-8"}, .terminal = Spanish},
        {.environment = {.language = "fr:nl", .lang = "de_DE.UTF-8"}, .terminal = German},
        {.environment = {.language = "en_GB:de", .lang = "de_DE.UTF-8"}, .terminal = English},
        {.environment = {.language = "::es", .lang = "de_DE.UTF-8"}, .terminal = Spanish},
        // ... but not while the locale in force is C or POSIX.
        {.environment = {.language = "de"}, .terminal = English},
        {.environment = {.language = "de", .lcAll = "C", .lang = "es_ES.UTF-8"},
         .terminal = English},
        {.environment = {.language = "es", .lang = "C.UTF-8"}, .terminal = English},
        {.environment = {.language = "es", .lcMessages = "POSIX"}, .terminal = English},
        // A character set other than UTF-8: plain English, whatever asks for another language.
        {.environment = {.lang = "de_DE.ISO-8859-1"}, .terminal = English},
        {.environment = {.lang = "de_DE@euro"}, .terminal = English},
        {.environment = {.language = "de", .lang = "es_ES.ISO-8859-15@euro"}, .terminal = English},
        {.environment = {.lang = "de_DE.UTF-8@euro"}, .terminal = German},
        // No character set named: the language's legacy one on a standard system, so plain
        // English on a terminal; a window draws its own text.
        {.environment = {.lang = "de_DE"}, .terminal = English, .window = German},
        {.environment = {.lang = "es_ES"}, .terminal = English, .window = Spanish},
        {.environment = {.language = "es", .lang = "de"}, .terminal = English, .window = Spanish},
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
} // namespace kfg::texts
