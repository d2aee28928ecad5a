#pragma once

#include <cstddef>
#include <iterator>

namespace kfg::platform {

// True when no two rows of `rows` are the `same`: the tables check at compile time that an id,
// a name or a pair stands in them once. Header-only, so that the plain data layers can use it.
template <class Rows, class Same>
constexpr bool NoRepeats(const Rows& rows, Same same) {
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        for (std::size_t j = i + 1; j < std::size(rows); ++j) {
            if (same(rows[i], rows[j])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kfg::platform
