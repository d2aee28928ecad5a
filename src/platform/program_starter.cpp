#include "platform/program_starter.h"

#include "platform/program_launcher.h"

#include <chrono>

namespace kfg::platform {
namespace {

constexpr std::chrono::seconds kSoundInitialisationLimit{5};

std::error_code NotStartable() {
    return std::make_error_code(std::errc::no_such_file_or_directory);
}

} // namespace

std::error_code SystemProgramStarter::Start(const std::filesystem::path& workingDirectory,
                                            const std::string& name,
                                            const std::vector<std::string>& arguments) {
    const auto command = CommandFor(workingDirectory, name, arguments, searchPath_);
    return command ? StartDetached(*command, workingDirectory) : NotStartable();
}

std::error_code
SystemProgramStarter::RunSoundInitialisation(const std::filesystem::path& workingDirectory) {
    // A Windows system program: it only ever runs through wine.
    const auto wine = FindOnSearchPath("wine", searchPath_);
    if (!wine) {
        return NotStartable();
    }
    const bool ended = StartAndWait({*wine, "rundll32.exe", "bt848dlg.dll,initialize"},
                                    workingDirectory, kSoundInitialisationLimit);
    return ended ? std::error_code{} : std::make_error_code(std::errc::timed_out);
}

std::error_code SystemProgramStarter::HandOver(const std::filesystem::path& workingDirectory,
                                               const std::string& name,
                                               const std::vector<std::string>& arguments) {
    const auto command = CommandFor(workingDirectory, name, arguments, searchPath_);
    return command ? ReplaceProcess(*command, workingDirectory) : NotStartable();
}

} // namespace kfg::platform
