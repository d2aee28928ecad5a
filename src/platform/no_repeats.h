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

// True when row i of `rows` is the row of enumerator i (as `key` reads it), for every
// enumerator up to `last`: a table of texts indexed by an enumeration has each row in place.
template <class Rows, class Key, class Enum>
constexpr bool RowPerEnumerator(const Rows& rows, Key key, Enum last) {
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (static_cast<std::size_t>(key(rows[i])) != i) {
            return false;
        }
    }
    return std::size(rows) == static_cast<std::size_t>(last) + 1;
}

} // namespace kfg::platform
