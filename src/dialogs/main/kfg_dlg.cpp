#include "dialogs/main/kfg_dlg.h"

#include "dialogs/main/edition_layout.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "res/icons.h"
#include "res/template_102.h"
#include "settings/edition_detection.h"
#include "settings/process_state.h"

#include <QIcon>
#include <array>

namespace kfg::dialogs {
namespace {

struct SpinRange {
    int id;
    int low;
    int high;
};

// The spins' own limits; they differ from the fields' check ranges on purpose (8 and 1 at
// the bottom), and they wrap round at both ends.
constexpr std::array<SpinRange, 5> kSpinRanges{{
    {res::kIdTestLinesSpin, 8, 99},
    {res::kIdBrightnessSpin, 1, 255},
    {res::kIdColourSpin, 1, 511},
    {res::kIdContrastSpin, 1, 511},
    {res::kIdBorderHeightSpin, 0, 80},
}};

struct CommandName {
    int id;
    const char* german;
};

// Icon buttons show no text; screen readers name them by their command.
constexpr std::array<CommandName, 4> kIconButtonNames{{
    {res::kIdStart, "Start"},
    {res::kIdSaveConfiguration, "Speichern"},
    {res::kIdShowConfiguration, "Anzeigen"},
    {res::kIdDeleteConfiguration, "Löschen"},
}};

QIcon LoadIcon(int id) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(id));
}

} // namespace

const char* const CKfgDlg::kMissingViewerSettingsText =
    "Telvio.ini nicht vorhanden\nBitte ins Telvio-Verzeichnis kopieren\nTelvio.ini no existe.\n"
    "Copialo en el directorio TLV ZAV";
const char* const CKfgDlg::kMissingViewerSettingsCaption = "Fehler";

CKfgDlg::CKfgDlg(settings::ProcessState& state, settings::ProfileStore& store,
                 std::filesystem::path workingDirectory)
    : framework::Dialog(res::MainDialogTemplate())
    , state_(state)
    , store_(store)
    , workingDirectory_(std::move(workingDirectory)) {
    res::RegisterIcons();
    // The settings record and its initial values are not built yet.
    Map(framework::Notification::Clicked, res::kIdReapplyLayout, [this] { ApplyEditionLayout(); });
}

bool CKfgDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    SetWindowIcon(LoadIcon(res::kIconWindow));
    SetUpControls();
    // Not built yet: binding LineInMute to the line-in mute control; without a binding the
    // switch stays disabled, as it does on a machine without a mixer.
    EnableItem(res::kIdLineInMute, false);
    LoadSettings("Telvio");
    ApplyEditionLayout();
    state_.DialogInitialised = 1;
    return true;
}

void CKfgDlg::SetUpControls() {
    for (const SpinRange& spin : kSpinRanges) {
        SetSpinRange(spin.id, spin.low, spin.high);
    }
    // The icon buttons get their pictures from the template.
    for (const CommandName& command : kIconButtonNames) {
        SetAccessibleName(command.id, QString::fromUtf8(command.german));
    }
    for (int slot = 0; slot < res::kMemorySlotCount; ++slot) {
        SetAccessibleName(res::kMemorySlotIds[static_cast<std::size_t>(slot)],
                          QStringLiteral("Speicher %1").arg(slot));
    }
}

void CKfgDlg::DoDataExchange(framework::DataExchange& exchange) {
    for (framework::Control& control : controls_.All()) {
        exchange.Bind(control);
    }
    // Not built yet: the exchange table of the settings record.
}

void CKfgDlg::LoadSettings(std::string_view /*source*/) {
    UpdateData(true);
    if (state_.FirstLoadDone == 0) {
        RunOneTimeBlock();
    }
    // Not built yet: choosing the section and reading the keys, the exchange to the controls
    // and the window title naming the section.
}

void CKfgDlg::RunOneTimeBlock() {
    DetectEdition();
    // Not built yet: the scan of "KFG.ini" for configurations with the language prompt check,
    // or, without "KFG.ini", the language and display-mode prompts.
    // Not built yet: filling the choice lists with the caption language and sound options.
    // Not built yet: the index-file scan.
    state_.FirstLoadDone = 1;
    // Not built yet: starting the stored audio decoder.
}

void CKfgDlg::DetectEdition() {
    const settings::EditionDetection found = settings::DetectEdition(workingDirectory_, store_);
    if (!found.fileFound) {
        framework::MessageBox(this, QString::fromUtf8(kMissingViewerSettingsText),
                              QString::fromUtf8(kMissingViewerSettingsCaption));
        // Ends the dialog through the base OK command; initialisation still runs to its end.
        framework::Dialog::OnOK();
        return;
    }
    state_.Edition = found.edition;
    state_.IndexPrefixFlag = found.indexPrefixFlag;
}

void CKfgDlg::ApplyEditionLayout() {
    const EditionMask edition = Bit(state_.Edition);
    for (const LayoutRow& row : EditionLayoutTable()) {
        if ((row.touchedIn & edition) != 0) {
            ShowItem(row.id, (row.shownIn & edition) != 0);
        }
    }
    const std::string_view label = VersionLabel(state_.Edition);
    SetItemText(res::kIdVersionLabel,
                QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
}

void CKfgDlg::OnOK() {
    // Not built yet: writing [KFG] "SoundInit" and "LineIn" when the sound options changed.
    framework::Dialog::OnOK();
}

void CKfgDlg::OnClose() {
    framework::Dialog::OnOK();
}

} // namespace kfg::dialogs
