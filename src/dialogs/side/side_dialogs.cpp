#include "dialogs/side/side_dialogs.h"

#include "dialogs/failure_reasons.h"
#include "platform/program_starter.h"
#include "res/icons.h"
#include "res/side_templates.h"
#include "settings/profile_store.h"
#include "telvio/kfg_keys.h"

#include <QString>

namespace kfg::dialogs {
namespace {

using telvio::KfgKey;

// The side dialogs read their keys into a 2-byte buffer: only the first character counts.
int SideDialogRead(settings::ProfileStore& store, const std::filesystem::path& file, KfgKey key) {
    return telvio::ReadKfgNumber(store, file, key, telvio::KfgReader::SideDialog);
}

texts::TextLanguage WantedLanguage(settings::ProfileStore& store,
                                   const std::filesystem::path& file) {
    return telvio::CaptionLanguageInSideDialog(SideDialogRead(store, file, KfgKey::Fr));
}

constexpr const char* kSpanishCredit = "versión Española";

} // namespace

const char* DecoderProgram(int choice) {
    switch (choice) {
    case 1:
        return "Sonora.exe";
    case 2:
        return "Tonalix.exe";
    default:
        return nullptr;
    }
}

CDisplayModeDlg::CDisplayModeDlg(settings::ProfileStore& store,
                                 std::filesystem::path workingDirectory)
    : framework::Dialog(res::DisplayModeDialogTemplate())
    , store_(store)
    , managerFile_(workingDirectory / telvio::kManagerFile) {
    Map(framework::Notification::Clicked, res::kIdSaveAndClose, [this] { OnSaveAndClose(); });
}

bool CDisplayModeDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog(); // every box starts unticked
    language_ = WantedLanguage(store_, managerFile_);
    if (language_ == texts::TextLanguage::Spanish) {
        SetTitle(QString::fromUtf8(kSpanishCredit));
        SetItemText(res::kDisplayModeBoxIds[0], QStringLiteral("En Ventana"));
        SetItemText(res::kDisplayModeBoxIds[1], QStringLiteral("En Ventana +"));
        SetItemText(res::kDisplayModeBoxIds[2], QStringLiteral("En Ventana ++"));
        SetItemText(res::kIdSaveAndClose, QStringLiteral("Selecciona y Pulsa   "));
        SetItemText(res::kIdDisplayModeText,
                    QStringLiteral("Copiar KFG en el directorio del  Telvio.\nSelecciona las "
                                   "resoluciones para configurar  \n          "));
    }
    return true;
}

void CDisplayModeDlg::OnSaveAndClose() {
    const auto failures = store_.CollectFailures();
    {
        // Only "1" is ever written, so a mode once enabled stays enabled; "0" always is.
        auto gathered = store_.Gather();
        for (std::size_t key = 0; key < res::kDisplayModeBoxIds.size(); ++key) {
            if (key == 0 || CheckState(res::kDisplayModeBoxIds[key]) == 1) {
                // A failure reaches the dialog's failure collector, which tells the user.
                (void)store_.WriteString(managerFile_, telvio::kManagerSection,
                                         telvio::DisplayModeKey(static_cast<int>(key)), "1");
            }
        }
    }
    ShowSaveFailures(this, failures.FirstPerFile(), language_);
    framework::Dialog::OnOK();
}

void CDisplayModeDlg::OnClose() {
    OnSaveAndClose();
}

CLanguageDlg::CLanguageDlg(settings::ProfileStore& store, std::filesystem::path workingDirectory)
    : framework::Dialog(res::LanguageDialogTemplate())
    , store_(store)
    , managerFile_(workingDirectory / telvio::kManagerFile) {
    res::RegisterIcons();
}

bool CLanguageDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    SetCheck(res::kIdGerman, 1); // German is always preselected
    return true;
}

void CLanguageDlg::OnOK() {
    const texts::TextLanguage chosen = CheckState(res::kIdSpanish) == 1
                                           ? texts::TextLanguage::Spanish
                                           : texts::TextLanguage::German;
    const auto failures = store_.CollectFailures();
    // Told below, from the failure collector.
    (void)store_.WriteString(managerFile_, telvio::kManagerSection, telvio::Info(KfgKey::Fr).name,
                             chosen == texts::TextLanguage::Spanish ? "1" : "0");
    // In the language just chosen: the one "Fr" was to hold.
    ShowSaveFailures(this, failures.FirstPerFile(), chosen);
    framework::Dialog::OnOK();
}

CAudioDecoderDlg::CAudioDecoderDlg(settings::ProfileStore& store, platform::ProgramStarter& starter,
                                   std::filesystem::path workingDirectory)
    : framework::Dialog(res::AudioDecoderDialogTemplate())
    , store_(store)
    , starter_(starter)
    , workingDirectory_(std::move(workingDirectory)) {}

bool CAudioDecoderDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    const std::filesystem::path file = workingDirectory_ / telvio::kManagerFile;
    language_ = WantedLanguage(store_, file);
    DecoderChoice = SideDialogRead(store_, file, KfgKey::Audio);
    if (language_ == texts::TextLanguage::Spanish) {
        SetTitle(QStringLiteral("Audio-Decoder "));
        SetItemText(res::kIdNoDecoder, QStringLiteral("Ningún Audiodecoder "));
        SetItemText(res::kIdStartDecoderAutomatically,
                    QStringLiteral("Lanzador  automático Audiodecoder"));
    }
    const int radio = DecoderChoice == 1   ? res::kIdSonora
                      : DecoderChoice == 2 ? res::kIdTonalix
                                           : res::kIdNoDecoder;
    SetCheck(radio, 1);
    SetCheck(res::kIdStartDecoderAutomatically, DecoderChoice != 0 ? 1 : 0);
    return true;
}

void CAudioDecoderDlg::OnOK() {
    DecoderChoice = CheckState(res::kIdSonora) == 1 ? 1 : CheckState(res::kIdTonalix) == 1 ? 2 : 0;
    const int remembered = CheckState(res::kIdStartDecoderAutomatically) == 1 ? DecoderChoice : 0;
    // Written first: every settings file is on disk before a program starts.
    const auto failures = store_.CollectFailures();
    (void)store_.WriteString(workingDirectory_ / telvio::kManagerFile, // told just below
                             telvio::kManagerSection, telvio::Info(KfgKey::Audio).name,
                             std::to_string(remembered));
    ShowSaveFailures(this, failures.FirstPerFile(), language_);
    if (const char* program = DecoderProgram(DecoderChoice)) {
        if (const std::error_code failed = starter_.Start(workingDirectory_, program, {})) {
            ShowStartFailure(this, workingDirectory_, program, failed, language_);
        }
    }
    framework::Dialog::OnOK();
}

} // namespace kfg::dialogs
