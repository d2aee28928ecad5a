#pragma once

#include <system_error>
#include <type_traits>

namespace kfg::settings {

// Why the profile store refused or failed a change. Failures are never shown to the user;
// they reach the failure sink and the caller's std::error_code.
enum class ProfileErrc {
    NameHasLineBreak = 1, // a section, key or value with CR or LF would split its line
    KeyHasEquals,         // the line would read back as another key
    KeyLooksLikeHeader,   // a key starting with "[" or ";" would read back as header/comment
    SectionHasBracket,    // "]" would end the header early
    NotRegularFile,       // a folder or device stands at the path
    Unreadable,           // the file exists but cannot be read, so it cannot be edited safely
    ReadOnly,             // the file carries no write permission for its owner
    Utf16File,            // editing UTF-16 as bytes would corrupt it
};

const std::error_category& ProfileCategory();
std::error_code make_error_code(ProfileErrc errc);

} // namespace kfg::settings

template <>
struct std::is_error_code_enum<kfg::settings::ProfileErrc> : std::true_type {};
