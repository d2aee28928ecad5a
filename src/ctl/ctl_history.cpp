// The kept states of the settings files: listing them and putting one back.
#include "ctl/ctl_commands.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "platform/save_history.h"
#include "platform/strict_integer.h"
#include "settings/edition_detection.h"
#include "settings/edition_facts.h"
#include "settings/kfg_keys.h"
#include "settings/state_differences.h"
#include "settings/windows1252.h"

#include <array>
#include <ctime>
#include <optional>
#include <ostream>

namespace kfg::ctl {
namespace {

constexpr std::size_t kKeysNamed = 3; // a line names at most these, then "+N more"

// The files a history is kept of, as the user names them (letter case aside).
constexpr std::array<std::string_view, 2> kSettingsFiles = {settings::kViewerSettingsFile,
                                                            settings::kManagerFile};

// The file `arguments[index]` names, Telvio.ini when there is none; nothing, after saying
// why, for any other name.
std::optional<std::string_view> SettingsFile(Folder& folder, Arguments arguments,
                                             std::size_t index) {
    if (arguments.size() <= index) {
        return kSettingsFiles[0];
    }
    for (const std::string_view file : kSettingsFiles) {
        if (platform::EqualIgnoringAsciiCase(arguments[index], file)) {
            return file;
        }
    }
    folder.Refuse(Message::UnknownSettingsFile, {arguments[index]});
    return std::nullopt;
}

// Local time with its offset from UTC, as ISO 8601 writes it: 2024-05-01T21:30:05+02:00.
std::string LocalTime(std::int64_t nanoseconds) {
    const auto seconds = static_cast<std::time_t>(nanoseconds / 1'000'000'000);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40] = {};
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string time(text, length);
    if (time.size() >= 5) {
        time.insert(time.size() - 2, ":"); // +0200 -> +02:00
    }
    return time;
}

// The bytes of a file; empty when it is missing or cannot be read (a listing shows what it can).
std::string BytesOf(const std::filesystem::path& path) {
    std::string bytes;
    (void)platform::PosixFileSystem().ReadAll(path, bytes); // missing: every key differs
    return bytes;
}

std::filesystem::path OnDisk(Folder& folder, std::string_view file) {
    return platform::FindIgnoringCase(folder.Path(), std::string(file)).path;
}

struct Listed {
    std::size_t number;
    std::string time;
    std::string_view file;
    std::vector<std::string> keys; // UTF-8
};

// The states the folder's store keeps of `file`, newest first: listing and keeping use one
// history.
std::vector<platform::KeptState> StatesOf(Folder& folder, std::string_view file) {
    const platform::SaveHistory* history = folder.Store().History();
    return history != nullptr ? history->States(folder.Path() / file)
                              : std::vector<platform::KeptState>{};
}

// The states of one file, newest first, each with what the state after it changed.
std::vector<Listed> ListStates(Folder& folder, std::string_view file) {
    std::vector<Listed> listed;
    std::string after = BytesOf(OnDisk(folder, file));
    const auto states = StatesOf(folder, file);
    for (std::size_t i = 0; i < states.size(); ++i) {
        std::string bytes = BytesOf(states[i].path);
        Listed entry{i + 1, LocalTime(states[i].replacedNanoseconds), file, {}};
        for (const std::string& key : settings::KeysThatDiffer(bytes, after)) {
            entry.keys.push_back(settings::Utf8FromWindows1252(key));
        }
        listed.push_back(std::move(entry));
        after = std::move(bytes);
    }
    return listed;
}

std::string KeysLine(const std::vector<std::string>& keys, platform::TextLanguage language) {
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

void ListJson(std::ostream& out, const std::vector<Listed>& listed) {
    out << "{\"states\": [";
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const Listed& entry = listed[i];
        out << (i == 0 ? "" : ", ") << "{\"number\": " << entry.number
            << ", \"replaced\": " << JsonString(entry.time)
            << ", \"file\": " << JsonString(entry.file) << ", \"keys\": [";
        for (std::size_t k = 0; k < entry.keys.size(); ++k) {
            out << (k == 0 ? "" : ", ") << JsonString(entry.keys[k]);
        }
        out << "]}";
    }
    out << "]}\n";
}

// A state number as history prints it: a number by kfgctl's one rule, never negative.
std::optional<std::size_t> StateNumber(std::string_view text) {
    const std::optional<int> number = platform::StrictInteger(text, platform::Blanks::Refused);
    if (!number || *number < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*number);
}

} // namespace

int HistoryCommand(Folder& folder, Arguments arguments, bool json) {
    std::vector<std::string_view> files(kSettingsFiles.begin(), kSettingsFiles.end());
    if (!arguments.empty()) {
        const std::optional<std::string_view> file = SettingsFile(folder, arguments, 0);
        if (!file) {
            return kUsage;
        }
        files = {*file};
    }
    std::vector<Listed> listed;
    for (const std::string_view file : files) {
        std::vector<Listed> states = ListStates(folder, file);
        listed.insert(listed.end(), states.begin(), states.end());
    }
    if (json) {
        ListJson(folder.Out(), listed);
        return kDone;
    }
    for (const Listed& entry : listed) {
        folder.Out() << entry.number << "  " << entry.time << "  " << entry.file << "  "
                     << KeysLine(entry.keys, folder.Env().language) << '\n';
    }
    return kDone;
}

int RestoreCommand(Folder& folder, Arguments arguments, bool force) {
    const std::optional<std::size_t> number = StateNumber(arguments[0]);
    if (!number) {
        folder.Refuse(Message::NotAStateNumber, {arguments[0]});
        return kUsage;
    }
    const std::optional<std::string_view> file = SettingsFile(folder, arguments, 1);
    if (!file) {
        return kUsage;
    }
    const auto states = StatesOf(folder, *file);
    if (*number == 0 || *number > states.size()) {
        return folder.Refuse(Message::NoSuchState, {arguments[0], *file});
    }
    std::string bytes;
    if (const std::error_code error =
            platform::PosixFileSystem().ReadAll(states[*number - 1].path, bytes)) {
        return folder.Refuse(Message::StateUnreadable, {arguments[0], *file, error.message()});
    }
    // A state another edition wrote would show and start as the wrong Telvio.
    if (*file == settings::kViewerSettingsFile && !force) {
        const settings::Edition kept = settings::DetectEditionOfBytes(bytes);
        if (kept != folder.Edition()) {
            return folder.Refuse(Message::OtherEdition,
                                 {arguments[0], *file, settings::FactsOf(kept).versionLabel,
                                  settings::FactsOf(folder.Edition()).versionLabel});
        }
    }
    const auto failures = folder.Store().CollectFailures();
    // The store finds the file in any letter case, and keeps the state it replaces.
    (void)folder.Store().WriteAll(folder.Path() / *file, bytes); // told below
    return folder.Told(failures);
}

} // namespace kfg::ctl
