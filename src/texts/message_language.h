#pragma once

#include "texts/text_language.h"

namespace kfg::texts {

// The variables that choose the language of messages shown before any "Telvio.ini" is read
// (kfgctl, kfg's command line); nullptr where a variable is not set.
struct LocaleEnvironment {
    const char* language = nullptr; // LANGUAGE
    const char* lcAll = nullptr;
    const char* lcMessages = nullptr;
    const char* lang = nullptr;
};

// The four variables as this process's environment holds them.
LocaleEnvironment LocaleEnvironmentOfProcess();

// Where the messages go: a terminal shows the bytes it gets in the locale's character set; a
// window draws its own text.
enum class MessageOutput { Terminal, Window };

// The language users of gettext programs expect, decided from the variables' values alone (many
// machines have no locales generated, so the C library's locale is no guide): LANGUAGE's first
// entry whose language part is de, es or en, unless the locale in force is C or POSIX; then
// the locale in force (the first of LC_ALL, LC_MESSAGES, LANG that is set), "de" German, "es"
// Spanish, anything else English. A locale that names a character set other than UTF-8 gets
// English, whose texts are plain ASCII, so no UTF-8 bytes reach a terminal that cannot show them;
// for a terminal, so does a locale that names none ("de_DE": Latin-1 on a standard system).
TextLanguage MessageLanguage(const LocaleEnvironment& environment, MessageOutput output);

} // namespace kfg::texts
