// kfg-shortcut as a user runs it: the entry's bytes, its name, refusals, the data folder,
// replacement and removal. The program runs as a child process with its own environment.
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kfg::shortcut {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` in the folder `scratch` with exactly `environment` (nothing inherited).
Outcome RunProgram(const TempDir& scratch, const std::string& program,
                   const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment) {
    const fs::path out = scratch / "stdout";
    const fs::path err = scratch / "stderr";
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argvStrings) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = environment;
    std::vector<char*> envp;
    for (std::string& variable : envStrings) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 ||
            ::chdir(scratch.path().c_str()) != 0) {
            ::_exit(126);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    Outcome run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
}

Outcome RunShortcut(const TempDir& scratch, const std::vector<std::string>& arguments,
                    const std::vector<std::string>& environment) {
    return RunProgram(scratch, KFG_SHORTCUT_PROGRAM, arguments, environment);
}

// The SHA-256 of `bytes` in hex, from coreutils rather than from the code under test.
std::string Sha256Hex(const TempDir& scratch, const std::string& bytes) {
    const fs::path input = scratch / "hash-input";
    WriteBytes(input, bytes);
    const std::string command = "sha256sum < '" + input.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 65> hex{};
    const std::size_t got = pipe != nullptr ? std::fread(hex.data(), 1, 64, pipe) : 0;
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return std::string(hex.data(), got);
}

fs::path EntryFor(const TempDir& scratch, const fs::path& applications, const fs::path& folder) {
    const std::string canonical = fs::canonical(folder).string();
    return applications /
           ("io.kfg.KFG.folder-" + Sha256Hex(scratch, canonical).substr(0, 12) + ".desktop");
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto& item : fs::directory_iterator(folder, ignored)) {
        files.push_back(item.path().filename());
    }
    return files;
}

fs::path MakeTelvioFolder(const fs::path& folder, const char* iniName = "Telvio.ini") {
    fs::create_directories(folder);
    WriteBytes(folder / iniName, "[Telvio]\r\nStatus=1\r\n");
    return folder;
}

// Passes when desktop-file-validate accepts the entry (hints allowed) or is not installed.
void ExpectValidEntry(const TempDir& scratch, const fs::path& entry) {
    const std::string validator = KFG_DESKTOP_FILE_VALIDATE;
    if (validator.empty()) {
        return;
    }
    const Outcome run = RunProgram(scratch, validator, {entry.string()}, {});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
}

struct EscapeCase {
    std::string folderName;
    std::string escapedName; // as the Name= value writes the folder name
    std::string escapedPath; // as Path= writes the folder name after the parent's path
};

TEST(KfgShortcut, WritesTheFolderUnderTheEscapingRules) {
    const std::vector<EscapeCase> cases = {
        {"Tel vio \"100%\"", "Tel vio \"100%\"", "Tel vio \"100%\""},
        {"C:\\Telvio", "C:\\\\Telvio", "C:\\\\Telvio"},
        {"Fernsehzimmer Ü ñ 電視", "Fernsehzimmer Ü ñ 電視", "Fernsehzimmer Ü ñ 電視"},
        {"it's ;a=b[c] $HOME `x`", "it's ;a=b[c] $HOME `x`", "it's ;a=b[c] $HOME `x`"},
        {"two  blanks ", "two  blanks\\s", "two  blanks\\s"},
        {" lead", " lead", " lead"},
        {"tab\there\nnew\rline", "tab\\there\\nnew\\rline", "tab\\there\\nnew\\rline"},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.folderName);
        TempDir scratch;
        const fs::path folder = MakeTelvioFolder(scratch / "Telvio" / c.folderName);
        const fs::path data = scratch / "data";
        const Outcome run =
            RunShortcut(scratch, {folder.string()}, {"XDG_DATA_HOME=" + data.string()});
        ASSERT_EQ(run.status, 0) << run.err;

        const fs::path entry = EntryFor(scratch, data / "applications", folder);
        const std::string text = ReadBytes(entry);
        const std::string parent = fs::canonical(scratch / "Telvio").string();
        EXPECT_NE(text.find("\nName=KFG – Telvio in " + c.escapedName + "\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("\nName[es]=KFG – Telvio en " + c.escapedName + "\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("\nPath=" + parent + "/" + c.escapedPath + "\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("\nExec=kfg\nTryExec=kfg\n"), std::string::npos) << text;
        EXPECT_NE(run.out.find(entry.string()), std::string::npos) << run.out;
        ExpectValidEntry(scratch, entry);
    }
}

struct RefusalCase {
    const char* what;
    std::function<fs::path(const fs::path&)> makeFolder; // in the scratch folder
    int status;
    std::string message; // part of the message; empty: none expected
};

TEST(KfgShortcut, RefusesWhatIsNoTelvioFolderOrCannotBeWritten) {
    const std::vector<RefusalCase> cases = {
        {"no Telvio.ini", [](const fs::path& s) { return MakeTelvioFolder(s / "x", "Other.ini"); },
         1, "no Telvio.ini in this folder"},
        {"Telvio.ini is a folder",
         [](const fs::path& s) {
             fs::create_directories(s / "x" / "Telvio.ini");
             return s / "x";
         },
         1, "no Telvio.ini"},
        {"letter case ignored",
         [](const fs::path& s) { return MakeTelvioFolder(s / "x", "TELVIO.INI"); }, 0, ""},
        {"path not UTF-8", [](const fs::path& s) { return MakeTelvioFolder(s / "Fernseh\xFC"); }, 1,
         "not valid UTF-8"},
        {"overlong UTF-8", [](const fs::path& s) { return MakeTelvioFolder(s / "slash\xC0\xAF"); },
         1, "not valid UTF-8"},
        {"control character", [](const fs::path& s) { return MakeTelvioFolder(s / "bell\x07"); }, 1,
         "control character"},
        {"delete character", [](const fs::path& s) { return MakeTelvioFolder(s / "rub\x7Fout"); },
         1, "control character"},
        {"missing folder", [](const fs::path& s) { return s / "gone"; }, 1,
         "No such file or directory"},
        {"a file",
         [](const fs::path& s) {
             WriteBytes(s / "Telvio.ini", "");
             return s / "Telvio.ini";
         },
         1, "not a folder"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        const fs::path folder = c.makeFolder(scratch.path());
        const fs::path data = scratch / "data";
        const Outcome run =
            RunShortcut(scratch, {folder.string()}, {"XDG_DATA_HOME=" + data.string()});
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status != 0) {
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
            EXPECT_TRUE(FilesIn(data / "applications").empty());
        }
    }
}

struct DataHomeCase {
    const char* what;
    std::vector<std::string> environment; // "@" stands for the scratch folder
    std::string applications;             // relative to the scratch folder; empty: refused
    std::string message;                  // part of the message when refused
};

TEST(KfgShortcut, FindsTheDataFolderByTheXdgRules) {
    const std::vector<DataHomeCase> cases = {
        {"XDG_DATA_HOME", {"XDG_DATA_HOME=@/xdg", "HOME=@/home"}, "xdg/applications", ""},
        {"relative XDG_DATA_HOME is ignored",
         {"XDG_DATA_HOME=xdg", "HOME=@/home"},
         "home/.local/share/applications",
         ""},
        {"empty XDG_DATA_HOME",
         {"XDG_DATA_HOME=", "HOME=@/home"},
         "home/.local/share/applications",
         ""},
        {"HOME only", {"HOME=@/home"}, "home/.local/share/applications", ""},
        {"neither", {}, "", "neither XDG_DATA_HOME nor HOME"},
        {"applications is a file", {"XDG_DATA_HOME=@/blocked"}, "", "cannot write"},
    };
    for (const DataHomeCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        const fs::path folder = MakeTelvioFolder(scratch / "Telvio");
        fs::create_directory(scratch / "blocked");
        WriteBytes(scratch / "blocked" / "applications", "");
        std::vector<std::string> environment;
        for (std::string variable : c.environment) {
            if (const std::size_t at = variable.find('@'); at != std::string::npos) {
                variable.replace(at, 1, scratch.path().string());
            }
            environment.push_back(variable);
        }
        const Outcome run = RunShortcut(scratch, {folder.string()}, environment);
        if (c.applications.empty()) {
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
            continue;
        }
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(fs::is_regular_file(EntryFor(scratch, scratch / c.applications, folder)));
    }
}

TEST(KfgShortcut, ReplacesAndRemovesOnlyItsOwnEntry) {
    TempDir scratch;
    const fs::path folder = MakeTelvioFolder(scratch / "Telvio");
    fs::create_directory_symlink(folder, scratch / "link");
    const fs::path other = MakeTelvioFolder(scratch / "Other");
    const fs::path applications = scratch / "data" / "applications";
    const std::vector<std::string> environment{"XDG_DATA_HOME=" + (scratch / "data").string()};
    const fs::path entry = EntryFor(scratch, applications, folder);

    ASSERT_EQ(RunShortcut(scratch, {folder.string()}, environment).status, 0);
    ASSERT_EQ(RunShortcut(scratch, {other.string()}, environment).status, 0);
    const std::string first = ReadBytes(entry);
    WriteBytes(entry, "[Desktop Entry]\nName=stale\n");
    // Again, through a symbolic link and with a closing slash: the same folder, the same entry.
    ASSERT_EQ(RunShortcut(scratch, {(scratch / "link/").string()}, environment).status, 0);
    EXPECT_EQ(ReadBytes(entry), first);
    EXPECT_EQ(FilesIn(applications).size(), 2u);

    // Removal works after the folder is gone (named with a closing slash), and only once.
    fs::remove_all(folder);
    const Outcome removed = RunShortcut(scratch, {"--remove", folder.string() + "/"}, environment);
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(FilesIn(applications).size(), 1u);
    const Outcome again = RunShortcut(scratch, {"--remove", folder.string()}, environment);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("there is no menu entry for this folder"), std::string::npos)
        << again.err;
}

TEST(KfgShortcut, RejectsWrongArguments) {
    TempDir scratch;
    const fs::path folder = MakeTelvioFolder(scratch / "Telvio");
    const std::vector<std::string> environment{"XDG_DATA_HOME=" + (scratch / "data").string()};
    const std::vector<std::vector<std::string>> wrong = {
        {}, {folder.string(), folder.string()}, {"--force", folder.string()}, {"--remove"}};
    for (const auto& arguments : wrong) {
        EXPECT_EQ(RunShortcut(scratch, arguments, environment).status, 2);
    }
    EXPECT_FALSE(fs::exists(scratch / "data"));
    // "--" lets a folder begin with "-"; a relative folder is taken from the working folder.
    const fs::path dashed = MakeTelvioFolder(scratch / "-Telvio");
    EXPECT_EQ(RunShortcut(scratch, {"--", "-Telvio"}, environment).status, 0);
    EXPECT_TRUE(fs::is_regular_file(EntryFor(scratch, scratch / "data" / "applications", dashed)));
}

} // namespace
} // namespace kfg::shortcut
