// kfg-shortcut as a user runs it: the entry's bytes, its name, refusals, the data folder,
// replacement and removal. The program runs as a child process with its own environment.
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kfg::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// `text` as one word for the shell, whatever bytes it holds.
std::string Quoted(const std::string& text) {
    return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

// Runs `words` in the folder `scratch` as env(1) does with nothing inherited: the environment
// (NAME=VALUE words) first, then the program and its arguments.
Outcome RunProgram(const TempDir& scratch, const std::vector<std::string>& words) {
    std::string command = "cd " + Quoted(scratch.path().string()) + " && env -i";
    for (const std::string& word : words) {
        command += " " + Quoted(word);
    }
    const int status = std::system((command + " >stdout 2>stderr").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(scratch / "stdout"),
            ReadBytes(scratch / "stderr")};
}

// Runs kfg-shortcut; unless `environment` says otherwise, its entries go to "data" in the
// scratch folder.
Outcome RunShortcut(const TempDir& scratch, const std::vector<std::string>& arguments,
                    const std::optional<std::vector<std::string>>& environment = std::nullopt) {
    std::vector<std::string> words = environment.value_or(
        std::vector<std::string>{"XDG_DATA_HOME=" + (scratch / "data").string()});
    words.push_back(KFG_SHORTCUT_PROGRAM);
    words.insert(words.end(), arguments.begin(), arguments.end());
    return RunProgram(scratch, words);
}

// The entry's name holds the SHA-256 of the folder, from coreutils rather than from the code
// under test.
fs::path EntryFor(const TempDir& scratch, const fs::path& applications, const fs::path& folder) {
    WriteBytes(scratch / "hash-input", fs::canonical(folder).string());
    const std::string hash = RunProgram(scratch, {"sha256sum", "hash-input"}).out.substr(0, 12);
    return applications / ("io.kfg.KFG.folder-" + hash + ".desktop");
}

std::ptrdiff_t EntriesIn(const fs::path& folder) {
    std::error_code ignored; // a missing folder has none
    return std::distance(fs::directory_iterator(folder, ignored), fs::directory_iterator());
}

fs::path MakeTelvioFolder(const fs::path& folder) {
    fs::create_directories(folder);
    WriteBytes(folder / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    return folder;
}

TEST(KfgShortcut, WritesTheFolderUnderTheEscapingRules) {
    // What passes as it is, blanks (only a trailing one is escaped), and what is escaped.
    struct Case {
        std::string name;    // of the folder
        std::string escaped; // as Name= and Path= write it
    };
    const Case cases[] = {
        {.name = "Tel vio \"100%\" it's ;a=b[c] $HOME `x` Fernsehzimmer Ü ñ 電視",
         .escaped = "Tel vio \"100%\" it's ;a=b[c] $HOME `x` Fernsehzimmer Ü ñ 電視"},
        {.name = " lead  two blanks ", .escaped = " lead  two blanks\\s"},
        {.name = "C:\\Tel\tvio\nnew\rline", .escaped = "C:\\\\Tel\\tvio\\nnew\\rline"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir scratch;
        const fs::path folder = MakeTelvioFolder(scratch / "Telvio" / c.name);
        const Outcome run = RunShortcut(scratch, {folder.string()});
        ASSERT_EQ(run.status, 0) << run.err;

        const fs::path entry = EntryFor(scratch, scratch / "data" / "applications", folder);
        const std::string text = ReadBytes(entry);
        const std::string parent = fs::canonical(scratch / "Telvio").string();
        for (const std::string& line :
             {"Name=KFG – Telvio in " + c.escaped, "Name[es]=KFG – Telvio en " + c.escaped,
              "Path=" + parent + "/" + c.escaped, std::string("Exec=kfg\nTryExec=kfg"),
              std::string("Actions=earlier-states;\n\n[Desktop Action earlier-states]"),
              std::string("Name[de]=Frühere Stände\nName[es]=Estados anteriores\n"
                          "Exec=kfg --history")}) {
            EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << "\n" << text;
        }
        EXPECT_NE(run.out.find(entry.string()), std::string::npos) << run.out;
        if (*KFG_DESKTOP_FILE_VALIDATE != '\0') { // hints are allowed
            const Outcome valid = RunProgram(scratch, {KFG_DESKTOP_FILE_VALIDATE, entry.string()});
            EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
        }
    }
}

// Folders named relative to the working folder, as a user in a shell would.
TEST(KfgShortcut, RefusesWhatIsNoTelvioFolderAndWrongArguments) {
    struct Case {
        // Made in the scratch folder first; a folder when it ends in "/".
        std::string made = "x/Telvio.ini";
        std::vector<std::string> arguments;
        int status;
        const char* message; // a part of it (of the help on stdout)
    };
    const Case cases[] = {
        {.made = "x/Other.ini",
         .arguments = {"x"},
         .status = 1,
         .message = "Telvio.ini does not exist in x\n"},
        {.made = "x/Telvio.ini/",
         .arguments = {"x"},
         .status = 1,
         .message = "Telvio.ini does not exist in x\n"},
        // Letter case is ignored.
        {.made = "x/TELVIO.INI", .arguments = {"x"}, .status = 0, .message = ""},
        {.made = "Fernseh\xFC/Telvio.ini",
         .arguments = {"Fernseh\xFC"},
         .status = 1,
         .message = "not valid UTF-8"},
        // An overlong "/".
        {.made = "slash\xC0\xAF/Telvio.ini",
         .arguments = {"slash\xC0\xAF"},
         .status = 1,
         .message = "not valid UTF-8"},
        {.made = "bell\x07/Telvio.ini",
         .arguments = {"bell\x07"},
         .status = 1,
         .message = "control character"},
        {.made = "rub\x7Fout/Telvio.ini",
         .arguments = {"rub\x7Fout"},
         .status = 1,
         .message = "control character"},
        {.arguments = {"gone"}, .status = 1, .message = "the folder gone does not exist\n"},
        {.made = "Telvio.ini", .arguments = {"Telvio.ini"}, .status = 1, .message = "not a folder"},
        // "--" lets a folder begin with "-".
        {.made = "-x/Telvio.ini", .arguments = {"--", "-x"}, .status = 0, .message = ""},
        {.arguments = {}, .status = 2, .message = "name the Telvio folder"},
        {.arguments = {"--remove"}, .status = 2, .message = "name the Telvio folder"},
        {.arguments = {"x", "x"}, .status = 2, .message = "give one folder"},
        {.arguments = {"--force", "x"}, .status = 2, .message = "--force: unknown option\n"},
        {.arguments = {"-h", "x"}, .status = 0, .message = "Usage: kfg-shortcut FOLDER\n"},
        {.arguments = {"x", "--help"}, .status = 0, .message = "Usage: kfg-shortcut FOLDER\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        TempDir scratch;
        fs::create_directories((scratch / c.made).parent_path());
        if (!c.made.ends_with('/')) {
            WriteBytes(scratch / c.made, "");
        }
        const Outcome run = RunShortcut(scratch, c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.message), std::string::npos)
            << run.out << run.err;
        // Only a success with nothing else to say makes the entry.
        EXPECT_EQ(EntriesIn(scratch / "data" / "applications"),
                  c.status == 0 && *c.message == '\0' ? 1 : 0);
    }
}

// Output that never arrives is no success: a full disk or a closed standard output ends with
// status 1 and says so; the entry it wrote stays written.
TEST(KfgShortcut, OutputThatCannotBeWrittenIsAFailure) {
    struct Case {
        std::vector<std::string> arguments;
        const char* redirection;
        const char* reason;
        bool entryWritten;
    };
    const Case cases[] = {
        {.arguments = {"--help"},
         .redirection = ">/dev/full",
         .reason = "the disk is full",
         .entryWritten = false},
        {.arguments = {"--version"},
         .redirection = ">/dev/full",
         .reason = "the disk is full",
         .entryWritten = false},
        {.arguments = {"x"},
         .redirection = ">/dev/full",
         .reason = "the disk is full",
         .entryWritten = true},
        {.arguments = {"x"},
         .redirection = ">&-",
         .reason = "Bad file descriptor",
         .entryWritten = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments) + c.redirection);
        TempDir scratch;
        MakeTelvioFolder(scratch / "x");
        std::string command = "cd " + Quoted(scratch.path().string()) + " && env -i " +
                              Quoted("XDG_DATA_HOME=" + (scratch / "data").string()) + " " +
                              KFG_SHORTCUT_PROGRAM;
        for (const std::string& argument : c.arguments) {
            command += " " + Quoted(argument);
        }
        const int status = std::system((command + " " + c.redirection + " 2>stderr").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(ReadBytes(scratch / "stderr"),
                  std::string("kfg-shortcut: cannot write the output: ") + c.reason + "\n");
        EXPECT_EQ(EntriesIn(scratch / "data" / "applications"), c.entryWritten ? 1 : 0);
    }
}

TEST(KfgShortcut, FindsTheDataFolderByTheXdgRules) {
    struct Case {
        std::vector<std::string> environment; // "@" stands for the scratch folder
        std::string applications;             // relative to the scratch folder; empty: refused
        const char* message;                  // part of the message when refused
    };
    const Case cases[] = {
        {.environment = {"XDG_DATA_HOME=@/xdg", "HOME=@/home"},
         .applications = "xdg/applications",
         .message = ""},
        // A relative XDG_DATA_HOME is ignored.
        {.environment = {"XDG_DATA_HOME=xdg", "HOME=@/home"},
         .applications = "home/.local/share/applications",
         .message = ""},
        {.environment = {"HOME=@/home"},
         .applications = "home/.local/share/applications",
         .message = ""},
        {.environment = {}, .applications = "", .message = "neither XDG_DATA_HOME nor HOME"},
        // XDG_DATA_HOME names a file.
        {.environment = {"XDG_DATA_HOME=@/Telvio/Telvio.ini"},
         .applications = "",
         .message = "could not be saved"},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.applications + c.message);
        TempDir scratch;
        const fs::path folder = MakeTelvioFolder(scratch / "Telvio");
        for (std::string& variable : c.environment) {
            variable = std::regex_replace(variable, std::regex("@"), scratch.path().string());
        }
        const Outcome run = RunShortcut(scratch, {folder.string()}, c.environment);
        EXPECT_EQ(run.status, c.applications.empty() ? 1 : 0) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (!c.applications.empty()) {
            EXPECT_TRUE(fs::is_regular_file(EntryFor(scratch, scratch / c.applications, folder)));
        }
    }
}

TEST(KfgShortcut, ReplacesAndRemovesOnlyItsOwnEntry) {
    TempDir scratch;
    const fs::path folder = MakeTelvioFolder(scratch / "Telvio");
    fs::create_directory_symlink(folder, scratch / "link");
    const fs::path applications = scratch / "data" / "applications";
    const fs::path entry = EntryFor(scratch, applications, folder);

    ASSERT_EQ(RunShortcut(scratch, {folder.string()}).status, 0);
    ASSERT_EQ(RunShortcut(scratch, {MakeTelvioFolder(scratch / "Other")}).status, 0);
    const std::string first = ReadBytes(entry);
    WriteBytes(entry, "[Desktop Entry]\nName=stale\n");
    // Again, through a symbolic link and with a closing slash: the same folder, the same entry.
    ASSERT_EQ(RunShortcut(scratch, {(scratch / "link/").string()}).status, 0);
    EXPECT_EQ(ReadBytes(entry), first);
    EXPECT_EQ(EntriesIn(applications), 2);

    // Removal works after the folder is gone (named with a closing slash), and only once.
    fs::remove_all(folder);
    const Outcome removed = RunShortcut(scratch, {"--remove", folder.string() + "/"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(EntriesIn(applications), 1);
    const Outcome again = RunShortcut(scratch, {"--remove", folder.string()});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("there is no menu entry for this folder"), std::string::npos)
        << again.err;
}

} // namespace
} // namespace kfg::test
