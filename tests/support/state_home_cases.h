#pragma once

namespace kfg::test {

// XDG_STATE_HOME and HOME as the base-directory rules read them, and the state folder they
// give; the history and the list of folders KFG ran in share it.
struct StateHomeCase {
    const char* xdgStateHome;
    const char* home;
    const char* expected; // nullptr: no state folder
};

inline constexpr StateHomeCase kStateHomeCases[] = {
    {"/x/state", "/home/u", "/x/state"},
    {"state", "/home/u", "/home/u/.local/state"}, // relative: ignored, as the rules say
    {"", "/home/u", "/home/u/.local/state"},
    {nullptr, "/home/u", "/home/u/.local/state"},
    {nullptr, "home", nullptr},
    {nullptr, nullptr, nullptr},
};

} // namespace kfg::test
