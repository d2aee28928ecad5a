#pragma once

#include <system_error>
#include <type_traits>

namespace kfg::platform {

// Why an operation on a file of the working folder failed, as far as the user is told. The
// words the user reads belong to the dialogs; this layer only tells the causes apart. Starting
// a program reports these codes itself; a failed write is sorted into them by
// SortWriteFailure().
enum class FailureCause {
    FileMissing = 1,
    FileNotReadable,
    WineMissing,
    NotExecutable,
    DiskFull,          // no space left, the quota or the file size limit reached
    NoWritePermission, // a read-only file, folder or mount; not allowed
};

const std::error_category& FailureCauseCategory();
std::error_code make_error_code(FailureCause cause);

// The cause a failed write stands for: a full disk (ENOSPC, EDQUOT, EFBIG), a refused write
// (EACCES, EPERM, EROFS), or the cause another layer's error names as its default condition
// (a read-only file of the profile store, say). Any other error comes back as it is, to be
// told in its own words. Only for writes: a start refused with EACCES is no missing write
// permission.
[[nodiscard]] std::error_code SortWriteFailure(std::error_code error);

// A program that ran but did not end well; the value is its wait status.
const std::error_category& ExitStatusCategory();

} // namespace kfg::platform

template <>
struct std::is_error_code_enum<kfg::platform::FailureCause> : std::true_type {};
