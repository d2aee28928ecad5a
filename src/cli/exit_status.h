#pragma once

namespace kfg::cli {

// How kfg, kfgctl and kfg-shortcut end. Which one a refusal gets is each program's to say (its
// manual page gives it): kfg refuses every wrong folder as a usage error, the others as a
// refusal.
enum class ExitStatus : int {
    Done = 0,
    Refused = 1, // refused or failed, said why on standard error
    Usage = 2,   // wrong arguments
};

constexpr int ExitCode(ExitStatus status) {
    return static_cast<int>(status);
}

} // namespace kfg::cli
