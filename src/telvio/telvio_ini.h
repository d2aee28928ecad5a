#pragma once

#include <filesystem>

namespace kfg::telvio {

inline constexpr const char* kViewerSettingsFile = "Telvio.ini";

// How much of "Telvio.ini" a look for it asks for, where the places that look differ on purpose.
struct TelvioIniLook {
    // kfg-shortcut makes a menu entry and never reads the file: being there is enough.
    bool mustRead = true;
    // The search of the wine prefixes follows no link below drive_c.
    bool linkCounts = true;
};

// Whether `folder` holds "Telvio.ini" as KFG started there finds it: a regular file of that
// name, the exact spelling first, else the first in byte order that matches ignoring letter
// case (as the viewer under wine finds it); readable unless `look` says otherwise. kfg,
// kfgctl, the folder chooser, the recent list and kfg-shortcut all decide with it.
bool HoldsTelvioIni(const std::filesystem::path& folder, TelvioIniLook look = {});

// Whether the entry `name` of the open folder `folderFd`, met in a listing of it, is such a
// file: the name in any letter case, a regular file by `look`'s rules.
bool IsTelvioIniEntry(int folderFd, const char* name, TelvioIniLook look = {});

} // namespace kfg::telvio
