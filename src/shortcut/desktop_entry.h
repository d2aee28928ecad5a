#pragma once

#include <string>
#include <string_view>

namespace kfg::shortcut {

// Writes `text` as the value of a string or localestring key of a desktop entry: backslash,
// newline, tab and carriage return become their escape sequences, and blanks at either end
// become "\s", since readers drop blanks around a value. Nothing else needs escaping in a
// single value (";" only separates the items of list keys, "%" is special in Exec alone).
std::string EscapeValue(std::string_view text);

// True when `text` holds a control character that no escape sequence of a desktop entry can
// carry (every one but newline, tab and carriage return).
bool HasUnwritableControl(std::string_view text);

// The menu entry that starts KFG in `folder`, a canonical path in UTF-8 without unwritable
// control characters. `appId` names the icon.
std::string FolderEntry(std::string_view appId, std::string_view folder);

// "<appId>.folder-<the first 12 hex digits of the SHA-256 of folder>.desktop": one name per
// folder, so making the entry again replaces it.
std::string FolderEntryFileName(std::string_view appId, std::string_view folder);

} // namespace kfg::shortcut
