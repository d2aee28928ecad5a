#pragma once

#include "platform/failure_cause.h"
#include "platform/program_command.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::platform {

// A Windows system program that runs through wine and is waited for.
struct WaitedProgram {
    const char* what;                   // what it does, for the diagnostics
    std::vector<std::string> arguments; // after "wine": the program, then its arguments
    std::chrono::seconds limit;         // how long it is waited for at most
};

// Starts the programs KFG hands work to. The dialogs use this interface, so that tests can
// see what would have been started without starting anything. Failures are FailureCause
// codes where the cause is one of those; otherwise the system's error.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // Starts the program `name` of `workingDirectory` and does not wait for it.
    [[nodiscard]] virtual std::error_code Start(const std::filesystem::path& workingDirectory,
                                                const std::string& name,
                                                const std::vector<std::string>& arguments) = 0;
    // Runs `program` through wine and waits for it to end, at most its limit.
    [[nodiscard]] virtual std::error_code RunWaited(const std::filesystem::path& workingDirectory,
                                                    const WaitedProgram& program) = 0;
    // Replaces this process by the program; returns only when it could not be started.
    [[nodiscard]] virtual std::error_code HandOver(const std::filesystem::path& workingDirectory,
                                                   const std::string& name,
                                                   const std::vector<std::string>& arguments) = 0;
};

// One failed start, for the diagnostics.
struct LaunchFailure {
    const char* step; // "start", "hand-over", "look up", or a waited program's `what`
    std::string program;
    std::vector<std::string> commandLine; // as it ran, or would have run
    std::error_code error;
    // Nothing failed: several files matched the name ignoring letter case ("look up");
    // `commandLine` then lists them in byte order, the first being the one used.
    bool notice = false;
    // A waited program: how long it was waited for (its error may be an exit status or the
    // end of the wait, no failed start).
    std::chrono::seconds waited{0};
};
using LaunchFailureSink = std::function<void(const LaunchFailure&)>;

// The real thing: programs are "./name" from the working directory, Windows executables and
// waited programs run through wine from `searchPath`. Every failure is also handed to `sink`.
class SystemProgramStarter final : public ProgramStarter {
public:
    explicit SystemProgramStarter(std::string searchPath, LaunchFailureSink sink = {})
        : searchPath_(std::move(searchPath))
        , sink_(std::move(sink)) {}

    [[nodiscard]] std::error_code Start(const std::filesystem::path& workingDirectory,
                                        const std::string& name,
                                        const std::vector<std::string>& arguments) override;
    [[nodiscard]] std::error_code RunWaited(const std::filesystem::path& workingDirectory,
                                            const WaitedProgram& program) override;
    [[nodiscard]] std::error_code HandOver(const std::filesystem::path& workingDirectory,
                                           const std::string& name,
                                           const std::vector<std::string>& arguments) override;

private:
    [[nodiscard]] std::error_code Report(LaunchFailure failure) const;
    void ReportSpellings(const std::string& program, const ProgramCommand& command) const;
    // Start and hand-over differ only in how the command runs and in the step they report.
    using RunCommand = std::error_code (*)(const std::vector<std::string>&,
                                           const std::filesystem::path&);
    [[nodiscard]] std::error_code
    Run(const char* step, const std::filesystem::path& workingDirectory, const std::string& name,
        const std::vector<std::string>& arguments, RunCommand run) const;

    std::string searchPath_;
    LaunchFailureSink sink_;
};

// Starts nothing, for rendering and measuring the dialogs without side effects; a hand-over
// fails as it does when the viewer is missing.
class NoProgramStarter final : public ProgramStarter {
public:
    [[nodiscard]] std::error_code Start(const std::filesystem::path&, const std::string&,
                                        const std::vector<std::string>&) override {
        return {};
    }
    [[nodiscard]] std::error_code RunWaited(const std::filesystem::path&,
                                            const WaitedProgram&) override {
        return {};
    }
    [[nodiscard]] std::error_code HandOver(const std::filesystem::path&, const std::string&,
                                           const std::vector<std::string>&) override {
        return make_error_code(FailureCause::FileMissing);
    }
};

} // namespace kfg::platform
