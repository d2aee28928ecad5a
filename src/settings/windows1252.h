#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kfg::settings {

// Profile names compare without regard to letter case over all letters of Windows-1252
// (A-Z, the accented capitals, Š, Œ, Ž, Ÿ), not only ASCII.
char FoldCase1252(char byte);
std::string FoldCase1252(std::string_view text);
bool EqualsIgnoreCase1252(std::string_view a, std::string_view b);

// The files hold Windows-1252; the user sees and types Unicode (UTF-8 here). The five bytes
// Windows-1252 leaves undefined map to the control characters of the same number, as Windows
// does, so every byte string survives the round trip.
std::string Utf8FromWindows1252(std::string_view bytes);
// Nothing when the text holds a character Windows-1252 cannot hold, or is not valid UTF-8.
std::optional<std::string> Windows1252FromUtf8(std::string_view text);

} // namespace kfg::settings
