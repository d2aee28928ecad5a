#pragma once

#include "platform/failure_cause.h"
#include "platform/program_starter.h"

#include <string>
#include <vector>

namespace kfg::test {

// Records what would have been started; starts nothing. A hand-over fails as it does when
// Telvio is missing, unless told otherwise, so the dialog goes on.
class RecordingStarter : public platform::ProgramStarter {
public:
    std::vector<std::string> log; // "start Sonora.exe", "sound", "handover Telvio.exe Quick"
    std::error_code startError;
    std::error_code soundError;
    std::error_code handOverError = make_error_code(platform::FailureCause::FileMissing);

    [[nodiscard]] std::error_code Start(const std::filesystem::path&, const std::string& name,
                                        const std::vector<std::string>& arguments) override {
        return Record("start " + name, arguments, startError);
    }
    // The one program KFG waits for is the sound initialisation.
    [[nodiscard]] std::error_code RunWaited(const std::filesystem::path&,
                                            const platform::WaitedProgram&) override {
        return Record("sound", {}, soundError);
    }
    [[nodiscard]] std::error_code HandOver(const std::filesystem::path&, const std::string& name,
                                           const std::vector<std::string>& arguments) override {
        return Record("handover " + name, arguments, handOverError);
    }

private:
    std::error_code Record(std::string line, const std::vector<std::string>& arguments,
                           std::error_code error) {
        for (const std::string& argument : arguments) {
            line += " " + argument;
        }
        log.push_back(line);
        return error;
    }
};

} // namespace kfg::test
