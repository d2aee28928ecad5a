#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace kfg::platform {

// The steps of a save, in the order they run. Tests hand a StepHook to PosixFileSystem to
// fail any one of them (as if the system call had failed with that error) or to change the
// folder at that moment.
enum class SaveStep {
    ResolveTarget,
    // Once per failed attempt at the folder's lock while another process holds it; an error
    // ends the wait at once, as when its time has run out.
    WaitForFolderLock,
    CreateUnnamedTemporary, // O_TMPFILE; unsupported file systems fall back to a named one
    CreateTemporary,        // ".<name>.kfg-XXXXXX"
    WriteContents,
    CopyPermissions, // owner, group, mode, extended attributes
    FlushContents,
    LinkTemporary, // gives the unnamed temporary file its name, right before the rename
    CloseTemporary,
    RenameOverTarget,
    // The in-place write, where a replacement cannot be made or cannot keep the file as it is.
    ReserveSpaceInPlace,
    WriteInPlace,
    TruncateInPlace,
    FlushInPlace,
};
using StepHook = std::function<std::error_code(SaveStep)>;

// What a save that succeeded left undone, for the diagnostics.
struct SaveNotes {
    // Another process held the folder's lock for longer than two seconds: the save went on
    // without removing the leftovers of killed saves.
    bool leftoversKept = false;
};

// Writes `contents` to `path`, creating the file when it is missing, and keeps the old file
// whole whatever fails.
//
// Normally the file is replaced: a temporary file in the same folder (unnamed until the last
// moment where the file system allows it) gets the contents, the old owner, group, mode and
// every extended attribute, is flushed and renamed over the old one. A symbolic link is
// followed and its final target saved.
//
// The file is written in place instead when the folder refuses the temporary file or the
// rename (a root-owned folder, a sticky shared folder), when the owner, the group or an
// attribute cannot be kept, or when the file has more than one hard link.
//
// While it saves, the call holds an flock on the folder and first removes the leftovers of
// earlier saves of this file that were killed (".<name>.kfg-*"). When another process holds
// that lock for longer than two seconds, the save goes on without lock and clean-up and
// says so in `notes`: a window must not freeze behind another program's lock.
[[nodiscard]] std::error_code SaveFile(const std::filesystem::path& path, std::string_view contents,
                                       const StepHook& hook = {}, SaveNotes* notes = nullptr);

// Follows a chain of symbolic links to the path a write must save; a dangling link yields
// the path it points to, so the write creates the target. Loops fail with
// errc::too_many_symbolic_link_levels.
[[nodiscard]] std::error_code ResolveWriteTarget(const std::filesystem::path& path,
                                                 std::filesystem::path& target);

} // namespace kfg::platform
