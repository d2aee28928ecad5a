#pragma once

#include "platform/text_language.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace kfg::ctl {

// kfgctl's own messages; the dialog's texts (failure reasons, name problems) come from the
// layers below.
enum class Message {
    MissingFolder,
    MissingViewerSettings,
    UnknownKey,
    NotRead,
    NotWritten,
    NotANumber,
    OutOfRange,
    NoSuchRow,
    ZeroSlot,
    StoredOutOfRange,
    UnknownConfiguration,
    UnknownCommand,
    UnknownOption,
    FolderExpected,
    WrongArguments,
    NotAnAssignment,
    OptionNotTaken,
    FirstRunPending,
};

// The message in `language`, %1, %2, ... filled in with `values`.
std::string Text(Message message, platform::TextLanguage language,
                 std::initializer_list<std::string_view> values = {});

// The language the locale asks messages in: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty; "de..." German, "es..." Spanish, anything else English.
platform::TextLanguage LanguageOfLocale(const char* lcAll, const char* lcMessages,
                                        const char* lang);

} // namespace kfg::ctl
