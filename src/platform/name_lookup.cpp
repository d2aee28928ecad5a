#include "platform/name_lookup.h"

#include "platform/unique_fd.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace kfg::platform {
namespace {

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::vector<std::string> ReadNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return names;
    }
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        UniqueFd owned(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

FolderEntries::FolderEntries(const std::filesystem::path& folder)
    : folder_(folder)
    , names_(ReadNames(folder)) {}

NameMatch FolderEntries::Find(std::string_view name) const {
    NameMatch match;
    if (std::binary_search(names_.begin(), names_.end(), name)) {
        match.path = folder_ / name;
        return match;
    }
    for (const std::string& entry : names_) {
        if (EqualIgnoringAsciiCase(entry, name)) {
            match.candidates.push_back(entry);
        }
    }
    match.path = folder_ / (match.candidates.empty() ? std::string(name) : match.candidates[0]);
    return match;
}

NameMatch FindIgnoringCase(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path exact = folder / name;
    struct stat info {};
    if (::lstat(exact.c_str(), &info) == 0) {
        return {exact, {}};
    }
    return FolderEntries(folder).Find(name);
}

} // namespace kfg::platform
