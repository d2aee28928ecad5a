#pragma once

#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "platform/save_history.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kfg::settings {

class ProfileDocument;

// A failed change, handed to the sink the program connects to its diagnostics. `file` is the
// file as it is spelled on disk ("TELVIO.INI" when that is what stands in the folder).
struct ProfileFailure {
    std::filesystem::path file;
    std::string operation; // e.g. "write [Telvio] Farbe", "save"
    // platform::SortWriteFailure() tells a full disk from a missing permission.
    std::error_code error;
    // Nothing failed: a choice worth logging (several files matched a name ignoring case) or a
    // clean-up left undone (another process held the folder's lock).
    bool notice = false;
};
using ProfileFailureSink = std::function<void(const ProfileFailure&)>;

// Reads and edits INI files the way the viewer's Windows profile functions do: names compare
// case-insensitively in Windows-1252, a write edits only the line it touches, and every
// change reaches the disk whole (platform::SaveFile). Texts are Windows-1252 bytes.
//
// A file name is looked up in its folder without regard to ASCII letter case, as the viewer
// under wine finds its files: the exact name first, else the entry that matches ignoring case
// (several: the first in byte order, reported as a notice). A new file gets the name given.
//
// Files are parsed once and kept; each call first checks size, modification time and inode
// and reads the file again when another program changed it.
//
// Outside a Gather() scope every change is on disk when the call returns. Inside one, changes
// collect in memory (reads see them at once) and reach the disk, one replacement per file, when
// the outermost scope ends or Flush() is called. A file that changed on disk meanwhile is read
// again and the gathered changes are applied to the fresh copy, so another program's edits
// are never overwritten.
//
// Before a save changes a file that exists, its bytes go to `history`; a store made without
// one keeps none. A state that cannot be kept is reported as a notice and the save goes on.
class ProfileStore {
public:
    explicit ProfileStore(ProfileFailureSink sink = {},
                          std::shared_ptr<platform::FileSystem> fileSystem = {},
                          std::shared_ptr<platform::SaveHistory> history = {});
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // Where this store's saves keep the states they replace; nullptr when they keep none.
    platform::SaveHistory* History() const { return history_.get(); }

    // What `file` holds on disk now (read again when another program changed it), without
    // changes gathered and not yet written; empty when it is missing. Fails when something
    // stands there that cannot be read as a file.
    [[nodiscard]] std::error_code ReadBytes(const std::filesystem::path& file, std::string& bytes);

    // At most bufferSize - 1 characters of the value (size 0 gives ""). The default, without
    // its trailing spaces, stands in when the file, the section or the key is missing.
    std::string GetString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue,
                          std::size_t bufferSize);

    // The value as an unsigned 32-bit number (sign, 0x/0o/0b prefixes, wrap-around); the
    // default when the key is missing or empty. -1 in the file reads as 4294967295.
    std::uint32_t GetInt(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, int defaultValue);

    // Whether the file holds the section (a header of that name, letter case aside).
    bool HasSection(const std::filesystem::path& file, std::string_view section);

    // Whether a regular file stands at `file` now (letter case aside; read again when another
    // program changed it).
    bool HasFile(const std::filesystem::path& file);

    // Sets section/key to value, creating file, section and key as needed.
    [[nodiscard]] std::error_code WriteString(const std::filesystem::path& file,
                                              std::string_view section, std::string_view key,
                                              std::string_view value);
    // Removes the first matching key line; never creates anything.
    [[nodiscard]] std::error_code DeleteKey(const std::filesystem::path& file,
                                            std::string_view section, std::string_view key);
    // Removes the first matching section's header and non-comment lines; comments and blank
    // lines stay.
    [[nodiscard]] std::error_code DeleteSection(const std::filesystem::path& file,
                                                std::string_view section);

    // Replaces the whole file with `bytes` as a save does (its earlier state kept first);
    // changes gathered for it and not yet written are dropped.
    [[nodiscard]] std::error_code WriteAll(const std::filesystem::path& file,
                                           std::string_view bytes);

    // Writes everything gathered so far. Returns the first failure.
    [[nodiscard]] std::error_code Flush();

    // Gathers changes until the outermost scope ends, then flushes.
    class GatherScope {
    public:
        explicit GatherScope(ProfileStore& store);
        ~GatherScope();
        GatherScope(const GatherScope&) = delete;
        GatherScope& operator=(const GatherScope&) = delete;

    private:
        ProfileStore& store_;
    };
    [[nodiscard]] GatherScope Gather() { return GatherScope(*this); }

    // Keeps every failure reported while it lives (notices aside), in order, besides handing
    // it to the sink: a command collects what it could not save and tells its user once.
    class FailureCollector {
    public:
        explicit FailureCollector(ProfileStore& store);
        ~FailureCollector();
        FailureCollector(const FailureCollector&) = delete;
        FailureCollector& operator=(const FailureCollector&) = delete;

        const std::vector<ProfileFailure>& Failures() const { return failures_; }
        // The first failure of each file, in the order the files first failed: a save into a
        // read-only file fails once per key, and a message names the file once.
        std::vector<ProfileFailure> FirstPerFile() const;

    private:
        friend class ProfileStore;
        ProfileStore& store_;
        std::vector<ProfileFailure> failures_;
    };
    [[nodiscard]] FailureCollector CollectFailures() { return FailureCollector(*this); }

private:
    struct CachedFile;
    enum class Change { Write, DeleteKey, DeleteSection };
    struct PendingChange {
        Change kind;
        std::string section;
        std::string key;
        std::string value;
    };

    static void ApplyChange(CachedFile& cached, const PendingChange& change);
    [[nodiscard]] static std::error_code EditRefusal(const CachedFile& cached);
    void ReportAmbiguity(const std::filesystem::path& file, const platform::NameMatch& match,
                         CachedFile& cached);
    CachedFile& Refresh(const std::filesystem::path& file);
    [[nodiscard]] std::error_code Apply(const std::filesystem::path& file, PendingChange change);
    [[nodiscard]] std::error_code FlushFile(const std::filesystem::path& file, CachedFile& cached);
    [[nodiscard]] std::error_code SaveBytes(const std::filesystem::path& file, CachedFile& cached,
                                            std::string bytes);
    void KeepEarlierState(const std::filesystem::path& file, std::string_view bytes);
    void Report(const std::filesystem::path& file, std::string operation, std::error_code error,
                bool notice = false);

    ProfileFailureSink sink_;
    std::shared_ptr<platform::FileSystem> fileSystem_;
    std::shared_ptr<platform::SaveHistory> history_;
    std::map<std::filesystem::path, std::unique_ptr<CachedFile>> files_;
    int gatherDepth_ = 0;
    std::vector<FailureCollector*> collectors_;
};

} // namespace kfg::settings
