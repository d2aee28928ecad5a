// The first-run prompts, the side dialogs and the start command.
#include "dialogs/main/kfg_dlg.h"
#include "dialogs/side/side_dialogs.h"
#include "platform/failure_cause.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<int> DialogOrder(const test::ModalScript& script) {
    std::vector<int> order;
    for (const test::SeenModal& seen : script.Seen()) {
        order.push_back(seen.isDialog ? seen.templateId : 0);
    }
    return order;
}

struct FirstRunCase {
    const char* telvio;
    bool kfgIni;
    std::vector<int> order;
};

TEST(KfgFirstRun, PromptsComeBeforeTheMainWindow) {
    const FirstRunCase cases[] = {
        {"[Telvio]\r\nStatus=0\r\nTurbo=1\r\n", false, {175, 161, 102}}, // V311
        {"[Telvio]\r\nStatus=1\r\n", false, {175, 161, 102}},            // V31
        {"[Telvio-Erazor]\r\nLine-In=1\r\n", false, {175, 102}},
        {"[Telvio]\r\nOptimierungBT=1\r\n", false, {175, 102}}, // V283
        {"[Telvio]\r\nStatus=1\r\n", true, {102}},
    };
    for (const FirstRunCase& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", c.telvio);
        if (c.kfgIni) {
            WriteBytes(dir / "KFG.ini", "");
        }
        KfgRun run(dir.path());
        EXPECT_EQ(DialogOrder(run.script), c.order) << c.telvio;
    }
}

TEST(KfgFirstRun, LanguageAnswerTakesEffectAtOnce) {
    for (const bool spanish : {false, true}) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nOptimierungBT=1\r\n");
        bool mainSpanish = false;
        KfgRun run(
            dir.path(),
            [&](CKfgDlg& d) {
                mainSpanish = d.CheckState(res::kIdLanguageToggle) == 1;
                d.EndDialog(framework::IDCANCEL);
            },
            [&](framework::Dialog& side) {
                EXPECT_EQ(side.CheckState(res::kIdGerman), 1); // German preselected
                if (spanish) {
                    side.SetCheck(res::kIdGerman, 0);
                    side.SetCheck(res::kIdSpanish, 1);
                }
                side.Click(framework::IDOK);
            });
        EXPECT_EQ(mainSpanish, spanish);
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"), spanish ? "[KFG]\r\nFr=1\r\n" : "[KFG]\r\nFr=0\r\n");
    }
}

TEST(KfgFirstRun, EscapeOnThePromptsWritesNothing) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    KfgRun run(dir.path(), {}, [](framework::Dialog& side) { side.PressEscape(); });
    EXPECT_FALSE(std::filesystem::exists(dir / "KFG.ini"));
}

TEST(KfgFirstRun, LanguageRequestIsShownOnce) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nSprox=0\r\nFr=1\r\n");
    KfgRun first(dir.path());
    EXPECT_EQ(DialogOrder(first.script), (std::vector<int>{175, 102}));
    EXPECT_EQ(ReadBytes(dir / "KFG.ini"), "[KFG]\r\nFr=1\r\n"); // cancelled: Fr stays
    KfgRun second(dir.path());
    EXPECT_EQ(DialogOrder(second.script), (std::vector<int>{102}));
}

struct DisplayModeCase {
    std::vector<int> ticked;
    bool closeBox;
    const char* expected;
};

TEST(KfgDisplayModes, TickedBoxesEnableTheirKeys) {
    const DisplayModeCase cases[] = {
        {{}, false, "[KFG]\r\nFr=0\r\n0=1\r\n"},
        {{1143, 1141}, false, "[KFG]\r\nFr=0\r\n0=1\r\n10=1\r\n16=1\r\n"},
        {{1131, 1136}, true, "[KFG]\r\nFr=0\r\n0=1\r\n5=1\r\n"},
    };
    for (const DisplayModeCase& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        KfgRun run(dir.path(), {}, [&](framework::Dialog& side) {
            if (side.Template().id == res::kLanguageDialogId) {
                side.Click(framework::IDOK);
                return;
            }
            for (const int box : c.ticked) {
                side.SetCheck(box, 1);
            }
            if (c.closeBox) {
                side.CloseWindow();
            } else {
                side.Click(res::kIdSaveAndClose);
            }
            EXPECT_TRUE(side.IsEnded());
        });
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"), c.expected);
    }
}

