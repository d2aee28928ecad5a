#pragma once

#include <cerrno>
#include <system_error>

namespace kfg::platform {

// The errno of the system call that just failed, as an error code the callers compare with
// std::errc.
inline std::error_code LastError() {
    return {errno, std::generic_category()};
}

} // namespace kfg::platform
