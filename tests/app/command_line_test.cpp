// kfg's command line as the shell hands it over: which folder KFG runs in, what it prints on
// which stream with which exit status, and which arguments Qt gets.
#include "app/command_line.h"
#include "kfg_version.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kfg::app {
namespace {

constexpr std::optional<int> kRuns = std::nullopt;

struct Case {
    std::vector<std::string> arguments;
    std::optional<int> status; // what Answer gives: nothing when KFG runs
    std::string printed;       // the text on stdout or stderr (exact)
    platform::TextLanguage language = platform::TextLanguage::English;
    std::string folder = "-";         // below the working folder; "-" for none given
    std::vector<std::string> qt = {}; // what Qt gets besides the program's name
    bool history = false;             // the window of earlier states instead of the settings
};

const std::string kUsage = "usage: kfg [OPTION...] [FOLDER]; see kfg --help\n";
const std::string kVersionLine = std::string("kfg ") + kVersion + '\n';

TEST(CommandLine, DecidesFolderOutputStatusAndQtsArguments) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Telvio/V320");
    std::filesystem::create_directory(dir / "-style");
    std::filesystem::create_directory(dir / "Fernseh\xe9"); // Latin-1, not UTF-8
    std::filesystem::create_directory_symlink("Telvio/V320", dir / "link");
    test::WriteBytes(dir / "Telvio.ini", "");
    const std::string absolute = (dir / "Telvio").string();

    using enum platform::TextLanguage;
    const Case cases[] = {
        {{}, kRuns, ""},
        {{"Telvio"}, kRuns, "", English, "Telvio"},
        {{"./Telvio/V320/"}, kRuns, "", English, "Telvio/V320"},
        {{absolute}, kRuns, "", English, "Telvio"},
        {{"link"}, kRuns, "", English, "link"}, // the link's name, as after cd link
        {{"link/.."}, kRuns, "", English, "."}, // and ".." by name, as cd takes it
        {{"Fernseh\xe9"}, kRuns, "", English, "Fernseh\xe9"},
        {{"--", "-style"}, kRuns, "", English, "-style"},
        {{"-platform", "offscreen", "Telvio", "-style=Fusion", "--reverse", "--display", ":1"},
         kRuns,
         "",
         English,
         "Telvio",
         {"-platform", "offscreen", "-style=Fusion", "--reverse", "--display", ":1"}},
        {{"-qwindowtitle", "--help"}, kRuns, "", English, "-", {"-qwindowtitle", "--help"}},
        {{"-h", "missing", "another"}, 0, "help"},
        {{"-version", "-platform", "xcb"}, 0, kVersionLine, English, "-", {"-platform", "xcb"}},
        {{"missing"}, 2, "kfg: the folder missing does not exist\n" + kUsage},
        {{"Telvio/missing"},
         2,
         "kfg: der Ordner Telvio/missing existiert nicht\n"
         "Aufruf: kfg [OPTION...] [ORDNER]; siehe kfg --help\n",
         German},
        {{""}, 2, "kfg: the folder  does not exist\n" + kUsage},
        {{"Telvio.ini"}, 2, "kfg: Telvio.ini is not a folder\n" + kUsage},
        {{"Telvio", "link"},
         2,
         "kfg: más de una carpeta: Telvio, link\nuso: kfg [OPCIÓN...] [CARPETA]; véase kfg "
         "--help\n",
         Spanish},
        {{"-platform=xcb"}, 2, "kfg: -platform: unknown option\n" + kUsage},
        {{"--version=2"}, 2, "kfg: --version takes no value\n" + kUsage},
        // One dash, as the parser reads it, gets the same refusal.
        {{"-help=x"}, 2, "kfg: -help takes no value\n" + kUsage},
        {{"-version=1"},
         2,
         "kfg: -version nimmt keinen Wert\nAufruf: kfg [OPTION...] [ORDNER]; siehe kfg --help\n",
         German},
        {{"--help", "--bogus"}, 2, "kfg: --bogus: unknown option\n" + kUsage},
        {{"--choose-folder", "-style", "Fusion"}, kRuns, "", English, "-", {"-style", "Fusion"}},
        {{"--choose-folder", "Telvio"},
         2,
         "kfg: --choose-folder takes no folder: Telvio\n" + kUsage},
        {{"missing", "--choose-folder"},
         2,
         "kfg: --choose-folder takes no folder: missing\n" + kUsage},
        {{"--version", "--choose-folder", "Telvio"}, 0, kVersionLine},
        // The earlier states: a folder by the same rules, the chooser first if asked for.
        {.arguments = {"--history"}, .status = kRuns, .printed = "", .history = true},
        {.arguments = {"Telvio", "--history"},
         .status = kRuns,
         .printed = "",
         .folder = "Telvio",
         .history = true},
        {.arguments = {"--choose-folder", "--history"},
         .status = kRuns,
         .printed = "",
         .history = true},
        {.arguments = {"--history", "missing"},
         .status = 2,
         .printed = "kfg: the folder missing does not exist\n" + kUsage},
        {.arguments = {"--history", "-h"}, .status = 0, .printed = "help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const CommandLine commandLine = ParseCommandLine(c.arguments, dir.path(), c.language);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(Answer(commandLine, out, err), c.status);
        // Only the chooser's option starts the window.
        EXPECT_EQ(commandLine.action == StartAction::ChooseFolder,
                  c.status == kRuns && !c.arguments.empty() &&
                      c.arguments.front() == "--choose-folder");
        EXPECT_EQ(commandLine.folder, c.folder == "-"   ? std::filesystem::path()
                                      : c.folder == "." ? dir.path()
                                                        : dir / c.folder);
        EXPECT_TRUE(commandLine.folder.empty() || commandLine.folder.is_absolute());
        EXPECT_EQ(commandLine.qtArguments, c.qt);
        if (c.status == kRuns) {
            EXPECT_EQ(commandLine.history, c.history);
        }
        const std::string& printed = c.status == 2 ? err.str() : out.str();
        EXPECT_EQ(c.status == 2 ? out.str() : err.str(), "");
        // The help, by its first line.
        EXPECT_TRUE(c.printed == "help" ? printed.starts_with("Usage: kfg [OPTION...] [FOLDER]\n")
                                        : printed == c.printed)
            << printed;
    }
}

} // namespace
} // namespace kfg::app
