#include "telvio/earlier_states.h"

#include "platform/private_folder.h"
#include "platform/save_history.h"
#include "telvio/edition_detection.h"
#include "telvio/kfg_keys.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <map>
#include <set>

namespace kfg::telvio {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr int kFractionDigits = 9;

std::int64_t PowerOfTen(int exponent) {
    std::int64_t power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// The first `digits` fractional digits of a time, as a number.
std::int64_t FractionPart(std::int64_t nanoseconds, int digits) {
    return (nanoseconds % kNanosecondsPerSecond) / PowerOfTen(kFractionDigits - digits);
}

// Local time with `digits` fractional digits and its offset from UTC.
std::string LocalName(std::int64_t nanoseconds, int digits) {
    const auto seconds = static_cast<std::time_t>(nanoseconds / kNanosecondsPerSecond);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40] = {};
    std::string name(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local));
    if (digits > 0) {
        std::string fraction = std::to_string(FractionPart(nanoseconds, digits));
        name +=
            "." + std::string(static_cast<std::size_t>(digits) - fraction.size(), '0') + fraction;
    }
    std::string offset(text, std::strftime(text, sizeof text, "%z", &local));
    if (offset.size() == 5) {
        offset.insert(3, ":"); // +0200 -> +02:00
    }
    return name + offset;
}

// How many fractional digits each time needs: none, unless others share its second; then the
// fewest that set all of that second apart (all nine for times that are equal).
std::map<std::int64_t, int> FractionDigits(const std::set<std::int64_t>& times) {
    std::map<std::int64_t, std::vector<std::int64_t>> bySecond;
    for (const std::int64_t time : times) {
        bySecond[time / kNanosecondsPerSecond].push_back(time);
    }
    std::map<std::int64_t, int> digits;
    for (const auto& [second, shared] : bySecond) {
        int needed = 0;
        if (shared.size() > 1) {
            for (needed = 1; needed < kFractionDigits; ++needed) {
                std::set<std::int64_t> parts;
                for (const std::int64_t time : shared) {
                    parts.insert(FractionPart(time, needed));
                }
                if (parts.size() == shared.size()) {
                    break;
                }
            }
        }
        for (const std::int64_t time : shared) {
            digits[time] = needed;
        }
    }
    return digits;
}

// A time as names give it, read back: the second since 1970 (UTC) and the fractional digits
// given.
struct NamedTime {
    std::int64_t second = 0;
    std::int64_t fraction = 0;
    int digits = 0;
};

// Reads `count` decimal digits at `at`.
bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    const char* first = text.data() + at;
    for (std::size_t i = 0; i < count; ++i) {
        if (first[i] < '0' || first[i] > '9') {
            return false;
        }
    }
    return std::from_chars(first, first + count, value).ec == std::errc();
}

bool Expect(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
}

// "YYYY-MM-DDTHH:MM:SS[.F...]" followed by "Z" or "+HH:MM" / "-HH:MM".
std::optional<NamedTime> ReadNamedTime(std::string_view text) {
    std::tm fields{};
    int year = 0;
    int month = 0;
    if (!Digits(text, 0, 4, year) || !Expect(text, 4, '-') || !Digits(text, 5, 2, month) ||
        !Expect(text, 7, '-') || !Digits(text, 8, 2, fields.tm_mday) || !Expect(text, 10, 'T') ||
        !Digits(text, 11, 2, fields.tm_hour) || !Expect(text, 13, ':') ||
        !Digits(text, 14, 2, fields.tm_min) || !Expect(text, 16, ':') ||
        !Digits(text, 17, 2, fields.tm_sec)) {
        return std::nullopt;
    }
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    NamedTime named;
    std::size_t at = 19;
    if (Expect(text, at, '.')) {
        ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (++named.digits > kFractionDigits) {
                return std::nullopt;
            }
            named.fraction = named.fraction * 10 + (text[at++] - '0');
        }
        if (named.digits == 0) {
            return std::nullopt;
        }
    }
    int offsetMinutes = 0;
    if (Expect(text, at, 'Z') && at + 1 == text.size()) {
        offsetMinutes = 0;
    } else {
        int hours = 0;
        int minutes = 0;
        if (!(Expect(text, at, '+') || Expect(text, at, '-')) || !Digits(text, at + 1, 2, hours) ||
            !Expect(text, at + 3, ':') || !Digits(text, at + 4, 2, minutes) ||
            at + 6 != text.size()) {
            return std::nullopt;
        }
        offsetMinutes = (text[at] == '-' ? -1 : 1) * (hours * 60 + minutes);
    }
    const std::time_t utc = ::timegm(&fields);
    named.second = static_cast<std::int64_t>(utc) - std::int64_t{offsetMinutes} * 60;
    return named;
}

RestoreOutcome Refused(RestoreOutcome::Result result, std::error_code error = {}) {
    RestoreOutcome outcome;
    outcome.result = result;
    outcome.error = error;
    return outcome;
}

RestoreOutcome NotKept(std::error_code error, fs::path folder) {
    RestoreOutcome outcome = Refused(RestoreOutcome::Result::NotKept);
    outcome.notKept = {error, std::move(folder)};
    return outcome;
}

