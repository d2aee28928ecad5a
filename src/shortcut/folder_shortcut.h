#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace kfg::shortcut {

// Why a folder gets no menu entry, or why none could be removed.
enum class ShortcutErrc {
    NotAFolder = 1, // the path names something other than a folder
    NoTelvioIni,    // no "Telvio.ini" in the folder, in any letter case
    PathNotUtf8,    // a menu entry holds UTF-8 only
    PathHasControl, // a control character that no escape sequence can carry
    NoDataHome,     // neither XDG_DATA_HOME nor HOME is an absolute path
    NoEntry,        // there is no entry to remove
};

const std::error_category& ShortcutCategory();
std::error_code make_error_code(ShortcutErrc errc);

// Makes the menu entry that starts KFG in `folder`, in the folder `applications`, or replaces
// the one made earlier for the same folder. `entry` receives the entry's path once it is known,
// so a failure with `entry` set happened while writing it.
[[nodiscard]] std::error_code MakeFolderShortcut(std::string_view appId,
                                                 const std::filesystem::path& folder,
                                                 const std::filesystem::path& applications,
                                                 std::filesystem::path& entry);

// Removes the entry made for `folder`; the folder itself may be gone by now.
[[nodiscard]] std::error_code RemoveFolderShortcut(std::string_view appId,
                                                   const std::filesystem::path& folder,
                                                   const std::filesystem::path& applications,
                                                   std::filesystem::path& entry);

} // namespace kfg::shortcut

template <>
struct std::is_error_code_enum<kfg::shortcut::ShortcutErrc> : std::true_type {};
