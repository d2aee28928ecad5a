#include "platform/process_umask.h"

#include "platform/descriptor_reads.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

std::string ReadStatus() {
    std::string text;
    UniqueFd fd(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return text;
    }
    (void)ReadToEnd(fd.get(), text); // a cut status lacks the line at worst: the fallback reads it
    return text;
}

} // namespace

std::optional<mode_t> UmaskOfStatus(std::string_view status) {
    constexpr std::string_view kKey = "Umask:";
    std::size_t at = 0;
    while (at < status.size()) {
        const std::size_t end = std::min(status.find('\n', at), status.size());
        std::string_view line = status.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(kKey)) {
            continue;
        }
        line.remove_prefix(kKey.size());
        while (!line.empty() && (line.front() == '\t' || line.front() == ' ')) {
            line.remove_prefix(1);
        }
        if (line.empty() || line.size() > 4) {
            return std::nullopt;
        }
        mode_t mask = 0;
        for (const char digit : line) {
            if (digit < '0' || digit > '7') {
                return std::nullopt;
            }
            mask = static_cast<mode_t>(mask * 8 + static_cast<mode_t>(digit - '0'));
        }
        return mask;
    }
    return std::nullopt;
}

mode_t ProcessUmask() {
    if (const std::optional<mode_t> mask = UmaskOfStatus(ReadStatus())) {
        return *mask;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace kfg::platform
