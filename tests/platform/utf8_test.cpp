#include "platform/utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace kfg::platform {
namespace {

TEST(Utf8, DecodesWellFormedTextAndRefusesEveryMalformedSequence) {
    // Each text and its first code point, or nothing when it is refused.
    const std::pair<std::string, std::optional<char32_t>> cases[] = {
        {"A", U'A'},
        {"\xC3\xA4", U'ä'},
        {"\xE2\x82\xAC", U'€'},
        {"\xF4\x8F\xBF\xBF", char32_t{0x10FFFF}},
        {"\xC1\x81", std::nullopt},         // overlong "A"
        {"\xE0\x80\xAF", std::nullopt},     // overlong "/"
        {"\xED\xA0\x80", std::nullopt},     // a surrogate
        {"\xF4\x90\x80\x80", std::nullopt}, // above U+10FFFF
        {"\xE2\x82", std::nullopt},         // cut off
        {"\xC3\x41", std::nullopt},         // a continuation byte missing
        {"\x80", std::nullopt},             // a stray continuation byte
        {"\xFF", std::nullopt},
    };
    for (const auto& [text, first] : cases) {
        std::size_t at = 0;
        EXPECT_EQ(NextCodePoint(text, at), first) << text;
        EXPECT_EQ(at, first ? text.size() : 0u) << text;
        EXPECT_EQ(IsUtf8("ok " + text + " ok"), first.has_value()) << text;
    }
}

} // namespace
} // namespace kfg::platform
