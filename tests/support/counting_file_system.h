#pragma once

#include "platform/file_system.h"

#include <string>
#include <system_error>

namespace kfg::test {

// The real file system, counting what reaches the disk (reads, and saves as `replacements`)
// and failing reads on demand; a step hook makes any step of a save fail.
class CountingFileSystem final : public platform::FileSystem {
public:
    explicit CountingFileSystem(platform::StepHook hook = {})
        : real_(std::move(hook)) {}

    platform::FileState Probe(const std::filesystem::path& path) const override {
        return real_.Probe(path);
    }
    bool MayWrite(const std::filesystem::path& path) const override { return real_.MayWrite(path); }
    [[nodiscard]] std::error_code ReadAll(const std::filesystem::path& path,
                                          std::string& contents) const override {
        ++reads;
        if (failReads) {
            return std::make_error_code(std::errc::permission_denied);
        }
        return real_.ReadAll(path, contents);
    }
    [[nodiscard]] std::error_code Save(const std::filesystem::path& path, std::string_view contents,
                                       platform::SaveNotes& notes) override {
        ++replacements;
        return real_.Save(path, contents, notes);
    }

    mutable int reads = 0;
    int replacements = 0;
    bool failReads = false;

private:
    platform::PosixFileSystem real_;
};

} // namespace kfg::test
