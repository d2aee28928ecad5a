// The reading and editing rules of the profile store, pinned as bytes on disk.
#include "settings/profile_store.h"
#include "support/temp_dir.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
    std::size_t buffer = 64;
};

TEST(ProfileRead, ReadsAsTheViewerWould) {
    const ReadCase cases[] = {
        {"MixedLineEnds", "[S]\r\na=1\nb=2\rc=3", "S", "c", "3"},
        {"CrCrLfIsTwoLines", "[S]\r\r\nk=v", "S", "k", "v"},
        {"BlanksAroundNameAndValue", "[S]\n \t k \v=\t v v \n", "S", "k", "v v"},
        {"HeaderBlanksAndTrailingText", "  [ S ] junk\nk=v", "S", "k", "v"},
        {"HeaderWithoutBracket", "[S\nk=v", "S", "k", "v"},
        {"EmptySectionName", "[]\nk=v", "", "k", "v"},
        {"LinesBeforeFirstHeaderUnreachable", "k=v\n[S]\n", "S", "k", " dflt"},
        {"CommentIsNoKey", "[S]\n ;k=v\nk=w", "S", "k", "w"},
        {"HashHasNoMeaning", "[S]\n#k=v", "S", "#k", "v"},
        {"NoEndOfLineComment", "[S]\nk=v ;x", "S", "k", "v ;x"},
        {"LineWithoutEqualsIsNoKey", "[S]\nk\nk=v", "S", "k", "v"},
        {"AsciiCase", "[TELVIO]\nFARBE=1", "telvio", "Farbe", "1"},
        {"Windows1252Case", "[\xC4RGER]\n\xC4\x8A=1", "\xE4rger", "\xE4\x9A", "1"},
        {"DoubleQuotesRemoved", "[S]\nk=\" a \"", "S", "k", " a "},
        {"SingleQuotesRemoved", "[S]\nk='x'", "S", "k", "x"},
        {"UnmatchedQuoteStays", "[S]\nk=\"x", "S", "k", "\"x"},
        {"MixedQuotesStay", "[S]\nk=\"x'", "S", "k", "\"x'"},
        {"LoneQuoteStays", "[S]\nk=\"", "S", "k", "\""},
        {"FirstKeyWins", "[S]\nk=1\nK=2", "S", "k", "1"},
        {"FirstSectionWins", "[S]\nk=1\n[s]\nk=3\nj=4", "S", "k", "1"},
        {"LaterSectionNeverConsulted", "[S]\nk=1\n[s]\nj=4", "S", "j", " dflt"},
        {"BufferCuts", "[S]\nk=abcdef", "S", "k", "abc", 4},
        {"BufferZeroGivesNothing", "[S]\nk=abcdef", "S", "k", "", 0},
        {"BufferCutsDefault", "", "S", "k", " d", 3},
        {"EmptyValueIsNotMissing", "[S]\nk=", "S", "k", ""},
        {"MissingSection", "[T]\nk=v", "S", "k", " dflt"},
        {"Utf8MarkHidesFirstHeader", "\xEF\xBB\xBF[S]\nk=v", "S", "k", " dflt"},
        {"Utf8MarkLaterHeaderFine", "\xEF\xBB\xBF[S]\n[T]\nk=v", "T", "k", "v"},
        {"Utf16NotUnderstood", "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0"s, "S", "k", " dflt"},
        {"NamesLoseSpaces", "[S]\nk=v", "  S ", " k  ", "v"},
        {"TabInNamePassedIsKept", "[S]\nk=v", "S", "k\t", " dflt"},
        {"NulBytesAreData", "[S]\nk=a\0b\n"s, "S", "k", "a\0b"s},
        {"GarbageAroundStillReadable", "\x01\x02\xFF\n[S]\n\x80\x81\nk=v\n\x00\x00"s, "S", "k",
         "v"}};
    for (const ReadCase& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "Telvio.ini", c.file);
        ProfileStore store;
        // The default loses its trailing spaces only, as the viewer's does.
        EXPECT_EQ(store.GetString(dir / "Telvio.ini", c.section, c.key, " dflt  ", c.buffer),
                  c.expected)
            << c.name;
    }
}

TEST(ProfileInt, ConvertsLikeTheViewer) {
    // Each value (nothing: the key is absent) and its number; negative values wrap modulo 2^32.
    const std::pair<std::optional<std::string>, std::uint32_t> cases[] = {
        {"42", 42},   {"-1", ~0u}, {"+5", 5},       {"0x1F", 31},      {"0o17", 15},
        {"0b101", 5}, {"0X1F", 0}, {"010", 10},     {"12abc", 12},     {"abc", 0},
        {"0x", 0},    {"0b2", 0},  {"-0x10", -16u}, {"4294967298", 2}, {" 9 ", 9},
        {"\"5\"", 5}, {"--5", 0},  {"", 7},         {"\"\"", 7},       {std::nullopt, 7},
    };
    for (const auto& [value, expected] : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "a.ini", value ? "[S]\nk=" + *value + "\n" : "[S]\n");
        ProfileStore store;
        EXPECT_EQ(store.GetInt(dir / "a.ini", "S", "k", 7), expected) << value.value_or("(absent)");
    }
}

