#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::platform {

// Where a name of the working folder leads when letter case is ignored, as wine finds the
// files of a Windows program copied from a FAT medium ("SETUP.INI" for "Setup.ini").
struct NameMatch {
    // The entry to use: the exact name when it exists, else the first entry in byte order that
    // matches ignoring ASCII case, else folder/name (a new file gets the caller's spelling).
    std::filesystem::path path;
    // When the exact name is missing: every entry that matches ignoring case, in byte order.
    // More than one means the choice was ambiguous; callers say so in their diagnostics.
    std::vector<std::string> candidates;

    bool Ambiguous() const { return candidates.size() > 1; }
};

// A folder's entry names read once, for looking up many names (the 99 index files, say)
// without reading the folder each time. A folder that cannot be read has no entries.
class FolderEntries {
public:
    explicit FolderEntries(const std::filesystem::path& folder);

    NameMatch Find(std::string_view name) const;
    // False only when the folder was read and has no entry of that name in any letter case;
    // one that could not be read may hold anything.
    bool MayHold(std::string_view name) const;

private:
    std::filesystem::path folder_;
    bool read_ = false;              // before names_, which sets it
    std::vector<std::string> names_; // byte order
};

// Looks `name` up in `folder`: the exact name first (any kind of entry, a dangling link
// included), else ignoring ASCII letter case. Reads the folder only when the exact name is
// missing.
NameMatch FindIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// True when the two names are equal once ASCII letters are folded to one case; other bytes
// (umlauts in any encoding) must be equal.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace kfg::platform
