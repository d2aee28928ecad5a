// The option loop as each program's table meets it: where options end, how a value is taken,
// which spellings name an option, and the first fault.
#include "cli/argument_loop.h"

#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kfg::cli {
namespace {

enum class Id { Help, Folder, Style, Debugger, Platform, Reverse };

// Options of each kind of value, as kfg, kfgctl and Qt have them.
constexpr auto kTable = std::to_array<Option>({
    {.longName = "help", .shortName = 'h', .id = IdOf(Id::Help)},
    {.shortName = 'C', .value = Value::Separate, .id = IdOf(Id::Folder)},
    {.longName = "style", .value = Value::Either, .id = IdOf(Id::Style)},
    {.longName = "qmljsdebugger", .value = Value::Joined, .id = IdOf(Id::Debugger)},
    {.longName = "platform", .value = Value::Separate, .id = IdOf(Id::Platform)},
    {.longName = "reverse", .id = IdOf(Id::Reverse)},
});

// A given option as the name typed, then "=value" when joined or " value" when separate.
std::string Shown(const GivenOption& given) {
    std::string shown(given.name);
    if (given.value) {
        shown.append(given.valueSeparate ? " " : "=").append(*given.value);
    }
    return shown;
}

TEST(ArgumentLoop, TakesOptionsValuesAndWordsByTheTable) {
    using enum Dashes;
    struct Case {
        Dashes dashes;
        std::vector<std::string> arguments;
        std::vector<std::string> options = {}; // as Shown() writes them
        std::vector<std::string> words = {};
        std::optional<Fault> fault = std::nullopt;
        std::string faultName = ""; // the option as typed, without a joined value
    };
    const Case cases[] = {
        // Options wherever they stand; -C takes the next argument, whatever it is.
        {.dashes = Gnu,
         .arguments = {"-C", "a", "show", "--help", "-C", "-h"},
         .options = {"-C a", "--help", "-C -h"},
         .words = {"show"}},
        {.dashes = Gnu, .arguments = {"-C", "--"}, .options = {"-C --"}},
        // "--" ends the options and is dropped; "-" alone is a word.
        {.dashes = Gnu,
         .arguments = {"show", "--", "--help", "-C", "--"},
         .words = {"show", "--help", "-C", "--"}},
        {.dashes = Gnu, .arguments = {"-", "x"}, .words = {"-", "x"}},
        // A short option stands alone, a long one takes two dashes.
        {.dashes = Gnu,
         .arguments = {"-Cdir"},
         .fault = Fault::UnknownOption,
         .faultName = "-Cdir"},
        {.dashes = Gnu,
         .arguments = {"-C=dir"},
         .fault = Fault::UnknownOption,
         .faultName = "-C=dir"},
        {.dashes = Gnu,
         .arguments = {"-help"},
         .fault = Fault::UnknownOption,
         .faultName = "-help"},
        {.dashes = Gnu, .arguments = {"--h"}, .fault = Fault::UnknownOption, .faultName = "--h"},
        {.dashes = Gnu,
         .arguments = {"--help=x"},
         .fault = Fault::TakesNoValue,
         .faultName = "--help"},
        {.dashes = Gnu,
         .arguments = {"--style=x", "--style", "y"},
         .options = {"--style=x", "--style y"}},
        // The value missing: the option is kept without it.
        {.dashes = Gnu,
         .arguments = {"x", "-C"},
         .options = {"-C"},
         .words = {"x"},
         .fault = Fault::ValueMissing,
         .faultName = "-C"},
        // The first fault stops the loop.
        {.dashes = Gnu,
         .arguments = {"a", "--bogus=1", "--help=x", "b"},
         .words = {"a"},
         .fault = Fault::UnknownOption,
         .faultName = "--bogus"},
        // One dash or two, as Qt reads its options. A joined value never takes the next
        // argument; a separate one takes it whatever it is.
        {.dashes = OneOrTwo,
         .arguments = {"-style=fusion", "--help"},
         .options = {"-style=fusion", "--help"}},
        {.dashes = OneOrTwo,
         .arguments = {"-style", "fusion", "-help"},
         .options = {"-style fusion", "-help"}},
        {.dashes = OneOrTwo, .arguments = {"-style", "--help"}, .options = {"-style --help"}},
        {.dashes = OneOrTwo, .arguments = {"--h", "-h"}, .options = {"--h", "-h"}},
        {.dashes = OneOrTwo,
         .arguments = {"-platform=xcb"},
         .fault = Fault::UnknownOption,
         .faultName = "-platform"},
        {.dashes = OneOrTwo,
         .arguments = {"-qmljsdebugger=port:1234", "-qmljsdebugger"},
         .options = {"-qmljsdebugger=port:1234"},
         .fault = Fault::UnknownOption,
         .faultName = "-qmljsdebugger"},
        {.dashes = OneOrTwo,
         .arguments = {"-reverse=1"},
         .fault = Fault::TakesNoValue,
         .faultName = "-reverse"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const ParsedArguments parsed = ParseArguments(c.arguments, kTable, c.dashes);
        std::vector<std::string> options;
        for (const GivenOption& given : parsed.options) {
            options.push_back(Shown(given));
        }
        EXPECT_EQ(options, c.options);
        EXPECT_EQ(std::vector<std::string>(parsed.words.begin(), parsed.words.end()), c.words);
        ASSERT_EQ(parsed.fault.has_value(), c.fault.has_value());
        if (c.fault) {
            EXPECT_EQ(parsed.fault->fault, *c.fault);
            EXPECT_EQ(parsed.fault->name, c.faultName);
        }
    }
}

TEST(ArgumentLoop, HelpListsTheOptionsWithAHelpLineInColumns) {
    constexpr auto table = std::to_array<Option>({
        {.shortName = 'C', .value = Value::Separate, .valueName = "FOLDER", .help = "folder"},
        {.longName = "hidden"},
        {.longName = "help", .shortName = 'h', .help = "this text"},
        {.longName = "choose-folder", .help = "a window"},
    });
    EXPECT_EQ(OptionsHelp(table), "  -C FOLDER         folder\n"
                                  "  -h, --help        this text\n"
                                  "  --choose-folder   a window\n");
}

} // namespace
} // namespace kfg::cli
