// The kept states of the settings files: listing them and putting one back.
#include "ctl/ctl_commands.h"
#include "platform/name_lookup.h"
#include "platform/strict_integer.h"
#include "settings/state_differences.h"
#include "settings/windows1252.h"
#include "telvio/earlier_states.h"
#include "telvio/edition_facts.h"
#include "texts/failure_reasons.h"
#include "texts/kept_state_texts.h"

#include <optional>
#include <ostream>

namespace kfg::ctl {
namespace {

using telvio::ListedState;

constexpr std::size_t kKeysNamed = 3; // a line names at most these, then "+N more"

// The file `arguments[index]` names (letter case aside); nothing when there is none, and
// nothing, after saying why, for any other name (`refused` then tells).
std::optional<std::string_view> FileNamed(Folder& folder, Arguments arguments, std::size_t index,
                                          bool& refused) {
    refused = false;
    if (arguments.size() <= index) {
        return std::nullopt;
    }
    for (const std::string_view file : telvio::kFilesWithHistory) {
        if (platform::EqualIgnoringAsciiCase(arguments[index], file)) {
            return file;
        }
    }
    folder.Refuse(Message::UnknownSettingsFile, {arguments[index]});
    refused = true;
    return std::nullopt;
}

// The keys the state after `state` changed, UTF-8.
std::vector<std::string> ChangedKeys(const ListedState& state) {
    std::vector<std::string> keys;
    for (const std::string& key : settings::KeysThatDiffer(state.bytes, state.bytesAfter)) {
        keys.push_back(settings::Utf8FromWindows1252(key));
    }
    return keys;
}

std::string KeysLine(const std::vector<std::string>& keys, texts::TextLanguage language) {
    if (keys.empty()) {
        return Text(Message::NoKeyDiffers, language);
    }
    std::string line;
    for (std::size_t i = 0; i < keys.size() && i < kKeysNamed; ++i) {
        line += (i == 0 ? "" : ", ") + keys[i];
    }
    if (keys.size() > kKeysNamed) {
        line += " " + Text(Message::MoreKeys, language, {std::to_string(keys.size() - kKeysNamed)});
    }
    return line;
}

void ListJson(std::ostream& out, const std::vector<ListedState>& listed,
              const std::optional<std::string>& notKept) {
    out << "{\"states\": [";
    for (const ListedState& state : listed) {
        out << (state.number == 1 ? "" : ", ") << "{\"number\": " << state.number
            << ", \"replaced\": " << JsonString(telvio::LocalTimeOf(state.replacedNanoseconds))
            << ", \"file\": " << JsonString(state.file) << ", \"keys\": [";
        const std::vector<std::string> keys = ChangedKeys(state);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            out << (k == 0 ? "" : ", ") << JsonString(keys[k]);
        }
        out << "], \"name\": " << JsonString(state.name) << "}";
    }
    out << "]";
    if (notKept) {
        out << ", \"notKept\": " << JsonString(*notKept);
    }
    out << "}\n";
}

// The state `text` names in `listed`: its line number (a plain number always is one), or its
// name as a listing printed it. Nothing, after saying why, when it names none or several.
const ListedState* StateOf(Folder& folder, std::string_view text,
                           const std::vector<ListedState>& listed,
                           std::optional<std::string_view> file, ExitStatus& status) {
    status = ExitStatus::Refused;
    const auto noSuchState = [&] {
        if (file) {
            folder.Refuse(Message::NoSuchState, {text, *file});
        } else {
            folder.Refuse(Message::NoSuchListedState, {text});
        }
        return nullptr;
    };
    if (const std::optional<int> number =
            platform::StrictInteger(text, platform::Blanks::Refused)) {
        if (*number < 1 || static_cast<std::size_t>(*number) > listed.size()) {
            return noSuchState();
        }
        return &listed[static_cast<std::size_t>(*number) - 1];
    }
    const auto named = telvio::StatesNamed(text, listed);
    if (!named) {
        folder.Refuse(Message::NotAStateNumber, {text});
        status = ExitStatus::Usage;
        return nullptr;
    }
    if (named->empty()) {
        return noSuchState();
    }
    if (named->size() > 1) {
        folder.Refuse(Message::SeveralStatesNamed, {text});
        return nullptr;
    }
    return named->front();
}

// The name a listing gives the state kept at `nanoseconds` of `file`.
std::string NameOf(telvio::EarlierStates& states, std::string_view file, std::int64_t nanoseconds) {
    for (const ListedState& state : states.List(file)) {
        if (state.replacedNanoseconds == nanoseconds) {
            return state.name;
        }
    }
    return telvio::LocalTimeOf(
        nanoseconds); // gone already: only a keep beside this one can do that
}

} // namespace

