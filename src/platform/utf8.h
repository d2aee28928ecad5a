#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kfg::platform {

// Decodes the UTF-8 sequence at `i` and moves `i` past it. Nothing for a malformed one: a stray
// or missing continuation byte, an overlong form, a surrogate, or anything above U+10FFFF
// (each could smuggle a character past a check of the decoded text).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i);

// True when the whole of `text` is well-formed UTF-8 in the sense of NextCodePoint.
bool IsUtf8(std::string_view text);

} // namespace kfg::platform
