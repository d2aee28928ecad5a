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
    std::optional<int> status;   // what Answer gives: nothing when KFG runs
    std::string folder;          // below the working folder; "-" for none given
    std::string printed;         // the text on stdout or stderr (exact)
    std::vector<std::string> qt; // what Qt gets besides the program's name
    platform::TextLanguage language = platform::TextLanguage::English;
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

    const Case cases[] = {
        {{}, kRuns, "-", "", {}},
        {{"Telvio"}, kRuns, "Telvio", "", {}},
        {{"./Telvio/V320/"}, kRuns, "Telvio/V320", "", {}},
        {{absolute}, kRuns, "Telvio", "", {}},
        {{"link"}, kRuns, "link", "", {}}, // the link's name, as after cd link
        {{"link/.."}, kRuns, ".", "", {}}, // and ".." by name, as cd takes it
        {{"Fernseh\xe9"}, kRuns, "Fernseh\xe9", "", {}},
        {{"--", "-style"}, kRuns, "-style", "", {}},
        {{"-platform", "offscreen", "Telvio", "-style=Fusion", "--reverse", "--display", ":1"},
         kRuns,
         "Telvio",
         "",
         {"-platform", "offscreen", "-style=Fusion", "--reverse", "--display", ":1"}},
        {{"-qwindowtitle", "--help"}, kRuns, "-", "", {"-qwindowtitle", "--help"}},
        {{"-h", "missing", "another"}, 0, "-", "help", {}},
        {{"-version", "-platform", "xcb"}, 0, "-", kVersionLine, {"-platform", "xcb"}},
        {{"missing"}, 2, "-", "kfg: the folder missing does not exist\n" + kUsage, {}},
        {{"Telvio/missing"},
         2,
         "-",
         "kfg: der Ordner Telvio/missing existiert nicht\n"
         "Aufruf: kfg [OPTION...] [ORDNER]; siehe kfg --help\n",
         {},
         platform::TextLanguage::German},
        {{""}, 2, "-", "kfg: the folder  does not exist\n" + kUsage, {}},
        {{"Telvio.ini"}, 2, "-", "kfg: Telvio.ini is not a folder\n" + kUsage, {}},
        {{"Telvio", "link"},
         2,
         "-",
         "kfg: más de una carpeta: Telvio, link\nuso: kfg [OPCIÓN...] [CARPETA]; véase kfg "
         "--help\n",
         {},
         platform::TextLanguage::Spanish},
        {{"--bogus", "Telvio"}, 2, "-", "kfg: --bogus: unknown option\n" + kUsage, {}},
        {{"Telvio", "-x"}, 2, "-", "kfg: -x: unknown option\n" + kUsage, {}},
        {{"-platform=xcb"}, 2, "-", "kfg: -platform: unknown option\n" + kUsage, {}},
        {{"--version=2"}, 2, "-", "kfg: --version takes no value\n" + kUsage, {}},
        {{"--help", "--bogus"}, 2, "-", "kfg: --bogus: unknown option\n" + kUsage, {}},
        {{"--choose-folder", "-style", "Fusion"}, kRuns, "-", "", {"-style", "Fusion"}},
        {{"--choose-folder", "Telvio"},
         2,
         "-",
         "kfg: --choose-folder takes no folder: Telvio\n" + kUsage,
         {}},
        {{"missing", "--choose-folder"},
         2,
         "-",
         "kfg: --choose-folder takes no folder: missing\n" + kUsage,
         {}},
        {{"--version", "--choose-folder", "Telvio"}, 0, "-", kVersionLine, {}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) {
            shown += "[" + argument + "] ";
        }
        SCOPED_TRACE(shown);
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
        const std::string& printed = c.status == 2 ? err.str() : out.str();
        EXPECT_EQ(c.status == 2 ? out.str() : err.str(), "");
        if (c.printed == "help") {
            EXPECT_TRUE(printed.starts_with("Usage: kfg [OPTION...] [FOLDER]\n")) << printed;
            EXPECT_NE(printed.find("  -h, --help "), std::string::npos) << printed;
            EXPECT_NE(printed.find("  --version "), std::string::npos) << printed;
        } else {
            EXPECT_EQ(printed, c.printed);
        }
    }
}

} // namespace
} // namespace kfg::app
