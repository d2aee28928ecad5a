#pragma once

#include "platform/unique_fd.h"

#include <string>
#include <system_error>
#include <type_traits>

namespace kfg::platform {

// Why a folder or file of KFG's own state is not used: another user could have put it there
// or could change it, so what it holds may be turned against the user.
enum class PrivateFolderErrc {
    NoStateFolder = 1, // neither XDG_STATE_HOME nor HOME names an absolute folder
    Link,              // a symbolic link stands at the name
    NotOwned,          // another user owns it
    OpenToOthers,      // its group or others may write into it
    NotRegularFile,    // a state or note that is a folder, a device, ...
};

const std::error_category& PrivateFolderCategory();
std::error_code make_error_code(PrivateFolderErrc errc);

enum class Create : bool { No, Yes };

// Opens the folder `name` in the folder `parentFd` (AT_FDCWD: relative to the working folder)
// when it is a real folder (no link at the name), owned by this process's user and writable by
// nobody else. Missing, it is made 0700 when `create`, else the call fails with
// no_such_file_or_directory. The mode of a folder that is there already is never changed.
// Checked on what was opened, so a folder swapped in after the check is never used: every
// later open below goes through the descriptor returned.
UniqueFd OpenPrivateFolder(int parentFd, const char* name, Create create, std::error_code& error);

// Whether this process may make and remove entries in the open folder `fd` (its rights, a
// read-only file system).
[[nodiscard]] std::error_code MayWriteInto(int fd);

// Reads the regular file `name` of the open folder `folderFd` when this user owns it and
// nobody else may write it; a link at the name is not followed.
[[nodiscard]] std::error_code ReadOwnFile(int folderFd, const char* name, std::string& bytes);

} // namespace kfg::platform

template <>
struct std::is_error_code_enum<kfg::platform::PrivateFolderErrc> : std::true_type {};
