#pragma once

#include <optional>
#include <string_view>
#include <sys/types.h>

namespace kfg::platform {

// The process's umask, read without changing it: the "Umask:" line of /proc/self/status.
// Setting it to 0 and back, the only other way, would let a file that another thread creates
// in that moment get mode 0666; that way is left only for kernels without the line.
mode_t ProcessUmask();

// The mask of a /proc/<pid>/status text; nothing when it has no well-formed "Umask:" line.
std::optional<mode_t> UmaskOfStatus(std::string_view status);

} // namespace kfg::platform
