#pragma once

#include <QString>
#include <filesystem>
#include <vector>

namespace kfg::dialogs {

// A path as text to show, its bytes decoded as the desktop decodes file names.
QString DecodedPath(const std::filesystem::path& path);

// Paths as the user reads them: decoded, the home folder as "~" (however it is spelt: as set,
// or as the canonical paths of a listing spell it).
class ShownPaths {
public:
    explicit ShownPaths(const std::filesystem::path& home);

    QString Shown(const std::filesystem::path& path) const;

private:
    std::vector<QString> homePrefixes_;
};

} // namespace kfg::dialogs
