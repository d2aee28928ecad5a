// The start command: what it saves, starts and unmutes, and how its failures are told.
#include "platform/failure_cause.h"
#include "platform/save_history.h"
#include "support/dialog_tests.h"

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

} // namespace
} // namespace kfg::dialogs
