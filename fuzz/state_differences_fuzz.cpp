// Two arbitrary byte strings as an earlier and a later state of an INI file (a kept state and
// the file now are both bytes KFG did not necessarily write): the difference listing must
// neither crash nor contradict itself.
#include "settings/state_differences.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first NUL parts the two states; without one, the first half is the earlier state.
    const std::size_t cut = input.find('\0');
    const std::string_view before =
        cut == std::string_view::npos ? input.substr(0, size / 2) : input.substr(0, cut);
    const std::string_view after =
        cut == std::string_view::npos ? input.substr(size / 2) : input.substr(cut + 1);

    const auto differences = kfg::settings::StateDifferences(before, after);
    for (const kfg::settings::StateDifference& difference : differences) {
        if (difference.before == difference.after) {
            std::abort(); // no difference at all
        }
        if (!difference.key && difference.before.has_value() == difference.after.has_value()) {
            std::abort(); // a whole section is in exactly one of the states
        }
    }
    if (kfg::settings::KeysThatDiffer(before, after).size() != differences.size() ||
        kfg::settings::StateDifferences(after, before).size() != differences.size() ||
        !kfg::settings::StateDifferences(after, after).empty()) {
        std::abort();
    }
    return 0;
}
