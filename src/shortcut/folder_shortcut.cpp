#include "shortcut/folder_shortcut.h"

#include "platform/file_save.h"
#include "platform/name_lookup.h"
#include "platform/state_folder.h"
#include "platform/utf8.h"
#include "shortcut/desktop_entry.h"
#include "telvio/telvio_ini.h"

#include <string>

namespace kfg::shortcut {
namespace {

namespace fs = std::filesystem;

class ShortcutErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "kfg.shortcut"; }
    // Short names for logs and tests; the user reads the sentences of shortcut_texts.cpp.
    std::string message(int value) const override {
        switch (static_cast<ShortcutErrc>(value)) {
        case ShortcutErrc::NotAFolder:
            return "not a folder";
        case ShortcutErrc::NoTelvioIni:
            return "no Telvio.ini";
        case ShortcutErrc::PathNotUtf8:
            return "path not UTF-8";
        case ShortcutErrc::PathHasControl:
            return "control character in the path";
        case ShortcutErrc::NoDataHome:
            return "no absolute XDG_DATA_HOME or HOME";
        case ShortcutErrc::NoEntry:
            return "no menu entry";
        }
        return "unknown shortcut error";
    }
};

// Whether the folder holds "Telvio.ini", found the way KFG finds it when it runs there; the
// entry never reads it.
bool HoldsTelvioIni(const fs::path& folder, std::error_code& error) {
    if (telvio::HoldsTelvioIni(folder, {.mustRead = false, .linkCounts = true})) {
        return true;
    }
    // A folder that cannot be read hides the other spellings: say why rather than "no
    // Telvio.ini".
    fs::directory_iterator(folder, error);
    return false;
}

} // namespace

const std::error_category& ShortcutCategory() {
    static const ShortcutErrorCategory category;
    return category;
}

std::error_code make_error_code(ShortcutErrc errc) {
    return {static_cast<int>(errc), ShortcutCategory()};
}

std::error_code MakeFolderShortcut(std::string_view appId, const fs::path& folder,
                                   const fs::path& applications, fs::path& entry) {
    entry.clear();
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error) {
        return error;
    }
    if (!fs::is_directory(canonical, error)) {
        return error ? error : make_error_code(ShortcutErrc::NotAFolder);
    }
    const std::string& path = canonical.native();
    if (!platform::IsUtf8(path)) {
        return ShortcutErrc::PathNotUtf8;
    }
    if (HasUnwritableControl(path)) {
        return ShortcutErrc::PathHasControl;
    }
    if (!HoldsTelvioIni(canonical, error)) {
        return error ? error : make_error_code(ShortcutErrc::NoTelvioIni);
    }

    entry = applications / FolderEntryFileName(appId, path);
    fs::create_directories(applications, error);
    if (error) {
        return error;
    }
    return platform::SaveFile(entry, FolderEntry(appId, path));
}

std::error_code RemoveFolderShortcut(std::string_view appId, const fs::path& folder,
                                     const fs::path& applications, fs::path& entry) {
    entry.clear();
    std::error_code error;
    // A folder that is gone is named as it was: absolute, without "." and "..", and without
    // a closing slash.
    const fs::path absolute = fs::absolute(folder, error);
    if (error) {
        return error;
    }
    fs::path canonical = fs::weakly_canonical(absolute, error);
    if (error) {
        return error;
    }
    if (!canonical.has_filename() && canonical.has_relative_path()) {
        canonical = canonical.parent_path();
    }
    entry = applications / FolderEntryFileName(appId, canonical.native());
    if (!fs::remove(entry, error) && !error) {
        return ShortcutErrc::NoEntry;
    }
    return error;
}

} // namespace kfg::shortcut
