#pragma once

#include "texts/text_language.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace kfg::shortcut {

// What kfg-shortcut says, in the message language; what kfg and kfgctl say alike comes from
// the texts room. %1 is the folder as given unless a row says otherwise.
enum class Message {
    NoFolderGiven,
    TwoFolders,
    SeeHelp,
    NotAFolder,
    NoTelvioIni,
    PathNotUtf8,
    PathHasControl,
    NoDataHome,
    NoEntry,
    FolderUnusable,  // %2: why, in the system's words
    EntryNotRemoved, // %1: the entry, %2: why
    EntryWritten,    // %1: the entry
    EntryRemoved,    // %1: the entry
};

// The message in `language`, %1, %2 filled in with `values`.
std::string Text(Message message, texts::TextLanguage language,
                 std::initializer_list<std::string_view> values = {});

} // namespace kfg::shortcut
