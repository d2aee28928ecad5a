#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::platform {

// How a program of the working directory is started: "./name" (the search path is never
// consulted for it), or, for a Windows executable (a file beginning with "MZ"), `wine ./name`
// with wine taken from the search path. Nothing when the file is missing or unreadable, or
// when it needs wine and there is none.
std::optional<std::vector<std::string>> CommandFor(const std::filesystem::path& workingDirectory,
                                                   const std::string& name,
                                                   const std::vector<std::string>& arguments,
                                                   const std::string& searchPath);

// The full path of `program` on the search path (a colon-separated list), or nothing.
std::optional<std::string> FindOnSearchPath(const std::string& program,
                                            const std::string& searchPath);

// Starts `command` in `workingDirectory` and does not wait for it. An intermediate child
// exits at once, so the program never becomes a zombie of ours (nor of a program that later
// replaces our process). The program inherits no descriptor but the standard ones. Fails when
// the program could not be executed.
std::error_code StartDetached(const std::vector<std::string>& command,
                              const std::filesystem::path& workingDirectory);

// As StartDetached, then waits until the program ends, at most `limit`. Whether it ended in
// time is the result; the program goes on running either way.
bool StartAndWait(const std::vector<std::string>& command,
                  const std::filesystem::path& workingDirectory, std::chrono::milliseconds limit);

// Replaces this process by `command`, run in `workingDirectory`. Every descriptor but the
// standard ones is closed on the way, so windows and files go with the old program. Returns
// only when the program could not be executed.
std::error_code ReplaceProcess(const std::vector<std::string>& command,
                               const std::filesystem::path& workingDirectory);

} // namespace kfg::platform
