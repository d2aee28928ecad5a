#include "settings/profile_store.h"

#include "settings/profile_document.h"
#include "settings/profile_error.h"
#include "settings/profile_reads.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kfg::settings {
namespace {

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// Refuses what would corrupt the file if written: a broken line, a key that reads back as
// another key, a header or a comment, a header cut short.
std::error_code CheckWritable(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        return ProfileErrc::NameHasLineBreak;
    }
    if (section.find(']') != section.npos) {
        return ProfileErrc::SectionHasBracket;
    }
    if (key.find('=') != key.npos) {
        return ProfileErrc::KeyHasEquals;
    }
    const std::size_t first = key.find_first_not_of(" \t\v");
    if (first != key.npos && (key[first] == '[' || key[first] == ';')) {
        return ProfileErrc::KeyLooksLikeHeader;
    }
    return {};
}

} // namespace

struct ProfileStore::CachedFile {
    bool loaded = false;
    std::filesystem::path onDisk; // the name as it stands in the folder (letter case)
    std::filesystem::path ambiguityReported;
    platform::FileState disk;  // as probed when the bytes below were read
    bool writable = true;      // this user may write it, as last asked
    std::error_code readError; // the file exists but could not be read
    std::string diskBytes;     // what the disk held, to skip writes that change nothing
    ProfileDocument document;  // disk contents with the pending changes applied
    bool createdByPending = false;
    std::vector<PendingChange> pending;
};

void ProfileStore::ApplyChange(CachedFile& cached, const PendingChange& change) {
    switch (change.kind) {
    case Change::Write:
        cached.document.SetValue(change.section, change.key, change.value);
        cached.createdByPending = true;
        break;
    case Change::DeleteKey:
        cached.document.DeleteKey(change.section, change.key);
        break;
    case Change::DeleteSection:
        cached.document.DeleteSection(change.section);
        break;
    }
}

std::error_code ProfileStore::EditRefusal(const CachedFile& cached) {
    if (cached.disk.exists && !cached.disk.present) {
        return ProfileErrc::NotRegularFile;
    }
    if (cached.readError) {
        return ProfileErrc::Unreadable;
    }
    if (cached.document.IsUtf16()) {
        return ProfileErrc::Utf16File;
    }
    // Like a read-only attribute, the owner's write bit is honoured even by root, who could
    // override it; and a file this user may not write is never replaced behind its owner.
    if (cached.disk.present && ((cached.disk.mode & 0200) == 0 || !cached.writable)) {
        return ProfileErrc::ReadOnly;
    }
    return {};
}

ProfileStore::ProfileStore(ProfileFailureSink sink,
                           std::shared_ptr<platform::FileSystem> fileSystem,
                           std::shared_ptr<platform::SaveHistory> history)
    : sink_(std::move(sink))
    , fileSystem_(fileSystem ? std::move(fileSystem)
                             : std::make_shared<platform::PosixFileSystem>())
    , history_(std::move(history)) {}

ProfileStore::~ProfileStore() {
    (void)Flush(); // every failure went to the sink and the collectors on its way
}

ProfileStore::GatherScope::GatherScope(ProfileStore& store)
    : store_(store) {
    ++store_.gatherDepth_;
}

ProfileStore::GatherScope::~GatherScope() {
    if (--store_.gatherDepth_ == 0) {
        (void)store_.Flush(); // reported to the sink and the collectors
    }
}

ProfileStore::FailureCollector::FailureCollector(ProfileStore& store)
    : store_(store) {
    store_.collectors_.push_back(this);
}

ProfileStore::FailureCollector::~FailureCollector() {
    std::erase(store_.collectors_, this);
}

std::vector<ProfileFailure> ProfileStore::FailureCollector::FirstPerFile() const {
    std::vector<ProfileFailure> first;
    for (const ProfileFailure& failure : failures_) {
        if (std::none_of(first.begin(), first.end(),
                         [&](const ProfileFailure& known) { return known.file == failure.file; })) {
            first.push_back(failure);
        }
    }
    return first;
}

