#include "platform/no_repeats.h"

#include <array>

namespace kfg::platform {
namespace {

constexpr auto kSame = [](int a, int b) { return a == b; };

// Checked at compile time as the tables are; a pair anywhere, not only neighbours, counts.
static_assert(NoRepeats(std::array{1, 2, 3}, kSame));
static_assert(!NoRepeats(std::array{1, 2, 1}, kSame));
static_assert(!NoRepeats(std::array{4, 5, 6, 5}, kSame));
static_assert(NoRepeats(std::array<int, 0>{}, kSame));

// Each row in its enumerator's place, and none missing at the end.
enum class Three { A, B, C };
constexpr auto kItself = [](Three t) { return t; };
static_assert(RowPerEnumerator(std::array{Three::A, Three::B, Three::C}, kItself, Three::C));
static_assert(!RowPerEnumerator(std::array{Three::A, Three::C, Three::B}, kItself, Three::C));
static_assert(!RowPerEnumerator(std::array{Three::A, Three::B}, kItself, Three::C));

} // namespace
} // namespace kfg::platform
