// The first-run prompts and the side dialogs.
#include "dialogs/side/side_dialogs.h"
#include "support/dialog_tests.h"

namespace kfg::dialogs {
namespace {

TEST(KfgFirstRun, EscapeOnThePromptsWritesNothing) {
    KfgRunIn run(kV31, {}, {}, [](framework::Dialog& side) { side.PressEscape(); });
    EXPECT_FALSE(std::filesystem::exists(run / "KFG.ini"));
}

TEST(KfgDisplayModes, TickedBoxesEnableTheirKeys) {
    // The boxes ticked, the close box instead of the button, "KFG.ini" then.
    const std::tuple<std::vector<int>, bool, const char*> cases[] = {
        {{}, false, "[KFG]\r\nFr=0\r\n0=1\r\n"},
        {{1143, 1141}, false, "[KFG]\r\nFr=0\r\n0=1\r\n10=1\r\n16=1\r\n"},
        {{1131, 1136}, true, "[KFG]\r\nFr=0\r\n0=1\r\n5=1\r\n"},
    };
    for (const auto& [ticked, closeBox, expected] : cases) {
        KfgRunIn run(kV31, {}, {}, [&](framework::Dialog& side) {
            if (side.Template().id == res::kLanguageDialogId) {
                side.Click(framework::IDOK);
                return;
            }
            for (const int box : ticked) {
                side.SetCheck(box, 1);
            }
            if (closeBox) {
                side.CloseWindow();
            } else {
                side.Click(res::kIdSaveAndClose);
            }
            EXPECT_TRUE(side.IsEnded());
        });
        EXPECT_EQ(ReadBytes(run / "KFG.ini"), expected);
    }
}

TEST(KfgDisplayModes, AModeOnceEnabledStaysEnabled) {
    TempDir dir;
    settings::ProfileStore store;
    WriteBytes(dir / "KFG.ini", "[KFG]\r\n5=1\r\n");
    CDisplayModeDlg dialog(store, dir.path());
    ModalScript script([](framework::Dialog& d) { d.Click(res::kIdSaveAndClose); });
    dialog.DoModal();
    EXPECT_EQ(ReadBytes(dir / "KFG.ini"), "[KFG]\r\n5=1\r\n0=1\r\n");
}

struct AudioCase {
    const char* stored;
    int shown; // the choice the dialog opens with, and its box
    int remember;
    int chosen; // then chosen, with the box set to `keep`, and OK
    bool keep;
    std::vector<std::string> started; // by the first load, then by OK
    const char* storedAfter;
};

TEST(KfgAudioDecoder, StoredChoiceIsShownAndStartedAndOkStartsTheNewOne) {
    const AudioCase cases[] = {
        {"2",
         res::kIdTonalix,
         1,
         res::kIdSonora,
         false,
         {"start Tonalix.exe", "start Sonora.exe"},
         "0"},
        // The dialog reads one character, the start-up reads 12.
        {"12", res::kIdSonora, 1, res::kIdTonalix, true, {"start Tonalix.exe"}, "2"},
        {"3", res::kIdNoDecoder, 1, res::kIdNoDecoder, true, {}, "0"},
        {"0", res::kIdNoDecoder, 0, res::kIdSonora, false, {"start Sonora.exe"}, "0"},
    };
    for (const AudioCase& c : cases) {
        SCOPED_TRACE(c.stored);
        KfgRunIn run(
            kV31, std::string("[KFG]\r\nAudio=") + c.stored + "\r\n",
            [](CKfgDlg& d) { d.Click(res::kIdAudioDecoder); },
            [&](framework::Dialog& side) {
                EXPECT_EQ(side.CheckState(c.shown), 1);
                EXPECT_EQ(side.CheckState(res::kIdStartDecoderAutomatically), c.remember);
                side.Click(c.chosen);
                side.SetCheck(res::kIdStartDecoderAutomatically, c.keep ? 1 : 0);
                side.Click(framework::IDOK);
            });
        EXPECT_EQ(run.starter.log, c.started);
        EXPECT_EQ(ReadBytes(run / "KFG.ini"),
                  std::string("[KFG]\r\nAudio=") + c.storedAfter + "\r\n");
    }
}

} // namespace
} // namespace kfg::dialogs
