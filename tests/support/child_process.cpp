#include "support/child_process.h"

#include <cerrno>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::test {

constexpr int kSwitchFailed = 0x7f; // the exit code of a child that could not switch ids

int RunInChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        ::_exit(body() & 0x7f);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) != kSwitchFailed ? WEXITSTATUS(status) : -1;
}

int RunAsUser(const UserIds& ids, const std::function<int()>& body) {
    return RunInChild([&] {
        if (::setgroups(ids.groups.size(), ids.groups.data()) != 0 ||
            ::setresgid(ids.gid, ids.gid, ids.gid) != 0 ||
            ::setresuid(ids.uid, ids.uid, ids.uid) != 0) {
            return kSwitchFailed;
        }
        return body();
    });
}

bool CanSwitchUsers() {
    // Root without the capability to change ids (some containers) cannot either.
    return ::geteuid() == 0 && RunAsUser({65534, 65534, {}}, [] { return 0; }) == 0;
}

} // namespace kfg::test
