// Every program of tests or benchmarks that saves settings links this file. A save keeps the
// file's earlier state below $XDG_STATE_HOME, and no test may write into the home of whoever
// runs it: the variable points to a folder of the program's own, removed when it ends.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class PrivateStateHome {
public:
    PrivateStateHome()
        : owner_(::getpid()) {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "kfg-state-XXXXXX").string();
        if (error || ::mkdtemp(pattern.data()) == nullptr) {
            std::fputs("cannot make a private XDG_STATE_HOME\n", stderr);
            std::_Exit(1); // better no tests than tests that write into the home
        }
        path_ = pattern;
        ::setenv("XDG_STATE_HOME", path_.c_str(), 1);
    }
    ~PrivateStateHome() {
        if (::getpid() == owner_) { // a forked child that exits leaves it to its parent
            std::error_code error;
            std::filesystem::remove_all(path_, error);
        }
    }
    PrivateStateHome(const PrivateStateHome&) = delete;
    PrivateStateHome& operator=(const PrivateStateHome&) = delete;

private:
    pid_t owner_;
    std::filesystem::path path_;
};

const PrivateStateHome kStateHome;

} // namespace