void ProfileStore::ReportAmbiguity(const std::filesystem::path& file,
                                   const platform::NameMatch& match, CachedFile& cached) {
    if (!match.Ambiguous() || cached.ambiguityReported == match.path) {
        return; // once per choice, not at every read
    }
    cached.ambiguityReported = match.path;
    std::string operation = "look up " + file.filename().string() + ": several files match (";
    for (std::size_t i = 0; i < match.candidates.size(); ++i) {
        operation += (i == 0 ? "" : ", ") + match.candidates[i];
    }
    operation += "), using " + match.candidates.front();
    Report(match.path, std::move(operation), ProfileErrc::SeveralNamesMatch, true);
}

ProfileStore::CachedFile& ProfileStore::Refresh(const std::filesystem::path& file) {
    std::unique_ptr<CachedFile>& slot = files_[file];
    if (!slot) {
        slot = std::make_unique<CachedFile>();
    }
    CachedFile& cached = *slot;
    std::filesystem::path onDisk = file;
    platform::FileState now = fileSystem_->Probe(file);
    if (!now.exists) {
        // Not there in this spelling: the folder may hold it in other letters.
        const platform::NameMatch match =
            platform::FindIgnoringCase(file.parent_path(), file.filename().string());
        ReportAmbiguity(file, match, cached);
        if (match.path != file) {
            onDisk = match.path;
            now = fileSystem_->Probe(onDisk);
        }
    }
    // A failed read is tried again each time: the cause may have passed.
    if (cached.loaded && now == cached.disk && onDisk == cached.onDisk && !cached.readError) {
        return cached;
    }
    cached.loaded = true;
    cached.onDisk = onDisk;
    cached.disk = now;
    cached.writable = now.present && fileSystem_->MayWrite(onDisk);
    cached.readError.clear();
    cached.diskBytes.clear();
    if (now.present) {
        cached.readError = fileSystem_->ReadAll(onDisk, cached.diskBytes);
        if (cached.readError) {
            cached.diskBytes.clear();
        }
    }
    cached.document = ProfileDocument::Parse(cached.diskBytes);
    // Gathered changes are applied again to what the disk holds now, so another program's
    // edits made in between survive.
    cached.createdByPending = false;
    for (const PendingChange& change : cached.pending) {
        ApplyChange(cached, change);
    }
    return cached;
}

std::string ProfileStore::GetString(const std::filesystem::path& file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {}; // not even a read of the file
    }
    return ReadProfileString(Refresh(file).document, section, key, defaultValue, bufferSize);
}

std::uint32_t ProfileStore::GetInt(const std::filesystem::path& file, std::string_view section,
                                   std::string_view key, int defaultValue) {
    return ReadProfileInt(Refresh(file).document, section, key, defaultValue);
}

bool ProfileStore::HasSection(const std::filesystem::path& file, std::string_view section) {
    return HasProfileSection(Refresh(file).document, section);
}

bool ProfileStore::HasFile(const std::filesystem::path& file) {
    return Refresh(file).disk.present;
}

std::error_code ProfileStore::WriteString(const std::filesystem::path& file,
                                          std::string_view section, std::string_view key,
                                          std::string_view value) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    if (const std::error_code refused = CheckWritable(section, key, value)) {
        Report(Refresh(file).onDisk, "write [" + std::string(section) + "] " + std::string(key),
               refused);
        return refused;
    }
    return Apply(file, {Change::Write, std::string(section), std::string(key), std::string(value)});
}

std::error_code ProfileStore::DeleteKey(const std::filesystem::path& file, std::string_view section,
                                        std::string_view key) {
    return Apply(
        file,
        {Change::DeleteKey, std::string(TrimSpaces(section)), std::string(TrimSpaces(key)), {}});
}

std::error_code ProfileStore::DeleteSection(const std::filesystem::path& file,
                                            std::string_view section) {
    return Apply(file, {Change::DeleteSection, std::string(TrimSpaces(section)), {}, {}});
}

