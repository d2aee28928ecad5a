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
    std::string section = "S"; // where the key is read, unless the row names another
    std::string key = "k";
    std::string expected;
    std::size_t buffer = 64;
};

TEST(ProfileRead, ReadsAsTheViewerWould) {
    const ReadCase cases[] = {
        {.name = "MixedLineEnds", .file = "[S]\r\na=1\nb=2\rc=3", .key = "c", .expected = "3"},
        {.name = "CrCrLfIsTwoLines", .file = "[S]\r\r\nk=v", .expected = "v"},
        {.name = "BlanksAroundNameAndValue", .file = "[S]\n \t k \v=\t v v \n", .expected = "v v"},
        {.name = "HeaderBlanksAndTrailingText", .file = "  [ S ] junk\nk=v", .expected = "v"},
        {.name = "HeaderWithoutBracket", .file = "[S\nk=v", .expected = "v"},
        {.name = "EmptySectionName", .file = "[]\nk=v", .section = "", .expected = "v"},
        {.name = "LinesBeforeFirstHeaderUnreachable", .file = "k=v\n[S]\n", .expected = " dflt"},
        {.name = "CommentIsNoKey", .file = "[S]\n ;k=v\nk=w", .expected = "w"},
        {.name = "HashHasNoMeaning", .file = "[S]\n#k=v", .key = "#k", .expected = "v"},
        {.name = "NoEndOfLineComment", .file = "[S]\nk=v ;x", .expected = "v ;x"},
        {.name = "LineWithoutEqualsIsNoKey", .file = "[S]\nk\nk=v", .expected = "v"},
        {.name = "Windows1252Case",
         .file = "[\xC4RGER]\n\xC4\x8A=1",
         .section = "\xE4rger",
         .key = "\xE4\x9A",
         .expected = "1"},
        {.name = "DoubleQuotesRemoved", .file = "[S]\nk=\" a \"", .expected = " a "},
        {.name = "SingleQuotesRemoved", .file = "[S]\nk='x'", .expected = "x"},
        {.name = "UnmatchedQuoteStays", .file = "[S]\nk=\"x", .expected = "\"x"},
        {.name = "MixedQuotesStay", .file = "[S]\nk=\"x'", .expected = "\"x'"},
        {.name = "LoneQuoteStays", .file = "[S]\nk=\"", .expected = "\""},
        {.name = "FirstKeyWins", .file = "[S]\nk=1\nK=2", .expected = "1"},
        {.name = "FirstSectionWins", .file = "[S]\nk=1\n[s]\nk=3\nj=4", .expected = "1"},
        {.name = "LaterSectionNeverConsulted",
         .file = "[S]\nk=1\n[s]\nj=4",
         .key = "j",
         .expected = " dflt"},
        {.name = "BufferCuts", .file = "[S]\nk=abcdef", .expected = "abc", .buffer = 4},
        {.name = "BufferZeroGivesNothing", .file = "[S]\nk=abcdef", .expected = "", .buffer = 0},
        {.name = "BufferCutsDefault", .file = "", .expected = " d", .buffer = 3},
        {.name = "EmptyValueIsNotMissing", .file = "[S]\nk=", .expected = ""},
        {.name = "MissingSection", .file = "[T]\nk=v", .expected = " dflt"},
        {.name = "Utf8MarkHidesFirstHeader", .file = "\xEF\xBB\xBF[S]\nk=v", .expected = " dflt"},
        {.name = "Utf8MarkLaterHeaderFine",
         .file = "\xEF\xBB\xBF[S]\n[T]\nk=v",
         .section = "T",
         .expected = "v"},
        {.name = "Utf16NotUnderstood",
         .file = "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0"s,
         .expected = " dflt"},
        {.name = "NamesLoseSpaces",
         .file = "[S]\nk=v",
         .section = "  S ",
         .key = " k  ",
         .expected = "v"},
        {.name = "TabInNamePassedIsKept", .file = "[S]\nk=v", .key = "k\t", .expected = " dflt"},
        {.name = "NulBytesAreData", .file = "[S]\nk=a\0b\n"s, .expected = "a\0b"s},
        {.name = "GarbageAroundStillReadable",
         .file = "\x01\x02\xFF\n[S]\n\x80\x81\nk=v\n\x00\x00"s,
         .expected = "v"},
    };
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
    // Negative values wrap modulo 2^32.
    struct Case {
        std::optional<std::string> value; // none: the key is absent
        std::uint32_t number;
    };
    const Case cases[] = {
        {.value = "42", .number = 42},      {.value = "-1", .number = ~0u},
        {.value = "+5", .number = 5},       {.value = "0x1F", .number = 31},
        {.value = "0o17", .number = 15},    {.value = "0b101", .number = 5},
        {.value = "0X1F", .number = 0},     {.value = "010", .number = 10},
        {.value = "12abc", .number = 12},   {.value = "abc", .number = 0},
        {.value = "0x", .number = 0},       {.value = "0b2", .number = 0},
        {.value = "-0x10", .number = -16u}, {.value = "4294967298", .number = 2},
        {.value = " 9 ", .number = 9},      {.value = "\"5\"", .number = 5},
        {.value = "--5", .number = 0},      {.value = "", .number = 7},
        {.value = "\"\"", .number = 7},     {.value = std::nullopt, .number = 7},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "a.ini", c.value ? "[S]\nk=" + *c.value + "\n" : "[S]\n");
        ProfileStore store;
        EXPECT_EQ(store.GetInt(dir / "a.ini", "S", "k", 7), c.number)
            << c.value.value_or("(absent)");
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
        {.name = "ReplaceKeepsSpellingAndLineEnd",
         .before = "[S]\r\nFarbe=1\r\nx=2",
         .steps = {W("S", "farbe", "5"), W("S", "x", "3")},
         .after = "[S]\r\nFarbe=5\r\nx=3\r\n"},
        {.name = "ReplaceNormalisesOddSpacing",
         .before = "[S]\n  k  =  1  \n",
         .steps = {W("S", "k", "2")},
         .after = "[S]\nk=2\n"},
        {.name = "SameValueLeavesLine",
         .before = "[S]\n  k = v\n",
         .steps = {W("S", "k", "v")},
         .after = "[S]\n  k = v\n"},
        {.name = "QuotesCountInComparison",
         .before = "[S]\nk=\"v\"\n",
         .steps = {W("S", "k", "v")},
         .after = "[S]\nk=v\n"},
        {.name = "NewKeysInCallOrderBeforeClosingComments",
         .before = "[S]\nk=1\n\n; end\n[T]\n",
         .steps = {W("S", "j", "2"), W("S", "i", "3")},
         .after = "[S]\nk=1\nj=2\ni=3\n\n; end\n[T]\n"},
        {.name = "NewKeyAfterHeaderWhenNoKeys",
         .before = "[S]\n; c\n[T]\n",
         .steps = {W("S", "j", "2")},
         .after = "[S]\nj=2\n; c\n[T]\n"},
        {.name = "NewKeyAfterLastLineWithoutEnd",
         .before = "[S]\nk=1",
         .steps = {W("S", "j", "2")},
         .after = "[S]\nk=1\nj=2\n"},
        {.name = "NewFileUsesCrLf",
         .before = std::nullopt,
         .steps = {W("T", "j", "2")},
         .after = "[T]\r\nj=2\r\n"},
        {.name = "FileWithoutLineEndUsesCrLf",
         .before = "; x",
         .steps = {W("T", "j", "2")},
         .after = "; x\r\n[T]\r\nj=2\r\n"},
        {.name = "CrOnlyFile",
         .before = "[S]\rk=1\r",
         .steps = {W("S", "j", "2")},
         .after = "[S]\rk=1\rj=2\r"},
        {.name = "FirstLineEndDecides",
         .before = "[S]\nk=1\r\n",
         .steps = {W("T", "j", "2")},
         .after = "[S]\nk=1\r\n[T]\nj=2\n"},
        {.name = "ValueWrittenExactly",
         .before = "[S]\n",
         .steps = {W("S", "k", "  a \"b\"  ")},
         .after = "[S]\nk=  a \"b\"  \n"},
        {.name = "NamesLoseSpaces",
         .before = "[S]\nj=0\n",
         .steps = {W(" S ", "  k  ", "1"), DK(" S ", " j ")},
         .after = "[S]\nk=1\n"},
        {.name = "RefusalsAndMissingNamesChangeNothing",
         .before = "[S]\nk=1\n",
         .steps = {W("S", "k", "a\rb"), W("S", "k\n", "2"), W("S\n", "k", "2"), W("S", "a=b", "2"),
                   W("S]", "k", "2"), W("S", "[x", "2"), W("S", "\t;x", "2"), DK("S", "a=b"),
                   DS("S]"), DK("S", "j"), DK("T", "k"), DS("T")},
         .after = "[S]\nk=1\n"},
        {.name = "Utf16NotEdited",
         .before = "\xFF\xFE[\0S\0]\0"s,
         .steps = {W("S", "k", "2"), DS("S")},
         .after = "\xFF\xFE[\0S\0]\0"s},
        {.name = "DeleteKeyWithItsLineEnd",
         .before = "[S]\r\nk=1\r\nj=2\r\n",
         .steps = {DK("S", "K")},
         .after = "[S]\r\nj=2\r\n"},
        {.name = "DeleteLastKeyWithoutLineEnd",
         .before = "[S]\nk=1\nj=2",
         .steps = {DK("S", "j")},
         .after = "[S]\nk=1\n"},
        {.name = "DeleteKeyKeepsHeader",
         .before = "[S]\nk=1\n",
         .steps = {DK("S", "k")},
         .after = "[S]\n"},
        {.name = "MissingFileStaysMissing",
         .before = std::nullopt,
         .steps = {W("S", "a=b", "2"), DK("S", "k"), DS("S")},
         .after = std::nullopt},
        {.name = "DeleteSectionKeepsCommentsAndBlanks",
         .before = "[A]\na=1\n[S]\n; keep\nk=1\n\njunk\n[B]\nb=2\n",
         .steps = {DS("s")},
         .after = "[A]\na=1\n; keep\n\n[B]\nb=2\n"},
        {.name = "DeleteFirstOfDuplicateSections",
         .before = "[S]\nk=1\n[S]\nk=2\n",
         .steps = {DS("S")},
         .after = "[S]\nk=2\n"},
        {.name = "DeleteLastSectionWithoutLineEnd",
         .before = "[A]\na=1\n[S]\nk=1",
         .steps = {DS("S")},
         .after = "[A]\na=1\n"},
        {.name = "WriteAfterDeleteSection",
         .before = "[S]\nk=1\n; c\n",
         .steps = {DS("S"), W("S", "k", "2")},
         .after = "; c\n[S]\nk=2\n"},
    };
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
