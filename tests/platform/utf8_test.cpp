#include "platform/utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace kfg::platform {
namespace {

TEST(Utf8, DecodesWellFormedTextAndRefusesEveryMalformedSequence) {
    struct Case {
        std::string text;
        std::optional<char32_t> first; // its first code point; none: refused
    };
    const Case cases[] = {
        {.text = "A", .first = U'A'},
        {.text = "\xC3\xA4", .first = U'ä'},
        {.text = "\xE2\x82\xAC", .first = U'€'},
        {.text = "\xF4\x8F\xBF\xBF", .first = char32_t{0x10FFFF}},
        {.text = "\xC1\x81", .first = std::nullopt},         // overlong "A"
        {.text = "\xE0\x80\xAF", .first = std::nullopt},     // overlong "/"
        {.text = "\xED\xA0\x80", .first = std::nullopt},     // a surrogate
        {.text = "\xF4\x90\x80\x80", .first = std::nullopt}, // above U+10FFFF
        {.text = "\xE2\x82", .first = std::nullopt},         // cut off
        {.text = "\xC3\x41", .first = std::nullopt},         // a continuation byte missing
        {.text = "\x80", .first = std::nullopt},             // a stray continuation byte
        {.text = "\xFF", .first = std::nullopt},
    };
    for (const Case& c : cases) {
        std::size_t at = 0;
        EXPECT_EQ(NextCodePoint(c.text, at), c.first) << c.text;
        EXPECT_EQ(at, c.first ? c.text.size() : 0u) << c.text;
        EXPECT_EQ(IsUtf8("ok " + c.text + " ok"), c.first.has_value()) << c.text;
    }
}

} // namespace
} // namespace kfg::platform
