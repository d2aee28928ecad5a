#include "unique_fd.h"

#include <unistd.h>

namespace kfg::platform {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    close();
}

bool UniqueFd::close() {
    if (fd_ < 0) {
        return true;
    }
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0;
}

} // namespace kfg::platform