// One edit; refused edits are part of the cases: the bytes left in the file tell the outcome.
using Step = std::function<void(ProfileStore&, const std::filesystem::path&)>;
Step W(std::string s, std::string k, std::string v) {
    return [=](ProfileStore& store, const auto& file) { (void)store.WriteString(file, s, k, v); };
}
Step DK(std::string s, std::string k) {
    return [=](ProfileStore& store, const auto& file) { (void)store.DeleteKey(file, s, k); };
}
Step DS(std::string s) {
    return [=](ProfileStore& store, const auto& file) { (void)store.DeleteSection(file, s); };
}

struct EditCase {
    const char* name;
    std::optional<std::string> before; // nothing: no file
    std::vector<Step> steps;
    std::optional<std::string> after; // nothing: still no file
};

TEST(ProfileEdit, TouchesOnlyItsLine) {
    const EditCase cases[] = {
        {"ReplaceKeepsSpellingAndLineEnd",
         "[S]\r\nFarbe=1\r\nx=2",
         {W("S", "farbe", "5"), W("S", "x", "3")},
         "[S]\r\nFarbe=5\r\nx=3\r\n"},
        {"ReplaceNormalisesOddSpacing", "[S]\n  k  =  1  \n", {W("S", "k", "2")}, "[S]\nk=2\n"},
        {"SameValueLeavesLine", "[S]\n  k = v\n", {W("S", "k", "v")}, "[S]\n  k = v\n"},
        {"QuotesCountInComparison", "[S]\nk=\"v\"\n", {W("S", "k", "v")}, "[S]\nk=v\n"},
        {"NewKeysInCallOrderBeforeClosingComments",
         "[S]\nk=1\n\n; end\n[T]\n",
         {W("S", "j", "2"), W("S", "i", "3")},
         "[S]\nk=1\nj=2\ni=3\n\n; end\n[T]\n"},
        {"NewKeyAfterHeaderWhenNoKeys",
         "[S]\n; c\n[T]\n",
         {W("S", "j", "2")},
         "[S]\nj=2\n; c\n[T]\n"},
        {"NewKeyAfterLastLineWithoutEnd", "[S]\nk=1", {W("S", "j", "2")}, "[S]\nk=1\nj=2\n"},
        {"NewFileUsesCrLf", std::nullopt, {W("T", "j", "2")}, "[T]\r\nj=2\r\n"},
        {"FileWithoutLineEndUsesCrLf", "; x", {W("T", "j", "2")}, "; x\r\n[T]\r\nj=2\r\n"},
        {"CrOnlyFile", "[S]\rk=1\r", {W("S", "j", "2")}, "[S]\rk=1\rj=2\r"},
        {"FirstLineEndDecides", "[S]\nk=1\r\n", {W("T", "j", "2")}, "[S]\nk=1\r\n[T]\nj=2\n"},
        {"ValueWrittenExactly", "[S]\n", {W("S", "k", "  a \"b\"  ")}, "[S]\nk=  a \"b\"  \n"},
        {"NamesLoseSpaces", "[S]\nj=0\n", {W(" S ", "  k  ", "1"), DK(" S ", " j ")}, "[S]\nk=1\n"},
        {"RefusalsAndMissingNamesChangeNothing",
         "[S]\nk=1\n",
         {W("S", "k", "a\rb"), W("S", "k\n", "2"), W("S\n", "k", "2"), W("S", "a=b", "2"),
          W("S]", "k", "2"), W("S", "[x", "2"), W("S", "\t;x", "2"), DK("S", "a=b"), DS("S]"),
          DK("S", "j"), DK("T", "k"), DS("T")},
         "[S]\nk=1\n"},
        {"Utf16NotEdited", "\xFF\xFE[\0S\0]\0"s, {W("S", "k", "2"), DS("S")}, "\xFF\xFE[\0S\0]\0"s},
        {"DeleteKeyWithItsLineEnd", "[S]\r\nk=1\r\nj=2\r\n", {DK("S", "K")}, "[S]\r\nj=2\r\n"},
        {"DeleteLastKeyWithoutLineEnd", "[S]\nk=1\nj=2", {DK("S", "j")}, "[S]\nk=1\n"},
        {"DeleteKeyKeepsHeader", "[S]\nk=1\n", {DK("S", "k")}, "[S]\n"},
        {"MissingFileStaysMissing",
         std::nullopt,
         {W("S", "a=b", "2"), DK("S", "k"), DS("S")},
         std::nullopt},
        {"DeleteSectionKeepsCommentsAndBlanks",
         "[A]\na=1\n[S]\n; keep\nk=1\n\njunk\n[B]\nb=2\n",
         {DS("s")},
         "[A]\na=1\n; keep\n\n[B]\nb=2\n"},
        {"DeleteFirstOfDuplicateSections", "[S]\nk=1\n[S]\nk=2\n", {DS("S")}, "[S]\nk=2\n"},
        {"DeleteLastSectionWithoutLineEnd", "[A]\na=1\n[S]\nk=1", {DS("S")}, "[A]\na=1\n"},
        {"WriteAfterDeleteSection",
         "[S]\nk=1\n; c\n",
         {DS("S"), W("S", "k", "2")},
         "; c\n[S]\nk=2\n"}};
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto file = dir / "Telvio.ini";
        if (c.before) {
            test::WriteBytes(file, *c.before);
        }
        ProfileStore store;
        for (const Step& step : c.steps) {
            step(store, file);
        }
        const bool exists = std::filesystem::exists(file);
        EXPECT_EQ(exists ? std::optional(test::ReadBytes(file)) : std::nullopt, c.after);
    }
}

} // namespace
} // namespace kfg::settings