bool Fits(const NamedTime& named, std::int64_t nanoseconds) {
    return nanoseconds / kNanosecondsPerSecond == named.second &&
           (named.digits == 0 || FractionPart(nanoseconds, named.digits) == named.fraction);
}

} // namespace

std::string LocalTimeOf(std::int64_t nanoseconds) {
    return LocalName(nanoseconds, 0);
}

const std::array<std::string_view, 2> kFilesWithHistory = {kViewerSettingsFile, kManagerFile};

EarlierStates::EarlierStates(settings::ProfileStore& store, fs::path folder)
    : store_(store)
    , folder_(std::move(folder)) {}

std::vector<ListedState> EarlierStates::List(std::optional<std::string_view> file) {
    std::vector<ListedState> listed;
    platform::SaveHistory* history = store_.History();
    if (history == nullptr) {
        return listed;
    }
    for (const std::string_view each : kFilesWithHistory) {
        std::string after;
        (void)store_.ReadBytes(PathOf(each), after); // unreadable: every key differs
        for (const platform::KeptState& kept : history->States(PathOf(each))) {
            ListedState state{0, each, kept.replacedNanoseconds, {}, {}, std::move(after)};
            if (history->ReadState(PathOf(each), kept.replacedNanoseconds, state.bytes)) {
                state.bytes.clear(); // listed all the same: a restore then says why
            }
            after = state.bytes;
            listed.push_back(std::move(state));
        }
    }
    std::set<std::int64_t> times;
    for (const ListedState& state : listed) {
        times.insert(state.replacedNanoseconds);
    }
    const std::map<std::int64_t, int> digits = FractionDigits(times);
    for (ListedState& state : listed) {
        state.name = LocalName(state.replacedNanoseconds, digits.at(state.replacedNanoseconds));
    }
    if (file) {
        std::erase_if(listed, [&](const ListedState& state) { return state.file != *file; });
    }
    // Newest first; states of one time keep the order of the files.
    std::stable_sort(listed.begin(), listed.end(), [](const ListedState& a, const ListedState& b) {
        return a.replacedNanoseconds > b.replacedNanoseconds;
    });
    for (std::size_t i = 0; i < listed.size(); ++i) {
        listed[i].number = i + 1;
    }
    return listed;
}

KeepProblem EarlierStates::WhyNothingIsKept() const {
    const platform::SaveHistory* history = store_.History();
    if (history == nullptr) {
        return {platform::PrivateFolderErrc::NoStateFolder, {}};
    }
    for (const std::string_view file : kFilesWithHistory) {
        KeepProblem problem;
        problem.error = history->WhyNothingIsKept(PathOf(file), problem.folder);
        if (problem) {
            return problem;
        }
    }
    return {};
}

RestoreOutcome EarlierStates::Restore(const ListedState& state, EditionCheck check) {
    using Result = RestoreOutcome::Result;
    platform::SaveHistory* history = store_.History();
    const fs::path file = PathOf(state.file);
    if (history == nullptr) {
        return NotKept(platform::PrivateFolderErrc::NoStateFolder, {});
    }
    std::string bytes;
    if (const std::error_code error = history->ReadState(file, state.replacedNanoseconds, bytes)) {
        return Refused(Result::Unreadable, error);
    }
    std::string now;
    if (const std::error_code error = store_.ReadBytes(file, now)) {
        return NotKept(error, folder_); // what cannot be read cannot be kept
    }
    // A state another edition wrote would show and start as the wrong Telvio.
    if (check == EditionCheck::Made && state.file == kViewerSettingsFile && !now.empty()) {
        const std::optional<Edition> fileEdition = DecidedEditionOfBytes(now);
        if (!fileEdition) {
            return Refused(Result::UndecidedEdition);
        }
        const Edition stateEdition = DetectEditionOfBytes(bytes);
        if (stateEdition != *fileEdition) {
            RestoreOutcome outcome = Refused(Result::OtherEdition);
            outcome.stateEdition = stateEdition;
            outcome.fileEdition = *fileEdition;
            return outcome;
        }
    }
    RestoreOutcome outcome;
    if (!now.empty()) {
        platform::KeptState holder;
        if (const std::error_code error = history->Keep(file, now, &holder)) {
            // The check names the folder at fault where it finds one; a full disk it does not.
            KeepProblem problem;
            problem.error = history->WhyNothingIsKept(file, problem.folder);
            return problem ? NotKept(problem.error, problem.folder)
                           : NotKept(error, history->Root());
        }
        outcome.replacedBy = holder.replacedNanoseconds;
    }
    // The store finds the file in any letter case; its own keep finds the bytes kept already.
    if (const std::error_code error = store_.WriteAll(file, bytes)) {
        return Refused(Result::WriteFailed, error);
    }
    return outcome;
}

std::optional<std::vector<const ListedState*>> StatesNamed(std::string_view text,
                                                           const std::vector<ListedState>& listed) {
    const std::optional<NamedTime> named = ReadNamedTime(text);
    if (!named) {
        return std::nullopt;
    }
    std::vector<const ListedState*> fitting;
    for (const ListedState& state : listed) {
        if (Fits(*named, state.replacedNanoseconds)) {
            fitting.push_back(&state);
        }
    }
    return fitting;
}

} // namespace kfg::telvio
