#pragma once

namespace kfg::settings {

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

// The edition assumed before detection and whenever detection finds no marker.
inline constexpr Edition kUndetectedEdition = Edition::V311;

// A set of editions: bit n stands for the edition with value n. Tables use it for "which
// editions do this".
using EditionMask = unsigned;
constexpr EditionMask Bit(Edition e) {
    return 1u << static_cast<unsigned>(e);
}
inline constexpr EditionMask kAllEditions = 0x3F;
inline constexpr EditionMask kEditions283 = Bit(Edition::V283) | Bit(Edition::V283Quik);
inline constexpr EditionMask kEditions3x =
    Bit(Edition::V31) | Bit(Edition::V311) | Bit(Edition::V320);
constexpr bool Includes(EditionMask mask, Edition e) {
    return (mask & Bit(e)) != 0;
}

// 1 selects the index-file prefix "Telvio", 0 the prefix "Telvio_".
inline constexpr int kIndexPrefixTelvio = 1;
inline constexpr int kIndexPrefixTelvioUnderscore = 0;

} // namespace kfg::settings
