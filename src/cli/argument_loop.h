#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::cli {

// How an option takes its value.
enum class Value {
    None,     // --help; a value joined to it ("--help=x") is refused
    Separate, // -C FOLDER: the next argument, whatever it is; "-C=FOLDER" is no option
    Either,   // -style NAME or -style=NAME
    Joined,   // -qmljsdebugger=PORT only; the name alone is no option
};

// Each program numbers its options with an enumeration of its own; a row holds the number.
using OptionId = int;
template <class Enum>
constexpr OptionId IdOf(Enum option) {
    return static_cast<OptionId>(option);
}

// One option of a program's table.
struct Option {
    std::string_view longName{}; // "help" for --help; empty when there is none
    char shortName = '\0';       // 'h' for -h; '\0' when there is none
    Value value = Value::None;
    OptionId id = 0;              // what the option sets, in the program's numbering
    std::string_view valueName{}; // its value as the help names it ("FOLDER")
    std::string_view help{};      // its line in the help; empty for one the help lists elsewhere
};

// How options are spelled.
enum class Dashes {
    // "--name" for a long name, "-x" for a short one. A short option stands alone: no "-ab",
    // no "-Cfolder", no "-C=folder".
    Gnu,
    // One dash or two for any name, as Qt reads its own options ("-style", "--style", "-h").
    OneOrTwo,
};

enum class Fault {
    UnknownOption, // no row spells it, or a value joined where the row takes none this way
    TakesNoValue,  // "--help=x"
    ValueMissing,  // the option that wants the next argument is the last one
};

struct GivenOption {
    const Option* option = nullptr; // its row
    std::string_view argument;      // as typed, a joined value included
    std::string_view name;          // the dashes and the name as typed, without a joined value
    std::optional<std::string_view> value;
    bool valueSeparate = false; // the value was the next argument
};

struct ArgumentFault {
    Fault fault;
    std::string_view argument; // as typed
    std::string_view name;     // the dashes and the name as typed, without a joined value
};

struct ParsedArguments {
    std::vector<GivenOption> options;    // in the order given
    std::vector<std::string_view> words; // every other argument, in order
    // The first fault; the arguments after it are not read. An option whose value is missing
    // is the last of `options`, without a value.
    std::optional<ArgumentFault> fault;
};

// Reads `arguments` (the program's name left out) against `table`. An argument that begins
// with "-" is an option wherever it stands, up to "--", which ends them and is dropped; "-"
// alone is a word. The views point into `arguments`.
ParsedArguments ParseArguments(std::span<const std::string> arguments,
                               std::span<const Option> table, Dashes dashes);

// The options of `table` that have a help line, one a line: "  -h, --help   text", the texts
// lined up three blanks after the longest spelling.
std::string OptionsHelp(std::span<const Option> table);

// `first` then `second` as one table, for a program whose options come from two places.
template <std::size_t First, std::size_t Second>
constexpr std::array<Option, First + Second> JoinTables(const std::array<Option, First>& first,
                                                        const std::array<Option, Second>& second) {
    std::array<Option, First + Second> joined{};
    for (std::size_t i = 0; i < First; ++i) {
        joined[i] = first[i];
    }
    for (std::size_t i = 0; i < Second; ++i) {
        joined[First + i] = second[i];
    }
    return joined;
}

} // namespace kfg::cli
