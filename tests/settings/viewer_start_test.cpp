// The end of every start: the sound initialisation only when asked, its outcome told before the
// viewer of the edition takes over with "Quick".
#include "settings/viewer_start.h"
#include "support/recording_starter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

TEST(StartViewer, SoundInitialisationThenHandOver) {
    const std::error_code refused = std::make_error_code(std::errc::permission_denied);
    struct Row {
        const char* what;
        Edition edition;
        bool soundInitialisation;
        std::error_code soundError;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {"no sound initialisation",
         Edition::V31,
         false,
         {},
         {"told ok", "handover Telvio.exe Quick"}},
        {"sound initialisation",
         Edition::V31,
         true,
         {},
         {"sound", "told ok", "handover Telvio.exe Quick"}},
        {"failed sound initialisation",
         Edition::V31,
         true,
         refused,
         {"sound", "told failed", "handover Telvio.exe Quick"}},
        {"2.83 QUIK's own viewer",
         Edition::V283Quik,
         false,
         {},
         {"told ok", "handover 2QUIK!.exe Quick"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::RecordingStarter starter;
        starter.soundError = row.soundError;
        const std::error_code failed =
            StartViewer(starter, "/telvio", row.edition, row.soundInitialisation,
                        [&](const std::error_code& soundInitialised) {
                            starter.log.push_back(soundInitialised ? "told failed" : "told ok");
                        });
        EXPECT_EQ(starter.log, row.log);
        EXPECT_EQ(failed, starter.handOverError); // returned only when the viewer did not start
    }
}

} // namespace
} // namespace kfg::settings
