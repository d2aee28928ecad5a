#pragma once

#include <optional>
#include <string_view>

namespace kfg::platform {

// Whether blanks may stand around the number: a dialog field forgives them, a command-line
// argument does not.
enum class Blanks { Refused, AllowedAround };

// An optional single sign, then at least one decimal digit, and nothing else; nothing when the
// number does not fit an int. Blanks (any Unicode white space) only where `blanks` allows them.
std::optional<int> StrictInteger(std::string_view text, Blanks blanks);

} // namespace kfg::platform
