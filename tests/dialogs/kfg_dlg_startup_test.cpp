// The main dialog's start-up road and its ways to end, over small Telvio folders.
#include "dialogs/main/kfg_dlg.h"
#include "framework/modal_hook.h"
#include "res/template_102.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/kfg_run.h"
#include "support/modal_script.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace kfg::dialogs {
namespace {

using settings::Edition;
using test::KfgRun;
using test::ModalScript;
using test::TempDir;
using test::WriteBytes;

// After the missing-file message nothing else comes: no prompt, no file written (not even the
// consumed prompt request), no decoder started; KFG ends.
TEST(KfgStartUp, MissingViewerFileShowsTheMessageThenEnds) {
    const char* const kfgInis[] = {nullptr, "[KFG]\r\nSprox=5\r\nAudio=1\r\n"};
    for (const char* kfgIni : kfgInis) {
        for (const bool folderInstead : {false, true}) {
            TempDir dir;
            if (kfgIni != nullptr) {
                WriteBytes(dir / "KFG.ini", kfgIni);
            }
            if (folderInstead) {
                std::filesystem::create_directory(dir / "Telvio.ini"); // not a file: missing
            }
            const auto before = test::FolderBytes(dir.path());
            KfgRun run(dir.path());
            ASSERT_EQ(run.script.Seen().size(), 1u) << folderInstead;
            const test::SeenModal& message = run.script.Seen()[0];
            EXPECT_FALSE(message.isDialog);
            EXPECT_EQ(message.caption, "Fehler");
            EXPECT_EQ(message.text,
                      "Telvio.ini nicht vorhanden\nBitte ins Telvio-Verzeichnis "
                      "kopieren\nTelvio.ini no existe.\nCopialo en el directorio TLV ZAV");
            EXPECT_EQ(message.icon, framework::MessageIcon::None);
            EXPECT_EQ(run.result, framework::IDOK);
            EXPECT_TRUE(run.starter.log.empty());
            EXPECT_EQ(test::FolderBytes(dir.path()), before);
            EXPECT_EQ(run.state.Edition, Edition::V311);
        }
    }
}

enum class Ending { Exit, CloseBox, Escape };

TEST(KfgStartUp, EveryWayToEnd) {
    const std::pair<Ending, int> cases[] = {
        {Ending::Exit, framework::IDOK},
        {Ending::CloseBox, framework::IDOK}, // the close box runs the OK command's data check
        {Ending::Escape, framework::IDCANCEL},
    };
    for (const auto& [ending, expected] : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        bool ended = false;
        KfgRun run(dir.path(), [&](CKfgDlg& dialog) {
            switch (ending) {
            case Ending::Exit:
                dialog.Click(res::kIdExit);
                break;
            case Ending::CloseBox:
                dialog.CloseWindow();
                break;
            case Ending::Escape:
                dialog.PressEscape();
                break;
            }
            ended = dialog.IsEnded();
        });
        EXPECT_TRUE(ended) << static_cast<int>(ending);
        EXPECT_EQ(run.result, expected) << static_cast<int>(ending);
    }
}

TEST(KfgStartUp, LongWorkingDirectoryWorks) {
    TempDir dir;
    std::filesystem::path folder = dir.path();
    while (folder.string().size() < 300) {
        folder /= std::string(50, 'k');
    }
    std::filesystem::create_directories(folder);
    WriteBytes(folder / "Telvio.ini", "[Telvio]\r\nStatus=1\r\nProportional=1\r\n");
    KfgRun run(folder, [](CKfgDlg& dialog) { dialog.EndDialog(framework::IDCANCEL); });
    EXPECT_EQ(run.state.Edition, Edition::V320);
    EXPECT_TRUE(run.script.MessageTexts().empty());
}

TEST(KfgStartUp, IconButtonsAndMemoryFieldsHaveNames) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    KfgRun run(dir.path(), [](CKfgDlg& dialog) {
        EXPECT_EQ(dialog.Item(res::kIdStart)->accessibleName(), "Start");
        EXPECT_EQ(dialog.Item(res::kIdDeleteConfiguration)->accessibleName(), "Löschen");
        EXPECT_EQ(dialog.Item(res::kIdMemorySlot24)->accessibleName(), "Speicher 24");
        EXPECT_EQ(dialog.Item(res::kIdSoundInit)->accessibleName(), "Sound initialisieren");
        EXPECT_FALSE(dialog.IsItemEnabled(res::kIdLineInMute)); // no mixer binding
        dialog.EndDialog(framework::IDCANCEL);
    });
}

} // namespace
} // namespace kfg::dialogs

