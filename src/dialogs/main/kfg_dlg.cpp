#include "dialogs/main/kfg_dlg.h"

#include "dialogs/main/edition_layout.h"
#include "dialogs/main/exchange_table.h"
#include "dialogs/main/language_captions.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "platform/program_starter.h"
#include "res/icons.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"
#include "settings/profile_store.h"
#include "settings/windows1252.h"
#include "telvio/choice_tables.h"
#include "telvio/edition_detection.h"
#include "telvio/edition_facts.h"
#include "telvio/kfg_keys.h"
#include "telvio/process_state.h"
#include "telvio/viewer_file_values.h"
#include "telvio/viewer_keys.h"

#include <QIcon>
#include <array>
#include <optional>

namespace kfg::dialogs {
namespace {

struct SpinRange {
    int id;
    int low;
    int high;
};

// The spins' own limits; they differ from the fields' check ranges on purpose (8 and 1 at
// the bottom), and they wrap round at both ends.
constexpr auto kSpinRanges = std::to_array<SpinRange>({
    {res::kIdTestLinesSpin, 8, 99},
    {res::kIdBrightnessSpin, 1, 255},
    {res::kIdColourSpin, 1, 511},
    {res::kIdContrastSpin, 1, 511},
    {res::kIdBorderHeightSpin, 0, 80},
});

constexpr bool SpinRangesHold() {
    for (const SpinRange& spin : kSpinRanges) {
        if (!res::IsMainControl(spin.id, framework::ControlKind::Spin) || spin.low > spin.high) {
            return false;
        }
    }
    return true;
}
static_assert(SpinRangesHold(), "a spin range names a control that is no spin, or is empty");

// The exact texts of the missing-"Telvio.ini" message.
constexpr const char* kMissingViewerSettingsText =
    "Telvio.ini nicht vorhanden\nBitte ins Telvio-Verzeichnis kopieren\nTelvio.ini no existe.\n"
    "Copialo en el directorio TLV ZAV";
constexpr const char* kMissingViewerSettingsCaption = "Fehler";

} // namespace

CKfgDlg::CKfgDlg(telvio::ProcessState& state, settings::ProfileStore& store,
                 platform::ProgramStarter& starter, std::shared_ptr<mixer::MixerApi> mixer,
                 std::filesystem::path workingDirectory)
    : framework::Dialog(res::MainDialogTemplate())
    , state_(state)
    , store_(store)
    , starter_(starter)
    , workingDirectory_(std::move(workingDirectory))
    , LineInMute(std::move(mixer))
    , displayModeDlg_(store, workingDirectory_)
    , languageDlg_(store, workingDirectory_)
    , audioDecoderDlg_(store, starter, workingDirectory_) {
    res::RegisterIcons();
    MapCommands();
    SetMenuEntries();
}

bool CKfgDlg::OnInitDialog() {
    // The record is filled in steps before the window shows (defaults, first-run choices, the
    // files); each step exchanged all values with the controls, which now take them once.
    HoldExchange(true);
    framework::Dialog::OnInitDialog();
    SetUpControls();
    // The mute control of the line-in source on the speakers; without one the box stays
    // disabled, silently (kfg.mixer says why). The switch handles the box's clicks itself.
    LineInMute.Attach(*this, res::kIdLineInMute);
    (void)LineInMute.Init(mixer::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                          mixer::MIXERLINE_COMPONENTTYPE_SRC_LINE,
                          mixer::MIXERCONTROL_CONTROLTYPE_MUTE, 0);
    LoadSettings(SettingsSource::Telvio);
    HoldExchange(false);
    UpdateData(false);
    ApplyEditionLayout();
    state_.DialogInitialised = true;
    return true;
}

void CKfgDlg::SetUpControls() {
    for (const SpinRange& spin : kSpinRanges) {
        SetSpinRange(spin.id, spin.low, spin.high);
    }
    // The icon buttons get their pictures from the template.
    NameControlsForLanguage();
}

void CKfgDlg::NameControlsForLanguage() {
    const bool spanish = CaptionLanguage() == texts::TextLanguage::Spanish;
    for (const std::span<const ControlName> names : {IconButtonNames(), ListNames()}) {
        for (const ControlName& control : names) {
            SetAccessibleName(control.id,
                              QString::fromUtf8(spanish ? control.spanish : control.german));
        }
    }
    for (int slot = 0; slot < res::kMemorySlotCount; ++slot) {
        SetAccessibleName(
            res::kMemorySlotIds[static_cast<std::size_t>(slot)],
            (spanish ? QStringLiteral("Memoria %1") : QStringLiteral("Speicher %1")).arg(slot));
    }
}

void CKfgDlg::DoDataExchange(framework::DataExchange& exchange) {
    for (const ExchangeRow& row : MainExchangeTable()) {
        switch (row.kind) {
        case ExchangeKind::Check:
            exchange.Check(row.id, NumberOf(row));
            break;
        case ExchangeKind::Integer:
            exchange.Integer(row.id, NumberOf(row));
            break;
        case ExchangeKind::IntegerRange:
            // A value the edition never writes cannot reach a file, so a message about it
            // would only block the dialog: its loaded value passes through unchecked.
            if (EditionNeverSaves(row, state_.Edition)) {
                exchange.Integer(row.id, NumberOf(row));
            } else {
                exchange.Integer(row.id, NumberOf(row), row.low, row.high);
            }
            break;
        case ExchangeKind::ListText:
            exchange.ListText(row.id, record_.*(row.text));
            break;
        case ExchangeKind::ListPosition:
            exchange.ListPosition(row.id, NumberOf(row));
            break;
        }
    }
}

int& CKfgDlg::NumberOf(const ExchangeRow& row) {
    return row.slot >= 0 ? record_.Memory[static_cast<std::size_t>(row.slot)]
                         : record_.*(row.number);
}

std::filesystem::path CKfgDlg::ManagerFile() const {
    return workingDirectory_ / telvio::kManagerFile;
}

std::filesystem::path CKfgDlg::ViewerFile() const {
    return workingDirectory_ / telvio::kViewerSettingsFile;
}

void CKfgDlg::ToggleLanguage() {
    ShowCaptionsIn(CaptionLanguage() == texts::TextLanguage::Spanish
                       ? texts::TextLanguage::German
                       : texts::TextLanguage::Spanish);
}

void CKfgDlg::ShowCaptionsIn(texts::TextLanguage language) {
    if (language == texts::TextLanguage::Spanish) {
        record_.Secam = 1;
        for (const CaptionRow& caption : SpanishCaptions()) {
            SetItemText(caption.id, QString::fromUtf8(caption.text));
        }
    } else {
        // Back to German only the label fields change; the other captions stay Spanish.
        for (const CaptionRow& caption : GermanLabelTexts()) {
            SetItemText(caption.id, QString::fromUtf8(caption.text));
        }
        record_.Secam = 0;
    }
    state_.LanguageFlag = language;
    // Check box 1084 mirrors the language: checked while Spanish is in force.
    SetCheck(res::kIdLanguageToggle, language == texts::TextLanguage::Spanish ? 1 : 0);
    // The input checks speak the captions' language from now on.
    SetLanguage(language);
    UpdateData(false);
    if (state_.DialogInitialised) {
        record_.SoundOptionsChanged = 1;
    }
    NameControlsForLanguage();
    SetMenuEntries();
}

void CKfgDlg::LoadSettings(SettingsSource source) {
    UpdateData(true); // a failing check shows its message; the load overwrites anyway
    if (!state_.FirstLoadDone) {
        RunOneTimeBlock();
    }
    std::filesystem::path file = ManagerFile();
    if (source == SettingsSource::Telvio) {
        file = ViewerFile();
        state_.ActiveSection = std::string(telvio::ViewerSectionFor(state_.Edition));
    }
    telvio::LoadViewerKeys(store_, file, state_.ActiveSection, state_.Edition, record_, state_);
    if (source == SettingsSource::Telvio) {
        // What Start tells another program's changes by: the values just read, before the
        // exchange below normalises any of them. Showing a configuration changes the window's
        // values, not what the disk holds, so it keeps the baseline.
        viewerFileBaseline_ =
            telvio::ViewerFileValuesOf(state_.Edition, store_.HasFile(file), record_, state_);
    }
    telvio::ChoiceTextsFromIndices(record_, state_);
    UpdateData(false);
    // Section names are Windows-1252 in the files.
    SetTitle(QStringLiteral("KFG – %1")
                 .arg(QString::fromStdString(settings::Utf8FromWindows1252(state_.ActiveSection))));
}

bool CKfgDlg::SaveSettings(SettingsSource target) {
    if (!TakeWindowValues()) {
        return false;
    }
    WriteSettings(target);
    return true;
}

bool CKfgDlg::TakeWindowValues() {
    ChoiceIndicesFromTexts();
    // A failing check has shown its message and selected the field: nothing is written, so no
    // half-taken record reaches a file.
    return UpdateData(true);
}

void CKfgDlg::WriteSettings(SettingsSource target) {
    const auto failures = store_.CollectFailures();
    {
        // Everything this save writes reaches each file in one replacement, before returning.
        auto gathered = store_.Gather();
        std::filesystem::path file = ManagerFile();
        if (target == SettingsSource::Telvio) {
            file = ViewerFile();
            state_.ActiveSection = std::string(telvio::ViewerSectionFor(state_.Edition));
        } else {
            WriteSoundOptions(); // a named save always stores them, first
        }
        telvio::SaveViewerKeys(store_, file, state_.ActiveSection, state_.Edition, record_, state_);
    }
    // The window now holds what the file holds. After a failed save the disk still holds what
    // it held, and any change made there meanwhile is still to be asked about.
    if (target == SettingsSource::Telvio && failures.Failures().empty()) {
        viewerFileBaseline_ = telvio::ReadViewerFileValues(store_, ViewerFile(), state_.Edition);
    }
}

void CKfgDlg::RunOneTimeBlock() {
    if (!DetectEdition()) {
        // "Telvio.ini" is missing and KFG is ending: no prompt, no file, no decoder here.
        state_.FirstLoadDone = true;
        return;
    }
    if (ScanConfigurationSections()) {
        CheckLanguagePrompt();
    } else {
        // First run: the language, then for the 3.x editions the display modes to offer.
        languageDlg_.DoModal();
        if (telvio::FactsOf(state_.Edition).family == telvio::EditionFamily::V3x) {
            displayModeDlg_.DoModal();
        }
    }
    FillLists();
    ScanIndexFiles();
    state_.FirstLoadDone = true;
    StartDecoderAutomatically();
}

void CKfgDlg::StartDecoderAutomatically() {
    const int choice = telvio::ReadKfgNumber(store_, ManagerFile(), telvio::KfgKey::Audio,
                                             telvio::KfgReader::StartUp);
    if (const char* program = DecoderProgram(choice)) {
        // Not announced: the starter has logged a failure to kfg.launch already.
        (void)starter_.Start(workingDirectory_, program, {});
    }
}

bool CKfgDlg::DetectEdition() {
    const telvio::EditionDetection found = telvio::DetectEdition(workingDirectory_, store_);
    if (!found.fileFound) {
        framework::MessageBox(this, QString::fromUtf8(kMissingViewerSettingsText),
                              QString::fromUtf8(kMissingViewerSettingsCaption));
        // Ends the dialog through the base OK command; initialisation still runs to its end.
        framework::Dialog::OnOK();
        return false;
    }
    state_.Edition = found.edition;
    state_.IndexPrefixFlag = found.indexPrefixFlag;
    return true;
}

namespace {

void AddRows(framework::Dialog& dialog, int id, const telvio::ChoiceTable& table) {
    for (const std::string_view row : table.rows) {
        dialog.ComboAddString(id,
                              QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size())));
    }
}

