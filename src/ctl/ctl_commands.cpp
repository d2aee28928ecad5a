// What each command does once the folder is open.
#include "ctl/ctl_commands.h"

#include "ctl/ctl_keys.h"
#include "mixer/mixer_base.h"
#include "platform/program_command.h"
#include "platform/program_starter.h"
#include "settings/configuration_scan.h"
#include "settings/windows1252.h"
#include "telvio/edition_facts.h"
#include "telvio/kfg_keys.h"
#include "telvio/viewer_start.h"
#include "texts/failure_reasons.h"

#include <array>
#include <cstdio>
#include <optional>
#include <ostream>
#include <utility>

namespace kfg::ctl {
namespace {

struct Source {
    std::filesystem::path file;
    std::string section; // Windows-1252
};

// [Telvio] / [Telvio-Erazor] of "Telvio.ini", or configuration `arguments[0]` of "KFG.ini".
std::optional<Source> SourceOf(Folder& folder, Arguments arguments) {
    if (arguments.empty()) {
        return Source{folder.ViewerFile(), std::string(folder.ViewerSection())};
    }
    const std::optional<std::string> section = folder.ConfigurationSection(arguments[0], true);
    if (!section) {
        return std::nullopt;
    }
    return Source{folder.ManagerFile(), *section};
}

void ShowJson(Folder& folder, const Source& source, const LoadedSettings& loaded,
              texts::TextLanguage language) {
    std::ostream& out = folder.Out();
    std::string keys;
    std::string texts;
    for (const NamedKey& key : KeysRead(folder.Edition())) {
        const int value = ValueOf(key, loaded);
        keys += (keys.empty() ? "" : ", ") + JsonString(key.name) + ": " + std::to_string(value);
        if (const auto text = TextOf(key, value, folder.Edition(), language)) {
            texts += (texts.empty() ? "" : ", ") + JsonString(key.name) + ": " + JsonString(*text);
        }
    }
    out << "{\"edition\": " << JsonString(telvio::FactsOf(folder.Edition()).name)
        << ", \"section\": " << JsonString(settings::Utf8FromWindows1252(source.section))
        << ", \"keys\": {" << keys << "}, \"texts\": {" << texts << "}}\n";
}

// Line-in unmuted on the sound card when it is muted, through the binding alone; without a
// card or a line-in nothing happens, as in the dialog.
void UnmuteLineIn(std::shared_ptr<mixer::MixerApi> api) {
    mixer::CMixerBase lineIn(std::move(api));
    if (lineIn.Init(mixer::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                    mixer::MIXERLINE_COMPONENTTYPE_SRC_LINE, mixer::MIXERCONTROL_CONTROLTYPE_MUTE,
                    [](std::uint32_t, mixer::MixerHandle, std::uint32_t) {}) &&
        lineIn.ReadValues() && !lineIn.Values().empty() && lineIn.Values()[0] != 0) {
        // The write of a click on the dialog's switch; a card that refuses stays as it was.
        (void)lineIn.WriteElement(0, 0);
    }
}

// Configuration `arguments[0]` into "Telvio.ini"; with no argument, "Telvio.ini" saved as the
// start button saves it.
Saved Apply(Folder& folder, Arguments arguments) {
    if (arguments.empty()) {
        return folder.Save(folder.Load(folder.ViewerFile(), folder.ViewerSection()),
                           folder.ViewerFile(), folder.ViewerSection(), folder.ViewerSection(),
                           false);
    }
    const std::optional<std::string> section = folder.ConfigurationSection(arguments[0], true);
    if (!section) {
        return Saved::Refused;
    }
    return folder.Save(folder.Load(folder.ManagerFile(), *section), folder.ViewerFile(),
                       folder.ViewerSection(), settings::Utf8FromWindows1252(*section), false);
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
            json += escaped.data();
        } else {
            json += c;
        }
    }
    return json + '"';
}

ExitStatus EditionCommand(Folder& folder, Arguments, const CommandOptions&) {
    const telvio::EditionFacts& facts = telvio::FactsOf(folder.Edition());
    folder.Out() << "edition=" << facts.name << "\nlabel=" << facts.versionLabel
                 << "\nsection=" << facts.section << '\n';
    return ExitStatus::Done;
}

