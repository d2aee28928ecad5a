#include "platform/utf8.h"

namespace kfg::platform {
namespace {

// Length of the sequence that `lead` begins, the payload bits of the lead and the smallest
// code point it may carry (anything smaller is an overlong form); length 0 for a byte that
// cannot begin one.
struct Lead {
    std::size_t length;
    char32_t minimum;
    char32_t bits;
};

Lead ReadLead(unsigned char lead) {
    if (lead < 0x80) {
        return {1, 0, lead};
    }
    if ((lead & 0xE0) == 0xC0) {
        return {2, 0x80, lead & 0x1Fu};
    }
    if ((lead & 0xF0) == 0xE0) {
        return {3, 0x800, lead & 0x0Fu};
    }
    if ((lead & 0xF8) == 0xF0) {
        return {4, 0x10000, lead & 0x07u};
    }
    return {0, 0, 0};
}

} // namespace

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
    const Lead lead = ReadLead(static_cast<unsigned char>(text[i]));
    if (lead.length == 0 || text.size() - i < lead.length) {
        return std::nullopt;
    }
    char32_t code = lead.bits;
    for (std::size_t k = 1; k < lead.length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < lead.minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    i += lead.length;
    return code;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!NextCodePoint(text, i)) {
            return false;
        }
    }
    return true;
}

} // namespace kfg::platform
