#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::platform {

// A program file of the working folder, as spelled there.
struct ProgramFile {
    std::string name;      // the name asked for when there is no such file
    std::error_code error; // FailureCause::FileMissing when there is none
    // When the exact name is missing: every entry that matches ignoring letter case, in byte
    // order; more than one means the first was taken.
    std::vector<std::string> candidates;
};

// The one lookup of program files in the working folder, ignoring ASCII letter case as the
// settings files are looked up (FindIgnoringCase: the exact name first). Only a regular file
// counts (after symbolic links); a folder or device with the name is missing.
[[nodiscard]] ProgramFile FindProgramFile(const std::filesystem::path& workingDirectory,
                                          const std::string& name);

// How a program of the working folder is run, or would be.
struct ProgramCommand {
    // "./name" and the arguments (the search path is never consulted for the program), or,
    // for a Windows executable (a file beginning with "MZ"), wine from the search path before
    // them ("wine" itself when there is none).
    std::vector<std::string> argv;
    bool throughWine = false;
    // Why it cannot run, a FailureCause: file missing, not readable, or no wine.
    std::error_code error;
    // Several files matched the name ignoring letter case: all of them in byte order; the
    // first is the one run. Empty otherwise.
    std::vector<std::string> spellings;
};

[[nodiscard]] ProgramCommand CommandFor(const std::filesystem::path& workingDirectory,
                                        const std::string& name,
                                        const std::vector<std::string>& arguments,
                                        const std::string& searchPath);

// The full path of `program` on the search path (a colon-separated list), or nothing. Entries
// that are not absolute (".", "bin", empty) are skipped: they would name the working folder.
std::optional<std::string> FindOnSearchPath(const std::string& program,
                                            const std::string& searchPath);

// The process's PATH, or the usual system folders when it is unset: where wine is looked for
// (never KFG's own programs).
std::string SearchPathOfProcess();

} // namespace kfg::platform