ExitStatus ListCommand(Folder& folder, Arguments, const CommandOptions&) {
    for (const std::string& name :
         settings::ScanConfigurationSections(folder.ManagerFile()).names) {
        folder.Out() << settings::Utf8FromWindows1252(name) << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus ShowCommand(Folder& folder, Arguments arguments, const CommandOptions& options) {
    const std::optional<Source> source = SourceOf(folder, arguments);
    if (!source) {
        return ExitStatus::Refused;
    }
    const LoadedSettings loaded = folder.Load(source->file, source->section);
    const texts::TextLanguage language = folder.CaptionLanguage();
    if (options.json) {
        ShowJson(folder, *source, loaded, language);
        return ExitStatus::Done;
    }
    for (const NamedKey& key : KeysRead(folder.Edition())) {
        const int value = ValueOf(key, loaded);
        folder.Out() << key.name << '=' << value;
        if (const auto text = TextOf(key, value, folder.Edition(), language)) {
            folder.Out() << " (" << *text << ')';
        }
        folder.Out() << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus GetCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    const std::optional<NamedKey> key = FindKey(folder, arguments[0], KeyUse::Read);
    if (!key) {
        return ExitStatus::Refused;
    }
    folder.Out() << ValueOf(*key, folder.Load(folder.ViewerFile(), folder.ViewerSection())) << '\n';
    return ExitStatus::Done;
}

ExitStatus SetCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    std::vector<std::pair<std::string, int>> changes;
    bool refused = false;
    for (const std::string& assignment : arguments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            folder.Refuse(Message::NotAnAssignment, {assignment});
            return ExitStatus::Usage;
        }
        const std::optional<NamedKey> key =
            FindKey(folder, std::string_view(assignment).substr(0, equals), KeyUse::Write);
        const std::optional<int> value =
            key ? ParseValue(folder, *key, std::string_view(assignment).substr(equals + 1))
                : std::nullopt;
        if (value) {
            changes.emplace_back(key->name, *value);
        }
        refused = refused || !value;
    }
    if (refused) {
        return ExitStatus::Refused; // every problem told, nothing written
    }
    const auto failures = folder.Store().CollectFailures();
    {
        auto gathered = folder.Store().Gather(); // one replacement of the file
        for (const auto& [name, value] : changes) {
            // A failure reaches the collector above and is told.
            (void)folder.Store().WriteString(folder.ViewerFile(), folder.ViewerSection(), name,
                                             std::to_string(value));
        }
    }
    return folder.Told(failures);
}

ExitStatus SaveCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    const std::optional<std::string> section = folder.ConfigurationSection(arguments[0], false);
    if (!section) {
        return ExitStatus::Refused;
    }
    return StatusOf(folder.Save(folder.Load(folder.ViewerFile(), folder.ViewerSection()),
                                folder.ManagerFile(), *section, folder.ViewerSection(), true));
}

ExitStatus ApplyCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    return StatusOf(Apply(folder, arguments));
}

ExitStatus DeleteCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    const std::optional<std::string> section = folder.ConfigurationSection(arguments[0], true);
    if (!section) {
        return ExitStatus::Refused;
    }
    const auto failures = folder.Store().CollectFailures();
    (void)folder.Store().DeleteSection(folder.ManagerFile(), *section); // told below
    return folder.Told(failures);
}

ExitStatus StartCommand(Folder& folder, Arguments arguments, const CommandOptions&) {
    // The start button saves what it shows: the configuration, or "Telvio.ini" itself. A
    // refusal stops it; a file that could not be written has been told, and Telvio starts
    // with what the disk holds, as from the dialog.
    if (Apply(folder, arguments) == Saved::Refused) {
        return ExitStatus::Refused;
    }
    const Environment& environment = folder.Env();
    const auto stored = [&](telvio::KfgKey key) {
        return telvio::ReadKfgNumber(folder.Store(), folder.ManagerFile(), key,
                                     telvio::KfgReader::StartUp) != 0;
    };
    if (stored(telvio::KfgKey::LineIn) && environment.mixer) {
        UnmuteLineIn(environment.mixer());
    }
    const std::error_code failed = telvio::StartViewer(
        *environment.starter, folder.Path(), folder.Edition(), stored(telvio::KfgKey::SoundInit),
        [&](const std::error_code& soundInitialised) {
            // Told, and Telvio still starts, as from the dialog.
            if (soundInitialised) {
                folder.Refuse(texts::SoundInitialisationMessage(
                    telvio::kSoundInitialisationProgram, telvio::kSoundInitialisationLimit,
                    soundInitialised, environment.language));
            }
            folder.Out().flush(); // Telvio takes over this process and its streams
        });
    if (!failed) {
        return ExitStatus::Done; // only a starter that does not replace the process comes back
    }
    const std::string viewer(telvio::FactsOf(folder.Edition()).viewerProgram);
    return folder.Refuse(texts::StartFailureMessage(
        platform::FindProgramFile(folder.Path(), viewer).name, failed, environment.language));
}

} // namespace kfg::ctl