TEST(KfgDisplayModes, AModeOnceEnabledStaysEnabled) {
    TempDir dir;
    settings::ProfileStore store;
    WriteBytes(dir / "KFG.ini", "[KFG]\r\n5=1\r\n");
    CDisplayModeDlg dialog(store, dir.path());
    test::ModalScript script([](framework::Dialog& d) { d.Click(res::kIdSaveAndClose); });
    dialog.DoModal();
    EXPECT_EQ(ReadBytes(dir / "KFG.ini"), "[KFG]\r\n5=1\r\n0=1\r\n");
}

struct AudioCase {
    const char* stored;
    int radio;
    int remember;
    const char* autostart; // what the first load starts, or ""
};

TEST(KfgAudioDecoder, StoredChoiceIsShownAndStartedAutomatically) {
    const AudioCase cases[] = {
        {"2", res::kIdTonalix, 1, "start Tonalix.exe"},
        {"12", res::kIdSonora, 1, ""}, // the dialog reads one character, the start-up reads 12
        {"3", res::kIdNoDecoder, 1, ""},
        {"0", res::kIdNoDecoder, 0, ""},
    };
    for (const AudioCase& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini", std::string("[KFG]\r\nAudio=") + c.stored + "\r\n");
        KfgRun run(
            dir.path(), [](CKfgDlg& d) { d.Click(res::kIdAudioDecoder); },
            [&](framework::Dialog& side) {
                EXPECT_EQ(side.CheckState(c.radio), 1) << c.stored;
                EXPECT_EQ(side.CheckState(res::kIdStartDecoderAutomatically), c.remember);
                side.PressEscape();
            });
        EXPECT_EQ(run.starter.log, std::string(c.autostart).empty()
                                       ? std::vector<std::string>{}
                                       : std::vector<std::string>{c.autostart})
            << c.stored;
    }
}

struct AudioOkCase {
    int radio;
    bool remember;
    std::vector<std::string> started;
    const char* stored;
};

TEST(KfgAudioDecoder, OkStartsTheChoiceAndRemembersItWhenAsked) {
    const AudioOkCase cases[] = {
        {res::kIdSonora, false, {"start Sonora.exe"}, "0"},
        {res::kIdTonalix, true, {"start Tonalix.exe"}, "2"},
        {res::kIdNoDecoder, true, {}, "0"},
    };
    for (const AudioOkCase& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n");
        KfgRun run(
            dir.path(), [](CKfgDlg& d) { d.Click(res::kIdAudioDecoder); },
            [&](framework::Dialog& side) {
                side.Click(c.radio);
                side.SetCheck(res::kIdStartDecoderAutomatically, c.remember ? 1 : 0);
                side.Click(framework::IDOK);
            });
        EXPECT_EQ(run.starter.log, c.started);
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"),
                  std::string("[KFG]\r\nFr=0\r\nAudio=") + c.stored + "\r\n");
    }
}

TEST(KfgStart, SavesThenHandsOverToTheEditionsViewer) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Telvio]\r\nOptimierungBT=1\r\nAccel=5\r\n", "2QUIK!.exe"},
        {"[Telvio]\r\nStatus=1\r\n", "Telvio.exe"},
    };
    for (const auto& [file, viewer] : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", file);
        WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n");
        bool ended = false;
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            d.SetItemText(res::kIdTestLines, "33");
            d.Click(res::kIdStart);
            ended = d.IsEnded();
        });
        EXPECT_EQ(run.starter.log,
                  std::vector<std::string>{"handover " + std::string(viewer) + " Quick"});
        // The viewer is missing: the user is told, then KFG ends.
        EXPECT_EQ(run.script.MessageTexts(),
                  std::vector<QString>{QString::fromUtf8(viewer) +
                                       " konnte nicht gestartet werden: Datei nicht vorhanden"});
        EXPECT_TRUE(ended);
        EXPECT_EQ(run.result, framework::IDOK);
        EXPECT_NE(ReadBytes(dir / "Telvio.ini").find("Testzeilen=33\r\n"), std::string::npos);
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"), "[KFG]\r\nFr=0\r\n"); // no sound option changed
    }
}

