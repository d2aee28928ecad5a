#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Every test that touches files works inside one.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Whole-file helpers for byte-exact checks.
std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
// Every entry below `folder` with its bytes (folders with none), to see that nothing changed.
std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder);
// The names directly in `folder`, sorted.
std::vector<std::string> EntryNames(const std::filesystem::path& folder);

} // namespace kfg::test
