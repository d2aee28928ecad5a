// kfg's command line as the shell hands it over: which folder KFG runs in, what it prints on
// which stream with which exit status, and which arguments Qt gets.
#include "app/command_line.h"
#include "kfg_version.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kfg::app {
namespace {

constexpr std::optional<int> kRuns = std::nullopt;

struct Case {
    std::vector<std::string> arguments;
    std::optional<int> status; // what Answer gives: nothing when KFG runs
    std::string printed;       // the text on stdout or stderr (exact)
    texts::TextLanguage language = texts::TextLanguage::English;
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

    using enum texts::TextLanguage;
    const Case cases[] = {
        {.arguments = {}, .status = kRuns, .printed = ""},
        {.arguments = {"Telvio"}, .status = kRuns, .printed = "", .folder = "Telvio"},
        {.arguments = {"./Telvio/V320/"}, .status = kRuns, .printed = "", .folder = "Telvio/V320"},
        {.arguments = {absolute}, .status = kRuns, .printed = "", .folder = "Telvio"},
        // The link's name, as after cd link.
        {.arguments = {"link"}, .status = kRuns, .printed = "", .folder = "link"},
        // And ".." by name, as cd takes it.
        {.arguments = {"link/.."}, .status = kRuns, .printed = "", .folder = "."},
        {.arguments = {"Fernseh\xe9"}, .status = kRuns, .printed = "", .folder = "Fernseh\xe9"},
        {.arguments = {"--", "-style"}, .status = kRuns, .printed = "", .folder = "-style"},
        {.arguments = {"-platform", "offscreen", "Telvio", "-style=Fusion", "--reverse",
                       "--display", ":1"},
         .status = kRuns,
         .printed = "",
         .folder = "Telvio",
         .qt = {"-platform", "offscreen", "-style=Fusion", "--reverse", "--display", ":1"}},
        {.arguments = {"-qwindowtitle", "--help"},
         .status = kRuns,
         .printed = "",
         .qt = {"-qwindowtitle", "--help"}},
        // A value joined to Qt's option never takes the next argument; a separate one takes it
        // whatever it is; one missing at the end Qt reads as none given.
        {.arguments = {"-style=fusion", "--version"},
         .status = 0,
         .printed = kVersionLine,
         .qt = {"-style=fusion"}},
        {.arguments = {"-style", "fusion", "--version"},
         .status = 0,
         .printed = kVersionLine,
         .qt = {"-style", "fusion"}},
        {.arguments = {"-style", "--version"},
         .status = kRuns,
         .printed = "",
         .qt = {"-style", "--version"}},
        {.arguments = {"Telvio", "-platform"},
         .status = kRuns,
         .printed = "",
         .folder = "Telvio",
         .qt = {"-platform"}},
        {.arguments = {"-reverse=1"},
         .status = 2,
         .printed = "kfg: -reverse takes no value\n" + kUsage},
        {.arguments = {"-h", "missing", "another"}, .status = 0, .printed = "help"},
        {.arguments = {"-version", "-platform", "xcb"},
         .status = 0,
         .printed = kVersionLine,
         .qt = {"-platform", "xcb"}},
        {.arguments = {"missing"},
         .status = 2,
         .printed = "kfg: the folder missing does not exist\n" + kUsage},
        {.arguments = {"Telvio/missing"},
         .status = 2,
         .printed = "kfg: der Ordner Telvio/missing existiert nicht\n"
                    "Aufruf: kfg [OPTION...] [ORDNER]; siehe kfg --help\n",
         .language = German},
        {.arguments = {""}, .status = 2, .printed = "kfg: the folder  does not exist\n" + kUsage},
        {.arguments = {"Telvio.ini"},
         .status = 2,
         .printed = "kfg: Telvio.ini is not a folder\n" + kUsage},
        {.arguments = {"Telvio", "link"},
         .status = 2,
         .printed = "kfg: más de una carpeta: Telvio, link\nuso: kfg [OPCIÓN...] [CARPETA]; véase "
                    "kfg --help\n",
         .language = Spanish},
        {.arguments = {"-platform=xcb"},
         .status = 2,
         .printed = "kfg: -platform: unknown option\n" + kUsage},
        {.arguments = {"--version=2"},
         .status = 2,
         .printed = "kfg: --version takes no value\n" + kUsage},
        // One dash, as the parser reads it, gets the same refusal.
        {.arguments = {"-help=x"}, .status = 2, .printed = "kfg: -help takes no value\n" + kUsage},
        {.arguments = {"-version=1"},
         .status = 2,
         .printed = "kfg: -version nimmt keinen Wert\nAufruf: kfg [OPTION...] [ORDNER]; siehe kfg "
                    "--help\n",
         .language = German},
        {.arguments = {"--help", "--bogus"},
         .status = 2,
         .printed = "kfg: --bogus: unknown option\n" + kUsage},
        {.arguments = {"--choose-folder", "-style", "Fusion"},
         .status = kRuns,
         .printed = "",
         .qt = {"-style", "Fusion"}},
        {.arguments = {"--choose-folder", "Telvio"},
         .status = 2,
         .printed = "kfg: --choose-folder takes no folder: Telvio\n" + kUsage},
        {.arguments = {"missing", "--choose-folder"},
         .status = 2,
         .printed = "kfg: --choose-folder takes no folder: missing\n" + kUsage},
        {.arguments = {"--version", "--choose-folder", "Telvio"},
         .status = 0,
         .printed = kVersionLine},
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

// A folder an ordinary user may enter but not list is taken as FOLDER, as cd takes it; one the
// user may list but not enter is refused. As root every folder may be entered, so the parse
// runs in a child that has become an ordinary user.
TEST(CommandLine, TakesAFolderThatMayBeEnteredButNotListed) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root that may act as an ordinary user: as root, the modes of a "
                        "folder refuse nothing";
    }
    constexpr uid_t kUser = 4101;
    struct ModeCase {
        const char* folder;
        mode_t mode;
        bool taken;
    };
    const ModeCase cases[] = {
        {.folder = "enter-only", .mode = 0300, .taken = true},
        {.folder = "list-only", .mode = 0600, .taken = false},
    };
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.folder);
        std::filesystem::create_directory(dir / c.folder);
        ASSERT_EQ(::chown((dir / c.folder).c_str(), kUser, kUser), 0);
        ASSERT_EQ(::chmod((dir / c.folder).c_str(), c.mode), 0);
        const int result = test::RunAsUser({kUser, kUser, {}}, [&] {
            const CommandLine commandLine =
                ParseCommandLine({c.folder}, dir.path(), texts::TextLanguage::English);
            const bool taken =
                commandLine.action == StartAction::Run && commandLine.folder == dir / c.folder;
            const bool refused = commandLine.action == StartAction::Refuse &&
                                 commandLine.text == "kfg: the folder " + std::string(c.folder) +
                                                         " cannot be entered\n" + kUsage;
            return c.taken ? (taken ? 0 : 1) : (refused ? 0 : 1);
        });
        EXPECT_EQ(result, 0);
    }
}

} // namespace
} // namespace kfg::app