// Runs the main dialog with `starter`; side dialogs go to `onSide`.
std::vector<test::SeenModal> RunWith(test::RecordingStarter& starter,
                                     const std::filesystem::path& folder,
                                     const std::function<void(CKfgDlg&)>& whileUp,
                                     const std::function<void(framework::Dialog&)>& onSide = {}) {
    settings::ProcessState state;
    settings::ProfileStore store;
    test::ModalScript script([&](framework::Dialog& d) {
        if (auto* main = dynamic_cast<CKfgDlg*>(&d)) {
            whileUp(*main);
        } else if (onSide) {
            onSide(d);
        }
    });
    CKfgDlg dialog(state, store, starter, std::make_shared<mixer::SimulatedMixer>(), folder);
    dialog.DoModal();
    return script.Seen();
}

struct FailureCase {
    const char* fr; // the stored caption language
    bool toggle;    // the user switches the main dialog's language first
    std::error_code error;
    const char* caption;
    const char* text;
};

TEST(KfgStart, FailedHandOverIsToldInTheLanguageInForce) {
    using platform::FailureCause;
    const FailureCase cases[] = {
        {"0", false, make_error_code(FailureCause::FileMissing), "Fehler",
         "Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden"},
        {"1", false, make_error_code(FailureCause::WineMissing), "Error",
         "No se pudo iniciar Telvio.exe: wine no está instalado"},
        {"1", true, make_error_code(FailureCause::NotExecutable), "Fehler",
         "Telvio.exe konnte nicht gestartet werden: Datei nicht ausführbar"},
        {"0", true, make_error_code(FailureCause::FileNotReadable), "Error",
         "No se pudo iniciar Telvio.exe: el fichero no se puede leer"},
        {"0", false, std::make_error_code(std::errc::io_error), "Fehler",
         "Telvio.exe konnte nicht gestartet werden: Input/output error"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini", std::string("[KFG]\r\nFr=") + c.fr + "\r\n");
        test::RecordingStarter starter;
        starter.handOverError = c.error;
        bool endedFirst = true;
        const auto seen = RunWith(starter, dir.path(), [&](CKfgDlg& d) {
            if (c.toggle) {
                d.Click(res::kIdLanguageToggle);
            }
            d.Click(res::kIdStart);
            endedFirst = false;
        });
        ASSERT_EQ(seen.size(), 2u); // the main dialog, then the message
        EXPECT_EQ(seen[1].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen[1].text, QString::fromUtf8(c.text));
        EXPECT_FALSE(endedFirst);
    }
}

TEST(KfgAudioDecoder, FailedStartIsToldInTheDialogsOwnLanguage) {
    const FailureCase cases[] = {
        {"1", true, make_error_code(platform::FailureCause::FileMissing), "Error",
         "No se pudo iniciar Sonora.exe: el fichero no existe"},
        {"0", true, make_error_code(platform::FailureCause::WineMissing), "Fehler",
         "Sonora.exe konnte nicht gestartet werden: wine ist nicht installiert"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini", std::string("[KFG]\r\nFr=") + c.fr + "\r\n");
        test::RecordingStarter starter;
        starter.startError = c.error;
        const auto seen = RunWith(
            starter, dir.path(),
            [&](CKfgDlg& d) {
                d.Click(res::kIdLanguageToggle); // the main dialog's language differs
                d.Click(res::kIdAudioDecoder);
                d.EndDialog(framework::IDCANCEL);
            },
            [&](framework::Dialog& side) {
                side.Click(res::kIdSonora);
                side.SetCheck(res::kIdStartDecoderAutomatically, 1);
                side.Click(framework::IDOK);
                EXPECT_TRUE(side.IsEnded());
            });
        ASSERT_EQ(seen.size(), 3u); // main dialog, decoder dialog, the message
        EXPECT_EQ(seen[2].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen[2].text, QString::fromUtf8(c.text));
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"),
                  std::string("[KFG]\r\nFr=") + c.fr + "\r\nAudio=1\r\n");
    }
}

TEST(KfgStart, FailedAutomaticStartAndSoundInitialisationStaySilent) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\nAudio=1\r\nSoundInit=1\r\n");
    test::RecordingStarter starter;
    starter.startError = make_error_code(platform::FailureCause::WineMissing);
    starter.soundError = make_error_code(platform::FailureCause::WineMissing);
    starter.handOverError = {}; // as if Telvio had taken over
    const auto seen = RunWith(starter, dir.path(), [](CKfgDlg& d) { d.Click(res::kIdStart); });
    EXPECT_EQ(starter.log,
              (std::vector<std::string>{"start Sonora.exe", "sound", "handover Telvio.exe Quick"}));
    EXPECT_EQ(seen.size(), 1u); // the main dialog only
}

