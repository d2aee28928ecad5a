// kfgctl: KFG's rules for Telvio's settings, on the command line. No window, no Qt Widgets.
#include "ctl/ctl_texts.h"
#include "ctl/kfgctl.h"
#include "mixer/system_mixer.h"
#include "platform/message_language.h"
#include "platform/program_command.h"
#include "platform/program_starter.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    kfg::platform::SystemProgramStarter starter(kfg::platform::SearchPathOfProcess());
    kfg::ctl::Environment environment;
    std::error_code error;
    environment.workingDirectory = std::filesystem::current_path(error);
    if (error) {
        environment.workingDirectory = ".";
    }
    environment.language =
        kfg::platform::MessageLanguage(kfg::platform::LocaleEnvironmentOfProcess());
    environment.starter = &starter;
    environment.mixer = [] { return kfg::mixer::MakeSystemMixer(); };
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kfg::ctl::RunKfgctl(arguments, std::cout, std::cerr, environment);
}
