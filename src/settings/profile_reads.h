#pragma once

#include "settings/profile_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kfg::settings {

// The reading rules of the viewer's Windows profile functions, on a parsed document: what the
// store gives for a file, and what a copy of one in memory gives the same way. Names lose
// leading and trailing spaces; one pair of outer quotes is no part of a value.

// At most bufferSize - 1 characters of the value (size 0 gives ""). The default, without its
// trailing spaces, stands in when the section or the key is missing.
std::string ReadProfileString(const ProfileDocument& document, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize);

// The value as an unsigned 32-bit number (sign, 0x/0o/0b prefixes, wrap-around); the default
// when the key is missing or empty. -1 reads as 4294967295.
std::uint32_t ReadProfileInt(const ProfileDocument& document, std::string_view section,
                             std::string_view key, int defaultValue);

// Whether the document holds the section (a header of that name, letter case aside).
bool HasProfileSection(const ProfileDocument& document, std::string_view section);

// Names as a write uses them: without leading and trailing spaces (spaces only).
std::string_view TrimSpaces(std::string_view text);

} // namespace kfg::settings
