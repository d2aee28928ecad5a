#pragma once

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

// The steps of an atomic replacement, in the order they run. Tests hand a StepHook to
// PosixFileSystem to fail any one of them and prove the old file stays whole.
enum class ReplaceStep {
    ResolveTarget,
    CreateTemporary,
    WriteContents,
    CopyPermissions,
    FlushContents,
    CloseTemporary,
    RenameOverTarget,
};
using StepHook = std::function<std::error_code(ReplaceStep)>;

// The file operations the settings layer needs, behind an interface so that tests can make
// any of them fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileState Probe(const std::filesystem::path& path) const = 0;
    // Reads the whole file; a path that is not a regular file fails with
    // errc::no_such_file_or_directory.
    virtual std::error_code ReadAll(const std::filesystem::path& path,
                                    std::string& contents) const = 0;
    // Replaces (or creates) the file with `contents` atomically: a temporary file in the
    // same folder, flushed, renamed over the old one. The old permissions are kept; a symbolic
    // link is followed and its final target replaced. On failure the old file is untouched.
    virtual std::error_code ReplaceAtomically(const std::filesystem::path& path,
                                              std::string_view contents) = 0;
};

class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem() = default;
    explicit PosixFileSystem(StepHook hook)
        : hook_(std::move(hook)) {}

    FileState Probe(const std::filesystem::path& path) const override;
    std::error_code ReadAll(const std::filesystem::path& path,
                            std::string& contents) const override;
    std::error_code ReplaceAtomically(const std::filesystem::path& path,
                                      std::string_view contents) override;

private:
    std::error_code RunHook(ReplaceStep step) const;

    StepHook hook_;
};

// Opens `path` for reading when it is a regular file; a folder, FIFO or device with the name
// counts as missing (errc::no_such_file_or_directory). Opening never blocks on a FIFO, and the
// descriptor is close-on-exec.
UniqueFd OpenRegularFile(const std::filesystem::path& path, std::error_code& error);

// True when `path` is a regular file this process can open for reading (the existence test
// of files that are only looked for, never read).
bool CanReadRegularFile(const std::filesystem::path& path);

// Follows a chain of symbolic links to the path a write must replace; a dangling link yields
// the path it points to, so the write creates the target. Loops fail with
// errc::too_many_symbolic_link_levels.
std::error_code ResolveWriteTarget(const std::filesystem::path& path,
                                   std::filesystem::path& target);

} // namespace kfg::platform
