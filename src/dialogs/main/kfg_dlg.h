#pragma once

#include "dialogs/chooser/shown_paths.h"
#include "dialogs/side/side_dialogs.h"
#include "framework/dialog.h"
#include "framework/qt_translations.h"
#include "mixer/mixer_switch.h"
#include "telvio/settings_record.h"
#include "telvio/viewer_file_values.h"
#include "telvio/viewer_key_table.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace kfg::settings {
class ProfileStore;
struct ProcessState;
} // namespace kfg::settings
namespace kfg::platform {
class ProgramStarter;
}

namespace kfg::dialogs {

struct ExchangeRow;

// Where settings are loaded from and saved to: the viewer's "Telvio.ini" in the section of its
// edition, or a named configuration (the section `ActiveSection`) in "KFG.ini".
enum class SettingsSource { Telvio, KFG };

// The main dialog: the viewer's settings for the detected edition, on template 102.
class CKfgDlg final : public framework::Dialog {
public:
    // Constructed with no parent window. Files are named relative to `workingDirectory`.
    // `mixer` is the sound card's mixer that the line-in switch (check box 1059) is bound to.
    CKfgDlg(telvio::ProcessState& state, settings::ProfileStore& store,
            platform::ProgramStarter& starter, std::shared_ptr<mixer::MixerApi> mixer,
            std::filesystem::path workingDirectory);

    // Loads the settings from `source`. The first call runs the one-time start-up block first.
    void LoadSettings(SettingsSource source);
    // Saves into `target`; a named configuration also stores the sound options, first.
    // False, with nothing written, when a field fails its check (its message shown).
    [[nodiscard]] bool SaveSettings(SettingsSource target);
    // False when "Telvio.ini" is missing: the message is shown and the dialog ended.
    bool DetectEdition();
    void FillLists();
    void ApplyEditionLayout();
    // Switches between the German and the Spanish captions.
    void ToggleLanguage();
    // The captions' language in force (German until the first load switches).
    texts::TextLanguage CaptionLanguage() const { return state_.LanguageFlag; }
    // Turns the texts the choice lists show into the stored indices.
    void ChoiceIndicesFromTexts();

    telvio::SettingsRecord& Record() { return record_; }

    // How paths are shown (the home folder as "~"); without it, as they are.
    void SetShownPaths(ShownPaths shown) { shownPaths_ = std::move(shown); }

    // Commands of the dialog (the dispatch table routes the controls' notifications here).
    void OnIndexFileSelected();
    void OnSaveConfiguration();
    void OnStart();
    void OnShowConfiguration();
    void OnReload();
    void OnTakeControls();
    void OnDefaults();
    void OnPictureDefaults();
    void OnAspect4To3();
    void OnAspect16To9();
    void OnAspect20To9();
    void OnSoundOptionClicked();
    void OnBlackLines();
    void OnPalPlus();
    void OnConfigurationTextChanged();
    void OnDeleteConfiguration();
    void OnHelp();
    void OnAudioDecoder();
    // The window of earlier states, from the window's own menu.
    void OnEarlierStates();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnClose() override;
    void OnEnter() override;
    void DoDataExchange(framework::DataExchange& exchange) override;

private:
    void MapCommands();
    void RunOneTimeBlock();
    bool ScanConfigurationSections();
    void CheckLanguagePrompt();
    void ScanIndexFiles();
    // The index-file list's text as an unsigned number; 0 when it is none.
    int ShownIndexNumber() const;
    // Reads the configuration field into `ActiveSection`; false (after telling the user why)
    // when the name cannot be used.
    bool TakeConfigurationName();
    int FindConfiguration(const std::string& name) const;
    // Saves as OnSaveConfiguration does, but asks first when "KFG.ini" already holds the name.
    void OnSaveConfigurationAsking();
    // Saves the configuration `ActiveSection` names, its name already checked.
    void SaveConfiguration();
    void WriteSoundOptions();
    // Turns the controls' texts into the record, checking every field; false after a failed
    // check's message, with nothing written.
    [[nodiscard]] bool TakeWindowValues();
    // Writes the record taken into `target`; a named configuration also stores the sound
    // options, first.
    void WriteSettings(SettingsSource target);
    // Whether Start may write "Telvio.ini": yes unless another program changed a value the save
    // would overwrite since the window loaded or saved the file, and the user then says no.
    [[nodiscard]] bool MayOverwriteViewerFile();
    void StartDecoderAutomatically();
    void SetPair(int id, int& member, int otherId, int& otherMember);
    // The record's number that an exchange row steps.
    int& NumberOf(const ExchangeRow& row);
    // Sets the controls of the keys default button `buttonId` resets.
    void ResetKeysOf(int buttonId);
    // Sets the controls of the keys `button` resets to the values it gives them.
    void SetKeysTo(telvio::ResetBy button);
    void SetUpControls();
    // Puts up the captions of `language`; SECAM follows them.
    void ShowCaptionsIn(texts::TextLanguage language);
    void NameControlsForLanguage();
    // The entries of the window's own menu, in the captions' language.
    void SetMenuEntries();
    // After a restore of `file` in the window of earlier states: the files loaded again as the
    // "Telvio.ini" button loads them, and the configuration list anew.
    void LoadRestored(std::string_view file);
    std::filesystem::path ManagerFile() const;
    std::filesystem::path ViewerFile() const;

    telvio::ProcessState& state_;
    settings::ProfileStore& store_;
    platform::ProgramStarter& starter_;
    std::filesystem::path workingDirectory_;
    ShownPaths shownPaths_{{}};
    framework::QtTranslations qtTranslations_; // the fields' edit menus in the captions' language

    // Members in the order they are built; destroyed in reverse.
    mixer::CMixerSwitch LineInMute;
    telvio::SettingsRecord record_;
    // What "Telvio.ini" held of the keys Start writes when the window last loaded or saved it.
    telvio::ViewerFileValues viewerFileBaseline_;
    CDisplayModeDlg displayModeDlg_;
    CLanguageDlg languageDlg_;
    CAudioDecoderDlg audioDecoderDlg_;
};

} // namespace kfg::dialogs