std::error_code ProfileStore::Apply(const std::filesystem::path& file, PendingChange change) {
    CachedFile& cached = Refresh(file);
    // A write is refused at once when the file cannot take it; a delete only matters if it
    // changes something, which the flush checks.
    if (change.kind == Change::Write) {
        if (const std::error_code refused = EditRefusal(cached)) {
            Report(cached.onDisk, "write [" + change.section + "] " + change.key, refused);
            return refused;
        }
    }
    ApplyChange(cached, change);
    cached.pending.push_back(std::move(change));
    return gatherDepth_ > 0 ? std::error_code{} : FlushFile(file, cached);
}

std::error_code ProfileStore::Flush() {
    std::error_code first;
    for (auto& [file, cached] : files_) {
        if (cached && !cached->pending.empty()) {
            const std::error_code error = FlushFile(file, *cached);
            if (error && !first) {
                first = error;
            }
        }
    }
    return first;
}

std::error_code ProfileStore::ReadBytes(const std::filesystem::path& file, std::string& bytes) {
    const CachedFile& cached = Refresh(file);
    bytes.clear();
    if (cached.disk.exists && !cached.disk.present) {
        return ProfileErrc::NotRegularFile;
    }
    if (cached.readError) {
        return cached.readError;
    }
    bytes = cached.diskBytes;
    return {};
}

std::error_code ProfileStore::WriteAll(const std::filesystem::path& file, std::string_view bytes) {
    CachedFile& cached = Refresh(file);
    cached.pending.clear();
    cached.createdByPending = true; // a missing file is made, even an empty one
    cached.document = ProfileDocument::Parse(bytes);
    return SaveBytes(file, cached, std::string(bytes));
}

std::error_code ProfileStore::FlushFile(const std::filesystem::path& file, CachedFile& cached) {
    // Another program may have changed the file since it was read: start from its bytes.
    Refresh(file);
    cached.pending.clear();
    return SaveBytes(file, cached, cached.document.Serialise());
}

std::error_code ProfileStore::SaveBytes(const std::filesystem::path& file, CachedFile& cached,
                                        std::string bytes) {
    const bool unchanged =
        cached.disk.present ? bytes == cached.diskBytes : !cached.createdByPending;
    if (unchanged) {
        return {};
    }
    // Asked again at each save: rights change without touching the file's time or mode.
    cached.writable = cached.disk.present && fileSystem_->MayWrite(cached.onDisk);
    std::error_code error = EditRefusal(cached);
    if (!error && cached.disk.present) {
        KeepEarlierState(file, cached.diskBytes);
    }
    platform::SaveNotes notes;
    if (!error) {
        error = fileSystem_->Save(cached.onDisk, bytes, notes);
    }
    if (notes.leftoversKept) {
        Report(cached.onDisk,
               "save: another process held the folder's lock; saved without removing the "
               "leftovers of killed saves",
               ProfileErrc::FolderLockHeld, true);
    }
    if (error) {
        Report(cached.onDisk, "save", error);
        cached.loaded = false; // the failed changes must not linger in what later reads see
        return error;
    }
    cached.diskBytes = std::move(bytes);
    cached.disk = fileSystem_->Probe(cached.onDisk);
    cached.writable = true; // it was just written
    cached.createdByPending = false;
    return {};
}

// A save the user did not mean must be undoable, but never at the price of the save itself.
void ProfileStore::KeepEarlierState(const std::filesystem::path& file, std::string_view bytes) {
    if (!history_) { // a user without a state folder
        return;
    }
    if (const std::error_code error = history_->Keep(file, bytes)) {
        Report(file,
               "keep the state before the save in " + history_->Root().string() + " (" +
                   error.message() + "); saved without it",
               error, true);
    }
}

void ProfileStore::Report(const std::filesystem::path& file, std::string operation,
                          std::error_code error, bool notice) {
    const ProfileFailure failure{file, std::move(operation), error, notice};
    if (!notice) {
        for (FailureCollector* collector : collectors_) {
            collector->failures_.push_back(failure);
        }
    }
    if (sink_) {
        sink_(failure);
    }
}

} // namespace kfg::settings