std::string ShownText(const framework::Dialog& dialog, int id) {
    // The platform reads at most 29 characters of a list's text.
    return dialog.ItemText(id).left(29).toStdString();
}

} // namespace

void CKfgDlg::FillLists() {
    const std::filesystem::path file = ManagerFile();
    const auto startUpRead = [&](telvio::KfgKey key) {
        return telvio::ReadKfgNumber(store_, file, key, telvio::KfgReader::StartUp);
    };
    ShowCaptionsIn(telvio::CaptionLanguageAtStartUp(startUpRead(telvio::KfgKey::Fr)));
    SetCheck(res::kIdSoundInit, startUpRead(telvio::KfgKey::SoundInit));
    SetCheck(res::kIdSoundLineIn, startUpRead(telvio::KfgKey::LineIn));

    // Only the display modes the user enabled are offered, in row order.
    const telvio::ChoiceTable& modes = telvio::DisplayModes3xFor(CaptionLanguage());
    for (int row = 0; row < telvio::kDisplayModes3xRows; ++row) {
        if (store_.GetInt(file, telvio::kManagerSection, telvio::DisplayModeKey(row),
                          telvio::kDisplayModeKeyDefault) == 1) {
            const std::string_view text = *telvio::RowText(modes, row);
            ComboAddString(res::kIdDisplayMode3x,
                           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
    }
    AddRows(*this, res::kIdTunerList, telvio::Tuners);
    AddRows(*this, res::kIdCardList3x, telvio::Cards3xFor(state_.Edition));
    AddRows(*this, res::kIdDisplayMode283, telvio::DisplayModes283);
    AddRows(*this, res::kIdCardList283, telvio::Cards283);
    AddRows(*this, res::kIdDisplayModeErazor, telvio::DisplayModesErazor);
    AddRows(*this, res::kIdCardListErazor, telvio::CardsErazor);
    AddRows(*this, res::kIdInterpolationList, telvio::InterpolationModes);
}

void CKfgDlg::ChoiceIndicesFromTexts() {
    telvio::ListTexts shown;
    shown.tuner = ShownText(*this, res::kIdTunerList);
    shown.displayMode3x = ShownText(*this, res::kIdDisplayMode3x);
    shown.displayMode283 = ShownText(*this, res::kIdDisplayMode283);
    shown.displayModeErazor = ShownText(*this, res::kIdDisplayModeErazor);
    shown.card3x = ShownText(*this, res::kIdCardList3x);
    shown.card283 = ShownText(*this, res::kIdCardList283);
    shown.cardErazor = ShownText(*this, res::kIdCardListErazor);
    shown.interpolation = ShownText(*this, res::kIdInterpolationList);
    telvio::ChoiceIndicesFromTexts(shown, state_);
}

void CKfgDlg::ApplyEditionLayout() {
    const EditionMask edition = Bit(state_.Edition);
    for (const LayoutRow& row : EditionLayoutTable()) {
        if ((row.touchedIn & edition) != 0) {
            ShowItem(row.id, (row.shownIn & edition) != 0);
        }
    }
    // What the edition shows but never saves is disabled, so that nothing typed there is lost
    // silently: the field of a key it does not write, that field's spin, and a default button
    // that resets none of the keys it writes. Other controls keep their state.
    for (const ExchangeRow& row : MainExchangeTable()) {
        EnableItem(row.id, !EditionNeverSaves(row, state_.Edition));
    }
    for (const ResetButtonRow& button : ResetButtonTable()) {
        EnableItem(button.id, ResetsAKeyTheEditionWrites(button, state_.Edition));
    }
    for (const framework::ControlTemplate& control : res::MainDialogTemplate().controls) {
        if (control.kind == framework::ControlKind::Spin && control.buddy != 0) {
            EnableItem(control.id, IsItemEnabled(control.buddy)); // a field of the pass above
        }
    }
    const std::string_view label = VersionLabel(state_.Edition);
    SetItemText(res::kIdVersionLabel,
                QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
}

} // namespace kfg::dialogs
