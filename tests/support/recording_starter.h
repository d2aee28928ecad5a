#pragma once

#include "platform/program_starter.h"

#include <string>
#include <vector>

namespace kfg::test {

// Records what would have been started; starts nothing. A hand-over "fails" unless told to
// succeed, so the dialog goes on as it does when Telvio is missing.
class RecordingStarter final : public platform::ProgramStarter {
public:
    std::vector<std::string> log; // "start Sonora.exe", "sound", "handover Telvio.exe Quick"

    std::error_code Start(const std::filesystem::path&, const std::string& name,
                          const std::vector<std::string>& arguments) override {
        log.push_back("start " + Join(name, arguments));
        return {};
    }
    std::error_code RunSoundInitialisation(const std::filesystem::path&) override {
        log.push_back("sound");
        return {};
    }
    std::error_code HandOver(const std::filesystem::path&, const std::string& name,
                             const std::vector<std::string>& arguments) override {
        log.push_back("handover " + Join(name, arguments));
        return std::make_error_code(std::errc::no_such_file_or_directory);
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
