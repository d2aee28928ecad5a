#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::platform {

// Starts `command` in `workingDirectory` and does not wait for it. An intermediate child
// exits at once, so the program never becomes a zombie of ours (nor of a program that later
// replaces our process). The program inherits no descriptor but the standard ones. Fails with
// the errno of the exec when the program could not be executed.
[[nodiscard]] std::error_code StartDetached(const std::vector<std::string>& command,
                                            const std::filesystem::path& workingDirectory);

// Starts `command` as StartDetached does and waits until the program itself ends, at most
// `limit`; what the program leaves running (a server it started) is not waited for. A waiter
// process, the only holder of a pipe's write end, runs the program and reports its end, so no
// child of ours is left afterwards. The result: nothing when the program ended with status 0,
// its status (ExitStatusCategory) when not, errc::timed_out when it is still running (it goes
// on), or the errno of the exec.
[[nodiscard]] std::error_code StartAndWait(const std::vector<std::string>& command,
                                           const std::filesystem::path& workingDirectory,
                                           std::chrono::milliseconds limit);

// Replaces this process by `command`, run in `workingDirectory`. Every descriptor but the
// standard ones is closed on the way, so windows and files go with the old program. Returns
// (the errno of the exec) only when the program could not be executed.
[[nodiscard]] std::error_code ReplaceProcess(const std::vector<std::string>& command,
                                             const std::filesystem::path& workingDirectory);

} // namespace kfg::platform
