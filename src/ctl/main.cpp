// kfgctl: KFG's rules for Telvio's settings, on the command line. No window, no Qt Widgets.
#include "cli/exit_status.h"
#include "ctl/ctl_texts.h"
#include "ctl/kfgctl.h"
#include "mixer/system_mixer.h"
#include "platform/failure_cause.h"
#include "platform/program_command.h"
#include "platform/program_starter.h"
#include "platform/save_history.h"
#include "platform/standard_output.h"
#include "texts/failure_reasons.h"
#include "texts/message_language.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <unistd.h>

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard output must not lend its number to a file.
    const bool outputClosed = kfg::platform::FillClosedStandardStreams();
    kfg::platform::DescriptorOutput outputBuffer(outputClosed ? -1 : STDOUT_FILENO);
    std::ostream output(&outputBuffer);

    kfg::platform::SystemProgramStarter starter(kfg::platform::SearchPathOfProcess());
    kfg::ctl::Environment environment;
    std::error_code error;
    environment.workingDirectory = std::filesystem::current_path(error);
    if (error) {
        environment.workingDirectory = ".";
    }
    environment.language = kfg::texts::MessageLanguage(kfg::texts::LocaleEnvironmentOfProcess(),
                                                       kfg::texts::MessageOutput::Terminal);
    environment.starter = &starter;
    environment.history =
        std::make_shared<kfg::platform::SaveHistory>(kfg::platform::StateFolder::OfEnvironment(
            std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    environment.mixer = [] { return kfg::mixer::MakeSystemMixer(); };
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = kfg::ctl::RunKfgctl(arguments, output, std::cerr, environment);
    // Output that never arrived (a full disk, a closed pipe) is no success.
    output.flush();
    if (const std::error_code failed = outputBuffer.Error()) {
        std::cerr << "kfgctl: "
                  << kfg::ctl::Text(
                         kfg::ctl::Message::OutputUnwritable, environment.language,
                         {kfg::texts::FailureReason(kfg::platform::SortWriteFailure(failed),
                                                    environment.language)})
                  << '\n';
        return kfg::cli::ExitCode(kfg::cli::ExitStatus::Refused);
    }
    return status;
}
