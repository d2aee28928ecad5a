#pragma once

#include "platform/state_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kfg::platform {

// How many earlier states of one file are kept; the oldest go first.
inline constexpr std::size_t kKeptStatesPerFile = 50;

// One kept state: the bytes a save replaced, in a file of their own.
struct KeptState {
    std::filesystem::path path;
    std::int64_t replacedNanoseconds = 0; // when it was kept, right before the save, since 1970
};

// The earlier states of the settings files, so that a save the user did not mean can be undone.
//
// Below the root, one folder per Telvio folder, named by a hash of its canonical path, holds
// a file "folder" with that path and one folder per settings file with its states, each
// named by the time it was kept. Folders are 0700 and states 0600: settings may hold what
// other users need not read. A state appears whole or not at all.
class SaveHistory {
public:
    // `root` is where the history lies: a path, not empty.
    explicit SaveHistory(std::filesystem::path root);

    // The user's history: <KfgStateFolder>/history, from the environment; none (null) for a
    // user without a state folder.
    static std::shared_ptr<SaveHistory> OfUser();

    const std::filesystem::path& Root() const { return root_; }

    // Keeps `bytes`, what `file` holds before a save changes it, as its newest state, unless
    // the newest state holds them already; states beyond kKeptStatesPerFile go, oldest first.
    // Never waits for anything. An error says why nothing was kept; the save goes on anyway.
    [[nodiscard]] std::error_code Keep(const std::filesystem::path& file, std::string_view bytes);

    // The states kept of `file`, newest first.
    std::vector<KeptState> States(const std::filesystem::path& file) const;

private:
    std::filesystem::path root_;
};

} // namespace kfg::platform
