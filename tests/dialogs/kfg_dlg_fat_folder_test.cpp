// A Telvio folder copied from a FAT medium: every name in upper case, as the viewer under wine
// still finds them.
#include "dialogs/main/kfg_dlg.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::ReadBytes;
using test::TempDir;

std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(KfgFatFolder, UpperCaseNamesAreFoundAndKept) {
    TempDir dir;
    const std::filesystem::path sample = std::filesystem::path(KFG_EXAMPLES_DIR) / "V320";
    for (const auto& [from, to] :
         {std::pair{"Telvio.ini", "TELVIO.INI"}, std::pair{"KFG.ini", "KFG.INI"},
          std::pair{"Telvio_16.idx", "TELVIO_16.IDX"}}) {
        std::filesystem::copy_file(sample / from, dir / to);
    }
    const std::string viewerBefore = ReadBytes(dir / "TELVIO.INI");
    const std::string managerBefore = ReadBytes(dir / "KFG.INI");

    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdVersionLabel), "V 3.20");
        QStringList configurations;
        for (int i = 0; i < d.ComboCount(res::kIdConfigurationField); ++i) {
            configurations << d.ComboItemText(res::kIdConfigurationField, i);
        }
        EXPECT_EQ(configurations, QStringList({"Abend", "Sport"}));
        EXPECT_EQ(d.ComboCount(res::kIdIndexFileList), 1);
        d.SetItemText(res::kIdTestLines, "33");
        d.SetItemText(res::kIdConfigurationField, "Nacht");
        d.Click(res::kIdSaveConfiguration);
        d.Click(res::kIdSoundInit); // the sound options are written on Start too
        d.Click(res::kIdStart);
    });

    // No "Telvio.ini nicht vorhanden" and no first-run prompts: only the recording starter's
    // failed hand-over is told.
    EXPECT_EQ(run.script.MessageTexts(),
              std::vector<QString>{QStringLiteral(
                  "Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden")});
    EXPECT_EQ(run.script.Seen().size(), 2u);
    EXPECT_EQ(Entries(dir.path()),
              (std::vector<std::string>{"KFG.INI", "TELVIO.INI", "TELVIO_16.IDX"}));
    const std::string viewer = ReadBytes(dir / "TELVIO.INI");
    EXPECT_NE(viewer, viewerBefore);
    EXPECT_NE(viewer.find("Testzeilen=33\r\n"), std::string::npos);
    const std::string manager = ReadBytes(dir / "KFG.INI");
    EXPECT_NE(manager.find("[Nacht]"), std::string::npos);
    EXPECT_NE(manager.find("SoundInit=1"), std::string::npos);
}

} // namespace
} // namespace kfg::dialogs
