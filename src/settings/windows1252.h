#pragma once

#include <string>
#include <string_view>

namespace kfg::settings {

// Profile names compare without regard to letter case over all letters of Windows-1252
// (A-Z, the accented capitals, Š, Œ, Ž, Ÿ), not only ASCII.
char FoldCase1252(char byte);
std::string FoldCase1252(std::string_view text);
bool EqualsIgnoreCase1252(std::string_view a, std::string_view b);

} // namespace kfg::settings