TEST(KfgStart, SoundOptionsAndInitialisationWhenAsked) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n[Abend]\r\nTestzeilen=71\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        d.SetItemText(res::kIdConfigurationField, "Abend");
        d.OnConfigurationTextChanged();
        d.Click(res::kIdShowConfiguration); // showing, then starting, writes the configuration
        d.Click(res::kIdSoundInit);
        d.Click(res::kIdStart);
    });
    EXPECT_EQ(run.starter.log, (std::vector<std::string>{"sound", "handover Telvio.exe Quick"}));
    EXPECT_NE(ReadBytes(dir / "Telvio.ini").find("Testzeilen=71\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(dir / "KFG.ini").find("[KFG]\r\nFr=0\r\nSoundInit=1\r\nLineIn=0\r\n"),
              std::string::npos);
}

} // namespace
} // namespace kfg::dialogs

namespace kfg::dialogs {
namespace {

// A card with a speakers destination whose stereo line-in source has a mute control, one value
// for the whole line as the sound card backend offers it.
mixer::SimulatedMixer::Device CardWithLineIn(bool muted) {
    mixer::SimulatedMixer::Control mute;
    mute.control.dwControlID = 11;
    mute.control.dwControlType = mixer::MIXERCONTROL_CONTROLTYPE_MUTE;
    mute.control.fdwControl = mixer::MIXERCONTROL_CONTROLF_UNIFORM;
    mute.control.szName = "Mute";
    mute.values = {muted ? 1u : 0u};
    mixer::SimulatedMixer::Destination speakers;
    speakers.line = {mixer::MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Master", "Master", 2, {}};
    speakers.sources = {{mixer::MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line", "Line", 2, {mute}}};
    return {"Testkarte", {speakers}, {}};
}

TEST(KfgStart, UnmutesLineInOnlyWhenAskedAndMuted) {
    struct Case {
        bool lineInWanted;
        bool muted;
        bool unmuted;
    };
    const Case cases[] = {
        {true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini",
                   std::string("[KFG]\r\nLineIn=") + (c.lineInWanted ? "1" : "0") + "\r\n");
        test::RecordingStarter starter;
        settings::ProcessState state;
        settings::ProfileStore store;
        auto card = std::make_shared<mixer::SimulatedMixer>();
        card->AddDevice(CardWithLineIn(c.muted));
        bool boxEnabled = false;
        test::ModalScript script([&](framework::Dialog& d) {
            boxEnabled = d.IsItemEnabled(res::kIdLineInMute);
            EXPECT_EQ(d.CheckState(res::kIdLineInMute), c.muted ? 1 : 0);
            d.Click(res::kIdStart);
        });
        CKfgDlg dialog(state, store, starter, card, dir.path());
        dialog.DoModal();
        EXPECT_TRUE(boxEnabled);
        EXPECT_EQ(card->Calls(mixer::SimulatedMixer::Call::SetControlDetails), c.unmuted ? 1u : 0u)
            << c.lineInWanted << c.muted;
        EXPECT_EQ(card->ControlValues(11).front(), c.muted && !c.unmuted ? 1u : 0u);
        EXPECT_EQ(starter.log.back(), "handover Telvio.exe Quick");
    }
}

TEST(KfgStart, WithoutASoundCardTheSwitchStaysDisabled) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_FALSE(d.IsItemEnabled(res::kIdLineInMute));
        EXPECT_EQ(d.CheckState(res::kIdLineInMute), 0);
        d.EndDialog(framework::IDCANCEL);
    });
    EXPECT_TRUE(run.script.MessageTexts().empty());
}

} // namespace
} // namespace kfg::dialogs
