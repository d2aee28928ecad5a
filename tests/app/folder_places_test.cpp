// Every run in a folder that holds "Telvio.ini" puts the folder into the recent list; a list
// that cannot be written is told to kfg.settings and stops nothing.
#include "app/folder_places.h"
#include "app/kfg_app.h"
#include "places/recent_folders.h"
#include "support/captured_log.h"
#include "support/modal_script.h"
#include "support/temp_dir.h"

#include <QTest>
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

// The record is nothing the user sees: the window shows first. A window closed before the
// record ran still leaves its folder in the list.
TEST(FolderRun, TheWindowShowsBeforeItsFolderIsRecordedAndOneClosedAtOnceRecordsItToo) {
    struct Case {
        const char* name;
        bool waitForPaint;
    };
    for (const Case& each :
         {Case{.name = "painted", .waitForPaint = true},
          Case{.name = "closed before its first paint", .waitForPaint = false}}) {
        SCOPED_TRACE(each.name);
        test::TempDir dir;
        const fs::path folder = dir / "Telvio";
        fs::copy(fs::path(KFG_EXAMPLES_DIR) / "V320", folder, fs::copy_options::recursive);
        const platform::StateFolder state(dir / "state" / "kfg");
        const auto recorded = [&state] { return !places::ShownRecentFolders(state).empty(); };

        bool recordedWhenShown = true;
        bool recordedAfterPaint = false;
        const test::ModalScript script([&](framework::Dialog&) {
            recordedWhenShown = recorded();
            if (each.waitForPaint) {
                recordedAfterPaint = QTest::qWaitFor(recorded, 5000);
            }
        });
        CKfgApp(folder, state).InitInstance();

        EXPECT_FALSE(recordedWhenShown);
        EXPECT_EQ(recordedAfterPaint, each.waitForPaint);
        EXPECT_THAT(places::ShownRecentFolders(state),
                    ElementsAre(Field(&places::FolderEdition::folder, folder)));
    }
}

} // namespace
} // namespace kfg::app
