#pragma once

#include "settings/profile_store.h"
#include "telvio/edition.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kfg::telvio {

// The files of a Telvio folder whose earlier states saves keep.
extern const std::array<std::string_view, 2> kFilesWithHistory;

// One kept state as a listing shows it.
struct ListedState {
    std::size_t number = 0; // its line in the listing, 1 the newest
    std::string_view file;  // one of kFilesWithHistory
    std::int64_t replacedNanoseconds = 0;
    // The time a save replaced it, local, as ISO 8601 writes it ("2024-05-01T21:30:05+02:00"):
    // the state's name. Where another state of the folder was replaced in the same second,
    // both gain the fractional digits that tell them apart ("...:05.25+02:00").
    std::string name;
    std::string bytes; // empty when the state could not be read
    // What replaced it: the next newer state of its file, or the file as it is now.
    std::string bytesAfter;
};

// Why no state is kept: the error, and the folder at fault (none without a state folder).
struct KeepProblem {
    std::error_code error;
    std::filesystem::path folder;
    explicit operator bool() const { return static_cast<bool>(error); }
};

// How a restore went.
struct RestoreOutcome {
    enum class Result {
        Restored,
        Unreadable,       // the state could not be read; `error` says why
        OtherEdition,     // the state is of `stateEdition`, the file now of `fileEdition`
        UndecidedEdition, // no marker of the file now tells its edition
        NotKept,          // what the file holds now could not be kept first; `notKept` says why
        WriteFailed,      // the store reported the failure; the old file stays whole
    };
    Result result = Result::Restored;
    std::error_code error;
    KeepProblem notKept;
    Edition stateEdition = kUndetectedEdition;
    Edition fileEdition = kUndetectedEdition;
    // Restored: the state that now holds the bytes the restore replaced; none when the file
    // was missing or empty.
    std::optional<std::int64_t> replacedBy;
};

// Whether a restore of "Telvio.ini" checks that the state is of the file's edition.
enum class EditionCheck { Made, Skipped };

// The earlier states of one Telvio folder's settings files, as the store's history keeps
// them: one listing, newest first across both files, with names later saves do not change,
// and the restore, which keeps what it replaces before it writes.
class EarlierStates {
public:
    EarlierStates(settings::ProfileStore& store, std::filesystem::path folder);

    // The states of both files, or of `file` alone, newest first. Names are decided among all
    // states of the folder, so a state has the same name in every listing.
    std::vector<ListedState> List(std::optional<std::string_view> file = std::nullopt);

    // Why no state can be kept now (no state folder, a link, another user's, open to others,
    // not writable); none while keeping works for both files.
    KeepProblem WhyNothingIsKept() const;

    // Puts `state` back, byte for byte, as a save writes (owner and mode of the file kept; a
    // missing file is made). What the file holds now is kept first, and when that fails
    // nothing is written; a missing or empty file has nothing to keep. With EditionCheck::Made
    // a state of "Telvio.ini" is refused when its edition differs from the file's now, or when
    // the file now (not empty) shows no edition at all.
    RestoreOutcome Restore(const ListedState& state, EditionCheck check);

private:
    std::filesystem::path PathOf(std::string_view file) const { return folder_ / file; }

    settings::ProfileStore& store_;
    std::filesystem::path folder_;
};

// The local time of `nanoseconds` to the second, as ISO 8601 writes it with the offset from
// UTC: a state's name without fractional digits.
std::string LocalTimeOf(std::int64_t nanoseconds);

// Where the time `text`, as a listing names states, fits: the states whose name is `text` or
// that `text` names to fewer fractional digits (a name printed before another state shared its
// second). Nothing when `text` is no such time.
std::optional<std::vector<const ListedState*>> StatesNamed(std::string_view text,
                                                           const std::vector<ListedState>& listed);

} // namespace kfg::telvio
