// Every run in a folder that holds "Telvio.ini" puts the folder into the recent list; a list
// that cannot be written is told to kfg.settings and stops nothing.
#include "app/folder_places.h"
#include "places/recent_folders.h"
#include "support/captured_log.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace kfg::app {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;

TEST(FolderRun, TelvioFolderIsRecordedAndAFailedRecordIsOnlyLogged) {
    test::TempDir dir;
    fs::create_directories(dir / "Telvio");
    test::WriteBytes(dir / "Telvio" / "telvio.ini", "[Telvio]\n");
    fs::create_directories(dir / "Empty");
    test::WriteBytes(dir / "state-file", "");
    const platform::StateFolder state(dir / "state" / "kfg");
    const platform::StateFolder blocked(dir / "state-file" / "kfg");

    test::CapturedLog log;
    log.Enable("kfg.settings=true");
    RecordFolderRun(state, dir / "Empty");
    EXPECT_FALSE(fs::exists(state.Path())); // not a Telvio folder: nothing to remember
    RecordFolderRun(state, dir / "Telvio");
    EXPECT_THAT(places::ShownRecentFolders(state),
                ElementsAre(Field(&places::FolderEdition::folder, dir / "Telvio")));
    EXPECT_TRUE(log.lines.empty());

    RecordFolderRun(blocked, dir / "Telvio");
    RecordFolderRun(platform::StateFolder(), dir / "Telvio");
    ASSERT_EQ(log.lines.size(), 2U);
    EXPECT_EQ(log.lines[0], "kfg.settings: record of " + (dir / "Telvio").string() +
                                " in the recent folders of " + blocked.Path().string() +
                                " failed: Not a directory");
    EXPECT_TRUE(log.lines[1].ends_with("neither XDG_STATE_HOME nor HOME is an absolute path"));
}

} // namespace
} // namespace kfg::app
