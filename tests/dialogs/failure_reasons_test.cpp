// Writes the user asked for that did not reach the disk are told, one message per command,
// in the language of the dialog that wrote them.
#include "dialogs/main/kfg_dlg.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::TempDir;
using test::WriteBytes;

// A disk that is full after `bytes` bytes of any file: the process's file size limit, with
// SIGXFSZ ignored so that the write fails with EFBIG instead of ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*previous_)(int) = nullptr;
};

struct SaveFailureCase {
    const char* what;
    const char* viewerFile; // the name "Telvio.ini" has on disk
    mode_t viewerMode;
    const char* managerText; // "KFG.ini"; nullptr: there is none (a first run)
    mode_t managerMode;
    rlim_t fileSizeLimit;
    std::function<void(CKfgDlg&)> onMain;
    std::function<void(framework::Dialog&)> onSide;
    std::vector<std::string> messages; // "caption: text", in order
};

void ChooseSpanish(framework::Dialog& side) {
    if (side.Template().id == res::kLanguageDialogId) {
        side.SetCheck(res::kIdGerman, 0);
        side.SetCheck(res::kIdSpanish, 1);
        side.Click(framework::IDOK);
    } else {
        side.Click(res::kIdSaveAndClose);
    }
}

TEST(KfgSaveFailures, EachCommandTellsTheFilesItCouldNotSave) {
    constexpr rlim_t kNoLimit = RLIM_INFINITY;
    const auto start = [](CKfgDlg& d) {
        d.SetItemText(res::kIdTestLines, "33");
        d.Click(res::kIdStart);
    };
    const SaveFailureCase cases[] = {
        {"Start after an edit, read-only Telvio.ini: before the hand-over's message",
         "Telvio.ini",
         0444,
         "[KFG]\r\nFr=0\r\n",
         0644,
         kNoLimit,
         start,
         {},
         {"Fehler: Telvio.ini konnte nicht gespeichert werden: keine Schreibrechte",
          "Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden"}},
        {"Start writing both files, Spanish, names as spelled on disk",
         "TELVIO.INI",
         0444,
         "[KFG]\r\nFr=1\r\n",
         0444,
         kNoLimit,
         [&](CKfgDlg& d) {
             d.Click(res::kIdSoundInit);
             start(d);
         },
         {},
         {"Error: No se pudo guardar TELVIO.INI: sin permiso de escritura\nNo se pudo guardar "
          "KFG.ini: sin permiso de escritura",
          "Error: No se pudo iniciar Telvio.exe: el fichero no existe"}},
        {"Beenden in the caption language in force",
         "Telvio.ini",
         0644,
         "[KFG]\r\nFr=1\r\n",
         0444,
         kNoLimit,
         [](CKfgDlg& d) {
             d.Click(res::kIdLanguageToggle); // to German; counts as a changed sound option
             d.Click(res::kIdExit);
         },
         {},
         {"Fehler: KFG.ini konnte nicht gespeichert werden: keine Schreibrechte"}},
        {"a named save on a full disk",
         "Telvio.ini",
         0644,
         "[KFG]\r\nFr=0\r\n",
         0644,
         20,
         [](CKfgDlg& d) {
             d.SetItemText(res::kIdConfigurationField, "Abend");
             d.Click(res::kIdSaveConfiguration);
             d.EndDialog(framework::IDCANCEL);
         },
         {},
         {"Fehler: KFG.ini konnte nicht gespeichert werden: Datenträger voll"}},
        {"deleting a named configuration",
         "Telvio.ini",
         0644,
         "[KFG]\r\nFr=0\r\n[Abend]\r\nFarbe=1\r\n",
         0444,
         kNoLimit,
         [](CKfgDlg& d) {
             d.SetItemText(res::kIdConfigurationField, "Abend");
             d.Click(res::kIdDeleteConfiguration);
             d.EndDialog(framework::IDCANCEL);
         },
         {},
         {"Fehler: KFG.ini konnte nicht gespeichert werden: keine Schreibrechte"}},
        {"the decoder dialog speaks its own language",
         "Telvio.ini",
         0644,
         "[KFG]\r\nFr=1\r\n",
         0444,
         kNoLimit,
         [](CKfgDlg& d) {
             d.Click(res::kIdLanguageToggle);
             d.Click(res::kIdAudioDecoder);
             d.EndDialog(framework::IDCANCEL);
         },
         [](framework::Dialog& side) {
             side.Click(res::kIdSonora);
             side.Click(framework::IDOK);
         },
         {"Error: No se pudo guardar KFG.ini: sin permiso de escritura"}},
        {"the asked-for language prompt: the request's deletion stays silent",
         "Telvio.ini",
         0644,
         "[KFG]\r\nSprox=0\r\nFr=0\r\n",
         0444,
         kNoLimit,
         {},
         ChooseSpanish,
         {"Error: No se pudo guardar KFG.ini: sin permiso de escritura"}},
        {"first run on a full disk: each prompt in its own language",
         "Telvio.ini",
         0644,
         nullptr,
         0,
         1,
         {},
         ChooseSpanish,
         {"Error: No se pudo guardar KFG.ini: disco lleno",
          "Fehler: KFG.ini konnte nicht gespeichert werden: Datenträger voll"}},
    };
    for (const SaveFailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteBytes(dir / c.viewerFile, "[Telvio]\r\nStatus=1\r\nTestzeilen=20\r\n");
        ::chmod((dir / c.viewerFile).c_str(), c.viewerMode);
        if (c.managerText != nullptr) {
            WriteBytes(dir / "KFG.ini", c.managerText);
            ::chmod((dir / "KFG.ini").c_str(), c.managerMode);
        }
        const FileSizeLimit limit(c.fileSizeLimit);
        KfgRun run(dir.path(), c.onMain, c.onSide);
        EXPECT_EQ(run.script.Messages(), c.messages);
    }
}

} // namespace
} // namespace kfg::dialogs
