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
    // When it was kept, right before the save, since 1970; it names the state, and no later
    // keep changes it.
    std::int64_t replacedNanoseconds = 0;
};

// The earlier states of the settings files, so that a save the user did not mean can be undone.
//
// In the folder "history" of KFG's state folder, one folder per folder of settings files, named by
// a hash of its canonical path, holds a file "folder" with that path and one folder per settings
// file with its states, each named by the time it was kept. Folders are 0700 and states 0600:
// settings may hold what other users need not read. A state appears whole or not at all.
//
// Every folder on the way, the state folder included, is used only while it is private to the
// user (OpenPrivateFolder), and a state only while the user owns it: nothing another user
// planted is kept into, listed or read back.
class SaveHistory {
public:
    // In `stateFolder`; without one (StateFolder()) every keep fails with
    // PrivateFolderErrc::NoStateFolder.
    explicit SaveHistory(StateFolder stateFolder);

    // The folder "history" in the state folder, for messages; empty without a state folder.
    std::filesystem::path Root() const;

    // Keeps `bytes`, what `file` holds before a save changes it, as its newest state, unless
    // the newest state holds them already; states beyond kKeptStatesPerFile go, oldest first.
    // Never waits for anything. Empty bytes hold no setting and are not kept. On success
    // `holder`, when given, is the state that holds the bytes (untouched for empty bytes). An
    // error says why nothing was kept.
    [[nodiscard]] std::error_code Keep(const std::filesystem::path& file, std::string_view bytes,
                                       KeptState* holder = nullptr);

    // The states kept of `file`, newest first.
    std::vector<KeptState> States(const std::filesystem::path& file) const;

    // Reads the state of `file` kept at `replacedNanoseconds`, as States() lists it.
    [[nodiscard]] std::error_code ReadState(const std::filesystem::path& file,
                                            std::int64_t replacedNanoseconds,
                                            std::string& bytes) const;

    // Why a keep of `file` now would fail, checking what Keep() checks without keeping or
    // making anything; {} when it would work, else `where` is the folder at fault.
    [[nodiscard]] std::error_code WhyNothingIsKept(const std::filesystem::path& file,
                                                   std::filesystem::path& where) const;

private:
    StateFolder stateFolder_;
};

} // namespace kfg::platform
