#pragma once

#include <system_error>
#include <type_traits>

namespace kfg::platform {

// Why an operation on a file of the working folder failed, as far as the user is told. The
// words the user reads belong to the dialogs; this layer only tells the causes apart.
enum class FailureCause {
    FileMissing = 1,
    FileNotReadable,
    WineMissing,
    NotExecutable,
};

const std::error_category& FailureCauseCategory();
std::error_code make_error_code(FailureCause cause);

// A program that ran but did not end well; the value is its wait status.
const std::error_category& ExitStatusCategory();

} // namespace kfg::platform

template <>
struct std::is_error_code_enum<kfg::platform::FailureCause> : std::true_type {};
