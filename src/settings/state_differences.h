#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::settings {

// One difference between two states of an INI file. Texts are Windows-1252.
struct StateDifference {
    std::string section; // as written
    // None: the whole section is in one state only (then `before` or `after` is empty text
    // for the state that holds it, none for the other). A key may be named "" ("=value").
    std::optional<std::string> key;
    std::optional<std::string> before; // the value in the older state; none: missing there
    std::optional<std::string> after;  // the value in the newer state; none: missing there
};

// What differs between two states of an INI file, for a listing of kept states: the keys
// whose value differs, that were added or removed, in the order they stand in `after` (then
// those only `before` has). A section only one of them holds counts once, as a whole. Names
// and values compare as the store reads them: letter case aside, the first of a name counting.
std::vector<StateDifference> StateDifferences(std::string_view before, std::string_view after);

// StateDifferences as names: keys alone while all of them lie in one section, else as
// "[Section] Key"; a whole section as "[Name]".
std::vector<std::string> KeysThatDiffer(std::string_view before, std::string_view after);

} // namespace kfg::settings
