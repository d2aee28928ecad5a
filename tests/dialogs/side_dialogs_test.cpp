// The first-run prompts and the side dialogs.
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
using test::TelvioFolder;
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
        TelvioFolder dir(c.telvio);
        if (c.kfgIni) {
            WriteBytes(dir / "KFG.ini", "");
        }
        KfgRun run(dir.path());
        EXPECT_EQ(DialogOrder(run.script), c.order) << c.telvio;
    }
}

TEST(KfgFirstRun, LanguageAnswerTakesEffectAtOnce) {
    for (const bool spanish : {false, true}) {
        TelvioFolder dir("[Telvio]\r\nOptimierungBT=1\r\n");
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
    TelvioFolder dir;
    KfgRun run(dir.path(), {}, [](framework::Dialog& side) { side.PressEscape(); });
    EXPECT_FALSE(std::filesystem::exists(dir / "KFG.ini"));
}

TEST(KfgFirstRun, LanguageRequestIsShownOnce) {
    TelvioFolder dir(test::kV31, "[KFG]\r\nSprox=0\r\nFr=1\r\n");
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
        TelvioFolder dir;
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
        TelvioFolder dir(test::kV31, std::string("[KFG]\r\nAudio=") + c.stored + "\r\n");
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
        TelvioFolder dir(test::kV31, "[KFG]\r\nFr=0\r\n");
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

TEST(KfgAudioDecoder, FailedStartIsToldInTheDialogsOwnLanguage) {
    const test::StartFailureCase cases[] = {
        {"1", true, make_error_code(platform::FailureCause::FileMissing),
         "Error: No se pudo iniciar Sonora.exe: el fichero no existe"},
        {"0", true, make_error_code(platform::FailureCause::WineMissing),
         "Fehler: Sonora.exe konnte nicht gestartet werden: wine ist nicht installiert"},
    };
    for (const test::StartFailureCase& c : cases) {
        SCOPED_TRACE(c.message);
        TelvioFolder dir(test::kV31, std::string("[KFG]\r\nFr=") + c.fr + "\r\n");
        test::RecordingStarter starter;
        starter.startError = c.error;
        KfgRun run(
            dir.path(),
            [&](CKfgDlg& d) {
                d.Click(res::kIdLanguageToggle); // the main dialog's language differs
                d.Click(res::kIdAudioDecoder);
            },
            [&](framework::Dialog& side) {
                side.Click(res::kIdSonora);
                side.SetCheck(res::kIdStartDecoderAutomatically, 1);
                side.Click(framework::IDOK);
                EXPECT_TRUE(side.IsEnded());
            },
            test::WithStarter(starter));
        EXPECT_EQ(run.script.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"),
                  std::string("[KFG]\r\nFr=") + c.fr + "\r\nAudio=1\r\n");
    }
}

} // namespace
} // namespace kfg::dialogs
