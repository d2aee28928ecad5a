#include "texts/message_language.h"

#include "platform/name_lookup.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace kfg::texts {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

// "de_AT.UTF-8@euro" -> "de": the part before territory, character set and modifier.
std::string_view LanguagePart(std::string_view locale) {
    return locale.substr(0, locale.find_first_of("_.@"));
}

std::optional<TextLanguage> KnownLanguage(std::string_view locale) {
    const std::string_view part = LanguagePart(locale);
    if (part == "de") {
        return TextLanguage::German;
    }
    if (part == "es") {
        return TextLanguage::Spanish;
    }
    if (part == "en") {
        return TextLanguage::English;
    }
    return std::nullopt;
}

// The character set a locale name asks for: ".ISO-8859-1" names one; "@euro" without a
// character set is ISO-8859-15 by convention. A name without either is the language's legacy
// set on a standard system (Latin-1 for de_DE and es_ES) for a terminal; a window draws its
// own text and takes it as open.
bool NamesOtherThanUtf8(std::string_view locale, MessageOutput output) {
    const std::size_t modifier = locale.find('@');
    const std::string_view beforeModifier = locale.substr(0, modifier);
    const std::size_t dot = beforeModifier.find('.');
    if (dot == std::string_view::npos) {
        return output == MessageOutput::Terminal ||
               (modifier != std::string_view::npos && locale.substr(modifier) == "@euro");
    }
    const std::string_view codeset = beforeModifier.substr(dot + 1);
    return !platform::EqualIgnoringAsciiCase(codeset, "UTF-8") &&
           !platform::EqualIgnoringAsciiCase(codeset, "utf8");
}

bool IsCLocale(std::string_view locale) {
    return locale == "POSIX" || LanguagePart(locale) == "C";
}

} // namespace

LocaleEnvironment LocaleEnvironmentOfProcess() {
    return {std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
            std::getenv("LANG")};
}

TextLanguage MessageLanguage(const LocaleEnvironment& environment, MessageOutput output) {
    std::string_view inForce = "C";
    for (const char* value : {environment.lcAll, environment.lcMessages, environment.lang}) {
        if (IsSet(value)) {
            inForce = value;
            break;
        }
    }
    if (IsCLocale(inForce)) {
        return TextLanguage::English;
    }
    if (NamesOtherThanUtf8(inForce, output)) {
        return TextLanguage::English;
    }
    if (IsSet(environment.language)) {
        std::string_view list(environment.language);
        while (!list.empty()) {
            const std::size_t colon = list.find(':');
            if (const auto language = KnownLanguage(list.substr(0, colon))) {
                return *language;
            }
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        }
    }
    return KnownLanguage(inForce).value_or(TextLanguage::English);
}

} // namespace kfg::texts
