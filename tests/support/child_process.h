#pragma once

#include <functional>
#include <sys/types.h>
#include <vector>

namespace kfg::test {

// An unprivileged identity for the tests of ownership and permissions.
struct UserIds {
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> groups; // supplementary groups
};

// True when this process may switch to other ids (root that may change them): only then can
// the ownership tests act as an ordinary user. The build machines run the tests as root.
bool CanSwitchUsers();

// Runs `body` in a forked child and returns its exit code (what `body` returned), or -1 when
// the child died. For limits (setrlimit) that must not touch the test process.
int RunInChild(const std::function<int()>& body);

// Runs `body` in a forked child that has dropped to `ids` (setgroups, setresgid, setresuid)
// and returns the child's exit code: what `body` returned, or -1 when the switch failed or
// the child died.
int RunAsUser(const UserIds& ids, const std::function<int()>& body);

} // namespace kfg::test
