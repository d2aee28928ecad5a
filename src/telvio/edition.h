#pragma once

namespace kfg::telvio {

// The six editions of the viewer. The numbers are stored nowhere but are the values the rest
// of the program reasons with, so they are fixed.
enum class Edition : int {
    V283 = 0,
    Erazor = 1,
    V31 = 2,
    V311 = 3,
    V283Quik = 4,
    V320 = 5,
};
inline constexpr int kEditionCount = 6;

// The edition assumed before detection and whenever detection finds no marker.
inline constexpr Edition kUndetectedEdition = Edition::V311;

// A set of editions: bit n stands for the edition with value n. Tables use it for "which
// editions do this".
using EditionMask = unsigned;
constexpr EditionMask Bit(Edition e) {
    return 1u << static_cast<unsigned>(e);
}
inline constexpr EditionMask kAllEditions = (1u << kEditionCount) - 1;
constexpr bool Includes(EditionMask mask, Edition e) {
    return (mask & Bit(e)) != 0;
}

// How the viewer names its index files: "Telvio<nn>.idx" or "Telvio_<nn>.idx". The values are
// the flag the viewer's own code used, which tests and tools still compare with.
enum IndexFilePrefix : int {
    kIndexPrefixTelvioUnderscore = 0,
    kIndexPrefixTelvio = 1,
};

} // namespace kfg::telvio
