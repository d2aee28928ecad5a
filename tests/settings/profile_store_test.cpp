// The reading and editing rules of the profile store, pinned as bytes on disk.
#include "settings/profile_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

using namespace std::string_literals;

// Names parameterised cases after their table row.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
    std::size_t buffer = 64;
};

class ProfileReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, ReadsAsTheViewerWould) {
    const ReadCase& c = GetParam();
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", c.file);
    ProfileStore store;
    EXPECT_EQ(store.GetString(dir / "Telvio.ini", c.section, c.key, "dflt", c.buffer), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileReadTest,
    testing::Values(
        ReadCase{"MixedLineEnds", "[S]\r\na=1\nb=2\rc=3", "S", "c", "3"},
        ReadCase{"CrCrLfIsTwoLines", "[S]\r\r\nk=v", "S", "k", "v"},
        ReadCase{"BlanksAroundNameAndValue", "[S]\n \t k \v=\t v v \n", "S", "k", "v v"},
        ReadCase{"HeaderBlanksAndTrailingText", "  [ S ] junk\nk=v", "S", "k", "v"},
        ReadCase{"HeaderWithoutBracket", "[S\nk=v", "S", "k", "v"},
        ReadCase{"EmptySectionName", "[]\nk=v", "", "k", "v"},
        ReadCase{"LinesBeforeFirstHeaderUnreachable", "k=v\n[S]\n", "S", "k", "dflt"},
        ReadCase{"CommentIsNoKey", "[S]\n ;k=v\nk=w", "S", "k", "w"},
        ReadCase{"HashHasNoMeaning", "[S]\n#k=v", "S", "#k", "v"},
        ReadCase{"NoEndOfLineComment", "[S]\nk=v ;x", "S", "k", "v ;x"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\nk\nk=v", "S", "k", "v"},
        ReadCase{"KeyWithInnerBlank", "[S]\na b=1", "S", "a b", "1"},
        ReadCase{"AsciiCase", "[TELVIO]\nFARBE=1", "telvio", "Farbe", "1"},
        ReadCase{"Windows1252Case", "[\xC4RGER]\n\xC4\x8A=1", "\xE4rger", "\xE4\x9A", "1"},
        ReadCase{"DoubleQuotesRemoved", "[S]\nk=\" a \"", "S", "k", " a "},
        ReadCase{"SingleQuotesRemoved", "[S]\nk='x'", "S", "k", "x"},
        ReadCase{"UnmatchedQuoteStays", "[S]\nk=\"x", "S", "k", "\"x"},
        ReadCase{"MixedQuotesStay", "[S]\nk=\"x'", "S", "k", "\"x'"},
        ReadCase{"LoneQuoteStays", "[S]\nk=\"", "S", "k", "\""},
        ReadCase{"FirstKeyWins", "[S]\nk=1\nK=2", "S", "k", "1"},
        ReadCase{"FirstSectionWins", "[S]\nk=1\n[s]\nk=3\nj=4", "S", "k", "1"},
        ReadCase{"LaterSectionNeverConsulted", "[S]\nk=1\n[s]\nj=4", "S", "j", "dflt"},
        ReadCase{"BufferCuts", "[S]\nk=abcdef", "S", "k", "abc", 4},
        ReadCase{"BufferZeroGivesNothing", "[S]\nk=abcdef", "S", "k", "", 0},
        ReadCase{"BufferCutsDefault", "", "S", "k", "df", 3},
        ReadCase{"EmptyValueIsNotMissing", "[S]\nk=", "S", "k", ""},
        ReadCase{"MissingSection", "[T]\nk=v", "S", "k", "dflt"},
        ReadCase{"Utf8MarkHidesFirstHeader", "\xEF\xBB\xBF[S]\nk=v", "S", "k", "dflt"},
        ReadCase{"Utf8MarkLaterHeaderFine", "\xEF\xBB\xBF[S]\n[T]\nk=v", "T", "k", "v"},
        ReadCase{"Utf16NotUnderstood", "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0"s, "S", "k", "dflt"},
        ReadCase{"NamesLoseSpaces", "[S]\nk=v", "  S ", " k  ", "v"},
        ReadCase{"TabInNamePassedIsKept", "[S]\nk=v", "S", "k\t", "dflt"},
        ReadCase{"NulBytesAreData", "[S]\nk=a\0b\n"s, "S", "k", "a\0b"s},
        ReadCase{"GarbageAroundStillReadable", "\x01\x02\xFF\n[S]\n\x80\x81\nk=v\n\x00\x00"s, "S",
                 "k", "v"}),
    CaseName<ReadCase>);

struct IntCase {
    const char* name;
    std::optional<std::string> value; // nothing: the key is absent
    std::uint32_t expected;
};

class ProfileIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(ProfileIntTest, ConvertsLikeTheViewer) {
    const IntCase& c = GetParam();
    test::TempDir dir;
    test::WriteBytes(dir / "a.ini", c.value ? "[S]\nk=" + *c.value + "\n" : "[S]\n");
    ProfileStore store;
    EXPECT_EQ(store.GetInt(dir / "a.ini", "S", "k", 7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileIntTest,
    testing::Values(
        IntCase{"Decimal", "42", 42}, IntCase{"MinusOneWraps", "-1", 4294967295u},
        IntCase{"Plus", "+5", 5}, IntCase{"Hex", "0x1F", 31}, IntCase{"Octal", "0o17", 15},
        IntCase{"Binary", "0b101", 5}, IntCase{"UpperPrefixIsDecimal", "0X1F", 0},
        IntCase{"LeadingZeroNotOctal", "010", 10}, IntCase{"StopsAtNonDigit", "12abc", 12},
        IntCase{"NoDigits", "abc", 0}, IntCase{"PrefixWithoutDigits", "0x", 0},
        IntCase{"BadBinaryDigit", "0b2", 0}, IntCase{"NegativeHex", "-0x10", 4294967280u},
        IntCase{"WrapsModulo2To32", "4294967298", 2}, IntCase{"BlanksTrimmed", " 9 ", 9},
        IntCase{"QuotesRemoved", "\"5\"", 5}, IntCase{"DoubleSign", "--5", 0},
        IntCase{"EmptyGivesDefault", "", 7}, IntCase{"EmptyQuotesGiveDefault", "\"\"", 7},
        IntCase{"MissingGivesDefault", std::nullopt, 7}),
    CaseName<IntCase>);

TEST(ProfileDefaults, MissingFileGivesTheDefaults) {
    test::TempDir dir;
    ProfileStore store;
    EXPECT_EQ(store.GetString(dir / "none.ini", "S", "k", " d  ", 20), " d");
    EXPECT_EQ(store.GetInt(dir / "none.ini", "S", "k", -1), 4294967295u);
}

enum class Op { Write, DeleteKey, DeleteSection };
struct Step {
    Op op;
    std::string section;
    std::string key;
    std::string value;
};
struct EditCase {
    const char* name;
    std::optional<std::string> before; // nothing: no file
    std::vector<Step> steps;
    std::optional<std::string> after; // nothing: still no file
};

class ProfileEditTest : public testing::TestWithParam<EditCase> {};

TEST_P(ProfileEditTest, TouchesOnlyItsLine) {
    const EditCase& c = GetParam();
    test::TempDir dir;
    const auto file = dir / "Telvio.ini";
    if (c.before) {
        test::WriteBytes(file, *c.before);
    }
    ProfileStore store;
    // Refused edits are part of the cases: the bytes left in the file tell the outcome.
    for (const Step& step : c.steps) {
        switch (step.op) {
        case Op::Write:
            (void)store.WriteString(file, step.section, step.key, step.value);
            break;
        case Op::DeleteKey:
            (void)store.DeleteKey(file, step.section, step.key);
            break;
        case Op::DeleteSection:
            (void)store.DeleteSection(file, step.section);
            break;
        }
    }
    ASSERT_EQ(std::filesystem::exists(file), c.after.has_value());
    if (c.after) {
        EXPECT_EQ(test::ReadBytes(file), *c.after);
    }
}

Step W(std::string s, std::string k, std::string v) {
    return {Op::Write, s, k, v};
}
Step DK(std::string s, std::string k) {
    return {Op::DeleteKey, s, k, {}};
}
Step DS(std::string s) {
    return {Op::DeleteSection, s, {}, {}};
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileEditTest,
    testing::Values(
        EditCase{"ReplaceKeepsSpellingAndLineEnd",
                 "[S]\r\nFarbe=1\r\nx=2",
                 {W("S", "farbe", "5"), W("S", "x", "3")},
                 "[S]\r\nFarbe=5\r\nx=3\r\n"},
        EditCase{
            "ReplaceNormalisesOddSpacing", "[S]\n  k  =  1  \n", {W("S", "k", "2")}, "[S]\nk=2\n"},
        EditCase{"SameValueLeavesLine", "[S]\n  k = v\n", {W("S", "k", "v")}, "[S]\n  k = v\n"},
        EditCase{"QuotesCountInComparison", "[S]\nk=\"v\"\n", {W("S", "k", "v")}, "[S]\nk=v\n"},
        EditCase{"NewKeysInCallOrderBeforeClosingComments",
                 "[S]\nk=1\n\n; end\n[T]\n",
                 {W("S", "j", "2"), W("S", "i", "3")},
                 "[S]\nk=1\nj=2\ni=3\n\n; end\n[T]\n"},
        EditCase{"NewKeyAfterHeaderWhenNoKeys",
                 "[S]\n; c\n[T]\n",
                 {W("S", "j", "2")},
                 "[S]\nj=2\n; c\n[T]\n"},
        EditCase{
            "NewKeyAfterLastLineWithoutEnd", "[S]\nk=1", {W("S", "j", "2")}, "[S]\nk=1\nj=2\n"},
        EditCase{"NewFileUsesCrLf", std::nullopt, {W("T", "j", "2")}, "[T]\r\nj=2\r\n"},
        EditCase{"FileWithoutLineEndUsesCrLf", "; x", {W("T", "j", "2")}, "; x\r\n[T]\r\nj=2\r\n"},
        EditCase{"CrOnlyFile", "[S]\rk=1\r", {W("S", "j", "2")}, "[S]\rk=1\rj=2\r"},
        EditCase{
            "FirstLineEndDecides", "[S]\nk=1\r\n", {W("T", "j", "2")}, "[S]\nk=1\r\n[T]\nj=2\n"},
        EditCase{
            "ValueWrittenExactly", "[S]\n", {W("S", "k", "  a \"b\"  ")}, "[S]\nk=  a \"b\"  \n"},
        EditCase{"NamesLoseSpaces", "[S]\n", {W(" S ", "  k  ", "1")}, "[S]\nk=1\n"},
        EditCase{"RefusalsAndMissingNamesChangeNothing",
                 "[S]\nk=1\n",
                 {W("S", "k", "a\rb"), W("S", "k\n", "2"), W("S\n", "k", "2"), W("S", "a=b", "2"),
                  W("S]", "k", "2"), W("S", "[x", "2"), W("S", "\t;x", "2"), DK("S", "a=b"),
                  DS("S]"), DK("S", "j"), DK("T", "k"), DS("T")},
                 "[S]\nk=1\n"},
        EditCase{"Utf16NotEdited",
                 "\xFF\xFE[\0S\0]\0"s,
                 {W("S", "k", "2"), DS("S")},
                 "\xFF\xFE[\0S\0]\0"s},
        EditCase{
            "DeleteKeyWithItsLineEnd", "[S]\r\nk=1\r\nj=2\r\n", {DK("S", "K")}, "[S]\r\nj=2\r\n"},
        EditCase{"DeleteLastKeyWithoutLineEnd", "[S]\nk=1\nj=2", {DK("S", "j")}, "[S]\nk=1\n"},
        EditCase{"DeleteKeyKeepsHeader", "[S]\nk=1\n", {DK("S", "k")}, "[S]\n"},
        EditCase{"MissingFileStaysMissing",
                 std::nullopt,
                 {W("S", "a=b", "2"), DK("S", "k"), DS("S")},
                 std::nullopt},
        EditCase{"DeleteSectionKeepsCommentsAndBlanks",
                 "[A]\na=1\n[S]\n; keep\nk=1\n\njunk\n[B]\nb=2\n",
                 {DS("s")},
                 "[A]\na=1\n; keep\n\n[B]\nb=2\n"},
        EditCase{"DeleteFirstOfDuplicateSections", "[S]\nk=1\n[S]\nk=2\n", {DS("S")}, "[S]\nk=2\n"},
        EditCase{"DeleteLastSectionWithoutLineEnd", "[A]\na=1\n[S]\nk=1", {DS("S")}, "[A]\na=1\n"},
        EditCase{"WriteAfterDeleteSection",
                 "[S]\nk=1\n; c\n",
                 {DS("S"), W("S", "k", "2")},
                 "; c\n[S]\nk=2\n"}),
    CaseName<EditCase>);

} // namespace
} // namespace kfg::settings
