#include "platform/name_lookup.h"

#include "platform/descriptor_reads.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace kfg::platform {
namespace {

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::vector<std::string> ReadNames(const std::filesystem::path& folder, bool& read) {
    std::error_code error;
    std::vector<std::string> names =
        FolderEntryNames(AT_FDCWD, folder.empty() ? "." : folder.c_str(), error);
    read = !error;
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
    , names_(ReadNames(folder, read_)) {}

bool FolderEntries::MayHold(std::string_view name) const {
    return !read_ || std::any_of(names_.begin(), names_.end(), [name](const std::string& entry) {
        return EqualIgnoringAsciiCase(entry, name);
    });
}

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
