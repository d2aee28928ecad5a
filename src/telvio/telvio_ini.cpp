#include "telvio/telvio_ini.h"

#include "platform/name_lookup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::telvio {
namespace {

bool IsTelvioIniFile(int folderFd, const char* path, TelvioIniLook look) {
    struct stat info {};
    if (::fstatat(folderFd, path, &info, look.linkCounts ? 0 : AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode)) {
        return false;
    }
    return !look.mustRead || ::faccessat(folderFd, path, R_OK, AT_EACCESS) == 0;
}

} // namespace

bool IsTelvioIniEntry(int folderFd, const char* name, TelvioIniLook look) {
    return platform::EqualIgnoringAsciiCase(name, kViewerSettingsFile) &&
           IsTelvioIniFile(folderFd, name, look);
}

bool HoldsTelvioIni(const std::filesystem::path& folder, TelvioIniLook look) {
    const std::filesystem::path found =
        platform::FindIgnoringCase(folder, kViewerSettingsFile).path;
    return IsTelvioIniFile(AT_FDCWD, found.c_str(), look);
}

} // namespace kfg::telvio
