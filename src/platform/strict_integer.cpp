#include "platform/strict_integer.h"

#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <limits>

namespace kfg::platform {
namespace {

// White space in Unicode's sense (the separators and the ASCII controls \t to \r, U+0085): a
// number pasted from another program may bring a no-break space along.
bool IsBlank(char32_t c) {
    constexpr std::array<char32_t, 8> kOthers{0x20,   0x85,   0xA0,   0x1680,
                                              0x2028, 0x2029, 0x202F, 0x205F};
    return (c >= 0x09 && c <= 0x0D) || (c >= 0x2000 && c <= 0x200A) || c == 0x3000 ||
           std::find(kOthers.begin(), kOthers.end(), c) != kOthers.end();
}

void SkipBlanks(std::string_view text, std::size_t& i) {
    while (i < text.size()) {
        std::size_t next = i;
        const std::optional<char32_t> c = NextCodePoint(text, next);
        if (!c || !IsBlank(*c)) {
            return;
        }
        i = next;
    }
}

} // namespace

std::optional<int> StrictInteger(std::string_view text, Blanks blanks) {
    std::size_t i = 0;
    if (blanks == Blanks::AllowedAround) {
        SkipBlanks(text, i);
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            return std::nullopt;
        }
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    if (blanks == Blanks::AllowedAround) {
        SkipBlanks(text, i);
    }
    value = negative ? -value : value;
    if (i != text.size() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace kfg::platform