namespace kfg::dialogs {
namespace {

// What is shown overlaps only where the template itself lets controls overlap.
TEST(KfgLayout, ShownControlsOverlapOnlyWhereTheTemplateDoes) {
    const char* files[] = {
        "[Telvio]\r\nOptimierungBT=1\r\n",
        "[Telvio-Erazor]\r\nLine-In=1\r\n",
        "[Telvio]\r\nStatus=0\r\n",
        "[Telvio]\r\nStatus=0\r\nTurbo=1\r\n",
        "[Telvio]\r\nOptimierungBT=1\r\nAccel=5\r\n",
        "[Telvio]\r\nStatus=1\r\nProportional=1\r\n",
    };
    const framework::DialogTemplate& tmpl = res::MainDialogTemplate();
    const auto overlaps = [](const framework::DlgRect& a, const framework::DlgRect& b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
               b.y < a.y + a.height;
    };
    for (const char* file : files) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", file);
        KfgRun run(dir.path(), [&](CKfgDlg& dialog) {
            std::vector<const framework::ControlTemplate*> shown;
            for (const framework::ControlTemplate& control : tmpl.controls) {
                if (control.id != framework::kNoId &&
                    control.kind != framework::ControlKind::GroupBox &&
                    control.kind != framework::ControlKind::Spin &&
                    dialog.IsItemShown(control.id)) {
                    shown.push_back(&control);
                }
            }
            for (std::size_t i = 0; i < shown.size(); ++i) {
                for (std::size_t j = i + 1; j < shown.size(); ++j) {
                    const QRect a = dialog.Item(shown[i]->id)->geometry();
                    const QRect b = dialog.Item(shown[j]->id)->geometry();
                    if (a.intersects(b)) {
                        EXPECT_TRUE(overlaps(shown[i]->rect, shown[j]->rect))
                            << file << ": " << shown[i]->id << " and " << shown[j]->id;
                    }
                }
            }
            dialog.EndDialog(framework::IDCANCEL);
        });
    }
}

} // namespace
} // namespace kfg::dialogs

namespace kfg::dialogs {
namespace {

// The final visibility per edition, column by edition value: V283, Erazor, V31, V311,
// V283Quik, V320 (S shown, - hidden).
TEST(KfgLayout, VisibilityTableForEveryEdition) {
    const std::pair<int, const char*> table[] = {
        {1012, "--SS-S"}, {1013, "SSS-S-"}, {1014, "--SS-S"}, {1016, "--SS-S"}, {1042, "-SSS--"},
        {1043, "-SSS--"}, {1079, "-SSS--"}, {1044, "-SSS--"}, {1045, "-SSS--"}, {1046, "-SSS--"},
        {1070, "S-SSSS"}, {1071, "--SS-S"}, {1094, "---S-S"}, {1128, "---S-S"}, {1129, "---S-S"},
        {1099, "S---S-"}, {1100, "S---S-"}, {1101, "S---S-"}, {1102, "S---S-"}, {1103, "S---S-"},
        {1104, "S---S-"}, {1105, "SS--S-"}, {1106, "S---S-"}, {1109, "S---S-"}, {1107, "S---S-"},
        {1110, "S---S-"}, {1159, "----S-"}, {1160, "----S-"}, {1116, "-S----"}, {1117, "-S----"},
        {1118, "-S----"}, {1120, "-S----"}, {1161, "-----S"}, {1162, "-----S"}, {1163, "-----S"},
    };
    const char* files[] = {
        "[Telvio]\r\nOptimierungBT=1\r\n",
        "[Telvio-Erazor]\r\nLine-In=1\r\n",
        "[Telvio]\r\nStatus=0\r\n",
        "[Telvio]\r\nStatus=0\r\nTurbo=1\r\n",
        "[Telvio]\r\nOptimierungBT=1\r\nAccel=5\r\n",
        "[Telvio]\r\nStatus=1\r\nProportional=1\r\n",
    };
    const char* labels[] = {"V 2.83", "Erazor", "V 3.1", "V 3.11", "2.83 QUIK", "V 3.20"};
    for (int edition = 0; edition < 6; ++edition) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", files[edition]);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            for (const auto& [id, shown] : table) {
                EXPECT_EQ(d.IsItemShown(id), shown[edition] == 'S')
                    << "edition " << edition << " control " << id;
            }
            EXPECT_EQ(d.ItemText(res::kIdVersionLabel), labels[edition]);
            // The hidden button 1112 applies the layout again: nothing changes.
            d.Click(res::kIdReapplyLayout);
            for (const auto& [id, shown] : table) {
                EXPECT_EQ(d.IsItemShown(id), shown[edition] == 'S') << "again " << id;
            }
            d.EndDialog(framework::IDCANCEL);
        });
        EXPECT_EQ(static_cast<int>(run.state.Edition), edition);
    }
}

} // namespace
} // namespace kfg::dialogs
