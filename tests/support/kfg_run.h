#pragma once

#include "dialogs/main/kfg_dlg.h"
#include "headless/main_dialog_parts.h"
#include "platform/save_history.h"
#include "support/modal_script.h"
#include "support/recording_starter.h"
#include "support/temp_dir.h"

#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace kfg::test {

// "Telvio.ini" of each edition, by edition value: V283, Erazor, V31, V311, V283Quik, V320.
inline constexpr std::array<const char*, 6> kEditionFiles = {
    "[Telvio]\r\nOptimierungBT=1\r\n",
    "[Telvio-Erazor]\r\nLine-In=1\r\n",
    "[Telvio]\r\nStatus=0\r\n",
    "[Telvio]\r\nStatus=0\r\nTurbo=1\r\n",
    "[Telvio]\r\nOptimierungBT=1\r\nAccel=5\r\n",
    "[Telvio]\r\nStatus=1\r\nProportional=1\r\n",
};
inline constexpr const char* kV31 = "[Telvio]\r\nStatus=1\r\n";

// A Telvio folder holding `telvio` as "Telvio.ini" and, unless null, `kfg` as "KFG.ini".
struct TelvioFolder : TempDir {
    explicit TelvioFolder(std::string_view telvio = kV31) {
        WriteBytes(*this / "Telvio.ini", telvio);
    }
    TelvioFolder(std::string_view telvio, const char* kfg)
        : TelvioFolder(telvio) {
        if (kfg != nullptr) {
            WriteBytes(*this / "KFG.ini", kfg);
        }
    }
    TelvioFolder(std::string_view telvio, const std::string& kfg)
        : TelvioFolder(telvio, kfg.c_str()) {}
};

// What a run starts with besides the folder: the starter's answers, a sound card, a file
// system that counts, the history saves keep their states in (one of the run's own, in a
// temporary folder, unless given: runs that share one see each other's states).
struct KfgParts {
    RecordingStarter starter{};
    std::shared_ptr<mixer::MixerApi> card{};
    std::shared_ptr<platform::FileSystem> files{};
    std::shared_ptr<platform::SaveHistory> history{};
};

// A history of saves in a temporary folder of its own, removed with it.
struct PrivateHistory {
    TempDir stateHome;
    std::shared_ptr<platform::SaveHistory> history =
        std::make_shared<platform::SaveHistory>(platform::StateFolder(stateHome / "kfg"));
};

using MainAction = std::function<void(dialogs::CKfgDlg&)>;
using SideAction = std::function<void(framework::Dialog&)>;

// Runs the main dialog over `folder` at once; `whileUp` acts on the main dialog while it is
// modal (side dialogs that come up are cancelled unless `onSide` handles them) and the dialog
// is cancelled afterwards unless the action ended it. Message boxes are answered with OK.
struct KfgRun : PrivateHistory, headless::MainDialogParts {
    RecordingStarter starter;
    ModalScript script;
    int result = 0;

    explicit KfgRun(const std::filesystem::path& folder, MainAction whileUp = {},
                    SideAction onSide = {}, KfgParts parts = {})
        : MainDialogParts(std::move(parts.card), std::move(parts.files),
                          parts.history ? parts.history : history)
        , starter(std::move(parts.starter))
        , script([whileUp, onSide](framework::Dialog& dialog) {
            if (auto* main = dynamic_cast<dialogs::CKfgDlg*>(&dialog)) {
                if (whileUp) {
                    whileUp(*main);
                }
            } else if (onSide) {
                onSide(dialog);
            }
        }) {
        result = Run(folder, starter);
    }
};

// A run as above over a fresh Telvio folder holding `telvio` and, unless `kfg` is empty, `kfg`
// as "KFG.ini"; the folder stays for the checks afterwards.
struct KfgRunIn : TelvioFolder, KfgRun {
    KfgRunIn(std::string_view telvio, const std::string& kfg, MainAction whileUp = {},
             SideAction onSide = {}, KfgParts parts = {})
        : TelvioFolder(telvio, kfg.empty() ? nullptr : kfg.c_str())
        , KfgRun(path(), std::move(whileUp), std::move(onSide), std::move(parts)) {}
};

// The entries of list `id`, in order.
inline QStringList ComboEntries(const framework::Dialog& dialog, int id) {
    QStringList entries;
    for (int i = 0; i < dialog.ComboCount(id); ++i) {
        entries << dialog.ComboItemText(id, i);
    }
    return entries;
}

} // namespace kfg::test
