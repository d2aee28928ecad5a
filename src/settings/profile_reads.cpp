#include "settings/profile_reads.h"

#include <cstdint>
#include <string>

namespace kfg::settings {
namespace {} // namespace

// Spaces only, as the viewer's platform trims names.
std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

namespace {

std::string_view TrimTrailingSpaces(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// One matching pair of outer quotes is not part of the value.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::uint32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'z') {
        return static_cast<std::uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'Z') {
        return static_cast<std::uint32_t>(c - 'A' + 10);
    }
    return 99;
}

// Sign, then 0x / 0o / 0b in lower case, else decimal; stops at the first non-digit and wraps
// modulo 2^32, as the viewer's platform converts profile integers.
std::uint32_t ParseProfileInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 2 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        const std::uint32_t prefixed = prefix == 'x'   ? 16
                                       : prefix == 'o' ? 8
                                       : prefix == 'b' ? 2
                                                       : 0;
        if (prefixed != 0 && DigitValue(text[i + 2]) < prefixed) {
            base = prefixed;
            i += 2;
        }
    }
    std::uint32_t result = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        result = result * base + DigitValue(text[i]);
    }
    return negative ? 0u - result : result;
}

} // namespace

std::string ReadProfileString(const ProfileDocument& document, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    const auto value = document.FindValue(TrimSpaces(section), TrimSpaces(key));
    const std::string_view text = value ? Unquote(*value) : TrimTrailingSpaces(defaultValue);
    return std::string(text.substr(0, bufferSize - 1));
}

std::uint32_t ReadProfileInt(const ProfileDocument& document, std::string_view section,
                             std::string_view key, int defaultValue) {
    const auto value = document.FindValue(TrimSpaces(section), TrimSpaces(key));
    if (!value || Unquote(*value).empty()) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return ParseProfileInteger(Unquote(*value));
}

bool HasProfileSection(const ProfileDocument& document, std::string_view section) {
    return document.HasSection(TrimSpaces(section));
}

} // namespace kfg::settings
