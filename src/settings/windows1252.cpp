#include "settings/windows1252.h"

#include "platform/utf8.h"

#include <array>

namespace kfg::settings {
namespace {

// Lower-case partner of every Windows-1252 byte; bytes without one map to themselves.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte);
    }
    for (int byte = 'A'; byte <= 'Z'; ++byte) {
        table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte + 32);
    }
    // À..Þ, except the multiplication sign ×.
    for (int byte = 0xC0; byte <= 0xDE; ++byte) {
        if (byte != 0xD7) {
            table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte + 32);
        }
    }
    table[0x8A] = 0x9A; // Š š
    table[0x8C] = 0x9C; // Œ œ
    table[0x8E] = 0x9E; // Ž ž
    table[0x9F] = 0xFF; // Ÿ ÿ
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

// Code points of the bytes 0x80..0x9F; the rest of the upper half equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte});
    }
    return out;
}

std::optional<std::string> Windows1252FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::optional<char32_t> c = platform::NextCodePoint(text, i);
        if (!c) {
            return std::nullopt;
        }
        if (*c < 0x80 || (*c >= 0xA0 && *c <= 0xFF)) {
            out.push_back(static_cast<char>(*c));
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kHigh.size(); ++k) {
            if (kHigh[k] == *c) {
                out.push_back(static_cast<char>(0x80 + k));
                found = true;
                break;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    return out;
}

char FoldCase1252(char byte) {
    return static_cast<char>(kFold[static_cast<unsigned char>(byte)]);
}

std::string FoldCase1252(std::string_view text) {
    std::string folded(text);
    for (char& byte : folded) {
        byte = FoldCase1252(byte);
    }
    return folded;
}

bool EqualsIgnoreCase1252(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase1252(a[i]) != FoldCase1252(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace kfg::settings
