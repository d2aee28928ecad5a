#include "ctl/ctl_folder.h"

#include "cli/folder_argument.h"
#include "platform/name_lookup.h"
#include "settings/profile_document.h"
#include "settings/windows1252.h"
#include "telvio/configuration_names.h"
#include "telvio/edition_detection.h"
#include "telvio/edition_facts.h"
#include "telvio/kfg_keys.h"
#include "telvio/save_rules.h"
#include "telvio/viewer_keys.h"
#include "texts/failure_reasons.h"

#include <ostream>
#include <system_error>

namespace kfg::ctl {

Folder::Folder(const Environment& environment, std::filesystem::path path, std::ostream& out,
               std::ostream& err)
    : environment_(environment)
    , path_(std::move(path))
    , out_(out)
    , err_(err)
    , store_({}, {}, environment.history) {}

bool Folder::OpenFolderOnly() {
    const cli::FolderRefusal refusal = cli::CheckFolderArgument(path_);
    if (refusal != cli::FolderRefusal::None) {
        Refuse(cli::FolderRefusalText(refusal, path_.native(), environment_.language));
        return false;
    }
    return true;
}

bool Folder::Open() {
    if (!OpenFolderOnly()) {
        return false;
    }
    const telvio::EditionDetection found = telvio::DetectEdition(path_, store_);
    if (!found.fileFound) {
        Refuse(Message::MissingViewerSettings, {path_.string()});
        return false;
    }
    edition_ = found.edition;
    return true;
}

std::string_view Folder::ViewerSection() const {
    return telvio::ViewerSectionFor(edition_);
}

std::filesystem::path Folder::ViewerFile() const {
    return path_ / telvio::kViewerSettingsFile;
}

std::filesystem::path Folder::ManagerFile() const {
    return path_ / telvio::kManagerFile;
}

bool Folder::HasManagerFile() const {
    std::error_code error;
    // Through links: a save through a dangling one would create the file kfg's first run
    // makes. An entry that is there but no readable file the store refuses to write, and says.
    return std::filesystem::exists(std::filesystem::status(
        platform::FindIgnoringCase(path_, telvio::kManagerFile).path, error));
}

texts::TextLanguage Folder::CaptionLanguage() {
    return telvio::CaptionLanguageAtStartUp(telvio::ReadKfgNumber(
        store_, ManagerFile(), telvio::KfgKey::Fr, telvio::KfgReader::StartUp));
}

std::optional<std::string> Folder::ConfigurationSection(std::string_view name, bool mustExist) {
    // Blanks around the name go as in the dialog's field; a longer name is refused rather
    // than cut, since nobody sees what was cut off.
    const std::optional<std::string> section =
        settings::Windows1252FromUtf8(settings::TrimBlanks(name));
    const telvio::NameProblem problem = telvio::CheckConfigurationName(section);
    if (problem != telvio::NameProblem::None) {
        Refuse(telvio::NameProblemText(problem, environment_.language));
        return std::nullopt;
    }
    if (mustExist && !store_.HasSection(ManagerFile(), *section)) {
        Refuse(Message::UnknownConfiguration, {settings::Utf8FromWindows1252(*section)});
        return std::nullopt;
    }
    return section;
}

LoadedSettings Folder::Load(const std::filesystem::path& file, std::string_view section) {
    LoadedSettings loaded;
    loaded.state.Edition = edition_;
    telvio::LoadViewerKeys(store_, file, section, edition_, loaded.record, loaded.state);
    return loaded;
}

Saved Folder::Save(LoadedSettings loaded, const std::filesystem::path& file,
                   std::string_view section, std::string_view shownSection, bool soundOptions) {
    telvio::NormaliseForSave(loaded.record);
    if (const telvio::ViewerKey* key =
            telvio::FirstOutOfRange(loaded.record, loaded.state, edition_)) {
        Refuse(Message::StoredOutOfRange,
               {shownSection, key->name,
                std::to_string(telvio::KeyValue(*key, loaded.record, loaded.state)),
                std::to_string(key->values.low), std::to_string(key->values.high)});
        return Saved::Refused;
    }
    const auto failures = store_.CollectFailures();
    {
        auto gathered = store_.Gather();
        if (soundOptions) {
            const auto stored = [&](telvio::KfgKey key) {
                return telvio::ReadKfgNumber(store_, ManagerFile(), key,
                                             telvio::KfgReader::StartUp) != 0;
            };
            telvio::WriteSoundOptions(store_, ManagerFile(), stored(telvio::KfgKey::SoundInit),
                                      stored(telvio::KfgKey::LineIn));
        }
        telvio::SaveViewerKeys(store_, file, section, edition_, loaded.record, loaded.state);
    }
    return Told(failures) == ExitStatus::Done ? Saved::Written : Saved::WriteFailed;
}

ExitStatus Folder::Refuse(Message message, std::initializer_list<std::string_view> values) {
    return Refuse(Text(message, environment_.language, values));
}

ExitStatus Folder::Refuse(std::string_view text) {
    err_ << "kfgctl: " << text << '\n';
    return ExitStatus::Refused;
}

ExitStatus Folder::Told(const settings::ProfileStore::FailureCollector& failures) {
    const std::vector<settings::ProfileFailure> failed = failures.FirstPerFile();
    for (const settings::ProfileFailure& failure : failed) {
        Refuse(texts::SaveFailureMessage(failure.file.filename().string(), failure.error,
                                         environment_.language));
    }
    return failed.empty() ? ExitStatus::Done : ExitStatus::Refused;
}

} // namespace kfg::ctl
