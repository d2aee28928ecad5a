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

// How long the sound initialisation is waited for; Telvio starts after it either way.
inline constexpr std::chrono::seconds kSoundInitialisationLimit{5};
// The Windows program the sound initialisation runs, as messages name it.
inline constexpr const char* kSoundInitialisationProgram = "rundll32.exe";

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
    // Runs the capture card's sound initialisation and waits for it to end, at most 5 seconds.
    [[nodiscard]] virtual std::error_code
    RunSoundInitialisation(const std::filesystem::path& workingDirectory) = 0;
    // Replaces this process by the program; returns only when it could not be started.
    [[nodiscard]] virtual std::error_code HandOver(const std::filesystem::path& workingDirectory,
                                                   const std::string& name,
                                                   const std::vector<std::string>& arguments) = 0;
};

// One failed start, for the diagnostics.
struct LaunchFailure {
    const char* step; // "start", "sound initialisation", "hand-over", "look up"
    std::string program;
    std::vector<std::string> commandLine; // as it ran, or would have run
    std::error_code error;
    // Nothing failed: several files matched the name ignoring letter case ("look up");
    // `commandLine` then lists them in byte order, the first being the one used.
    bool notice = false;
    // What went wrong as a sentence in English, where the error's own words would mislead (a
    // program that ran and failed is no failed start); empty: the error's words.
    std::string sentence;
};
using LaunchFailureSink = std::function<void(const LaunchFailure&)>;

// The real thing: programs are "./name" from the working directory, Windows executables run
// through wine from `searchPath`, the sound initialisation is `wine rundll32.exe
// bt848dlg.dll,initialize`. Every failure is also handed to `sink`.
class SystemProgramStarter final : public ProgramStarter {
public:
    explicit SystemProgramStarter(std::string searchPath, LaunchFailureSink sink = {})
        : searchPath_(std::move(searchPath))
        , sink_(std::move(sink)) {}

    [[nodiscard]] std::error_code Start(const std::filesystem::path& workingDirectory,
                                        const std::string& name,
                                        const std::vector<std::string>& arguments) override;
    [[nodiscard]] std::error_code
    RunSoundInitialisation(const std::filesystem::path& workingDirectory) override;
    [[nodiscard]] std::error_code HandOver(const std::filesystem::path& workingDirectory,
                                           const std::string& name,
                                           const std::vector<std::string>& arguments) override;

private:
    [[nodiscard]] std::error_code Report(const char* step, const std::string& program,
                                         const std::vector<std::string>& commandLine,
                                         std::error_code error, std::string sentence = {}) const;
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
    [[nodiscard]] std::error_code RunSoundInitialisation(const std::filesystem::path&) override {
        return {};
    }
    [[nodiscard]] std::error_code HandOver(const std::filesystem::path&, const std::string&,
                                           const std::vector<std::string>&) override {
        return make_error_code(FailureCause::FileMissing);
    }
};

} // namespace kfg::platform
