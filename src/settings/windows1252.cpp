#include "settings/windows1252.h"

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

} // namespace

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
