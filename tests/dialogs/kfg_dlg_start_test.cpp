// The start command: what it saves, starts and unmutes, and how its failures are told.
#include "framework/modal_hook.h"
#include "platform/failure_cause.h"
#include "platform/save_history.h"
#include "settings/profile_store.h"
#include "support/dialog_tests.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace kfg::dialogs {
namespace {

// Start saves, keeping what it replaced in the user's history (the test program's own state
// folder), and hands over to the viewer of the edition that wrote "Telvio.ini".
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
    const auto states = platform::SaveHistory::OfUser()->States(run / "Telvio.ini");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(ReadBytes(states[0].path), before);
    EXPECT_TRUE(platform::SaveHistory::OfUser()->States(run / "KFG.ini").empty()); // unchanged
}

// A failed start is told in the language of the dialog that started it: the main dialog's in
// force for the hand-over, the stored one for the decoder dialog.
TEST(KfgStart, FailedStartIsToldInTheStartingDialogsLanguage) {
    using platform::FailureCause;
    // The stored caption language Spanish or not, the user's switch of the main dialog's language
    // first, the decoder dialog's start (else the hand-over), the error and the message.
    const std::tuple<bool, bool, bool, std::error_code, const char*> cases[] = {
        {true, false, false, make_error_code(FailureCause::WineMissing),
         "Error: No se pudo iniciar Telvio.exe: wine no está instalado"},
        {true, true, false, make_error_code(FailureCause::NotExecutable),
         "Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht ausführbar"},
        {false, true, false, make_error_code(FailureCause::FileNotReadable),
         "Error: No se pudo iniciar Telvio.exe: el fichero no se puede leer"},
        {false, false, false, std::make_error_code(std::errc::io_error),
         "Fehler: Telvio.exe konnte nicht gestartet werden: Input/output error"},
        {true, true, true, make_error_code(FailureCause::FileMissing),
         "Error: No se pudo iniciar Sonora.exe: el fichero no existe"},
        {false, true, true, make_error_code(FailureCause::WineMissing),
         "Fehler: Sonora.exe konnte nicht gestartet werden: wine ist nicht installiert"},
    };
    for (const auto& [spanish, toggle, decoder, error, message] : cases) {
        SCOPED_TRACE(message);
        RecordingStarter starter;
        (decoder ? starter.startError : starter.handOverError) = error;
        KfgRunIn run(
            kV31, KfgIni(spanish),
            [&](CKfgDlg& d) {
                if (toggle) {
                    d.Click(res::kIdLanguageToggle);
                }
                d.Click(decoder ? res::kIdAudioDecoder : res::kIdStart);
            },
            [](framework::Dialog& side) {
                side.Click(res::kIdSonora);
                side.SetCheck(res::kIdStartDecoderAutomatically, 1);
                side.Click(framework::IDOK);
                EXPECT_TRUE(side.IsEnded());
            },
            {.starter = starter});
        EXPECT_THAT(run.script.Messages(), ElementsAre(message));
        EXPECT_EQ(run.script.Seen().size(), decoder ? 3u : 2u); // nothing else came up
        if (decoder) {
            EXPECT_EQ(ReadBytes(run / "KFG.ini"), KfgIni(spanish, "Audio=1\r\n"));
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
const std::string kChangedQuestionDe =
    "KFG: Telvio.ini wurde geändert, seit KFG sie geladen hat. Mit den Werten des Fensters "
    "überschreiben?\n\nNein: Es wird nichts gespeichert; die Schaltfläche „Telvio.ini“ lädt die "
    "Datei neu.";
const std::string kChangedQuestionEs =
    "KFG: Telvio.ini ha cambiado desde que KFG lo cargó. ¿Sobrescribirlo con los valores de la "
    "ventana?\n\nNo: no se guarda nada; el botón «Telvio.ini» vuelve a cargar el fichero.";

// What kfgctl set does: a save of its own, through a store of its own.
void SetOnDisk(const fs::path& file, const char* key, const char* value) {
    settings::ProfileStore other;
    ASSERT_FALSE(other.WriteString(file, "Telvio", key, value));
}

QAbstractButton* ButtonTitled(const QMessageBox& box, const char* text) {
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == QString::fromUtf8(text)) {
            return button;
        }
    }
    return nullptr;
}

using Answer = std::function<void(QMessageBox&)>;

Answer Press(Qt::Key key) {
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}
Answer ClickOn(const char* text) {
    return [text](QMessageBox& box) { QTest::mouseClick(ButtonTitled(box, text), Qt::LeftButton); };
}

// Answers every yes/no question with `answer` (checking that "Nein" / "No" is its default) and
// every other message box with OK; records each as "caption: text".
struct QuestionScript {
    QuestionScript(bool spanish, Answer answer)
        : hook_([this, spanish, answer = std::move(answer)](framework::ModalView& view) {
            seen.push_back((view.Caption() + ": " + view.Text()).toStdString());
            auto* box = qobject_cast<QMessageBox*>(view.Widget());
            if (box == nullptr || box->buttons().size() != 2 || !answer) {
                view.End(framework::IDOK);
                return;
            }
            EXPECT_NE(ButtonTitled(*box, spanish ? "Sí" : "Ja"), nullptr);
            EXPECT_EQ(box->defaultButton(), ButtonTitled(*box, spanish ? "No" : "Nein"));
            answer(*box);
        }) {}

    std::vector<std::string> seen;

private:
    framework::ScopedModalHook hook_;
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
// Start would write is overwritten only after "Ja"; "Nein", Escape and the close box write and
// start nothing and leave the window's values. Changes the save keeps anyway never ask.
TEST(KfgStart, AsksBeforeOverwritingAValueChangedOnDisk) {
    const auto setColour = [](const fs::path& f) { SetOnDisk(f, "Farbe", "111"); };
    const auto removeFile = [](const fs::path& f) { fs::remove(f); };
    const ChangedCase cases[] = {
        {.what = "Enter", .meanwhile = setColour, .answer = Press(Qt::Key_Return)},
        {.what = "Escape",
         .meanwhile = setColour,
         .spanish = true,
         .answer = Press(Qt::Key_Escape)},
        {.what = "close box",
         .meanwhile = setColour,
         .answer = [](QMessageBox& box) { box.close(); }},
        {.what = "Nein", .meanwhile = setColour, .answer = ClickOn("Nein")},
        {.what = "Ja", .meanwhile = setColour, .answer = ClickOn("Ja"), .saves = true},
        {.what = "Sí",
         .meanwhile = setColour,
         .spanish = true,
         .answer = ClickOn("Sí"),
         .saves = true},
        {.what = "deleted, Enter", .meanwhile = removeFile, .answer = Press(Qt::Key_Return)},
        {.what = "deleted, Ja", .meanwhile = removeFile, .answer = ClickOn("Ja"), .saves = true},
        {.what = "unchanged", .meanwhile = [](const fs::path&) {}, .saves = true},
        {.what = "a comment",
         .meanwhile = [](const fs::path& f) { WriteBytes(f, std::string(kV320) + "; mine\r\n"); },
         .saves = true,
         .kept = "\r\n; mine\r\n"},
        {.what = "a key KFG does not write",
         .meanwhile = [](const fs::path& f) { SetOnDisk(f, "Fenster", "3"); },
         .saves = true,
         .kept = "\r\nFenster=3\r\n"},
    };
    for (const ChangedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kfg = KfgIni(c.spanish);
        std::vector<std::string> seen;
        std::string meanwhile;
        RecordingStarter starter;
        starter.handOverError = {}; // Telvio takes over
        const TelvioFolder folder(kV320, kfg);
        const fs::path file = folder / "Telvio.ini";
        KfgRun run(folder.path(),
                   [&](CKfgDlg& d) {
                       TypeInto(d.Item(res::kIdTestLines), "33");
                       d.Click(res::kIdSoundInit);
                       c.meanwhile(file);
                       meanwhile = fs::exists(file) ? ReadBytes(file) : "(none)";
                       QuestionScript script(c.spanish, c.answer);
                       PressStart(d);
                       seen = script.seen;
                       EXPECT_EQ(d.IsEnded(), c.saves);
                       if (!c.saves) { // the window's values stay as they were
                           EXPECT_EQ(d.ItemText(res::kIdColour), "254");
                           EXPECT_EQ(d.ItemText(res::kIdTestLines), "33");
                           EXPECT_EQ(d.CheckState(res::kIdSoundInit), 1);
                       }
                   },
                   {}, {.starter = starter});
        EXPECT_EQ(seen, c.answer ? std::vector<std::string>{c.spanish ? kChangedQuestionEs
                                                                      : kChangedQuestionDe}
                                 : std::vector<std::string>{});
        const std::string telvio = fs::exists(file) ? ReadBytes(file) : "(none)";
        if (c.saves) {
            EXPECT_EQ(run.starter.log,
                      (std::vector<std::string>{"sound", "handover Telvio.exe Quick"}));
            EXPECT_THAT(telvio, AllOf(HasSubstr("Farbe=254\r\n"), HasSubstr("Testzeilen=33\r\n")));
            EXPECT_THAT(telvio, HasSubstr(c.kept)) << telvio;
            EXPECT_THAT(ReadBytes(folder / "KFG.ini"), HasSubstr("SoundInit=1\r\n"));
        } else {
            EXPECT_TRUE(run.starter.log.empty());
            EXPECT_EQ(telvio, meanwhile);
            EXPECT_EQ(ReadBytes(folder / "KFG.ini"), kfg); // not even the sound options
        }
    }
}

// "Nein", then the "Telvio.ini" button: the window shows what the disk holds now, and Start
// saves and starts without asking again.
TEST(KfgStart, AfterNeinTheTelvioIniButtonLoadsTheChangeAndStartNoLongerAsks) {
    const TelvioFolder folder(kV320, KfgIni(false));
    RecordingStarter starter;
    starter.handOverError = {};
    std::vector<std::string> seen;
    KfgRun run(folder.path(),
               [&](CKfgDlg& d) {
                   QuestionScript script(false, Press(Qt::Key_Escape));
                   SetOnDisk(folder / "Telvio.ini", "Farbe", "111");
                   PressStart(d);
                   ASSERT_FALSE(d.IsEnded());
                   QTest::mouseClick(d.Item(res::kIdReload), Qt::LeftButton);
                   EXPECT_EQ(d.ItemText(res::kIdColour), "111");
                   TypeInto(d.Item(res::kIdTestLines), "33");
                   PressStart(d);
                   EXPECT_TRUE(d.IsEnded());
                   seen = script.seen;
               },
               {}, {.starter = starter});
    EXPECT_EQ(seen, std::vector<std::string>{kChangedQuestionDe}); // the first Start only
    EXPECT_THAT(ReadBytes(folder / "Telvio.ini"),
                AllOf(HasSubstr("Farbe=111\r\n"), HasSubstr("Testzeilen=33\r\n")));
    EXPECT_EQ(run.starter.log, std::vector<std::string>{"handover Telvio.exe Quick"});
}

// Showing a configuration changes the window's values, not what Start compares "Telvio.ini"
// with: Start writes the configuration's values without a question, unless the file itself
// changed meanwhile.
TEST(KfgStart, AShownConfigurationIsComparedWithTelvioIniAsLoaded) {
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        const TelvioFolder folder(kV320, KfgIni(false, "[Abend]\r\nFarbe=50\r\nTestzeilen=20\r\n"));
        RecordingStarter starter;
        starter.handOverError = {};
        std::vector<std::string> seen;
        KfgRun run(folder.path(),
                   [&](CKfgDlg& d) {
                       QuestionScript script(false, ClickOn("Ja"));
                       if (changed) {
                           SetOnDisk(folder / "Telvio.ini", "Helligkeit", "90");
                       }
                       TypeInto(d.Item(res::kIdConfigurationField), "Abend");
                       d.Click(res::kIdShowConfiguration);
                       EXPECT_EQ(d.ItemText(res::kIdColour), "50");
                       PressStart(d);
                       seen = script.seen;
                   },
                   {}, {.starter = starter});
        EXPECT_EQ(seen, changed ? std::vector<std::string>{kChangedQuestionDe}
                                : std::vector<std::string>{});
        EXPECT_THAT(ReadBytes(folder / "Telvio.ini"),
                    AllOf(HasSubstr("Farbe=50\r\n"), HasSubstr("Testzeilen=20\r\n")));
    }
}

// A save that reached the disk is what Start compares with next; after a failed one, the disk
// still holds what it held, and a change another program made there is still asked about.
TEST(KfgStart, OnlyASaveThatReachedTheDiskMovesTheComparison) {
    for (const bool saveFails : {false, true}) {
        SCOPED_TRACE(saveFails);
        const TelvioFolder folder(kV320, KfgIni(false));
        const fs::path file = folder / "Telvio.ini";
        RecordingStarter starter;
        starter.handOverError = {};
        std::vector<std::string> seen;
        KfgRun run(folder.path(),
                   [&](CKfgDlg& d) {
                       QuestionScript script(false, ClickOn("Ja"));
                       if (saveFails) {
                           SetOnDisk(file, "Farbe", "111");
                           fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
                       } else {
                           TypeInto(d.Item(res::kIdColour), "111");
                       }
                       EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio)); // the checks passed
                       fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
                       TypeInto(d.Item(res::kIdColour), "200");
                       PressStart(d);
                       seen = script.seen;
                   },
                   {}, {.starter = starter});
        EXPECT_EQ(seen, saveFails ? std::vector<std::string>{kChangedQuestionDe}
                                  : std::vector<std::string>{});
        EXPECT_THAT(ReadBytes(file), HasSubstr("Farbe=200\r\n"));
    }
}

} // namespace
} // namespace kfg::dialogs
