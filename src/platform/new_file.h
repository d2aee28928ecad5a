#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace kfg::platform {

// What happens to an entry that already has the name.
enum class ExistingName { Fails, IsReplaced };

// Prefix of the named temporary files WriteNewFileAt leaves behind when it is killed; their
// owners remove them (those older than an hour, say).
inline constexpr std::string_view kNewFileTemporaryPrefix = ".new-";

// Gives `name` in the open folder `folderFd` a new file, mode 0600, holding `bytes`: whole
// before the name appears, or nothing under that name. With ExistingName::Fails an entry of
// that name stays as it is and the call fails with errc::file_exists; with IsReplaced the
// entry itself is replaced (a link at the name is replaced, never written through).
// Not flushed: callers that need the bytes on the disk before the name say so themselves.
[[nodiscard]] std::error_code WriteNewFileAt(int folderFd, const std::string& name,
                                             std::string_view bytes, ExistingName existing);

} // namespace kfg::platform
