#pragma once

#include "platform/unique_fd.h"

#include <string>
#include <string_view>
#include <system_error>

namespace kfg::platform {

// What happens to an entry that already has the final name.
enum class ExistingName { Fails, IsReplaced };

// A file that takes its name only when it is whole, the one way KFG writes a new file (the
// saves' replacement, the kept states, the recent list): unnamed (O_TMPFILE) where the file
// system allows, else under a temporary name TemporaryPrefixOf(name) + six letters or digits.
// A named temporary that was not committed goes with the object. Nothing is flushed unless the
// caller flushes Fd().
class NewFile {
public:
    enum class Kind { Unnamed, Named };

    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Begins the file, mode 0600, in the open folder `folderFd` for the final name `name`.
    // Unnamed on a file system without unnamed files fails with operation_not_supported.
    [[nodiscard]] std::error_code Begin(int folderFd, std::string name, Kind kind);
    int Fd() const { return fd_.get(); }
    bool IsUnnamed() const { return unnamed_; }

    // Gives an unnamed file its temporary name (a rename needs a name); fails with
    // no_such_file_or_directory where there is no /proc to name it through.
    [[nodiscard]] std::error_code NameTemporary();
    // Closes the descriptor; false when close() reported a late write error.
    [[nodiscard]] bool Close();
    // Gives the file its final name. IsReplaced renames it over whatever stands there (a link is
    // replaced, never written through); Fails links it in only where nothing stands, and leaves
    // an existing entry as it is (file_exists).
    [[nodiscard]] std::error_code Commit(ExistingName existing);

private:
    int folderFd_ = -1;
    std::string name_;
    std::string temporary_; // empty while unnamed
    UniqueFd fd_;
    bool unnamed_ = false;
};

// ".<name>.kfg-": how the temporary of a new file named `name` begins.
std::string TemporaryPrefixOf(std::string_view name);

// Writes `bytes` as a new file `name` of the open folder `folderFd` with NewFile, unnamed
// where the file system allows, and commits it as `existing` says.
[[nodiscard]] std::error_code WriteNewFileAt(int folderFd, const std::string& name,
                                             std::string_view bytes, ExistingName existing);

// The one rule for leftovers: a temporary of a new file is left over from a writer that was
// killed once its finder holds the folder's flock, since every writer that cleans up holds it
// while it writes. Removes the regular files of `folderFd` named TemporaryPrefixOf(`name`) and
// more; of any name when `name` is empty. Call it only while holding the flock.
void RemoveLeftovers(int folderFd, std::string_view name);

// For writers that never wait (the kept states, the recent list): takes the folder's flock only
// when it is free and then removes the leftovers as RemoveLeftovers does. The lock stays with
// `folderFd` until it is closed, so the caller's own temporary is safe from other cleaners.
// False when another holds the lock: someone beside the caller cleans up.
bool RemoveLeftoversIfFree(int folderFd, std::string_view name);

} // namespace kfg::platform
