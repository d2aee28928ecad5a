#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kfg::settings {

// What differs between two states of an INI file, for a listing of kept states: the keys
// whose value differs, that were added or removed, in the order they stand in `after` (then
// those only `before` has). A section only one of them holds counts once, as "[Name]". Keys
// are named alone while all of them lie in one section, else as "[Section] Key". Names and
// values compare as the store reads them: letter case aside, the first of a name counting.
// Texts are Windows-1252.
std::vector<std::string> KeysThatDiffer(std::string_view before, std::string_view after);

} // namespace kfg::settings
