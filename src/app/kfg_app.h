#pragma once

#include "platform/program_starter.h"
#include "platform/state_folder.h"
#include "settings/profile_store.h"
#include "telvio/process_state.h"

#include <filesystem>

namespace kfg::app {

// The application: owns the process-wide state and the profile store, runs the main dialog
// once, and ends.
class CKfgApp {
public:
    // Saves keep the states they replace in `stateFolder`; the folder is recorded there among
    // the folders KFG ran in once the window shows.
    CKfgApp(std::filesystem::path workingDirectory, const platform::StateFolder& stateFolder);

    // Runs the main dialog modally; the process ends when it returns.
    void InitInstance();

    telvio::ProcessState& State() { return state_; }

private:
    std::filesystem::path workingDirectory_;
    platform::StateFolder stateFolder_;
    telvio::ProcessState state_;
    settings::ProfileStore store_;
    platform::SystemProgramStarter starter_;
};

} // namespace kfg::app
