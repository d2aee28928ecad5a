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
    struct Case {
        std::vector<int> ticked; // the boxes
        bool closeBox;           // instead of the button
        const char* kfgIni;      // afterwards
    };
    const Case cases[] = {
        {.ticked = {}, .closeBox = false, .kfgIni = "[KFG]\r\nFr=0\r\n0=1\r\n"},
        {.ticked = {1143, 1141},
         .closeBox = false,
         .kfgIni = "[KFG]\r\nFr=0\r\n0=1\r\n10=1\r\n16=1\r\n"},
        {.ticked = {1131, 1136}, .closeBox = true, .kfgIni = "[KFG]\r\nFr=0\r\n0=1\r\n5=1\r\n"},
    };
    for (const Case& c : cases) {
        KfgRunIn run(kV31, {}, {}, [&](framework::Dialog& side) {
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
        EXPECT_EQ(ReadBytes(run / "KFG.ini"), c.kfgIni);
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
        {.stored = "2",
         .shown = res::kIdTonalix,
         .remember = 1,
         .chosen = res::kIdSonora,
         .keep = false,
         .started = {"start Tonalix.exe", "start Sonora.exe"},
         .storedAfter = "0"},
        // The dialog reads one character, the start-up reads 12.
        {.stored = "12",
         .shown = res::kIdSonora,
         .remember = 1,
         .chosen = res::kIdTonalix,
         .keep = true,
         .started = {"start Tonalix.exe"},
         .storedAfter = "2"},
        {.stored = "3",
         .shown = res::kIdNoDecoder,
         .remember = 1,
         .chosen = res::kIdNoDecoder,
         .keep = true,
         .started = {},
         .storedAfter = "0"},
        {.stored = "0",
         .shown = res::kIdNoDecoder,
         .remember = 0,
         .chosen = res::kIdSonora,
         .keep = false,
         .started = {"start Sonora.exe"},
         .storedAfter = "0"},
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
