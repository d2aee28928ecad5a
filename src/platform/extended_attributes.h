#pragma once

#include <filesystem>
#include <system_error>

namespace kfg::platform {

// Gives the open file `to` exactly the extended attributes of the file at `from` (ACLs are
// the system.posix_acl_* attributes): copies each one and removes any the new file got from
// its folder (a default ACL, say) that the old file does not have. A file system without
// attributes has nothing to keep.
[[nodiscard]] std::error_code CopyExtendedAttributes(const std::filesystem::path& from, int to);

} // namespace kfg::platform
