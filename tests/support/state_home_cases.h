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
    {.xdgStateHome = "/x/state", .home = "/home/u", .expected = "/x/state"},
    // Relative: ignored, as the rules say.
    {.xdgStateHome = "state", .home = "/home/u", .expected = "/home/u/.local/state"},
    {.xdgStateHome = "", .home = "/home/u", .expected = "/home/u/.local/state"},
    {.xdgStateHome = nullptr, .home = "/home/u", .expected = "/home/u/.local/state"},
    {.xdgStateHome = nullptr, .home = "home", .expected = nullptr},
    {.xdgStateHome = nullptr, .home = nullptr, .expected = nullptr},
};

} // namespace kfg::test
