#pragma once

#include "platform/failure_cause.h"
#include "platform/program_starter.h"

#include <string>
#include <vector>

namespace kfg::test {

// Records what would have been started; starts nothing. A hand-over fails as it does when
// Telvio is missing, unless told otherwise, so the dialog goes on.
class RecordingStarter final : public platform::ProgramStarter {
public:
    std::vector<std::string> log; // "start Sonora.exe", "sound", "handover Telvio.exe Quick"
    std::error_code startError;
    std::error_code soundError;
    std::error_code handOverError = make_error_code(platform::FailureCause::FileMissing);

    std::error_code Start(const std::filesystem::path&, const std::string& name,
                          const std::vector<std::string>& arguments) override {
        log.push_back("start " + Join(name, arguments));
        return startError;
    }
    std::error_code RunSoundInitialisation(const std::filesystem::path&) override {
        log.push_back("sound");
        return soundError;
    }
    std::error_code HandOver(const std::filesystem::path&, const std::string& name,
                             const std::vector<std::string>& arguments) override {
        log.push_back("handover " + Join(name, arguments));
        return handOverError;
    }

private:
    static std::string Join(const std::string& name, const std::vector<std::string>& arguments) {
        std::string line = name;
        for (const std::string& argument : arguments) {
            line += " " + argument;
        }
        return line;
    }
};

} // namespace kfg::test
