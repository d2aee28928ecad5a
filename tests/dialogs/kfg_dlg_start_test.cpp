// The start command: what it saves, starts and unmutes, and how its failures are told.
#include "framework/modal_hook.h"
#include "platform/failure_cause.h"
#include "platform/save_history.h"
#include "settings/profile_store.h"
#include "support/buttons.h"
#include "support/dialog_tests.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace kfg::dialogs {
namespace {

// Start saves, keeping what it replaced in the run's history, and hands over to the viewer of the
// edition that wrote "Telvio.ini".
TEST(KfgStart, SavesKeepingTheReplacedStateThenHandsOverToTheEditionsViewer) {
    const std::string before = kEditionFiles[4];
    bool ended = false;
    KfgRunIn run(before, "[KFG]\r\nFr=0\r\n", [&](CKfgDlg& d) {
        EXPECT_FALSE(d.IsItemEnabled(res::kIdLineInMute)); // no sound card: no switch
        EXPECT_EQ(d.CheckState(res::kIdLineInMute), 0);
        d.SetItemText(res::kIdTestLines, "33");
        d.Click(res::kIdStart);
        ended = d.IsEnded();
    });
    EXPECT_EQ(run.starter.log, std::vector<std::string>{"handover 2QUIK!.exe Quick"});
    // The viewer is missing: the user is told, then KFG ends.
    EXPECT_EQ(run.script.Messages(),
              std::vector<std::string>{
                  "Fehler: 2QUIK!.exe konnte nicht gestartet werden: Datei nicht vorhanden"});
    EXPECT_TRUE(ended);
    EXPECT_EQ(run.result, framework::IDOK);
    EXPECT_THAT(ReadBytes(run / "Telvio.ini"), HasSubstr("Testzeilen=33\r\n"));
    EXPECT_EQ(ReadBytes(run / "KFG.ini"), "[KFG]\r\nFr=0\r\n"); // no sound option changed
    const auto states = run.history->States(run / "Telvio.ini");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(ReadBytes(states[0].path), before);
    EXPECT_TRUE(run.history->States(run / "KFG.ini").empty()); // unchanged
}

// A failed start is told in the language of the dialog that started it: the main dialog's in
// force for the hand-over, the stored one for the decoder dialog.
TEST(KfgStart, FailedStartIsToldInTheStartingDialogsLanguage) {
    using platform::FailureCause;
    struct Case {
        bool spanish;  // the stored caption language
        bool switched; // the user switches the main dialog's language first
        bool decoder;  // the decoder dialog's start fails, else the hand-over
        std::error_code error;
        const char* message;
    };
    const Case cases[] = {
        {.spanish = true,
         .switched = false,
         .decoder = false,
         .error = make_error_code(FailureCause::WineMissing),
         .message = "Error: No se pudo iniciar Telvio.exe: wine no está instalado"},
        {.spanish = true,
         .switched = true,
         .decoder = false,
         .error = make_error_code(FailureCause::NotExecutable),
         .message = "Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht ausführbar"},
        {.spanish = false,
         .switched = true,
         .decoder = false,
         .error = make_error_code(FailureCause::FileNotReadable),
         .message = "Error: No se pudo iniciar Telvio.exe: el fichero no se puede leer"},
        {.spanish = false,
         .switched = false,
         .decoder = false,
         .error = std::make_error_code(std::errc::io_error),
         .message = "Fehler: Telvio.exe konnte nicht gestartet werden: Input/output error"},
        {.spanish = true,
         .switched = true,
         .decoder = true,
         .error = make_error_code(FailureCause::FileMissing),
         .message = "Error: No se pudo iniciar Sonora.exe: el fichero no existe"},
        {.spanish = false,
         .switched = true,
         .decoder = true,
         .error = make_error_code(FailureCause::WineMissing),
         .message = "Fehler: Sonora.exe konnte nicht gestartet werden: wine ist nicht installiert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        RecordingStarter starter;
        (c.decoder ? starter.startError : starter.handOverError) = c.error;
        KfgRunIn run(
            kV31, KfgIni(c.spanish),
            [&](CKfgDlg& d) {
                if (c.switched) {
                    d.Click(res::kIdLanguageToggle);
                }
                d.Click(c.decoder ? res::kIdAudioDecoder : res::kIdStart);
            },
            [](framework::Dialog& side) {
                side.Click(res::kIdSonora);
                side.SetCheck(res::kIdStartDecoderAutomatically, 1);
                side.Click(framework::IDOK);
                EXPECT_TRUE(side.IsEnded());
            },
            {.starter = starter});
        EXPECT_THAT(run.script.Messages(), ElementsAre(c.message));
        EXPECT_EQ(run.script.Seen().size(), c.decoder ? 3u : 2u); // nothing else came up
        if (c.decoder) {
            EXPECT_EQ(ReadBytes(run / "KFG.ini"), KfgIni(c.spanish, "Audio=1\r\n"));
        }
    }
}

TEST(KfgStart, FailedAutomaticStartAndSoundInitialisationStaySilent) {
    RecordingStarter starter;
    starter.startError = make_error_code(platform::FailureCause::WineMissing);
    starter.soundError = make_error_code(platform::FailureCause::WineMissing);
    starter.handOverError = {}; // as if Telvio had taken over
    KfgRunIn run(kV31, "[KFG]\r\nFr=0\r\nAudio=1\r\nSoundInit=1\r\n",
                 [](CKfgDlg& d) { d.Click(res::kIdStart); }, {}, {.starter = starter});
    EXPECT_EQ(run.starter.log,
              (std::vector<std::string>{"start Sonora.exe", "sound", "handover Telvio.exe Quick"}));
    EXPECT_EQ(run.script.Seen().size(), 1u); // the main dialog only
}

constexpr const char* kV320 =
    "; Telvio 3.20\r\n[Telvio]\r\nStatus=1\r\nProportional=1\r\nFarbe=254\r\nTestzeilen=16\r\n";
const std::string kChangedDe =
    "KFG: Telvio.ini wurde geändert, seit KFG sie geladen hat. Mit den Werten des Fensters "
    "überschreiben?\n\nNein: Es wird nichts gespeichert; die Schaltfläche „Telvio.ini“ lädt die "
    "Datei neu.";
const std::string kChangedEs =
    "KFG: Telvio.ini ha cambiado desde que KFG lo cargó. ¿Sobrescribirlo con los valores de la "
    "ventana?\n\nNo: no se guarda nada; el botón «Telvio.ini» vuelve a cargar el fichero.";

// What kfgctl set does: a save through a store of its own.
void SetOnDisk(const fs::path& file, const char* key, const char* value) {
    settings::ProfileStore other;
    ASSERT_FALSE(other.WriteString(file, "Telvio", key, value));
}

// A run of the main window over a V320 folder whose viewer takes over. `steps` act on the
// window and its folder's "Telvio.ini"; every yes/no question is answered by `answer`, with
// "Nein" / "No" checked as its default.
struct StartRun : TelvioFolder {
    std::vector<std::string> questions;
    std::vector<std::string> started;

    StartRun(const std::string& kfg, bool spanish, const Answer& answer,
             const std::function<void(CKfgDlg&, const fs::path&)>& steps)
        : TelvioFolder(kV320, kfg) {
        RecordingStarter starter;
        starter.handOverError = {};
        KfgRun run(path(),
                   [&](CKfgDlg& d) {
                       framework::ScopedModalHook hook([&](framework::ModalView& view) {
                           questions.push_back((view.Caption() + ": " + view.Text()).toStdString());
                           auto* box = qobject_cast<QMessageBox*>(view.Widget());
                           ASSERT_TRUE(box != nullptr && box->buttons().size() == 2 && answer);
                           EXPECT_EQ(box->defaultButton(),
                                     ButtonTitled(*box, spanish ? "No" : "Nein"));
                           answer(*box);
                       });
                       steps(d, *this / "Telvio.ini");
                   },
                   {}, {.starter = starter});
        started = run.starter.log;
    }
    std::string Telvio() const {
        return fs::exists(*this / "Telvio.ini") ? ReadBytes(*this / "Telvio.ini") : "(none)";
    }
};

void PressStart(CKfgDlg& d) {
    QTest::mouseClick(d.Item(res::kIdStart), Qt::LeftButton);
}

struct ChangedCase {
    const char* what;
    std::function<void(const fs::path& telvio)> meanwhile; // another program's doing
    bool spanish = false;
    Answer answer = {}; // null: no question may come
    bool saves = false;
    const char* kept = ""; // what of another program's doing the save keeps
};

// Start over a "Telvio.ini" another program changed while the window was open: a changed value
// Start would write is overwritten only after "Ja"; "Nein" writes and starts nothing (the sound
// options neither) and leaves the window's values. Changes the save keeps anyway never ask.
TEST(KfgStart, AsksBeforeOverwritingAValueChangedOnDisk) {
    const auto setColour = [](const fs::path& f) { SetOnDisk(f, "Farbe", "111"); };
    const auto remove = [](const fs::path& f) { fs::remove(f); };
    const ChangedCase cases[] = {
        {.what = "Nein", .meanwhile = setColour, .answer = ClickOn("Nein")},
        {.what = "Ja", .meanwhile = setColour, .answer = ClickOn("Ja"), .saves = true},
        {.what = "Sí",
         .meanwhile = setColour,
         .spanish = true,
         .answer = ClickOn("Sí"),
         .saves = true},
        {.what = "deleted, Enter", .meanwhile = remove, .answer = Press(Qt::Key_Return)},
        {.what = "deleted, Ja", .meanwhile = remove, .answer = ClickOn("Ja"), .saves = true},
        {.what = "a key KFG does not write",
         .meanwhile = [](const fs::path& f) { SetOnDisk(f, "Fenster", "3"); },
         .saves = true,
         .kept = "\r\nFenster=3\r\n"},
    };
    for (const ChangedCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string meanwhile;
        const StartRun run(KfgIni(c.spanish), c.spanish, c.answer, [&](CKfgDlg& d, auto& file) {
            TypeInto(d.Item(res::kIdTestLines), "33");
            d.Click(res::kIdSoundInit);
            c.meanwhile(file);
            meanwhile = fs::exists(file) ? ReadBytes(file) : "(none)";
            PressStart(d);
            EXPECT_EQ(d.IsEnded(), c.saves);
            if (!c.saves) { // the window keeps its values
                EXPECT_EQ(d.ItemText(res::kIdColour) + d.ItemText(res::kIdTestLines), "25433");
            }
        });
        EXPECT_EQ(run.questions, c.answer ? std::vector{c.spanish ? kChangedEs : kChangedDe}
                                          : std::vector<std::string>{});
        if (c.saves) {
            EXPECT_EQ(run.started,
                      (std::vector<std::string>{"sound", "handover Telvio.exe Quick"}));
            EXPECT_THAT(run.Telvio(), AllOf(HasSubstr("Farbe=254\r\n"),
                                            HasSubstr("Testzeilen=33\r\n"), HasSubstr(c.kept)));
            EXPECT_THAT(ReadBytes(run / "KFG.ini"), HasSubstr("SoundInit=1\r\n"));
        } else {
            EXPECT_TRUE(run.started.empty());
            EXPECT_EQ(run.Telvio(), meanwhile);
            EXPECT_EQ(ReadBytes(run / "KFG.ini"), KfgIni(c.spanish));
        }
    }
}

struct SequenceCase {
    const char* what;
    std::function<void(CKfgDlg&, const fs::path& telvio)> steps; // each ends with Start
    Answer answer = ClickOn("Ja");
    std::vector<std::string> questions = {};
    const char* saved = ""; // in "Telvio.ini" at the end
};

// What Start compares with: "Telvio.ini" as the window last loaded it (the "Telvio.ini" button
// included; showing a configuration changes the window's values only) or saved it (not after a
// save that failed, the disk still holding what it held).
TEST(KfgStart, ComparesWithTelvioIniAsLastLoadedOrSaved) {
    const auto show = [](CKfgDlg& d) {
        TypeInto(d.Item(res::kIdConfigurationField), "Abend");
        d.Click(res::kIdShowConfiguration);
    };
    const SequenceCase cases[] = {
        {.what = "Nein, the Telvio.ini button, Start",
         .steps =
             [](CKfgDlg& d, const fs::path& f) {
                 SetOnDisk(f, "Farbe", "111");
                 PressStart(d);
                 QTest::mouseClick(d.Item(res::kIdReload), Qt::LeftButton);
                 EXPECT_EQ(d.ItemText(res::kIdColour), "111");
                 PressStart(d);
             },
         .answer = Press(Qt::Key_Escape),
         .questions = {kChangedDe},
         .saved = "Farbe=111\r\nTestzeilen=16\r\n"},
        {.what = "a configuration shown",
         .steps =
             [&](CKfgDlg& d, const fs::path&) {
                 show(d);
                 PressStart(d);
             },
         .saved = "Farbe=50\r\nTestzeilen=20\r\n"},
        {.what = "a configuration shown over a changed file",
         .steps =
             [&](CKfgDlg& d, const fs::path& f) {
                 SetOnDisk(f, "Helligkeit", "90");
                 show(d);
                 PressStart(d);
             },
         .questions = {kChangedDe},
         .saved = "Helligkeit=128\r\n"},
        {.what = "a save, then an edit",
         .steps =
             [](CKfgDlg& d, const fs::path&) {
                 TypeInto(d.Item(res::kIdColour), "111");
                 EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
                 TypeInto(d.Item(res::kIdColour), "200");
                 PressStart(d);
             },
         .saved = "Farbe=200\r\n"},
        {.what = "a failed save over a changed file",
         .steps =
             [](CKfgDlg& d, const fs::path& f) {
                 SetOnDisk(f, "Farbe", "111");
                 fs::permissions(f, fs::perms::owner_write, fs::perm_options::remove);
                 EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio)); // the checks passed
                 fs::permissions(f, fs::perms::owner_write, fs::perm_options::add);
                 TypeInto(d.Item(res::kIdColour), "200");
                 PressStart(d);
             },
         .questions = {kChangedDe},
         .saved = "Farbe=200\r\n"},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.what);
        const StartRun run(KfgIni(false, "[Abend]\r\nFarbe=50\r\nTestzeilen=20\r\n"), false,
                           c.answer, c.steps);
        EXPECT_EQ(run.questions, c.questions);
        EXPECT_THAT(run.Telvio(), HasSubstr(c.saved));
        EXPECT_EQ(run.started.size(), 1u); // the hand-over, once
    }
}

} // namespace
} // namespace kfg::dialogs
