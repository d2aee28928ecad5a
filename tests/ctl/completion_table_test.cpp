// kfgctl's bash completion against kfgctl's own tables: every command and every option the
// program takes is offered, and nothing else. The completion is asked in bash, as Tab asks
// it, in an empty folder and without kfgctl on the search path, so that it offers no keys
// or configuration names.
#include "ctl/ctl_command_table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace kfg::ctl {
namespace {

using Words = std::set<std::string>;

std::string Quoted(const std::string& text) {
    return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

// What the completion offers when Tab is pressed at the end of `line`.
Words Offered(const std::string& line) {
    test::TempDir scratch;
    test::WriteBytes(scratch / "ask.sh", R"(source "$1"
COMP_LINE=$2 COMP_POINT=${#2}
read -ra COMP_WORDS <<<"$COMP_LINE"
[[ $COMP_LINE == *' ' ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
_kfgctl kfgctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
printf '%s\n' "${COMPREPLY[@]}"
)");
    const std::string command = "cd " + Quoted(scratch.path().string()) +
                                " && env -i PATH=/usr/bin:/bin bash ask.sh " +
                                Quoted(KFG_COMPLETION_FILE) + " " + Quoted(line) + " >offered";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << line;
    Words offered;
    std::istringstream lines(test::ReadBytes(scratch / "offered"));
    for (std::string word; std::getline(lines, word);) {
        if (!word.empty()) {
            offered.insert(word);
        }
    }
    return offered;
}

// An option as the completion offers it: its long spelling where it has one.
std::string Spelling(const cli::Option& option) {
    return option.longName.empty() ? std::string{'-', option.shortName}
                                   : "--" + std::string(option.longName);
}

bool SomeCommandTakes(CtlOption option) {
    for (const Command& command : Commands()) {
        for (const CtlOption taken : command.options) {
            if (taken == option) {
                return true;
            }
        }
    }
    return false;
}

TEST(KfgctlCompletion, OffersTheCommandsAndTheOptionsEveryCommandTakes) {
    Words expected;
    for (const Command& command : Commands()) {
        expected.insert(std::string(command.name));
    }
    for (const cli::Option& option : Options()) {
        if (!SomeCommandTakes(static_cast<CtlOption>(option.id))) {
            expected.insert(Spelling(option));
        }
    }
    EXPECT_EQ(Offered("kfgctl "), expected);
}

// After the command: -C, which may follow it, and the command's own options.
TEST(KfgctlCompletion, OffersEachCommandItsOwnOptions) {
    for (const Command& command : Commands()) {
        SCOPED_TRACE(command.name);
        Words expected{Spelling(OptionRow(CtlOption::Folder))};
        for (const CtlOption option : command.options) {
            expected.insert(Spelling(OptionRow(option)));
        }
        EXPECT_EQ(Offered("kfgctl " + std::string(command.name) + " -"), expected);
    }
}

} // namespace
} // namespace kfg::ctl