ExitStatus HistoryCommand(Folder& folder, Arguments arguments, const CommandOptions& options) {
    bool refused = false;
    const std::optional<std::string_view> file = FileNamed(folder, arguments, 0, refused);
    if (refused) {
        return ExitStatus::Usage;
    }
    telvio::EarlierStates states(folder.Store(), folder.Path());
    const std::vector<ListedState> listed = states.List(file);
    std::optional<std::string> notKept;
    if (const telvio::KeepProblem problem = states.WhyNothingIsKept()) {
        notKept = texts::NothingKeptMessage(problem.error, problem.folder, folder.Env().language);
        folder.Refuse(*notKept); // said, and the listing goes on: it is no failure of history
    }
    if (options.json) {
        ListJson(folder.Out(), listed, notKept);
        return ExitStatus::Done;
    }
    for (const ListedState& state : listed) {
        folder.Out() << state.number << "  " << state.name << "  " << state.file << "  "
                     << KeysLine(ChangedKeys(state), folder.Env().language) << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus RestoreCommand(Folder& folder, Arguments arguments, const CommandOptions& options) {
    bool refused = false;
    const std::optional<std::string_view> file = FileNamed(folder, arguments, 1, refused);
    if (refused) {
        return ExitStatus::Usage;
    }
    telvio::EarlierStates states(folder.Store(), folder.Path());
    const std::vector<ListedState> listed = states.List(file);
    ExitStatus status = ExitStatus::Refused;
    const ListedState* state = StateOf(folder, arguments[0], listed, file, status);
    if (state == nullptr) {
        return status;
    }
    const std::string_view shown = arguments[0];
    const auto failures = folder.Store().CollectFailures();
    const telvio::RestoreOutcome outcome = states.Restore(
        *state, options.force ? telvio::EditionCheck::Skipped : telvio::EditionCheck::Made);
    const texts::TextLanguage language = folder.Env().language;
    using Result = telvio::RestoreOutcome::Result;
    switch (outcome.result) {
    case Result::Restored:
        break;
    case Result::Unreadable:
        return folder.Refuse(Message::StateUnreadable,
                             {shown, state->file, texts::FailureReason(outcome.error, language)});
    case Result::OtherEdition:
        return folder.Refuse(Message::OtherEdition,
                             {shown, state->file,
                              telvio::FactsOf(outcome.stateEdition).versionLabel,
                              telvio::FactsOf(outcome.fileEdition).versionLabel});
    case Result::UndecidedEdition:
        return folder.Refuse(Message::UndecidedEdition, {shown, state->file});
    case Result::NotKept:
        return folder.Refuse(
            Message::NotKeptBeforeRestore,
            {shown, state->file,
             texts::KeepProblemReason(outcome.notKept.error, outcome.notKept.folder, language)});
    case Result::WriteFailed:
        return folder.Told(failures);
    }
    if (outcome.replacedBy) {
        folder.Out() << Text(Message::StatePutBack, language,
                             {state->file, state->name,
                              NameOf(states, state->file, *outcome.replacedBy)})
                     << '\n';
    } else {
        folder.Out() << Text(Message::StatePutBackOverNothing, language, {state->file, state->name})
                     << '\n';
    }
    return ExitStatus::Done;
}

} // namespace kfg::ctl
