// Feeds the input to TokenReader in pieces of varying size, sometimes ending in a read error,
// and checks the words against a plain split of the whole input.
#include "settings/token_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The reference: byte by byte, no chunks.
std::vector<std::string> Split(std::string_view input) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : input) {
        if (IsSeparator(c)) {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Byte 0 chooses the piece sizes and whether a read error cuts the input; byte 1 where.
    const std::uint8_t control = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    const bool fails = (control & 0x80) != 0;
    const std::size_t cut = fails ? data[1] * input.size() / 255 : input.size();
    const std::string_view delivered = input.substr(0, cut);

    // Piece sizes come from the input bytes themselves, so they vary along the input.
    const std::size_t scale = (control & 0x03) == 0 ? 1 : (control & 0x03) == 1 ? 7 : 4099;
    std::size_t offset = 0;
    std::size_t calls = 0;
    bool askedAfterEnd = false;
    bool ended = false;
    kfg::settings::TokenReader reader([&](char* buffer, std::size_t capacity,
                                          std::error_code& error) -> std::size_t {
        askedAfterEnd = askedAfterEnd || ended;
        const std::size_t seed =
            delivered.empty() ? 0 : static_cast<std::uint8_t>(delivered[calls % delivered.size()]);
        ++calls;
        const std::size_t piece = seed % 5 * scale + 1;
        const std::size_t count = std::min({piece, capacity, delivered.size() - offset});
        if (count == 0) {
            ended = true;
            if (fails) {
                error = std::make_error_code(std::errc::io_error);
            }
            return 0;
        }
        std::memcpy(buffer, delivered.data() + offset, count);
        offset += count;
        return count;
    });

    std::vector<std::string> words;
    while (auto word = reader.Next()) {
        words.push_back(std::move(*word));
    }

    std::vector<std::string> expected = Split(delivered);
    // A word that the read error cut short is dropped.
    if (fails && !delivered.empty() && !IsSeparator(delivered.back())) {
        expected.pop_back();
    }
    Check(words == expected);
    Check(reader.Failed() == fails);
    Check(!reader.Next().has_value());
    Check(!askedAfterEnd);
    return 0;
}
