#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

namespace kfg::places {

// In $HOME: wine's own prefix, and the folder that holds one prefix per sub-folder.
inline constexpr std::string_view kHomeWinePrefix = ".wine";
inline constexpr std::string_view kWinePrefixCollection = ".local/share/wineprefixes";

// Where the user's wine prefixes are looked for.
struct WinePrefixPlaces {
    std::optional<std::filesystem::path> winePrefix; // $WINEPREFIX when it is absolute
    std::optional<std::filesystem::path> home;       // $HOME when it is absolute

    // The places as the environment names them; relative or empty values are ignored.
    static WinePrefixPlaces FromEnvironment(const char* winePrefix, const char* home);
    // The folder that holds one prefix per sub-folder: ~/.local/share/wineprefixes.
    std::optional<std::filesystem::path> PrefixCollection() const;
};

// The prefixes to search, each once by canonical path, in this order: $WINEPREFIX, ~/.wine,
// then the folders of ~/.local/share/wineprefixes by name. Prefixes that are symbolic links
// are followed; what does not exist is left out.
std::vector<std::filesystem::path> ListWinePrefixes(const WinePrefixPlaces& places);

// Bounds of the search in one prefix. The entry budget keeps a huge drive_c from freezing
// the search, and makes the result the same on every run of an unchanged tree.
struct PrefixSearchLimits {
    std::size_t entriesPerPrefix = 20000; // folder entries read, "." and ".." not counted
    int levelsBelowDriveC = 3;            // drive_c itself is level 0
};

// The folders below `prefix`/drive_c that hold "Telvio.ini" in any letter case as a readable
// regular file, as canonical paths. The prefix and its drive_c are followed even when they are
// symbolic links; no link below drive_c is followed (a prefix links its users' folders back
// into $HOME, and dosdevices reaches the whole file system); drive_c/windows is skipped;
// unreadable folders are skipped. Folders are read level by level, each level's in byte order
// of their names, so the shallow folders where Telvio is installed come first.
std::vector<std::filesystem::path> FindTelvioFolders(const std::filesystem::path& prefix,
                                                     const PrefixSearchLimits& limits = {},
                                                     std::stop_token stop = {});

// FindTelvioFolders over every prefix, each folder once, in the prefixes' order. Stops early,
// with what it found so far, when `stop` is requested.
std::vector<std::filesystem::path>
FindTelvioFoldersInPrefixes(const std::vector<std::filesystem::path>& prefixes,
                            const PrefixSearchLimits& limits = {}, std::stop_token stop = {});

} // namespace kfg::places
