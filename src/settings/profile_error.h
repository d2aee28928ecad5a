#pragma once

#include <system_error>
#include <type_traits>

namespace kfg::settings {

// Why the profile store refused or failed a change. Failures reach the failure sink, any
// FailureCollector and the caller's std::error_code; the system's own errors (errno) come as
// std::generic_category codes. ReadOnly and Unreadable name the platform's cause the user is
// told (no write permission, file not readable) as their default condition, so
// platform::SortWriteFailure() sorts them with the system's errors.
enum class ProfileErrc {
    NameHasLineBreak = 1, // a section, key or value with CR or LF would split its line
    KeyHasEquals,         // the line would read back as another key
    KeyLooksLikeHeader,   // a key starting with "[" or ";" would read back as header/comment
    SectionHasBracket,    // "]" would end the header early
    NotRegularFile,       // a folder or device stands at the path
    Unreadable,           // the file exists but cannot be read, so it cannot be edited safely
    ReadOnly,             // no write permission for its owner, or this user may not write it
    Utf16File,            // editing UTF-16 as bytes would corrupt it
    SeveralNamesMatch,    // a notice: several files match a name ignoring letter case
    FolderLockHeld,       // a notice: saved without the clean-up another process's lock kept off
};

const std::error_category& ProfileCategory();
std::error_code make_error_code(ProfileErrc errc);

} // namespace kfg::settings

template <>
struct std::is_error_code_enum<kfg::settings::ProfileErrc> : std::true_type {};
