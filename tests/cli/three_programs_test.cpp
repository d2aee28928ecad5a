// kfg, kfgctl and kfg-shortcut as a user runs them, given a folder they cannot work in: the
// same sentence from all three in the message language, after each program's own name, with
// the exit status each program's manual page gives.
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kfg::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 4101;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) {
    return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The three programs, each given the folder as its manual page says.
struct Program {
    const char* path;
    const char* prefix;                 // before each message
    std::vector<std::string> arguments; // "@" stands for the folder
    int refused;                        // the status of a folder refused
};

const Program kKfg{.path = KFG_PROGRAM, .prefix = "kfg: ", .arguments = {"@"}, .refused = 2};
const Program kKfgctl{.path = KFG_CTL_PROGRAM,
                      .prefix = "kfgctl: ",
                      .arguments = {"-C", "@", "edition"},
                      .refused = 1};
const Program kShortcut{
    .path = KFG_SHORTCUT_PROGRAM, .prefix = "kfg-shortcut: ", .arguments = {"@"}, .refused = 1};

// Runs `program` on `folder` in `locale` with nothing else in its environment but a home, a
// data and a state folder in `scratch`; as the ordinary user kUser when `asUser`. Its output
// goes to files in `scratch`, which the shell opens before the switch.
Outcome RunProgram(const TempDir& scratch, const Program& program, const std::string& folder,
                   const std::string& locale, bool asUser = false) {
    std::string command = "cd / && ";
    if (asUser) {
        command += "setpriv --reuid=" + std::to_string(kUser) +
                   " --regid=" + std::to_string(kUser) + " --clear-groups ";
    }
    command += "env -i LC_ALL=" + Quoted(locale) + " HOME=" + Quoted(scratch / "home") +
               " XDG_DATA_HOME=" + Quoted(scratch / "data") +
               " XDG_STATE_HOME=" + Quoted(scratch / "state") + " " + Quoted(program.path);
    for (const std::string& argument : program.arguments) {
        command += " " + Quoted(argument == "@" ? folder : argument);
    }
    const fs::path out = scratch / "out";
    const fs::path err = scratch / "err";
    const int status = std::system((command + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}

TEST(ThreePrograms, SayTheSameSentenceOfAFolderTheyCannotWorkIn) {
    TempDir scratch;
    const std::string file = (scratch / "Telvio.ini").string();
    WriteBytes(file, "[Telvio]\r\n");
    struct Case {
        std::string locale;
        std::string folder;
        std::string sentence;
    };
    const Case cases[] = {
        {.locale = "C",
         .folder = "/nonexistent",
         .sentence = "the folder /nonexistent does not exist"},
        {.locale = "de_DE.UTF-8",
         .folder = "/nonexistent",
         .sentence = "der Ordner /nonexistent existiert nicht"},
        {.locale = "es_ES.UTF-8",
         .folder = "/nonexistent",
         .sentence = "la carpeta /nonexistent no existe"},
        {.locale = "C", .folder = file, .sentence = file + " is not a folder"},
        {.locale = "de_DE.UTF-8", .folder = file, .sentence = file + " ist kein Ordner"},
        {.locale = "es_ES.UTF-8", .folder = file, .sentence = file + " no es una carpeta"},
    };
    for (const Case& c : cases) {
        for (const Program* program : {&kKfg, &kKfgctl, &kShortcut}) {
            SCOPED_TRACE(std::string(program->path) + " " + c.folder + " in " + c.locale);
            const Outcome run = RunProgram(scratch, *program, c.folder, c.locale);
            EXPECT_EQ(run.status, program->refused);
            EXPECT_EQ(FirstLine(run.err), program->prefix + c.sentence) << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
}

// An ordinary user's folders: one that may be entered but not listed is worked in, one that
// may be listed but not entered is refused alike. (kfg, given the first, would open its
// window: its command line's test takes that folder as the user.)
TEST(ThreePrograms, WorkInAFolderThatMayBeEnteredButNotListed) {
    if (!CanSwitchUsers()) {
        GTEST_SKIP() << "needs root that may act as an ordinary user: as root, the modes of a "
                        "folder refuse nothing";
    }
    TempDir scratch;
    for (const char* name : {"enter-only", "list-only"}) {
        fs::copy(fs::path(KFG_EXAMPLES_DIR) / "V320", scratch / name, fs::copy_options::recursive);
    }
    for (const char* name : {"home", "data", "state"}) {
        fs::create_directory(scratch / name);
    }
    ASSERT_EQ(std::system(("chown -R " + std::to_string(kUser) + ":" + std::to_string(kUser) + " " +
                           Quoted(scratch.path().string()))
                              .c_str()),
              0);
    ASSERT_EQ(::chmod((scratch / "enter-only").c_str(), 0300), 0);
    ASSERT_EQ(::chmod((scratch / "list-only").c_str(), 0600), 0);

    struct Case {
        const Program& program;
        std::string folder;
        int status;
        std::string said; // the first line on standard output, or else on standard error
    };
    const std::string enterOnly = (scratch / "enter-only").string();
    const std::string listOnly = (scratch / "list-only").string();
    const Case cases[] = {
        {.program = kKfgctl, .folder = enterOnly, .status = 0, .said = "edition=V320"},
        {.program = kShortcut,
         .folder = enterOnly,
         .status = 0,
         .said = "Wrote the menu entry " + (scratch / "data" / "applications").string()},
        {.program = kKfg,
         .folder = listOnly,
         .status = 2,
         .said = "kfg: the folder " + listOnly + " cannot be entered"},
        {.program = kKfgctl,
         .folder = listOnly,
         .status = 1,
         .said = "kfgctl: the folder " + listOnly + " cannot be entered"},
        {.program = kShortcut,
         .folder = listOnly,
         .status = 1,
         .said = "kfg-shortcut: the folder " + listOnly + " cannot be entered"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program.path) + " " + c.folder);
        const Outcome run = RunProgram(scratch, c.program, c.folder, "C", true);
        EXPECT_EQ(run.status, c.status) << run.err;
        const std::string said = FirstLine(c.status == 0 ? run.out : run.err);
        EXPECT_EQ(said.substr(0, c.said.size()), c.said) << run.out << run.err;
    }
}

} // namespace
} // namespace kfg::test
