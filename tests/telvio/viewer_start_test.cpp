// The end of every start: the sound initialisation only when asked, its outcome told before the
// viewer of the edition takes over with "Quick".
#include "support/recording_starter.h"
#include "telvio/viewer_start.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::telvio {
namespace {

TEST(StartViewer, SoundInitialisationThenHandOver) {
    const std::error_code refused = std::make_error_code(std::errc::permission_denied);
    struct Row { // the expected log names the row
        Edition edition;
        bool soundInitialisation;
        std::error_code soundError = {};
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {.edition = Edition::V31,
         .soundInitialisation = false,
         .log = {"told ok", "handover Telvio.exe Quick"}},
        {.edition = Edition::V31,
         .soundInitialisation = true,
         .soundError = refused,
         .log = {"sound", "told failed", "handover Telvio.exe Quick"}},
        // The edition's own viewer.
        {.edition = Edition::V283Quik,
         .soundInitialisation = false,
         .log = {"told ok", "handover 2QUIK!.exe Quick"}},
    };
    for (const Row& row : rows) {
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
} // namespace kfg::telvio
