#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::platform {

// Starts the programs KFG hands work to. The dialogs use this interface, so that tests can
// see what would have been started without starting anything.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // Starts the program `name` of `workingDirectory` and does not wait for it.
    virtual std::error_code Start(const std::filesystem::path& workingDirectory,
                                  const std::string& name,
                                  const std::vector<std::string>& arguments) = 0;
    // Runs the capture card's sound initialisation and waits for it, at most 5 seconds.
    virtual std::error_code
    RunSoundInitialisation(const std::filesystem::path& workingDirectory) = 0;
    // Replaces this process by the program; returns only when it could not be started.
    virtual std::error_code HandOver(const std::filesystem::path& workingDirectory,
                                     const std::string& name,
                                     const std::vector<std::string>& arguments) = 0;
};

// The real thing: programs are "./name" from the working directory, Windows executables run
// through wine from `searchPath`, the sound initialisation is `wine rundll32.exe
// bt848dlg.dll,initialize`.
class SystemProgramStarter final : public ProgramStarter {
public:
    explicit SystemProgramStarter(std::string searchPath)
        : searchPath_(std::move(searchPath)) {}

    std::error_code Start(const std::filesystem::path& workingDirectory, const std::string& name,
                          const std::vector<std::string>& arguments) override;
    std::error_code RunSoundInitialisation(const std::filesystem::path& workingDirectory) override;
    std::error_code HandOver(const std::filesystem::path& workingDirectory, const std::string& name,
                             const std::vector<std::string>& arguments) override;

private:
    std::string searchPath_;
};

// Starts nothing, for rendering and measuring the dialogs without side effects; a hand-over
// fails as it does when the viewer is missing.
class NoProgramStarter final : public ProgramStarter {
public:
    std::error_code Start(const std::filesystem::path&, const std::string&,
                          const std::vector<std::string>&) override {
        return {};
    }
    std::error_code RunSoundInitialisation(const std::filesystem::path&) override { return {}; }
    std::error_code HandOver(const std::filesystem::path&, const std::string&,
                             const std::vector<std::string>&) override {
        return std::make_error_code(std::errc::operation_not_permitted);
    }
};

} // namespace kfg::platform
