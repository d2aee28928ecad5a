// One loop for the options of kfg, kfgctl and kfg-shortcut, read from each program's table.
#include "cli/argument_loop.h"

#include <algorithm>

namespace kfg::cli {
namespace {

// An option argument taken apart: the dashes and the name, and a value joined with "=".
struct Spelling {
    std::string_view name; // as typed, without the joined value
    std::string_view bare; // the name without its dashes
    bool longForm = false; // spelled with two dashes
    std::optional<std::string_view> joined;
};

Spelling SpellingOf(std::string_view argument, Dashes dashes) {
    Spelling spelling;
    spelling.longForm = argument.starts_with("--");
    // A short option of the Gnu spelling is one letter: "-C=x" is no short option with a value.
    const bool joinable = spelling.longForm || dashes == Dashes::OneOrTwo;
    const std::size_t equals = joinable ? argument.find('=') : std::string_view::npos;
    spelling.name = argument.substr(0, equals);
    if (equals != std::string_view::npos) {
        spelling.joined = argument.substr(equals + 1);
    }
    spelling.bare = spelling.name.substr(spelling.longForm ? 2 : 1);
    return spelling;
}

const Option* RowOf(std::span<const Option> table, const Spelling& spelling, Dashes dashes) {
    const bool longAllowed = spelling.longForm || dashes == Dashes::OneOrTwo;
    const bool shortAllowed = !spelling.longForm || dashes == Dashes::OneOrTwo;
    for (const Option& option : table) {
        const bool longMatch =
            longAllowed && !option.longName.empty() && option.longName == spelling.bare;
        const bool shortMatch = shortAllowed && option.shortName != '\0' &&
                                spelling.bare.size() == 1 && spelling.bare[0] == option.shortName;
        if (longMatch || shortMatch) {
            return &option;
        }
    }
    return nullptr;
}

// Whether the row is spelled this way at all: "-platform=xcb" is no spelling of an option
// whose value must come separately, "-qmljsdebugger" none of one whose value must be joined.
bool SpellsRow(const Option& option, bool joined) {
    return joined ? option.value != Value::Separate : option.value != Value::Joined;
}

bool TakesNext(const Option& option, bool joined) {
    return !joined && (option.value == Value::Separate || option.value == Value::Either);
}

} // namespace

ParsedArguments ParseArguments(std::span<const std::string> arguments,
                               std::span<const Option> table, Dashes dashes) {
    ParsedArguments parsed;
    for (std::size_t next = 0; next < arguments.size(); ++next) {
        const std::string_view argument = arguments[next];
        if (argument == "--") {
            parsed.words.insert(parsed.words.end(),
                                arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1,
                                arguments.end());
            break;
        }
        if (!argument.starts_with('-') || argument == "-") {
            parsed.words.push_back(argument);
            continue;
        }
        const Spelling spelling = SpellingOf(argument, dashes);
        const Option* option = RowOf(table, spelling, dashes);
        const bool joined = spelling.joined.has_value();
        if (option == nullptr || !SpellsRow(*option, joined)) {
            parsed.fault = ArgumentFault{Fault::UnknownOption, argument, spelling.name};
            break;
        }
        if (option->value == Value::None && joined) {
            parsed.fault = ArgumentFault{Fault::TakesNoValue, argument, spelling.name};
            break;
        }
        GivenOption given{option, argument, spelling.name, spelling.joined, false};
        if (TakesNext(*option, joined)) {
            if (next + 1 == arguments.size()) {
                parsed.options.push_back(given);
                parsed.fault = ArgumentFault{Fault::ValueMissing, argument, spelling.name};
                break;
            }
            given.value = arguments[++next];
            given.valueSeparate = true;
        }
        parsed.options.push_back(given);
    }
    return parsed;
}

std::string OptionsHelp(std::span<const Option> table) {
    std::vector<std::string> spellings;
    std::size_t width = 0;
    for (const Option& option : table) {
        std::string spelling;
        if (option.shortName != '\0') {
            spelling.append("-").push_back(option.shortName);
        }
        if (!option.longName.empty()) {
            spelling.append(spelling.empty() ? "--" : ", --").append(option.longName);
        }
        if (!option.valueName.empty()) {
            spelling.append(" ").append(option.valueName);
        }
        if (!option.help.empty()) {
            width = std::max(width, spelling.size());
        }
        spellings.push_back(std::move(spelling));
    }
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].help.empty()) {
            text += "  " + spellings[i] + std::string(width - spellings[i].size() + 3, ' ') +
                    std::string(table[i].help) + '\n';
        }
    }
    return text;
}

} // namespace kfg::cli
