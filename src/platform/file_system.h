#pragma once

#include "platform/file_save.h"
#include "platform/unique_fd.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

namespace kfg::platform {

// What a look at a path tells. Only regular files (after following symbolic links) count as
// present: a folder or a device with the name counts as missing.
struct FileState {
    bool exists = false;  // something, of any kind, stands at the path
    bool present = false; // it is a regular file
    std::uint32_t mode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    bool operator==(const FileState&) const = default;
};

// The file operations the settings layer needs, behind an interface so that tests can make
// any of them fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileState Probe(const std::filesystem::path& path) const = 0;
    // This user may write the file: faccessat with the effective ids (a read-only mount or
    // another owner's 0644 says no, root's rights say yes).
    virtual bool MayWrite(const std::filesystem::path& path) const = 0;
    // Reads the whole file; a path that is not a regular file fails with
    // errc::no_such_file_or_directory.
    [[nodiscard]] virtual std::error_code ReadAll(const std::filesystem::path& path,
                                                  std::string& contents) const = 0;
    // Writes (or creates) the file with `contents` as SaveFile() does: replaced where that
    // keeps the file as it is, else in place. A failure leaves the old file whole, except
    // an in-place write that fails after its growth (a write error of the disk itself).
    // `notes` tells what a save that succeeded left undone.
    [[nodiscard]] virtual std::error_code Save(const std::filesystem::path& path,
                                               std::string_view contents, SaveNotes& notes) = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem() = default;
    explicit PosixFileSystem(StepHook hook)
        : hook_(std::move(hook)) {}

    FileState Probe(const std::filesystem::path& path) const override;
    bool MayWrite(const std::filesystem::path& path) const override;
    [[nodiscard]] std::error_code ReadAll(const std::filesystem::path& path,
                                          std::string& contents) const override;
    [[nodiscard]] std::error_code Save(const std::filesystem::path& path, std::string_view contents,
                                       SaveNotes& notes) override;

private:
    StepHook hook_;
};

// Opens `path` for reading when it is a regular file; a folder, FIFO or device with the name
// counts as missing (errc::no_such_file_or_directory). Opening never blocks on a FIFO, and the
// descriptor is close-on-exec.
[[nodiscard]] UniqueFd OpenRegularFile(const std::filesystem::path& path, std::error_code& error);

// True when `path` is a regular file this process can open for reading (the existence test
// of files that are only looked for, never read).
bool CanReadRegularFile(const std::filesystem::path& path);

} // namespace kfg::platform
