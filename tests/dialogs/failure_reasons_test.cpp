// Writes the user asked for that did not reach the disk are told, one message per command,
// in the language of the dialog that wrote them.
#include "support/dialog_tests.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace kfg::dialogs {
namespace {

// A disk that is full after `bytes` bytes of any file: the process's file size limit, with
// SIGXFSZ ignored (for the rest of the program) so that the write fails with EFBIG instead of
// ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &before_);
        const rlimit limit{bytes, before_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &before_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
};

// The fields after `messages` hold what most cases share.
struct SaveFailureCase {
    const char* what;
    std::function<void(CKfgDlg&)> onMain{};
    std::function<void(framework::Dialog&)> onSide{};
    std::vector<std::string> messages;             // "caption: text", in order
    const char* managerText = "[KFG]\r\nFr=1\r\n"; // "KFG.ini"; nullptr: there is none
    mode_t managerMode = 0444;
    const char* viewerFile = "Telvio.ini"; // the name "Telvio.ini" has on disk
    mode_t viewerMode = 0644;
    rlim_t fileSizeLimit = RLIM_INFINITY;
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
    const auto start = [](CKfgDlg& d) {
        d.SetItemText(res::kIdTestLines, "33");
        d.Click(res::kIdStart);
    };
    const SaveFailureCase cases[] = {
        {.what = "Start after an edit, read-only Telvio.ini: before the hand-over's message",
         .onMain = start,
         .messages = {"Fehler: Telvio.ini konnte nicht gespeichert werden: keine Schreibrechte",
                      "Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden"},
         .managerText = "[KFG]\r\nFr=0\r\n",
         .managerMode = 0644,
         .viewerMode = 0444},
        {.what = "Start writing both files, Spanish, names as spelled on disk",
         .onMain =
             [&](CKfgDlg& d) {
                 d.Click(res::kIdSoundInit);
                 start(d);
             },
         .messages = {"Error: No se pudo guardar TELVIO.INI: sin permiso de escritura\nNo se "
                      "pudo guardar KFG.ini: sin permiso de escritura",
                      "Error: No se pudo iniciar Telvio.exe: el fichero no existe"},
         .viewerFile = "TELVIO.INI",
         .viewerMode = 0444},
        {.what = "Beenden in the caption language in force",
         .onMain =
             [](CKfgDlg& d) {
                 d.Click(res::kIdLanguageToggle); // to German; counts as a changed sound option
                 d.Click(res::kIdExit);
             },
         .messages = {"Fehler: KFG.ini konnte nicht gespeichert werden: keine Schreibrechte"}},
        {.what = "a named save on a full disk",
         .onMain =
             [](CKfgDlg& d) {
                 d.SetItemText(res::kIdConfigurationField, "Abend");
                 d.Click(res::kIdSaveConfiguration);
                 d.EndDialog(framework::IDCANCEL);
             },
         .messages = {"Fehler: KFG.ini konnte nicht gespeichert werden: Datenträger voll"},
         .managerText = "[KFG]\r\nFr=0\r\n",
         .managerMode = 0644,
         .fileSizeLimit = 20},
        {.what = "deleting a named configuration",
         .onMain =
             [](CKfgDlg& d) {
                 d.SetItemText(res::kIdConfigurationField, "Abend");
                 d.Click(res::kIdDeleteConfiguration);
                 d.EndDialog(framework::IDCANCEL);
             },
         .messages = {"Fehler: KFG.ini konnte nicht gespeichert werden: keine Schreibrechte"},
         .managerText = "[KFG]\r\nFr=0\r\n[Abend]\r\nFarbe=1\r\n"},
        {.what = "the decoder dialog speaks its own language",
         .onMain =
             [](CKfgDlg& d) {
                 d.Click(res::kIdLanguageToggle);
                 d.Click(res::kIdAudioDecoder);
                 d.EndDialog(framework::IDCANCEL);
             },
         .onSide =
             [](framework::Dialog& side) {
                 side.Click(res::kIdSonora);
                 side.Click(framework::IDOK);
             },
         .messages = {"Error: No se pudo guardar KFG.ini: sin permiso de escritura"}},
        {.what = "the asked-for language prompt: the request's deletion stays silent",
         .onSide = ChooseSpanish,
         .messages = {"Error: No se pudo guardar KFG.ini: sin permiso de escritura"},
         .managerText = "[KFG]\r\nSprox=0\r\nFr=0\r\n"},
        {.what = "first run on a full disk: each prompt in its own language",
         .onSide = ChooseSpanish,
         .messages = {"Error: No se pudo guardar KFG.ini: disco lleno",
                      "Fehler: KFG.ini konnte nicht gespeichert werden: Datenträger voll"},
         .managerText = nullptr,
         .fileSizeLimit = 1},
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
