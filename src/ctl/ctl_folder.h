#pragma once

#include "cli/exit_status.h"
#include "ctl/ctl_texts.h"
#include "ctl/kfgctl.h"
#include "settings/profile_store.h"
#include "telvio/edition.h"
#include "telvio/process_state.h"
#include "telvio/settings_record.h"
#include "texts/text_language.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kfg::ctl {

using cli::ExitStatus;

// The settings a section holds, as the dialog loads them.
struct LoadedSettings {
    telvio::SettingsRecord record;
    telvio::ProcessState state;
};

// How a save of a whole record went: written; refused before writing (said why); or a file
// could not be written (said which; the old file stays whole).
enum class Saved { Written, Refused, WriteFailed };
constexpr ExitStatus StatusOf(Saved saved) {
    return saved == Saved::Written ? ExitStatus::Done : ExitStatus::Refused;
}

// Telvio's folder as one kfgctl call sees it: the files, the edition, and the messages.
class Folder {
public:
    Folder(const Environment& environment, std::filesystem::path path, std::ostream& out,
           std::ostream& err);

    // False, after saying why, when the folder or its "Telvio.ini" is missing.
    bool Open();
    // False, after saying why, when the folder is missing, is no folder or cannot be entered
    // (kfg's and kfg-shortcut's check and words); its files may be missing.
    bool OpenFolderOnly();

    telvio::Edition Edition() const { return edition_; }
    std::string_view ViewerSection() const;
    std::filesystem::path ViewerFile() const;
    std::filesystem::path ManagerFile() const;
    // Whether the folder holds "KFG.ini" (any letter case, a link followed); kfg's first run
    // creates it.
    bool HasManagerFile() const;
    const std::filesystem::path& Path() const { return path_; }
    settings::ProfileStore& Store() { return store_; }
    const Environment& Env() const { return environment_; }
    std::ostream& Out() { return out_; }
    // The captions' language of the stored "Fr", as the dialog shows lists.
    texts::TextLanguage CaptionLanguage();

    // The section of configuration `name` (UTF-8 as typed): the name checked as the dialog
    // checks it and, when `mustExist`, found in "KFG.ini". Nothing, after saying why, else.
    std::optional<std::string> ConfigurationSection(std::string_view name, bool mustExist);

    // Reads `section` of `file` with the edition's keys and defaults.
    LoadedSettings Load(const std::filesystem::path& file, std::string_view section);

    // Writes `loaded` into `section` of `file` as a save after showing it writes it: check
    // boxes as they show, nothing when a checked key lies outside its range (refused, said).
    // With `soundOptions`, [KFG] "SoundInit" and "LineIn" first, as the stored ones show.
    // Everything in one replacement per file.
    Saved Save(LoadedSettings loaded, const std::filesystem::path& file, std::string_view section,
               std::string_view shownSection, bool soundOptions);

    // Says `message` on the error stream ("kfgctl: ..."); returns ExitStatus::Refused.
    ExitStatus Refuse(Message message, std::initializer_list<std::string_view> values = {});
    ExitStatus Refuse(std::string_view text);
    // Says which files the collector saw fail, one line each; Refused when any did.
    ExitStatus Told(const settings::ProfileStore::FailureCollector& failures);

private:
    const Environment& environment_;
    std::filesystem::path path_;
    std::ostream& out_;
    std::ostream& err_;
    settings::ProfileStore store_;
    telvio::Edition edition_ = telvio::kUndetectedEdition;
};

} // namespace kfg::ctl
